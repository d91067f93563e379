#include "raster/Plot.h"

#include "generator/Rosacle.h"
#include "settings/SaverSettings.h"

using namespace Rosacle;

void PlotRosette(DibSurface& surface)
{
    // A petal count the layout was not made for never indexes beyond the planes.
    const int32_t petals = SaverSettings.Segment < MaxPetals ? SaverSettings.Segment : MaxPetals - 1;
    for (int s = 0; s < petals; ++s) {
        for (int r = 0; r <= RowCount; ++r) {
            const int32_t last = RowPoints[r];
            const int32_t* xs = PointX[s][r];
            const int32_t* ys = PointY[s][r];
            for (int j = 0; j <= last; ++j)
                surface.SetPixel(xs[j], ys[j], ColourValue(Red[r][j], Green[r][j], Blue[r][j]));
        }
    }
}

void PlotPreview(DibSurface& surface)
{
    const int32_t petals = SaverSettings.Segment < MaxPetals ? SaverSettings.Segment : MaxPetals - 1;
    for (int s = 0; s < petals; ++s) {
        for (int r = 1; r <= RowCount; ++r) {
            const int32_t* xs = PointX[s][r];
            const int32_t* ys = PointY[s][r];
            for (int j = 0; j < RowPoints[r]; ++j)
                surface.SetPixel(xs[j], ys[j], ColourValue(Red[r][j], Green[r][j], Blue[r][j]));
        }
    }
    if (RowCount >= 1) surface.SetPixel(PointX[0][0][0], PointY[0][0][0], ColourValue(Red[1][0], Green[1][0], Blue[1][0]));
}
