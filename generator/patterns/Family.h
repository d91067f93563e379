#pragma once
// The frame shared by the forty pattern members: the loop over rows and points, the
// repeated-point rule and the menu of integer finishing steps. A member is its per-call,
// per-row and per-point formulas plus a finishing chain, e.g.
//
//     using Finish = Chain<Fold, CutAt<25>, CubeAbove<232>, Clamp>;
//     RunRows<Finish>(perRow, perPoint);
#include <atomic>
#include <cstdint>

#include "generator/Rosacle.h"
#include "settings/SaverSettings.h"

namespace Rosacle {

// Working values shared by all members: zero at process start, never reset.
struct WorkingValues {
    int32_t LastPoint = 0;
    Extended A = 0, B = 0, C = 0, D = 0, E = 0;
    Extended U[4] = {0, 0, 0, 0}, T[4] = {0, 0, 0, 0}, X[4] = {0, 0, 0, 0};
};
// The generator's set: what a call starts from and what it leaves.
extern WorkingValues Working;
extern int32_t& LastPoint;
extern Extended &WorkA, &WorkB, &WorkC, &WorkD, &WorkE;
extern Extended (&WorkU)[4], (&WorkT)[4], (&WorkX)[4];

// The set the calling thread's member computes with: Working, or a row worker's own copy
// of it while a call's rows are shared (no mutable state is shared between workers).
WorkingValues& ThreadWorking();

// The rows of a call shared among the workers: each takes the next row not yet taken. The
// set of whoever computes the last row becomes Working at the end.
struct alignas(64) SharedRows {
    std::atomic<int> next{1};
    WorkingValues* lastRowSet = nullptr;
};
// Non-null while the current call's rows are shared.
extern SharedRows* CurrentSharedRows;

// Runs member k (1..40) with its rows shared among the workers: the same colours and the
// same working values left as running it on one thread.
void RunMemberOnWorkers(int32_t k);

struct Channels {
    int32_t R, G, B;
};

// ---- Finishing steps: each applies to R, then G, then B.

inline int32_t FoldValue(int32_t v)
{
    if (v > 1020) v = 2040 - v;
    if (v > 765) v = 1530 - v;
    if (v > 510) v = 1020 - v;
    if (v > 255) v = 510 - v;
    return v;
}

inline int32_t SquareValue(int32_t v)
{
    const Extended w = static_cast<Extended>(v) / 255;
    return Round(w * w * 255);
}

inline int32_t CubeValue(int32_t v)
{
    const Extended w = static_cast<Extended>(v) / 255;
    return Round(w * w * 255 * w);
}

template <class Step>
struct EachChannel {
    static void Apply(Channels& c)
    {
        c.R = Step::Value(c.R);
        c.G = Step::Value(c.G);
        c.B = Step::Value(c.B);
    }
};

// Magnitude of a channel; a value that Round saturated at INT32_MIN comes out INT32_MAX.
inline int32_t AbsValue(int32_t v) { return v >= 0 ? v : v == INT32_MIN ? INT32_MAX : -v; }

struct AbsRG {
    static void Apply(Channels& c)
    {
        c.R = AbsValue(c.R);
        c.G = AbsValue(c.G);
    }
};

struct FoldStep {
    static int32_t Value(int32_t v) { return FoldValue(v); }
};
using Fold = EachChannel<FoldStep>;

template <int K>
struct CutStep {
    static int32_t Value(int32_t v) { return v <= K ? 0 : v; }
};
template <int K>
using CutAt = EachChannel<CutStep<K>>;

template <int K>
struct SquareStep {
    static int32_t Value(int32_t v) { return v > K ? SquareValue(v) : v; }
};
template <int K>
using SquareAbove = EachChannel<SquareStep<K>>;

template <int K>
struct CubeStep {
    static int32_t Value(int32_t v) { return v > K ? CubeValue(v) : v; }
};
template <int K>
using CubeAbove = EachChannel<CubeStep<K>>;

struct ClampStep {
    static int32_t Value(int32_t v) { return v > 255 ? 255 : v; }
};
using Clamp = EachChannel<ClampStep>;

// Steps of members 21 to 40.

// Darkens the dimmest band; negative values come out positive.
template <int K>
struct LowSquareStep {
    static int32_t Value(int32_t v) { return v <= K ? SquareValue(v) : v; }
};
template <int K>
using LowSquareAt = EachChannel<LowSquareStep<K>>;

// Lifts the dimmest band. A negative value has no root and gives 0 (it cannot arise
// where this step is used, after a cut at 0 and a fold).
template <int K>
struct RootStep {
    static int32_t Value(int32_t v)
    {
        if (v > K) return v;
        if (v < 0) return 0;
        return Round(Sqrt(static_cast<Extended>(v) / 255) * 255);
    }
};
template <int K>
using RootAtOrBelow = EachChannel<RootStep<K>>;

// Bends values above K back down along a root: 256 gives 255, 1020 gives 0.
template <int K>
struct RootFoldStep {
    static int32_t Value(int32_t v)
    {
        return v > K ? Round((2 - Sqrt(static_cast<Extended>(v) / 255)) * 255) : v;
    }
};
template <int K>
using RootFoldAbove = EachChannel<RootFoldStep<K>>;

template <int K>
struct HalveStep {
    static int32_t Value(int32_t v) { return v > K ? Round(static_cast<Extended>(v) / 2) : v; }
};
template <int K>
using HalveAbove = EachChannel<HalveStep<K>>;

template <class... Steps>
struct Chain {
    static void Apply(Channels& c) { (Steps::Apply(c), ...); }
};

// ---- Values of the frame.

// m of row r: the row's last point index, the same number GeneratorInit lays.
inline int32_t RowLastPoint(int r)
{
    return Round(static_cast<Extended>(r) * TwoPi / SaverSettings.Segment);
}

// Row quantities several members share; (p1 + 5) x r is formed first, then divided by n.
inline Extended A1(int r, int n) { return Sin(Phase3) + Sin((Phase1 + 5) * r / n + Phase2); }
inline Extended B1(int r, int n) { return Cos(Phase3) + Cos((Phase2 + 5) * r / n + Phase1); }
inline Extended A2(int r, int n) { return Sin(Phase1) + Sin((Phase1 + 5) * r / n + Phase2); }
inline Extended B2(int r, int n) { return Cos(Phase1) + Cos((Phase2 + 5) * r / n + Phase1); }

// v: 1 at both ends of the row, 0 at its middle.
inline Extended PointV(int i, int m) { return Abs(1 - static_cast<Extended>(2 * i) / m); }

// R^2 + G^2 of two channel values, exact for any 32-bit values (a 64-bit significand holds
// the sum), so a channel that Round saturated cannot overflow it.
inline Extended ExactSquares(int32_t r, int32_t g)
{
    return static_cast<Extended>(r) * r + static_cast<Extended>(g) * g;
}

// An integer channel value as a share of 255 (R/255 of the entries).
inline Extended Share(int32_t c) { return static_cast<Extended>(c) / 255; }

// F(c) for an integer channel value c, looked up in a table filled on first use for the
// values a channel takes before its finishing steps, computed beyond them. The table holds
// exactly what F computes, so a lookup changes no result.
template <Extended (*F)(int32_t)>
class ChannelTable {
public:
    static Extended Of(int32_t c)
    {
        if (c < -Reach || c > Reach) return F(c);
        return Values().v[c + Reach];
    }

private:
    static constexpr int32_t Reach = 4096;
    struct Table {
        Extended v[2 * Reach + 1];
        Table()
        {
            for (int32_t c = -Reach; c <= Reach; ++c) v[c + Reach] = F(c);
        }
    };
    // Filled by the first computing thread that needs it (at 64-bit precision, as all are).
    static const Table& Values()
    {
        static const Table table;
        return table;
    }
};

// Whether member k keeps terms in the point tables (see PointTermsPattern), and the laying of
// row r's terms for it.
bool KeepsPointTerms(int32_t k);
void LayPointTerms(int32_t k, int r);
// The same for members 1..20 and 21..40.
void LayPointTerms01to20(int32_t k, int r);
void LayPointTerms21to40(int32_t k, int r);

// sin(i x 2pi / m) and sin(i x pi / m): the turn of point i along a row of last point m, and
// half of it.
inline Extended TurnSine(int i, int m) { return Sin(i * TwoPi / m); }
inline Extended HalfTurnSine(int i, int m) { return Sin(i * Pi / m); }

// sin(5 - 10 r / n): the row's t of several members.
inline Extended RowWave(int r) { return Sin(5 - static_cast<Extended>(10 * r) / RowCount); }

struct NothingAfterPoint {
    void operator()(int, int, int) const {}
};

struct NothingCarried {
    void operator()(int) const {}
};

// The last point of row r that is not a repeated point (point 0 always is computed).
inline int32_t LastComputedPoint(int r)
{
    const int32_t* ox = OffsetX[r];
    const int32_t* oy = OffsetY[r];
    int32_t i = RowLastPoint(r);
    while (i >= 1 && ox[i] == ox[i - 1] && oy[i] == oy[i - 1]) --i;
    return i;
}

// The row and point loop. perRow(r) runs before m is set; perPoint(r, i, m) returns the
// rounded channels of a point that is not a repeated point; afterPoint(r, i, m) runs after
// every point, repeated or not (member 3 advances its d there). A member whose rows carry
// values into the next gives carry(r): it sets them as row r - 1 leaves them, from the
// indices alone, for a worker that starts at row r without having run row r - 1.
template <class Finish, class PerRow, class PerPoint, class AfterPoint = NothingAfterPoint,
          class Carry = NothingCarried>
inline void RunRows(PerRow perRow, PerPoint perPoint, AfterPoint afterPoint = AfterPoint(), Carry carry = Carry())
{
    const int32_t n = RowCount;
    if (n < 1) return;
    SharedRows* const shared = CurrentSharedRows;
    WorkingValues& w = ThreadWorking();
    for (int previous = 0;;) {
        const int r = shared ? shared->next.fetch_add(1, std::memory_order_relaxed) : previous + 1;
        if (r > n) break;
        if (r != previous + 1) carry(r);
        previous = r;
        perRow(r);
        const int32_t m = RowLastPoint(r);
        w.LastPoint = m;
        const int32_t* ox = OffsetX[r];
        const int32_t* oy = OffsetY[r];
        int32_t* red = Red[r];
        int32_t* green = Green[r];
        int32_t* blue = Blue[r];
        for (int i = 0; i <= m; ++i) {
            if (i >= 1 && ox[i] == ox[i - 1] && oy[i] == oy[i - 1]) {
                red[i] = red[i - 1];
                green[i] = green[i - 1];
                blue[i] = blue[i - 1];
            } else {
                Channels c = perPoint(r, i, m);
                Finish::Apply(c);
                red[i] = c.R;
                green[i] = c.G;
                blue[i] = c.B;
            }
            afterPoint(r, i, m);
        }
        if (shared && r == n) shared->lastRowSet = &w;
    }
}

// The members, and the table the frame advance dispatches through (index 1..40).
using PatternFunction = void (*)();
extern const PatternFunction PatternTable[41];

void Pattern1();  void Pattern2();  void Pattern3();  void Pattern4();  void Pattern5();
void Pattern6();  void Pattern7();  void Pattern8();  void Pattern9();  void Pattern10();
void Pattern11(); void Pattern12(); void Pattern13(); void Pattern14(); void Pattern15();
void Pattern16(); void Pattern17(); void Pattern18(); void Pattern19(); void Pattern20();
void Pattern21(); void Pattern22(); void Pattern23(); void Pattern24(); void Pattern25();
void Pattern26(); void Pattern27(); void Pattern28(); void Pattern29(); void Pattern30();
void Pattern31(); void Pattern32(); void Pattern33(); void Pattern34(); void Pattern35();
void Pattern36(); void Pattern37(); void Pattern38(); void Pattern39(); void Pattern40();

} // namespace Rosacle
