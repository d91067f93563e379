#pragma once
// The settings dialog: a live 512 x 382 preview of the rosette above the controls that edit
// SaverSettings. " Save settings" writes them; "Save wallpaper" renders the pattern at the
// chosen wallpaper size. Its layout is that of 96 DPI, scaled to the monitor's DPI; the
// preview is laid out at the scaled size, so its pixels are the generator's own.
#include <cstdint>
#include <memory>
#include <string>

#include "generator/RunStart.h"
#include "platform/Bitmap.h"
#include "platform/Form.h"
#include "raster/TDIB.h"

// Dialog state shared with the wallpaper export.
extern TDIB PreviewSurface;      // 512 x 382 (at 96 DPI) while the preview runs
extern TBitmap WallBitmap;       // the rendered wallpaper
extern int32_t WallWidth;        // wallpaper size in pixels
extern int32_t WallHeight;
extern std::string DesktopSuffix; // "-Your Desktop" when the wallpaper size is the screen's
extern int32_t FrameCount;       // frames since the last FPS count
extern int32_t WallCounter;      // number in the default wallpaper file name

class TForm2;
extern TForm2* Form2; // the dialog of this process, once made

class TForm2 : public TForm {
public:
    // modalOwner: the control panel's window, disabled while the dialog is open; or none.
    explicit TForm2(HWND modalOwner = nullptr);
    ~TForm2() override;

    // The preview's size at 96 DPI, and in pixels at the dialog's DPI.
    static constexpr int PreviewWidth = 512;
    static constexpr int PreviewHeight = 382;
    static constexpr int ClientDesignHeight = 545;
    int ShownPreviewWidth() const { return Scale(PreviewWidth); }
    int ShownPreviewHeight() const { return Scale(PreviewHeight); }

    // Every pixel of PreviewSurface white with Background on, black with it off.
    void FillBackground();
    // Back from an export: the frame timer running again (the preview kept its picture).
    void RestorePreview();
    // The preview laid out again at its shown size (a new DPI), cleared to the background.
    void LayPreviewAtShownSize();
    // Whether FormCreate ran to its end (the preview exists and may draw).
    bool PreviewReady() const { return previewReady_; }
    const Rosacle::Rosette& PreviewRosette() const { return Run.rosette; }

    void Button2Click();

    TTimer Timer;  // 30 ms frame
    TTimer Timer2; // 1000 ms frame-rate count

protected:
    void FormCreate() override;
    void FormCreated(bool created) override;
    void FormKeyDown(WORD key, unsigned shift) override;
    void FormPaint(HDC dc) override;
    void FormClose() override;
    void FormDpiChanged() override;

private:
    void MakeControls();
    void TimerTimer();
    void Timer2Timer();
    void TrackBar1Change();
    void TrackBar2Change();
    void TrackBar3Change();
    void TrackBar4Change();
    void CheckBox1Click();
    void CheckBox2Click();
    void CheckBox3Click();
    void CheckBox4Click();
    void CheckBox5Click();
    void CheckBox6Click();
    void CheckBox7Click();
    void Button1Click();
    void Button3Click();

    // The preview runs and PreviewSurface has its size (not an export's).
    void ApplyWallpaperPreset();
    void RenewSizeLabel();
    void ReInitGenerator();
    void SetLabel(TControl& label, const std::wstring& text);
    void FitCheckBoxes();

    std::unique_ptr<TControl> StaticText1, StaticText2, StaticText3, StaticText4, StaticText6, StaticText7;
    std::unique_ptr<TControl> TrackBar1, TrackBar2, TrackBar3, TrackBar4;
    std::unique_ptr<TControl> CheckBox1, CheckBox2, CheckBox3, CheckBox4, CheckBox5, CheckBox6, CheckBox7;
    std::unique_ptr<TControl> Button1, Button2, Button3;
    Rosacle::RosetteRun Run; // of the frames into PreviewSurface
    bool previewReady_ = false;
    HWND modalOwner_ = nullptr;
};

// A track bar's position and range.
int TrackBarPosition(const TControl& bar);
// Moves a track bar to `position` clamped to its range; when that changes the position, the
// bar is redrawn and its OnChange runs. Returns whether the position changed.
bool SetTrackBarPosition(TControl& bar, int position);
