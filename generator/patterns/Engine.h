#pragma once
// The engine that runs the pattern members: the loop over rows and points, the repeated-point
// rule, the sharing of a call's rows among the workers, the fixed values of the members that
// declare them, and the carries that let a worker start a row without the one before.
#include <atomic>
#include <cstdint>
#include <cstring>
#include <functional>
#include <type_traits>
#include <utility>

#include "generator/Rosacle.h"
#include "generator/patterns/Member.h"

namespace Rosacle {

// Runs member k (1..MemberCount(), nothing otherwise) over every row of R at its phases,
// its rows shared among the workers; the colours and R's working values come out as on one
// thread.
void RunMember(Rosette& R, int32_t k);
int32_t MemberCount();

// Member k's points both ways (BothPathsOf) at R's phases; false for a member without a fast
// path.
bool PointsBothWays(const Rosette& R, int32_t k, int r, const int32_t* i, const Extended* v, int count, Channels* x87,
                    Channels* fast, uint8_t* proven);

// The points the fast path computed since the last call, and how many of them it proved (the
// rest were computed again by the x87 path).
struct FastPathTally {
    uint64_t points = 0, proven = 0;
};
FastPathTally TakeFastPathTally();
void AddToFastPathTally(const FastPathTally& t);

// Lays R's fixed values for member k, at every point or (seenOnly) at the seen ones (the
// layout calls it; rows shared among the workers), or frees them when k has none.
void LayFixedValues(Rosette& R, int32_t k, bool seenOnly);
bool HasFixedValues(int32_t k);

// The last point of row r that is not a repeated point (point 0 always is computed).
inline int32_t LastComputedPoint(const Rosette& R, int r)
{
    int32_t i = R.RowPoints[r];
    while (R.RepeatsPointBefore(r, i)) --i;
    return i;
}

// ---- How the member lists reach the engine.

// The rows of one call shared among the workers: each takes the next row not yet taken.
struct alignas(64) RowShare {
    std::atomic<int> next{1};
};

// One worker's run of a member over a rosette: where its rows come from (null: every row, in
// order), the working values it starts from and, if it computes the last row, leaves.
struct MemberRun {
    Rosette* rosette;
    RowShare* share;
    WorkingValues start;
    WorkingValues* left;
    // The rosette's fixed values are this member's.
    bool fixedLaid;
    // Only the seen points are computed (SeenPoint).
    bool seenOnly = false;
};

// The channels, before the finishing steps, of count points of row r (point i[j], or v[j] for
// a member of v): through the x87 path, through the fast path, and whether the fast path proved
// each point's.
using BothPathsOf = void (*)(const Rosette& R, int r, const int32_t* i, const Extended* v, int count, Channels* x87,
                             Channels* fast, uint8_t* proven);

struct MemberEntry {
    void (*run)(const MemberRun&);
    void (*layFixed)(Rosette& R, bool seenOnly); // null without fixed values
    BothPathsOf bothPaths = nullptr;             // null without a fast path
};

struct MemberList {
    const MemberEntry* entries;
    int32_t count;
};
extern const MemberList Members01to20, Members21to40;

// Sets what a member carries from row to row as one pass over rows 1..r - 1 leaves it, for a
// worker whose last row was previous (0: none).
template <class M>
inline void ResumeAt(const Rosette& R, M& member, int previous, int r)
{
    if constexpr (M::follows == Follows::PreviousPointD)
        member.d = member.DAfter(r - 1, LastComputedPoint(R, r - 1), R.RowPoints[r - 1]);
    else if constexpr (M::follows == Follows::PreviousRowC)
        for (int k = previous + 1; k < r; ++k) member.c = member.NextC(member.c);
}

// Whether member M gives a point's colours from the row and v = PointV(i, m) alone.
template <class M, class = void>
struct PointOfV : std::false_type {};
template <class M>
struct PointOfV<M, std::void_t<decltype(std::declval<const M&>().Point(0, Extended()))>> : std::true_type {};

// The lanes of the fast path: two doubles, one SSE2 vector.
using FastLanes = Lanes<2>;
using FastNumber = Bounded<FastLanes>;

// Whether member M's formulas also run on the fast path's numbers (its Point is written once
// for any number type): a member that carries nothing from point to point.
template <class M, class = void>
struct FastPathOf : std::false_type {};
template <class M, class = void>
struct FastPointOfV : std::false_type {};
template <class M>
struct FastPointOfV<M, std::void_t<decltype(std::declval<const M&>().Point(0, std::declval<FastNumber>()))>>
    : std::true_type {};
// Point(r, i, m), or with the fixed values Point(r, i, m, f): one trait each (a compiler may
// take two specialisations of one trait on void_t for the same one).
template <class M, class = void>
struct FastPointOfIOnly : std::false_type {};
template <class M>
struct FastPointOfIOnly<M, std::void_t<decltype(std::declval<const M&>().Point(0, LaneIndex<FastLanes>{}, 0))>>
    : std::true_type {};
template <class M, class = void>
struct FastPointOfIFixed : std::false_type {};
template <class M>
struct FastPointOfIFixed<M, std::void_t<decltype(std::declval<const M&>().Point(0, LaneIndex<FastLanes>{}, 0,
                                                                                BoundedFixed<FastLanes>{}))>>
    : std::true_type {};
template <class M>
struct FastPointOfI : std::bool_constant<FastPointOfIOnly<M>::value || FastPointOfIFixed<M>::value> {};
template <class M>
struct FastPathOf<M, std::enable_if_t<FastPointOfV<M>::value || FastPointOfI<M>::value>>
    : std::bool_constant<M::follows == Follows::Nothing &&
                         std::is_same_v<decltype(&M::Skipped), void (Member::*)(int, int, int)>> {};

// The points of the fast path's lanes: v or i of each, and the fixed values of a member that
// has them (rounded to double).
template <class L>
struct PointLanes {
    alignas(8 * L::Width) double values[L::Width], a[L::Width], b[L::Width];

