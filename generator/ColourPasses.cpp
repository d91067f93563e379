#include "generator/ColourPasses.h"

#include "generator/Rosacle.h"
#include "generator/Workers.h"

namespace Rosacle {

namespace {

// Calls f(red, green, blue) for every point of rows first..RowCount that the frame computes
// (SeenRow); the rows are shared among the workers (each point is on its own).
template <class F>
void ForEachPoint(Rosette& R, int first, F f)
{
    ForEachRow(first, R.RowCount, [&f, &R](int r) {
        const int32_t last = R.RowPoints[r];
        const uint8_t* seen = R.SeenRow(r);
        int32_t *red = R.Red[r], *green = R.Green[r], *blue = R.Blue[r];
        for (int j = 0; j <= last; ++j)
            if (!seen || seen[j]) f(red[j], green[j], blue[j]);
    });
}

int32_t Max3(int32_t a, int32_t b, int32_t c)
{
    int32_t m = a > b ? a : b;
    return m > c ? m : c;
}

// A channel that Round saturated at INT32_MIN inverts to INT32_MAX instead of overflowing.
int32_t Inverted(int32_t c) { return Saturate(255 - int64_t(c)); }

} // namespace

void ThresholdPass(Rosette& R)
{
    ForEachPoint(R, 0, [](int32_t& r, int32_t& g, int32_t& b) {
        const int32_t level = Max3(r, g, b) >= 232 ? 255 : 0;
        r = g = b = level;
    });
}

void InvertPass(Rosette& R)
{
    ForEachPoint(R, 0, [](int32_t& r, int32_t& g, int32_t& b) {
        r = Inverted(r);
        g = Inverted(g);
        b = Inverted(b);
    });
}

void GrayPass(Rosette& R)
{
    ForEachPoint(R, 0, [](int32_t& r, int32_t& g, int32_t& b) {
        // 32-bit sums; computed unsigned so that a channel far outside 0..255 wraps
        // instead of overflowing.
        const auto sq = [](int32_t c) { return static_cast<uint32_t>(c) * static_cast<uint32_t>(c); };
        const int32_t squares = static_cast<int32_t>(sq(r) + sq(g) + sq(b));
        int32_t v = Round(Sqrt(static_cast<Extended>(squares) + 0.00001L));
        if (v > 1275) v = 2550 - v;
        if (v > 1020) v = 2040 - v;
        if (v > 765) v = 1530 - v;
        if (v > 510) v = 1020 - v;
        if (v > 255) v = 510 - v;
        v = v <= 25 ? 0 : Round(static_cast<Extended>(v * v) / 255);
        r = g = b = v;
    });
}

namespace {

// The rim rows RowCount - 4 .. RowCount; a surface too small for five of them starts at the
// centre. leaveOut points at the end of each row are not touched.
template <class F>
void ForEachRimPoint(Rosette& R, int leaveOut, F f)
{
    const int first = R.RowCount - 4 < 0 ? 0 : R.RowCount - 4;
    for (int r = first; r <= R.RowCount; ++r) {
        const int d = R.RowCount - r;
        const uint8_t* seen = R.SeenRow(r);
        for (int j = 0; j <= R.RowPoints[r] - leaveOut; ++j) {
            if (seen && !seen[j]) continue;
            f(d, R.Red[r][j]);
            f(d, R.Green[r][j]);
            f(d, R.Blue[r][j]);
        }
    }
}

// 255 - c taken in extended, exact for every channel value, so the outermost row is white.
void FadeToWhite(int d, int32_t& c)
{
    c = Round(c + (255 - static_cast<Extended>(c)) * (1 - static_cast<Extended>(d) / 5));
}

void FadeToBlack(int d, int32_t& c) { c = Round(c * (d * 0.9L / 5 + 0.1L)); }

} // namespace

void RimPass(Rosette& R, bool background)
{
    if (background)
        ForEachRimPoint(R, 0, FadeToWhite);
    else
        ForEachRimPoint(R, 0, FadeToBlack);
}

void PreviewFade(Rosette& R) { ForEachRimPoint(R, 1, FadeToWhite); }

} // namespace Rosacle
