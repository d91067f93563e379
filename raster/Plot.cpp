#include "raster/Plot.h"

#include "generator/Rosacle.h"
#include "generator/Workers.h"
#include "settings/SaverSettings.h"

using namespace Rosacle;

void PlotRosette(DibSurface& surface)
{
    // A petal count the layout was not made for never indexes beyond the planes.
    const int32_t petals = SaverSettings.Segment < MaxPetals ? SaverSettings.Segment : MaxPetals - 1;
    // Each worker plots the points that fall into its own band of surface rows, in the plain
    // order, so a pixel that several points hit still ends with the last of them.
    const int64_t bands = WorkerCount();
    const int64_t height = surface.Height();
    OnEveryWorker([&](int band) {
        const int32_t top = static_cast<int32_t>(height * band / bands);
        const int32_t bottom = static_cast<int32_t>(height * (band + 1) / bands);
        for (int s = 0; s < petals; ++s) {
            for (int r = 0; r <= RowCount; ++r) {
                const int32_t last = RowPoints[r];
                const int32_t* xs = PointX[s][r];
                const int32_t* ys = PointY[s][r];
                for (int j = 0; j <= last; ++j) {
                    const int32_t y = ys[j];
                    if (y >= top && y < bottom)
                        surface.SetPixel(xs[j], y, ColourValue(Red[r][j], Green[r][j], Blue[r][j]));
                }
            }
        }
    });
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
