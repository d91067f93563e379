#pragma once
// The rosacle command-line tool: renders rosettes into image files without any window.
#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "generator/ExtendedMath.h"
#include "settings/SaverSettings.h"

namespace RosacleTool {

// Exit statuses.
constexpr int Success = 0;
constexpr int IoError = 1;
constexpr int UsageError = 2;

struct RenderOptions {
    int32_t pattern = KnobOf(&TSaverSettings::Rosacle).firstRun;
    int32_t petals = KnobOf(&TSaverSettings::Segment).firstRun;
    int32_t width = 1920;
    int32_t height = 1080;
    bool havePhases = false;
    Rosacle::Extended phases[3] = {0, 0, 0};
    int32_t speed = KnobOf(&TSaverSettings::Speed).firstRun;
    bool white = KnobOf(&TSaverSettings::Background).firstRun != 0;
    bool gray = false;
    bool invert = false;
    bool pictures = false;
    int32_t frames = 1;
    bool haveSeed = false;
    uint32_t seed = 0;
    std::string output;
};

struct SheetOptions {
    int32_t petals = KnobOf(&TSaverSettings::Segment).firstRun;
    bool havePhases = false;
    Rosacle::Extended phases[3] = {0, 0, 0};
    int32_t cellWidth = 256;
    int32_t cellHeight = 191;
    bool white = KnobOf(&TSaverSettings::Background).firstRun != 0;
    std::string output;
};

struct BenchOptions {
    int32_t width = 1920;
    int32_t height = 1200;
    int32_t petals = 4;
    std::vector<int32_t> patterns; // ascending, no repeats; empty means 1..40
    int32_t frames = 20;
    int32_t threads = 0; // 0: the processor count
    uint32_t seed = 1;
};

// The grid of the contact sheet.
constexpr int SheetColumns = 8;
constexpr int SheetRows = 5;

// A usage problem, with the one line that names it.
struct BadUsage {
    std::string message;
};

// Value parsers of the options; they throw BadUsage naming the option.
int32_t ParseInteger(const std::string& option, const std::string& text, int32_t low, int32_t high);
void ParseSize(const std::string& option, const std::string& text, int32_t& width, int32_t& height);
void ParsePhases(const std::string& text, Rosacle::Extended phases[3]);
// A list of pattern numbers such as "1-40" or "3,5,17-19": ascending, without repeats.
std::vector<int32_t> ParsePatternList(const std::string& text);

// What a command line asks for: a render, a sheet, a bench, or nothing more than its exit status
// (help was printed, or a usage problem was reported on err).
struct Command {
    enum Kind { Exit, Render, Sheet, Bench } kind = Exit;
    int status = Success;
    RenderOptions render;
    SheetOptions sheet;
    BenchOptions bench;
};

// Reads the command line without running anything.
Command ParseCommandLine(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

// Runs the tool on its command line; writes help to out and problems to err; returns the
// exit status.
int Run(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

void Render(const RenderOptions& options);
void Sheet(const SheetOptions& options);
// Times GeneratorInit, GeneratorStep and the plot of every listed pattern; writes one line
// per pattern and a summary line.
void Bench(const BenchOptions& options, std::ostream& out);

} // namespace RosacleTool
