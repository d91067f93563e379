#include "saver/MonitorCovers.h"

namespace {

const wchar_t* const CoverClassName = L"RosacleCover";

BOOL CALLBACK CollectMonitor(HMONITOR, HDC, LPRECT rect, LPARAM data)
{
    reinterpret_cast<std::vector<ScreenRect>*>(data)->push_back({rect->left, rect->top, rect->right, rect->bottom});
    return TRUE;
}

} // namespace

std::vector<ScreenRect> MonitorRects()
{
    std::vector<ScreenRect> monitors;
    EnumDisplayMonitors(nullptr, nullptr, CollectMonitor, reinterpret_cast<LPARAM>(&monitors));
    return monitors;
}

MonitorCovers::MonitorCovers(std::function<void()> onKey, std::function<void()> onMouseMove)
    : onKey_(std::move(onKey)), onMouseMove_(std::move(onMouseMove))
{
}

MonitorCovers::~MonitorCovers() { Remove(); }

void MonitorCovers::Cover()
{
    Remove();
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &MonitorCovers::WindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = CoverClassName; // no class cursor: none shows over a cover
    RegisterClassExW(&wc); // fails harmlessly when registered already
    // The primary monitor's origin is (0, 0) of the virtual screen.
    const ScreenRect primary = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    for (const ScreenRect& r : CoverRects(MonitorRects(), primary)) {
        const HWND window = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, CoverClassName, L"Cover", WS_POPUP,
                                            r.left, r.top, r.Width(), r.Height(), nullptr, nullptr, wc.hInstance,
                                            this);
        if (!window) continue; // that monitor shows the desktop; the saver runs on
        windows_.push_back(window);
        ShowWindow(window, SW_SHOWNOACTIVATE);
    }
}

void MonitorCovers::Remove()
{
    for (HWND window : windows_) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        DestroyWindow(window);
    }
    windows_.clear();
}

LRESULT CALLBACK MonitorCovers::WindowProc(HWND window, UINT message, WPARAM w, LPARAM l)
{
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams));
    auto* covers = reinterpret_cast<MonitorCovers*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
    case WM_MOUSEACTIVATE: // a click leaves the keyboard with the saver window
        return MA_NOACTIVATE;
    case WM_SETCURSOR:
        SetCursor(nullptr);
        return TRUE;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (covers && covers->onKey_) covers->onKey_();
        return 0;
    case WM_MOUSEMOVE:
        if (covers && covers->onMouseMove_) covers->onMouseMove_();
        return 0;
    }
    return DefWindowProcW(window, message, w, l);
}
