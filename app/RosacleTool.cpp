#include "app/RosacleTool.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <ostream>
#include <vector>

#include <CLI/CLI.hpp>

#include "common/SaverError.h"
#include "generator/Random.h"
#include "generator/Rosacle.h"
#include "generator/Workers.h"
#include "generator/patterns/Engine.h"
#include "raster/DibSurface.h"
#include "raster/ImageFiles.h"
#include "raster/Plot.h"
#include "settings/SaverSettings.h"

using namespace Rosacle;

namespace RosacleTool {

namespace {

[[noreturn]] void Bad(const std::string& message) { throw BadUsage{message}; }

// The one line on stderr: control characters that an argument brought in (a line break
// above all) are written as \xHH so the complaint stays on its line.
void Complain(std::ostream& err, const std::string& message)
{
    static const char hex[] = "0123456789abcdef";
    std::string line = "rosacle: ";
    for (const char c : message) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F) {
            line += "\\x";
            line += hex[u >> 4];
            line += hex[u & 15];
        } else {
            line += c;
        }
    }
    err << line << "\n";
}

// The state of a generator at process start, so that every render starts alike.
void FreshGenerator()
{
    Rate1 = Rate2 = Rate3 = 0;
    Working = WorkingValues();
    // A member that is still empty shows what a new process would: no colours left by the
    // pattern drawn before it.
    std::memset(Red, 0, sizeof Red);
    std::memset(Green, 0, sizeof Green);
    std::memset(Blue, 0, sizeof Blue);
}

uint32_t BackgroundColour(bool white) { return white ? ColourValue(255, 255, 255) : ColourValue(0, 0, 0); }

void MakeSurface(DibSurface& surface, int32_t width, int32_t height, bool white)
{
    surface.SetBitCount(24);
    surface.SetWidth(width);
    surface.SetHeight(height);
    surface.Fill(BackgroundColour(white));
}

bool ParseBackground(const std::string& text)
{
    if (text == "white") return true;
    if (text == "black") return false;
    Bad("--background must be white or black, not '" + text + "'");
}

void CheckOutput(const std::string& path)
{
    ImageFormat format;
    if (!ImageFormatOf(path, format))
        Bad("output '" + path + "' has an unknown extension (use .png, .jpg, .jpeg or .ppm)");
    if (!ImageFormatAvailable(format)) Bad("this build writes no PNG files: use .jpg or .ppm for '" + path + "'");
}

uint32_t ParseSeed(const std::string& text)
{
    // Through unsigned long long: the 32-bit signed parser cannot hold the upper half.
    char* end = nullptr;
    errno = 0;
    const unsigned long long seed = std::strtoull(text.c_str(), &end, 10);
    if (text.empty() || text[0] < '0' || text[0] > '9' || *end != 0 || errno != 0 || seed > UINT32_MAX)
        Bad("--seed must be a whole number from 0 to 4294967295, not '" + text + "'");
    return static_cast<uint32_t>(seed);
}

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

std::string OneDecimal(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

// The median of a list that is not empty; the mean of the middle two for an even count.
double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t half = values.size() / 2;
    return values.size() % 2 ? values[half] : (values[half - 1] + values[half]) / 2;
}

} // namespace

int32_t ParseInteger(const std::string& option, const std::string& text, int32_t low, int32_t high)
{
    const char* begin = text.c_str();
    char* end = nullptr;
    errno = 0;
    const long long value = std::strtoll(begin, &end, 10);
    const bool whole = !text.empty() && *end == 0 && errno == 0 && !std::isspace(static_cast<unsigned char>(text[0]));
    if (!whole || value < low || value > high)
        Bad(option + " must be a whole number from " + std::to_string(low) + " to " + std::to_string(high) +
            ", not '" + text + "'");
    return static_cast<int32_t>(value);
}

void ParseSize(const std::string& option, const std::string& text, int32_t& width, int32_t& height)
{
    const size_t x = text.find_first_of("xX");
    const std::string what = option + " must be WxH from 1x1 to " + std::to_string(MaxSurfaceWidth) + "x" +
                             std::to_string(MaxSurfaceHeight) + ", not '" + text + "'";
    if (x == std::string::npos) Bad(what);
    try {
        width = ParseInteger(option, text.substr(0, x), 1, MaxSurfaceWidth);
        height = ParseInteger(option, text.substr(x + 1), 1, MaxSurfaceHeight);
    } catch (const BadUsage&) {
        Bad(what);
    }
}

