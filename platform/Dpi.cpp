#include "platform/Dpi.h"

namespace {

template <typename Function>
Function User32(const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

} // namespace

UINT WindowDpi(HWND window)
{
    static const auto forWindow = User32<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
    if (forWindow && window) {
        if (const UINT dpi = forWindow(window)) return dpi;
    }
    UINT dpi = DesignDpi;
    if (HDC screen = GetDC(nullptr)) {
        dpi = static_cast<UINT>(GetDeviceCaps(screen, LOGPIXELSX));
        ReleaseDC(nullptr, screen);
    }
    return dpi ? dpi : DesignDpi;
}

void AdjustFrameForDpi(RECT& rect, DWORD style, DWORD exStyle, UINT dpi)
{
    static const auto forDpi = User32<BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT)>("AdjustWindowRectExForDpi");
    if (!forDpi || !forDpi(&rect, style, FALSE, exStyle, dpi)) AdjustWindowRectEx(&rect, style, FALSE, exStyle);
}
