// The points of a layout that reach the screen, counted against the plot itself.
#include <gtest/gtest.h>

#include <vector>

#include "generator/Rosacle.h"
#include "generator/SeenPoints.h"
#include "generator/Workers.h"
#include "settings/SaverSettings.h"

using namespace Rosacle;

namespace {

struct Counts {
    long points = 0, repeated = 0, unseen = 0;
};

// Rows 1..RowCount: all points, the repeated ones, and the computed ones that are not seen.
Counts CountRows()
{
    Counts c;
    for (int r = 1; r <= RowCount; ++r)
        for (int j = 0; j <= RowPoints[r]; ++j) {
            ++c.points;
            if (RepeatsPointBefore(r, j))
                ++c.repeated;
            else if (!SeenPoint[r][j])
                ++c.unseen;
        }
    return c;
}

void Lay(int width, int height, int petals)
{
    SaverSettings = TSaverSettings();
    SaverSettings.Segment = petals;
    SaverSettings.Rosacle = 1;
    LayGenerator(width, height);
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
        Lay(k.width, k.height, k.petals);
        const Counts c = CountRows();
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
        Lay(203, 97, 7);
        LaySeenPoints(kind);
        const bool preview = kind == PlotKind::Preview;
        std::vector<long> keeps(static_cast<size_t>(SurfaceWidth) * SurfaceHeight, -1);
        const auto plot = [&](int32_t x, int32_t y, int r, int j) {
            if (x >= 0 && x < SurfaceWidth && y >= 0 && y < SurfaceHeight)
                keeps[static_cast<size_t>(y) * SurfaceWidth + x] = r * MaxPoints + j;
        };
        for (int s = 0; s < 7; ++s)
            for (int r = preview ? 1 : 0; r <= RowCount; ++r)
                for (int j = 0; j <= RowPoints[r] - (preview ? 1 : 0); ++j) plot(PointX[s][r][j], PointY[s][r][j], r, j);
        // The centre: row 1's point 0 in the preview, a copy of it in the full plot.
        if (preview) plot(PointX[0][0][0], PointY[0][0][0], 1, 0);
        std::vector<bool> kept(static_cast<size_t>(MaxRows) * MaxPoints, false);
        for (long k : keeps)
            if (k >= 0) {
                const int r = static_cast<int>(k / MaxPoints), j = static_cast<int>(k % MaxPoints);
                EXPECT_TRUE(SeenPoint[r][j]) << "row " << r << ", point " << j << (preview ? ", preview" : "");
                kept[static_cast<size_t>(k)] = true;
            }
        for (int r = 1; r <= RowCount; ++r)
            for (int j = 0; j <= RowPoints[r]; ++j) {
                const bool source = j < RowPoints[r] && SeenPoint[r][j + 1] && RepeatsPointBefore(r, j + 1);
                const bool centre = r == 1 && j == 0 && !preview && SeenPoint[0][0];
                if (SeenPoint[r][j] && !source && !centre) {
                    EXPECT_TRUE(kept[static_cast<size_t>(r) * MaxPoints + j]) << "row " << r << ", point " << j;
                }
            }
    }
}

} // namespace
