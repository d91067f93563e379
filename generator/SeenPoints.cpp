#include "generator/SeenPoints.h"

#include <cstring>
#include <vector>

#include "settings/SaverSettings.h"

namespace Rosacle {

uint8_t SeenPoint[MaxRows][MaxPoints];

namespace {

bool seenOnly = false;

} // namespace

void LaySeenPoints(PlotKind kind)
{
    const int32_t n = RowCount;
    const int32_t petals = SaverSettings.Segment < MaxPetals ? SaverSettings.Segment : MaxPetals - 1;
    for (int r = 0; r <= n; ++r) std::memset(SeenPoint[r], 0, static_cast<size_t>(RowPoints[r]) + 1);
    const int32_t width = SurfaceWidth, height = SurfaceHeight;
    if (width < 1 || height < 1 || n < 1) return;

    // The plot walked backwards: the first point met on a pixel is the one the pixel keeps.
    std::vector<uint64_t> taken((static_cast<size_t>(width) * static_cast<size_t>(height) + 63) / 64, 0);
    const auto take = [&](int32_t x, int32_t y) {
        if (x < 0 || x >= width || y < 0 || y >= height) return false;
        const size_t k = static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x);
        const uint64_t bit = uint64_t(1) << (k & 63);
        if (taken[k >> 6] & bit) return false;
        taken[k >> 6] |= bit;
        return true;
    };
    const bool preview = kind == PlotKind::Preview;
    // The preview's centre is plotted last, in the colour of row 1, point 0.
    if (preview && take(PointX[0][0][0], PointY[0][0][0])) SeenPoint[1][0] = 1;
    const int firstRow = preview ? 1 : 0;
    const int leaveOut = preview ? 1 : 0;
    for (int s = petals - 1; s >= 0; --s)
        for (int r = n; r >= firstRow; --r) {
            const int32_t* xs = PointX[s][r];
            const int32_t* ys = PointY[s][r];
            uint8_t* seen = SeenPoint[r];
            for (int j = RowPoints[r] - leaveOut; j >= 0; --j)
                if (take(xs[j], ys[j])) seen[j] = 1;
        }
    // The full plot's centre is row 1's point 0, copied after the colour passes.
    if (!preview && SeenPoint[0][0]) SeenPoint[1][0] = 1;
    // A seen repeated point needs the point it copies.
    for (int r = 1; r <= n; ++r)
        for (int j = RowPoints[r]; j >= 1; --j)
            if (SeenPoint[r][j] && RepeatsPointBefore(r, j)) SeenPoint[r][j - 1] = 1;
}

const uint8_t* SeenRow(int r) { return seenOnly ? SeenPoint[r] : nullptr; }

void ComputeSeenOnly(bool only) { seenOnly = only; }

bool ComputingSeenOnly() { return seenOnly; }

} // namespace Rosacle
