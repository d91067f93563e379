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

TEST(PlanMonitorWindows, WithoutRosettesEveryOtherMonitorIsCovered)
{
    const ScreenRect left = {-1280, 0, 0, 1024}, right = {1920, 0, 4480, 1440};
    const MonitorWindows plan = PlanMonitorWindows({left, Primary, right}, Primary, false);
    EXPECT_TRUE(plan.rosettes.empty());
    EXPECT_EQ(plan.covers, Rects({left, right}));
}

TEST(PlanMonitorWindows, WithRosettesEachMonitorApartFromThePrimaryShowsOne)
{
    const ScreenRect left = {-1280, 0, 0, 1024}, right = {1920, 0, 4480, 1440};
    MonitorWindows plan = PlanMonitorWindows({left, Primary, right, right}, Primary, true);
    EXPECT_EQ(plan.rosettes, Rects({left, right}));
    EXPECT_TRUE(plan.covers.empty());
    // A monitor that overlaps the primary keeps its black bands: no window lies over the rosette.
    const ScreenRect overlapping = {960, 0, 2880, 1200};
    plan = PlanMonitorWindows({Primary, overlapping, left}, Primary, true);
    EXPECT_EQ(plan.rosettes, Rects({left}));
    EXPECT_EQ(plan.covers, Rects({{1920, 0, 2880, 1200}}));
    EXPECT_TRUE(PlanMonitorWindows({Primary}, Primary, true).rosettes.empty());
}

TEST(GroupBySurfaceSize, MonitorsOfOneClampedSizeShareAGroup)
{
    const Rects monitors = {{-1280, 0, 0, 1024},    {1920, 0, 4480, 1440}, {4480, 0, 6400, 1200},
                            {6400, 0, 7680, 1024}, {0, 1200, 2200, 2600}};
    const std::vector<SurfaceSizeGroup> groups = GroupBySurfaceSize(monitors, 1920, 1200);
    ASSERT_EQ(groups.size(), 2u);
    EXPECT_TRUE(groups[0].width == 1280 && groups[0].height == 1024);
    EXPECT_EQ(groups[0].members, std::vector<size_t>({0, 3}));
    // 2560x1440, 1920x1200 and 2200x1400 all show a 1920x1200 surface.
    EXPECT_TRUE(groups[1].width == 1920 && groups[1].height == 1200);
    EXPECT_EQ(groups[1].members, std::vector<size_t>({1, 2, 4}));
    EXPECT_TRUE(GroupBySurfaceSize({}, 1920, 1200).empty());
}
