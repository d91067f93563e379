#pragma once
// The fast path's number: a value in double precision, several points at once in the lanes
// of a vector, each carrying a rigorous bound on its distance from what the x87 path computes
// for the same expression in 80-bit arithmetic. A channel is taken from the fast path only
// where the bound proves that the x87 path's Round gives the same integer; every other point
// is computed by the x87 path.
//
// Notation for the proofs below: v is a lane's double value, X the x87 value of the same
// expression, e the lane's bound, so |X - v| <= e. For one operation on inputs (v1, e1),
// (v2, e2): s_d is the exact result on the double inputs, s_x the exact result on the x87
// inputs, P a bound on |s_d - s_x| (the inputs' bounds carried through the operation).
//
// The rounding of one basic operation (Settle): |v - s_d| <= 2^-53 |s_d| <= 2^-52 |v| (plus
// 2^-1075 where the result underflows), |X - s_x| <= 2^-64 |s_x| <= 2^-64 (1.01 |v| + P)
// (the x87 path computes with a 64-bit significand and round to nearest; its range never
// underflows before double's). So |X - v| <= P (1 + 2^-64) + |v| (2^-52 + 2^-63.9) + 2^-1075.
// The bound is formed as (P + 2^-51 |v| + 2^-1000) x (1 + 2^-40) in double: its own
// computation takes well under 1024 roundings of relative 2^-53 each, which shrink it by a
// factor above 1 - 2^-43, and (1 - 2^-43)(1 + 2^-40) > 1 + 2^-41 still covers the 2^-64 P.
// A bound that is not finite, or NaN, proves nothing: every proof is a comparison that is
// false for NaN and infinity.
//
// The double arithmetic must be IEEE double (SSE2 on a 32-bit x86, never the x87 unit) and
// must not fuse a multiply and an add (-ffp-contract=off): the proofs count each rounding.
#include <cstdint>
#include <type_traits>

#include "generator/ExtendedMath.h"
#include "generator/Rosacle.h"
#include "generator/patterns/Finishing.h"

#if (defined(__i386__) && !defined(__SSE2_MATH__)) || defined(__FP_FAST_FMA)
#define ROSACLE_IEEE_DOUBLE 0
#else
#define ROSACLE_IEEE_DOUBLE 1
#endif

