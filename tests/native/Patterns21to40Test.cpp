#include <gtest/gtest.h>

#include "generator/patterns/Engine.h"
#include "tests/native/FreshRosette.h"

using namespace Rosacle;

namespace {

Rosette rosette;

void RunOver(int k) { ::RunOver(rosette, k); }


void ExpectPoint(int r, int i, int32_t red, int32_t green, int32_t blue)
{
    EXPECT_EQ(rosette.Red[r][i], red) << "row " << r << " point " << i;
    EXPECT_EQ(rosette.Green[r][i], green) << "row " << r << " point " << i;
    EXPECT_EQ(rosette.Blue[r][i], blue) << "row " << r << " point " << i;
}

template <class Step>
int32_t One(int32_t v)
{
    Channels c{v, v, v};
    Step::Apply(c);
    EXPECT_TRUE(c.R == c.G && c.G == c.B);
    return c.B;
}

TEST(Patterns21to40, OwnFinishingSteps)
{
    EXPECT_EQ(One<LowSquareAt<25>>(25), 2);
    EXPECT_EQ(One<LowSquareAt<25>>(26), 26);
    EXPECT_EQ(One<LowSquareAt<25>>(-100), 39);

    EXPECT_EQ(One<RootAtOrBelow<15>>(15), 62);
    EXPECT_EQ(One<RootAtOrBelow<15>>(1), 16);
    EXPECT_EQ(One<RootAtOrBelow<15>>(0), 0);
    EXPECT_EQ(One<RootAtOrBelow<15>>(16), 16);
    EXPECT_EQ(One<RootAtOrBelow<15>>(-4), 0); // no root: black rather than a garbage value

    EXPECT_EQ(One<RootFoldAbove<255>>(255), 255);
    EXPECT_EQ(One<RootFoldAbove<255>>(256), 255);
    EXPECT_EQ(One<RootFoldAbove<255>>(300), 233);
    EXPECT_EQ(One<RootFoldAbove<255>>(510), 149);
    EXPECT_LT(One<RootFoldAbove<255>>(1100), 0);
    EXPECT_EQ((One<Chain<RootFoldAbove<255>, CutAt<25>>>(1100)), 0);
    EXPECT_EQ((One<Chain<RootFoldAbove<255>, CutAt<25>>>(INT32_MAX)), 0);

    EXPECT_EQ(One<HalveAbove<255>>(255), 255);
    EXPECT_EQ(One<HalveAbove<255>>(256), 128);
    EXPECT_EQ(One<HalveAbove<255>>(257), 128); // ties to even
    EXPECT_EQ(One<HalveAbove<255>>(259), 130);
    EXPECT_EQ(One<HalveAbove<255>>(510), 255);
}

TEST(Patterns21to40, BlendOfZeroShapesIsThePhases)
{
    for (int pattern : {24, 25}) {
        rosette = FreshRosette(512, 382, 4, pattern, PlotKind::Full, {1, 2, 3});
        rosette.PointShapeA[100][0] = rosette.PointShapeB[100][0] = rosette.PointShapeC[100][0] = 0;
        RunOver(pattern);
        // (255, 510, 765) folds to (255, 0, 255).
        ExpectPoint(100, 0, 255, 0, 255);
    }
}

TEST(Patterns21to40, WorkedPointsOfRow100)
{
    rosette = FreshRosette(512, 382, 4, 31);
    RunOver(31);
    ExpectPoint(100, 0, 181, 89, 80);
    EXPECT_EQ(rosette.Working.D, -Pi / 4);
    RunOver(30);
    EXPECT_EQ(rosette.Working.D, 0.0L);

    rosette = FreshRosette(512, 382, 4, 22);
    ASSERT_EQ(rosette.SurfaceHeight, 382);
    RunOver(22);
    ExpectPoint(100, 40, 68, 81, 158);

    rosette = FreshRosette(512, 382, 4, 39);
    RunOver(39);
    ExpectPoint(100, 40, 83, 1, 7);
}

// With p1 = p2 = 0, t, u and x of member 36 vanish: R = |1 + a|, G = |R/255 + 1 + b|, and
// B must be the integer |R - G|, folded, clamped and squared like the others.
TEST(Patterns21to40, Pattern36BlueIsTheIntegerDifference)
{
    rosette = FreshRosette(512, 382, 8, 36, PlotKind::Full, {0, 0, 2.5L});
    RunOver(36);
    const int32_t n = rosette.RowCount;
    for (int r : {1, 60, 150, 267}) {
        const Extended a = Sin(2.5L) + Sin(5.0L * r / n);
        const Extended b = Cos(2.5L) + Cos(5.0L * r / n);
        const int32_t R = Round(Abs(1 + a) * 255);
        const int32_t G = Round(Abs(Share(R) + 1 + b) * 255);
        Channels c{R, G, R > G ? R - G : G - R};
        Chain<Fold, Clamp, SquareAbove<200>>::Apply(c);
        ExpectPoint(r, 0, c.R, c.G, c.B);
    }
    Channels c{700, 100, 600};
    Chain<Fold, Clamp, SquareAbove<200>>::Apply(c);
    EXPECT_EQ(c.B, 90);
}

// At point 0 with p1 = p2 = 0, u of member 38 vanishes and x = |t|. B comes from R and G
// as rounded; only then are R and G squared.
TEST(Patterns21to40, Pattern38SquaresRedAndGreenAfterBlue)
{
    EXPECT_EQ(SquareValue(300), 353);
    EXPECT_EQ(SquareValue(200), 157);
    EXPECT_EQ(One<HalveAbove<255>>(353), 176);

    rosette = FreshRosette(512, 382, 8, 38, PlotKind::Full, {0, 0, 2.5L});
    RunOver(38);
    const int32_t n = rosette.RowCount;
    for (int r : {1, 60, 150, 267}) {
        const Extended a = Sin(2.5L) + Sin(5.0L * r / n);
        const Extended b = Cos(2.5L) + Cos(5.0L * r / n);
        const Extended t = Sin(Sin(static_cast<Extended>(3 * r) / n) * 3);
        const int32_t R = Round((Sin(Abs(t)) * Sin(t) + a) * 255);
        const int32_t G = Round((Cos(Abs(t)) * (Cos(t) * Sin(R * HalfPi / 255)) + b) * 255);
        const Extended s = Sin(R * HalfPi / 255) - Cos(G * HalfPi / 255);
        Channels c{SquareValue(R), SquareValue(G), Round(s * s * 255)};
        Chain<HalveAbove<255>, Clamp>::Apply(c);
        ExpectPoint(r, 0, c.R, c.G, c.B);
    }
}

} // namespace
