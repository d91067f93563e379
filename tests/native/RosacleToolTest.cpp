#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <vector>

#include "app/RosacleTool.h"

namespace fs = std::filesystem;
using namespace RosacleTool;

namespace {

int RunTool(std::vector<const char*> args, std::string* errText = nullptr)
{
    args.insert(args.begin(), "rosacle");
    std::ostringstream out, err;
    const int rc = Run(static_cast<int>(args.size()), args.data(), out, err);
    if (errText) *errText = err.str();
    return rc;
}

std::string Slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string TempPath(const std::string& name) { return (fs::temp_directory_path() / ("rosacle-tool-" + name)).string(); }

TEST(RosacleOptions, Numbers)
{
    EXPECT_EQ(ParseInteger("--pattern", "40", 1, 40), 40);
    for (const char* bad : {"41", "0", "", " 3", "3x", "1e1", "0x10", "99999999999999999999"})
        EXPECT_THROW(ParseInteger("--pattern", bad, 1, 40), BadUsage) << bad;
    int32_t w = 0, h = 0;
    ParseSize("--size", "1920x1200", w, h);
    EXPECT_EQ(w, 1920);
    EXPECT_EQ(h, 1200);
    for (const char* bad : {"1921x10", "10x1201", "0x5", "5x0", "5", "x5", "5x", "-5x5", "5x5x5"})
        EXPECT_THROW(ParseSize("--size", bad, w, h), BadUsage) << bad;
}

TEST(RosacleOptions, PhasesAreExtendedDecimals)
{
    Rosacle::Extended p[3];
    ParsePhases("0.1,-2.5,3", p);
    EXPECT_EQ(p[0], 0.1L); // the extended value nearest 0.1, not the double one
    EXPECT_EQ(p[1], -2.5L);
    EXPECT_EQ(p[2], 3.0L);
    for (const char* bad : {"1,2", "1,2,3,4", "1,,3", "1,2,x", "1,2,3 ", "nan,1,2", "1,inf,2", "1e99999,1,1"})
        EXPECT_THROW(ParsePhases(bad, p), BadUsage) << bad;
}

TEST(RosacleOptions, UsageErrorsGiveOneLineAndStatusTwo)
{
    std::string err;
    const std::string out = TempPath("never.png");
    const std::vector<std::vector<const char*>> cases = {
        {"render", "--pattern", "0", "-o", out.c_str()},
        {"render", "--petals", "13", "-o", out.c_str()},
        {"render", "--size", "1920x1201", "-o", out.c_str()},
        {"render", "--speed", "fast", "-o", out.c_str()},
        {"render", "--background", "grey", "-o", out.c_str()},
        {"render", "--seed", "-1", "-o", out.c_str()},
        {"render", "--unknown", "-o", out.c_str()},
        {"render", "-o", "picture.bmp"},
        {"render"},
        {"sheet", "--cell", "0x0", "-o", out.c_str()},
        {},
        // Line breaks in what is echoed back stay on the one line.
        {"render", "--pattern", "4\n0", "-o", out.c_str()},
        {"render", "--unknown\r\nx", "-o", out.c_str()},
    };
    for (const auto& args : cases) {
        EXPECT_EQ(RunTool(args, &err), UsageError) << err;
        EXPECT_EQ(err.find("rosacle: "), 0u) << err;
        EXPECT_EQ(err.find('\n'), err.size() - 1) << err;
    }
    EXPECT_FALSE(fs::exists(out));
}

TEST(RosacleOptions, HelpIsNoError)
{
    EXPECT_EQ(RunTool({"--help"}), Success);
    EXPECT_EQ(RunTool({"render", "--help"}), Success);
}

TEST(RosacleRender, SameSeedSameImageAndSheetCellMatchesRender)
{
    const std::string a = TempPath("a.ppm"), b = TempPath("b.ppm"), sheet = TempPath("sheet.ppm");
    const std::vector<const char*> args = {"render", "--pattern", "1", "--size", "40x30", "--frames", "3",
                                           "--seed", "9", "--background", "black", "-o", a.c_str()};
    ASSERT_EQ(RunTool(args), Success);
    std::vector<const char*> again = args;
    again.back() = b.c_str();
    ASSERT_EQ(RunTool(again), Success);
    EXPECT_EQ(Slurp(a), Slurp(b));

    // One frame of pattern 1 at the sheet's phases is the sheet's first cell.
    ASSERT_EQ(RunTool({"render", "--pattern", "1", "--size", "40x30", "--phases", "1.5,2.5,3.5", "-o", a.c_str()}),
              Success);
    ASSERT_EQ(RunTool({"sheet", "--cell", "40x30", "--phases", "1.5,2.5,3.5", "-o", sheet.c_str()}), Success);
    const std::string single = Slurp(a), grid = Slurp(sheet);
    const std::string singleHeader = "P6\n40 30\n255\n", gridHeader = "P6\n320 150\n255\n";
    ASSERT_EQ(single.substr(0, singleHeader.size()), singleHeader);
    ASSERT_EQ(grid.substr(0, gridHeader.size()), gridHeader);
    for (int y = 0; y < 30; ++y)
        ASSERT_EQ(single.substr(singleHeader.size() + y * 120, 120), grid.substr(gridHeader.size() + y * 960, 120))
            << "row " << y;
    EXPECT_NE(single.find_first_not_of('\xff', singleHeader.size()), std::string::npos); // not only white
    for (const auto& p : {a, b, sheet}) fs::remove(p);
}

TEST(RosacleRender, UnwritableOutputIsAnIoError)
{
    std::string err;
    const std::string path = TempPath("missing-folder/x.jpg");
    EXPECT_EQ(RunTool({"render", "--size", "8x8", "-o", path.c_str()}, &err), IoError);
    EXPECT_EQ(err, "rosacle: Cannot create file " + path + "\n");
}

} // namespace
