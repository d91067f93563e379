#pragma once
// The control-panel preview: a child window inside the host's window, animated by a
// drawing thread that requests a repaint every 40 ms.
#include <windows.h>

#include <string>

// Runs the preview inside the window whose handle `argument` gives; returns when its message
// loop ends. A missing, malformed or dead handle returns at once without a window.
void RunPreview(const std::wstring& argument);

LRESULT CALLBACK PreviewWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
DWORD WINAPI PreviewThread(LPVOID);
// Draws one frame into the preview window; nothing until the drawing thread has set up.
void PreviewFrame();
