#include "generator/RunStart.h"

#include "generator/Random.h"
#include "generator/Rosacle.h"
#include "settings/SaverSettings.h"

namespace Rosacle {

void SetStartPhases(const StartPhaseRanges& p)
{
    Phase1 = static_cast<Extended>(Random(p.range1)) / p.divisor1;
    Phase2 = static_cast<Extended>(Random(p.range2)) / p.divisor2;
    Phase3 = static_cast<Extended>(Random(p.range3)) / p.divisor3;
}

void PickRandomChoices()
{
    if (SaverSettings.Rosacle_Random) SaverSettings.Rosacle = Random(39) + 1;
    if (SaverSettings.Petals_Random) SaverSettings.Segment = Random(8) + 4;
}

SurfacePlace PlaceSurface(int32_t windowWidth, int32_t windowHeight)
{
    SurfacePlace place;
    place.width = windowWidth < MaxSurfaceWidth ? windowWidth : MaxSurfaceWidth;
    place.height = windowHeight < MaxSurfaceHeight ? windowHeight : MaxSurfaceHeight;
    place.left = (windowWidth - place.width) / 2;
    place.top = (windowHeight - place.height) / 2;
    return place;
}

void SetUpSurface(DibSurface& surface, const SurfacePlace& place)
{
    surface.SetBitCount(24);
    surface.SetWidth(place.width);
    surface.SetHeight(place.height);
    surface.Fill(SaverSettings.Background ? ColourValue(255, 255, 255) : ColourValue(0, 0, 0));
}

SurfacePlace StartRun(const RunStart& start, DibSurface* surface)
{
    if (start.seed) RandSeed(*start.seed);
    else RandomizeFromClock();
    PickRandomChoices();
    if (start.afterPicks) start.afterPicks();
    const SurfacePlace place = PlaceSurface(start.windowWidth, start.windowHeight);
    if (surface) SetUpSurface(*surface, place);
    LayGenerator(place.width, place.height);
    if (start.fixedPhases) {
        Phase1 = start.fixedPhases[0];
        Phase2 = start.fixedPhases[1];
        Phase3 = start.fixedPhases[2];
    } else {
        SetStartPhases(start.phases);
    }
    return place;
}

} // namespace Rosacle
