#pragma once
#include "raster/DibSurface.h"

// Plots every point of every petal of the generator's current frame into the surface:
// petal by petal, rows 0..RowCount, points 0..RowPoints[r], the low byte of each channel.
void PlotRosette(DibSurface& surface);
