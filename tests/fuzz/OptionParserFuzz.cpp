// The rosacle tool's command line: the input, cut at its zero bytes, is the argument list.
// Parsing runs nothing; it either asks for a render or a sheet with every option inside its
// documented range, or ends with help (status 0) or one line naming the problem (status 2).
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "app/RosacleTool.h"
#include "generator/Rosacle.h"
#include "tests/fuzz/FuzzInput.h"

using namespace RosacleTool;

namespace {

bool Inside(int32_t v, int32_t low, int32_t high) { return v >= low && v <= high; }
// A size a rosette can be laid for.
bool SurfaceSize(int32_t width, int32_t height)
{
    return Inside(width, 1, Rosacle::MaxSurfaceWidth) && Inside(height, 1, Rosacle::MaxSurfaceHeight);
}

void CheckPhases(bool have, const Rosacle::Extended* phases)
{
    for (int k = 0; have && k < 3; ++k) FuzzCheck(std::isfinite(phases[k]), "a phase that is not finite");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<std::string> words{"rosacle"};
    std::string word;
    for (size_t k = 0; k < size; ++k) {
        if (data[k] == 0) {
            words.push_back(word);
            word.clear();
        } else {
            word += static_cast<char>(data[k]);
        }
    }
    words.push_back(word);
    std::vector<const char*> argv;
    for (const std::string& w : words) argv.push_back(w.c_str());

    std::ostringstream out, err;
    const Command c = ParseCommandLine(static_cast<int>(argv.size()), argv.data(), out, err);
    const std::string problem = err.str();
    switch (c.kind) {
    case Command::Render: {
        const RenderOptions& o = c.render;
        FuzzCheck(problem.empty(), "a render with a complaint");
        FuzzCheck(Inside(o.pattern, 1, 40) && Inside(o.petals, 4, 12) && Inside(o.speed, 0, 150), "a render value");
        FuzzCheck(SurfaceSize(o.width, o.height), "a render size");
        FuzzCheck(Inside(o.frames, 1, 1000000) && !o.output.empty(), "render frames or output");
        CheckPhases(o.havePhases, o.phases);
        break;
    }
    case Command::Sheet: {
        const SheetOptions& o = c.sheet;
        FuzzCheck(problem.empty(), "a sheet with a complaint");
        FuzzCheck(Inside(o.petals, 4, 12) && !o.output.empty(), "a sheet value");
        FuzzCheck(SurfaceSize(o.cellWidth, o.cellHeight), "a sheet cell");
        CheckPhases(o.havePhases, o.phases);
        break;
    }
    case Command::Bench: {
        const BenchOptions& o = c.bench;
        FuzzCheck(problem.empty(), "a bench with a complaint");
        FuzzCheck(Inside(o.petals, 4, 12) && Inside(o.frames, 1, 100000) && Inside(o.threads, 0, 64), "a bench value");
        FuzzCheck(SurfaceSize(o.width, o.height), "a bench size");
        for (size_t k = 0; k < o.patterns.size(); ++k)
            FuzzCheck(Inside(o.patterns[k], 1, 40) && (k == 0 || o.patterns[k - 1] < o.patterns[k]),
                  "a bench pattern list out of range or order");
        break;
    }
    case Command::Exit:
        if (c.status == UsageError) {
            FuzzCheck(problem.rfind("rosacle: ", 0) == 0, "a complaint without the program's name");
            FuzzCheck(problem.find('\n') == problem.size() - 1, "a complaint of more than one line");
        } else {
            FuzzCheck(c.status == Success && !out.str().empty(), "an exit that is neither help nor a complaint");
        }
        break;
    }
    return 0;
}
