#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "common/SaverError.h"
#include "generator/Workers.h"
#include "tests/native/FreshRosette.h"

using namespace Rosacle;

namespace {

TEST(Layout, DialogSizeWithEightPetals)
{
    const Rosette R = FreshRosette(512, 382, 8);
    EXPECT_EQ(R.RowCount, 267);
    EXPECT_EQ(R.RowPoints[0], 0);
    EXPECT_EQ(R.RowPoints[1], 1);
    EXPECT_EQ(R.RowPoints[267], 210);
    for (int s = 0; s < 8; ++s) {
        EXPECT_EQ(R.PointX(s, 0, 0), 256);
        EXPECT_EQ(R.PointY(s, 0, 0), 191);
    }
}

TEST(Layout, FourPetalsPositionsAndKeptOffsets)
{
    const Rosette R = FreshRosette(512, 382, 4, 9);
    ASSERT_EQ(R.RowPoints[1], 2);
    EXPECT_EQ(R.PointX(0, 1, 0), 255); EXPECT_EQ(R.PointY(0, 1, 0), 192);
    EXPECT_EQ(R.PointX(0, 1, 1), 256); EXPECT_EQ(R.PointY(0, 1, 1), 192);
    EXPECT_EQ(R.PointX(0, 1, 2), 257); EXPECT_EQ(R.PointY(0, 1, 2), 191);
    // The offsets are those of the last petal, 3.
    EXPECT_EQ(R.OffsetX(1, 0), -1); EXPECT_EQ(R.OffsetY(1, 0), -1);
    EXPECT_EQ(R.OffsetX(1, 1), -1); EXPECT_EQ(R.OffsetY(1, 1), 0);
    EXPECT_EQ(R.OffsetX(1, 2), 0);  EXPECT_EQ(R.OffsetY(1, 2), 1);
    EXPECT_EQ(R.RowPoints[267], 419);
    EXPECT_EQ(R.PointX(0, 267, 0), 121); EXPECT_EQ(R.PointY(0, 267, 0), 326);
    // Ramp: 1 at both edges, 0 on the middle line.
    EXPECT_EQ(R.PointRamp[1][0], 1.0L);
    EXPECT_EQ(R.PointRamp[1][1], 0.0L);
    EXPECT_EQ(R.PointRamp[1][2], 1.0L);
}

TEST(Layout, TwelvePetalsRowOneHasTwoPoints)
{
    const Rosette R = FreshRosette(512, 382, 12, 10);
    EXPECT_EQ(R.RowPoints[1], 1);
    EXPECT_EQ(R.PointRamp[1][0], 1.0L);
    EXPECT_EQ(R.PointRamp[1][1], 1.0L);
}

TEST(Layout, FullHeightStaysInsideThePlanes)
{
    const Rosette R = FreshRosette(1920, 1200, 4);
    EXPECT_EQ(R.RowCount, 840);
    EXPECT_EQ(R.RowPoints[840], 1319);
    int clampedToBottom = 0;
    for (int s = 0; s < 4; ++s)
        for (int r = 0; r <= R.RowCount; ++r)
            for (int j = 0; j <= R.RowPoints[r]; ++j) {
                ASSERT_GE(R.PointY(s, r, j), 0);
                ASSERT_LE(R.PointY(s, r, j), 1199);
                clampedToBottom += R.PointY(s, r, j) == 1199;
            }
    EXPECT_GT(clampedToBottom, 0); // the rows that would reach 1200 lie on 1199
}

TEST(Layout, NarrowSurfaceLeavesPointXUnclamped)
{
    const Rosette R = FreshRosette(100, 382, 8);
    int outside = 0;
    for (int j = 0; j <= R.RowPoints[267]; ++j) outside += R.PointX(2, 267, j) >= 100 || R.PointX(2, 267, j) < 0;
    EXPECT_GT(outside, 0);
}

TEST(Layout, RowsOfASecondLayoutReplaceTheFirst)
{
    Rosette R = FreshRosette(512, 382, 4);
    SaverSettings.Segment = 12;
    R.GeneratorInit();
    EXPECT_EQ(R.RowPoints[267], 140);
    EXPECT_EQ(R.Red.Size(), R.RowStarts().back());
}

TEST(Layout, Pattern40Tables)
{
    const Rosette R = FreshRosette(512, 382, 4, 40);
    // Row 5, point 1 stops with k = 4: |z3|, |z4|, |z5|.
    EXPECT_NEAR(double(R.PointShapeA[5][1]), 0.27645, 5e-5);
    EXPECT_NEAR(double(R.PointShapeB[5][1]), 0.29435, 5e-5);
    EXPECT_NEAR(double(R.PointShapeC[5][1]), 1.14451, 5e-5);
    // Row 100, point 0 runs the full course.
    EXPECT_NEAR(double(R.PointShapeA[100][0]), 0.58307, 5e-5);
    EXPECT_NEAR(double(R.PointShapeB[100][0]), 0.59456, 5e-5);
    EXPECT_TRUE(std::isfinite(double(R.PointShapeC[100][0])));
}

TEST(Layout, ShapeTablesAreLaidAgainOnAPatternChange)
{
    SetWorkerCount(1); // the tables at every point
    Rosette R = FreshRosette(512, 382, 8, 21);
    const Extended a21 = R.PointShapeA[50][3];
    const auto pattern = [&R](int k) {
        SaverSettings.Rosacle = k;
        R.GeneratorInit();
    };
    pattern(24);
    EXPECT_NE(R.PointShapeA[50][3], a21);
    pattern(7); // no tables for 7: they take no memory
    EXPECT_FALSE(R.PointShapeA.Laid());
    EXPECT_FALSE(R.PointRamp.Laid());
    pattern(21);
    EXPECT_EQ(R.PointShapeA[50][3], a21);
}

TEST(Layout, OutOfRangeSettingsAreBroughtIntoRange)
{
    EXPECT_EQ(FreshRosette(512, 382, 2, 0).Segment, 4);
    EXPECT_EQ(SaverSettings.Rosacle, 1);
    EXPECT_EQ(FreshRosette(512, 382, 99, 55).Pattern, 40);
    EXPECT_EQ(SaverSettings.Segment, 12);
    FreshRosette(512, 382, INT32_MIN, INT32_MAX);
    EXPECT_EQ(SaverSettings.Segment, 4);
    EXPECT_EQ(SaverSettings.Rosacle, 40);
}

TEST(Layout, OversizedSurfaceIsRefused)
{
    EXPECT_THROW(FreshRosette(1920, 1201, 8), SaverError);
    EXPECT_THROW(FreshRosette(1921, 1200, 8), SaverError);
    EXPECT_THROW(FreshRosette(-1, 10, 8), SaverError);
    EXPECT_EQ(FreshRosette(1, 1, 8).RowCount, 1);
}

// The layout laid by several workers equals the one laid by one, bit for bit.
TEST(Layout, WorkersLayTheSameLayout)
{
    for (int pattern : {1, 21, 40}) {
        SetWorkerCount(1);
        const Rosette one = FreshRosette(700, 500, 7, pattern);
        SetWorkerCount(3);
        Rosette R = FreshRosette(700, 500, 7, pattern);
        SetWorkerCount(1);
        R.Step(); // the tables at every point, as the one worker laid them
        EXPECT_EQ(R.Box().left, one.Box().left);
        for (int r = 1; r <= R.RowCount; ++r)
            for (int j = 0; j <= R.RowPoints[r]; ++j) {
                ASSERT_EQ(R.SeenPoint[r][j], one.SeenPoint[r][j]) << pattern << " " << r << " " << j;
                ASSERT_EQ(R.RepeatsPointBefore(r, j), one.RepeatsPointBefore(r, j));
                if (R.PointShapeC.Laid()) {
                    ASSERT_EQ(std::memcmp(&one.PointShapeC[r][j], &R.PointShapeC[r][j], 10), 0) << pattern << " " << r << " " << j;
                }
            }
    }
}

} // namespace
