// The rosette's plot through its pixel map against plotting every point of every petal in
// turn, pixel by pixel.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>

#include "generator/Workers.h"
#include "raster/Plot.h"
#include "tests/native/FreshRosette.h"

using namespace Rosacle;

namespace {

uint32_t ColourOf(const Rosette& R, int r, int j) { return ColourValue(R.Red[r][j], R.Green[r][j], R.Blue[r][j]); }

void PlotEveryPoint(const Rosette& R, DibSurface& surface)
{
    if (R.Kind() == PlotKind::Preview) {
        for (int s = 0; s < R.Segment; ++s)
            for (int r = 1; r <= R.RowCount; ++r)
                for (int j = 0; j < R.RowPoints[r]; ++j) surface.SetPixel(R.PointX(s, r, j), R.PointY(s, r, j), ColourOf(R, r, j));
        surface.SetPixel(R.PointX(0, 0, 0), R.PointY(0, 0, 0), ColourOf(R, 1, 0));
        return;
    }
    for (int s = 0; s < R.Segment; ++s)
        for (int r = 0; r <= R.RowCount; ++r)
            for (int j = 0; j <= R.RowPoints[r]; ++j) surface.SetPixel(R.PointX(s, r, j), R.PointY(s, r, j), ColourOf(R, r, j));
}

// Colours that differ from point to point, so that the point a pixel keeps shows.
void ColourEveryPoint(Rosette& R, int seed)
{
    for (int r = 0; r <= R.RowCount; ++r)
        for (int j = 0; j <= R.RowPoints[r]; ++j) {
            R.Red[r][j] = r * 7 + seed;
            R.Green[r][j] = j * 13 + seed;
            R.Blue[r][j] = r * j + seed;
        }
}

void MakeSurface(DibSurface& s, int width, int height)
{
    s.SetBitCount(24);
    s.SetWidth(width);
    s.SetHeight(height);
    s.Fill(ColourValue(1, 2, 3));
}

TEST(Plot, EachPixelKeepsTheLastPointPlottedOntoIt)
{
    struct Case {
        int width, height, petals;
        PlotKind kind;
    };
    // A surface that holds the rosette, narrow and wide ones that cut it, the preview's kind.
    const Case cases[] = {{161, 121, 5, PlotKind::Full}, {60, 121, 9, PlotKind::Full}, {240, 41, 4, PlotKind::Full},
                          {152, 112, 7, PlotKind::Preview}, {40, 90, 12, PlotKind::Preview}};
    for (int workers : {1, 3}) {
        SetWorkerCount(workers);
        for (const Case& c : cases) {
            Rosette R = FreshRosette(c.width, c.height, c.petals, 1, c.kind);
            DibSurface plotted, expected;
            MakeSurface(plotted, c.width, c.height);
            MakeSurface(expected, c.width, c.height);
            for (int k = 0; k < 2; ++k) {
                ColourEveryPoint(R, 40 * k);
                R.Plot(plotted);
                PlotEveryPoint(R, expected);
            }
            const size_t bytes = static_cast<size_t>(expected.RowStride()) * static_cast<size_t>(c.height);
            EXPECT_EQ(std::memcmp(plotted.Bits(), expected.Bits(), bytes), 0)
                << c.width << "x" << c.height << ", " << c.petals << " petals, workers " << workers;

            // The box is the tight box of the written pixels.
            PixelBox written{c.width, c.height, 0, 0};
            for (int y = 0; y < c.height; ++y)
                for (int x = 0; x < c.width; ++x)
                    if (std::memcmp(plotted.Row(y) + 3 * x, "\3\2\1", 3) != 0)
                        written = {std::min(written.left, x), std::min(written.top, y), std::max(written.right, x + 1),
                                   std::max(written.bottom, y + 1)};
            const PixelBox box = R.Box();
            EXPECT_TRUE(box.left == written.left && box.top == written.top && box.right == written.right &&
                        box.bottom == written.bottom)
                << c.width << "x" << c.height << ": " << box.left << "," << box.top << " - " << box.right << ","
                << box.bottom;
        }
    }
    SetWorkerCount(1);
    // No surface, no box; a surface of another size than the laid one is left alone.
    const Rosette none = FreshRosette(0, 0, 4);
    EXPECT_LE(none.Box().right, none.Box().left);
    Rosette small = FreshRosette(30, 20, 4);
    DibSurface other;
    MakeSurface(other, 31, 20);
    small.Plot(other);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 31; ++x) ASSERT_EQ(std::memcmp(other.Row(y) + 3 * x, "\3\2\1", 3), 0);
}

} // namespace
