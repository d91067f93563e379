// Frames whose rows are shared among workers against the plain single-worker path: the same
// colour planes at every point that reaches the screen and the same working values, bit for
// bit.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "generator/Random.h"
#include "generator/RunStart.h"
#include "generator/Workers.h"
#include "generator/patterns/Engine.h"
#include "tests/native/FreshRosette.h"

using namespace Rosacle;

namespace {

bool Same(Extended a, Extended b) { return std::memcmp(&a, &b, 10) == 0; }

bool SameWorking(const WorkingValues& a, const WorkingValues& b) { return Same(a.C, b.C) && Same(a.D, b.D); }

struct Settings {
    int width, height, petals;
    bool gray, oval, pictures, white;
};

// The planes of every frame, which of their points reach the screen, then the working
// values left.
struct Frames {
    std::vector<int32_t> planes;
    std::vector<uint8_t> seen;
    WorkingValues left;
};

// Frames of pattern; ownFixed: with its fixed values not laid, so that the member computes them.
Frames RunFrames(int pattern, const Settings& s, int workers, const WorkingValues& start, bool ownFixed = false)
{
    SetWorkerCount(workers);
    SaverSettings = TSaverSettings();
    SaverSettings.Speed = 150; // the phases drift far, and turn, over the frames
    SaverSettings.Gray = s.gray;
    SaverSettings.Oval = s.oval;
    SaverSettings.Pictures = s.pictures;
    SaverSettings.Background = s.white;
    Rosette R = FreshRosette(s.width, s.height, s.petals, pattern);
    if (ownFixed) R.FixedValues.Free();
    R.Working = start;
    RandSeed(static_cast<uint32_t>(pattern));
    SetStartPhases(R);
    Frames run;
    for (int frame = 0; frame < 4; ++frame) {
        R.Step();
        for (int r = 0; r <= R.RowCount; ++r)
            for (const auto* plane : {&R.Red, &R.Green, &R.Blue}) {
                run.planes.insert(run.planes.end(), (*plane)[r], (*plane)[r] + R.RowPoints[r] + 1);
                run.seen.insert(run.seen.end(), R.SeenPoint[r], R.SeenPoint[r] + R.RowPoints[r] + 1);
            }
    }
    run.left = R.Working;
    return run;
}

// The shared planes equal the plain ones at every point that reaches the screen (the others
// are not computed).
bool SameWhereSeen(const Frames& plain, const Frames& shared)
{
    if (plain.planes.size() != shared.planes.size()) return false;
    for (size_t k = 0; k < plain.planes.size(); ++k)
        if (shared.seen[k] && plain.planes[k] != shared.planes[k]) return false;
    return true;
}

// Patterns run one after another, as a saver changing pattern does: each starts from the
// working values the one before left, d included.
void ExpectSharedMatchesPlain(const Settings& s)
{
    WorkingValues start;
    start.D = -0.4L;
    for (int pattern = 1; pattern <= 40; ++pattern) {
        const Frames plain = RunFrames(pattern, s, 1, start);
        for (int workers : {2, 3}) {
            const Frames shared = RunFrames(pattern, s, workers, start);
            ASSERT_EQ(plain.planes.size(), shared.planes.size());
            EXPECT_TRUE(SameWhereSeen(plain, shared)) << "pattern " << pattern << ", " << workers << " workers";
            EXPECT_TRUE(SameWorking(plain.left, shared.left)) << "pattern " << pattern << ", " << workers << " workers";
        }
        start = plain.left;
    }
    SetWorkerCount(1);
}

TEST(SharedRows, EveryPatternAsOnOneWorkerWithoutColourPasses)
{
    ExpectSharedMatchesPlain({160, 120, 4, false, false, false, true});
    ExpectSharedMatchesPlain({97, 61, 7, false, false, false, false});
}

TEST(SharedRows, EveryPatternAsOnOneWorkerWithColourPasses)
{
    ExpectSharedMatchesPlain({160, 120, 4, true, true, false, false});
    ExpectSharedMatchesPlain({97, 61, 7, false, true, true, true});
}

// The fixed values a layout lays for its member, against the member computing them itself.
TEST(SharedRows, LaidFixedValuesAsComputedOnes)
{
    WorkingValues start;
    start.D = 0.3L;
    for (const Settings& s : {Settings{160, 120, 4, false, false, false, true}, Settings{97, 61, 7, true, false, false, false}})
        for (int pattern = 1; pattern <= 40; ++pattern) {
            if (!HasFixedValues(pattern)) continue;
            const Frames laid = RunFrames(pattern, s, 2, start);
            const Frames computed = RunFrames(pattern, s, 2, start, true);
            EXPECT_TRUE(laid.planes == computed.planes) << "pattern " << pattern;
            EXPECT_TRUE(SameWorking(laid.left, computed.left)) << "pattern " << pattern;
        }
    SetWorkerCount(1);
}

const MemberEntry& EntryOf(int pattern)
{
    return pattern <= 20 ? Members01to20.entries[pattern - 1] : Members21to40.entries[pattern - 21];
}

// A worker whose first row is r0 (row 9 of this layout ends on a repeated point): rows r0..n
// and the working values left as one pass over every row gives them.
TEST(SharedRows, AWorkerStartingMidCallResumesAsOnePass)
{
    SetWorkerCount(1);
    SaverSettings = TSaverSettings();
    ASSERT_EQ(Members01to20.count + Members21to40.count, 40);
    for (int pattern = 1; pattern <= 40; ++pattern) {
        Rosette R = FreshRosette(512, 382, 8, pattern);
        ASSERT_EQ(LastComputedPoint(R, 9), R.RowPoints[9] - 1);
        R.Phase1 = 1.5L, R.Phase2 = 2.5L, R.Phase3 = 3.5L;
        const WorkingValues start{0.25L, -0.4L};
        const int n = R.RowCount;
        const auto rowsFrom = [&R, n](int r0) {
            std::vector<int32_t> values;
            for (int r = r0; r <= n; ++r)
                for (const auto* plane : {&R.Red, &R.Green, &R.Blue})
                    values.insert(values.end(), (*plane)[r], (*plane)[r] + R.RowPoints[r] + 1);
            return values;
        };
        for (int r0 : {10, n}) {
            WorkingValues whole, part;
            EntryOf(pattern).run({&R, nullptr, start, &whole, HasFixedValues(pattern)});
            const std::vector<int32_t> want = rowsFrom(r0);
            for (size_t k = 0; k < R.Red.Size(); ++k) R.Red.At(k) = 0;
            RowShare rows;
            rows.next = r0;
            EntryOf(pattern).run({&R, &rows, start, &part, HasFixedValues(pattern)});
            const std::vector<int32_t> got = rowsFrom(r0);
            EXPECT_TRUE(want == got) << "pattern " << pattern << " from row " << r0;
            EXPECT_TRUE(SameWorking(whole, part)) << "pattern " << pattern << " from row " << r0;
        }
    }
}

// Workers compute with the 64-bit significand: a 53-bit worker would round 1/3 short.
TEST(SharedRows, WorkersComputeInFullPrecision)
{
    constexpr Extended third = 1.0L / 3;
    static_assert(third != static_cast<Extended>(1.0 / 3), "the check needs the extra bits");
    SetWorkerCount(3);
    std::vector<Extended> results(3, 0);
    OnEveryWorker([&](int k) {
        volatile Extended one = 1, three = 3;
        results[static_cast<size_t>(k)] = one / three;
    });
    SetWorkerCount(1);
    for (int k = 0; k < 3; ++k) EXPECT_TRUE(Same(results[static_cast<size_t>(k)], third)) << "worker " << k;
}

} // namespace
