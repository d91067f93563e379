#include "dialogs/Wallpaper.h"

#include <vector>

#include "common/SaverError.h"
#include "generator/RunStart.h"
#include "raster/ImageFiles.h"
#include "raster/Plot.h"
#include "raster/TDIB.h"
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

void RenderWallpaper(const Rosacle::Rosette& from, TBitmap& wall, int32_t width, int32_t height)
{
    // The layout first: it refuses a size beyond 1920 x 1200 before anything is made.
    Rosacle::Rosette rosette;
    rosette.Lay(width, height);
    rosette.Phase1 = from.Phase1;
    rosette.Phase2 = from.Phase2;
    rosette.Phase3 = from.Phase3;
    rosette.Rate1 = from.Rate1;
    rosette.Rate2 = from.Rate2;
    rosette.Rate3 = from.Rate3;
    rosette.Working = from.Working;
    TDIB surface;
    Rosacle::SetUpSurface(surface, {width, height, 0, 0});
    rosette.Frame(surface);

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
