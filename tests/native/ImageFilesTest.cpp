#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#ifdef ROSACLE_HAVE_PNG
#include <png.h>
#endif

#include "common/SaverError.h"
#include "raster/ImageFiles.h"
#include "tests/JpegReader.h"

namespace fs = std::filesystem;

namespace {

struct Image {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;
};

std::string TempPath(const std::string& name) { return (fs::temp_directory_path() / ("rosacle-test-" + name)).string(); }

std::string Slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A 5 x 3 surface with a different colour in every pixel.
void Pattern(DibSurface& s)
{
    s.SetBitCount(24);
    s.SetWidth(5);
    s.SetHeight(3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) s.SetPixel(x, y, ColourValue(40 * x, 100 * y, 7 + x + y));
}

Image ReadPpm(const std::string& path)
{
    Image image;
    const std::string data = Slurp(path);
    int consumed = 0;
    EXPECT_EQ(std::sscanf(data.c_str(), "P6\n%d %d\n255\n%n", &image.width, &image.height, &consumed), 2);
    image.rgb.assign(data.begin() + consumed, data.end());
    return image;
}

JpegFile ReadJpeg(const std::string& path) { return ReadJpegFile(std::fopen(path.c_str(), "rb")); }

TEST(ImageFiles, FormatFromExtension)
{
    ImageFormat f;
    EXPECT_TRUE(ImageFormatOf("a/b.PNG", f)); EXPECT_EQ(f, ImageFormat::Png);
    EXPECT_TRUE(ImageFormatOf("x.jpeg", f));  EXPECT_EQ(f, ImageFormat::Jpeg);
    EXPECT_TRUE(ImageFormatOf("x.Jpg", f));   EXPECT_EQ(f, ImageFormat::Jpeg);
    EXPECT_TRUE(ImageFormatOf("x.ppm", f));   EXPECT_EQ(f, ImageFormat::Ppm);
    EXPECT_FALSE(ImageFormatOf("x.gif", f));
    EXPECT_FALSE(ImageFormatOf("dir.png/x", f));
    EXPECT_FALSE(ImageFormatOf("png", f));
}

TEST(ImageFiles, PpmKeepsEveryPixel)
{
    DibSurface s;
    Pattern(s);
    const std::string path = TempPath("a.ppm");
    WriteImageFile(s, path);
    Image image = ReadPpm(path);
    ASSERT_EQ(image.width, 5);
    ASSERT_EQ(image.height, 3);
    ASSERT_EQ(image.rgb.size(), 45u);
    // Pixel (4, 2), top-down rows, red first.
    EXPECT_EQ(image.rgb[(2 * 5 + 4) * 3 + 0], 160);
    EXPECT_EQ(image.rgb[(2 * 5 + 4) * 3 + 1], 200);
    EXPECT_EQ(image.rgb[(2 * 5 + 4) * 3 + 2], 13);
    fs::remove(path);
}

#ifdef ROSACLE_HAVE_PNG
TEST(ImageFiles, PngKeepsEveryPixel)
{
    DibSurface s;
    Pattern(s);
    const std::string path = TempPath("a.png");
    WriteImageFile(s, path);
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, path.c_str()));
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr));
    EXPECT_EQ(image.width, 5u);
    EXPECT_EQ(image.height, 3u);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) {
            ASSERT_EQ(rgb[(y * 5 + x) * 3 + 0], 40 * x);
            ASSERT_EQ(rgb[(y * 5 + x) * 3 + 1], 100 * y);
            ASSERT_EQ(rgb[(y * 5 + x) * 3 + 2], 7 + x + y);
        }
    fs::remove(path);
}
#endif

TEST(ImageFiles, JpegWithWallpaperSettings)
{
    const std::string path = TempPath("a.jpg");
    // A flat grey survives the compression almost exactly.
    WriteJpegFile(path, 33, 17, [](int32_t, uint8_t* rgb) {
        for (int k = 0; k < 33 * 3; ++k) rgb[k] = 128;
    });
    JpegFile d = ReadJpeg(path);
    EXPECT_EQ(d.width, 33);
    EXPECT_EQ(d.height, 17);
    EXPECT_EQ(d.components, 3);
    EXPECT_FALSE(d.progressive);
    EXPECT_TRUE(d.jfif);
    EXPECT_EQ(d.quality0, 3); // 16 of the standard luminance table at quality 90
    for (uint8_t c : d.rgb) ASSERT_NEAR(c, 128, 1);
    fs::remove(path);
}

TEST(ImageFiles, UnopenableOutputNamesTheFile)
{
    DibSurface s;
    Pattern(s);
    const std::string path = TempPath("no-such-folder/x.jpg");
    try {
        WriteImageFile(s, path);
        ADD_FAILURE();
    } catch (const SaverError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot create file " + path);
    }
}

TEST(ImageFiles, FailureKeepsTheOldFileAndLeavesNoPart)
{
    const std::string path = TempPath("keep.jpg");
    { std::ofstream(path, std::ios::binary) << "old"; }
    // libjpeg refuses a width beyond its limit: the error comes back, the old file stays.
    EXPECT_THROW(WriteJpegFile(path, 70000, 1, [](int32_t, uint8_t*) {}), SaverError);
    EXPECT_EQ(Slurp(path), "old");
    EXPECT_FALSE(fs::exists(path + ".part"));
    // A successful write replaces it.
    DibSurface s;
    Pattern(s);
    WriteImageFile(s, path);
    EXPECT_EQ(ReadJpeg(path).width, 5);
    EXPECT_FALSE(fs::exists(path + ".part"));
    fs::remove(path);
}

TEST(ImageFiles, RefusesUnknownTypeAndEmptySurface)
{
    DibSurface s;
    EXPECT_THROW(WriteImageFile(s, TempPath("e.ppm")), SaverError);
    Pattern(s);
    EXPECT_THROW(WriteImageFile(s, TempPath("e.gif")), SaverError);
    EXPECT_FALSE(fs::exists(TempPath("e.ppm")));
}

} // namespace
