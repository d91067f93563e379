// The rosette's plot against plotting every point of every petal in turn, pixel by pixel.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>

#include "generator/Rosacle.h"
#include "generator/Workers.h"
#include "raster/DibSurface.h"
#include "raster/Plot.h"
#include "settings/SaverSettings.h"

using namespace Rosacle;

namespace {

void PlotEveryPoint(DibSurface& surface)
{
    for (int s = 0; s < SaverSettings.Segment; ++s)
        for (int r = 0; r <= RowCount; ++r)
            for (int j = 0; j <= RowPoints[r]; ++j)
                surface.SetPixel(PointX[s][r][j], PointY[s][r][j], ColourValue(Red[r][j], Green[r][j], Blue[r][j]));
}

// Colours that differ from point to point, so that the point a pixel keeps shows.
void ColourEveryPoint(int seed)
{
    for (int r = 0; r <= RowCount; ++r)
        for (int j = 0; j <= RowPoints[r]; ++j) {
            Red[r][j] = r * 7 + seed;
            Green[r][j] = j * 13 + seed;
            Blue[r][j] = r * j + seed;
        }
}

void Expect(RosettePlotter& plotter, int surfaceWidth, int surfaceHeight, int seed)
{
    DibSurface plotted, expected;
    for (DibSurface* s : {&plotted, &expected}) {
        s->SetBitCount(24);
        s->SetWidth(surfaceWidth);
        s->SetHeight(surfaceHeight);
        s->Fill(ColourValue(1, 2, 3));
    }
    // Three times: the first plot of a layout and surface, then from what it keeps of them.
    for (int k = 0; k < 3; ++k) {
        ColourEveryPoint(seed + k);
        plotter.Plot(plotted);
        PlotEveryPoint(expected);
    }
    const size_t bytes = static_cast<size_t>(expected.RowStride()) * static_cast<size_t>(surfaceHeight);
    EXPECT_EQ(std::memcmp(plotted.Bits(), expected.Bits(), bytes), 0)
        << surfaceWidth << "x" << surfaceHeight << ", " << SaverSettings.Segment << " petals";
}

TEST(Plot, EachPixelKeepsTheLastPointPlottedOntoIt)
{
    for (int workers : {1, 2, 3}) {
        SetWorkerCount(workers);
        SaverSettings = TSaverSettings();
        SaverSettings.Segment = 5;
        RosettePlotter plotter, other;
        LayGenerator(161, 121);
        Expect(plotter, 161, 121, 0);
        // Another colouring of the same layout, and a surface that cuts the rosette; two
        // plotters in turn keep their own lists.
        Expect(plotter, 161, 121, 40);
        Expect(other, 100, 70, 1);
        Expect(plotter, 161, 121, 50);
        // A new layout, and fewer petals on the same one.
        SaverSettings.Segment = 9;
        LayGenerator(97, 61);
        Expect(plotter, 97, 61, 2);
        SaverSettings.Segment = 4;
        Expect(plotter, 97, 61, 3);
    }
    SetWorkerCount(1);
}

// The box holds every pixel a plot writes and each of its edges holds one of them; a wide
// surface (the rosette in the middle) and one that cuts the rosette.
TEST(Plot, RosetteBoxIsTheTightBoxOfThePlottedPixels)
{
    SaverSettings = TSaverSettings();
    for (const auto& [width, height, petals] : {std::array<int, 3>{240, 101, 7}, std::array<int, 3>{90, 60, 4}}) {
        SaverSettings.Segment = petals;
        LayGenerator(width, height);
        DibSurface surface;
        surface.SetBitCount(24);
        surface.SetWidth(width);
        surface.SetHeight(height);
        surface.Fill(ColourValue(1, 2, 3));
        for (int r = 0; r <= RowCount; ++r)
            for (int j = 0; j <= RowPoints[r]; ++j) Red[r][j] = Green[r][j] = Blue[r][j] = 200;
        PlotRosette(surface);
        PixelBox written{width, height, 0, 0};
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (surface.Row(y)[3 * x] == 200) {
                    written = {std::min(written.left, x), std::min(written.top, y), std::max(written.right, x + 1),
                               std::max(written.bottom, y + 1)};
                }
        const PixelBox box = RosettePlotter().Box(surface);
        EXPECT_TRUE(box.left == written.left && box.top == written.top && box.right == written.right &&
                    box.bottom == written.bottom)
            << width << "x" << height << ": " << box.left << "," << box.top << " - " << box.right << "," << box.bottom;
    }
    SaverSettings.Segment = 4;
    LayGenerator(0, 0);
    DibSurface none;
    RosettePlotter plotter;
    EXPECT_LE(plotter.Box(none).right, plotter.Box(none).left);
}

} // namespace
