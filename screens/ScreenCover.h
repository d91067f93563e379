#pragma once
// The desktop around the saver: which rectangles, in virtual-screen coordinates, black
// windows must cover so that no monitor shows the desktop while the saver window holds the
// primary monitor. Portable: monitor rectangles in, window rectangles out.
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
