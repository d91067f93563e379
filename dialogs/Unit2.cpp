#include "dialogs/Unit2.h"

#include <commctrl.h>

#include "dialogs/Unit3.h"
#include "dialogs/Wallpaper.h"
#include "generator/Random.h"
#include "generator/Rosacle.h"
#include "generator/RunStart.h"
#include "platform/Dpi.h"
#include "raster/Plot.h"
#include "settings/SaverSettings.h"
#include "settings/Win32Registry.h"

TDIB PreviewSurface;
TBitmap WallBitmap;
int32_t WallWidth = 0;
int32_t WallHeight = 0;
std::string DesktopSuffix;
int32_t FrameCount = 0;
int32_t WallCounter = 0;
TForm2* Form2 = nullptr;

namespace {

FormLayout SettingsLayout(HWND modalOwner)
{
    FormLayout layout;
    layout.caption = L"Fractal Rosacle Settings";
    layout.style = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN;
    layout.clientWidth = TForm2::PreviewWidth;
    layout.clientHeight = TForm2::ClientDesignHeight;
    layout.screenCentre = true;
    layout.colour = RGB(192, 192, 192);
    layout.visible = true;
    layout.fontName = L"Tahoma";
    layout.fontHeight = 13;
    layout.fontBold = true;
    layout.keyPreview = true;
    // Tab, Space, Enter and the arrows drive the controls; Escape presses Close.
    layout.dialogKeys = true;
    // Started from the control panel, the dialog belongs to its window; otherwise the task bar
    // and Alt+Tab name the program by the application's title.
    layout.owner = modalOwner ? modalOwner : Application.Handle();
    layout.scaled = true;
    return layout;
}

std::unique_ptr<TControl> MakeLabel(TForm& form, int left, int top, const std::wstring& text)
{
    return std::make_unique<TControl>(form, L"STATIC", SS_LEFT | SS_NOPREFIX, left, top, 0, 0, text);
}

constexpr int ThumbLength = 5;
// What a check box needs besides its text at 96 DPI: the box and the gap after it.
constexpr int CheckGlyphRoom = 20;

std::unique_ptr<TControl> MakeTrackBar(TForm& form, int left, int top, int width, int minimum, int maximum)
{
    const DWORD style = WS_TABSTOP | TBS_HORZ | TBS_BOTTOM | TBS_AUTOTICKS | TBS_FIXEDLENGTH;
    auto bar = std::make_unique<TControl>(form, TRACKBAR_CLASSW, style, left, top, width, 12);
    // One message per end: TBM_SETRANGE would pack both into 16 bits each.
    bar->Send(TBM_SETRANGEMIN, FALSE, minimum);
    bar->Send(TBM_SETRANGEMAX, FALSE, maximum);
    bar->Send(TBM_SETTICFREQ, 1, 0);
    // A short thumb leaves room for the ticks inside the bar's 12 pixels (at 96 DPI).
    bar->Send(TBM_SETTHUMBLENGTH, form.Scale(ThumbLength), 0);
    // A new range does not move the drawn thumb, and a position the bar already has is not
    // drawn again: two real moves leave the thumb on the start position.
    bar->Send(TBM_SETPOS, TRUE, maximum);
    bar->Send(TBM_SETPOS, TRUE, minimum);
    return bar;
}

std::unique_ptr<TControl> MakeCheckBox(TForm& form, int left, int top, int width, const std::wstring& text)
{
    return std::make_unique<TControl>(form, L"BUTTON", WS_TABSTOP | BS_AUTOCHECKBOX, left, top, width, 17, text);
}

std::unique_ptr<TControl> MakeButton(TForm& form, int left, int top, int width, const std::wstring& text, UINT id = 0)
{
    return std::make_unique<TControl>(form, L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, left, top, width, 25, text, id);
}

bool Checked(const TControl& box) { return box.Send(BM_GETCHECK) == BST_CHECKED; }

void SetChecked(TControl& box, bool checked) { box.Send(BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED); }

std::wstring Decimal(int32_t value) { return std::to_wstring(value); }

} // namespace

int TrackBarPosition(const TControl& bar) { return static_cast<int>(bar.Send(TBM_GETPOS)); }

bool SetTrackBarPosition(TControl& bar, int position)
{
    const int minimum = static_cast<int>(bar.Send(TBM_GETRANGEMIN));
    const int maximum = static_cast<int>(bar.Send(TBM_GETRANGEMAX));
    if (position < minimum) position = minimum;
    if (position > maximum) position = maximum;
    // Setting the position a bar already has would leave its thumb misdrawn: only real moves.
    if (position == TrackBarPosition(bar)) return false;
    bar.Send(TBM_SETPOS, TRUE, position);
    InvalidateRect(bar.Handle(), nullptr, TRUE);
    if (bar.OnChange) bar.OnChange();
    return true;
}

