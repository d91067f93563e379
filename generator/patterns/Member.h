#pragma once
// What a pattern member is made of: a struct derived from Member with
//
//     using Finish = Chain<...>;                      its finishing steps
//     void Call();                                    per-call values (optional)
//     void Row(int r);                                per-row values (optional)
//     Channels Point(int r, int i, int m);            the rounded channels of point i of row r
//  or Channels Point(int r, Extended v);              the same from v = PointV(i, m) alone, for a
//                                                     member whose point depends on i and m only
//                                                     through v (the engine then reuses a row's
//                                                     colours where v repeats)
//  or template <class T>                              the same, written once for any number type:
//     ChannelsOf<T> Point(int r, T v) const;          Extended for the x87 path, Bounded (Bounded.h)
//                                                     for the fast path, which the engine uses
//                                                     where it proves the x87 path's channels
//  or template <class I, class T = NumberFor<I>>      Point(r, i, m) written once: i an int for
//     ChannelsOf<T> Point(int r, I i, int m) const;   the x87 path, lanes of indexes for the fast
//                                                     one (with FixedOf<T> f after m for a member
//                                                     of fixed values)
//
// and, as data for the engine, where it applies:
//
//     static constexpr int fixedValues = 1 or 2;      Point takes (r, i, m, Fixed f): values of
//     Fixed FixedAt(int r, int i, int m) const;       the point that depend on the layout alone
//     static constexpr Follows follows = ...;         d from the point before, or c from the row before
//     void Skipped(int r, int i, int m);              runs for a point whose colours are not
//                                                     computed (it repeats the one before, or
//                                                     never reaches the screen), for what Point
//                                                     steps on every point
//
// The engine (Engine.h) runs the rows, the repeated-point rule, the sharing of rows among
// workers, the points that reach the screen, the fixed values and the carries; a member
// holds formulas only.
#include <cstdint>

#include "generator/ExtendedMath.h"
#include "generator/Rosacle.h"
#include "generator/patterns/Bounded.h"
#include "generator/patterns/Finishing.h"

namespace Rosacle {

// What a member's point or row reads from the one before it.
enum class Follows {
    Nothing,
    // d of the previous computed point, rows included (at a call's first point the d the
    // previous call left): the member gives DAfter(r, i, m), the d computed point i of row
    // r leaves, and sets d to it in Point.
    PreviousPointD,
    // c of the row before: the member gives NextC(c), a row's c from the one before, and
    // sets c = NextC(c) in Row.
    PreviousRowC,
};

inline Extended Ext(int32_t k) { return static_cast<Extended>(k); }

// A table of the rosette as a member reads it: Table[r][i].
struct TableView {
    const RowPlane<Extended>* plane = nullptr;
    const Extended* operator[](int r) const { return (*plane)[r]; }
};

struct Member {
    static constexpr int fixedValues = 0;
    static constexpr Follows follows = Follows::Nothing;

    // The layout: rows, surface height, petals.
    int32_t n = 0, H = 0, S = 0;
    // The phases of the frame.
    Extended p1 = 0, p2 = 0, p3 = 0;
    // The working values a later call can see: a call starts from what the one before left
    // (of any member) and leaves them as a single pass over the rows would.
    Extended c = 0, d = 0;
    // The rosette's per-point tables, for the members that read them.
    TableView PointRamp, PointShapeA, PointShapeB, PointShapeC;

    void Call() {}
    void Row(int) {}
    void Skipped(int, int, int) {}

    // The rosette the member runs over.
    void Attach(const Rosette& R)
    {
        n = R.RowCount;
        H = R.SurfaceHeight;
        S = R.Segment;
        p1 = R.Phase1;
        p2 = R.Phase2;
        p3 = R.Phase3;
        PointRamp.plane = &R.PointRamp;
        PointShapeA.plane = &R.PointShapeA;
        PointShapeB.plane = &R.PointShapeB;
        PointShapeC.plane = &R.PointShapeC;
    }

