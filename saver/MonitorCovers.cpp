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

void MonitorCovers::Cover(const std::vector<ScreenRect>& rects)
{
    Remove();
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &MonitorCovers::WindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = CoverClassName; // no class cursor: none shows over a cover
    RegisterClassExW(&wc); // fails harmlessly when registered already
    for (const ScreenRect& r : rects) {
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
    static const std::function<void()> none;
    LRESULT result = 0;
    if (MonitorWindowInput(message, covers ? covers->onKey_ : none, covers ? covers->onMouseMove_ : none, result))
        return result;
    return DefWindowProcW(window, message, w, l);
}

bool MonitorWindowInput(UINT message, const std::function<void()>& onKey, const std::function<void()>& onMouseMove,
                        LRESULT& result)
{
    switch (message) {
    case WM_MOUSEACTIVATE: // a click leaves the keyboard with the saver window
        result = MA_NOACTIVATE;
        return true;
    case WM_SETCURSOR:
        SetCursor(nullptr);
        result = TRUE;
        return true;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (onKey) onKey();
        result = 0;
        return true;
    case WM_MOUSEMOVE:
        if (onMouseMove) onMouseMove();
        result = 0;
        return true;
    }
    return false;
}
