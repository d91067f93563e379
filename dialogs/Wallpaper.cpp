#include "dialogs/Wallpaper.h"

#include <vector>

#include "common/SaverError.h"
#include "generator/Rosacle.h"
#include "raster/ImageFiles.h"
#include "raster/Plot.h"
#include "settings/Win32Registry.h"

namespace {

// GetDIBits wants the bitmap out of every device context while it reads: a one-pixel
// stand-in takes its place in the bitmap's own context for that time.
class BitmapOutOfDC {
public:
    BitmapOutOfDC(HDC dc) : dc_(dc), standIn_(CreateBitmap(1, 1, 1, 1, nullptr))
    {
        if (standIn_) held_ = SelectObject(dc_, standIn_);
    }
    ~BitmapOutOfDC()
    {
        if (held_) SelectObject(dc_, held_);
        if (standIn_) DeleteObject(standIn_);
    }
    BitmapOutOfDC(const BitmapOutOfDC&) = delete;
    BitmapOutOfDC& operator=(const BitmapOutOfDC&) = delete;

private:
    HDC dc_;
    HBITMAP standIn_;
    HGDIOBJ held_ = nullptr;
};

} // namespace

void RenderWallpaper(TDIB& surface, TBitmap& wall, int32_t width, int32_t height,
                     const std::function<void()>& fillBackground)
{
    // The layout first: it refuses a size beyond the generator's planes before the surface
    // changes (the fill does not depend on it).
    Rosacle::LayGenerator(width, height);
    surface.SetWidth(width);
    surface.SetHeight(height);
    fillBackground();
    Rosacle::GeneratorStep();
    PlotRosette(surface);

    wall.SetWidth(width);
    wall.SetHeight(height);
    const HDC source = surface.Canvas().Handle();
    GdiFlush();
    if (!source || !BitBlt(wall.DC(), 0, 0, wall.Width(), wall.Height(), source, 0, 0, SRCCOPY))
        Failure("%s cannot be made", "Wallpaper");
}

void WriteWallpaperJpeg(TBitmap& wall, const std::wstring& fileName)
{
    const std::string name = Utf8FromWide(fileName);
    const int width = wall.Width(), height = wall.Height();
    if (wall.Empty() || width < 1 || height < 1) Failure("Cannot create file %s", name.c_str());

    // The whole picture as 24-bit rows, top row first, before any file is touched.
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t(3);
    std::vector<uint8_t> pixels(stride * static_cast<size_t>(height));
    int lines;
    {
        const HDC dc = wall.DC();
        BitmapOutOfDC out(dc);
        lines = GetDIBits(dc, wall.Handle(), 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS);
    }
    if (lines != height) Failure("%s cannot be read", "Wallpaper");

    WriteJpegFile(name, width, height, [&](int32_t y, uint8_t* rgb) {
        RgbFromBgr(pixels.data() + stride * static_cast<size_t>(y), rgb, width);
    });
}
