#include "saver/Preview.h"

#include <atomic>

#include "common/SaverError.h"
#include "generator/Rosacle.h"
#include "generator/RunStart.h"
#include "raster/Plot.h"
#include "raster/TDIB.h"
#include "common/HostHandle.h"
#include "saver/PasswordCheck.h"
#include "settings/SaverSettings.h"

namespace {

HWND HostWindow = nullptr;
HWND PreviewWindow = nullptr;
std::atomic<bool> PreviewStopFlag{false};
// Set by the drawing thread once settings, layout and phases are written; frames wait for it.
std::atomic<bool> PreviewReady{false};
// The preview's run; its place is where the surface sits in the preview window.
Rosacle::RosetteRun PreviewRun;

constexpr wchar_t ClassName[] = L"MyVeltoScreenSaverClass";

} // namespace

void PreviewFrame()
{
    if (!PreviewReady.load(std::memory_order_acquire)) {
        // Nothing to draw yet: let the drawing thread's next request bring the next paint,
        // instead of a paint storm until it is ready.
        ValidateRect(PreviewWindow, nullptr);
        return;
    }
    const Rosacle::SurfacePlace& place = PreviewRun.Place();
    TDIB surface;
    surface.SetBitCount(24);
    surface.SetWidth(place.width);
    surface.SetHeight(place.height);
    surface.Fill(0xFFFFFF);
    PreviewRun.Frame(surface);
    HDC dc = GetDC(PreviewWindow);
    surface.Draw(dc, place.left, place.top);
    Sleep(40);
    surface.Free();
    ReleaseDC(PreviewWindow, dc);
}

DWORD WINAPI PreviewThread(LPVOID)
{
    Rosacle::SetExtendedPrecision();
    RECT rect{};
    GetWindowRect(PreviewWindow, &rect);
    const int32_t width = rect.right - rect.left, height = rect.bottom - rect.top;
    ShowWindow(PreviewWindow, SW_SHOW);
    UpdateWindow(PreviewWindow);

    SetPreviewSettings(SaverSettings);
    Rosacle::RunStart start;
    start.windowWidth = width;
    start.windowHeight = height;
    start.kind = Rosacle::PlotKind::Preview;
    try {
        PreviewRun.Start(start, nullptr);
        PreviewReady.store(true, std::memory_order_release);
    } catch (const SaverError&) {
        // No layout: the window stays blank, keys still end it.
    }

    while (!PreviewStopFlag.load()) {
        InvalidateRect(PreviewWindow, nullptr, FALSE);
        Sleep(40);
    }
    PostMessageW(PreviewWindow, WM_DESTROY, 0, 0);
    return 0;
}

LRESULT CALLBACK PreviewWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_NCCREATE:
        return 1;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_PAINT:
        // No BeginPaint: the region stays invalid, so the next WM_PAINT follows at once.
        PreviewFrame();
        return 0;
    case WM_KEYDOWN:
        PreviewStopFlag.store(VerifySaverPassword(window));
        return 0;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

void RunPreview(const std::wstring& argument)
{
    // The handle is all ASCII when valid; anything else fails to parse anyway.
    std::string text;
    for (wchar_t c : argument) text += c < 128 ? static_cast<char>(c) : '?';
    HostWindow = reinterpret_cast<HWND>(static_cast<intptr_t>(ParseHostHandle(text)));
    if (!HostWindow || !IsWindow(HostWindow)) return;
    RECT rect{};
    if (!GetWindowRect(HostWindow, &rect)) return;

    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW windowClass{};
    windowClass.style = CS_PARENTDC;
    windowClass.lpfnWndProc = PreviewWindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = ClassName;
    if (!RegisterClassW(&windowClass)) return;
    // Under Wine the last error may read 5 after a success: only the handle counts.
    PreviewWindow = CreateWindowExW(0, ClassName, L"MySaver", WS_CHILD | WS_VISIBLE | WS_DISABLED, 0, 0,
                                    rect.right - rect.left, rect.bottom - rect.top, HostWindow, nullptr,
                                    instance, nullptr);
    if (!PreviewWindow) return;
    // WM_NCCREATE skips the default handling, which would have stored the title.
    SetWindowTextW(PreviewWindow, L"MySaver");
    HANDLE thread = CreateThread(nullptr, 0, PreviewThread, nullptr, 0, nullptr);
    if (!thread) return;
    CloseHandle(thread);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}
