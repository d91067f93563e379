#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <limits>

#include "generator/patterns/Engine.h"
#include "generator/patterns/Patterns01to20.h"
#include "tests/native/FreshRosette.h"

using namespace Rosacle;

namespace {

Rosette rosette;

void RunOver(int k) { ::RunOver(rosette, k); }

// The layout of most cases, 512 x 382 with 8 petals: 267 rows; row 9 and the last row end on
// a repeated point.
constexpr int Width = 512, Height = 382, Petals = 8;
const Phases Start{1.5L, 2.5L, 3.5L};

bool Repeated(int r, int i)
{
    return i >= 1 && rosette.OffsetX(r, i) == rosette.OffsetX(r, i - 1) && rosette.OffsetY(r, i) == rosette.OffsetY(r, i - 1);
}

int LastComputed(int r)
{
    int i = rosette.RowPoints[r];
    while (Repeated(r, i)) --i;
    return i;
}

Channels At(int r, int i) { return {rosette.Red[r][i], rosette.Green[r][i], rosette.Blue[r][i]}; }
bool Same(Channels x, Channels y) { return x.R == y.R && x.G == y.G && x.B == y.B; }

// Member 3's row r by hand; advanceOnRepeat = false is the fault to catch. Returns d after it.
Extended Member3Row(int r, bool advanceOnRepeat, Channels* out)
{
    const int n = rosette.RowCount, S = SaverSettings.Segment, m = rosette.RowPoints[r];
    Extended c = -Pi / n;
    for (int k = 1; k <= r; ++k) c = c + 3.14L / n;
    const Extended p[3] = {rosette.Phase1, rosette.Phase2, rosette.Phase3};
    const Extended b = EdgeFade(r, n);
    Extended d = Pi / S;
    for (int i = 0; i <= m; ++i) {
        if (Repeated(r, i)) {
            out[i] = out[i - 1];
            if (advanceOnRepeat) d = d + TwoPi / (S * m);
            continue;
        }
        const Extended s = Sin((rosette.Phase1 + 3 + rosette.Phase2) * d), a = s * (s * s);
        const Extended k = 1 - Ext(2 * i) / m, e = Sqrt(1.01L - k * k) * b;
        int32_t ch[3];
        for (int j = 0; j < 3; ++j) {
            const Extended q = Sin(p[j] + c) * Sin(p[j] + c) * (p[j] + 5);
            ch[j] = Round(Sin(a - q) * Sin(a - q) * e);
        }
        out[i] = {ch[0], ch[1], ch[2]};
        Chain<CutAt<25>, SquareAbove<200>, Clamp>::Apply(out[i]);
        d = d + TwoPi / (S * m);
    }
    return d;
}

// Member 7's point (r, i) by hand, given the d it reads, and the d it leaves.
Channels Member7Point(int r, int i, Extended d)
{
    const int n = rosette.RowCount;
    const Extended a = Abs(Sin(rosette.Phase3) + Sin((rosette.Phase1 + 5) * r / n + rosette.Phase2));
    const Extended b = Abs(Cos(rosette.Phase3) + Cos((rosette.Phase2 + 5) * r / n + rosette.Phase1));
    const Extended v = PointV(i, rosette.RowPoints[r]);
    const Extended u = Abs((1 - v) * (rosette.Phase1 / 2 + 3));
    const Extended t = Abs((rosette.Phase2 / 2 + 3) * (1 - Ext(2 * r) / rosette.SurfaceHeight)), x = Abs(u - t);
    Channels c;
    c.R = Round(a * 2 / (Abs(u - t - x - Abs(d)) + 1 + a) * 255);
    c.G = Round(b * 2 / (Abs(Abs(d) + (Share(c.R) + t + x)) + 1 + b) * 255);
    c.B = Round(2 / Abs(Share(c.R) + Share(c.G) + 0.000001L) * 255);
    Chain<Fold, CutAt<25>, SquareAbove<200>, Clamp>::Apply(c);
    return c;
}
Extended Member7D(int r, int i) { return i * Pi / rosette.RowPoints[r] - Pi / SaverSettings.Segment; }

} // namespace

