#include <cmath>

#include "common/SaverError.h"
#include "generator/Rosacle.h"
#include "generator/Workers.h"
#include "generator/patterns/Engine.h"
#include "settings/SaverSettings.h"

namespace Rosacle {

bool UsesShapeTables(int32_t pattern)
{
    return pattern == 21 || pattern == 23 || pattern == 24 || pattern == 25 || pattern == 40;
}

bool UsesRamp(int32_t pattern) { return pattern == 9 || pattern == 10 || pattern == 37; }

namespace {

// The a and b of patterns 21, 23, 24 and 25 turned into the three table values.
void SetShapeFromAngles(Rosette& R, int r, int j, Extended a, Extended b)
{
    R.PointShapeA[r][j] = Cos(a) * Sin(Pi * b);
    R.PointShapeB[r][j] = Sin(a) * Sin(Pi * b);
    R.PointShapeC[r][j] = Cos(a) * Cos(TwoPi * b);
}

// Pattern 40: a short iteration of three sequences per point. When it runs its full course
// the third value is the seventh term, one more application of the same recurrence.
void SetShapeFromIteration(Rosette& R, int r, int j, Extended q)
{
    Extended x[8], y[8], z[8];
    x[1] = Abs(1 - 2 * q) * 1.4L + 1.8L;
    y[1] = Abs(static_cast<Extended>(r) / R.SurfaceHeight) * 2 + 0.5L;
    z[1] = Ln((x[1] * x[1]) * (y[1] * y[1]) + 0.2L) * 1.45L;
    auto next = [&](int k) {
        Extended sinX, cosX, sinZ, cosZ;
        SinCos(x[k], sinX, cosX);
        SinCos(z[k], sinZ, cosZ);
        const Extended sinY = Sin(y[k]);
        x[k + 1] = sinY + cosX - cosZ + 0.2L;
        y[k + 1] = sinY + sinX - sinZ + 0.32L;
        z[k + 1] = Ln((x[k + 1] * x[k + 1]) * (y[k + 1] * y[k + 1]) + 0.1L) * 0.7L;
    };
    int k = 1;
    for (;;) {
        next(k);
        if (z[k + 1] > 1 && k >= 4) break;
        ++k;
        if (k == 6) {
            next(6);
            break;
        }
    }
    R.PointShapeA[r][j] = Abs(z[k - 1]);
    R.PointShapeB[r][j] = Abs(z[k]);
    R.PointShapeC[r][j] = Abs(z[k + 1]);
}

void SetShapeTables(Rosette& R, int32_t pattern, int r, int j)
{
    const int32_t S = R.Segment;
    const int32_t n = R.RowCount;
    const Extended P = static_cast<Extended>(r) * TwoPi / S;
    const Extended q = j / P;
    switch (pattern) {
    case 21: {
        Extended s = Sin(TwoPi * q);
        Extended w = Sin(static_cast<Extended>(r) * SixPi / n) / 5;
        SetShapeFromAngles(R, r, j, s, s * s / 5 + static_cast<Extended>(r) * Pi / n + w * w);
        break;
    }
    case 23:
        SetShapeFromAngles(R, r, j, Sin(Pi * q),
                           Sin(TwoPi * q) / 5 + static_cast<Extended>(r) * Pi / n +
                               Sin(static_cast<Extended>(r) * SixPi / n) / 5);
        break;
    case 24:
        SetShapeFromAngles(R, r, j, Sin(Pi * q), Sin(static_cast<Extended>(r) * TwoPi / n));
        break;
    case 25:
        SetShapeFromAngles(R, r, j, TwoPi * q,
                           Sin(Pi * q) / 5 + static_cast<Extended>(r) * Pi / n +
                               Sin(static_cast<Extended>(r) * ThreePi / n) / 5);
        break;
    case 40:
        SetShapeFromIteration(R, r, j, q);
        break;
    default:
        break;
    }
}

} // namespace

namespace {

// The angle of point j of row r from its petal's axis, the same in every petal; the row's
// two values are worked out once per row, not per point.
struct RowTurn {
    Extended start, radius;
    RowTurn(int r, int32_t S) : start(static_cast<Extended>(r) * Pi / S), radius(static_cast<Extended>(r) + 0.00001L) {}
    Extended operator()(int j) const { return (j - start) / radius; }
};

Extended PetalAngle(int s, int32_t S) { return static_cast<Extended>(2 * s) * Pi / S; }

// The offset of a point from the centre before it is rounded.
struct Offset {
    Extended sx, sy;
};

Offset OffsetOf(Extended petalAngle, int r, Extended turn)
{
    const Extended theta = petalAngle + turn;
    Extended sine, cosine;
    SinCos(theta, sine, cosine);
    return {sine * r / 1.4L, cosine * r / 1.4L};
}

Offset OffsetOf(int s, int r, int j, int32_t S) { return OffsetOf(PetalAngle(s, S), r, RowTurn(r, S)(j)); }

int32_t ClampedY(int32_t y, int32_t height)
{
    if (y < 0) y = 0;
    if (y > height - 1) y = height - 1;
    return y;
}

} // namespace

int32_t Rosette::PointX(int s, int r, int j) const
{
    const Extended halfWidth = static_cast<Extended>(SurfaceWidth) / 2;
    if (r == 0) return Round(halfWidth);
    return Round(OffsetOf(s, r, j, Segment).sx + halfWidth);
}

int32_t Rosette::PointY(int s, int r, int j) const
{
    const Extended halfHeight = static_cast<Extended>(SurfaceHeight) / 2;
    if (r == 0) return Round(halfHeight);
    return ClampedY(Round(OffsetOf(s, r, j, Segment).sy + halfHeight), SurfaceHeight);
}

int32_t Rosette::OffsetX(int r, int j) const
{
    return Round(OffsetOf(Segment - 1, r, j, Segment).sx);
}

int32_t Rosette::OffsetY(int r, int j) const
{
    return Round(OffsetOf(Segment - 1, r, j, Segment).sy);
}

void Rosette::LayGeometry()
{
    const int32_t S = Segment, n = RowCount;
    RowPoints.assign(static_cast<size_t>(n) + 1, 0);
    for (int r = 1; r <= n; ++r) RowPoints[r] = Round(static_cast<Extended>(r) * TwoPi / S);
    rowStart_.assign(static_cast<size_t>(n) + 2, 0);
    for (int r = 0; r <= n; ++r) rowStart_[r + 1] = rowStart_[r] + static_cast<uint32_t>(RowPoints[r]) + 1;
    repeated_.Lay(rowStart_);
    SeenPoint.Lay(rowStart_);
    Red.Lay(rowStart_);
    Green.Lay(rowStart_);
    Blue.Lay(rowStart_);
    LayPixelMap();
}

// The pixel map, the repeated points and the seen marks. Petal by petal the positions are
// worked out row by row (rows shared among the workers), then written into the map in
// plotting order, so that each pixel ends with the last point plotted onto it.
void Rosette::LayPixelMap()
{
    const int32_t S = Segment, n = RowCount, width = SurfaceWidth, height = SurfaceHeight;
    const Extended halfWidth = static_cast<Extended>(width) / 2;
    const Extended halfHeight = static_cast<Extended>(height) / 2;
    // Every point lies within RowCount / 1.4 of the centre, rounded: the map needs no more.
    const Extended reach = static_cast<Extended>(n) / 1.4L + 2;
    const auto within = [](Extended low, Extended high, int32_t size) {
        PixelBox b;
        b.left = low < 0 ? 0 : static_cast<int32_t>(std::floor(static_cast<double>(low)));
        b.right = high > size ? size : static_cast<int32_t>(std::ceil(static_cast<double>(high)));
        if (b.right < b.left) b.right = b.left;
        return b;
    };
    const PixelBox xs = within(halfWidth - reach, halfWidth + reach + 1, width);
    const PixelBox ys = within(halfHeight - reach, halfHeight + reach + 1, height);
    const PixelBox mapBox{xs.left, ys.left, xs.right, ys.right};
    const int32_t mapWidth = mapBox.right - mapBox.left;
    // The map, a pixel of the bounds after the other; made into runs below.
    std::vector<uint32_t> map(static_cast<size_t>(mapWidth) * static_cast<size_t>(mapBox.bottom - mapBox.top), NoPoint);
    box_ = {};
    runs_.clear();
    runs_.shrink_to_fit();
    runPoints_.clear();
    runPoints_.shrink_to_fit();
    stripRunStart_.clear();
    if (map.empty()) return;

    const auto mapIndex = [&](int32_t x, int32_t y) -> uint32_t {
        if (x < mapBox.left || x >= mapBox.right || y < mapBox.top || y >= mapBox.bottom) return NoPoint;
        return static_cast<uint32_t>((y - mapBox.top) * mapWidth + (x - mapBox.left));
    };
    const bool preview = kind_ == PlotKind::Preview;
    const int leaveOut = preview ? 1 : 0;
    const uint32_t centre = mapIndex(Round(halfWidth), Round(halfHeight));
    // The map index of every point of the petal at hand.
    std::vector<uint32_t> pixel(rowStart_.back(), NoPoint);
    for (int s = 0; s < S; ++s) {
        const bool lastPetal = s == S - 1;
        const Extended petalAngle = PetalAngle(s, S);
        ForEachRow(1, n, [&](int r) {
            const int32_t m = RowPoints[r];
            const RowTurn turn(r, S);
            uint32_t* row = pixel.data() + rowStart_[r];
            uint8_t* repeated = repeated_[r];
            int32_t lastX = 0, lastY = 0;
            for (int j = 0; j <= m; ++j) {
                const Offset o = OffsetOf(petalAngle, r, turn(j));
                row[j] = mapIndex(Round(o.sx + halfWidth), ClampedY(Round(o.sy + halfHeight), height));
                if (lastPetal) {
                    // Only the last petal's offsets decide which points repeat.
                    const int32_t x = Round(o.sx), y = Round(o.sy);
                    repeated[j] = j >= 1 && x == lastX && y == lastY;
                    lastX = x;
                    lastY = y;
                }
            }
        });
        if (!preview && centre != NoPoint) map[centre] = 0;
        for (int r = 1; r <= n; ++r) {
            const uint32_t first = rowStart_[r];
            const int32_t last = RowPoints[r] - leaveOut;
            for (int j = 0; j <= last; ++j) {
                const uint32_t k = pixel[first + static_cast<uint32_t>(j)];
                if (k != NoPoint) map[k] = first + static_cast<uint32_t>(j);
            }
        }
    }
    // The preview's centre is plotted last, in the colour of row 1, point 0.
    if (preview && n >= 1 && centre != NoPoint) map[centre] = rowStart_[1];

    // The runs of pixels some point lands on, strip by strip and row by row within a strip:
    // a strip's points stay in the processor's nearest cache while the plot goes down it.
    // The points the runs keep are seen.
    size_t covered = 0;
    for (const uint32_t k : map) covered += k != NoPoint;
    runPoints_.reserve(covered);
    PixelBox box{mapBox.right, mapBox.bottom, mapBox.left, mapBox.top};
    const int32_t strips = (mapWidth + StripWidth - 1) / StripWidth;
    stripRunStart_.assign(static_cast<size_t>(strips) + 1, 0);
    for (int32_t strip = 0; strip < strips; ++strip) {
        const int32_t left = mapBox.left + strip * StripWidth;
        const int32_t right = left + StripWidth < mapBox.right ? left + StripWidth : mapBox.right;
        stripRunStart_[static_cast<size_t>(strip)] = static_cast<uint32_t>(runs_.size());
        for (int32_t y = mapBox.top; y < mapBox.bottom; ++y) {
            const uint32_t* line = map.data() + static_cast<size_t>(y - mapBox.top) * static_cast<size_t>(mapWidth);
            for (int32_t x = left; x < right; ++x) {
                if (line[x - mapBox.left] == NoPoint) continue;
                PixelRun run{y, x, x, static_cast<uint32_t>(runPoints_.size())};
                for (; run.end < right && line[run.end - mapBox.left] != NoPoint; ++run.end) {
                    const uint32_t k = line[run.end - mapBox.left];
                    SeenPoint.At(k) = 1;
                    runPoints_.push_back(k);
                }
                x = run.end;
                runs_.push_back(run);
                if (run.left < box.left) box.left = run.left;
                if (run.end > box.right) box.right = run.end;
                if (y < box.top) box.top = y;
                if (y >= box.bottom) box.bottom = y + 1;
            }
        }
    }
    stripRunStart_[static_cast<size_t>(strips)] = static_cast<uint32_t>(runs_.size());
    runs_.shrink_to_fit();
    box_ = box.right <= box.left ? PixelBox{} : box;
    // The full plot's centre is row 1's point 0, copied after the colour passes.
    if (!preview && n >= 1 && SeenPoint[0][0]) SeenPoint[1][0] = 1;
    // A seen repeated point needs the point it copies.
    for (int r = 1; r <= n; ++r)
        for (int j = RowPoints[r]; j >= 1; --j)
            if (SeenPoint[r][j] && RepeatsPointBefore(r, j)) SeenPoint[r][j - 1] = 1;
}

// The ramp, the shape tables and the fixed values of the laid pattern, at every point or
// (seenOnly) at the seen ones; the tables the pattern does not read take no memory.
void Rosette::LayPointTables(bool seenOnly)
{
    tablesSeenOnly_ = seenOnly;
    const auto lay = [this](RowPlane<Extended>& plane, bool used) {
        if (used) plane.Lay(rowStart_);
        else plane.Free();
    };
    lay(PointRamp, UsesRamp(Pattern));
    lay(PointShapeA, UsesShapeTables(Pattern));
    lay(PointShapeB, UsesShapeTables(Pattern));
    lay(PointShapeC, UsesShapeTables(Pattern));
    if (PointRamp.Laid())
        for (int r = 1; r <= RowCount; ++r) {
            const int32_t n = RowPoints[r];
            for (int j = 0; j <= n; ++j) PointRamp[r][j] = Abs(1 - static_cast<Extended>(2 * j) / n);
        }
    if (PointShapeA.Laid())
        ForEachRow(1, RowCount, [this, seenOnly](int r) {
            const uint8_t* seen = seenOnly ? SeenPoint[r] : nullptr;
            for (int j = 0; j <= RowPoints[r]; ++j)
                if (!seen || seen[j]) SetShapeTables(*this, Pattern, r, j);
        });
    LayFixedValues(*this, Pattern, seenOnly);
}

void Rosette::GeneratorInit()
{
    ClampLayoutSettings();
    Segment = SaverSettings.Segment;
    Pattern = SaverSettings.Rosacle;
    RowCount = Round(static_cast<Extended>(SurfaceHeight) * 1.4L / 2);
    const Geometry geometry{SurfaceWidth, SurfaceHeight, Segment, kind_};
    if (!(geometry == laid_)) {
        LayGeometry();
        laid_ = geometry;
    }
    LayPointTables(WorkerCount() > 1);
}

void Rosette::Lay(int32_t width, int32_t height, PlotKind kind)
{
    if (width < 0 || height < 0 || width > MaxSurfaceWidth || height > MaxSurfaceHeight)
        Failure("Surface size %dx%d is outside 0x0 .. %dx%d", width, height, MaxSurfaceWidth, MaxSurfaceHeight);
    SurfaceWidth = width;
    SurfaceHeight = height;
    kind_ = kind;
    GeneratorInit();
}

} // namespace Rosacle
