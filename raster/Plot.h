#pragma once
#include "raster/DibSurface.h"

// Plots every point of every petal of the generator's current frame into the surface:
// petal by petal, rows 0..RowCount, points 0..RowPoints[r], the low byte of each channel.
void PlotRosette(DibSurface& surface);

// The control-panel preview's plot: rows 1..RowCount, points 0..RowPoints[r] - 1 (the last
// point of each row is left out), then the centre in the colour of row 1, point 0.
void PlotPreview(DibSurface& surface);
