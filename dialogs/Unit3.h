#pragma once
// The Save Wallpaper dialog: a name, a folder list that sets the process's current
// directory and a list of the files that directory held when the dialog was made. "Save"
// writes WallBitmap as the name plus ".jpg" and remembers the folder; every close gives the
// settings dialog its preview back.
#include <memory>
#include <string>
#include <vector>

#include "common/FolderList.h"
#include "platform/Form.h"

// DirectoryListBox1: the drives, the folders down to the current one and its subfolders.
// Giving it a folder makes that folder the process's current directory, and the list's
// folder is read back from there.
class TDirectoryListBox {
public:
    TDirectoryListBox(TForm& owner, int left, int top, int width, int height);

    // False, with nothing changed, when the folder cannot be entered.
    bool SetDirectory(const std::wstring& folder);
    // Lists the process's current directory as it is.
    void ShowCurrentDirectory();
    const std::wstring& Directory() const { return directory_; }
    // Enters the folder of the selected entry (a double-click, or Enter in the list).
    void OpenSelected();

    void DrawItem(const DRAWITEMSTRUCT& item) const;
    TControl& Control() { return list_; }

private:
    void Fill();

    TControl list_;
    std::wstring directory_;
    std::vector<FolderEntry> entries_;
};

class TOKRightDlg : public TForm {
public:
    explicit TOKRightDlg(HWND owner);

protected:
    void FormCreate() override;
    void FormCreated(bool created) override;
    void FormClose() override;
    LRESULT HandleMessage(UINT message, WPARAM w, LPARAM l) override;

private:
    void OKBtnClick();
    void CancelBtnClick();

    std::unique_ptr<TControl> StaticText1, Edit1, OKBtn, CancelBtn, FileListBox1;
    std::unique_ptr<TDirectoryListBox> DirectoryListBox1;
};

// Makes a new Save Wallpaper dialog owned by `owner` and shows it without waiting for it.
// The dialogs of earlier exports that have closed are released here.
void OpenSaveWallpaperDialog(HWND owner);
