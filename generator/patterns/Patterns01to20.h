#pragma once
// Small pieces of members 3, 16 and 18 that are worth checking on their own.
#include <cmath>
#include <cstdint>

#include "generator/ExtendedMath.h"

namespace Rosacle {

// num / den for the divisors that contain the carried WorkD (members 16 and 18). Their own d
// keeps the divisor positive, but the first point of a call sees whatever another member
// left there: an exactly zero divisor, or a quotient that is not finite (an overflow, or a
// non-finite d), gives 0 instead of an infinity or a NaN.
inline Extended GuardedQuotient(Extended num, Extended den)
{
    if (den == 0) return 0;
    const Extended q = num / den;
    return std::isfinite(q) ? q : 0;
}

// Member 16's fold of period 2 on extended values: each reflection is tried on u, t and x
// in turn before the next. 0..8 maps onto the triangle wave between 0 and 1.
inline void SoftFold(Extended& u, Extended& t, Extended& x)
{
    for (int k = 4; k >= 1; --k) {
        if (u > k) u = 2 * k - u;
        if (t > k) t = 2 * k - t;
        if (x > k) x = 2 * k - x;
    }
}

// Member 3's row brightness: 255, fading to 26 over the last five rows of n.
inline int32_t EdgeFade(int r, int n)
{
    if (r < n - 4) return 255;
    return Round((static_cast<Extended>(n - r) * 0.9L / 4 + 0.1L) * 255);
}

} // namespace Rosacle
