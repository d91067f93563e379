// The preview's drawing thread lays out its rosette: a thread started the same way must
// compute bit for bit what the main thread computes.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <vector>

#include "generator/Random.h"
#include "tests/native/FreshRosette.h"

namespace {

using namespace Rosacle;

// Layout plus one preview frame for pattern `pattern`, flattened: row sizes, positions of
// every petal, then the three colour planes.
std::vector<int32_t> LayAndStep(int32_t pattern)
{
    // A fresh rosette on both sides: the working values start from zero.
    SaverSettings.Speed = 50;
    Rosette R = FreshRosette(152, 112, 8, pattern, PlotKind::Preview);
    RandSeed(1234);
    R.Phase1 = static_cast<Extended>(Random(1256)) / 220;
    R.Phase2 = static_cast<Extended>(Random(1884)) / 350;
    R.Phase3 = static_cast<Extended>(Random(2512)) / 500;
    R.Step();
    std::vector<int32_t> out{R.RowCount, R.Box().left, R.Box().top, R.Box().right, R.Box().bottom};
    for (int r = 0; r <= R.RowCount; ++r) {
        const int n = R.RowPoints[r] + 1;
        out.push_back(R.RowPoints[r]);
        for (int s = 0; s < 8; ++s)
            for (int j = 0; j < n; ++j) {
                out.push_back(R.PointX(s, r, j));
                out.push_back(R.PointY(s, r, j));
            }
        out.insert(out.end(), R.SeenPoint[r], R.SeenPoint[r] + n);
        out.insert(out.end(), R.Red[r], R.Red[r] + n);
        out.insert(out.end(), R.Green[r], R.Green[r] + n);
        out.insert(out.end(), R.Blue[r], R.Blue[r] + n);
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
