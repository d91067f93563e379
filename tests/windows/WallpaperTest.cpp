// The wallpaper picture on real GDI objects: exactly one frame at the wallpaper size on a
// clean background, the same pixels in the screen-compatible bitmap, and that bitmap as a
// JPEG file with a wide name, written whole or not at all.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "common/SaverError.h"
#include "dialogs/Wallpaper.h"
#include "generator/Rosacle.h"
#include "raster/Plot.h"
#include "settings/SaverSettings.h"
#include "tests/JpegReader.h"

namespace {

constexpr uint32_t White = ColourValue(255, 255, 255);
constexpr uint32_t Black = ColourValue(0, 0, 0);

void SetTheScene(bool background)
{
    SaverSettings = TSaverSettings();
    SaverSettings.Speed = 54;
    SaverSettings.Rosacle = 1;
    SaverSettings.Segment = 8;
    SaverSettings.Background = background;
    Rosacle::Phase1 = 1.5L;
    Rosacle::Phase2 = 2.5L;
    Rosacle::Phase3 = 3.5L;
    Rosacle::Rate1 = -0.02L;
    Rosacle::Rate2 = 0.015L;
    Rosacle::Rate3 = 0.025L;
}

// The wallpaper rendered in a 512 x 382 surface that holds an older picture.
void Render(TDIB& surface, TBitmap& wall, int width, int height, int* fills = nullptr)
{
    surface.SetBitCount(24);
    surface.SetWidth(512);
    surface.SetHeight(382);
    surface.Fill(ColourValue(255, 0, 0));
    RenderWallpaper(surface, wall, width, height, [&] {
        if (fills) ++*fills;
        surface.Fill(SaverSettings.Background ? White : Black);
    });
}

std::wstring TempFolder()
{
    wchar_t path[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH, path);
    return path;
}

std::string Slurp(const std::wstring& path)
{
    std::string bytes;
    if (FILE* f = _wfopen(path.c_str(), L"rb")) {
        char buffer[4096];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, n);
        std::fclose(f);
    }
    return bytes;
}

JpegFile ReadJpeg(const std::wstring& path) { return ReadJpegFile(_wfopen(path.c_str(), L"rb")); }

TEST(Wallpaper, OneFrameOnACleanBackgroundAtTheWallpaperSize)
{
    SetTheScene(true);
    TDIB surface;
    TBitmap wall;
    int fills = 0;
    Render(surface, wall, 1366, 768, &fills);
    EXPECT_EQ(fills, 1);
    ASSERT_EQ(surface.Width(), 1366);
    ASSERT_EQ(surface.Height(), 768);
    EXPECT_EQ(Rosacle::SurfaceWidth, 1366);
    EXPECT_EQ(Rosacle::SurfaceHeight, 768);

    // The same picture as the generator gives by hand: the layout for this size, one step
    // from the phases the preview had reached, one plot on the background.
    SetTheScene(true);
    Rosacle::LayGenerator(1366, 768);
    Rosacle::GeneratorStep();
    DibSurface expected;
    expected.SetBitCount(24);
    expected.SetWidth(1366);
    expected.SetHeight(768);
    expected.Fill(White);
    PlotRosette(expected);
    for (int y = 0; y < 768; ++y)
        ASSERT_EQ(std::memcmp(surface.Row(y), expected.Row(y), 1366 * 3), 0) << "row " << y;

    // The screen-compatible bitmap holds those pixels.
    ASSERT_EQ(wall.Width(), 1366);
    ASSERT_EQ(wall.Height(), 768);
    for (int y = 0; y < 768; y += 17)
        for (int x = 0; x < 1366; x += 23) {
            const uint8_t* p = surface.Row(y) + 3 * x;
            ASSERT_EQ(GetPixel(wall.DC(), x, y), RGB(p[2], p[1], p[0])) << x << "," << y;
        }
}

