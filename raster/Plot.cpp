#include "raster/Plot.h"

#include <cstdint>
#include <vector>

#include "generator/Rosacle.h"
#include "generator/Workers.h"
#include "settings/SaverSettings.h"

using namespace Rosacle;

namespace {

int32_t PlottedPetals()
{
    // A petal count the layout was not made for never indexes beyond the planes.
    return SaverSettings.Segment < MaxPetals ? SaverSettings.Segment : MaxPetals - 1;
}

RosettePlotter::Shape ShapeOf(const DibSurface& surface)
{
    return {LayoutCount, surface.Width(), surface.Height(), surface.RowStride(), surface.BitCount(), PlottedPetals()};
}

// Every point of every petal in turn; each worker plots those in its own band of surface
// rows, so a pixel that several points hit still ends with the last of them.
void PlotEveryPoint(DibSurface& surface, int32_t petals)
{
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

// visit(x, y, r, j) for every point of every petal in plotting order that falls on a surface
// of this size.
template <class Visit>
void ForEachPointOnSurface(int32_t width, int32_t height, int32_t petals, Visit visit)
{
    for (int s = 0; s < petals; ++s) {
        for (int r = 0; r <= RowCount; ++r) {
            const int32_t* xs = PointX[s][r];
            const int32_t* ys = PointY[s][r];
            for (int j = 0; j <= RowPoints[r]; ++j) {
                const int32_t x = xs[j], y = ys[j];
                if (x >= 0 && x < width && y >= 0 && y < height) visit(x, y, r, j);
            }
        }
    }
}

} // namespace

void PlotRosette(DibSurface& surface)
{
    if (surface.Empty()) return;
    PlotEveryPoint(surface, PlottedPetals());
}

void RosettePlotter::Plot(DibSurface& surface)
{
    if (surface.Empty()) return;
    const Shape shape = ShapeOf(surface);
    // The first frame of a shape plots every point, so a single frame does not pay for the list.
    if (!(coverShape_ == shape)) {
        coverShape_ = shape;
        coverLaid_ = false;
        PlotEveryPoint(surface, shape.petals);
        return;
    }
    if (!coverLaid_) {
        // Every pixel the rosette covers, once, with the point whose colour it keeps: the last
        // one plotted onto it in petal, row, point order.
        const int32_t width = surface.Width(), height = surface.Height();
        std::vector<uint32_t> last(static_cast<size_t>(width) * static_cast<size_t>(height), UINT32_MAX);
        const auto each = [&](auto visit) {
            ForEachPointOnSurface(width, height, shape.petals, [&](int32_t x, int32_t y, int r, int j) {
                visit(x, y, static_cast<uint32_t>(r) << 16 | static_cast<uint32_t>(j),
                      last[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)]);
            });
        };
        each([](int32_t, int32_t, uint32_t point, uint32_t& keeps) { keeps = point; });
        // Listed in plotting order, so that a frame reads the colour planes front to back.
        pixel_.clear();
        point_.clear();
        pixel_.reserve(last.size());
        point_.reserve(last.size());
        each([&](int32_t x, int32_t y, uint32_t point, uint32_t& keeps) {
            if (keeps != point) return;
            keeps = UINT32_MAX; // listed: the same point on another petal is not
            pixel_.push_back(static_cast<int32_t>(surface.Row(y) - surface.Bits()) + 3 * x);
            point_.push_back(point);
        });
        coverLaid_ = true;
    }
    // Each pixel once, so the workers share the list without meeting.
    uint8_t* const bits = surface.Bits();
    const size_t count = pixel_.size();
    const size_t workers = static_cast<size_t>(WorkerCount());
    OnEveryWorker([&](int worker) {
        const size_t first = count * static_cast<size_t>(worker) / workers;
        const size_t end = count * (static_cast<size_t>(worker) + 1) / workers;
        for (size_t k = first; k < end; ++k) {
            const uint32_t r = point_[k] >> 16, j = point_[k] & 0xFFFF;
            const uint32_t colour = ColourValue(Red[r][j], Green[r][j], Blue[r][j]);
            uint8_t* p = bits + pixel_[k];
            p[0] = static_cast<uint8_t>(colour >> 16);
            p[1] = static_cast<uint8_t>(colour >> 8);
            p[2] = static_cast<uint8_t>(colour);
        }
    });
}

PixelBox RosettePlotter::Box(const DibSurface& surface)
{
    const Shape shape = ShapeOf(surface);
    if (boxShape_ == shape) return box_;
    boxShape_ = shape;
    PixelBox box{shape.width, shape.height, 0, 0};
    ForEachPointOnSurface(shape.width, shape.height, shape.petals, [&box](int32_t x, int32_t y, int, int) {
        if (x < box.left) box.left = x;
        if (x >= box.right) box.right = x + 1;
        if (y < box.top) box.top = y;
        if (y >= box.bottom) box.bottom = y + 1;
    });
    if (box.right <= box.left) box = {};
    box_ = box;
    return box_;
}

void PlotPreview(DibSurface& surface)
{
    const int32_t petals = PlottedPetals();
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