namespace Rosacle {

// W doubles in one vector, and the 64-bit integers of its masks.
template <int W>
struct Lanes {
    static constexpr int Width = W;
    typedef double D __attribute__((vector_size(8 * W)));
    typedef long long I __attribute__((vector_size(8 * W)));
};

namespace BoundRules {

template <class V>
using IntOf = decltype(V() < V());

template <class V>
inline V Splat(double x)
{
    return V() + x;
}

// Bit operations only: SSE2 has no 64-bit integer comparison, so a mask is never compared
// (a ternary on an integer mask would compare it with zero, one lane at a time).
template <class V>
inline V Magnitude(V x)
{
    return (V)((IntOf<V>)x & 0x7fffffffffffffffLL);
}

// a where mask (all ones) is set, else b.
template <class V>
inline V Select(IntOf<V> mask, V a, V b)
{
    return (V)((mask & (IntOf<V>)a) | (~mask & (IntOf<V>)b));
}

constexpr double Infinite = __builtin_inf();

// (P + 2^-51 |v| + 2^-1000)(1 + 2^-40): the proof is at the top of this file.
template <class V>
inline V Settle(V v, V P)
{
    static_assert(ROSACLE_IEEE_DOUBLE || sizeof(V) == 0, "the fast path needs IEEE double arithmetic without fused operations");
    return (P + Magnitude(v) * 0x1p-51 + 0x1p-1000) * (1 + 0x1p-40);
}

// A bound over everything that was left out of a product of roundings: (1 + 2^-40).
template <class V>
inline V Widen(V e)
{
    return e * (1 + 0x1p-40);
}

// sin x (Sine) or cos x for |x| <= 2^19, within 2^-46 of the exact value.
//
// Reduction by pi: k = nearest integer to x / pi (the shifter 1.5 x 2^52 rounds to nearest and
// keeps k's parity in its last bit), r = ((x - k Q1) - k Q2) - k Q3 with
// pi = Q1 + Q2 + Q3 + 2e-37; sin x = (-1)^k sin r, cos x = (-1)^k cos r. |k| < 2^18 and Q1, Q2
// have 33 significant bits, so k Q1 and k Q2 are exact; x - k Q1 is exact (Sterbenz: for k != 0,
// k Q1 lies within a factor 2 of x); the two further subtractions round with |r| < 1.6 and
// k Q3 by far less, so |r - (x - k pi)| < 2^-51. (x / pi itself is within 2^-33 of exact, so
// |r| <= pi/2 + 2^-31.)
// Series in z = r^2 (Taylor): sin r = r + r z S(z), terms to r^19, remainder r^21/21! < 2^-51.7;
// cos r = 1 + z C(z), terms to r^20, remainder r^22/22! < 2^-55. The tails (below 0.8 and 1.6
// in magnitude) take under 24 roundings of relative 2^-53 each: below 2^-49.6 and 2^-47.8; the
// coefficients' own rounding, under 2^-52.3; the final add, 2^-53. Total below 2^-47.3 for
// either; 2^-46 is claimed.
constexpr double FastSinCosError = 0x1p-46;
constexpr double SinCosReach = 0x1p19;

template <bool Sine, class V>
inline V SinOrCosCore(V x)
{
    using I = IntOf<V>;
    constexpr double shifter = 0x1.8p52;
    const V shifted = x * 0x1.45f306dc9c883p-2 + shifter;
    const V k = shifted - shifter;
    const I sign = ((I)shifted & 1) << 63;
    const V r = ((x - k * 0x1.921fb544p+1) - k * 0x1.0b4611a6p-33) - k * 0x1.3198a2e037073p-68;
    const V z = r * r;
    V p;
    if constexpr (Sine)
        p = r + r * z * (-0x1.5555555555555p-3 + z * (0x1.1111111111111p-7 + z * (-0x1.a01a01a01a01ap-13 +
            z * (0x1.71de3a556c734p-19 + z * (-0x1.ae64567f544e4p-26 + z * (0x1.6124613a86d09p-33 +
            z * (-0x1.ae7f3e733b81fp-41 + z * (0x1.952c77030ad4ap-49 + z * -0x1.2f49b46814157p-57))))))));
    else
        p = 1 + z * (-0x1p-1 + z * (0x1.5555555555555p-5 + z * (-0x1.6c16c16c16c17p-10 +
            z * (0x1.a01a01a01a01ap-16 + z * (-0x1.27e4fb7789f5cp-22 + z * (0x1.1eed8eff8d898p-29 +
            z * (-0x1.93974a8c07c9dp-37 + z * (0x1.ae7f3e733b81fp-45 + z * (-0x1.6827863b97d97p-53 +
            z * 0x1.e542ba4020225p-62)))))))));
    return (V)((I)p ^ sign);
}

// ln x for 2^-1000 <= x <= 2^1000, within 2^-46 (1 + |ln x|) of the exact value.
//
// x = 2^q m with m in [sqrt(1/2), sqrt(2)] (halving m is exact); f = (m - 1)/(m + 1) with
// m - 1 exact (Sterbenz), so f is within 2^-51.9 |f| of exact, |f| <= 0.172;
// ln m = 2 atanh f = 2f + f z A(z), z = f^2, terms to f^21: remainder 2|f|^23/23/(1 - f^2)
// < 2^-61. The error of f moves ln m by at most 2/(1 - f^2) x 0.172 x 2^-51.9 < 2^-53.4; the
// tail's roundings (under 25, relative 2^-53, on a value below 0.01) and the add of 2f, under
// 2^-52; the coefficients', under 2^-60. Then q ln2_hi (43 bits, |q| <= 1001: exact) +
// (q ln2_lo + ln m): two roundings, 2^-53 x (0.35 + |ln x|). Total below 2^-50 (1 + |ln x|);
// 2^-46 (1 + |ln x|) is claimed.
constexpr double FastLnError = 0x1p-46;

template <class V>
inline V LnCore(V x)
{
    using I = IntOf<V>;
    const I bits = (I)x;
    const I mantissaBits = (bits & 0x000fffffffffffffLL) | 0x3ff0000000000000LL;
    V m = (V)mantissaBits;
    // The biased exponent as a double: placed in the low bits of 2^52's significand.
    const I exponentBits = ((bits >> 52) & 0x7ff) | 0x4330000000000000LL;
    V q = (V)exponentBits - (0x1p52 + 1023);
    const I high = m > 0x1.6a09e667f3bcdp+0;
    m = Select(high, m * 0.5, m);
    q = Select(high, q + 1, q);
    const V f = (m - 1) / (m + 1);
    const V z = f * f;
    const V lnm = 2 * f + f * z * (0x1.5555555555555p-1 + z * (0x1.999999999999ap-2 + z * (0x1.2492492492492p-2 +
                  z * (0x1.c71c71c71c71cp-3 + z * (0x1.745d1745d1746p-3 + z * (0x1.3b13b13b13b14p-3 +
                  z * (0x1.1111111111111p-3 + z * (0x1.e1e1e1e1e1e1ep-4 + z * (0x1.af286bca1af28p-4 +
                  z * 0x1.8618618618618p-4)))))))));
    return q * 0x1.62e42fefa38p-1 + (q * 0x1.ef35793c76730p-45 + lnm);
}

// The x87 path's own functions against the exact ones.
//
// Sin and Cos (ExtendedMath.h) below 2^25 in magnitude: the reduction's k C1 and k C2 are
// exact and b is within 2^-71 of x - 2 pi k / 512 (C1 + C2 + C3 misses 2 pi / 512 by 2^-120,
// times |k| < 2^32); the series in |b| <= pi/512 leaves out b^9/9! < 2^-84 (b^8/8! for cos)
// and its double coefficients move it by under 2^-77; the table entries are rounded once
// (2^-65); the last two adds round by at most 2^-64 each, the others far less. Below 2^-62
// in all; 2^-60 is allowed. Arguments at or beyond 2^25 are refused by the fast path.
constexpr double X87SinCosError = 0x1p-60;
constexpr double X87SinCosReach = 0x1p25;
// Ln = fldln2 then fyl2x: the processor documents fyl2x within one unit of the last place
// (2^-63 relative) and fldln2 is ln 2 rounded (2^-64 relative); an emulated x87 rounds a wider
// result once. Allowed: 2^-56 (1 + |ln x|), 256 times the documented error.
constexpr double X87LnError = 0x1p-56;
// Sqrt = fsqrt, correctly rounded: covered by Settle.

} // namespace BoundRules

// A value of the fast path: W lanes, each a double and its bound.
template <class L>
struct Bounded {
    using Lanes = L;
    using V = typename L::D;
    using I = typename L::I;
    V v{}, e{};

