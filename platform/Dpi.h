#pragma once
// Display scaling for the windows of this program, which works in physical pixels (its
// manifest declares per-monitor awareness). Layouts are written for DesignDpi and scaled to
// the DPI of the monitor a window is on. The calls of Windows 10 are looked up at run time;
// older systems give the system DPI.
#include <windows.h>

constexpr UINT DesignDpi = 96;

// The DPI of the monitor `window` is on (the system DPI where the system cannot tell).
UINT WindowDpi(HWND window);
// The window rectangle for the client rectangle `rect` at `dpi` (its caption and borders
// follow the DPI).
void AdjustFrameForDpi(RECT& rect, DWORD style, DWORD exStyle, UINT dpi);
