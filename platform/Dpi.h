#pragma once
// Display scaling for the windows of this program, which works in physical pixels (its
// manifest declares per-monitor awareness). Layouts are written for 96 DPI and scaled to
// the DPI of the monitor a window is on. The calls of Windows 10 are looked up at run time;
// older systems give the system DPI.
#include <windows.h>

constexpr UINT DesignDpi = 96;

// The DPI of the monitor `window` is on (the system DPI where the system cannot tell).
UINT WindowDpi(HWND window);
// `value` of a 96-DPI layout at `dpi`, rounded to the nearest pixel.
inline int ScaledToDpi(int value, UINT dpi) { return MulDiv(value, static_cast<int>(dpi), DesignDpi); }
// The window rectangle for the client rectangle `rect` at `dpi` (its caption and borders
// follow the DPI).
void AdjustFrameForDpi(RECT& rect, DWORD style, DWORD exStyle, UINT dpi);
