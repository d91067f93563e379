#include "common/SaverError.h"
#include "generator/Random.h"
#include "generator/Rosacle.h"
#include "generator/SeenPoints.h"
#include "generator/Workers.h"
#include "generator/patterns/Engine.h"
#include "settings/SaverSettings.h"

#if defined(__linux__)
#include <sys/mman.h>

#include <cstdint>
#endif

namespace Rosacle {

int32_t SurfaceWidth = 0;
int32_t SurfaceHeight = 0;
int32_t RowCount = 0;
uint32_t LayoutCount = 0;
int32_t RowPoints[MaxRows];
int32_t PointX[MaxPetals][MaxRows][MaxPoints];
int32_t PointY[MaxPetals][MaxRows][MaxPoints];
int32_t OffsetX[MaxRows][MaxPoints];
int32_t OffsetY[MaxRows][MaxPoints];
Extended PointRamp[MaxRows][MaxPoints];
Extended PointShapeA[MaxRows][MaxPoints];
Extended PointShapeB[MaxRows][MaxPoints];
Extended PointShapeC[MaxRows][MaxPoints];
int32_t Red[MaxRows][MaxPoints];
int32_t Green[MaxRows][MaxPoints];
int32_t Blue[MaxRows][MaxPoints];
Extended Phase1 = 0, Phase2 = 0, Phase3 = 0;
Extended Rate1 = 0, Rate2 = 0, Rate3 = 0;

#if defined(__linux__)
namespace {

// The planes are large and touched sparsely (each row uses the front of its stride); in
// 2 MB pages the first layout of a process takes a few dozen page faults, not tens of
// thousands. Only advice: where the kernel keeps to small pages nothing changes.
template <typename Plane>
void AdviseLargePages(Plane& plane)
{
    const uintptr_t page = 4096;
    const uintptr_t start = reinterpret_cast<uintptr_t>(&plane) & ~(page - 1);
    const uintptr_t end = reinterpret_cast<uintptr_t>(&plane) + sizeof plane;
    madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
}

const bool PlanesAdvised = [] {
    AdviseLargePages(PointX);
    AdviseLargePages(PointY);
    AdviseLargePages(PointRamp);
    AdviseLargePages(PointShapeA);
    AdviseLargePages(PointShapeB);
    AdviseLargePages(PointShapeC);
    AdviseLargePages(FixedValues);
    return true;
}();

} // namespace
#endif

bool UsesShapeTables(int32_t pattern)
{
    return pattern == 21 || pattern == 23 || pattern == 24 || pattern == 25 || pattern == 40;
}

namespace {

// The a and b of patterns 21, 23, 24 and 25 turned into the three table values.
void SetShapeFromAngles(int r, int j, Extended a, Extended b)
{
    PointShapeA[r][j] = Cos(a) * Sin(Pi * b);
    PointShapeB[r][j] = Sin(a) * Sin(Pi * b);
    PointShapeC[r][j] = Cos(a) * Cos(TwoPi * b);
}

// Pattern 40: a short iteration of three sequences per point. When it runs its full course
// the third value is the seventh term, one more application of the same recurrence.
void SetShapeFromIteration(int r, int j, Extended q)
{
    Extended x[8], y[8], z[8];
    x[1] = Abs(1 - 2 * q) * 1.4L + 1.8L;
    y[1] = Abs(static_cast<Extended>(r) / SurfaceHeight) * 2 + 0.5L;
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
    PointShapeA[r][j] = Abs(z[k - 1]);
    PointShapeB[r][j] = Abs(z[k]);
    PointShapeC[r][j] = Abs(z[k + 1]);
}

void SetShapeTables(int32_t pattern, int r, int j)
{
    const int32_t S = SaverSettings.Segment;
    const int32_t n = RowCount;
    const Extended P = static_cast<Extended>(r) * TwoPi / S;
    const Extended q = j / P;
    switch (pattern) {
    case 21: {
        Extended s = Sin(TwoPi * q);
        Extended w = Sin(static_cast<Extended>(r) * SixPi / n) / 5;
        SetShapeFromAngles(r, j, s, s * s / 5 + static_cast<Extended>(r) * Pi / n + w * w);
        break;
    }
    case 23:
        SetShapeFromAngles(r, j, Sin(Pi * q),
                           Sin(TwoPi * q) / 5 + static_cast<Extended>(r) * Pi / n +
                               Sin(static_cast<Extended>(r) * SixPi / n) / 5);
        break;
    case 24:
        SetShapeFromAngles(r, j, Sin(Pi * q), Sin(static_cast<Extended>(r) * TwoPi / n));
        break;
    case 25:
        SetShapeFromAngles(r, j, TwoPi * q,
                           Sin(Pi * q) / 5 + static_cast<Extended>(r) * Pi / n +
                               Sin(static_cast<Extended>(r) * ThreePi / n) / 5);
        break;
    case 40:
        SetShapeFromIteration(r, j, q);
        break;
    default:
        break;
    }
}

} // namespace

namespace {

// What the positions, offsets and ramp were laid for: the shared path keeps them while a
// new layout changes only the pattern (the settings dialog's pattern bar).
struct Geometry {
    int32_t width = -1, height = -1, petals = 0, rows = -1;
    bool operator==(const Geometry& o) const
    {
        return width == o.width && height == o.height && petals == o.petals && rows == o.rows;
    }
};
Geometry laidGeometry;
uint32_t geometryCount = 0;

// What the seen marks and the pattern's point tables were laid for.
enum class Coverage { Nothing, EveryPoint, FullPlot, PreviewPlot };
struct Tables {
    uint32_t layout = 0;
    Coverage coverage = Coverage::Nothing;
};
Tables laidTables;
int32_t tablesPattern = 0;
uint32_t seenGeometry = 0;
Coverage seenKind = Coverage::Nothing;

void LayGeometry(int32_t S)
{
    const Extended halfWidth = static_cast<Extended>(SurfaceWidth) / 2;
    const Extended halfHeight = static_cast<Extended>(SurfaceHeight) / 2;
    // Rows are independent: each writes only its own entries.
    ForEachRow(1, RowCount, [&](int r) {
        const int32_t n = Round(static_cast<Extended>(r) * TwoPi / S);
        RowPoints[r] = n;
        const Extended rowStart = static_cast<Extended>(r) * Pi / S;
        const Extended rowRadius = static_cast<Extended>(r) + 0.00001L;
        // The angle of point j from its petal's axis, the same in every petal.
        Extended turn[MaxPoints];
        for (int j = 0; j <= n; ++j) turn[j] = (j - rowStart) / rowRadius;
        for (int s = 0; s < S; ++s) {
            const Extended petalAngle = static_cast<Extended>(2 * s) * Pi / S;
            int32_t* px = PointX[s][r];
            int32_t* py = PointY[s][r];
            const bool lastPetal = s == S - 1;
            for (int j = 0; j <= n; ++j) {
                const Extended theta = petalAngle + turn[j];
                Extended sine, cosine;
                SinCos(theta, sine, cosine);
                const Extended sx = sine * r / 1.4L;
                const Extended sy = cosine * r / 1.4L;
                px[j] = Round(sx + halfWidth);
                int32_t y = Round(sy + halfHeight);
                if (y < 0) y = 0;
                if (y > SurfaceHeight - 1) y = SurfaceHeight - 1;
                py[j] = y;
                if (lastPetal) {
                    // Only the last petal's offsets remain in the planes.
                    OffsetX[r][j] = Round(sx);
                    OffsetY[r][j] = Round(sy);
                }
            }
        }
        // The ramp is the same for every petal.
        for (int j = 0; j <= n; ++j) PointRamp[r][j] = Abs(1 - static_cast<Extended>(2 * j) / n);
    });
    for (int s = 0; s < S; ++s) {
        PointX[s][0][0] = Round(halfWidth);
        PointY[s][0][0] = Round(halfHeight);
    }
}

// The shape tables and fixed values of the layout's pattern, at every point or (seenOnly) at
// the seen ones.
void LayPointTables(bool seenOnly)
{
    if (UsesShapeTables(tablesPattern))
        ForEachRow(1, RowCount, [seenOnly](int r) {
            const uint8_t* seen = seenOnly ? SeenPoint[r] : nullptr;
            for (int j = 0; j <= RowPoints[r]; ++j)
                if (!seen || seen[j]) SetShapeTables(tablesPattern, r, j);
        });
    LayFixedValues(tablesPattern, seenOnly);
}

} // namespace

void GeneratorInit()
{
    const int32_t S = SaverSettings.Segment;
    ++LayoutCount;
    RowCount = Round(static_cast<Extended>(SurfaceHeight) * 1.4L / 2);
    laidTables = Tables();
    if (S < 1) return;
    // The planes hold no more than this; LayGenerator keeps every owner inside it.
    if (S > MaxPetals - 1 || RowCount > MaxRows - 1 || RowCount < 0) return;

    const Geometry geometry{SurfaceWidth, SurfaceHeight, S, RowCount};
    // The plain path lays everything anew, every time.
    const bool shared = WorkerCount() > 1;
    if (!shared || !(geometry == laidGeometry)) {
        LayGeometry(S);
        laidGeometry = geometry;
        ++geometryCount;
    }
    tablesPattern = SaverSettings.Rosacle;
    ReadyForPlot(PlotKind::Full);
}

void ReadyForPlot(PlotKind kind)
{
    const bool shared = WorkerCount() > 1;
    ComputeSeenOnly(false);
    // Without a layout of the current settings there is nothing to restrict.
    const Geometry current{SurfaceWidth, SurfaceHeight, SaverSettings.Segment, RowCount};
    if (RowCount < 1 || !(current == laidGeometry)) return;
    Coverage need = Coverage::EveryPoint;
    if (shared) {
        need = kind == PlotKind::Full ? Coverage::FullPlot : Coverage::PreviewPlot;
        if (seenGeometry != geometryCount || seenKind != need) {
            LaySeenPoints(kind);
            seenGeometry = geometryCount;
            seenKind = need;
        }
    }
    const bool covered = laidTables.layout == LayoutCount &&
                         (laidTables.coverage == need || laidTables.coverage == Coverage::EveryPoint);
    if (!covered) {
        LayPointTables(shared);
        laidTables = {LayoutCount, need};
    }
    ComputeSeenOnly(shared);
}

void LayGenerator(int32_t width, int32_t height)
{
    if (width < 0 || height < 0 || width > MaxSurfaceWidth || height > MaxSurfaceHeight)
        Failure("Surface size %dx%d is outside 0x0 .. %dx%d", width, height, MaxSurfaceWidth, MaxSurfaceHeight);
    ClampLayoutSettings();
    SurfaceWidth = width;
    SurfaceHeight = height;
    GeneratorInit();
}

} // namespace Rosacle
