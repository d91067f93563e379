#include "saver/Unit1.h"

#include <cstdlib>

#include "generator/Rosacle.h"
#include "generator/RunStart.h"
#include "raster/Plot.h"
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

} // namespace

bool IsMouseJump(POINT reference, POINT now)
{
    return std::abs(reference.x - now.x) > TForm1::MouseJumpLimit ||
           std::abs(reference.y - now.y) > TForm1::MouseJumpLimit;
}

TForm1::TForm1() : TForm(SaverLayout()), Timer(*this, 30, [this] { TimerTimer(); }) {}

void TForm1::FormCreate()
{
    LoadSaverSettings(false);
    SetClientSize(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    Rosacle::RunStart start;
    start.windowWidth = ClientWidth();
    start.windowHeight = ClientHeight();
    const Rosacle::SurfacePlace place = Rosacle::StartRun(start, &SaverSurface);
    DrawLeft = place.left;
    DrawTop = place.top;

    MouseReference = CursorPosition();
    SystemParametersInfoW(SPI_SCREENSAVERRUNNING, 1, nullptr, 0);
    ShowCursor(FALSE);
}

void TForm1::FormCreated(bool created)
{
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
    Rosacle::GeneratorStep();
    Plotter.Plot(SaverSurface);
    if (HDC dc = GetDC(Handle())) {
        // Outside the rosette's box a frame changes no pixel: once the surface has been shown
        // whole, a frame shows only the box (at full screen about two thirds of the pixels).
        if (WholeDrawn) {
            const PixelBox box = Plotter.Box(SaverSurface);
            SaverSurface.DrawPart(dc, DrawLeft, DrawTop, box.left, box.top, box.right - box.left, box.bottom - box.top);
        } else {
            SaverSurface.Draw(dc, DrawLeft, DrawTop);
            WholeDrawn = true;
        }
        ReleaseDC(Handle(), dc);
    }
}

// A repaint (the window uncovered) shows the surface whole again.
void TForm1::FormPaint(HDC dc) { SaverSurface.Draw(dc, DrawLeft, DrawTop); }

void TForm1::FormKeyDown(WORD, unsigned) { Close(); }

void TForm1::FormMouseMove(int, int)
{
    if (IsMouseJump(MouseReference, CursorPosition())) Close();
    MouseReference = CursorPosition();
}

void TForm1::FormClose()
{
    ShowCursor(TRUE);
    SystemParametersInfoW(SPI_SCREENSAVERRUNNING, 0, nullptr, 0);
}
