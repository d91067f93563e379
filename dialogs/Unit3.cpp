#include "dialogs/Unit3.h"

#include "common/SaverError.h"
#include "dialogs/Unit2.h"
#include "dialogs/Wallpaper.h"
#include "settings/SaverSettings.h"
#include "settings/WallpaperFolder.h"
#include "settings/Win32Registry.h"

namespace {

FormLayout SaveWallpaperLayout(HWND owner)
{
    FormLayout layout;
    layout.caption = L"Save Wallpaper";
    layout.style = WS_POPUP | WS_CAPTION | WS_SYSMENU; // a fixed dialog frame with the close box
    layout.exStyle = WS_EX_DLGMODALFRAME;
    layout.clientWidth = 415;
    layout.clientHeight = 262;
    layout.screenCentre = true;
    layout.colour = GetSysColor(COLOR_BTNFACE);
    layout.visible = true;
    layout.fontName = L"Arial";
    layout.fontHeight = 16;
    layout.fontBold = true;
    layout.dialogKeys = true;
    layout.owner = owner;
    layout.scaled = true;
    return layout;
}

constexpr int FolderItemHeight = 16;
constexpr int FileItemHeight = 13;
constexpr int FolderIndent = 10;

std::wstring CurrentDirectory()
{
    std::wstring path(GetCurrentDirectoryW(0, nullptr), L'\0');
    path.resize(GetCurrentDirectoryW(static_cast<DWORD>(path.size()), &path[0]));
    return path;
}

bool Hidden(const WIN32_FIND_DATAW& found)
{
    return (found.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0;
}

// The names in `folder` that match *.*: its plain files or its subfolders, hidden ones left out.
std::vector<std::wstring> FolderContent(const std::wstring& folder, bool folders)
{
    std::wstring pattern = folder;
    if (!pattern.empty() && pattern.back() != L'\\' && pattern.back() != L'/') pattern += L'\\';
    pattern += L"*.*";
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileExW(pattern.c_str(), FindExInfoStandard, &found,
                                           folders ? FindExSearchLimitToDirectories : FindExSearchNameMatch,
                                           nullptr, 0);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::wstring name = found.cFileName;
        const bool folder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (folder != folders || Hidden(found) || name == L"." || name == L"..") continue;
        names.push_back(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

std::vector<std::wstring> DriveRoots()
{
    std::vector<std::wstring> roots;
    std::wstring buffer(GetLogicalDriveStringsW(0, nullptr) + 1, L'\0');
    const DWORD length = GetLogicalDriveStringsW(static_cast<DWORD>(buffer.size()), &buffer[0]);
    for (size_t k = 0; k < length && k < buffer.size();) {
        const std::wstring root = buffer.c_str() + k;
        if (root.empty()) break;
        roots.push_back(root);
        k += root.size() + 1;
    }
    return roots;
}

void UseSystemFont(TControl& control)
{
    control.Send(WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
}

std::unique_ptr<TControl> MakeList(TForm& form, DWORD style, int left, int top, int itemHeight)
{
    auto list = std::make_unique<TControl>(form, L"LISTBOX",
                                           WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOINTEGRALHEIGHT | style, left,
                                           top, 145, 180);
    UseSystemFont(*list);
    list->Send(LB_SETITEMHEIGHT, 0, form.Scale(itemHeight));
    return list;
}

// Widens a label to its text where a substitute font runs wider than the one it was laid
// out for, up to `widest` (the next control).
void FitLabel(TControl& label, HFONT font, int width, int widest)
{
    const std::wstring text = label.Text();
    SIZE extent = {0, 0};
    if (HDC dc = GetDC(label.Handle())) {
        const HGDIOBJ old = SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
        SelectObject(dc, old);
        ReleaseDC(label.Handle(), dc);
    }
    RECT r;
    GetClientRect(label.Handle(), &r);
    const int fitted = extent.cx > width ? (extent.cx < widest ? extent.cx : widest) : width;
    SetWindowPos(label.Handle(), nullptr, 0, 0, fitted, r.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::vector<std::unique_ptr<TOKRightDlg>> SaveWallpaperDialogs;

} // namespace

TDirectoryListBox::TDirectoryListBox(TForm& owner, int left, int top, int width, int height)
    : list_(owner, L"LISTBOX",
            WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOINTEGRALHEIGHT | LBS_NOTIFY | LBS_OWNERDRAWFIXED |
                LBS_HASSTRINGS,
            left, top, width, height)
{
    UseSystemFont(list_);
    list_.Send(LB_SETITEMHEIGHT, 0, owner.Scale(FolderItemHeight));
    list_.OnDblClick = [this] { OpenSelected(); };
}

bool TDirectoryListBox::SetDirectory(const std::wstring& folder)
{
    // No system box asking for a disk in an empty drive: such a folder just cannot be entered.
    const UINT mode = SetErrorMode(SEM_FAILCRITICALERRORS);
    const bool entered = !folder.empty() && SetCurrentDirectoryW(folder.c_str());
    SetErrorMode(mode);
    if (entered) ShowCurrentDirectory();
    return entered;
}

void TDirectoryListBox::ShowCurrentDirectory()
{
    directory_ = CurrentDirectory();
    Fill();
}

void TDirectoryListBox::OpenSelected()
{
    const LRESULT index = list_.Send(LB_GETCURSEL);
    if (index < 0 || static_cast<size_t>(index) >= entries_.size()) return;
    if (!SetDirectory(entries_[static_cast<size_t>(index)].path)) {
        MessageBeep(MB_ICONWARNING);
        Fill(); // the selection goes back to the folder that stays current
    }
}

void TDirectoryListBox::Fill()
{
    entries_ = FolderEntries(DriveRoots(), directory_, FolderContent(directory_, true));
    list_.Send(WM_SETREDRAW, FALSE);
    list_.Send(LB_RESETCONTENT);
    for (const FolderEntry& entry : entries_) {
        const LRESULT index = list_.Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.name.c_str()));
        list_.Send(LB_SETITEMDATA, static_cast<WPARAM>(index), entry.level);
    }
    list_.Send(LB_SETCURSEL, static_cast<WPARAM>(CurrentFolderEntry(entries_)));
    list_.Send(WM_SETREDRAW, TRUE);
    InvalidateRect(list_.Handle(), nullptr, TRUE);
}

void TDirectoryListBox::DrawItem(const DRAWITEMSTRUCT& item) const
{
    const HDC dc = item.hDC;
    RECT row = item.rcItem;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    FillRect(dc, &row, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    if (item.itemID < entries_.size()) {
        const FolderEntry& entry = entries_[item.itemID];
        // Drawn for rows of FolderItemHeight; the row's height carries the DPI.
        const auto s = [&](int length) { return MulDiv(length, row.bottom - row.top, FolderItemHeight); };
        // A small folder: open (lighter) on the way to the current one, closed below it.
        const int x = row.left + s(3 + FolderIndent * entry.level);
        const int middle = (row.top + row.bottom) / 2;
        const HBRUSH paper = CreateSolidBrush(entry.open ? RGB(255, 220, 120) : RGB(224, 176, 64));
        const HBRUSH edge = CreateSolidBrush(RGB(128, 96, 16));
        RECT tab = {x, middle - s(5), x + s(6), middle - s(3)};
        RECT body = {x, middle - s(3), x + s(13), middle + s(5)};
        FillRect(dc, &tab, edge);
        FillRect(dc, &body, paper);
        FrameRect(dc, &body, edge);
        DeleteObject(paper);
        DeleteObject(edge);

        RECT text = {x + s(17), row.top, row.right, row.bottom};
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        DrawTextW(dc, entry.name.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &row);
}

TOKRightDlg::TOKRightDlg(HWND owner) : TForm(SaveWallpaperLayout(owner)) {}

void TOKRightDlg::FormCreate()
{
    StaticText1 = std::make_unique<TControl>(*this, L"STATIC", SS_LEFT | SS_NOPREFIX, 8, 8, 48, 23, L"Name");
    FitLabel(*StaticText1, Font(), Scale(48), Scale(56));
    Edit1 = std::make_unique<TControl>(*this, L"EDIT", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 64, 9, 240, 21);
    UseSystemFont(*Edit1);
    OKBtn = std::make_unique<TControl>(*this, L"BUTTON", WS_TABSTOP | BS_DEFPUSHBUTTON, 332, 8, 75, 25, L"Save", IDOK);
    CancelBtn = std::make_unique<TControl>(*this, L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 332, 38, 75, 25, L"Cancel",
                                           IDCANCEL);
    DirectoryListBox1 = std::make_unique<TDirectoryListBox>(*this, 8, 48, 145, 180);
    // What the current directory holds now, before the wallpaper folder becomes current.
    FileListBox1 = MakeList(*this, LBS_SORT | LBS_NOTIFY, 160, 48, FileItemHeight);
    for (const std::wstring& name : FolderContent(CurrentDirectory(), false))
        FileListBox1->Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));

    OKBtn->OnClick = [this] {
        // Enter in the folder list opens the folder there instead of saving.
        if (GetFocus() == DirectoryListBox1->Control().Handle()) DirectoryListBox1->OpenSelected();
        else OKBtnClick();
    };
    CancelBtn->OnClick = [this] { CancelBtnClick(); };

    {
        Win32Registry registry;
        LoadWallpaperFolder(registry);
    }
    // The window is shown when this handler ends; a folder that cannot be entered leaves the
    // current directory as it is.
    if (!DirectoryListBox1->SetDirectory(WideFromUtf8(SaverSettings.Path_Wall)))
        DirectoryListBox1->ShowCurrentDirectory();
    Edit1->SetText(L"Rosacle" + std::to_wstring(WallCounter));
    Edit1->Send(EM_SETSEL, 0, -1);
}

void TOKRightDlg::FormCreated(bool created)
{
    // A dialog that could not be set up (its error box has been shown) does not stay open
    // half made: it closes, and the preview comes back.
    if (!created) Close();
}

void TOKRightDlg::OKBtnClick()
{
    const std::wstring folder = DirectoryListBox1->Directory();
    if (!folder.empty()) {
        Win32Registry registry;
        StoreWallpaperFolder(registry, Utf8FromWide(folder));
    }
    const std::wstring fileName = Edit1->Text() + L".jpg";
    // Another Save Wallpaper dialog may have moved the current directory since: a relative
    // name goes to the folder that this list shows.
    std::wstring root;
    std::vector<std::wstring> names;
    if (!SetCurrentDirectoryW(folder.c_str()) && !SplitFolderPath(fileName, root, names))
        Failure("Cannot create file %s", Utf8FromWide(fileName).c_str());
    WriteWallpaperJpeg(WallBitmap, fileName);
    ShowWindow(Handle(), SW_HIDE);
    ++WallCounter;
    Close();
}

void TOKRightDlg::CancelBtnClick()
{
    ShowWindow(Handle(), SW_HIDE);
    Close();
}

void TOKRightDlg::FormClose()
{
    if (Form2) Form2->RestorePreview();
}

LRESULT TOKRightDlg::HandleMessage(UINT message, WPARAM w, LPARAM l)
{
    switch (message) {
    case WM_MEASUREITEM: { // the folder list, while it is being made
        auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(l);
        if (measure->CtlType != ODT_LISTBOX) break;
        measure->itemHeight = FolderItemHeight;
        return TRUE;
    }
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(l);
        if (!DirectoryListBox1 || item->hwndItem != DirectoryListBox1->Control().Handle()) break;
        DirectoryListBox1->DrawItem(*item);
        return TRUE;
    }
    }
    return TForm::HandleMessage(message, w, l);
}

void OpenSaveWallpaperDialog(HWND owner)
{
    auto& dialogs = SaveWallpaperDialogs;
    for (auto it = dialogs.begin(); it != dialogs.end();)
        it = (*it)->Handle() ? it + 1 : dialogs.erase(it);
    dialogs.push_back(std::make_unique<TOKRightDlg>(owner));
    dialogs.back()->Create();
}
