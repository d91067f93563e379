#pragma once
// The rosette: one value that holds a layout for one surface size and petal count, its colour
// planes, the tables derived from it, its phases and the map of the pixels it plots. Each
// owner (a window, an export, a test) has its own; nothing of it is process-wide.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "generator/ExtendedMath.h"

class DibSurface;

namespace Rosacle {

constexpr int MaxPetals = 13;
constexpr int MaxRows = 841;
constexpr int MaxPoints = 1321;
constexpr int MaxSurfaceWidth = 1920;
constexpr int MaxSurfaceHeight = 1200;

// How a rosette's frames are stepped and plotted; fixed when it is laid.
enum class PlotKind {
    // GeneratorStep; every point of every petal, rows 0..RowCount, the centre copied from row 1.
    Full,
    // PreviewStep (the control-panel preview's): rows 1..RowCount without each row's last
    // point, then the centre in the colour of row 1, point 0.
    Preview,
};

// Values of a point that depend on the layout alone, laid once per layout by the engine.
struct Fixed {
    Extended a = 0, b = 0;
};

// The working values a later call of a member can see (the c and d of Member).
struct WorkingValues {
    Extended C = 0, D = 0;
};

// Values per row and point, row r holding RowPoints[r] + 1 of them, the rows one after the
// other: the memory follows the layout.
template <class T>
class RowPlane {
public:
    T* operator[](int r) { return values_.data() + start_[static_cast<size_t>(r)]; }
    const T* operator[](int r) const { return values_.data() + start_[static_cast<size_t>(r)]; }
    // The value of point k of the whole plane (rows in order).
    T& At(size_t k) { return values_[k]; }
    const T& At(size_t k) const { return values_[k]; }
    size_t Size() const { return values_.size(); }
    bool Laid() const { return !values_.empty(); }

    // As many values as rowStart's last entry counts, all T(); empty when counted 0.
    void Lay(const std::vector<uint32_t>& rowStart)
    {
        start_ = rowStart;
        values_.assign(rowStart.empty() ? 0 : rowStart.back(), T());
        values_.shrink_to_fit();
    }
    void Free()
    {
        values_.clear();
        values_.shrink_to_fit();
    }

private:
    std::vector<uint32_t> start_;
    std::vector<T> values_;
};

// The smallest rectangle of surface pixels (right and bottom exclusive) that a plot writes:
// outside it a frame changes nothing. Empty (right <= left) when no point is on the surface.
struct PixelBox {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
};

class Rosette {
public:
    // Lays the rosette out for a width x height surface and the petal count and pattern of
    // SaverSettings (brought into range first); kind is how its frames go. A surface beyond
    // 1920 x 1200 throws SaverError. The phases, rates and working values are kept.
    void Lay(int32_t width, int32_t height, PlotKind kind = PlotKind::Full);
    // Lays it again for the current settings at the laid size and kind (a change of pattern
    // or petals); the layout is kept where only the pattern changed.
    void GeneratorInit();

    // One frame: GeneratorStep or PreviewStep, as laid.
    void Step();
    // One frame at the phases and rates of leader, which has just stepped: a rosette of
    // another size that shows the same picture in step with it (another monitor's).
    void StepAlong(const Rosette& leader);
    // Writes the frame into surface, which has the laid size: each pixel of the box from the
    // point that colours it last. Pixels no point reaches keep what they had.
    void Plot(DibSurface& surface);
    void Frame(DibSurface& surface)
    {
        Step();
        Plot(surface);
    }
    PixelBox Box() const { return box_; }
    PlotKind Kind() const { return kind_; }

    // ---- The layout (what GeneratorInit lays).
    int32_t SurfaceWidth = 0, SurfaceHeight = 0;
    int32_t RowCount = 0;
    // The petal count and pattern index laid (a pattern outside 1..40 runs no member).
    int32_t Segment = 0, Pattern = 0;
    std::vector<int32_t> RowPoints;
    // Pixel position of point j of row r of petal s, and its offset from the centre as the
    // last petal has it; worked out when asked (the plot uses the pixel map).
    int32_t PointX(int s, int r, int j) const;
    int32_t PointY(int s, int r, int j) const;
    int32_t OffsetX(int r, int j) const;
    int32_t OffsetY(int r, int j) const;
    // Whether point j of row r lands where the point before it does (the last petal's
    // offsets): such a repeated point takes that point's colours instead of its own.
    bool RepeatsPointBefore(int r, int j) const { return j >= 1 && repeated_[r][j]; }
    // |1 - 2j / RowPoints[r]|, laid for the patterns that read it.
    RowPlane<Extended> PointRamp;
    // Laid for patterns 21, 23, 24, 25 and 40.
    RowPlane<Extended> PointShapeA, PointShapeB, PointShapeC;
    // 1 for a seen point: one whose colour some pixel keeps after the plot (or that such a
    // point copies). The shared path computes and finishes only these.
    RowPlane<uint8_t> SeenPoint;
    // The engine's fixed values of the pattern's member, when it has them.
    RowPlane<Fixed> FixedValues;

    // ---- The colours and what carries from frame to frame.
    RowPlane<int32_t> Red, Green, Blue;
    Extended Phase1 = 0, Phase2 = 0, Phase3 = 0;
    Extended Rate1 = 0, Rate2 = 0, Rate3 = 0;
    WorkingValues Working;

    // The seen points of row r while a frame computes only those, null while it computes
    // every point (one worker).
    const uint8_t* SeenRow(int r) const { return seenOnly_ ? SeenPoint[r] : nullptr; }
    bool ComputesSeenOnly() const { return seenOnly_; }
    // Where each row starts in the planes; the last entry counts every point.
    const std::vector<uint32_t>& RowStarts() const { return rowStart_; }

private:
    struct Geometry {
        int32_t width = -1, height = -1, petals = 0;
        PlotKind kind = PlotKind::Full;
        bool operator==(const Geometry& o) const
        {
            return width == o.width && height == o.height && petals == o.petals && kind == o.kind;
        }
    };
    void LayGeometry();
    void LayPixelMap();
    void LayPointTables(bool seenOnly);
    void GeneratorStep();
    void PreviewStep();
    void DriftPhases();
    // The member and its finishing passes at the current phases.
    void ColourPoints();
    void ReadyTables();

    Geometry laid_;
    PlotKind kind_ = PlotKind::Full;
    RowPlane<uint8_t> repeated_;
    std::vector<uint32_t> rowStart_;
    // The tables cover only the seen points (false: every point).
    bool tablesSeenOnly_ = false;
    bool seenOnly_ = false;
    // The pixel map: runs of neighbouring pixels of a row that points land on, strip of
    // StripWidth columns by strip, and for each pixel of a run the point that colours it
    // last (an index into the planes).
    static constexpr uint32_t NoPoint = UINT32_MAX;
    struct PixelRun {
        int32_t y, left, end;
        uint32_t first; // into runPoints_
    };
    std::vector<PixelRun> runs_;
    std::vector<uint32_t> runPoints_;
    static constexpr int32_t StripWidth = 64;
    // Where each strip starts among the runs; the last entry counts them.
    std::vector<uint32_t> stripRunStart_;
    PixelBox box_;
    // The frame's colours as the bytes of a pixel, made by the plot.
    std::vector<uint32_t> pixels_;
};

// Whether pattern k needs the per-point shape tables, and the ramp.
bool UsesShapeTables(int32_t pattern);
bool UsesRamp(int32_t pattern);

} // namespace Rosacle
