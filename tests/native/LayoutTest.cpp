#include <gtest/gtest.h>

#include <cmath>

#include "common/SaverError.h"
#include "generator/Rosacle.h"
#include "settings/SaverSettings.h"

using namespace Rosacle;

namespace {

void Lay(int width, int height, int petals, int pattern = 1)
{
    SaverSettings.Segment = petals;
    SaverSettings.Rosacle = pattern;
    LayGenerator(width, height);
}

TEST(Layout, DialogSizeWithEightPetals)
{
    Lay(512, 382, 8);
    EXPECT_EQ(RowCount, 267);
    EXPECT_EQ(RowPoints[0], 0);
    EXPECT_EQ(RowPoints[1], 1);
    EXPECT_EQ(RowPoints[267], 210);
    for (int s = 0; s < 8; ++s) {
        EXPECT_EQ(PointX[s][0][0], 256);
        EXPECT_EQ(PointY[s][0][0], 191);
    }
}

TEST(Layout, FourPetalsPositionsAndKeptOffsets)
{
    Lay(512, 382, 4);
    ASSERT_EQ(RowPoints[1], 2);
    EXPECT_EQ(PointX[0][1][0], 255); EXPECT_EQ(PointY[0][1][0], 192);
    EXPECT_EQ(PointX[0][1][1], 256); EXPECT_EQ(PointY[0][1][1], 192);
    EXPECT_EQ(PointX[0][1][2], 257); EXPECT_EQ(PointY[0][1][2], 191);
    // The offsets are those of the last petal, 3.
    EXPECT_EQ(OffsetX[1][0], -1); EXPECT_EQ(OffsetY[1][0], -1);
    EXPECT_EQ(OffsetX[1][1], -1); EXPECT_EQ(OffsetY[1][1], 0);
    EXPECT_EQ(OffsetX[1][2], 0);  EXPECT_EQ(OffsetY[1][2], 1);
    EXPECT_EQ(RowPoints[267], 419);
    EXPECT_EQ(PointX[0][267][0], 121); EXPECT_EQ(PointY[0][267][0], 326);
    // Ramp: 1 at both edges, 0 on the middle line.
    EXPECT_EQ(PointRamp[1][0], 1.0L);
    EXPECT_EQ(PointRamp[1][1], 0.0L);
    EXPECT_EQ(PointRamp[1][2], 1.0L);
}

TEST(Layout, TwelvePetalsRowOneHasTwoPoints)
{
    Lay(512, 382, 12);
    EXPECT_EQ(RowPoints[1], 1);
    EXPECT_EQ(PointRamp[1][0], 1.0L);
    EXPECT_EQ(PointRamp[1][1], 1.0L);
}

TEST(Layout, FullHeightStaysInsideThePlanes)
{
    Lay(1920, 1200, 4);
    EXPECT_EQ(RowCount, 840);
    EXPECT_EQ(RowPoints[840], 1319);
    int clampedToBottom = 0;
    for (int s = 0; s < 4; ++s)
        for (int r = 0; r <= RowCount; ++r)
            for (int j = 0; j <= RowPoints[r]; ++j) {
                ASSERT_GE(PointY[s][r][j], 0);
                ASSERT_LE(PointY[s][r][j], 1199);
                clampedToBottom += PointY[s][r][j] == 1199;
            }
    EXPECT_GT(clampedToBottom, 0); // the rows that would reach 1200 lie on 1199
}

TEST(Layout, NarrowSurfaceLeavesPointXUnclamped)
{
    Lay(100, 382, 8);
    int outside = 0;
    for (int j = 0; j <= RowPoints[267]; ++j) outside += PointX[2][267][j] >= 100 || PointX[2][267][j] < 0;
    EXPECT_GT(outside, 0);
}

TEST(Layout, RowsOfASecondLayoutReplaceTheFirst)
{
    Lay(512, 382, 4);
    Lay(512, 382, 12);
    EXPECT_EQ(RowPoints[267], 140);
}

TEST(Layout, Pattern40Tables)
{
    Lay(512, 382, 4, 40);
    // Row 5, point 1 stops with k = 4: |z3|, |z4|, |z5|.
    EXPECT_NEAR(double(PointShapeA[5][1]), 0.27645, 5e-5);
    EXPECT_NEAR(double(PointShapeB[5][1]), 0.29435, 5e-5);
    EXPECT_NEAR(double(PointShapeC[5][1]), 1.14451, 5e-5);
    // Row 100, point 0 runs the full course.
    EXPECT_NEAR(double(PointShapeA[100][0]), 0.58307, 5e-5);
    EXPECT_NEAR(double(PointShapeB[100][0]), 0.59456, 5e-5);
    EXPECT_TRUE(std::isfinite(double(PointShapeC[100][0])));
}

TEST(Layout, ShapeTablesAreLaidAgainOnAPatternChange)
{
    Lay(512, 382, 8, 21);
    const Extended a21 = PointShapeA[50][3];
    Lay(512, 382, 8, 24);
    EXPECT_NE(PointShapeA[50][3], a21);
    Lay(512, 382, 8, 7); // no tables for 7: 24's stay
    Lay(512, 382, 8, 21);
    EXPECT_EQ(PointShapeA[50][3], a21);
}

TEST(Layout, OutOfRangeSettingsAreBroughtIntoRange)
{
    Lay(512, 382, 2, 0);
    EXPECT_EQ(SaverSettings.Segment, 4);
    EXPECT_EQ(SaverSettings.Rosacle, 1);
    Lay(512, 382, 99, 55);
    EXPECT_EQ(SaverSettings.Segment, 12);
    EXPECT_EQ(SaverSettings.Rosacle, 40);
    Lay(512, 382, INT32_MIN, INT32_MAX);
    EXPECT_EQ(SaverSettings.Segment, 4);
    EXPECT_EQ(SaverSettings.Rosacle, 40);
}

TEST(Layout, OversizedSurfaceIsRefused)
{
    SaverSettings.Segment = 8;
    EXPECT_THROW(LayGenerator(1920, 1201), SaverError);
    EXPECT_THROW(LayGenerator(1921, 1200), SaverError);
    EXPECT_THROW(LayGenerator(-1, 10), SaverError);
    EXPECT_NO_THROW(LayGenerator(1, 1));
    EXPECT_EQ(RowCount, 1);
}

} // namespace

#include <cstring>
#include "generator/Workers.h"

namespace {

// The layout laid by several workers equals the one laid by one, bit for bit.
TEST(Layout, WorkersLayTheSameLayout)
{
    for (int pattern : {1, 21, 40}) {
        SetWorkerCount(1);
        Lay(700, 500, 7, pattern);
        static int32_t x[MaxRows][MaxPoints];
        static Extended c[MaxRows][MaxPoints];
        std::memcpy(x, PointX[6], sizeof x);
        std::memcpy(c, PointShapeC, sizeof c);
        const int32_t offsetSample = OffsetY[200][77];
        SetWorkerCount(3);
        Lay(700, 500, 7, pattern);
        SetWorkerCount(1);
        EXPECT_EQ(std::memcmp(x, PointX[6], sizeof x), 0) << pattern;
        EXPECT_EQ(OffsetY[200][77], offsetSample);
        for (int r = 1; r <= RowCount; ++r)
            for (int j = 0; j <= RowPoints[r]; ++j)
                ASSERT_EQ(std::memcmp(&c[r][j], &PointShapeC[r][j], 10), 0) << pattern << " " << r << " " << j;
    }
}

} // namespace