TForm2::TForm2(HWND modalOwner)
    : TForm(SettingsLayout(modalOwner)), Timer(*this, 30, [this] { TimerTimer(); }),
      Timer2(*this, 1000, [this] { Timer2Timer(); }), modalOwner_(modalOwner)
{
    Form2 = this;
}

TForm2::~TForm2()
{
    if (Form2 == this) Form2 = nullptr;
}

void TForm2::MakeControls()
{
    StaticText1 = MakeLabel(*this, 10, 385, L"Speed");
    const SettingKnob &speed = KnobOf(&TSaverSettings::Speed), &pattern = KnobOf(&TSaverSettings::Rosacle),
                      &wallpaper = KnobOf(&TSaverSettings::Bright), &petals = KnobOf(&TSaverSettings::Segment);
    TrackBar1 = MakeTrackBar(*this, 3, 407, 180, speed.low, speed.high);
    StaticText3 = MakeLabel(*this, 207, 385, L"Rosacle ");
    CheckBox1 = MakeCheckBox(*this, 430, 385, 75, L"Random");
    TrackBar3 = MakeTrackBar(*this, 200, 407, 308, pattern.low, pattern.high);
    StaticText2 = MakeLabel(*this, 10, 438, L"Wallpaper size");
    TrackBar2 = MakeTrackBar(*this, 3, 460, 180, wallpaper.low, wallpaper.high);
    StaticText4 = MakeLabel(*this, 207, 438, L"Petals ");
    CheckBox3 = MakeCheckBox(*this, 302, 438, 75, L"Random");
    CheckBox7 = MakeCheckBox(*this, 407, 438, 95, L"All monitors");
    TrackBar4 = MakeTrackBar(*this, 200, 460, 180, petals.low, petals.high);
    StaticText6 = MakeLabel(*this, 402, 430, L"FPS");
    ShowWindow(StaticText6->Handle(), SW_HIDE);
    CheckBox2 = MakeCheckBox(*this, 407, 460, 95, L"Color invert");
    StaticText7 = MakeLabel(*this, 10, 485, L"");
    CheckBox4 = MakeCheckBox(*this, 207, 485, 97, L"Background");
    CheckBox5 = MakeCheckBox(*this, 340, 485, 53, L"Gray");
    CheckBox6 = MakeCheckBox(*this, 430, 485, 73, L"Pictures");
    Button1 = MakeButton(*this, 10, 515, 120, L" Save settings");
    Button2 = MakeButton(*this, 150, 515, 120, L"Save wallpaper");
    Button3 = MakeButton(*this, 426, 515, 75, L"Close", IDCANCEL);
    for (TControl* label :
         {StaticText1.get(), StaticText2.get(), StaticText3.get(), StaticText4.get(), StaticText6.get()})
        SetLabel(*label, label->Text());
    FitCheckBoxes();

    TrackBar1->OnChange = [this] { TrackBar1Change(); };
    TrackBar2->OnChange = [this] { TrackBar2Change(); };
    TrackBar3->OnChange = [this] { TrackBar3Change(); };
    TrackBar4->OnChange = [this] { TrackBar4Change(); };
    CheckBox1->OnClick = [this] { CheckBox1Click(); };
    CheckBox2->OnClick = [this] { CheckBox2Click(); };
    CheckBox3->OnClick = [this] { CheckBox3Click(); };
    CheckBox4->OnClick = [this] { CheckBox4Click(); };
    CheckBox5->OnClick = [this] { CheckBox5Click(); };
    CheckBox6->OnClick = [this] { CheckBox6Click(); };
    CheckBox7->OnClick = [this] { CheckBox7Click(); };
    Button1->OnClick = [this] { Button1Click(); };
    Button2->OnClick = [this] { Button2Click(); };
    Button3->OnClick = [this] { Button3Click(); };
}

