// Benchmark: the saver's frame (GeneratorStep, plot, 1:1 draw onto a window) at 1920 x 1200
// under the real GDI; prints the frame cost and the rate the 30 ms timer allows.
#include <cstdio>

#include "generator/Rosacle.h"
#include "raster/Plot.h"
#include "raster/TDIB.h"
#include "settings/SaverSettings.h"

int wmain()
{
    SaverSettings.Rosacle = 1;
    SaverSettings.Segment = 8;
    SaverSettings.Speed = 54;
    TDIB surface;
    surface.SetBitCount(24);
    surface.SetWidth(1920);
    surface.SetHeight(1200);
    surface.Fill(0);
    Rosacle::LayGenerator(1920, 1200);
    HWND window = CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"bench", WS_POPUP | WS_VISIBLE, 0, 0, 1920, 1200,
                                  nullptr, nullptr, nullptr, nullptr);
    HDC dc = GetDC(window);
    LARGE_INTEGER f, a, b;
    QueryPerformanceFrequency(&f);
    const int frames = 100;
    QueryPerformanceCounter(&a);
    for (int k = 0; k < frames; ++k) {
        Rosacle::GeneratorStep();
        PlotRosette(surface);
        surface.Draw(dc, 0, 0);
        GdiFlush();
    }
    QueryPerformanceCounter(&b);
    const double ms = 1000.0 * double(b.QuadPart - a.QuadPart) / double(f.QuadPart) / frames;
    std::printf("frame %.2f ms, %.1f frames/s unthrottled\n", ms, 1000.0 / ms);
    ReleaseDC(window, dc);
    return 0;
}
