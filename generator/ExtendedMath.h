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

namespace Detail {

// The x87 instructions; sin and cos also serve the arguments the table leaves alone. An
// argument of magnitude 2^63 or more gives 0 and one that is not finite NaN, as a real x87
// answers them (it refuses the first, and signals the second as invalid); decided here because
// an emulated x87 computes values for both.
inline bool Refused(Extended x) { return !(Abs(x) < static_cast<Extended>(0x1p63)); }
inline Extended RefusedValue(Extended x) { return Abs(x) <= LDBL_MAX ? 0.0L : x - x; }

inline Extended InstructionSin(Extended x)
{
    if (Refused(x)) return RefusedValue(x);
    Extended r;
    __asm__("fsin" : "=t"(r) : "0"(x));
    return r;
}

inline Extended InstructionCos(Extended x)
{
    if (Refused(x)) return RefusedValue(x);
    Extended r;
    __asm__("fcos" : "=t"(r) : "0"(x));
    return r;
}

inline int64_t RoundToInt64(Extended x)
{
    int64_t v;
    __asm__("fistpll %0" : "=m"(v) : "t"(x) : "st");
    return v;
}

struct SineTable {
    Extended Value[640];
};
extern const SineTable Sine; // sin(2 pi j / 512), j = 0 .. 639

// Arguments below this magnitude go through the table; k x C1 and k x C2 stay exact. The
// constants are doubles (exactly: loading them is cheaper than loading extended values).
constexpr double TableLimit = 0x1p25;
constexpr double StepsPerRadian = 0x1.45f306dc9c883p+6; // 512 / (2 pi), near enough to pick k
// 2 pi / 512 as C1 + C2 + C3: 32 bits, the next 32 bits, the rest (44 bits).
constexpr double C1 = 0x1.921fb544p-7, C2 = 0x1.0b4611a6p-41, C3 = 0x1.3198a2e037p-76;

// x = 2 pi k / 512 + b with |b| <= pi / 512 (about): the table index of k, b, sin b - b and
// cos b - 1.
struct Reduced {
    unsigned Index;
    Extended B, SinLess, CosLess;
};

inline Reduced Reduce(Extended x)
{
    const int64_t k = RoundToInt64(x * static_cast<Extended>(StepsPerRadian));
    const Extended kk = static_cast<Extended>(k);
    const Extended b = ((x - kk * static_cast<Extended>(C1)) - kk * static_cast<Extended>(C2)) -
                       kk * static_cast<Extended>(C3);
    const Extended z = b * b;
    // The series' coefficients are doubles: their rounding lies far below the result's last bit.
    const Extended sinLess = b * (z * (static_cast<Extended>(-0x1.5555555555555p-3) +
                                       z * (static_cast<Extended>(0x1.1111111111111p-7) +
                                            z * static_cast<Extended>(-0x1.a01a01a01a01ap-13))));
    const Extended cosLess = z * (static_cast<Extended>(-0x1p-1) +
                                  z * (static_cast<Extended>(0x1.5555555555555p-5) +
                                       z * (static_cast<Extended>(-0x1.6c16c16c16c17p-10) +
                                            z * static_cast<Extended>(0x1.a01a01a01a01ap-16))));
    return {static_cast<unsigned>(k) & 511u, b, sinLess, cosLess};
}

inline bool InTable(Extended x) { return Abs(x) < static_cast<Extended>(TableLimit); }

} // namespace Detail

// Extended-precision sin and cos: sin(a + b) from a table of sin a at steps of 2 pi / 512 and
// short series in b, within about two units of the last place below 2^25 in magnitude
// (where the instruction's own 66-bit pi loses thousands); beyond, the instruction's result.
inline Extended Sin(Extended x)
{
    if (!Detail::InTable(x)) return Detail::InstructionSin(x);
    const Detail::Reduced r = Detail::Reduce(x);
    const Extended sa = Detail::Sine.Value[r.Index], ca = Detail::Sine.Value[r.Index + 128];
    return sa + (sa * r.CosLess + (ca * r.B + ca * r.SinLess));
}

inline Extended Cos(Extended x)
{
    if (!Detail::InTable(x)) return Detail::InstructionCos(x);
    const Detail::Reduced r = Detail::Reduce(x);
    const Extended sa = Detail::Sine.Value[r.Index], ca = Detail::Sine.Value[r.Index + 128];
    return ca + (ca * r.CosLess - (sa * r.B + sa * r.SinLess));
}

// Both at once, the same values as Sin and Cos.
inline void SinCos(Extended x, Extended& sine, Extended& cosine)
{
    if (!Detail::InTable(x)) {
        sine = Detail::InstructionSin(x);
        cosine = Detail::InstructionCos(x);
        return;
    }
    const Detail::Reduced r = Detail::Reduce(x);
    const Extended sa = Detail::Sine.Value[r.Index], ca = Detail::Sine.Value[r.Index + 128];
    sine = sa + (sa * r.CosLess + (ca * r.B + ca * r.SinLess));
    cosine = ca + (ca * r.CosLess - (sa * r.B + sa * r.SinLess));
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
