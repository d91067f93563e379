// The fast path against the x87 path: its functions within the errors its bounds assume, its
// proofs refusing what they cannot decide, and, for every member that has one, its proven
// channels equal to the x87 path's over a million points at random phases.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "generator/Workers.h"
#include "generator/patterns/Bounded.h"
#include "generator/patterns/Engine.h"
#include "tests/native/FreshRosette.h"

using namespace Rosacle;

namespace {

using L = Lanes<2>;
using D = L::D;

D Pair(double a, double b) { return D{a, b}; }

// The fast sin, cos and ln within their stated errors of the x87 path's functions (whose own
// error is the x87 allowance), from tiny arguments to the edge of their reach.
TEST(FastPath, FunctionsKeepTheirStatedErrors)
{
    std::mt19937_64 random(31);
    std::uniform_real_distribution<double> unit(-1, 1), exponent(-30, 19);
    double worstSin = 0, worstLn = 0;
    for (int k = 0; k < 200000; ++k) {
        const double x = unit(random) * std::exp2(exponent(random));
        const D s = BoundRules::SinOrCosCore<true>(Pair(x, -x)), c = BoundRules::SinOrCosCore<false>(Pair(x, -x));
        const double sx = static_cast<double>(Sin(x)), cx = static_cast<double>(Cos(x));
        for (const double err : {std::fabs(s[0] - sx), std::fabs(s[1] + sx), std::fabs(c[0] - cx), std::fabs(c[1] - cx)})
            worstSin = std::max(worstSin, err);

        const double y = std::fabs(unit(random)) * std::exp2(std::ldexp(unit(random), 10) * 0.97);
        const double l = BoundRules::LnCore(Pair(y, y))[0];
        worstLn = std::max(worstLn, std::fabs(l - static_cast<double>(Ln(y))) / (1 + std::fabs(l)));
    }
    // The x87 values rounded to double add half a unit of the last place (up to 2^-53 (1 + |ln|)).
    EXPECT_LE(worstSin, BoundRules::FastSinCosError + BoundRules::X87SinCosError + 0x1p-53);
    EXPECT_LE(worstLn, BoundRules::FastLnError + BoundRules::X87LnError + 0x1p-53);
}

// A value whose interval reaches a half-way point of Round, leaves the functions' reach or holds
// a NaN proves nothing; one clear of them proves its integer.
TEST(FastPath, ProofsRefuseWhatTheyCannotDecide)
{
    using B = Bounded<L>;
    const auto proven = [](const B& x, int lane) { return Round(x).proven[lane] != 0; };
    const B exact = B::FromRounded(Pair(2.4, 2.5));
    EXPECT_TRUE(proven(exact, 0));
    EXPECT_EQ(Round(exact).value[0], 2);
    EXPECT_FALSE(proven(exact, 1));
    EXPECT_FALSE(proven(Sin(B::FromRounded(Pair(0x1p19 + 1, 1e300))), 0));
    EXPECT_FALSE(proven(Sin(B::FromRounded(Pair(0x1p19 + 1, 1e300))), 1));
    EXPECT_FALSE(proven(Ln(B::FromRounded(Pair(-1, 0))), 0));
    EXPECT_FALSE(proven(Ln(B::FromRounded(Pair(-1, 0))), 1));
    EXPECT_FALSE(proven(B::FromRounded(Pair(NAN, 1)) / B::FromRounded(Pair(1, 0)), 0));
    EXPECT_FALSE(proven(B::FromRounded(Pair(1, 1)) / B::FromRounded(Pair(1e-300, 0)), 1));
    EXPECT_FALSE(proven(B::FromRounded(Pair(0x1p31, -0x1p31)), 0));
    EXPECT_FALSE(proven(B::FromRounded(Pair(0x1p31, -0x1p31)), 1));
}

// Every member with a fast path: at random phases, rows and points (and, for a member of v,
// half of them at a v between points), each channel the fast path proves equals the x87
// path's, and it proves nearly all.
TEST(FastPath, ProvenChannelsAreTheX87Ones)
{
    std::mt19937_64 random(3131);
    std::uniform_real_distribution<double> phase(-60, 60), unit(0, 1);
    Rosette R = FreshRosette(1920, 1200, 4, 1);
    constexpr int Count = 1000;
    std::vector<int32_t> i(Count);
    std::vector<Extended> v(Count);
    std::vector<Channels> x87(Count), fast(Count);
    std::vector<uint8_t> proven(Count);
    int members = 0;
    for (int k = 1; k <= MemberCount(); ++k) {
        if (!PointsBothWays(R, k, 1, i.data(), v.data(), 0, x87.data(), fast.data(), proven.data())) continue;
        ++members;
        long points = 0, provenPoints = 0, differing = 0;
        for (int call = 0; call < 1000; ++call) {
            R.Phase1 = phase(random);
            R.Phase2 = phase(random);
            R.Phase3 = phase(random) * unit(random);
            const int r = 1 + static_cast<int>(random() % static_cast<unsigned>(R.RowCount));
            const int32_t m = Round(Ext(r) * TwoPi / R.Segment);
            for (int j = 0; j < Count; ++j) {
                i[j] = static_cast<int32_t>(random() % static_cast<unsigned>(m + 1));
                v[j] = j % 2 ? PointV(i[j], m)
                             : static_cast<Extended>(unit(random)) + static_cast<Extended>(unit(random)) * 0x1p-53L;
            }
            PointsBothWays(R, k, r, i.data(), v.data(), Count, x87.data(), fast.data(), proven.data());
            for (int j = 0; j < Count; ++j) {
                ++points;
                if (!proven[j]) continue;
                ++provenPoints;
                if (fast[j].R != x87[j].R || fast[j].G != x87[j].G || fast[j].B != x87[j].B) ++differing;
            }
        }
        EXPECT_EQ(differing, 0) << "member " << k;
        EXPECT_GE(points, 1000000) << "member " << k;
        EXPECT_GE(provenPoints, points * 99 / 100) << "member " << k;
    }
    EXPECT_GE(members, 1);
}

// Where the fast path proves little (members whose points read a phase so far out that their
// values leave its reach), every point the rows share among workers takes the x87 path's
// colours, as on one worker.
TEST(FastPath, UnprovenPointsTakeTheX87Colours)
{
    const int callerWorkers = WorkerCount();
    for (const int k : {28, 38}) {
        const Phases far{1e7L, -3e6L, 2.5L};
        std::vector<int32_t> plain;
        Rosette R = FreshRosette(480, 300, 5, k, PlotKind::Full, far);
        SetWorkerCount(1);
        RunOver(R, k);
        for (int r = 1; r <= R.RowCount; ++r)
            for (const auto* plane : {&R.Red, &R.Green, &R.Blue})
                plain.insert(plain.end(), (*plane)[r], (*plane)[r] + R.RowPoints[r] + 1);
        SetWorkerCount(2);
        TakeFastPathTally();
        RunOver(R, k);
        const FastPathTally tally = TakeFastPathTally();
        size_t at = 0, differing = 0;
        for (int r = 1; r <= R.RowCount; ++r)
            for (const auto* plane : {&R.Red, &R.Green, &R.Blue})
                for (int i = 0; i <= R.RowPoints[r]; ++i, ++at)
                    if (R.SeenPoint[r][i] && (*plane)[r][i] != plain[at]) ++differing;
        EXPECT_EQ(differing, 0u) << "member " << k;
        EXPECT_LT(tally.proven, tally.points / 2) << "member " << k;
    }
    SetWorkerCount(callerWorkers);
}

} // namespace
