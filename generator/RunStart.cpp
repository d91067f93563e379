#include "generator/RunStart.h"

#include "generator/Random.h"
#include "settings/SaverSettings.h"

namespace Rosacle {

void SetStartPhases(Rosette& R, const StartPhaseRanges& p)
{
    R.Phase1 = static_cast<Extended>(Random(p.range1)) / p.divisor1;
    R.Phase2 = static_cast<Extended>(Random(p.range2)) / p.divisor2;
    R.Phase3 = static_cast<Extended>(Random(p.range3)) / p.divisor3;
}

void PickRandomChoices()
{
    if (SaverSettings.Rosacle_Random) SaverSettings.Rosacle = Random(39) + 1;
    if (SaverSettings.Petals_Random) SaverSettings.Segment = Random(8) + 4;
}

void SeedAndPick(const uint32_t* seed)
{
    if (seed) RandSeed(*seed);
    else RandomizeFromClock();
    PickRandomChoices();
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

SurfacePlace RosetteRun::Start(const RunStart& start, DibSurface* surface)
{
    SeedAndPick(start.seed);
    return Lay(start, surface);
}

SurfacePlace RosetteRun::Lay(const RunStart& start, DibSurface* surface)
{
    const SurfacePlace place = PlaceSurface(start.windowWidth, start.windowHeight);
    if (surface) SetUpSurface(*surface, place);
    rosette.Lay(place.width, place.height, start.kind);
    place_ = place;
    if (start.fixedPhases) {
        rosette.Phase1 = start.fixedPhases[0];
        rosette.Phase2 = start.fixedPhases[1];
        rosette.Phase3 = start.fixedPhases[2];
    } else {
        SetStartPhases(rosette, start.kind == PlotKind::Preview ? PreviewPhaseRanges : SaverPhaseRanges);
    }
    return place;
}

SurfacePlace RosetteRun::Reshape(int32_t windowWidth, int32_t windowHeight, DibSurface* surface)
{
    const SurfacePlace place = PlaceSurface(windowWidth, windowHeight);
    if (place.width != place_.width || place.height != place_.height) {
        if (surface) SetUpSurface(*surface, place);
        rosette.Lay(place.width, place.height, rosette.Kind());
    }
    place_ = place;
    return place;
}

} // namespace Rosacle
