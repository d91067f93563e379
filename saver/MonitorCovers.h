#pragma once
// Borderless, topmost black windows over every monitor but the primary while the saver runs.
// They never take the activation, hide the cursor, and hand keys and mouse moves to the saver
// window's own rules.
#include <windows.h>

#include <functional>
#include <vector>

#include "screens/ScreenCover.h"

class MonitorCovers {
public:
    MonitorCovers(std::function<void()> onKey, std::function<void()> onMouseMove);
    ~MonitorCovers();
    MonitorCovers(const MonitorCovers&) = delete;
    MonitorCovers& operator=(const MonitorCovers&) = delete;

    // Covers the monitors as the system lists them now; again after a display change.
    void Cover();
    void Remove();

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM w, LPARAM l);

    std::function<void()> onKey_;
    std::function<void()> onMouseMove_;
    std::vector<HWND> windows_;
};

// The rectangles of the system's monitors in virtual-screen coordinates.
std::vector<ScreenRect> MonitorRects();
