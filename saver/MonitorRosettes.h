#pragma once
// Windows over the monitors apart from the primary that each show the rosette laid for the
// monitor's own size, as the saver window shows the primary's: the surface at most
// 1920 x 1200, centred, black around. Monitors of one surface size share one rosette and one
// surface, and those of the primary's surface size share the primary's; every other rosette
// steps along with the primary's phases, so all show the same picture drifting together.
// Like the covers they take no activation, hide the cursor and hand keys and mouse moves to
// the saver window's rules.
#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "generator/Rosacle.h"
#include "raster/TDIB.h"
#include "screens/ScreenCover.h"

class MonitorRosettes {
public:
    MonitorRosettes(std::function<void()> onKey, std::function<void()> onMouseMove);
    ~MonitorRosettes();
    MonitorRosettes(const MonitorRosettes&) = delete;
    MonitorRosettes& operator=(const MonitorRosettes&) = delete;

    // A window on each monitor rectangle (virtual-screen coordinates, none for an empty list)
    // and a rosette for each surface size among them, laid for the settings and started at
    // the primary's phases and rates; the primary's surface size shows primarySurface. Again
    // after a display change: a rosette whose size is still needed is kept as it is.
    void Lay(const std::vector<ScreenRect>& monitors, const Rosacle::Rosette& primary, TDIB& primarySurface);
    // One frame, after the primary's: each rosette of its own steps along with primary (one
    // step for all monitors of its size) and is plotted; every window shows its surface, whole
    // the first time, then only the rosette's box.
    void Frame(const Rosacle::Rosette& primary);
    // Off (a dark display): the windows paint no surface. On: the next frame shows it whole.
    void SetShowing(bool on);
    void Remove();

    // How many rosettes the windows show, the primary's included: one per surface size.
    size_t RosetteCount() const { return groups_.size(); }

private:
    struct Group {
        int32_t width = 0, height = 0;
        std::unique_ptr<Rosacle::Rosette> own; // null: the primary's is shown
        std::unique_ptr<TDIB> ownSurface;
        const Rosacle::Rosette* rosette = nullptr;
        TDIB* surface = nullptr;
    };
    struct Shown {
        HWND window = nullptr;
        size_t group = 0;
        int32_t left = 0, top = 0; // of the surface in the window
        bool whole = false;        // the surface has been shown whole since the last lay
    };
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM w, LPARAM l);
    void Paint(HWND window, HDC dc);
    void DestroyWindows();

    std::function<void()> onKey_;
    std::function<void()> onMouseMove_;
    std::vector<Group> groups_;
    std::vector<Shown> shown_;
    bool showing_ = true;
};
