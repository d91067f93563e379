#include "generator/Random.h"

#include <chrono>

namespace Rosacle {

static uint32_t Seed = 0;

void RandSeed(uint32_t seed) { Seed = seed; }

void RandomizeFromClock()
{
    auto now = std::chrono::system_clock::now().time_since_epoch();
    auto ticks = std::chrono::duration_cast<std::chrono::microseconds>(now).count();
    Seed = static_cast<uint32_t>(ticks ^ (ticks >> 32));
}

int32_t Random(int32_t n)
{
    Seed = Seed * 134775813u + 1u;
    if (n < 1) return 0;
    return static_cast<int32_t>((static_cast<uint64_t>(Seed) * static_cast<uint32_t>(n)) >> 32);
}

} // namespace Rosacle
