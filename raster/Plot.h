#pragma once
#include <cstdint>
#include <vector>

#include "raster/DibSurface.h"

// Plots every point of every petal of the generator's current frame into the surface:
// petal by petal, rows 0..RowCount, points 0..RowPoints[r], the low byte of each channel.
// Keeps nothing: a single frame (a wallpaper, an image file).
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

// The plot of frame after frame into one surface, as PlotRosette gives them. From the
// second frame of a layout and surface shape on it writes each covered pixel once, from a
// list of the pixels and the points whose colour they keep; the window that draws the
// frames owns it.
class RosettePlotter {
public:
    void Plot(DibSurface& surface);
    // The box of the current layout on this surface.
    PixelBox Box(const DibSurface& surface);

    // What a list or a box was worked out for.
    struct Shape {
        uint32_t layout = 0;
        int32_t width = -1, height = -1, stride = 0, bitCount = 0, petals = -1;
        bool operator==(const Shape& o) const
        {
            return layout == o.layout && width == o.width && height == o.height && stride == o.stride &&
                   bitCount == o.bitCount && petals == o.petals;
        }
    };

private:
    Shape coverShape_;
    bool coverLaid_ = false;
    std::vector<int32_t> pixel_;  // byte offset from the start of the pixel memory
    std::vector<uint32_t> point_; // row << 16 | point index
    Shape boxShape_;
    PixelBox box_;
};
