#include "generator/ColourPasses.h"
#include "generator/Random.h"
#include "generator/Rosacle.h"
#include "generator/SeenPoints.h"
#include "generator/patterns/Engine.h"
#include "settings/SaverSettings.h"

namespace Rosacle {

namespace {

// The phase drift and turning of every frame.
void DriftPhases()
{
    const Extended speed = SaverSettings.Speed;
    Phase1 = Phase1 + speed * Rate1 / 150;
    Phase2 = Phase2 + speed * Rate2 / 150;
    Phase3 = Phase3 + speed * Rate3 / 150;

    // Zero only before the first frame of the process.
    if (Rate1 == 0) Rate1 = -0.01L - static_cast<Extended>(Random(120)) / 5000;
    if (Rate2 == 0) Rate2 = 0.01L + static_cast<Extended>(Random(150)) / 5000;
    if (Rate3 == 0) Rate3 = 0.01L + static_cast<Extended>(Random(170)) / 5000;

    // A phase that left 0..2pi turns back; it is not clamped.
    if (Phase1 >= TwoPi) Rate1 = -0.01L - static_cast<Extended>(Random(150)) / 5000;
    if (Phase1 <= 0) Rate1 = 0.01L + static_cast<Extended>(Random(140)) / 5000;
    if (Phase2 >= TwoPi) Rate2 = -0.01L - static_cast<Extended>(Random(160)) / 5000;
    if (Phase2 <= 0) Rate2 = 0.01L + static_cast<Extended>(Random(120)) / 5000;
    if (Phase3 >= TwoPi) Rate3 = -0.01L - static_cast<Extended>(Random(170)) / 5000;
    if (Phase3 <= 0) Rate3 = 0.01L + static_cast<Extended>(Random(140)) / 5000;
}

// The passes chosen by the settings, then the centre copy.
void RunColourPasses()
{
    const TSaverSettings& s = SaverSettings;
    if (s.Pictures && !s.Gray) ThresholdPass();
    if (s.Background && s.Pictures) InvertPass();
    if (s.Gray) GrayPass();
    if (s.Oval) InvertPass();
    RimPass(s.Background);
    Red[0][0] = Red[1][0];
    Green[0][0] = Green[1][0];
    Blue[0][0] = Blue[1][0];
}

} // namespace

void GeneratorStep()
{
    DriftPhases();
    ReadyForPlot(PlotKind::Full);
    RunMember(SaverSettings.Rosacle);
    RunColourPasses();
}

void PreviewStep()
{
    DriftPhases();
    ReadyForPlot(PlotKind::Preview);
    RunMember(SaverSettings.Rosacle);
    PreviewFade();
}

} // namespace Rosacle
