// The rectangles the black cover windows take around the saver's primary monitor, and the
// place of the saver's surface on the primary.
#include <gtest/gtest.h>

#include "screens/ScreenCover.h"

namespace {

const ScreenRect Primary = {0, 0, 1920, 1200};

using Rects = std::vector<ScreenRect>;

} // namespace

TEST(CoverRects, OneMonitorNeedsNoCover)
{
    EXPECT_TRUE(CoverRects({Primary}, Primary).empty());
    EXPECT_TRUE(CoverRects({}, Primary).empty());
}

TEST(CoverRects, TwoMonitorsRightAndLeftOfThePrimary)
{
    const ScreenRect right = {1920, 0, 3200, 1024};
    EXPECT_EQ(CoverRects({Primary, right}, Primary), Rects({right}));
    // Left of the primary the coordinates are negative; the monitor's order does not matter.
    const ScreenRect left = {-1280, 0, 0, 1024};
    EXPECT_EQ(CoverRects({left, Primary}, Primary), Rects({left}));
}

TEST(CoverRects, ThreeMonitorsAroundThePrimary)
{
    const ScreenRect left = {-1280, -200, 0, 824};
    const ScreenRect above = {0, -1080, 1920, 0};
    const ScreenRect right = {1920, 100, 3840, 1180};
    const Rects covers = CoverRects({left, Primary, above, right}, Primary);
    EXPECT_EQ(covers, Rects({left, above, right}));
    int64_t area = 0;
    for (const ScreenRect& r : covers) area += int64_t(r.Width()) * r.Height();
    EXPECT_EQ(area, 1280 * 1024 + 1920 * 1080 + 1920 * 1080);
}

TEST(CoverRects, OverlapsNeverCoverThePrimary)
{
    // A clone of the primary shows the saver window itself.
    EXPECT_TRUE(CoverRects({Primary, Primary}, Primary).empty());
    // A larger monitor overlapping the primary's top-left part: bands below and to the right.
    const ScreenRect big = {-100, -50, 2000, 1300};
    const Rects covers = CoverRects({Primary, big}, Primary);
    EXPECT_EQ(covers, Rects({{-100, -50, 2000, 0}, {-100, 1200, 2000, 1300}, {-100, 0, 0, 1200}, {1920, 0, 2000, 1200}}));
    // Their area is the monitor's less the primary's, and none meets the primary.
    int64_t area = 0;
    for (const ScreenRect& r : covers) {
        area += int64_t(r.Width()) * r.Height();
        const bool apart = r.right <= Primary.left || r.left >= Primary.right || r.bottom <= Primary.top ||
                           r.top >= Primary.bottom;
        EXPECT_TRUE(apart) << r.left << "," << r.top << "," << r.right << "," << r.bottom;
    }
    EXPECT_EQ(area, int64_t(2100) * 1350 - int64_t(1920) * 1200);
}

TEST(CoverRects, EmptyAndRepeatedMonitorsGiveNothingMore)
{
    const ScreenRect right = {1920, 0, 3200, 1024};
    EXPECT_EQ(CoverRects({Primary, right, right, {5000, 0, 5000, 768}, {0, 0, -10, -10}}, Primary), Rects({right}));
}
