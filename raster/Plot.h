#pragma once
#include "raster/DibSurface.h"

// Plots every point of every petal of the generator's current frame into the surface:
// petal by petal, rows 0..RowCount, points 0..RowPoints[r], the low byte of each channel.
void PlotRosette(DibSurface& surface);

// The control-panel preview's plot: rows 1..RowCount, points 0..RowPoints[r] - 1 (the last
// point of each row is left out), then the centre in the colour of row 1, point 0.
void PlotPreview(DibSurface& surface);

// The smallest rectangle of surface pixels (right and bottom exclusive) that PlotRosette can
// write for the current layout: outside it a frame changes nothing. Empty (right <= left)
// when no point falls on the surface.
struct PixelBox {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
};
PixelBox RosetteBox(const DibSurface& surface);