void ParsePhases(const std::string& text, Extended phases[3])
{
    const std::string what = "--phases must be three decimal numbers P1,P2,P3, not '" + text + "'";
    size_t start = 0;
    for (int k = 0; k < 3; ++k) {
        const size_t comma = k < 2 ? text.find(',', start) : text.size();
        if (comma == std::string::npos) Bad(what);
        const std::string part = text.substr(start, comma - start);
        if (part.empty() || std::isspace(static_cast<unsigned char>(part[0]))) Bad(what);
        char* end = nullptr;
        errno = 0;
        const Extended value = std::strtold(part.c_str(), &end);
        if (*end != 0 || errno == ERANGE || !std::isfinite(value)) Bad(what);
        phases[k] = value;
        start = comma + 1;
    }
}

std::vector<int32_t> ParsePatternList(const std::string& text)
{
    const std::string what = "--patterns must list pattern numbers 1..40 such as 1-40 or 3,5,17-19, not '" + text + "'";
    std::vector<bool> chosen(41, false);
    size_t start = 0;
    for (;;) {
        const size_t comma = std::min(text.find(',', start), text.size());
        const std::string item = text.substr(start, comma - start);
        const size_t dash = item.find('-');
        int32_t low, high;
        try {
            low = ParseInteger("--patterns", item.substr(0, dash), 1, 40);
            high = dash == std::string::npos ? low : ParseInteger("--patterns", item.substr(dash + 1), 1, 40);
        } catch (const BadUsage&) {
            Bad(what);
        }
        if (high < low) Bad(what);
        for (int32_t k = low; k <= high; ++k) chosen[k] = true;
        if (comma == text.size()) break;
        start = comma + 1;
    }
    std::vector<int32_t> list;
    for (int32_t k = 1; k <= 40; ++k)
        if (chosen[k]) list.push_back(k);
    return list;
}

void Render(const RenderOptions& o)
{
    if (o.haveSeed) RandSeed(o.seed);
    else RandomizeFromClock();
    FreshGenerator();
    SaverSettings = TSaverSettings();
    SaverSettings.Speed = o.speed;
    SaverSettings.Rosacle = o.pattern;
    SaverSettings.Segment = o.petals;
    SaverSettings.Background = o.white;
    SaverSettings.Gray = o.gray;
    SaverSettings.Oval = o.invert;
    SaverSettings.Pictures = o.pictures;
    LayGenerator(o.width, o.height);
    if (o.havePhases) {
        Phase1 = o.phases[0]; Phase2 = o.phases[1]; Phase3 = o.phases[2];
    } else {
        SetRandomStartPhases();
    }
    DibSurface surface;
    MakeSurface(surface, o.width, o.height, o.white);
    // Never cleared between frames, as in the saver.
    RosettePlotter plotter;
    for (int32_t f = 0; f < o.frames; ++f) {
        GeneratorStep();
        plotter.Plot(surface);
    }
    WriteImageFile(surface, o.output);
}

void Sheet(const SheetOptions& o)
{
    RandomizeFromClock();
    Extended start[3] = {o.phases[0], o.phases[1], o.phases[2]};
    if (!o.havePhases) {
        SetRandomStartPhases();
        start[0] = Phase1; start[1] = Phase2; start[2] = Phase3;
    }
    DibSurface sheet;
    MakeSurface(sheet, o.cellWidth * SheetColumns, o.cellHeight * SheetRows, o.white);
    DibSurface cell;
    for (int32_t k = 1; k <= SheetColumns * SheetRows; ++k) {
        // Every cell is the first frame of a fresh generator at the same phases.
        FreshGenerator();
        SaverSettings = TSaverSettings();
        SaverSettings.Speed = 54;
        SaverSettings.Rosacle = k;
        SaverSettings.Segment = o.petals;
        SaverSettings.Background = o.white;
        LayGenerator(o.cellWidth, o.cellHeight);
        Phase1 = start[0]; Phase2 = start[1]; Phase3 = start[2];
        MakeSurface(cell, o.cellWidth, o.cellHeight, o.white);
        GeneratorStep();
        PlotRosette(cell);
        const int32_t left = (k - 1) % SheetColumns * o.cellWidth;
        const int32_t top = (k - 1) / SheetColumns * o.cellHeight;
        for (int32_t y = 0; y < o.cellHeight; ++y) {
            uint8_t* target = sheet.Bits() + static_cast<size_t>(sheet.Height() - 1 - (top + y)) * sheet.RowStride();
            std::memcpy(target + 3 * left, cell.Row(y), static_cast<size_t>(o.cellWidth) * 3);
        }
    }
    WriteImageFile(sheet, o.output);
}

