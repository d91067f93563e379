#pragma once
// The engine that runs the pattern members: the loop over rows and points, the repeated-point
// rule, the sharing of a call's rows among the workers, the fixed values of the members that
// declare them, and the carries that let a worker start a row without the one before.
#include <atomic>
#include <cstdint>
#include <cstring>
#include <type_traits>
#include <utility>

#include "generator/Rosacle.h"
#include "generator/SeenPoints.h"
#include "generator/patterns/Member.h"

namespace Rosacle {

// The working values a later call can see (the c and d of Member). Zero at process start.
struct WorkingValues {
    Extended C = 0, D = 0;
};
extern WorkingValues Working;
extern Extended &WorkC, &WorkD;

// Runs member k (1..MemberCount(), nothing otherwise) over every row, its rows shared among
// the workers; the colours and the working values come out as on one thread.
void RunMember(int32_t k);
int32_t MemberCount();

// Lays the fixed values of member k for the current layout, at every point or (seenOnly) at
// the seen ones (the layout calls it; rows shared among the workers); a member whose values
// are not laid computes them row by row.
void LayFixedValues(int32_t k, bool seenOnly);
bool HasFixedValues(int32_t k);

// The last point of row r that is not a repeated point (point 0 always is computed).
inline int32_t LastComputedPoint(int r)
{
    int32_t i = RowLastPoint(r);
    while (RepeatsPointBefore(r, i)) --i;
    return i;
}

// ---- How the member lists reach the engine.

// The rows of one call shared among the workers: each takes the next row not yet taken.
struct alignas(64) RowShare {
    std::atomic<int> next{1};
};

// One worker's run of a member: where its rows come from (null: every row, in order), the
// working values it starts from and, if it computes the last row, leaves.
struct MemberRun {
    RowShare* share;
    WorkingValues start;
    WorkingValues* left;
    // The layout's fixed values are this member's.
    bool fixedLaid;
    // Only the seen points are computed (SeenPoint).
    bool seenOnly = false;
};

struct MemberEntry {
    void (*run)(const MemberRun&);
    Fixed (*fixedAt)(int r, int i, int m); // null without fixed values
};

struct MemberList {
    const MemberEntry* entries;
    int32_t count;
};
extern const MemberList Members01to20, Members21to40;

// The layout's fixed values, row by row.
extern Fixed FixedValues[MaxRows][MaxPoints];

// Sets what a member carries from row to row as one pass over rows 1..r - 1 leaves it, for a
// worker whose last row was previous (0: none).
template <class M>
inline void ResumeAt(M& member, int previous, int r)
{
    if constexpr (M::follows == Follows::PreviousPointD)
        member.d = member.DAfter(r - 1, LastComputedPoint(r - 1), RowLastPoint(r - 1));
    else if constexpr (M::follows == Follows::PreviousRowC)
        for (int k = previous + 1; k < r; ++k) member.c = member.NextC(member.c);
}

// Whether member M gives a point's colours from the row and v = PointV(i, m) alone.
template <class M, class = void>
struct PointOfV : std::false_type {};
template <class M>
struct PointOfV<M, std::void_t<decltype(std::declval<const M&>().Point(0, Extended()))>> : std::true_type {};

inline bool SameBits(Extended a, Extended b) { return std::memcmp(&a, &b, 10) == 0; }

template <class M>
inline Channels PointOf(M& member, int r, int i, int m, const Fixed* fixed)
{
    if constexpr (M::fixedValues > 0)
        return member.Point(r, i, m, fixed[i]);
    else
        return member.Point(r, i, m);
}

template <class M>
void RunRows(const MemberRun& run)
{
    const int32_t n = RowCount;
    M member;
    member.n = n;
    member.H = SurfaceHeight;
    member.S = SaverSettings.Segment;
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
            ResumeAt(member, previous, r);
        }
        previous = r;
        member.Row(r);
        const int32_t m = RowLastPoint(r);
        const Fixed* fixed = nullptr;
        if constexpr (M::fixedValues > 0) {
            if (run.fixedLaid) {
                fixed = FixedValues[r];
            } else {
                for (int i = 0; i <= m; ++i) own.f[i] = M::FixedAt(r, i, m);
                fixed = own.f;
            }
        }
        const uint8_t* seen = run.seenOnly ? SeenPoint[r] : nullptr;
        int32_t* red = Red[r];
        int32_t* green = Green[r];
        int32_t* blue = Blue[r];
        for (int i = 0; i <= m; ++i) {
            const bool repeated = RepeatsPointBefore(r, i);
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
                    if (seen && mirror < i && seen[mirror] && !RepeatsPointBefore(r, mirror) &&
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
}

template <class M>
constexpr MemberEntry Entry()
{
    if constexpr (M::fixedValues > 0)
        return {RunRows<M>, M::FixedAt};
    else
        return {RunRows<M>, nullptr};
}

} // namespace Rosacle
