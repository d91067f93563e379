#pragma once
// The start of a run of the generator, the same for every front end: the seed, the random
// picks, the surface (at most 1920 x 1200, centred in the window), the layout and the start
// phases.
#include <cstdint>
#include <functional>

#include "generator/ExtendedMath.h"
#include "raster/DibSurface.h"

namespace Rosacle {

// Start phase k is Random(range_k) / divisor_k.
struct StartPhaseRanges {
    int32_t range1, divisor1, range2, divisor2, range3, divisor3;
};
constexpr StartPhaseRanges SaverPhaseRanges{1800, 320, 2400, 430, 4200, 710};
// The control-panel preview's.
constexpr StartPhaseRanges PreviewPhaseRanges{1256, 220, 1884, 350, 2512, 500};

// Sets the start phases drawn from Random.
void SetStartPhases(const StartPhaseRanges& ranges = SaverPhaseRanges);

// The start-time random picks of pattern (1..39) and petal count (4..11), as the settings ask.
void PickRandomChoices();

// Where the surface for a window of width x height goes.
struct SurfacePlace {
    int32_t width = 0, height = 0, left = 0, top = 0;
};
SurfacePlace PlaceSurface(int32_t windowWidth, int32_t windowHeight);

// Makes surface the size of the place, filled with the background of the settings.
void SetUpSurface(DibSurface& surface, const SurfacePlace& place);

struct RunStart {
    int32_t windowWidth = 0, windowHeight = 0;
    // Null: seeded from the clock.
    const uint32_t* seed = nullptr;
    StartPhaseRanges phases = SaverPhaseRanges;
    // Start phases of the caller's instead of random ones.
    const Extended* fixedPhases = nullptr;
    // Runs after the random picks, before the layout (the settings dialog shows the picks
    // in its controls there, which may bring them into their ranges).
    std::function<void()> afterPicks;
};

// Seeds the random numbers, makes the random picks, sets up surface (when given) and lays
// the generator out for it, then sets the start phases. Returns where the surface goes in
// the window; a surface beyond the planes throws SaverError from the layout.
SurfacePlace StartRun(const RunStart& start, DibSurface* surface);

} // namespace Rosacle