TEST(Pattern3, EdgeFadeAndDAdvancingOnRepeatedPoints)
{
    rosette = FreshRosette(Width, Height, Petals, 1, PlotKind::Full, Start);
    const int n = rosette.RowCount;
    EXPECT_EQ(EdgeFade(n - 5, n), 255);
    const int32_t fade[5] = {255, 198, 140, 83, 26};
    for (int k = 0; k < 5; ++k) EXPECT_EQ(EdgeFade(n - 4 + k, n), fade[k]);

    int withRepeat = 0; // a long row with a computed point after a repeated one
    for (int r = n - 5; r >= 1 && !withRepeat; --r)
        for (int i = 1; i < rosette.RowPoints[r]; ++i)
            if (Repeated(r, i) && !Repeated(r, i + 1)) withRepeat = r;
    ASSERT_GT(withRepeat, 0);

    RunOver(3);
    static Channels want[MaxPoints], stalled[MaxPoints];
    Extended d = 0;
    for (int r : {withRepeat, n - 4, n - 3, n - 2, n - 1, n}) {
        d = Member3Row(r, true, want);
        for (int i = 0; i <= rosette.RowPoints[r]; ++i) ASSERT_TRUE(Same(At(r, i), want[i])) << r << ", " << i;
    }
    EXPECT_EQ(rosette.Working.D, d); // the last row's d, its repeated points included
    Member3Row(withRepeat, true, want);
    Member3Row(withRepeat, false, stalled);
    EXPECT_NE(std::memcmp(want, stalled, sizeof(Channels) * (rosette.RowPoints[withRepeat] + 1)), 0);
}

TEST(Pattern7, ReadsTheLastComputedPointsDAcrossRowsAndCalls)
{
    rosette = FreshRosette(Width, Height, Petals, 1, PlotKind::Full, Start);
    ASSERT_TRUE(Repeated(9, rosette.RowPoints[9]));
    rosette.Working.D = 0.7L;
    RunOver(7);
    EXPECT_TRUE(Same(At(1, 0), Member7Point(1, 0, 0.7L)));
    EXPECT_TRUE(Same(At(10, 0), Member7Point(10, 0, Member7D(9, LastComputed(9)))));
    EXPECT_FALSE(Same(At(10, 0), Member7Point(10, 0, Member7D(9, rosette.RowPoints[9]))));
    const Extended left = rosette.Working.D;
    RunOver(7);
    EXPECT_TRUE(Same(At(1, 0), Member7Point(1, 0, left)));
}

TEST(CarriedD, OnlyTheFirstPointOfACallSeesThePreviousWriter)
{
    rosette = FreshRosette(Width, Height, Petals, 1, PlotKind::Full, Start);
    const int n = rosette.RowCount, last = LastComputed(n);
    const Extended v = PointV(last, rosette.RowPoints[n]);
    const struct {
        int32_t member;
        Extended ownLastD;
    } cases[] = {{7, Member7D(n, last)},
                 {16, v * 1 + Ext(3 * n) / n},
                 {18, v * 2 + Ext(3 * n) / n}};
    const auto same = [](const RowPlane<int32_t>& a, const RowPlane<int32_t>& b) {
        return a.Size() == b.Size() && std::memcmp(&a.At(0), &b.At(0), a.Size() * sizeof(int32_t)) == 0;
    };
    for (const auto& c : cases) {
        rosette.Working.D = -0.4L; // as members 7 and 9 may leave it
        RunOver(c.member);
        EXPECT_EQ(rosette.Working.D, c.ownLastD);
        RowPlane<int32_t> before[3] = {rosette.Red, rosette.Green, rosette.Blue};
        rosette.Working.D = 0.9L;
        RunOver(c.member);
        EXPECT_FALSE(Same(At(1, 0), {before[0][1][0], before[1][1][0], before[2][1][0]}));
        for (int i = 0; i == 0 || Repeated(1, i); ++i) // the point and its copies
            before[0][1][i] = rosette.Red[1][i], before[1][1][i] = rosette.Green[1][i], before[2][1][i] = rosette.Blue[1][i];
        EXPECT_TRUE(same(before[0], rosette.Red));
        EXPECT_TRUE(same(before[1], rosette.Green));
        EXPECT_TRUE(same(before[2], rosette.Blue));
    }
}

TEST(CarriedD, UnusableValueFromAnotherMemberStaysHarmless)
{
    EXPECT_EQ(GuardedQuotient(3, 0), 0);
    EXPECT_EQ(GuardedQuotient(3, -0.0L), 0);
    EXPECT_EQ(GuardedQuotient(1, 1e-4940L), 0); // overflows
    EXPECT_EQ(GuardedQuotient(3, -1.5L), -2);
    EXPECT_EQ(AbsValue(INT32_MIN), INT32_MAX);

    rosette = FreshRosette(Width, Height, Petals, 1, PlotKind::Full, Start);
    for (Extended d : {std::numeric_limits<Extended>::quiet_NaN(), std::numeric_limits<Extended>::infinity()}) {
        rosette.Working.D = d;
        RunOver(16); // u1 and t1 give 0; x1 = 2 / 0.000001 folds far below 0, clamped
        EXPECT_TRUE(Same(At(1, 0), Channels{0, 0, 255}));
        rosette.Working.D = d;
        RunOver(18);
        EXPECT_EQ(rosette.Red[1][0], 0);
        for (int r = 1; r <= rosette.RowCount; ++r)
            for (int i = 0; i <= rosette.RowPoints[r]; ++i)
                for (int32_t c : {rosette.Red[r][i], rosette.Green[r][i], rosette.Blue[r][i]}) ASSERT_TRUE(c >= 0 && c <= 255);
    }
}

