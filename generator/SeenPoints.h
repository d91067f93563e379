#pragma once
// Which points of the layout reach the screen. A point is seen when, in some petal, no later
// write of the plot lands on its pixel; a repeated point takes its colour from the point
// before it, so that one counts as seen too. The shared path computes and finishes only the
// seen points; the plain path (one worker) computes every point.
#include <cstdint>

#include "generator/Rosacle.h"

namespace Rosacle {

enum class PlotKind {
    // Every point of every petal, rows 0..RowCount, with the centre copied from row 1.
    Full,
    // The control-panel preview's: rows 1..RowCount without each row's last point, then the
    // centre in the colour of row 1, point 0.
    Preview,
};

// 1 for a seen point of the kind last laid, at rows 0..RowCount, points 0..RowPoints[r].
extern uint8_t SeenPoint[MaxRows][MaxPoints];

// Marks the seen points of the current layout's petals on a SurfaceWidth x SurfaceHeight
// surface, as kind plots them.
void LaySeenPoints(PlotKind kind);

// Makes the layout ready for frames that kind plots: on the shared path the seen marks and
// the pattern's point tables at the seen points, on the plain path the tables at every point.
// GeneratorStep and PreviewStep call it; it does nothing while what it made still holds.
void ReadyForPlot(PlotKind kind);

// The seen points of row r while a frame computes only those, null while it computes every
// point.
const uint8_t* SeenRow(int r);
// Sets what SeenRow gives: the laid marks, or (false) every point.
void ComputeSeenOnly(bool seenOnly);
bool ComputingSeenOnly();

} // namespace Rosacle
