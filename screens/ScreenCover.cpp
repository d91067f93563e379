#include "screens/ScreenCover.h"

#include <algorithm>

namespace {

void Add(std::vector<ScreenRect>& covers, const ScreenRect& r)
{
    if (r.Empty()) return;
    if (std::find(covers.begin(), covers.end(), r) == covers.end()) covers.push_back(r);
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