TEST(Pattern16, SoftFoldValues)
{
    Extended u = 0.5L, t = 4.5L, x = 2;
    SoftFold(u, t, x);
    EXPECT_TRUE(u == 0.5L && t == 0.5L && x == 0);
    EXPECT_EQ(Round(u * 255), 128);
    u = 9, t = 1, x = 7.25L;
    SoftFold(u, t, x);
    EXPECT_TRUE(u == -1 && t == 1 && x == 0.75L);
    EXPECT_EQ(Round(Abs(u) * 255), 255);
}

TEST(Finishing, NegativeChannelsOfMembers12And17)
{
    using Finish17 = Chain<AbsRG, Fold, Clamp, CutAt<25>, SquareAbove<200>>;
    Channels c{-40, -30, -70};
    Finish17::Apply(c);
    EXPECT_TRUE(Same(c, Channels{40, 30, 0}));

    // Member 17 in a frame with negative R and G: B is formed before the magnitudes.
    rosette = FreshRosette(Width, Height, Petals, 1, PlotKind::Full, {4.0L, 1.0L, 4.7L});
    RunOver(17);
    const int n = rosette.RowCount;
    int negative = 0;
    for (int r = 1; r <= n; ++r) {
        const Extended k1 = Sin(Ext(21 * r) / n), k2 = Sin(Ext(3 * r) / n), k3 = Sin(Ext(8 * r) / n);
        const Extended a = Sin(rosette.Phase3) + Sin((rosette.Phase1 + 5) * r / n + rosette.Phase2);
        const Extended b = Cos(rosette.Phase3) + Cos((rosette.Phase2 + 5) * r / n + rosette.Phase1);
        const int m = rosette.RowPoints[r];
        for (int i = 0; i <= m; ++i) {
            if (Repeated(r, i)) continue;
            const Extended x = Sin(Sin(i * TwoPi / m) + k1 + b);
            Channels w;
            w.R = Round(((Sin(i * ThreePi / m) - k2) * x + a) * 255);
            w.G = Round((Share(w.R) * k3 + b) * 255);
            w.B = Round((Share(w.R) + Share(w.G)) * 255);
            negative += w.R < -25 && w.G < -25;
            Finish17::Apply(w);
            ASSERT_TRUE(Same(At(r, i), w)) << r << ", " << i;
        }
    }
    EXPECT_GT(negative, 0);

    // Member 12 at (n, 0): u = 0.1, and with sin(p1) = -1 and the row's sine at -1, a is
    // near -2, so R is negative before finishing.
    rosette = FreshRosette(Width, Height, Petals, 1, PlotKind::Full, {3 * HalfPi, 3 * HalfPi - (3 * HalfPi + 5), 0});
    RunOver(12);
    const Extended a = Sin(rosette.Phase1) + Sin((rosette.Phase1 + 5) * n / n + rosette.Phase2);
    const Extended t = Abs(Sin(Sin(5 - Ext(10 * n) / n) - Sin(Ext(21 * n) / n))) + 0.1L;
    const int32_t R = Round((0.1L + t + a) * 255);
    ASSERT_LT(R, -25);
    EXPECT_EQ(rosette.Red[n][0], FoldValue(-R) > 200 ? SquareValue(FoldValue(-R)) : FoldValue(-R));
}

TEST(Finishing, Member20CutsAtFifty)
{
    EXPECT_TRUE(CutStep<50>::Value(50) == 0 && CutStep<50>::Value(51) == 51);
    rosette = FreshRosette(Width, Height, Petals, 1, PlotKind::Full, Start);
    RunOver(20);
    int cut = 0;
    for (int r = 1; r <= rosette.RowCount; ++r)
        for (int i = 0; i <= rosette.RowPoints[r]; ++i)
            for (int32_t c : {rosette.Red[r][i], rosette.Green[r][i], rosette.Blue[r][i]}) {
                ASSERT_TRUE(c == 0 || (c > 50 && c <= 255)) << c;
                cut += c == 0;
            }
    EXPECT_GT(cut, 0);
}

TEST(Pattern1, WorkedPointOfTheLastRow)
{
    rosette = FreshRosette(512, 382, 4);
    RunMember(rosette, 1);
    EXPECT_TRUE(Same(At(267, 0), Channels{255, 0, 116}));
}