void TForm2::FormCreate()
{
    MakeControls();
    TSaverSettings& s = SaverSettings;

    LoadSaverSettings(true);
    Rosacle::SeedAndPick(nullptr);
    SetChecked(*CheckBox1, s.Rosacle_Random);
    SetChecked(*CheckBox3, s.Petals_Random);

    // A bar clamps to its range and runs its change handler on a real move, so a stored
    // value beyond the range becomes the bar's end.
    SetTrackBarPosition(*TrackBar1, s.Speed);
    SetTrackBarPosition(*TrackBar2, s.Bright);
    SetTrackBarPosition(*TrackBar3, s.Rosacle);
    SetTrackBarPosition(*TrackBar4, s.Segment);
    // Values below a bar's range that leave it where it starts: the generator is built for
    // patterns 1..40 and 4..12 petals only.
    ClampLayoutSettings();
    SetLabel(*StaticText3, L"Rosacle " + Decimal(s.Rosacle));
    SetLabel(*StaticText4, L"Petals " + Decimal(s.Segment));

    SetChecked(*CheckBox4, s.Background);
    SetChecked(*CheckBox5, s.Gray);
    SetChecked(*CheckBox6, s.Pictures);
    SetChecked(*CheckBox2, s.Oval);
    SetChecked(*CheckBox7, s.All_Monitors);

    const ScreenSize screen = PrimaryScreenSize();
    WallWidth = screen.width;
    WallHeight = screen.height;
    ApplyWallpaperPreset();
    RenewSizeLabel();
    if (WallWidth > Rosacle::MaxSurfaceWidth) WallWidth = Rosacle::MaxSurfaceWidth;
    if (WallHeight > Rosacle::MaxSurfaceHeight) WallHeight = Rosacle::MaxSurfaceHeight;

    SetClientSize(ShownPreviewWidth(), Scale(ClientDesignHeight));
    previewReady_ = true;
    Rosacle::RunStart start;
    start.windowWidth = ShownPreviewWidth();
    start.windowHeight = ShownPreviewHeight();
    Run.Lay(start, &PreviewSurface);
    WallCounter = 1;
    SetFocus(TrackBar1->Handle());
}

void TForm2::FormCreated(bool created)
{
    // Modal to the control panel's window: it takes no input until the dialog has closed.
    if (modalOwner_) EnableWindow(modalOwner_, FALSE);
    if (created) {
        Timer.SetEnabled(true);
        Timer2.SetEnabled(true);
        return;
    }
    // The settings could not be read: no preview, and nothing that would store a half-read
    // record over the user's settings. Only Close stays.
    previewReady_ = false;
    for (TControl* control : {TrackBar1.get(), TrackBar2.get(), TrackBar3.get(), TrackBar4.get(), CheckBox1.get(),
                              CheckBox2.get(), CheckBox3.get(), CheckBox4.get(), CheckBox5.get(), CheckBox6.get(),
                              CheckBox7.get(), Button1.get(), Button2.get()})
        if (control) control->SetEnabled(false);
    if (Button3) SetFocus(Button3->Handle());
}

void TForm2::FillBackground()
{
    if (!previewReady_) return;
    PreviewSurface.Fill(SaverSettings.Background ? ColourValue(255, 255, 255) : ColourValue(0, 0, 0));
}

void TForm2::RestorePreview() { Timer.SetEnabled(previewReady_); }

void TForm2::LayPreviewAtShownSize()
{
    Run.Reshape(ShownPreviewWidth(), ShownPreviewHeight(), &PreviewSurface);
    FillBackground();
}

void TForm2::ReInitGenerator()
{
    // Before the preview exists, FormCreate lays the generator out itself.
    if (previewReady_) Run.rosette.GeneratorInit();
}

void TForm2::TimerTimer()
{
    if (!previewReady_) return;
    Run.Frame(PreviewSurface);
    if (HDC dc = GetDC(Handle())) {
        PreviewSurface.Draw(dc, 0, 0);
        ReleaseDC(Handle(), dc);
    }
    ++FrameCount;
}

void TForm2::Timer2Timer()
{
    if (!previewReady_) return;
    SetLabel(*StaticText6, L"FPS " + Decimal(FrameCount));
    FrameCount = 0;
}

void TForm2::FormPaint(HDC dc)
{
    if (previewReady_) PreviewSurface.Draw(dc, 0, 0);
}

void TForm2::FormClose()
{
    // The owner takes the activation back when this window goes.
    if (modalOwner_ && IsWindow(modalOwner_)) {
        EnableWindow(modalOwner_, TRUE);
        SetForegroundWindow(modalOwner_);
    }
}

void TForm2::FormDpiChanged()
{
    for (TControl* label : {StaticText1.get(), StaticText2.get(), StaticText3.get(), StaticText4.get(),
                            StaticText6.get(), StaticText7.get()})
        if (label) SetLabel(*label, label->Text());
    FitCheckBoxes();
    for (TControl* bar : {TrackBar1.get(), TrackBar2.get(), TrackBar3.get(), TrackBar4.get()})
        if (bar) bar->Send(TBM_SETTHUMBLENGTH, Scale(ThumbLength), 0);
    // The preview is laid out again at its new size.
    if (previewReady_) LayPreviewAtShownSize();
}

void TForm2::FormKeyDown(WORD key, unsigned)
{
    if (key == VK_ESCAPE) Close();
}

void TForm2::ApplyWallpaperPreset()
{
    // Any other Bright (0 on a screen of no preset) keeps the size as it is.
    const int32_t bright = SaverSettings.Bright;
    if (bright < 1 || bright > 12) return;
    const ScreenSize wall = WallpaperPresetSize(bright);
    WallWidth = wall.width;
    WallHeight = wall.height;
}

