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
#include "generator/RunStart.h"
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
uint32_t BackgroundColour(bool white) { return white ? ColourValue(255, 255, 255) : ColourValue(0, 0, 0); }

void MakeSurface(DibSurface& surface, int32_t width, int32_t height, bool white)
{
    surface.SetBitCount(24);
    surface.SetWidth(width);
    surface.SetHeight(height);
    surface.Fill(BackgroundColour(white));
}

void CheckOutput(const std::string& path)
{
    ImageFormat format;
    if (!ImageFormatOf(path, format))
        Bad("output '" + path + "' has an unknown extension (use .png, .jpg, .jpeg or .ppm)");
    if (!ImageFormatAvailable(format)) Bad("this build writes no PNG files: use .jpg or .ppm for '" + path + "'");
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
    SaverSettings = TSaverSettings();
    SaverSettings.Speed = o.speed;
    SaverSettings.Rosacle = o.pattern;
    SaverSettings.Segment = o.petals;
    SaverSettings.Background = o.white;
    SaverSettings.Gray = o.gray;
    SaverSettings.Oval = o.invert;
    SaverSettings.Pictures = o.pictures;
    RunStart start;
    start.windowWidth = o.width;
    start.windowHeight = o.height;
    start.seed = o.haveSeed ? &o.seed : nullptr;
    start.fixedPhases = o.havePhases ? o.phases : nullptr;
    DibSurface surface;
    RosetteRun run;
    run.Start(start, &surface);
    // Never cleared between frames, as in the saver.
    for (int32_t f = 0; f < o.frames; ++f) run.Frame(surface);
    WriteImageFile(surface, o.output);
}

