// The settings table against the X11 hack's settings description, and the start of a run.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>
#include <string>

#include "generator/Random.h"
#include "generator/Rosacle.h"
#include "generator/RunStart.h"
#include "settings/SaverSettings.h"

using namespace Rosacle;

namespace {

std::string DescriptionXml()
{
    std::ifstream in(ROSACLE_SOURCE_DIR "/x11/fractalrosacle.xml");
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The attribute of the element whose id is id.
std::string Attribute(const std::string& xml, const std::string& id, const std::string& attribute)
{
    std::smatch element;
    if (!std::regex_search(xml, element, std::regex("<[a-z]+ id=\"" + id + "\"[^>]*>"))) return "";
    std::smatch value;
    const std::string text = element.str();
    if (!std::regex_search(text, value, std::regex("\\b" + attribute + "=\"([^\"]*)\""))) return "";
    return value[1];
}

TEST(SettingsTable, TheX11DescriptionOffersTheTablesRangesAndFirstRunValues)
{
    const std::string xml = DescriptionXml();
    if (xml.empty()) GTEST_SKIP() << "no source tree here";
    const struct {
        const char* id;
        int32_t TSaverSettings::*field;
    } sliders[] = {{"speed", &TSaverSettings::Speed}, {"pattern", &TSaverSettings::Rosacle}, {"petals", &TSaverSettings::Segment}};
    for (const auto& s : sliders) {
        const SettingKnob& k = KnobOf(s.field);
        EXPECT_EQ(Attribute(xml, s.id, "low"), std::to_string(k.low)) << s.id;
        EXPECT_EQ(Attribute(xml, s.id, "high"), std::to_string(k.high)) << s.id;
        EXPECT_EQ(Attribute(xml, s.id, "default"), std::to_string(k.firstRun)) << s.id;
    }
    // A check box that sets an option starts off, one that unsets it starts on.
    const struct {
        const char* id;
        bool TSaverSettings::*field;
    } boxes[] = {{"randompattern", &TSaverSettings::Rosacle_Random}, {"randompetals", &TSaverSettings::Petals_Random},
                 {"gray", &TSaverSettings::Gray}, {"invert", &TSaverSettings::Oval}, {"pictures", &TSaverSettings::Pictures}};
    for (const auto& b : boxes)
        EXPECT_EQ(Attribute(xml, b.id, "arg-unset").empty(), KnobOf(b.field).firstRun == 0) << b.id;
    // The first option of the background is the one without an argument.
    EXPECT_LT(xml.find("id=\"white\""), xml.find("id=\"black\""));
    EXPECT_EQ(KnobOf(&TSaverSettings::Background).firstRun, 1);
}

TEST(SettingsTable, FirstRunAndPreviewValues)
{
    TSaverSettings s;
    SetFirstRunSettings(s);
    EXPECT_TRUE(s.Speed == 54 && s.Rosacle == 17 && s.Size == 52 && s.Segment == 8 && s.Bright == 0);
    EXPECT_TRUE(s.Background && s.Rosacle_Random && !s.Petals_Random && !s.Gray && !s.Oval && !s.Pictures);
    EXPECT_TRUE(s.All_Monitors);
    const SettingKnob& monitors = KnobOf(&TSaverSettings::All_Monitors);
    EXPECT_TRUE(monitors.low == 0 && monitors.high == 1 && std::string(monitors.name) == "All_Monitors");
    TSaverSettings p;
    SetPreviewSettings(p);
    s.Speed = 50;
    for (const SettingKnob& k : SettingKnobs) EXPECT_EQ(k.Get(p), k.Get(s)) << k.name;
}

TEST(RunStart, SurfaceClampedAndCentred)
{
    SurfacePlace p = PlaceSurface(2200, 1400);
    EXPECT_TRUE(p.width == 1920 && p.height == 1200 && p.left == 140 && p.top == 100);
    p = PlaceSurface(1921, 700);
    EXPECT_TRUE(p.width == 1920 && p.height == 700 && p.left == 0 && p.top == 0);
    p = PlaceSurface(640, 480);
    EXPECT_TRUE(p.width == 640 && p.height == 480 && p.left == 0 && p.top == 0);
}

TEST(RunStart, SeedPicksLayoutAndPhasesInThatOrderAndAReshapeGoesOn)
{
    SaverSettings = TSaverSettings();
    SaverSettings.Rosacle_Random = true;
    SaverSettings.Petals_Random = true;
    const uint32_t seed = 77;
    RandSeed(seed);
    const int32_t pattern = Random(39) + 1, petals = Random(8) + 4;
    const Extended p1 = static_cast<Extended>(Random(1256)) / 220;
    RunStart start;
    start.windowWidth = 2000;
    start.windowHeight = 100;
    start.seed = &seed;
    start.kind = PlotKind::Preview;
    DibSurface surface;
    RosetteRun run;
    const SurfacePlace place = run.Start(start, &surface);
    const Rosette& R = run.rosette;
    EXPECT_TRUE(R.Pattern == pattern && SaverSettings.Rosacle == pattern);
    EXPECT_TRUE(R.Segment == petals && SaverSettings.Segment == petals);
    EXPECT_EQ(R.Phase1, p1);
    EXPECT_EQ(R.Kind(), PlotKind::Preview);
    EXPECT_TRUE(place.width == 1920 && place.left == 40 && surface.Width() == 1920 && surface.Height() == 100);
    EXPECT_TRUE(R.SurfaceWidth == 1920 && R.SurfaceHeight == 100);
    EXPECT_EQ(surface.Row(50)[0], 0); // the background of a default record: black

    // A wider window keeps surface and picture; a smaller one lays anew, the phases going on.
    run.Frame(surface);
    const Extended drifted = R.Phase1;
    const uint8_t centre = surface.Row(50)[3 * 960];
    EXPECT_EQ(run.Reshape(2400, 100, &surface).left, 240);
    EXPECT_EQ(surface.Row(50)[3 * 960], centre);
    EXPECT_EQ(run.Reshape(640, 480, &surface).width, 640);
    EXPECT_TRUE(surface.Width() == 640 && R.SurfaceHeight == 480 && R.RowCount == 336);
    EXPECT_EQ(R.Phase1, drifted);
    EXPECT_EQ(R.Kind(), PlotKind::Preview);
}

} // namespace
