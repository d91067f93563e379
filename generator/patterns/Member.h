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
//
// and, as data for the engine, where it applies:
//
//     static constexpr int fixedValues = 1 or 2;      Point takes (r, i, m, Fixed f): values of
//     static Fixed FixedAt(int r, int i, int m);      the point that depend on the layout alone
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
#include "generator/patterns/Finishing.h"
#include "settings/SaverSettings.h"

namespace Rosacle {

// Values of a point that depend on the layout alone, laid once per layout by the engine.
struct Fixed {
    Extended a = 0, b = 0;
};

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

struct Member {
    static constexpr int fixedValues = 0;
    static constexpr Follows follows = Follows::Nothing;

    // The layout: rows, surface height, petals.
    int32_t n = 0, H = 0, S = 0;
    // The working values a later call can see: a call starts from what the one before left
    // (of any member) and leaves them as a single pass over the rows would.
    Extended c = 0, d = 0;

    void Call() {}
    void Row(int) {}
    void Skipped(int, int, int) {}
};

inline Extended Ext(int32_t k) { return static_cast<Extended>(k); }

// m of row r: the row's last point index, the same number GeneratorInit lays.
inline int32_t RowLastPoint(int r) { return Round(Ext(r) * TwoPi / SaverSettings.Segment); }

// Row quantities several members share; (p1 + 5) x r is formed first, then divided by n.
inline Extended A1(int r, int n) { return Sin(Phase3) + Sin((Phase1 + 5) * r / n + Phase2); }
inline Extended B1(int r, int n) { return Cos(Phase3) + Cos((Phase2 + 5) * r / n + Phase1); }
inline Extended A2(int r, int n) { return Sin(Phase1) + Sin((Phase1 + 5) * r / n + Phase2); }
inline Extended B2(int r, int n) { return Cos(Phase1) + Cos((Phase2 + 5) * r / n + Phase1); }

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

// sin(5 - 10 r / n): the row's t of several members.
inline Extended RowWave(int r) { return Sin(5 - Ext(10 * r) / RowCount); }

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

} // namespace Rosacle
