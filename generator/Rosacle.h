#pragma once
// The generator module: process-wide state, the layout of the rosette and the frame
// advance. One generator per process; whichever window is active owns it.
#include <cstdint>

#include "generator/ExtendedMath.h"

namespace Rosacle {

constexpr int MaxPetals = 13;
constexpr int MaxRows = 841;
constexpr int MaxPoints = 1321;
constexpr int MaxSurfaceWidth = 1920;
constexpr int MaxSurfaceHeight = 1200;

extern int32_t SurfaceWidth;
extern int32_t SurfaceHeight;

extern int32_t RowCount;
// Counts the layouts laid so far: what was worked out from one layout is kept while it stays.
extern uint32_t LayoutCount;
extern int32_t RowPoints[MaxRows];
extern int32_t PointX[MaxPetals][MaxRows][MaxPoints];
extern int32_t PointY[MaxPetals][MaxRows][MaxPoints];
extern int32_t OffsetX[MaxRows][MaxPoints];
extern int32_t OffsetY[MaxRows][MaxPoints];
extern Extended PointRamp[MaxRows][MaxPoints];
extern Extended PointShapeA[MaxRows][MaxPoints];
extern Extended PointShapeB[MaxRows][MaxPoints];
extern Extended PointShapeC[MaxRows][MaxPoints];

extern int32_t Red[MaxRows][MaxPoints];
extern int32_t Green[MaxRows][MaxPoints];
extern int32_t Blue[MaxRows][MaxPoints];

extern Extended Phase1, Phase2, Phase3;
extern Extended Rate1, Rate2, Rate3;

// Whether point j of row r lands where the point before it does (the last petal's offsets):
// such a repeated point takes that point's colours instead of its own.
inline bool RepeatsPointBefore(int r, int j)
{
    return j >= 1 && OffsetX[r][j] == OffsetX[r][j - 1] && OffsetY[r][j] == OffsetY[r][j - 1];
}

// Lays out the rosette for SurfaceWidth x SurfaceHeight, Segment petals and the pattern
// index Rosacle (from SaverSettings). Checks nothing: call LayGenerator instead.
void GeneratorInit();

// The one entry every owner uses to lay the generator out: brings Segment and Rosacle into
// range, refuses a surface beyond 1920 x 1200 (SaverError), sets the surface size and runs
// GeneratorInit.
void LayGenerator(int32_t width, int32_t height);

// Moves the phases, colours every point of one petal and runs the colour passes.
void GeneratorStep();

// The control-panel preview's frame advance: drift, the member, the fade to white.
void PreviewStep();

// Whether pattern k needs the per-point shape tables.
bool UsesShapeTables(int32_t pattern);

} // namespace Rosacle
