// The points of a layout that reach the screen, counted against the plot itself.
#include <gtest/gtest.h>

#include <vector>

#include "generator/Workers.h"
#include "tests/native/FreshRosette.h"

using namespace Rosacle;

namespace {

struct Counts {
    long points = 0, repeated = 0, unseen = 0;
};

// Rows 1..RowCount: all points, the repeated ones, and the computed ones that are not seen.
Counts CountRows(const Rosette& R)
{
    Counts c;
    for (int r = 1; r <= R.RowCount; ++r)
        for (int j = 0; j <= R.RowPoints[r]; ++j) {
            ++c.points;
            if (R.RepeatsPointBefore(r, j))
                ++c.repeated;
            else if (!R.SeenPoint[r][j])
                ++c.unseen;
        }
    return c;
}

// The counts of a few layouts, worked out from the plot order by hand once: a changed rule
// (a petal, a row or the rim left out, the repeated points' sources forgotten) moves them.
TEST(SeenPoints, UnseenShareOfLargeAndSmallLayouts)
{
    SetWorkerCount(2);
    struct Case {
        int width, height, petals;
        long points, repeated, unseen;
    };
    for (const Case& k : {Case{1920, 1200, 4, 555676, 142756, 129147}, Case{1920, 1200, 12, 185787, 47867, 8411},
                          Case{512, 382, 8, 28366, 6887, 2981}}) {
        const Counts c = CountRows(FreshRosette(k.width, k.height, k.petals));
        EXPECT_EQ(c.points, k.points) << k.width << "x" << k.height << ", " << k.petals;
        EXPECT_EQ(c.repeated, k.repeated) << k.width << "x" << k.height << ", " << k.petals;
        EXPECT_EQ(c.unseen, k.unseen) << k.width << "x" << k.height << ", " << k.petals;
    }
    SetWorkerCount(1);
}

// Every pixel a plot writes keeps a seen point, and every seen point that is not the source
// of a repeated one keeps a pixel; for the full plot and the preview's.
TEST(SeenPoints, MarksAreThePointsThePixelsKeep)
{
    for (const PlotKind kind : {PlotKind::Full, PlotKind::Preview}) {
        const Rosette R = FreshRosette(203, 97, 7, 1, kind);
        const bool preview = kind == PlotKind::Preview;
        std::vector<long> keeps(static_cast<size_t>(R.SurfaceWidth) * R.SurfaceHeight, -1);
        const auto plot = [&](int32_t x, int32_t y, int r, int j) {
            if (x >= 0 && x < R.SurfaceWidth && y >= 0 && y < R.SurfaceHeight)
                keeps[static_cast<size_t>(y) * R.SurfaceWidth + x] = r * MaxPoints + j;
        };
        for (int s = 0; s < 7; ++s)
            for (int r = preview ? 1 : 0; r <= R.RowCount; ++r)
                for (int j = 0; j <= R.RowPoints[r] - (preview ? 1 : 0); ++j) plot(R.PointX(s, r, j), R.PointY(s, r, j), r, j);
        // The centre: row 1's point 0 in the preview, a copy of it in the full plot.
        if (preview) plot(R.PointX(0, 0, 0), R.PointY(0, 0, 0), 1, 0);
        std::vector<bool> kept(static_cast<size_t>(MaxRows) * MaxPoints, false);
        for (long k : keeps)
            if (k >= 0) {
                const int r = static_cast<int>(k / MaxPoints), j = static_cast<int>(k % MaxPoints);
                EXPECT_TRUE(R.SeenPoint[r][j]) << "row " << r << ", point " << j << (preview ? ", preview" : "");
                kept[static_cast<size_t>(k)] = true;
            }
        for (int r = 1; r <= R.RowCount; ++r)
            for (int j = 0; j <= R.RowPoints[r]; ++j) {
                const bool source = j < R.RowPoints[r] && R.SeenPoint[r][j + 1] && R.RepeatsPointBefore(r, j + 1);
                const bool centre = r == 1 && j == 0 && !preview && R.SeenPoint[0][0];
                if (R.SeenPoint[r][j] && !source && !centre) {
                    EXPECT_TRUE(kept[static_cast<size_t>(r) * MaxPoints + j]) << "row " << r << ", point " << j;
                }
            }
    }
}

} // namespace