void TForm2::RenewSizeLabel()
{
    const ScreenSize screen = PrimaryScreenSize();
    DesktopSuffix.clear();
    if (screen.width == WallWidth && screen.height == WallHeight) DesktopSuffix = "-Your Desktop";
    SetLabel(*StaticText7, Decimal(WallWidth) + L"x" + Decimal(WallHeight) + WideFromUtf8(DesktopSuffix));
}

void TForm2::FitCheckBoxes()
{
    // At 96 DPI the boxes are as laid out. Scaled, a font's text need not scale with it: a box
    // widens to its text, up to the client area's edge.
    if (Dpi() == DesignDpi) return;
    for (TControl* box : {CheckBox1.get(), CheckBox2.get(), CheckBox3.get(), CheckBox4.get(), CheckBox5.get(),
                          CheckBox6.get(), CheckBox7.get()}) {
        if (!box) continue;
        const std::wstring text = box->Text();
        SIZE extent = {0, 0};
        if (HDC dc = GetDC(box->Handle())) {
            const HGDIOBJ old = SelectObject(dc, Font());
            GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
            SelectObject(dc, old);
            ReleaseDC(box->Handle(), dc);
        }
        RECT r;
        GetWindowRect(box->Handle(), &r);
        MapWindowPoints(HWND_DESKTOP, Handle(), reinterpret_cast<POINT*>(&r), 2);
        const int needed = extent.cx + Scale(CheckGlyphRoom), widest = ClientWidth() - Scale(3) - r.left;
        if (needed <= r.right - r.left) continue;
        SetWindowPos(box->Handle(), nullptr, 0, 0, needed < widest ? needed : widest, r.bottom - r.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void TForm2::SetLabel(TControl& label, const std::wstring& text)
{
    // Labels size themselves to their text in the form's font.
    SIZE extent = {0, 0};
    if (HDC dc = GetDC(label.Handle())) {
        const HGDIOBJ old = SelectObject(dc, Font() ? static_cast<HGDIOBJ>(Font()) : GetStockObject(DEFAULT_GUI_FONT));
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
        SelectObject(dc, old);
        ReleaseDC(label.Handle(), dc);
    }
    label.SetText(text);
    SetWindowPos(label.Handle(), nullptr, 0, 0, extent.cx, extent.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(label.Handle(), nullptr, TRUE);
}

void TForm2::TrackBar1Change() { SaverSettings.Speed = TrackBarPosition(*TrackBar1); }

void TForm2::TrackBar2Change()
{
    SaverSettings.Bright = TrackBarPosition(*TrackBar2);
    ApplyWallpaperPreset();
    RenewSizeLabel();
}

void TForm2::TrackBar3Change()
{
    const int position = TrackBarPosition(*TrackBar3);
    if (position == SaverSettings.Rosacle) return;
    SaverSettings.Rosacle = position;
    SetLabel(*StaticText3, L"Rosacle " + Decimal(position));
    ReInitGenerator();
}

void TForm2::TrackBar4Change()
{
    const int position = TrackBarPosition(*TrackBar4);
    if (position == SaverSettings.Segment) return;
    SaverSettings.Segment = position;
    SetLabel(*StaticText4, L"Petals " + Decimal(position));
    FillBackground();
    ReInitGenerator();
}

void TForm2::CheckBox1Click() { SaverSettings.Rosacle_Random = Checked(*CheckBox1); }

void TForm2::CheckBox2Click()
{
    SaverSettings.Oval = Checked(*CheckBox2);
    FillBackground();
    ReInitGenerator();
}

void TForm2::CheckBox3Click() { SaverSettings.Petals_Random = Checked(*CheckBox3); }

void TForm2::CheckBox4Click()
{
    SaverSettings.Background = Checked(*CheckBox4);
    FillBackground();
}

void TForm2::CheckBox5Click() { SaverSettings.Gray = Checked(*CheckBox5); }

void TForm2::CheckBox6Click() { SaverSettings.Pictures = Checked(*CheckBox6); }

// Acts at the next start of the saver, as the "Random" boxes do.
void TForm2::CheckBox7Click() { SaverSettings.All_Monitors = Checked(*CheckBox7); }

void TForm2::Button1Click() { SaveSaverSettings(); }

void TForm2::Button2Click()
{
    if (!previewReady_) return;
    Timer.SetEnabled(false);
    try {
        RenderWallpaper(Run.rosette, WallBitmap, WallWidth, WallHeight);
        OpenSaveWallpaperDialog(Handle());
    } catch (...) {
        // No dialog will give the preview back: do it here, then report.
        RestorePreview();
        throw;
    }
}

void TForm2::Button3Click() { Close(); }
