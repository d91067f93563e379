// The soak: every pattern for a number of frames (default 2,000) at the dialog's 512 x 382,
// in bursts of random length between which the pattern, the petals, the flags and sometimes
// the speed change at random, as a user at the settings dialog would change them, with
// speeds beyond the dialog's among them. Each frame is stepped and plotted. Built with the
// sanitizers, any overflow or stray index ends it; the frame's promises are checked here.
//
//     rosacle_soak [--frames N] [--seed N]
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "generator/Random.h"
#include "generator/Rosacle.h"
#include "generator/RunStart.h"
#include "raster/DibSurface.h"
#include "raster/Plot.h"
#include "settings/SaverSettings.h"

using namespace Rosacle;

namespace {

constexpr int32_t Width = 512;
constexpr int32_t Height = 382;

// Speeds of the dialog and the numbers a registry value can hold beyond them.
int32_t PickSpeed()
{
    const int32_t extremes[] = {INT32_MIN, -1, 0, 151, 1000000, INT32_MAX};
    return Random(4) == 0 ? extremes[Random(6)] : Random(151);
}

bool FrameKeepsItsPromises(const Rosette& R)
{
    if (R.Red[0][0] != R.Red[1][0] || R.Green[0][0] != R.Green[1][0] || R.Blue[0][0] != R.Blue[1][0]) return false;
    if (!SaverSettings.Background) return true;
    for (int j = 0; j <= R.RowPoints[R.RowCount]; ++j)
        if (R.Red[R.RowCount][j] != 255 || R.Green[R.RowCount][j] != 255 || R.Blue[R.RowCount][j] != 255) return false;
    return true;
}

bool ReadNumber(const char* text, long long low, long long high, long long& out)
{
    char* end = nullptr;
    const long long value = std::strtoll(text, &end, 10);
    if (!*text || *end || value < low || value > high) return false;
    out = value;
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    long long frames = 2000, seed = 1;
    for (int k = 1; k < argc; ++k) {
        const std::string option = argv[k];
        long long* target = option == "--frames" ? &frames : option == "--seed" ? &seed : nullptr;
        if (!target || k + 1 >= argc || !ReadNumber(argv[++k], target == &frames ? 1 : 0,
                                                    target == &frames ? 1000000 : UINT32_MAX, *target)) {
            std::fprintf(stderr, "usage: rosacle_soak [--frames 1..1000000] [--seed 0..4294967295]\n");
            return 2;
        }
    }
    RandSeed(static_cast<uint32_t>(seed));

    std::vector<long long> left(41, frames); // frames still owed to each pattern
    left[0] = 0;
    long long total = 0, changes = 0;
    SaverSettings = TSaverSettings();
    SaverSettings.Speed = 54;
    DibSurface surface;
    Rosette R;
    surface.SetBitCount(24);
    surface.SetWidth(Width);
    surface.SetHeight(Height);
    SetStartPhases(R);

    for (;;) {
        std::vector<int32_t> open;
        for (int32_t k = 1; k <= 40; ++k)
            if (left[k] > 0) open.push_back(k);
        if (open.empty()) break;

        // A change between bursts: the pattern, the petals (4..12), the four flags, and now and
        // then the speed; then the layout anew, as the dialog does.
        TSaverSettings& s = SaverSettings;
        s.Rosacle = open[Random(static_cast<int32_t>(open.size()))];
        s.Segment = Random(9) + 4;
        s.Background = Random(2);
        s.Gray = Random(2);
        s.Oval = Random(2);
        s.Pictures = Random(2);
        if (Random(3) == 0) s.Speed = PickSpeed();
        R.Lay(Width, Height);
        ++changes;

        const long long burst = std::min<long long>(left[s.Rosacle], Random(200) + 1);
        for (long long f = 0; f < burst; ++f) {
            R.Frame(surface);
            if (!FrameKeepsItsPromises(R)) {
                std::fprintf(stderr, "rosacle_soak: pattern %d, frame %lld: the centre or the rim is wrong\n",
                             s.Rosacle, total);
                return 1;
            }
            ++total;
        }
        left[s.Rosacle] -= burst;
    }
    std::printf("rosacle_soak: %lld frames at %dx%d, %lld frames of each of the 40 patterns, %lld changes\n", total,
                Width, Height, frames, changes);
    return 0;
}
