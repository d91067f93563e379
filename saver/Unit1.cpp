#include "saver/Unit1.h"

#include <array>
#include <cstdlib>

#include "generator/Rosacle.h"
#include "generator/RunStart.h"
#include "raster/Plot.h"
#include "saver/DisplayPower.h"
#include "screens/ScreenCover.h"
#include "settings/SaverSettings.h"
#include "settings/Win32Registry.h"

namespace {

FormLayout SaverLayout()
{
    FormLayout layout;
    layout.caption = L"Form1";
    layout.style = WS_POPUP;
    layout.exStyle = WS_EX_TOPMOST;
    layout.colour = RGB(0, 0, 0);
    // Covers the screen from the start, so a window whose creation failed is still a black
    // screen that closes on input.
    layout.clientWidth = GetSystemMetrics(SM_CXSCREEN);
    layout.clientHeight = GetSystemMetrics(SM_CYSCREEN);
    layout.screenCentre = true;
    layout.visible = true;
    return layout;
}

POINT CursorPosition()
{
    POINT p = {0, 0};
    GetCursorPos(&p);
    return p;
}

// The primary screen's size and the virtual screen: what a display change changes.
std::array<int, 6> DisplayLayout()
{
    return {GetSystemMetrics(SM_CXSCREEN),        GetSystemMetrics(SM_CYSCREEN),
            GetSystemMetrics(SM_XVIRTUALSCREEN),  GetSystemMetrics(SM_YVIRTUALSCREEN),
            GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

} // namespace

bool IsMouseJump(POINT reference, POINT now)
{
    return std::abs(reference.x - now.x) > TForm1::MouseJumpLimit ||
           std::abs(reference.y - now.y) > TForm1::MouseJumpLimit;
}

TForm1::TForm1()
    : TForm(SaverLayout()), Timer(*this, 30, [this] { TimerTimer(); }),
      JumpCheck(*this, JumpCheckDelay, [this] { JumpCheckTimer(); }),
      // Input over another monitor counts as input over this window.
      Covers([this] { Close(); }, [this] { Dispatch([this] { FormMouseMove(0, 0); }); }),
      Rosettes([this] { Close(); }, [this] { Dispatch([this] { FormMouseMove(0, 0); }); })
{
}

void TForm1::FormCreate()
{
    LoadSaverSettings(false);
    SetClientSize(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    Rosacle::RunStart start;
    start.windowWidth = ClientWidth();
    start.windowHeight = ClientHeight();
    const Rosacle::SurfacePlace place = Run.Start(start, &SaverSurface);
    DrawLeft = place.left;
    DrawTop = place.top;

    MouseReference = CursorPosition();
    SystemParametersInfoW(SPI_SCREENSAVERRUNNING, 1, nullptr, 0);
    ShowCursor(FALSE);
}

void TForm1::FormCreated(bool created)
{
    LaidLayout = DisplayLayout();
    Animating = created;
    Dispatch([this] { LayMonitors(); });
    DisplayStateRegistration = RegisterDisplayState(Handle());
    if (created) {
        Timer.SetEnabled(true);
    } else {
        // No surface, no frames: a black screen that still closes on a key or a jump,
        // measured from where the cursor is once the error box has gone.
        MouseReference = CursorPosition();
    }
}

void TForm1::TimerTimer()
{
    // Not every system tells a window of each display change: a frame looks for itself.
    if (DisplayLayout() != LaidLayout) DisplayChange();
    Run.Frame(SaverSurface);
    if (HDC dc = GetDC(Handle())) {
        // Outside the rosette's box a frame changes no pixel: once the surface has been shown
        // whole, a frame shows only the box (at full screen about two thirds of the pixels).
        if (WholeDrawn) {
            const Rosacle::PixelBox box = Run.rosette.Box();
            SaverSurface.DrawPart(dc, DrawLeft, DrawTop, box.left, box.top, box.right - box.left, box.bottom - box.top);
        } else {
            SaverSurface.Draw(dc, DrawLeft, DrawTop);
            WholeDrawn = true;
        }
        ReleaseDC(Handle(), dc);
    }
    Rosettes.Frame(Run.rosette);
}

// A repaint (the window uncovered) shows the surface whole again; nothing for a dark display.
void TForm1::FormPaint(HDC dc)
{
    if (DisplayOn) SaverSurface.Draw(dc, DrawLeft, DrawTop);
}

LRESULT TForm1::HandleMessage(UINT message, WPARAM w, LPARAM l)
{
    if (message == WM_POWERBROADCAST) {
        const DisplayState state = DisplayStateOf(w, l);
        if (state != DisplayState::Unknown) {
            Dispatch([&] { DisplayPowerChange(state != DisplayState::Off); });
            return TRUE;
        }
    } else if (message == WM_DISPLAYCHANGE) {
        Dispatch([this] { DisplayChange(); });
        return 0;
    }
    return TForm::HandleMessage(message, w, l);
}

void TForm1::DisplayPowerChange(bool on)
{
    if (on == DisplayOn) return;
    DisplayOn = on;
    WholeDrawn = false; // back on, the first frame shows the surface whole
    Rosettes.SetShowing(on);
    Timer.SetEnabled(on && Animating);
}

void TForm1::DisplayChange()
{
    LaidLayout = DisplayLayout();
    // The system may have moved the cursor with the monitors: that is no user's jump.
    MouseReference = CursorPosition();
    JumpCheck.SetEnabled(false);
    const int screenWidth = LaidLayout[0];
    const int screenHeight = LaidLayout[1];
    if (screenWidth <= 0 || screenHeight <= 0) return; // mid-change; the next change follows
    SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, screenWidth, screenHeight, SWP_NOACTIVATE);
    if (Animating) {
        // The same placement as at the start; the phases go on from where they were.
        const Rosacle::SurfacePlace place = Run.Reshape(screenWidth, screenHeight, &SaverSurface);
        DrawLeft = place.left;
        DrawTop = place.top;
        WholeDrawn = false;
    }
    InvalidateRect(Handle(), nullptr, TRUE);
    LayMonitors();
}

void TForm1::LayMonitors()
{
    // The primary monitor's origin is (0, 0) of the virtual screen.
    const ScreenRect primary = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    const MonitorWindows plan = PlanMonitorWindows(MonitorRects(), primary, Animating && SaverSettings.All_Monitors);
    Covers.Cover(plan.covers);
    Rosettes.Lay(plan.rosettes, Run.rosette, SaverSurface);
}

void TForm1::JumpCheckTimer()
{
    JumpCheck.SetEnabled(false);
    if (DisplayLayout() == LaidLayout) Close();
    else DisplayChange();
}

void TForm1::FormKeyDown(WORD, unsigned) { Close(); }

void TForm1::FormMouseMove(int, int)
{
    // A jump closes once JumpCheck has seen that no display change moved the cursor: the
    // system's move can come before its new display metrics. Armed once, so that a mouse
    // that keeps jumping cannot keep putting the close off.
    if (IsMouseJump(MouseReference, CursorPosition()) && !JumpCheck.Enabled()) JumpCheck.SetEnabled(true);
    MouseReference = CursorPosition();
}

void TForm1::FormClose()
{
    Timer.SetEnabled(false);
    JumpCheck.SetEnabled(false);
    Covers.Remove();
    Rosettes.Remove();
    UnregisterDisplayState(DisplayStateRegistration);
    DisplayStateRegistration = nullptr;
    ShowCursor(TRUE);
    SystemParametersInfoW(SPI_SCREENSAVERRUNNING, 0, nullptr, 0);
}
