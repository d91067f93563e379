#include <gtest/gtest.h>

#include <limits>

#include "generator/ColourPasses.h"
#include "generator/Random.h"
#include "generator/patterns/Engine.h"
#include "tests/native/FreshRosette.h"

using namespace Rosacle;

namespace {

Rosette R;

// A small layout with every pass off and (unless given) no member, so a test owns the colour
// planes.
void LayQuiet(int width, int height, int petals = 8, int pattern = 0)
{
    SaverSettings = TSaverSettings();
    R = FreshRosette(width, height, petals, pattern < 1 ? 1 : pattern);
    R.Pattern = pattern;
    SaverSettings.Speed = 0;
    R.Phase1 = 1; R.Phase2 = 2; R.Phase3 = 3;
    R.Rate1 = -0.02L; R.Rate2 = 0.02L; R.Rate3 = 0.02L;
}

void SetPoint(int r, int j, int32_t red, int32_t green, int32_t blue)
{
    R.Red[r][j] = red; R.Green[r][j] = green; R.Blue[r][j] = blue;
}

void ExpectPoint(int r, int j, int32_t red, int32_t green, int32_t blue)
{
    EXPECT_EQ(R.Red[r][j], red) << "row " << r << " point " << j;
    EXPECT_EQ(R.Green[r][j], green) << "row " << r << " point " << j;
    EXPECT_EQ(R.Blue[r][j], blue) << "row " << r << " point " << j;
}

TEST(GeneratorStep, FirstCallDrawsRatesAndMovesNoPhase)
{
    for (uint32_t seed = 0; seed < 300; ++seed) {
        LayQuiet(64, 48);
        SaverSettings.Speed = 150;
        R.Rate1 = R.Rate2 = R.Rate3 = 0;
        RandSeed(seed);
        R.Step();
        ASSERT_EQ(R.Phase1, 1.0L); ASSERT_EQ(R.Phase2, 2.0L); ASSERT_EQ(R.Phase3, 3.0L);
        ASSERT_LE(R.Rate1, -0.01L); ASSERT_GE(R.Rate1, -0.0338L);
        ASSERT_GE(R.Rate2, 0.01L);  ASSERT_LE(R.Rate2, 0.0398L);
        ASSERT_GE(R.Rate3, 0.01L);  ASSERT_LE(R.Rate3, 0.0438L);
    }
}

TEST(GeneratorStep, PhaseAtZeroTurnsPositive)
{
    for (int which = 1; which <= 3; ++which) {
        LayQuiet(64, 48);
        Extended* phase[] = {&R.Phase1, &R.Phase2, &R.Phase3};
        Extended* rate[] = {&R.Rate1, &R.Rate2, &R.Rate3};
        *phase[which - 1] = 0;
        *rate[which - 1] = -0.02L;
        R.Step();
        EXPECT_EQ(*phase[which - 1], 0.0L);
        EXPECT_GE(*rate[which - 1], 0.01L) << which;
        EXPECT_LE(*rate[which - 1], 0.0378L) << which;
    }
}

TEST(GeneratorStep, SpeedScalesTheDrift)
{
    LayQuiet(64, 48);
    SaverSettings.Speed = 150;
    R.Step();
    EXPECT_NEAR(static_cast<double>(R.Phase1), 0.98, 1e-15);
    EXPECT_NEAR(static_cast<double>(R.Phase2), 2.02, 1e-15);
    LayQuiet(64, 48);
    SaverSettings.Speed = 75;
    R.Step();
    EXPECT_NEAR(static_cast<double>(R.Phase1), 0.99, 1e-15);
    LayQuiet(64, 48);
    SaverSettings.Speed = 54;
    R.Step();
    EXPECT_NEAR(static_cast<double>(R.Phase1), 1 - 0.0072, 1e-15);
    // Inside 0..2pi no rate is drawn again.
    EXPECT_EQ(R.Rate1, -0.02L);
    EXPECT_EQ(R.Rate3, 0.02L);
}

TEST(GeneratorStep, OvershootIsKeptAndTurned)
{
    LayQuiet(64, 48);
    SaverSettings.Speed = 150;
    R.Phase3 = TwoPi - 0.001L;
    R.Step();
    EXPECT_GT(R.Phase3, TwoPi);
    EXPECT_LE(R.Rate3, -0.01L);
    EXPECT_GE(R.Rate3, -0.0438L);
}

TEST(ColourPasses, ThresholdInBothBackgrounds)
{
    for (bool white : {false, true}) {
        LayQuiet(64, 48);
        SaverSettings.Pictures = true;
        SaverSettings.Background = white;
        SetPoint(10, 0, 231, 231, 231);
        SetPoint(10, 1, 232, 0, 0);
        SetPoint(10, 2, 0, 0, 300);
        R.Step();
        const int32_t on = white ? 0 : 255, off = white ? 255 : 0;
        ExpectPoint(10, 0, off, off, off);
        ExpectPoint(10, 1, on, on, on);
        ExpectPoint(10, 2, on, on, on);
    }
}

TEST(ColourPasses, GrayFoldsTheLength)
{
    LayQuiet(64, 48);
    SaverSettings.Gray = true;
    SaverSettings.Pictures = true; // grey wins over the threshold
    SetPoint(10, 0, 255, 255, 255);
    SetPoint(10, 1, 0, 0, 0);
    SetPoint(10, 2, 20, 0, 0); // at or below 25: black
    R.Step();
    ExpectPoint(10, 0, 18, 18, 18);
    ExpectPoint(10, 1, 0, 0, 0);
    ExpectPoint(10, 2, 0, 0, 0);
}

TEST(ColourPasses, InvertAndCentreCopy)
{
    LayQuiet(64, 48);
    SaverSettings.Oval = true;
    SetPoint(10, 0, 40, 0, 300);
    SetPoint(1, 0, 1, 2, 3);
    R.Step();
    ExpectPoint(10, 0, 215, 255, -45); // not clamped
    ExpectPoint(0, 0, 254, 253, 252);
}

TEST(ColourPasses, RimFadesIntoBlack)
{
    LayQuiet(64, 48);
    const int n = R.RowCount;
    for (int r = n - 5; r <= n; ++r)
        for (int j = 0; j <= R.RowPoints[r]; ++j) SetPoint(r, j, 100, 37, 1000);
    R.Step();
    ExpectPoint(n - 5, 0, 100, 37, 1000); // outside the rim
    ExpectPoint(n - 4, 0, 82, 30, 820);
    ExpectPoint(n - 1, 3, 28, 10, 280);
    for (int j = 0; j <= R.RowPoints[n]; ++j) ExpectPoint(n, j, 10, 4, 100);
}

TEST(ColourPasses, RimFadesIntoWhite)
{
    LayQuiet(64, 48);
    SaverSettings.Background = true;
    SaverSettings.Oval = true;
    const int n = R.RowCount;
    for (int r = n - 4; r <= n; ++r)
        for (int j = 0; j <= R.RowPoints[r]; ++j) SetPoint(r, j, 155, -7, 300);
    R.Step();
    // Inverted first to (100, 262, -45); values outside 0..255 stay outside.
    ExpectPoint(n - 4, 0, 131, 261, 15);
    ExpectPoint(n - 1, 0, 224, 256, 195);
    for (int j = 0; j <= R.RowPoints[n]; ++j) ExpectPoint(n, j, 255, 255, 255);
}

TEST(GeneratorStep, PatternOutsideOneToFortyKeepsColours)
{
    for (int pattern : {0, 41}) {
        LayQuiet(64, 48);
        R.Pattern = pattern;
        SaverSettings.Oval = true;
        SetPoint(10, 5, 40, 50, 60);
        R.Step();
        ExpectPoint(10, 5, 215, 205, 195);
        R.Step();
        ExpectPoint(10, 5, 40, 50, 60);
    }
}

TEST(ColourPasses, TinySurfacesStartTheRimAtTheCentre)
{
    // 1 x 1 lays one row, 3 x 3 two: the rim covers every row from 0.
    LayQuiet(1, 1);
    ASSERT_EQ(R.RowCount, 1);
    for (int j = 0; j <= R.RowPoints[1]; ++j) SetPoint(1, j, 100, 200, 50);
    R.Step();
    ExpectPoint(1, 0, 10, 20, 5);
    ExpectPoint(0, 0, 10, 20, 5);

    LayQuiet(3, 3);
    ASSERT_EQ(R.RowCount, 2);
    for (int r = 1; r <= 2; ++r)
        for (int j = 0; j <= R.RowPoints[r]; ++j) SetPoint(r, j, 100, 200, 50);
    SaverSettings.Background = true;
    R.Step();
    ExpectPoint(1, 0, 224, 244, 214);
    ExpectPoint(2, 0, 255, 255, 255);
    ExpectPoint(0, 0, 224, 244, 214);
}

// ---- The engine's row loop and the finishing steps.

template <class Step>
Channels Apply(int32_t r, int32_t g, int32_t b)
{
    Channels c{r, g, b};
    Step::Apply(c);
    return c;
}

TEST(FinishingSteps, FoldValues)
{
    const int32_t in[] = {255, 256, 510, 1020, 1275, 2040, 2041, 300, 600, 1000, 1500, -9};
    const int32_t out[] = {255, 254, 0, 0, 255, 0, -1, 210, 90, 20, 30, -9};
    for (size_t k = 0; k < sizeof in / sizeof in[0]; ++k) {
        Channels c = Apply<Fold>(in[k], in[k], in[k]);
        EXPECT_EQ(c.R, out[k]) << in[k];
        EXPECT_EQ(c.B, out[k]) << in[k];
    }
    Channels c = Apply<Chain<Fold, CutAt<25>>>(2041, 2041, 2041);
    EXPECT_EQ(c.G, 0);
}

TEST(FinishingSteps, CutPowersClampAndAbs)
{
    Channels c = Apply<CutAt<25>>(25, 26, -3);
    EXPECT_EQ(c.R, 0); EXPECT_EQ(c.G, 26); EXPECT_EQ(c.B, 0);
    c = Apply<CubeAbove<232>>(232, 233, 255);
    EXPECT_EQ(c.R, 232); EXPECT_EQ(c.G, 195); EXPECT_EQ(c.B, 255);
    c = Apply<SquareAbove<200>>(200, 201, 255);
    EXPECT_EQ(c.R, 200); EXPECT_EQ(c.G, 158); EXPECT_EQ(c.B, 255);
    EXPECT_EQ(Apply<SquareAbove<220>>(221, 0, 0).R, 192);
    EXPECT_EQ(Apply<CubeAbove<200>>(201, 0, 0).R, 125);
    EXPECT_EQ(Apply<CubeAbove<220>>(221, 0, 0).R, 166);
    c = Apply<Clamp>(256, 255, -5);
    EXPECT_EQ(c.R, 255); EXPECT_EQ(c.G, 255); EXPECT_EQ(c.B, -5);
    c = Apply<AbsRG>(-4, -5, -6);
    EXPECT_EQ(c.R, 4); EXPECT_EQ(c.G, 5); EXPECT_EQ(c.B, -6);
}

// A member whose channels are its point's indices.
struct Indices : Member {
    using Finish = Chain<>;
    Channels Point(int r, int i, int) const { return {i, r, -1}; }
};

TEST(FamilyFrame, RepeatedPointsCopyTheirPredecessor)
{
    LayQuiet(512, 382, 4);
    int repeated = 0;
    WorkingValues left;
    RunRows<Indices>({&R, nullptr, R.Working, &left, false});
    for (int r = 1; r <= R.RowCount; ++r) {
        EXPECT_EQ(R.Red[r][0], 0); // the first point is always computed
        for (int i = 1; i <= R.RowPoints[r]; ++i) {
            const bool same = R.OffsetX(r, i) == R.OffsetX(r, i - 1) && R.OffsetY(r, i) == R.OffsetY(r, i - 1);
            repeated += same;
            ASSERT_EQ(R.Red[r][i], same ? R.Red[r][i - 1] : i);
        }
    }
    EXPECT_GT(repeated, 0);
}

TEST(FamilyFrame, NoRowsWritesNothing)
{
    LayQuiet(64, 0);
    ASSERT_EQ(R.RowCount, 0);
    SetPoint(0, 0, 7, 8, 9);
    RunMember(R, 1);
    ExpectPoint(0, 0, 7, 8, 9);
}

TEST(Pattern1, AllPhasesZeroOuterRow)
{
    LayQuiet(512, 382, 4);
    R.Phase1 = R.Phase2 = R.Phase3 = 0;
    RunMember(R, 1);
    ASSERT_EQ(R.RowPoints[R.RowCount], 419);
    ExpectPoint(267, 0, 255, 0, 116);
    for (int r = 1; r <= R.RowCount; ++r)
        for (int i = 0; i <= R.RowPoints[r]; ++i) {
            ASSERT_GE(R.Red[r][i], 0); ASSERT_LE(R.Red[r][i], 255);
            ASSERT_GE(R.Blue[r][i], 0); ASSERT_LE(R.Blue[r][i], 255);
        }
}

// Channels that Round saturated, phases that are not finite and speeds far beyond the
// dialog's give defined results (the sanitized build checks that nothing overflows).
TEST(Runaway, SaturatedChannelsThroughThePasses)
{
    LayQuiet(64, 48);
    SetPoint(1, 0, INT32_MIN, INT32_MAX, -1);
    InvertPass(R);
    ExpectPoint(1, 0, INT32_MAX, 255 - INT32_MAX, 256);
    const int n = R.RowCount;
    SetPoint(n, 0, INT32_MIN, INT32_MAX, 0);
    RimPass(R, true);
    ExpectPoint(n, 0, 255, 255, 255);
    SetPoint(n, 0, INT32_MIN, INT32_MAX, 0);
    RimPass(R, false);
    ExpectPoint(n, 0, Round(INT32_MIN * 0.1L), Round(INT32_MAX * 0.1L), 0);
}

TEST(Runaway, NonFinitePhasesAndExtremeSpeedsInEveryPattern)
{
    const Extended nan = std::numeric_limits<Extended>::quiet_NaN();
    const Extended inf = std::numeric_limits<Extended>::infinity();
    const Extended phases[][3] = {{nan, 1, 2}, {inf, -inf, 0}, {1e30L, -1e30L, 0x1p63L}};
    for (int k = 1; k <= 40; ++k) {
        for (const auto& p : phases) {
            LayQuiet(64, 48, 4 + k % 9, k);
            SaverSettings.Background = true;
            SaverSettings.Gray = k % 2;
            SaverSettings.Oval = k % 3 == 0;
            SaverSettings.Speed = k % 2 ? INT32_MAX : INT32_MIN;
            R.Phase1 = p[0]; R.Phase2 = p[1]; R.Phase3 = p[2];
            R.Step();
            const int n = R.RowCount;
            for (int j = 0; j <= R.RowPoints[n]; ++j) ASSERT_EQ(R.Red[n][j], 255) << "pattern " << k;
            ASSERT_EQ(R.Red[0][0], R.Red[1][0]);
        }
    }
}

// Another monitor's rosette: laid for its own size, it takes the leader's phases and rates
// every frame, so the two drift together through the turns, and it draws no random number.
TEST(StepAlong, AFollowerKeepsTheLeadersPhasesAndRandomSequence)
{
    SaverSettings = TSaverSettings();
    SaverSettings.Speed = 150; // turns come soon
    const Phases start = {0.5L, 3, 6};
    Rosette leader = FreshRosette(160, 120, 6, 5, PlotKind::Full, start);
    Rosette other = FreshRosette(96, 80, 6, 5, PlotKind::Full, start);
    Rosette twin = FreshRosette(160, 120, 6, 5, PlotKind::Full, start);
    RandSeed(11);
    Rosette alone = leader;
    for (int frame = 0; frame < 400; ++frame) alone.Step();
    const int32_t next = Random(1 << 30);

    RandSeed(11);
    bool turned = false;
    for (int frame = 0; frame < 400; ++frame) {
        const Extended rate = leader.Rate1;
        leader.Step();
        other.StepAlong(leader);
        twin.StepAlong(leader);
        turned |= frame > 0 && rate != leader.Rate1;
        ASSERT_TRUE(other.Phase1 == leader.Phase1 && other.Phase2 == leader.Phase2 && other.Phase3 == leader.Phase3);
        ASSERT_TRUE(other.Rate1 == leader.Rate1 && other.Rate2 == leader.Rate2 && other.Rate3 == leader.Rate3);
    }
    EXPECT_TRUE(turned);
    EXPECT_EQ(Random(1 << 30), next);
    EXPECT_EQ(leader.Phase1, alone.Phase1);
    // Of the leader's own size, a follower computes the leader's colours.
    for (size_t k = 0; k < leader.Red.Size(); ++k)
        ASSERT_TRUE(twin.Red.At(k) == leader.Red.At(k) && twin.Blue.At(k) == leader.Blue.At(k)) << k;
    EXPECT_EQ(other.SurfaceWidth, 96);
}

} // namespace