void Sheet(const SheetOptions& o)
{
    RandomizeFromClock();
    Extended start[3] = {o.phases[0], o.phases[1], o.phases[2]};
    if (!o.havePhases) {
        Rosette drawn;
        SetStartPhases(drawn);
        start[0] = drawn.Phase1; start[1] = drawn.Phase2; start[2] = drawn.Phase3;
    }
    DibSurface sheet;
    MakeSurface(sheet, o.cellWidth * SheetColumns, o.cellHeight * SheetRows, o.white);
    DibSurface cell;
    for (int32_t k = 1; k <= SheetColumns * SheetRows; ++k) {
        // Every cell is the first frame of a fresh rosette at the same phases.
        SaverSettings = TSaverSettings();
        SaverSettings.Speed = KnobOf(&TSaverSettings::Speed).firstRun;
        SaverSettings.Rosacle = k;
        SaverSettings.Segment = o.petals;
        SaverSettings.Background = o.white;
        RunStart run;
        run.windowWidth = o.cellWidth;
        run.windowHeight = o.cellHeight;
        run.fixedPhases = start;
        RosetteRun cellRun;
        cellRun.Start(run, &cell);
        cellRun.Frame(cell);
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
    std::vector<double> inits, frames;
    for (const int32_t k : patterns) {
        RandSeed(o.seed);
        Rosette rosette;
        SaverSettings = TSaverSettings();
        SaverSettings.Speed = KnobOf(&TSaverSettings::Speed).firstRun;
        SaverSettings.Rosacle = k;
        SaverSettings.Segment = o.petals;
        MakeSurface(surface, o.width, o.height, true);
        Clock::time_point start = Clock::now();
        rosette.Lay(o.width, o.height);
        const double init = MillisecondsSince(start);
        SetStartPhases(rosette);
        TakeFastPathTally();
        double step = 0, plot = 0;
        for (int32_t f = 0; f < o.frames; ++f) {
            start = Clock::now();
            rosette.Step();
            step += MillisecondsSince(start);
            start = Clock::now();
            rosette.Plot(surface);
            plot += MillisecondsSince(start);
        }
        step /= o.frames;
        plot /= o.frames;
        out << "pattern " << k << ": init " << OneDecimal(init) << " ms, step " << OneDecimal(step) << " ms, plot "
            << OneDecimal(plot) << " ms per frame";
        const FastPathTally fast = TakeFastPathTally();
        if (fast.points > 0)
            out << ", fast path proved " << OneDecimal(100.0 * static_cast<double>(fast.proven) / static_cast<double>(fast.points))
                << " % of " << fast.points / static_cast<uint64_t>(o.frames) << " points";
        out << "\n";
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

    RenderOptions& ro = command.render;
    SheetOptions& so = command.sheet;
    BenchOptions& bo = command.bench;
    // A setting's range from the settings table, its default from the options' own.
    const auto setting = [](int32_t TSaverSettings::*field) {
        const SettingKnob& k = KnobOf(field);
        return CLI::Range(k.low, k.high);
    };
    const CLI::Range patternRange = setting(&TSaverSettings::Rosacle), petalRange = setting(&TSaverSettings::Segment);
    const auto background = CLI::IsMember({"white", "black"});
    std::string size, phases, cell, patterns, renderBackground = ro.white ? "white" : "black",
                                                 sheetBackground = so.white ? "white" : "black";

    CLI::App* render = app.add_subcommand("render", "Render frames of one pattern into an image file");
    render->add_option("--pattern", ro.pattern, "pattern number")->check(patternRange)->capture_default_str()->type_name("K");
    render->add_option("--petals", ro.petals, "petal count")->check(petalRange)->capture_default_str()->type_name("S");
    render->add_option("--size", size, "image size, 1x1 .. 1920x1200 (default 1920x1080)")->type_name("WxH");
    render->add_option("--phases", phases, "start phases in radians (default: random start values)")
        ->type_name("P1,P2,P3");
    render->add_option("--speed", ro.speed, "drift speed")
        ->check(setting(&TSaverSettings::Speed))
        ->capture_default_str()
        ->type_name("N");
    render->add_option("--background", renderBackground, "background")->check(background)->capture_default_str();
    render->add_flag("--gray", ro.gray, "fold the colours into grey levels");
    render->add_flag("--invert", ro.invert, "invert the colours");
    render->add_flag("--pictures", ro.pictures, "two-tone: the brightest parts against the background");
    render->add_option("--frames", ro.frames, "frames drawn over each other")
        ->check(CLI::Range(1, 1000000))
        ->capture_default_str()
        ->type_name("N");
    CLI::Option* renderSeed = render->add_option("--seed", ro.seed, "seed of the random numbers (default: the clock)")
                                  ->check(CLI::Range(0u, UINT32_MAX))
                                  ->type_name("N");
    render->add_option("-o,--output", ro.output, "the image file to write")->type_name("FILE")->required();

    CLI::App* sheet = app.add_subcommand("sheet", "Render all forty patterns side by side, 8 columns by 5 rows");
    sheet->add_option("--petals", so.petals, "petal count")->check(petalRange)->capture_default_str()->type_name("S");
    sheet->add_option("--phases", phases, "phases in radians (default: random start values)")->type_name("P1,P2,P3");
    sheet->add_option("--cell", cell, "size of each cell, 1x1 .. 1920x1200 (default 256x191)")->type_name("WxH");
    sheet->add_option("--background", sheetBackground, "background")->check(background)->capture_default_str();
    sheet->add_option("-o,--output", so.output, "the image file to write")->type_name("FILE")->required();

    CLI::App* bench = app.add_subcommand("bench", "Time the layout, the frame advance and the plot of each pattern");
    bench->add_option("--size", size, "surface size, 1x1 .. 1920x1200 (default 1920x1200)")->type_name("WxH");
    bench->add_option("--petals", bo.petals, "petal count")->check(petalRange)->capture_default_str()->type_name("S");
    bench->add_option("--patterns", patterns, "the patterns timed, e.g. 1-40 or 3,5,17-19 (default 1-40)")
        ->type_name("LIST");
    bench->add_option("--frames", bo.frames, "frames timed per pattern")
        ->check(CLI::Range(1, 100000))
        ->capture_default_str()
        ->type_name("N");
    bench->add_option("--threads", bo.threads, "threads computing; 1 runs the plain path (default: the processor count)")
        ->check(CLI::Range(1, 64))
        ->type_name("T");
    bench->add_option("--seed", bo.seed, "seed of the start phases")
        ->check(CLI::Range(0u, UINT32_MAX))
        ->capture_default_str()
        ->type_name("N");

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
            if (!size.empty()) ParseSize("--size", size, ro.width, ro.height);
            if (!phases.empty()) {
                ParsePhases(phases, ro.phases);
                ro.havePhases = true;
            }
            ro.white = renderBackground == "white";
            ro.haveSeed = renderSeed->count() > 0;
            CheckOutput(ro.output);
            command.kind = Command::Render;
        } else if (bench->parsed()) {
            if (!size.empty()) ParseSize("--size", size, bo.width, bo.height);
            if (!patterns.empty()) bo.patterns = ParsePatternList(patterns);
            command.kind = Command::Bench;
        } else {
            if (!cell.empty()) ParseSize("--cell", cell, so.cellWidth, so.cellHeight);
            if (!phases.empty()) {
                ParsePhases(phases, so.phases);
                so.havePhases = true;
            }
            so.white = sheetBackground == "white";
            CheckOutput(so.output);
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
