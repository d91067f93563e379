#pragma once
// Finds a child control by the place of its top-left corner in its window's client area:
// how the tests name the settings dialog's controls, in-process or from another process.
#include <windows.h>

namespace control_finder {

struct Search {
    HWND parent;
    POINT at;
    HWND found;
};

inline BOOL CALLBACK MatchPlace(HWND child, LPARAM data)
{
    auto* search = reinterpret_cast<Search*>(data);
    RECT r;
    GetWindowRect(child, &r);
    POINT p = {r.left, r.top};
    ScreenToClient(search->parent, &p);
    if (p.x != search->at.x || p.y != search->at.y) return TRUE;
    search->found = child;
    return FALSE;
}

// The child of `window` whose top-left corner is at (left, top), hidden ones included.
inline HWND ControlAt(HWND window, int left, int top)
{
    Search search = {window, {left, top}, nullptr};
    EnumChildWindows(window, MatchPlace, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

} // namespace control_finder
