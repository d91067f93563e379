// Benchmark: the saver's frame (GeneratorStep, plot, 1:1 draw onto a window) at 1920 x 1200
// under the real GDI; prints the frame cost and the rate the 30 ms timer allows.
#include <cstdio>
#include <cwchar>

#include "generator/Rosacle.h"
#include "generator/Workers.h"
#include "raster/Plot.h"
#include "raster/TDIB.h"
#include "settings/SaverSettings.h"

// rosacle_framebench [PATTERN [PETALS [THREADS]]]: pattern 1, 8 petals and the processor count
// unless given.
int wmain(int argc, wchar_t** argv)
{
    Rosacle::SetExtendedPrecision();
    const int threads = argc > 3 ? static_cast<int>(std::wcstol(argv[3], nullptr, 10)) : Rosacle::ProcessorCount();
    Rosacle::SetWorkerCount(threads);
    SaverSettings.Rosacle = argc > 1 ? static_cast<int32_t>(std::wcstol(argv[1], nullptr, 10)) : 1;
    SaverSettings.Segment = argc > 2 ? static_cast<int32_t>(std::wcstol(argv[2], nullptr, 10)) : 8;
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
    std::printf("pattern %d, %d petals, %d threads: frame %.2f ms, %.1f frames/s unthrottled\n", SaverSettings.Rosacle,
                SaverSettings.Segment, threads, ms, 1000.0 / ms);
    ReleaseDC(window, dc);
    return 0;
}
