#pragma once
// A run of the rosette in one window, the same for every front end: its start (the seed, the
// random picks, the surface of at most 1920 x 1200 centred in the window, the layout and the
// start phases), a reshape of the window and a frame.
#include <cstdint>

#include "generator/ExtendedMath.h"
#include "generator/Rosacle.h"
#include "raster/DibSurface.h"

namespace Rosacle {

// Start phase k is Random(range_k) / divisor_k.
struct StartPhaseRanges {
    int32_t range1, divisor1, range2, divisor2, range3, divisor3;
};
constexpr StartPhaseRanges SaverPhaseRanges{1800, 320, 2400, 430, 4200, 710};
// The control-panel preview's.
constexpr StartPhaseRanges PreviewPhaseRanges{1256, 220, 1884, 350, 2512, 500};

// Sets the start phases of R drawn from Random.
void SetStartPhases(Rosette& R, const StartPhaseRanges& ranges = SaverPhaseRanges);

// The start-time random picks of pattern (1..39) and petal count (4..11), as the settings ask.
void PickRandomChoices();

// Seeds the random numbers (from the clock when seed is null) and makes the random picks.
void SeedAndPick(const uint32_t* seed);

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
    // The control-panel preview's frames, or the full ones.
    PlotKind kind = PlotKind::Full;
    // Start phases of the caller's instead of random ones.
    const Extended* fixedPhases = nullptr;
};

class RosetteRun {
public:
    // SeedAndPick, then Lay.
    SurfacePlace Start(const RunStart& start, DibSurface* surface);
    // The start after the picks: sets up surface (when given) at its place in the window,
    // lays the rosette out for it and sets the start phases. A surface beyond 1920 x 1200
    // throws SaverError from the layout.
    SurfacePlace Lay(const RunStart& start, DibSurface* surface);
    // The window has a new size: the same placement as at the start; a surface of a new size
    // is set up and laid again, the phases go on from where they were.
    SurfacePlace Reshape(int32_t windowWidth, int32_t windowHeight, DibSurface* surface);
    // One frame into surface.
    void Frame(DibSurface& surface) { rosette.Frame(surface); }

    const SurfacePlace& Place() const { return place_; }

    Rosette rosette;

private:
    SurfacePlace place_;
};

} // namespace Rosacle
