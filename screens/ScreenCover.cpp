#include "screens/ScreenCover.h"

#include <algorithm>

namespace {

void Add(std::vector<ScreenRect>& covers, const ScreenRect& r)
{
    if (r.Empty()) return;
    if (std::find(covers.begin(), covers.end(), r) == covers.end()) covers.push_back(r);
}

} // namespace

namespace {

bool Overlap(const ScreenRect& a, const ScreenRect& b)
{
    return std::max(a.left, b.left) < std::min(a.right, b.right) && std::max(a.top, b.top) < std::min(a.bottom, b.bottom);
}

} // namespace

std::vector<ScreenRect> CoverRects(const std::vector<ScreenRect>& monitors, const ScreenRect& primary)
{
    std::vector<ScreenRect> covers;
    for (const ScreenRect& m : monitors) {
        if (m.Empty()) continue;
        const ScreenRect overlap = {std::max(m.left, primary.left), std::max(m.top, primary.top),
                                    std::min(m.right, primary.right), std::min(m.bottom, primary.bottom)};
        if (overlap.Empty()) {
            Add(covers, m);
            continue;
        }
        // Full-width bands above and below the overlap, then the two sides beside it.
        Add(covers, {m.left, m.top, m.right, overlap.top});
        Add(covers, {m.left, overlap.bottom, m.right, m.bottom});
        Add(covers, {m.left, overlap.top, overlap.left, overlap.bottom});
        Add(covers, {overlap.right, overlap.top, m.right, overlap.bottom});
    }
    return covers;
}

MonitorWindows PlanMonitorWindows(const std::vector<ScreenRect>& monitors, const ScreenRect& primary, bool rosettes)
{
    MonitorWindows plan;
    std::vector<ScreenRect> covered;
    for (const ScreenRect& m : monitors) {
        if (rosettes && !m.Empty() && !Overlap(m, primary)) Add(plan.rosettes, m);
        else covered.push_back(m);
    }
    plan.covers = CoverRects(covered, primary);
    return plan;
}

std::vector<SurfaceSizeGroup> GroupBySurfaceSize(const std::vector<ScreenRect>& rects, int32_t maxWidth,
                                                 int32_t maxHeight)
{
    std::vector<SurfaceSizeGroup> groups;
    for (size_t k = 0; k < rects.size(); ++k) {
        const int32_t width = std::min(rects[k].Width(), maxWidth), height = std::min(rects[k].Height(), maxHeight);
        auto group = std::find_if(groups.begin(), groups.end(), [&](const SurfaceSizeGroup& g) {
            return g.width == width && g.height == height;
        });
        if (group == groups.end()) group = groups.insert(groups.end(), SurfaceSizeGroup{width, height, {}});
        group->members.push_back(k);
    }
    return groups;
}
