#pragma once
// The desktop around the saver: which rectangles, in virtual-screen coordinates, black
// windows must cover so that no monitor shows the desktop while the saver window holds the
// primary monitor, and which monitors show a rosette of their own instead. Portable: monitor
// rectangles in, window rectangles out.
#include <cstddef>
#include <cstdint>
#include <vector>

struct ScreenRect {
    int32_t left = 0, top = 0, right = 0, bottom = 0; // right and bottom exclusive

    int32_t Width() const { return right - left; }
    int32_t Height() const { return bottom - top; }
    bool Empty() const { return right <= left || bottom <= top; }
    bool operator==(const ScreenRect& o) const
    {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};

// The cover windows: every part of every monitor that lies outside `primary`, where the saver
// window is. A monitor apart from the primary gives one window of its own size; one that
// overlaps it (a clone, a partly mirrored panel) gives up to four bands around the overlap, so
// no cover ever lies over the rosette. Empty monitors and repeated rectangles give nothing.
std::vector<ScreenRect> CoverRects(const std::vector<ScreenRect>& monitors, const ScreenRect& primary);

// The windows around the saver window. With rosettes, every monitor apart from the primary
// (one that does not overlap it) gets a window that shows a rosette of its size; the parts of
// monitors that overlap the primary (clones, mirrored panels) still get black covers, as all
// monitors do without rosettes. Repeated rectangles give one window.
struct MonitorWindows {
    std::vector<ScreenRect> rosettes;
    std::vector<ScreenRect> covers;
};
MonitorWindows PlanMonitorWindows(const std::vector<ScreenRect>& monitors, const ScreenRect& primary, bool rosettes);

// Rectangles of one surface size: their own size clamped to at most maxWidth x maxHeight.
// One rosette serves them all.
struct SurfaceSizeGroup {
    int32_t width = 0, height = 0;
    std::vector<std::size_t> members; // indices into the rectangles, in their order
};
// The groups in the order of their first member.
std::vector<SurfaceSizeGroup> GroupBySurfaceSize(const std::vector<ScreenRect>& rects, int32_t maxWidth,
                                                 int32_t maxHeight);
