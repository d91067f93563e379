#pragma once
#include <cstdint>

namespace Rosacle {

// The process-wide pseudo-random generator: a 32-bit linear congruential sequence, the same
// on every target for the same seed.
void RandSeed(uint32_t seed);
void RandomizeFromClock();
// A uniform integer from 0 to n - 1 (0 when n < 1).
int32_t Random(int32_t n);

} // namespace Rosacle
