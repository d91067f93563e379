#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "generator/ExtendedMath.h"
#include "generator/Random.h"

using namespace Rosacle;

namespace {

// The distance from want in units of want's last place.
long double Ulps(Extended got, long double want)
{
    if (want == 0) return got == 0 ? 0 : std::numeric_limits<long double>::infinity();
    return std::fabs(got - want) / std::ldexp(1.0L, std::ilogb(want) - 63);
}

// An argument spread over [-range, range] with all 64 bits of its significand in use.
Extended Argument(Extended range)
{
    const Extended a = static_cast<Extended>(Random(1 << 30)) / (1 << 30);
    const Extended b = static_cast<Extended>(Random(1 << 30)) / (1 << 30);
    return (2 * a - 1 + b * 0x1p-31L) * range;
}

} // namespace

// Values worked out to 113 bits and rounded once; the same on every target.
TEST(ExtendedMath, KnownValues)
{
    EXPECT_EQ(Sin(0.0L), 0.0L);
    EXPECT_EQ(Cos(0.0L), 1.0L);
    EXPECT_LE(Ulps(Sin(1.0L), 0xd.76aa47848677021p-4L), 2);
    EXPECT_LE(Ulps(Cos(1.0L), 0x8.a51407da8345c92p-4L), 2);
    EXPECT_LE(Ulps(Sin(100.0L), -0x8.1a12dbc626dc038p-4L), 2);
    EXPECT_LE(Ulps(Cos(-1e6L), 0xe.fcefcc836996357p-4L), 2);
    EXPECT_LE(Ulps(Sin(HalfPi), 1.0L), 1);
}

#ifndef _WIN32
// glibc's sinl and cosl are correct to the last bit; mingw's are the bare instruction.
TEST(ExtendedMath, WithinTwoAndAHalfUnitsOfTheLibrary)
{
    RandSeed(5);
    for (const Extended range : {0.01L, 4.0L, 200.0L, 1e5L, 3e7L}) {
        long double worst = 0;
        for (int k = 0; k < 20000; ++k) {
            const Extended x = Argument(range);
            worst = std::fmax(worst, std::fmax(Ulps(Sin(x), sinl(x)), Ulps(Cos(x), cosl(x))));
        }
        EXPECT_LE(worst, 2.5L) << "range " << static_cast<double>(range);
    }
}
#endif

TEST(ExtendedMath, SinCosAgreesWithSinAndCos)
{
    RandSeed(6);
    for (int k = 0; k < 5000; ++k) {
        const Extended x = Argument(k % 2 ? 50.0L : 5e7L);
        Extended s, c;
        SinCos(x, s, c);
        ASSERT_TRUE(s == Sin(x) && c == Cos(x)) << static_cast<double>(x);
    }
}

// Beyond the table the instruction answers; 2^63 and more give 0 and infinities NaN on any
// x87, real or emulated.
TEST(ExtendedMath, LargeAndNonFiniteArguments)
{
    const Extended inf = std::numeric_limits<Extended>::infinity();
    EXPECT_EQ(Sin(0x1p62L), Detail::InstructionSin(0x1p62L));
    EXPECT_EQ(Sin(0x1p63L), 0.0L);
    EXPECT_EQ(Cos(-0x1p63L), 0.0L);
    EXPECT_EQ(Cos(-1e30L), 0.0L);
    EXPECT_EQ(Sin(std::numeric_limits<Extended>::max()), 0.0L);
    EXPECT_TRUE(std::isnan(Sin(inf)) && std::isnan(Cos(-inf)));
    EXPECT_TRUE(std::isnan(Cos(std::numeric_limits<Extended>::quiet_NaN())));
    Extended s, c;
    SinCos(std::numeric_limits<Extended>::quiet_NaN(), s, c);
    EXPECT_TRUE(std::isnan(s) && std::isnan(c));
    SinCos(inf, s, c);
    EXPECT_TRUE(std::isnan(s) && std::isnan(c));
}
