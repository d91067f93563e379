// The preview's drawing thread lays out the generator: a thread started the same way must
// compute bit for bit what the main thread computes.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <vector>

#include "generator/Random.h"
#include "generator/Rosacle.h"
#include "generator/patterns/Engine.h"
#include "settings/SaverSettings.h"

namespace {

using namespace Rosacle;

// Layout plus one preview frame for pattern `pattern`, flattened: row sizes, positions of
// every petal, then the three colour planes.
std::vector<int32_t> LayAndStep(int32_t pattern)
{
    // Some members carry work values from the previous frame: both sides start from zero.
    Working = WorkingValues();
    SaverSettings.Speed = 50;
    SaverSettings.Segment = 8;
    SaverSettings.Rosacle = pattern;
    LayGenerator(152, 112);
    RandSeed(1234);
    Phase1 = static_cast<Extended>(Random(1256)) / 220;
    Phase2 = static_cast<Extended>(Random(1884)) / 350;
    Phase3 = static_cast<Extended>(Random(2512)) / 500;
    Rate1 = Rate2 = Rate3 = 0;
    PreviewStep();
    std::vector<int32_t> out{RowCount};
    for (int r = 0; r <= RowCount; ++r) {
        const int n = RowPoints[r] + 1;
        out.push_back(RowPoints[r]);
        for (int s = 0; s < 8; ++s) {
            out.insert(out.end(), PointX[s][r], PointX[s][r] + n);
            out.insert(out.end(), PointY[s][r], PointY[s][r] + n);
        }
        out.insert(out.end(), Red[r], Red[r] + n);
        out.insert(out.end(), Green[r], Green[r] + n);
        out.insert(out.end(), Blue[r], Blue[r] + n);
    }
    return out;
}

struct Job {
    bool precise;
    int32_t pattern;
    std::vector<int32_t> planes;
    long double third;
};

DWORD WINAPI JobThread(LPVOID argument)
{
    Job& job = *static_cast<Job*>(argument);
    if (job.precise) SetExtendedPrecision();
    volatile long double one = 1, three = 3;
    job.third = one / three;
    if (job.pattern) job.planes = LayAndStep(job.pattern);
    return 0;
}

Job RunOnThread(bool precise, int32_t pattern)
{
    Job job{precise, pattern, {}, 0};
    HANDLE thread = CreateThread(nullptr, 0, JobThread, &job, 0, nullptr);
    EXPECT_NE(thread, nullptr);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    return job;
}

bool SameBits(long double a, long double b) { return std::memcmp(&a, &b, 10) == 0; }

TEST(PreviewThread, ThirdHasTheFullSignificandAfterSettingPrecision)
{
    volatile long double one = 1, three = 3;
    const long double third = one / three;
    // The 64-bit quotient differs from the one rounded to 53 bits.
    ASSERT_NE(third, static_cast<long double>(static_cast<double>(third)));
    EXPECT_TRUE(SameBits(RunOnThread(true, 0).third, third));
}

TEST(PreviewThread, LayoutAndColoursEqualTheMainThreads)
{
    // At 53 bits pattern 31 comes out different here; every pick is checked.
    for (int32_t pattern = 1; pattern <= 39; ++pattern) {
        const std::vector<int32_t> main = LayAndStep(pattern);
        EXPECT_EQ(RunOnThread(true, pattern).planes, main) << "pattern " << pattern;
    }
}

} // namespace