TEST(Wallpaper, BlackBackgroundAndTheLargestSize)
{
    SetTheScene(false);
    TDIB surface;
    TBitmap wall;
    Render(surface, wall, 1920, 1200);
    EXPECT_EQ(wall.Width(), 1920);
    EXPECT_EQ(wall.Height(), 1200);
    EXPECT_EQ(GetPixel(wall.DC(), 0, 0), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(wall.DC(), 1919, 1199), RGB(0, 0, 0));
    EXPECT_NE(GetPixel(wall.DC(), 960, 600), RGB(0, 0, 0));
    EXPECT_NE(GetPixel(wall.DC(), 960, 600), RGB(255, 0, 0)); // nothing of the older picture

    // Beyond what the generator's planes hold: refused before anything changes.
    EXPECT_THROW(RenderWallpaper(surface, wall, 1921, 1200, [] {}), SaverError);
    EXPECT_EQ(surface.Width(), 1920);
    EXPECT_EQ(wall.Width(), 1920);
}

// Another wallpaper of the same size draws into the same bitmap; a new size makes a new one.
TEST(Wallpaper, BitmapIsMadeAnewOnlyForANewSize)
{
    TBitmap wall;
    wall.SetWidth(64);
    wall.SetHeight(48);
    const HBITMAP first = wall.Handle();
    SetPixel(wall.DC(), 5, 5, RGB(10, 20, 30));
    wall.SetWidth(64);
    wall.SetHeight(48);
    EXPECT_EQ(wall.Handle(), first);
    EXPECT_EQ(GetPixel(wall.DC(), 5, 5), RGB(10, 20, 30));
    wall.SetHeight(49);
    BITMAP info{};
    ASSERT_TRUE(GetObjectW(wall.Handle(), sizeof info, &info));
    EXPECT_EQ(info.bmWidth, 64);
    EXPECT_EQ(info.bmHeight, 49);
    wall.SetWidth(0);
    EXPECT_TRUE(wall.Empty());
}

TEST(Wallpaper, JpegOfTheBitmapUnderAWideName)
{
    SetTheScene(true);
    TDIB surface;
    TBitmap wall;
    Render(surface, wall, 800, 600);
    const std::wstring path = TempFolder() + L"Rosacle \x0431\x0443\x043a\x0435\x0442 \x58c1.jpg";
    { FILE* f = _wfopen(path.c_str(), L"wb"); std::fputs("older", f); std::fclose(f); }

    WriteWallpaperJpeg(wall, path);
    const JpegFile j = ReadJpeg(path);
    ASSERT_EQ(j.width, 800);
    ASSERT_EQ(j.height, 600);
    EXPECT_EQ(j.components, 3);
    EXPECT_FALSE(j.progressive);
    // Close to the picture: JPEG changes a pixel by a few levels at quality 90.
    double difference = 0;
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x)
            for (int c = 0; c < 3; ++c)
                difference += std::abs(int(j.rgb[(static_cast<size_t>(y) * 800 + x) * 3 + c]) -
                                       int(surface.Row(y)[3 * x + 2 - c]));
    EXPECT_LT(difference / (800 * 600 * 3), 4.0);
    EXPECT_EQ(GetFileAttributesW((path + L".part").c_str()), INVALID_FILE_ATTRIBUTES);
    DeleteFileW(path.c_str());
}

TEST(Wallpaper, FileThatCannotBeMadeNamesItAsGiven)
{
    SetTheScene(true);
    TDIB surface;
    TBitmap wall;
    Render(surface, wall, 800, 600);
    const std::wstring name = L"no-such-folder-\x00e9\\Rosacle1.jpg";
    try {
        WriteWallpaperJpeg(wall, name);
        ADD_FAILURE();
    } catch (const SaverError& e) {
        EXPECT_STREQ(e.what(), "Cannot create file no-such-folder-\xc3\xa9\\Rosacle1.jpg");
    }

    // An existing file survives a failure: here the picture has no pixels to give.
    const std::wstring path = TempFolder() + L"Rosacle keep.jpg";
    { FILE* f = _wfopen(path.c_str(), L"wb"); std::fputs("older", f); std::fclose(f); }
    TBitmap empty;
    EXPECT_THROW(WriteWallpaperJpeg(empty, path), SaverError);
    EXPECT_EQ(Slurp(path), "older");
    DeleteFileW(path.c_str());
}

} // namespace
