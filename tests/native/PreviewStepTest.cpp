#include <gtest/gtest.h>

#include "generator/ColourPasses.h"
#include "generator/Rosacle.h"
#include "settings/SaverSettings.h"

using namespace Rosacle;

namespace {

void FillPlanes(int32_t value)
{
    for (int r = 0; r <= RowCount; ++r)
        for (int j = 0; j <= RowPoints[r]; ++j) Red[r][j] = Green[r][j] = Blue[r][j] = value;
}

TEST(PreviewFadeTest, FadesTheRimToWhiteButLeavesEachRowsLastPoint)
{
    SaverSettings.Segment = 8;
    SaverSettings.Rosacle = 1;
    LayGenerator(152, 112);
    FillPlanes(100);
    PreviewFade();
    const int n = RowCount;
    EXPECT_EQ(Red[n][0], 255);
    EXPECT_EQ(Green[n][RowPoints[n] - 1], 255);
    EXPECT_EQ(Blue[n][RowPoints[n]], 100); // the last point is left out
    EXPECT_EQ(Red[n - 4][0], 131);         // a fifth of the way: 100 + 155 / 5
    EXPECT_EQ(Red[n - 5][0], 100);
}

TEST(PreviewFadeTest, TinySurfaceNeverFadesBelowRowZero)
{
    SaverSettings.Segment = 8;
    LayGenerator(2, 2); // RowCount 1
    ASSERT_EQ(RowCount, 1);
    FillPlanes(0);
    PreviewFade();
    EXPECT_EQ(Red[1][0], 255);
    EXPECT_EQ(Red[0][0], 0); // row 0 has no point before its last one
}

TEST(PreviewStepTest, NoCentreCopy)
{
    SaverSettings.Segment = 8;
    SaverSettings.Rosacle = 41; // no member: only drift and fade
    SaverSettings.Speed = 50;
    LayGenerator(152, 112);
    FillPlanes(7);
    Red[0][0] = 1;
    PreviewStep();
    EXPECT_EQ(Red[0][0], 1);
}

} // namespace