    // m of row r: the row's last point index, the same number GeneratorInit lays.
    int32_t RowLastPoint(int r) const { return Round(Ext(r) * TwoPi / S); }

    // Row quantities several members share; (p1 + 5) x r is formed first, then divided by n.
    Extended A1(int r, int n) const { return Sin(p3) + Sin((p1 + 5) * r / n + p2); }
    Extended B1(int r, int n) const { return Cos(p3) + Cos((p2 + 5) * r / n + p1); }
    Extended A2(int r, int n) const { return Sin(p1) + Sin((p1 + 5) * r / n + p2); }
    Extended B2(int r, int n) const { return Cos(p1) + Cos((p2 + 5) * r / n + p1); }

    // sin(5 - 10 r / n): the row's t of several members.
    Extended RowWave(int r) const { return Sin(5 - Ext(10 * r) / n); }
};

// v: 1 at both ends of the row, 0 at its middle.
inline Extended PointV(int i, int m) { return Abs(1 - Ext(2 * i) / m); }

// R^2 + G^2 of two channel values, exact for any 32-bit values (a 64-bit significand holds
// the sum), so a channel that Round saturated cannot overflow it.
inline Extended ExactSquares(int32_t r, int32_t g) { return Ext(r) * r + Ext(g) * g; }

// An integer channel value as a share of 255 (R/255 of the formulas).
inline Extended Share(int32_t c) { return Ext(c) / 255; }

inline Extended Squared(Extended y) { return y * y; }

// sin(i x 2pi / m), sin(i x pi / m) and sin(i x 3pi / m): the turn of point i along a row of
// last point m, half of it and one and a half.
inline Extended TurnSine(int i, int m) { return Sin(i * TwoPi / m); }
inline Extended HalfTurnSine(int i, int m) { return Sin(i * Pi / m); }
inline Extended ThreeHalfTurnSine(int i, int m) { return Sin(i * ThreePi / m); }

// Functions of an integer channel value c, looked up for the values a channel takes before
// its finishing steps and computed beyond them; a lookup gives exactly what the formula does.
Extended SineOfChannelFormula(int32_t c);    // sin(c x 1.57 / 255)
Extended SinOfQuarterTurnFormula(int32_t c); // sin(c x (pi/2) / 255)
Extended CosOfQuarterTurnFormula(int32_t c); // cos(c x (pi/2) / 255)

struct ChannelFunctionValues {
    static constexpr int32_t Reach = 4096;
    static constexpr bool Within(int32_t c) { return c >= -Reach && c <= Reach; }
    Extended sine[2 * Reach + 1], sinQuarter[2 * Reach + 1], cosQuarter[2 * Reach + 1];
};
// Laid by the engine before the first member runs.
extern ChannelFunctionValues ChannelValues;

inline Extended SineOfChannel(int32_t c)
{
    return ChannelFunctionValues::Within(c) ? ChannelValues.sine[c + ChannelFunctionValues::Reach] : SineOfChannelFormula(c);
}
inline Extended SinOfQuarterTurn(int32_t c)
{
    return ChannelFunctionValues::Within(c) ? ChannelValues.sinQuarter[c + ChannelFunctionValues::Reach]
                                            : SinOfQuarterTurnFormula(c);
}
inline Extended CosOfQuarterTurn(int32_t c)
{
    return ChannelFunctionValues::Within(c) ? ChannelValues.cosQuarter[c + ChannelFunctionValues::Reach]
                                            : CosOfQuarterTurnFormula(c);
}

// The same lookups of a fast-path channel (Bounded.h's OfChannel).
template <class L>
inline Bounded<L> SinOfQuarterTurn(const ProvenInt<L>& c)
{
    return OfChannel(c, [](int32_t k) { return SinOfQuarterTurn(k); });
}
template <class L>
inline Bounded<L> CosOfQuarterTurn(const ProvenInt<L>& c)
{
    return OfChannel(c, [](int32_t k) { return CosOfQuarterTurn(k); });
}

} // namespace Rosacle
