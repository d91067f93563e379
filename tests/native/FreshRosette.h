#pragma once
// The one way the tests make a rosette: fresh, laid for a surface, petal count and pattern.
#include "generator/Rosacle.h"
#include "settings/SaverSettings.h"

inline Rosacle::Rosette FreshRosette(int width, int height, int petals, int pattern = 1,
                                     Rosacle::PlotKind kind = Rosacle::PlotKind::Full)
{
    SaverSettings.Segment = petals;
    SaverSettings.Rosacle = pattern;
    Rosacle::Rosette rosette;
    rosette.Lay(width, height, kind);
    return rosette;
}
