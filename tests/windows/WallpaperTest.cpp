// The wallpaper picture on real GDI objects: exactly one frame at the wallpaper size on a
// clean background, the same pixels in the screen-compatible bitmap, and that bitmap as a
// JPEG file with a wide name, written whole or not at all.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "common/SaverError.h"
#include "dialogs/Wallpaper.h"
#include "generator/RunStart.h"
#include "raster/Plot.h"
#include "settings/SaverSettings.h"
#include "tests/JpegReader.h"

namespace {

constexpr uint32_t White = ColourValue(255, 255, 255);
constexpr uint32_t Black = ColourValue(0, 0, 0);

// The settings dialog's rosette some frames into its run.
void SetTheScene(Rosacle::Rosette& preview, bool background)
{
    SaverSettings = TSaverSettings();
    SaverSettings.Speed = 54;
    SaverSettings.Rosacle = 7; // a member that carries d from point to point
    SaverSettings.Segment = 8;
    SaverSettings.Background = background;
    preview.Lay(512, 382);
    preview.Phase1 = 1.5L;
    preview.Phase2 = 2.5L;
    preview.Phase3 = 3.5L;
    preview.Rate1 = -0.02L;
    preview.Rate2 = 0.015L;
    preview.Rate3 = 0.025L;
    for (int k = 0; k < 3; ++k) preview.Step();
}

bool Same(Rosacle::Extended a, Rosacle::Extended b) { return std::memcmp(&a, &b, 10) == 0; }

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
    Rosacle::Rosette preview;
    SetTheScene(preview, true);
    const Rosacle::Rosette before = preview;
    TBitmap wall;
    RenderWallpaper(preview, wall, 1366, 768);
    // The preview's rosette goes on as if nothing had been exported.
    EXPECT_TRUE(Same(preview.Phase1, before.Phase1) && Same(preview.Rate3, before.Rate3) &&
                Same(preview.Working.D, before.Working.D));
    EXPECT_EQ(preview.SurfaceWidth, 512);

    // The same picture as a rosette of that size gives by hand: one step from where the
    // preview had reached, its phases, rates and working values, one plot on the background.
    Rosacle::Rosette own = before;
    own.Lay(1366, 768);
    DibSurface expected;
    expected.SetBitCount(24);
    expected.SetWidth(1366);
    expected.SetHeight(768);
    expected.Fill(White);
    own.Frame(expected);
    ASSERT_EQ(wall.Width(), 1366);
    ASSERT_EQ(wall.Height(), 768);
    int differing = 0;
    for (int y = 0; y < 768; ++y)
        for (int x = 0; x < 1366; x += 3) {
            const uint8_t* p = expected.Row(y) + 3 * x;
            differing += GetPixel(wall.DC(), x, y) != RGB(p[2], p[1], p[0]);
        }
    EXPECT_EQ(differing, 0);
}

TEST(Wallpaper, BlackBackgroundAndTheLargestSize)
{
    Rosacle::Rosette preview;
    SetTheScene(preview, false);
    TBitmap wall;
    RenderWallpaper(preview, wall, 1920, 1200);
    EXPECT_EQ(wall.Width(), 1920);
    EXPECT_EQ(wall.Height(), 1200);
    EXPECT_EQ(GetPixel(wall.DC(), 0, 0), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(wall.DC(), 1919, 1199), RGB(0, 0, 0));
    EXPECT_NE(GetPixel(wall.DC(), 960, 600), RGB(0, 0, 0));

    // Beyond 1920 x 1200: refused before anything changes.
    EXPECT_THROW(RenderWallpaper(preview, wall, 1921, 1200), SaverError);
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
    Rosacle::Rosette preview;
    SetTheScene(preview, true);
    TBitmap wall;
    RenderWallpaper(preview, wall, 800, 600);
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
    int samples = 0;
    for (int y = 0; y < 600; y += 3)
        for (int x = 0; x < 800; x += 3, ++samples) {
            const COLORREF p = GetPixel(wall.DC(), x, y);
            const int want[3] = {GetRValue(p), GetGValue(p), GetBValue(p)};
            for (int c = 0; c < 3; ++c)
                difference += std::abs(int(j.rgb[(static_cast<size_t>(y) * 800 + x) * 3 + c]) - want[c]);
        }
    EXPECT_LT(difference / (samples * 3), 4.0);
    EXPECT_EQ(GetFileAttributesW((path + L".part").c_str()), INVALID_FILE_ATTRIBUTES);
    DeleteFileW(path.c_str());
}

TEST(Wallpaper, FileThatCannotBeMadeNamesItAsGiven)
{
    Rosacle::Rosette preview;
    SetTheScene(preview, true);
    TBitmap wall;
    RenderWallpaper(preview, wall, 800, 600);
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