    void Set(int j, double value, const Fixed* fixed, int i)
    {
        values[j] = value;
        a[j] = fixed ? static_cast<double>(fixed[i].a) : 0.0;
        b[j] = fixed ? static_cast<double>(fixed[i].b) : 0.0;
    }
    static typename L::D Vector(const double* lanes)
    {
        typename L::D v;
        std::memcpy(&v, lanes, sizeof v);
        return v;
    }
};

// Member M's fast-path channels of the points in lanes.
template <class M, class L>
inline ChannelsOf<Bounded<L>> FastPointsOf(const M& member, int r, int32_t m, const PointLanes<L>& lanes)
{
    using Number = Bounded<L>;
    const auto values = PointLanes<L>::Vector(lanes.values);
    if constexpr (PointOfV<M>::value)
        return member.Point(r, Number::FromRounded(values));
    else if constexpr (M::fixedValues > 0)
        return member.Point(r, LaneIndex<L>{values}, m,
                            BoundedFixed<L>{Number::FromRounded(PointLanes<L>::Vector(lanes.a)),
                                            Number::FromRounded(PointLanes<L>::Vector(lanes.b))});
    else
        return member.Point(r, LaneIndex<L>{values}, m);
}

// Runs rowWork(r) for rows 1..RowCount of R, shared among the workers.
void ForEachRowOf(const Rosette& R, const std::function<void(int)>& rowWork);

inline bool SameBits(Extended a, Extended b) { return std::memcmp(&a, &b, 10) == 0; }

template <class M>
inline Channels PointOf(M& member, int r, int i, int m, const Fixed* fixed)
{
    if constexpr (M::fixedValues > 0)
        return member.Point(r, i, m, fixed[i]);
    else
        return member.Point(r, i, m);
}

// The points of row r (last point m) of a fast-path member: those computed go through the
// fast path several at a time, and a point with any channel it did not prove through the x87
// path; then the repeated and mirror points take their colours, in order, as RunRows does.
template <class M, class L = FastLanes>
void FastRowPoints(const M& member, Rosette& R, int r, int32_t m, const uint8_t* seen, const Fixed* fixed,
                   FastPathTally& tally)
{
    using Number = Bounded<L>;
    constexpr int W = L::Width;
    // Where point i's colours come from: itself (computed), an earlier point, or nowhere (unseen).
    int16_t from[MaxPoints];
    int16_t queued[MaxPoints];
    double values[MaxPoints];
    int count = 0;
    for (int i = 0; i <= m; ++i) {
        if (seen && !seen[i]) {
            from[i] = -1;
        } else if (R.RepeatsPointBefore(r, i)) {
            from[i] = static_cast<int16_t>(i - 1);
        } else if constexpr (!PointOfV<M>::value) {
            from[i] = static_cast<int16_t>(i);
            queued[count] = static_cast<int16_t>(i);
            values[count] = i;
            ++count;
        } else {
            const Extended v = PointV(i, m);
            const int mirror = m - i;
            if (seen && mirror < i && seen[mirror] && !R.RepeatsPointBefore(r, mirror) &&
                SameBits(v, PointV(mirror, m))) {
                from[i] = static_cast<int16_t>(mirror);
            } else {
                from[i] = static_cast<int16_t>(i);
                queued[count] = static_cast<int16_t>(i);
                values[count] = static_cast<double>(v);
                ++count;
            }
        }
    }
    int32_t* red = R.Red[r];
    int32_t* green = R.Green[r];
    int32_t* blue = R.Blue[r];
    for (int k = 0; k < count; k += W) {
        PointLanes<L> lanes;
        for (int j = 0; j < W; ++j) {
            const int at = k + j < count ? k + j : count - 1;
            lanes.Set(j, values[at], M::fixedValues > 0 ? fixed : nullptr, queued[at]);
        }
        const ChannelsOf<Number> fast = FastPointsOf(member, r, m, lanes);
        for (int j = 0; j < W && k + j < count; ++j) {
            const int i = queued[k + j];
            Channels c;
            if (fast.Proven(j)) {
                c = fast.Lane(j);
                ++tally.proven;
            } else if constexpr (PointOfV<M>::value) {
                c = member.Point(r, PointV(i, m));
            } else {
                c = PointOf(member, r, i, m, fixed);
            }
            M::Finish::Apply(c);
            red[i] = c.R;
            green[i] = c.G;
            blue[i] = c.B;
        }
    }
    tally.points += static_cast<uint64_t>(count);
    for (int i = 0; i <= m; ++i) {
        const int source = from[i];
        if (source >= 0 && source != i) {
            red[i] = red[source];
            green[i] = green[source];
            blue[i] = blue[source];
        }
    }
}

#if defined(__x86_64__) && !defined(_WIN32)
// Four points at once in one AVX2 vector, where the processor has it: the same operations
// lane by lane (no fused multiply-add), so the same values and bounds. Every call is inlined so
// that all of it is compiled for AVX2. (Not on Windows: its 64-bit stack does not keep the
// 32-byte alignment AVX spills need.)
template <class M>
__attribute__((target("avx2"), flatten)) void WideRowPoints(const M& member, Rosette& R, int r, int32_t m,
                                                             const uint8_t* seen, const Fixed* fixed,
                                                             FastPathTally& tally)
{
    FastRowPoints<M, Lanes<4>>(member, R, r, m, seen, fixed, tally);
}
inline bool HasWideLanes()
{
    static const bool wide = __builtin_cpu_supports("avx2");
    return wide;
}
#else
template <class M>
void WideRowPoints(const M&, Rosette&, int, int32_t, const uint8_t*, const Fixed*, FastPathTally&) {}
inline bool HasWideLanes() { return false; }
#endif

template <class M>
void BothPaths(const Rosette& R, int r, const int32_t* i, const Extended* v, int count, Channels* x87, Channels* fast,
               uint8_t* proven)
{
    constexpr int W = FastLanes::Width;
    M member;
    member.Attach(R);
    member.Call();
    member.Row(r);
    const int32_t m = member.RowLastPoint(r);
    Fixed fixed[MaxPoints];
    if constexpr (M::fixedValues > 0)
        for (int k = 0; k <= m; ++k) fixed[k] = member.FixedAt(r, k, m);
    for (int k = 0; k < count; k += W) {
        PointLanes<FastLanes> lanes;
        for (int j = 0; j < W; ++j) {
            const int at = k + j < count ? k + j : count - 1;
            lanes.Set(j, PointOfV<M>::value ? static_cast<double>(v[at]) : i[at], fixed, i[at]);
        }
        const ChannelsOf<FastNumber> c = FastPointsOf(member, r, m, lanes);
        for (int j = 0; j < W && k + j < count; ++j) {
            if constexpr (PointOfV<M>::value)
                x87[k + j] = member.Point(r, v[k + j]);
            else
                x87[k + j] = PointOf(member, r, i[k + j], m, fixed);
            fast[k + j] = c.Lane(j);
            proven[k + j] = c.Proven(j);
        }
    }
}

template <class M>
void RunRows(const MemberRun& run)
{
    Rosette& R = *run.rosette;
    const int32_t n = R.RowCount;
    M member;
    member.Attach(R);
    member.c = run.start.C;
    member.d = run.start.D;
    member.Call();
    // A row's own fixed values when the layout's belong to another member.
    struct OwnRow {
        Fixed f[M::fixedValues > 0 ? MaxPoints : 1];
    } own;
    // The last point passed without its colours whose d a PreviousPointD member has not
    // taken yet (row 0: none).
    struct Passed {
        int r = 0, i = 0, m = 0;
    } passed;
    // The fast path serves the shared rows; the plain path stays the x87 reference.
    const bool fast = FastPathOf<M>::value && run.share;
    FastPathTally tally;
    const auto takePassedD = [&member, &passed] {
        if constexpr (M::follows == Follows::PreviousPointD)
            if (passed.r) member.d = member.DAfter(passed.r, passed.i, passed.m);
        passed.r = 0;
    };
    for (int previous = 0;;) {
        const int r = run.share ? run.share->next.fetch_add(1, std::memory_order_relaxed) : previous + 1;
        if (r > n) break;
        if (r != previous + 1) {
            passed.r = 0;
            ResumeAt(R, member, previous, r);
        }
        previous = r;
        member.Row(r);
        const int32_t m = member.RowLastPoint(r);
        const Fixed* fixed = nullptr;
        if constexpr (M::fixedValues > 0) {
            if (run.fixedLaid) {
                fixed = R.FixedValues[r];
            } else {
                for (int i = 0; i <= m; ++i) own.f[i] = member.FixedAt(r, i, m);
                fixed = own.f;
            }
        }
        const uint8_t* seen = run.seenOnly ? R.SeenPoint[r] : nullptr;
        if constexpr (FastPathOf<M>::value) {
            if (fast) {
                if (HasWideLanes())
                    WideRowPoints(member, R, r, m, seen, fixed, tally);
                else
                    FastRowPoints(member, R, r, m, seen, fixed, tally);
                if (r == n) *run.left = {member.c, member.d};
                continue;
            }
        }
        int32_t* red = R.Red[r];
        int32_t* green = R.Green[r];
        int32_t* blue = R.Blue[r];
        for (int i = 0; i <= m; ++i) {
            const bool repeated = R.RepeatsPointBefore(r, i);
            if (seen && !seen[i]) {
                // Unseen: no colours, but what the point leaves for the next one.
                if (M::follows == Follows::PreviousPointD && !repeated)
                    passed = {r, i, m};
                else
                    member.Skipped(r, i, m);
            } else if (repeated) {
                red[i] = red[i - 1];
                green[i] = green[i - 1];
                blue[i] = blue[i - 1];
                member.Skipped(r, i, m);
            } else {
                takePassedD();
                Channels c;
                if constexpr (PointOfV<M>::value) {
                    const Extended v = PointV(i, m);
                    const int mirror = m - i;
                    // The mirror point of the row has the same v more often than not: the
                    // colours it computed (a repeated one holds its predecessor's).
                    if (seen && mirror < i && seen[mirror] && !R.RepeatsPointBefore(r, mirror) &&
                        SameBits(v, PointV(mirror, m))) {
                        red[i] = red[mirror];
                        green[i] = green[mirror];
                        blue[i] = blue[mirror];
                        continue;
                    }
                    c = member.Point(r, v);
                } else {
                    c = PointOf(member, r, i, m, fixed);
                }
                M::Finish::Apply(c);
                red[i] = c.R;
                green[i] = c.G;
                blue[i] = c.B;
            }
        }
        if (r == n) {
            takePassedD();
            *run.left = {member.c, member.d};
        }
    }
    if (fast) AddToFastPathTally(tally);
}

// Lays R's fixed values of member M, at every point or only the seen ones.
template <class M>
void LayFixedRows(Rosette& R, bool seenOnly)
{
    M member;
    member.Attach(R);
    ForEachRowOf(R, [&](int r) {
        const uint8_t* seen = seenOnly ? R.SeenPoint[r] : nullptr;
        const int32_t m = member.RowLastPoint(r);
        for (int i = 0; i <= m; ++i)
            if (!seen || seen[i]) R.FixedValues[r][i] = member.FixedAt(r, i, m);
    });
}

template <class M>
constexpr MemberEntry Entry()
{
    if constexpr (M::fixedValues > 0 && FastPathOf<M>::value)
        return {RunRows<M>, LayFixedRows<M>, BothPaths<M>};
    else if constexpr (M::fixedValues > 0)
        return {RunRows<M>, LayFixedRows<M>};
    else if constexpr (FastPathOf<M>::value)
        return {RunRows<M>, nullptr, BothPaths<M>};
    else
        return {RunRows<M>, nullptr};
}

} // namespace Rosacle
