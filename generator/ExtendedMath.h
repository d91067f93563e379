#pragma once
// Extended-precision (x87, 64-bit significand) arithmetic used by the generator. The same
// x87 instructions run on every target, so native and Windows renders agree bit for bit.
#include <cfloat>
#include <cstdint>

static_assert(LDBL_MANT_DIG == 64, "the generator needs the 80-bit extended type");

namespace Rosacle {

using Extended = long double;

constexpr Extended Pi = 3.14159265358979323846264338327950288L;
constexpr Extended HalfPi = 1.57079632679489661923132169163975144L;
constexpr Extended TwoPi = 6.28318530717958647692528676655900577L;
constexpr Extended ThreePi = 9.42477796076937971538793014983850865L;
constexpr Extended FourPi = 12.5663706143591729538505735331180115L;
constexpr Extended FivePi = 15.7079632679489661923132169163975144L;
constexpr Extended SixPi = 18.8495559215387594307758602996770173L;
constexpr Extended EightPi = 25.1327412287183459077011470662360231L;

inline Extended Abs(Extended x) { return x < 0 ? -x : x; }

// sin and cos of an argument of magnitude 2^63 or more give 0 (the instruction refuses it).
inline Extended Sin(Extended x)
{
    Extended r;
    unsigned short status;
    __asm__("fsin\n\tfnstsw %1" : "=t"(r), "=a"(status) : "0"(x));
    return (status & 0x400) ? 0.0L : r;
}

inline Extended Cos(Extended x)
{
    Extended r;
    unsigned short status;
    __asm__("fcos\n\tfnstsw %1" : "=t"(r), "=a"(status) : "0"(x));
    return (status & 0x400) ? 0.0L : r;
}

// Both at once, the same values as Sin and Cos. An argument the instruction would refuse
// (magnitude 2^63 or more) is caught before, since it would leave one value, not two.
inline void SinCos(Extended x, Extended& sine, Extended& cosine)
{
    if (Abs(x) >= 0x1p63L) {
        sine = cosine = 0.0L;
        return;
    }
    __asm__("fsincos" : "=t"(cosine), "=u"(sine) : "0"(x));
}

inline Extended Sqrt(Extended x)
{
    Extended r;
    __asm__("fsqrt" : "=t"(r) : "0"(x));
    return r;
}

// Natural logarithm: ln 2 x log2(x).
inline Extended Ln(Extended x)
{
    Extended r;
    __asm__("fldln2\n\tfxch %%st(1)\n\tfyl2x" : "=t"(r) : "0"(x));
    return r;
}

// Nearest integer, ties to even (the x87 default rounding). A value that is not finite or
// lies beyond the 32-bit range saturates: NaN and -inf give INT32_MIN, +inf INT32_MAX.
inline int32_t Round(Extended x)
{
    int64_t v;
    __asm__("fistpll %0" : "=m"(v) : "t"(x) : "st");
    if (v == INT64_MIN) return x > 0 ? INT32_MAX : INT32_MIN;
    if (v > INT32_MAX) return INT32_MAX;
    if (v < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(v);
}

// An integer result beyond the 32-bit range saturates, as Round does.
inline int32_t Saturate(int64_t v)
{
    return v > INT32_MAX ? INT32_MAX : v < INT32_MIN ? INT32_MIN : static_cast<int32_t>(v);
}

// Threads of a Windows process start with the x87 precision control at 53 bits; every
// thread that computes must call this first.
inline void SetExtendedPrecision()
{
    unsigned short cw;
    __asm__ __volatile__("fnstcw %0" : "=m"(cw));
    cw = static_cast<unsigned short>((cw & ~0x0C00) | 0x0300); // 64-bit precision, round to nearest
    __asm__ __volatile__("fldcw %0" : : "m"(cw));
}

} // namespace Rosacle
