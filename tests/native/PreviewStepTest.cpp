#include <gtest/gtest.h>

#include "generator/ColourPasses.h"
#include "tests/native/FreshRosette.h"

using namespace Rosacle;

namespace {

void FillPlanes(Rosette& R, int32_t value)
{
    for (int r = 0; r <= R.RowCount; ++r)
        for (int j = 0; j <= R.RowPoints[r]; ++j) R.Red[r][j] = R.Green[r][j] = R.Blue[r][j] = value;
}

TEST(PreviewFadeTest, FadesTheRimToWhiteButLeavesEachRowsLastPoint)
{
    Rosette R = FreshRosette(152, 112, 8, 1, PlotKind::Preview);
    FillPlanes(R, 100);
    PreviewFade(R);
    const int n = R.RowCount;
    EXPECT_EQ(R.Red[n][0], 255);
    EXPECT_EQ(R.Green[n][R.RowPoints[n] - 1], 255);
    EXPECT_EQ(R.Blue[n][R.RowPoints[n]], 100); // the last point is left out
    EXPECT_EQ(R.Red[n - 4][0], 131);         // a fifth of the way: 100 + 155 / 5
    EXPECT_EQ(R.Red[n - 5][0], 100);
}

TEST(PreviewFadeTest, TinySurfaceNeverFadesBelowRowZero)
{
    Rosette R = FreshRosette(2, 2, 8, 1, PlotKind::Preview); // R.RowCount 1
    ASSERT_EQ(R.RowCount, 1);
    FillPlanes(R, 0);
    PreviewFade(R);
    EXPECT_EQ(R.Red[1][0], 255);
    EXPECT_EQ(R.Red[0][0], 0); // row 0 has no point before its last one
}

TEST(PreviewStepTest, NoCentreCopy)
{
    SaverSettings.Speed = 50;
    Rosette R = FreshRosette(152, 112, 8, 1, PlotKind::Preview);
    FillPlanes(R, 7);
    R.Red[0][0] = 1;
    R.Step();
    EXPECT_EQ(R.Red[0][0], 1);
}

} // namespace
