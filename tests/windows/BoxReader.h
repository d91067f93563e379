#pragma once
// Finds a top-level window by caption and reads the texts of its static controls: how the
// tests read an error box, in-process or from another process.
#include <windows.h>

#include <string>

namespace box_reader {

// The message box's own class: the application window carries the same caption.
inline HWND FindByCaption(const wchar_t* caption, DWORD timeoutMs)
{
    for (DWORD waited = 0;; waited += 50) {
        if (HWND window = FindWindowW(L"#32770", caption)) return window;
        if (waited >= timeoutMs) return nullptr;
        Sleep(50);
    }
}

inline BOOL CALLBACK CollectStatic(HWND child, LPARAM out)
{
    wchar_t className[64] = {};
    GetClassNameW(child, className, 64);
    if (lstrcmpiW(className, L"Static") != 0) return TRUE;
    wchar_t text[1024] = {};
    if (GetWindowTextW(child, text, 1024) > 0) {
        auto* all = reinterpret_cast<std::wstring*>(out);
        if (!all->empty()) *all += L"\n";
        *all += text;
    }
    return TRUE;
}

// The non-empty texts of the static controls, one a line.
inline std::wstring StaticTexts(HWND window)
{
    std::wstring all;
    EnumChildWindows(window, CollectStatic, reinterpret_cast<LPARAM>(&all));
    return all;
}

} // namespace box_reader
