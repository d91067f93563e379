#pragma once
// The channels of a point and the menu of integer finishing steps a member chains, e.g.
//
//     using Finish = Chain<Fold, CutAt<25>, CubeAbove<232>, Clamp>;
#include <cstdint>

#include "generator/ExtendedMath.h"

namespace Rosacle {

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

} // namespace Rosacle
