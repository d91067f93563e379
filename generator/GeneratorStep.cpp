#include "generator/ColourPasses.h"
#include "generator/Random.h"
#include "generator/Rosacle.h"
#include "generator/Workers.h"
#include "generator/patterns/Engine.h"
#include "settings/SaverSettings.h"

namespace Rosacle {

// The phase drift and turning of every frame.
void Rosette::DriftPhases()
{
    const Extended speed = SaverSettings.Speed;
    Phase1 = Phase1 + speed * Rate1 / 150;
    Phase2 = Phase2 + speed * Rate2 / 150;
    Phase3 = Phase3 + speed * Rate3 / 150;

    // Zero only before a rosette's first frame.
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

namespace {

// The passes chosen by the settings, then the centre copy.
void RunColourPasses(Rosette& R)
{
    const TSaverSettings& s = SaverSettings;
    if (s.Pictures && !s.Gray) ThresholdPass(R);
    if (s.Background && s.Pictures) InvertPass(R);
    if (s.Gray) GrayPass(R);
    if (s.Oval) InvertPass(R);
    RimPass(R, s.Background);
    if (R.RowCount < 1) return;
    R.Red[0][0] = R.Red[1][0];
    R.Green[0][0] = R.Green[1][0];
    R.Blue[0][0] = R.Blue[1][0];
}

} // namespace

void Rosette::GeneratorStep()
{
    DriftPhases();
    ColourPoints();
}

void Rosette::PreviewStep()
{
    DriftPhases();
    ColourPoints();
}

void Rosette::ColourPoints()
{
    ReadyTables();
    RunMember(*this, Pattern);
    if (kind_ == PlotKind::Preview) PreviewFade(*this);
    else RunColourPasses(*this);
}

void Rosette::ReadyTables()
{
    // The shared path computes only the seen points; the plain path every point, which
    // needs the tables at every point.
    seenOnly_ = WorkerCount() > 1;
    if (!seenOnly_ && tablesSeenOnly_) LayPointTables(false);
}

void Rosette::Step()
{
    if (kind_ == PlotKind::Preview) PreviewStep();
    else GeneratorStep();
}

void Rosette::StepAlong(const Rosette& leader)
{
    // The leader's drift draws random numbers when a phase turns: taking its phases and rates
    // instead of drifting keeps the two together and the random sequence the leader's alone.
    Phase1 = leader.Phase1;
    Phase2 = leader.Phase2;
    Phase3 = leader.Phase3;
    Rate1 = leader.Rate1;
    Rate2 = leader.Rate2;
    Rate3 = leader.Rate3;
    ColourPoints();
}

} // namespace Rosacle
