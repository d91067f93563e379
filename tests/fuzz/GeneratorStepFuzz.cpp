// One frame of a rosette (GeneratorStep, or the preview's PreviewStep) on a small surface with arbitrary settings, phases, rates, working values
// and leftover colours: phases may be NaN, infinite, huge or tiny. The sanitizers catch
// overflow and stray indices; the frame's own promises are checked after it.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "generator/Rosacle.h"
#include "raster/DibSurface.h"
#include "raster/Plot.h"
#include "settings/SaverSettings.h"
#include "tests/fuzz/FuzzInput.h"

using namespace Rosacle;

namespace {

// An extended value: one of the awkward ones, or any 80-bit pattern.
Extended TakeExtended(FuzzInput& in)
{
    const Extended special[] = {0.0L,
                                -0.0L,
                                std::numeric_limits<Extended>::quiet_NaN(),
                                std::numeric_limits<Extended>::infinity(),
                                -std::numeric_limits<Extended>::infinity(),
                                std::numeric_limits<Extended>::max(),
                                std::numeric_limits<Extended>::denorm_min(),
                                0x1p63L,
                                -0x1p63L,
                                0x1p31L,
                                TwoPi,
                                1e300L};
    const uint8_t kind = in.Take<uint8_t>();
    if (kind < 0x80) return special[kind % (sizeof special / sizeof special[0])];
    if (kind < 0xC0) return static_cast<Extended>(in.Take<int32_t>()) / 64;
    Extended value = 0;
    const auto bytes = in.Bytes(10);
    if (!bytes.empty()) std::memcpy(&value, bytes.data(), bytes.size());
    return value;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    TSaverSettings& s = SaverSettings;
    s = TSaverSettings();
    // Mostly the values the owners keep, now and then any 32-bit number.
    const uint8_t petals = in.Take<uint8_t>();
    s.Segment = petals < 0xF0 ? petals % 9 + 4 : in.Take<int32_t>();
    const uint8_t pattern = in.Take<uint8_t>();
    s.Rosacle = pattern < 0xF0 ? pattern % 40 + 1 : in.Take<int32_t>();
    const uint8_t flags = in.Take<uint8_t>();
    s.Background = flags & 1;
    s.Gray = flags & 2;
    s.Oval = flags & 4;
    s.Pictures = flags & 8;
    const uint8_t shape = in.Take<uint8_t>();
    const int32_t width = (shape & 0x80) ? shape % 8 : 8 + shape % 89;
    const int32_t height = (shape & 0x80) ? shape % 5 : 8 + in.Take<uint8_t>() % 65;
    // The control-panel preview's frames instead.
    Rosette R;
    R.Lay(width, height, flags & 32 ? PlotKind::Preview : PlotKind::Full);

    // After the layout: a pattern index outside 1..40 (no member), the speed as any number.
    if (flags & 16) {
        const int32_t k = in.Take<int32_t>();
        if (k < 1 || k > 40) R.Pattern = k;
    }
    s.Speed = in.Take<int32_t>();
    R.Phase1 = TakeExtended(in);
    R.Phase2 = TakeExtended(in);
    R.Phase3 = TakeExtended(in);
    R.Rate1 = TakeExtended(in);
    R.Rate2 = TakeExtended(in);
    R.Rate3 = TakeExtended(in);
    R.Working.D = TakeExtended(in);
    // Colours a previous frame may have left, as any 32-bit numbers.
    for (int r = 0; r <= R.RowCount && in.Left() >= 12; ++r) {
        for (int j = 0; j <= R.RowPoints[r] && in.Left() >= 12; ++j) {
            R.Red[r][j] = in.Take<int32_t>();
            R.Green[r][j] = in.Take<int32_t>();
            R.Blue[r][j] = in.Take<int32_t>();
        }
    }

    DibSurface surface;
    surface.SetBitCount(24);
    surface.SetWidth(width);
    surface.SetHeight(height);
    R.Step();
    if (flags & 32) {
        R.Plot(surface);
        return 0;
    }
    if (R.RowCount >= 1) {
        FuzzCheck(R.Red[0][0] == R.Red[1][0] && R.Green[0][0] == R.Green[1][0] && R.Blue[0][0] == R.Blue[1][0], "the centre copy");
        if (s.Background) {
            for (int j = 0; j <= R.RowPoints[R.RowCount]; ++j)
                FuzzCheck(R.Red[R.RowCount][j] == 255 && R.Green[R.RowCount][j] == 255 && R.Blue[R.RowCount][j] == 255,
                          "a white rim point that is not white");
        }
    }
    R.Plot(surface);
    return 0;
}
