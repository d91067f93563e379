#pragma once
// The frame shared by the forty pattern members: the loop over rows and points, the
// repeated-point rule and the menu of integer finishing steps. A member is its per-call,
// per-row and per-point formulas plus a finishing chain, e.g.
//
//     using Finish = Chain<Fold, CutAt<25>, CubeAbove<232>, Clamp>;
//     RunRows<Finish>(perRow, perPoint);
#include <cstdint>

#include "generator/Rosacle.h"
#include "settings/SaverSettings.h"

namespace Rosacle {

// Working values shared by all members: zero at process start, never reset.
extern int32_t LastPoint;
extern Extended WorkA, WorkB, WorkC, WorkD, WorkE;
extern Extended WorkU[4], WorkT[4], WorkX[4];

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

struct NothingAfterPoint {
    void operator()(int, int, int) const {}
};

// The row and point loop. perRow(r) runs before m is set; perPoint(r, i, m) returns the
// rounded channels of a point that is not a repeated point; afterPoint(r, i, m) runs after
// every point, repeated or not (member 3 advances its d there).
template <class Finish, class PerRow, class PerPoint, class AfterPoint = NothingAfterPoint>
inline void RunRows(PerRow perRow, PerPoint perPoint, AfterPoint afterPoint = AfterPoint())
{
    const int32_t n = RowCount;
    if (n < 1) return;
    for (int r = 1; r <= n; ++r) {
        perRow(r);
        const int32_t m = RowLastPoint(r);
        LastPoint = m;
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
