// Frames drawn with rows shared among workers against the plain single-worker path: the same
// pixels after every frame, whatever the colour planes hold at points no pixel shows.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "generator/Random.h"
#include "generator/RunStart.h"
#include "generator/Workers.h"
#include "raster/Plot.h"
#include "tests/native/FreshRosette.h"

using namespace Rosacle;

namespace {

struct Case {
    int pattern, petals, width, height, mix; // mix: 1 gray, 2 invert, 4 pictures, 8 white
    std::string Name() const
    {
        static const std::pair<int, const char*> flags[] = {{1, "+gray"}, {2, "+invert"}, {4, "+pictures"}, {8, "+white"}};
        std::string passes;
        for (const auto& [bit, name] : flags)
            if (mix & bit) passes += name;
        return "pattern " + std::to_string(pattern) + ", " + std::to_string(petals) + " petals, " +
               std::to_string(width) + "x" + std::to_string(height) + ", mix " + std::to_string(mix) + " (" +
               (passes.empty() ? "none" : passes.substr(1)) + ")";
    }
};

uint32_t Background() { return SaverSettings.Background ? ColourValue(255, 255, 255) : ColourValue(0, 0, 0); }

// A 24-bit surface of the laid size, in the background.
void MakeSurface(DibSurface& surface, const Case& c)
{
    surface.SetBitCount(24);
    surface.SetWidth(c.width);
    surface.SetHeight(c.height);
    surface.Fill(Background());
}

struct Shots {
    std::vector<std::string> names;           // what each picture is
    std::vector<std::vector<uint8_t>> pixels; // its bytes
    int stride = 0;
    WorkingValues left;
};

void Take(Shots& run, const DibSurface& surface, const std::string& what)
{
    const uint8_t* bits = surface.Bits();
    run.names.push_back(what);
    run.stride = surface.RowStride();
    run.pixels.emplace_back(bits, bits + static_cast<size_t>(surface.RowStride()) * surface.Height());
}

// Everything a run depends on, set alike for every worker count; only the junk in the planes
// differs, so that a pixel showing a point nobody computed shows.
using Frames = std::function<void(Rosette&, Shots&)>;
Shots Render(const Case& c, int workers, const WorkingValues& start, const Frames& frames, bool preview = false)
{
    SetWorkerCount(workers);
    SaverSettings = TSaverSettings();
    if (preview) SetPreviewSettings(SaverSettings);
    else SaverSettings.Speed = 150; // the phases drift far, and turn, over the frames
    SaverSettings.Rosacle = c.pattern;
    SaverSettings.Segment = c.petals;
    SaverSettings.Gray = c.mix & 1;
    SaverSettings.Oval = c.mix & 2;
    SaverSettings.Pictures = c.mix & 4;
    SaverSettings.Background = preview || (c.mix & 8);
    Rosette R = FreshRosette(c.width, c.height, c.petals, c.pattern, preview ? PlotKind::Preview : PlotKind::Full);
    R.Working = start;
    RandSeed(static_cast<uint32_t>(7919 * c.pattern + c.petals));
    SetStartPhases(R, preview ? PreviewPhaseRanges : SaverPhaseRanges);
    const int32_t junk = workers == 1 ? 0 : 0x5A5A5A5A;
    for (size_t k = 0; k < R.Red.Size(); ++k) {
        R.Red.At(k) = junk;
        R.Green.At(k) = junk + 1;
        R.Blue.At(k) = junk + 2;
    }
    Shots run;
    frames(R, run);
    run.left = R.Working;
    return run;
}

bool SameWorking(const WorkingValues& a, const WorkingValues& b)
{
    return std::memcmp(&a.C, &b.C, 10) == 0 && std::memcmp(&a.D, &b.D, 10) == 0;
}

// The first picture that differs, and its first differing pixel (x, y from the top).
bool ExpectSame(const Shots& plain, const Shots& shared, const Case& c, int workers)
{
    const std::string who = c.Name() + ", " + std::to_string(workers) + " workers";
    if (plain.pixels.size() != shared.pixels.size()) {
        ADD_FAILURE() << who << ": " << shared.pixels.size() << " pictures, not " << plain.pixels.size();
        return false;
    }
    const size_t stride = static_cast<size_t>(plain.stride);
    for (size_t k = 0; k < plain.pixels.size(); ++k) {
        const std::vector<uint8_t>& a = plain.pixels[k];
        const std::vector<uint8_t>& b = shared.pixels[k];
        if (a == b) continue;
        size_t at = 0;
        while (a[at] == b[at]) ++at;
        ADD_FAILURE() << who << ", " << plain.names[k] << ": pixel (" << at % stride / 3 << ", "
                      << c.height - 1 - static_cast<int>(at / stride) << ") differs";
        return false;
    }
    EXPECT_TRUE(SameWorking(plain.left, shared.left)) << who << ": working values left";
    return SameWorking(plain.left, shared.left);
}

// Plain against the other worker counts; a run of failures stops the test.
void Compare(const Case& c, const WorkingValues& start, const Frames& frames, std::vector<int> workers,
             int& failures, WorkingValues* left = nullptr, bool preview = false)
{
    const Shots plain = Render(c, 1, start, frames, preview);
    for (int n : workers)
        if (!ExpectSame(plain, Render(c, n, start, frames, preview), c, n)) ++failures;
    if (left) *left = plain.left;
    SetWorkerCount(1);
}

const WorkingValues FixedStart{0.25L, -0.4L};

// Every pattern at 4, 8 and 12 petals, the mix turning with the case. On the wide size each
// pattern starts from the working values the pattern before left, as a saver changing
// pattern does; on the small size every pattern starts alike.
TEST(SeenPixels, EveryPatternPetalCountAndColourMix)
{
    int failures = 0, index = 0;
    for (const auto& [width, height] : {std::pair{200, 150}, std::pair{123, 77}})
        for (int petals : {4, 8, 12}) {
            const bool wide = width == 200;
            WorkingValues start = FixedStart;
            for (int pattern = 1; pattern <= 40; ++pattern, ++index) {
                const Case c{pattern, petals, width, height, (pattern - 1 + 5 * (index / 40)) % 16};
                const Frames frames = [&c](Rosette& R, Shots& run) {
                    DibSurface surface;
                    MakeSurface(surface, c);
                    for (int f = 1; f <= 4; ++f) {
                        R.Frame(surface);
                        Take(run, surface, "frame " + std::to_string(f));
                    }
                };
                WorkingValues left;
                Compare(c, start, frames, petals == 8 ? std::vector{2, 3} : std::vector{2}, failures, &left);
                if (wide) start = left;
                ASSERT_LT(failures, 8) << "stopped after 8 failing cases";
            }
        }
}

// The settings dialog changing pattern and petals mid-run: the same rosette draws on, the
// surface refilled only for a petal change, as the dialog does.
TEST(SeenPixels, PatternAndPetalChangeMidRun)
{
    const int changes[][3] = {{21, 3, 5},  {7, 23, 12}, {24, 16, 4}, {18, 25, 11},
                              {40, 7, 6},  {3, 40, 10}, {16, 21, 7}, {25, 18, 12}};
    int failures = 0, index = 0;
    for (const auto& [from, to, petals] : changes) {
        const bool petalsFirst = index % 2;
        const Case c{from, 8, index % 2 ? 123 : 200, index % 2 ? 77 : 150, (5 * index + 3) % 16};
        const Frames frames = [&, to = to, petals = petals](Rosette& R, Shots& run) {
            DibSurface surface;
            MakeSurface(surface, c);
            for (int f = 1; f <= 9; ++f) {
                if (f == 4 || f == 7) {
                    if ((f == 4) == petalsFirst) {
                        SaverSettings.Segment = petals;
                        surface.Fill(Background());
                    } else {
                        SaverSettings.Rosacle = to;
                    }
                    R.GeneratorInit();
                }
                R.Frame(surface);
                Take(run, surface, "frame " + std::to_string(f) + " at pattern " + std::to_string(SaverSettings.Rosacle) +
                                       ", " + std::to_string(SaverSettings.Segment) + " petals");
            }
        };
        Compare(c, FixedStart, frames, {2, 3}, failures);
        ++index;
    }
}

// The control-panel preview: a fresh white surface every frame, one point fewer per row.
TEST(SeenPixels, ControlPanelPreview)
{
    int failures = 0;
    for (const auto& [width, height] : {std::pair{152, 112}, std::pair{101, 67}})
        for (int petals : {5, 8})
            for (int pattern = 1; pattern <= 40; ++pattern) {
                const Case c{pattern, petals, width, height, 8};
                const Frames frames = [&c](Rosette& R, Shots& run) {
                    DibSurface surface;
                    for (int f = 1; f <= 4; ++f) {
                        MakeSurface(surface, c);
                        R.Frame(surface);
                        Take(run, surface, "preview frame " + std::to_string(f));
                    }
                };
                Compare(c, FixedStart, frames, {2}, failures, nullptr, true);
                ASSERT_LT(failures, 8) << "stopped after 8 failing cases";
            }
}

} // namespace