void Bench(const BenchOptions& o, std::ostream& out)
{
    const int callerWorkers = WorkerCount();
    SetWorkerCount(o.threads > 0 ? o.threads : ProcessorCount());
    std::vector<int32_t> patterns = o.patterns;
    if (patterns.empty())
        for (int32_t k = 1; k <= 40; ++k) patterns.push_back(k);
    DibSurface surface;
    RosettePlotter plotter;
    std::vector<double> inits, frames;
    for (const int32_t k : patterns) {
        RandSeed(o.seed);
        FreshGenerator();
        SaverSettings = TSaverSettings();
        SaverSettings.Speed = 54;
        SaverSettings.Rosacle = k;
        SaverSettings.Segment = o.petals;
        MakeSurface(surface, o.width, o.height, true);
        Clock::time_point start = Clock::now();
        LayGenerator(o.width, o.height);
        const double init = MillisecondsSince(start);
        SetRandomStartPhases();
        double step = 0, plot = 0;
        for (int32_t f = 0; f < o.frames; ++f) {
            start = Clock::now();
            GeneratorStep();
            step += MillisecondsSince(start);
            start = Clock::now();
            plotter.Plot(surface);
            plot += MillisecondsSince(start);
        }
        step /= o.frames;
        plot /= o.frames;
        out << "pattern " << k << ": init " << OneDecimal(init) << " ms, step " << OneDecimal(step) << " ms, plot "
            << OneDecimal(plot) << " ms per frame\n";
        inits.push_back(init);
        frames.push_back(step + plot);
    }
    const size_t slowFrame = std::max_element(frames.begin(), frames.end()) - frames.begin();
    const size_t slowInit = std::max_element(inits.begin(), inits.end()) - inits.begin();
    out << "all: step+plot median " << OneDecimal(Median(frames)) << " ms, max " << OneDecimal(frames[slowFrame])
        << " ms (pattern " << patterns[slowFrame] << "); init median " << OneDecimal(Median(inits)) << " ms, max "
        << OneDecimal(inits[slowInit]) << " ms (pattern " << patterns[slowInit] << ")\n";
    SetWorkerCount(callerWorkers);
}

