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

    // Covers the rectangles (virtual-screen coordinates); again after a display change.
    void Cover(const std::vector<ScreenRect>& rects);
    void Remove();

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM w, LPARAM l);

    std::function<void()> onKey_;
    std::function<void()> onMouseMove_;
    std::vector<HWND> windows_;
};

// The rectangles of the system's monitors in virtual-screen coordinates.
std::vector<ScreenRect> MonitorRects();

// What every window over another monitor does with input and the cursor, covers and rosettes
// alike: no activation, no cursor, keys and moves to the saver window's rules. Returns
// whether it handled the message (its answer in result).
bool MonitorWindowInput(UINT message, const std::function<void()>& onKey, const std::function<void()>& onMouseMove,
                        LRESULT& result);
