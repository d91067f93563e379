#pragma once
// The one way the tests make a rosette: fresh, laid for a surface, petal count and pattern.
#include "generator/Rosacle.h"
#include "generator/patterns/Engine.h"
#include "settings/SaverSettings.h"

struct Phases {
    Rosacle::Extended p1 = 0, p2 = 0, p3 = 0;
};

inline Rosacle::Rosette FreshRosette(int width, int height, int petals, int pattern = 1,
                                     Rosacle::PlotKind kind = Rosacle::PlotKind::Full, Phases phases = {})
{
    SaverSettings.Segment = petals;
    SaverSettings.Rosacle = pattern;
    Rosacle::Rosette rosette;
    rosette.Lay(width, height, kind);
    rosette.Phase1 = phases.p1;
    rosette.Phase2 = phases.p2;
    rosette.Phase3 = phases.p3;
    return rosette;
}

// Runs member k over rosette, its tables laid for k first (the layout stays).
inline void RunOver(Rosacle::Rosette& rosette, int k)
{
    if (rosette.Pattern != k) {
        SaverSettings.Rosacle = k;
        rosette.GeneratorInit();
    }
    Rosacle::RunMember(rosette, k);
}