Command ParseCommandLine(int argc, const char* const* argv, std::ostream& out, std::ostream& err)
{
    Command command;
    CLI::App app{"Renders Fractal Rosacle rosettes into image files (.png, .jpg, .jpeg, .ppm).", "rosacle"};
    app.require_subcommand(1, 1);

    struct Texts {
        std::string pattern, petals, size, phases, speed, background = "white", frames, seed, output, cell, patterns,
            threads;
    } t;
    bool gray = false, invert = false, pictures = false;

    CLI::App* render = app.add_subcommand("render", "Render frames of one pattern into an image file");
    render->add_option("--pattern", t.pattern, "pattern number, 1..40 (default 17)")->type_name("K");
    render->add_option("--petals", t.petals, "petal count, 4..12 (default 8)")->type_name("S");
    render->add_option("--size", t.size, "image size, 1x1 .. 1920x1200 (default 1920x1080)")->type_name("WxH");
    render->add_option("--phases", t.phases, "start phases in radians (default: random start values)")
        ->type_name("P1,P2,P3");
    render->add_option("--speed", t.speed, "drift speed, 0..150 (default 54)")->type_name("N");
    render->add_option("--background", t.background, "white or black (default white)")->type_name("white|black");
    render->add_flag("--gray", gray, "fold the colours into grey levels");
    render->add_flag("--invert", invert, "invert the colours");
    render->add_flag("--pictures", pictures, "two-tone: the brightest parts against the background");
    render->add_option("--frames", t.frames, "frames drawn over each other, 1..1000000 (default 1)")->type_name("N");
    render->add_option("--seed", t.seed, "seed of the random numbers, 0..4294967295 (default: the clock)")
        ->type_name("N");
    render->add_option("-o,--output", t.output, "the image file to write")->type_name("FILE")->required();

    CLI::App* sheet = app.add_subcommand("sheet", "Render all forty patterns side by side, 8 columns by 5 rows");
    sheet->add_option("--petals", t.petals, "petal count, 4..12 (default 8)")->type_name("S");
    sheet->add_option("--phases", t.phases, "phases in radians (default: random start values)")->type_name("P1,P2,P3");
    sheet->add_option("--cell", t.cell, "size of each cell, 1x1 .. 1920x1200 (default 256x191)")->type_name("WxH");
    sheet->add_option("--background", t.background, "white or black (default white)")->type_name("white|black");
    sheet->add_option("-o,--output", t.output, "the image file to write")->type_name("FILE")->required();

    CLI::App* bench = app.add_subcommand("bench", "Time the layout, the frame advance and the plot of each pattern");
    bench->add_option("--size", t.size, "surface size, 1x1 .. 1920x1200 (default 1920x1200)")->type_name("WxH");
    bench->add_option("--petals", t.petals, "petal count, 4..12 (default 4)")->type_name("S");
    bench->add_option("--patterns", t.patterns, "the patterns timed, e.g. 1-40 or 3,5,17-19 (default 1-40)")
        ->type_name("LIST");
    bench->add_option("--frames", t.frames, "frames timed per pattern, 1..100000 (default 20)")->type_name("N");
    bench->add_option("--threads", t.threads, "threads computing, 1..64; 1 runs the plain path (default: the processor count)")
        ->type_name("T");
    bench->add_option("--seed", t.seed, "seed of the start phases, 0..4294967295 (default 1)")->type_name("N");

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        command.status = app.exit(e, out, err);
        return command;
    } catch (const CLI::CallForAllHelp& e) {
        command.status = app.exit(e, out, err);
        return command;
    } catch (const CLI::ParseError& e) {
        Complain(err, e.what());
        command.status = UsageError;
        return command;
    }

    try {
        if (render->parsed()) {
            RenderOptions& o = command.render;
            if (!t.pattern.empty()) o.pattern = ParseInteger("--pattern", t.pattern, 1, 40);
            if (!t.petals.empty()) o.petals = ParseInteger("--petals", t.petals, 4, 12);
            if (!t.size.empty()) ParseSize("--size", t.size, o.width, o.height);
            if (!t.phases.empty()) {
                ParsePhases(t.phases, o.phases);
                o.havePhases = true;
            }
            if (!t.speed.empty()) o.speed = ParseInteger("--speed", t.speed, 0, 150);
            o.white = ParseBackground(t.background);
            o.gray = gray;
            o.invert = invert;
            o.pictures = pictures;
            if (!t.frames.empty()) o.frames = ParseInteger("--frames", t.frames, 1, 1000000);
            if (!t.seed.empty()) {
                o.seed = ParseSeed(t.seed);
                o.haveSeed = true;
            }
            CheckOutput(t.output);
            o.output = t.output;
            command.kind = Command::Render;
        } else if (bench->parsed()) {
            BenchOptions& o = command.bench;
            if (!t.size.empty()) ParseSize("--size", t.size, o.width, o.height);
            if (!t.petals.empty()) o.petals = ParseInteger("--petals", t.petals, 4, 12);
            if (!t.patterns.empty()) o.patterns = ParsePatternList(t.patterns);
            if (!t.frames.empty()) o.frames = ParseInteger("--frames", t.frames, 1, 100000);
            if (!t.threads.empty()) o.threads = ParseInteger("--threads", t.threads, 1, 64);
            if (!t.seed.empty()) o.seed = ParseSeed(t.seed);
            command.kind = Command::Bench;
        } else {
            SheetOptions& o = command.sheet;
            if (!t.petals.empty()) o.petals = ParseInteger("--petals", t.petals, 4, 12);
            if (!t.cell.empty()) ParseSize("--cell", t.cell, o.cellWidth, o.cellHeight);
            if (!t.phases.empty()) {
                ParsePhases(t.phases, o.phases);
                o.havePhases = true;
            }
            o.white = ParseBackground(t.background);
            CheckOutput(t.output);
            o.output = t.output;
            command.kind = Command::Sheet;
        }
    } catch (const BadUsage& e) {
        Complain(err, e.message);
        command.status = UsageError;
    }
    return command;
}

int Run(int argc, const char* const* argv, std::ostream& out, std::ostream& err)
{
    const Command command = ParseCommandLine(argc, argv, out, err);
    try {
        if (command.kind == Command::Render) Render(command.render);
        if (command.kind == Command::Sheet) Sheet(command.sheet);
        if (command.kind == Command::Bench) Bench(command.bench, out);
    } catch (const SaverError& e) {
        Complain(err, e.what());
        return IoError;
    }
    return command.status;
}

} // namespace RosacleTool