    // x87 values rounded to double: within half a unit of the last place, 2^-53 |X| <= 2^-52 |v|.
    static Bounded FromRounded(V d) { return {d, BoundRules::Magnitude(d) * 0x1p-52 + 0x1p-1000}; }
    static Bounded FromX87(Extended x) { return FromRounded(BoundRules::Splat<V>(static_cast<double>(x))); }
    // A constant as the x87 path holds it: an integer or a double is exact, a long double
    // constant such as 0.35L differs from its double by at most half a unit of the double's last
    // place.
    static Bounded Constant(long double c)
    {
        const double d = static_cast<double>(c);
        const double e = static_cast<long double>(d) == c ? 0.0 : (d < 0 ? -d : d) * 0x1p-52 + 0x1p-1000;
        return {BoundRules::Splat<V>(d), BoundRules::Splat<V>(e)};
    }
};

// Sum and difference: P = e1 + e2.
template <class L>
inline Bounded<L> operator+(const Bounded<L>& a, const Bounded<L>& b)
{
    const auto v = a.v + b.v;
    return {v, BoundRules::Settle(v, a.e + b.e)};
}
template <class L>
inline Bounded<L> operator-(const Bounded<L>& a, const Bounded<L>& b)
{
    const auto v = a.v - b.v;
    return {v, BoundRules::Settle(v, a.e + b.e)};
}
// Negation and magnitude are exact in both, and ||X| - |v|| <= |X - v|.
template <class L>
inline Bounded<L> operator-(const Bounded<L>& a)
{
    return {-a.v, a.e};
}
template <class L>
inline Bounded<L> Abs(const Bounded<L>& a)
{
    return {BoundRules::Magnitude(a.v), a.e};
}
// Product: X1 X2 - v1 v2 = v1 d2 + v2 d1 + d1 d2, so P = |v1| e2 + |v2| e1 + e1 e2.
template <class L>
inline Bounded<L> operator*(const Bounded<L>& a, const Bounded<L>& b)
{
    using BoundRules::Magnitude;
    const auto v = a.v * b.v;
    return {v, BoundRules::Settle(v, Magnitude(a.v) * b.e + Magnitude(b.v) * a.e + a.e * b.e)};
}
// Quotient: v1/v2 - X1/X2 = (v1 d2 - v2 d1)/(v2 X2) with |X2| >= |v2| - e2, so
// P = (|v1| e2 + |v2| e1)/(|v2| (|v2| - e2)) where e2 < |v2|; otherwise X2 may be 0: no bound.
template <class L>
inline Bounded<L> operator/(const Bounded<L>& a, const Bounded<L>& b)
{
    using BoundRules::Magnitude;
    const auto v = a.v / b.v;
    const auto divisor = Magnitude(b.v);
    const auto P = (Magnitude(a.v) * b.e + divisor * a.e) / (divisor * (divisor - b.e));
    return {v, BoundRules::Select(b.e < divisor, BoundRules::Settle(v, P), BoundRules::Splat<typename L::D>(BoundRules::Infinite))};
}

// Mixed with the constants of the formulas, which the x87 path holds exactly as written.
template <class L, class K, class = std::enable_if_t<std::is_arithmetic_v<K>>>
inline Bounded<L> Number(K k)
{
    return Bounded<L>::Constant(static_cast<long double>(k));
}
#define ROSACLE_BOUNDED_MIXED(op)                                                                      \
    template <class L, class K, class = std::enable_if_t<std::is_arithmetic_v<K>>>                   \
    inline Bounded<L> operator op(const Bounded<L>& a, K k) { return a op Number<L>(k); }             \
    template <class L, class K, class = std::enable_if_t<std::is_arithmetic_v<K>>>                   \
    inline Bounded<L> operator op(K k, const Bounded<L>& a) { return Number<L>(k) op a; }
ROSACLE_BOUNDED_MIXED(+)
ROSACLE_BOUNDED_MIXED(-)
ROSACLE_BOUNDED_MIXED(*)
ROSACLE_BOUNDED_MIXED(/)
#undef ROSACLE_BOUNDED_MIXED

// Square root (fsqrt is correctly rounded, so Settle covers both roundings): for X1 >= 0,
// |sqrt X1 - sqrt v1| = |X1 - v1| / (sqrt X1 + sqrt v1) <= e1 / sqrt v1. Needs e1 < v1 (X1 > 0).
template <class L>
inline Bounded<L> Sqrt(const Bounded<L>& a)
{
    typename L::D v;
    for (int j = 0; j < L::Width; ++j) v[j] = __builtin_sqrt(a.v[j] > 0 ? a.v[j] : 0.0);
    return {v, BoundRules::Select(a.e < a.v, BoundRules::Settle(v, a.e / v), BoundRules::Splat<typename L::D>(BoundRules::Infinite))};
}

// Sine and cosine: |sin X1 - sin v1| <= e1, then the x87 functions' and the fast ones' own
// errors. Only below 2^19 in magnitude, well inside the x87 table's reach.
template <bool Sine, class L>
inline Bounded<L> SinOrCos(const Bounded<L>& a)
{
    using namespace BoundRules;
    const auto e = Widen(a.e + (X87SinCosError + FastSinCosError));
    static_assert(SinCosReach < X87SinCosReach, "the fast reach lies inside the x87 table's");
    return {SinOrCosCore<Sine>(a.v), Select(Magnitude(a.v) + a.e <= SinCosReach, e, Splat<typename L::D>(Infinite))};
}
template <class L>
inline Bounded<L> Sin(const Bounded<L>& a)
{
    return SinOrCos<true>(a);
}
template <class L>
inline Bounded<L> Cos(const Bounded<L>& a)
{
    return SinOrCos<false>(a);
}

// Natural logarithm. Needs e1 <= v1/2, so X1 >= v1/2 > 0 and |ln X1 - ln v1| <= Q = 2 e1 / v1.
// With l the fast value, |ln v1| <= |l| + 1 and |ln X1| <= |l| + 1 + Q =: Lm; the x87 Ln is
// within 2^-56 (1 + Lm) of ln X1, the fast one within 2^-46 (1 + Lm) of ln v1.
template <class L>
inline Bounded<L> Ln(const Bounded<L>& a)
{
    using namespace BoundRules;
    using V = typename L::D;
    const auto inRange = (a.v >= 0x1p-1000) & (a.v <= 0x1p1000);
    const V safe = Select(inRange, a.v, Splat<V>(1));
    const V l = LnCore(safe);
    const V Q = 2 * a.e / safe;
    const V e = Widen(Q + (2 + Magnitude(l) + Q) * (FastLnError + X87LnError));
    return {l, Select(inRange & (a.e <= a.v * 0.5), e, Splat<V>(Infinite))};
}

// A channel of the fast path: Round of each lane's value and whether that is proven to be the
// x87 path's Round.
template <class L>
struct ProvenInt {
    typename L::D value;
    typename L::I proven;
};

// Proven where |v| < 2^30 (no saturation) and |v - k| + e < 1/2 - 2^-30 for the nearest
// integer k: then every X within e of v lies strictly within 1/2 of k, so Round(X) = k with no
// tie to break. v - k is exact (Sterbenz); the sum rounds by under 2^-54.
template <class L>
inline ProvenInt<L> Round(const Bounded<L>& a)
{
    using namespace BoundRules;
    constexpr double shifter = 0x1.8p52;
    const auto k = (a.v + shifter) - shifter;
    const auto proven = (Magnitude(a.v) < 0x1p30) & (Magnitude(a.v - k) + a.e < 0.5 - 0x1p-30);
    return {Select(proven, k, Splat<typename L::D>(0)), (typename L::I)proven};
}

// A point index of each lane, for the members whose point reads i: Ext(i) is exact in both paths.
template <class L>
struct LaneIndex {
    typename L::D i;
};
template <class L>
inline Bounded<L> Ext(const LaneIndex<L>& k)
{
    return {k.i, typename L::D{}};
}

// The helpers of Member.h on the fast path's numbers. A channel enters later formulas as
// Share(c) = c / 255: where c is proven it is the x87 path's integer, exact in both; where it is
// not, nothing computed from it is proven.
template <class L>
inline Bounded<L> Share(const ProvenInt<L>& c)
{
    const Bounded<L> share = Bounded<L>{c.value, typename L::D{}} / 255;
    return {share.v, BoundRules::Select((BoundRules::IntOf<typename L::D>)c.proven, share.e, BoundRules::Splat<typename L::D>(BoundRules::Infinite))};
}
template <class L>
inline Bounded<L> Squared(const Bounded<L>& y)
{
    return y * y;
}

// A function of an integer channel (Member.h's table lookups) where the channel is proven: the
// x87 path's own value of the function, rounded to double; nothing proven where it is not.
template <class L, class F>
inline Bounded<L> OfChannel(const ProvenInt<L>& c, F function)
{
    typename L::D value;
    for (int j = 0; j < L::Width; ++j) value[j] = static_cast<double>(function(static_cast<int32_t>(c.value[j])));
    const Bounded<L> x = Bounded<L>::FromRounded(value);
    return {x.v, BoundRules::Select((BoundRules::IntOf<typename L::D>)c.proven, x.e,
                                    BoundRules::Splat<typename L::D>(BoundRules::Infinite))};
}
// An integer step of a proven channel (SquareValue and the like): the same integer, lane by lane.
template <class L, class F>
inline ProvenInt<L> StepOfChannel(const ProvenInt<L>& c, F step)
{
    ProvenInt<L> out = c;
    for (int j = 0; j < L::Width; ++j)
        out.value[j] = c.proven[j] ? step(static_cast<int32_t>(c.value[j])) : 0;
    return out;
}

template <class L>
inline ProvenInt<L> SquareValue(const ProvenInt<L>& c)
{
    return StepOfChannel(c, [](int32_t v) { return SquareValue(v); });
}

// Sin and cos at once: the x87 SinCos gives the same values as Sin and Cos.
template <class L>
inline void SinCos(const Bounded<L>& x, Bounded<L>& sine, Bounded<L>& cosine)
{
    sine = Sin(x);
    cosine = Cos(x);
}

// A member's fixed values (Rosacle.h's Fixed) in the fast path's lanes.
template <class L>
struct BoundedFixed {
    Bounded<L> a, b;
};

// The three channels of W points of the fast path.
template <class L>
struct ProvenChannels {
    ProvenInt<L> R, G, B;
    // Whether all three channels of lane j are proven, and lane j's channels.
    bool Proven(int j) const { return R.proven[j] && G.proven[j] && B.proven[j]; }
    Channels Lane(int j) const
    {
        return {static_cast<int32_t>(R.value[j]), static_cast<int32_t>(G.value[j]), static_cast<int32_t>(B.value[j])};
    }
};

// What a member's formulas give for the number type T: Channels for the x87 path's Extended.
template <class T>
struct NumberOf;
template <>
struct NumberOf<Extended> {
    using ChannelsType = Channels;
    using FixedType = Fixed;
    static Extended From(Extended x) { return x; }
};
template <class L>
struct NumberOf<Bounded<L>> {
    using ChannelsType = ProvenChannels<L>;
    using FixedType = BoundedFixed<L>;
    static Bounded<L> From(Extended x) { return Bounded<L>::FromX87(x); }
};
template <class T>
using ChannelsOf = typename NumberOf<T>::ChannelsType;
// The number type of a member of (r, i, m) whose point index is of type I: Extended for an int,
// Bounded for the fast path's lanes of indexes.
template <class I>
struct NumberForIndex;
template <>
struct NumberForIndex<int> {
    using Type = Extended;
};
template <class L>
struct NumberForIndex<LaneIndex<L>> {
    using Type = Bounded<L>;
};
template <class I>
using NumberFor = typename NumberForIndex<I>::Type;
// A member's fixed values as the number type T reads them.
template <class T>
using FixedOf = typename NumberOf<T>::FixedType;

// An x87-computed value (per call, per row) as the number type T.
template <class T>
inline T Take(Extended x)
{
    return NumberOf<T>::From(x);
}

} // namespace Rosacle
