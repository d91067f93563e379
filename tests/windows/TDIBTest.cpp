// The raster surface on a real DIB section: byte layout as GDI sees it, text through the
// canvas, the 1:1 draw and the release.
#include <gtest/gtest.h>

#include "raster/TDIB.h"

namespace {

DIBSECTION SectionOf(const TDIB& surface)
{
    DIBSECTION section = {};
    HGDIOBJ bitmap = GetCurrentObject(surface.MemoryDC(), OBJ_BITMAP);
    EXPECT_EQ(GetObjectW(bitmap, sizeof section, &section), int(sizeof section));
    return section;
}

// A plain 24-bit target to draw onto, filled with one colour.
struct Target {
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap;
    HGDIOBJ old;
    Target(int width, int height, COLORREF colour)
    {
        BITMAPINFO info = {};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        old = SelectObject(dc, bitmap);
        HBRUSH brush = CreateSolidBrush(colour);
        RECT r = {0, 0, width, height};
        FillRect(dc, &r, brush);
        DeleteObject(brush);
        GdiFlush();
    }
    ~Target()
    {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
};

TEST(TDIB, PixelsLiveBottomUpInTheDibSection)
{
    TDIB surface;
    surface.SetBitCount(24);
    surface.SetWidth(5);
    surface.SetHeight(2);
    ASSERT_EQ(surface.RowStride(), 16);
    const DIBSECTION section = SectionOf(surface);
    EXPECT_EQ(section.dsBm.bmBits, surface.Bits());
    EXPECT_EQ(section.dsBmih.biSize, 40u);
    EXPECT_EQ(section.dsBmih.biWidth, 5);
    EXPECT_EQ(section.dsBmih.biHeight, 2); // positive: bottom-up
    EXPECT_EQ(section.dsBmih.biPlanes, 1);
    EXPECT_EQ(section.dsBmih.biBitCount, 24);
    EXPECT_EQ(section.dsBmih.biCompression, DWORD(BI_RGB));
    EXPECT_EQ(section.dsBm.bmWidthBytes, 16);

    surface.SetWidth(4);
    ASSERT_EQ(surface.RowStride(), 12);
    surface.Fill(ColourValue(0, 0, 0));
    surface.SetPixel(0, 0, ColourValue(1, 2, 3));
    surface.SetPixel(3, 1, ColourValue(200, 100, 50));
    const uint8_t* lastRow = surface.Bits() + 12;
    EXPECT_EQ(lastRow[0], 3);
    EXPECT_EQ(lastRow[1], 2);
    EXPECT_EQ(lastRow[2], 1);
    // GDI reads the same memory with the same meaning.
    EXPECT_EQ(GetPixel(surface.MemoryDC(), 0, 0), RGB(1, 2, 3));
    EXPECT_EQ(GetPixel(surface.MemoryDC(), 3, 1), RGB(200, 100, 50));
    EXPECT_EQ(GetPixel(surface.MemoryDC(), 1, 0), RGB(0, 0, 0));
}

TEST(TDIB, TextThroughTheCanvasShowsInPixelsAndInTheDraw)
{
    TDIB surface;
    surface.SetBitCount(24);
    surface.SetWidth(64);
    surface.SetHeight(32);
    surface.Fill(ColourValue(255, 255, 255));
    HDC canvas = surface.Canvas().Handle();
    ASSERT_EQ(canvas, surface.MemoryDC());
    SetTextColor(canvas, RGB(0, 0, 0));
    SetBkMode(canvas, TRANSPARENT);
    TextOutW(canvas, 2, 2, L"WWW", 3);

    Target target(100, 50, RGB(255, 0, 0));
    surface.Draw(target.dc, 10, 5);
    GdiFlush();
    int dark = 0, differences = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 64; ++x) {
            const uint8_t* p = surface.Row(y) + 3 * x;
            const COLORREF own = RGB(p[2], p[1], p[0]);
            if (p[0] < 128) ++dark;
            if (GetPixel(target.dc, 10 + x, 5 + y) != own) ++differences;
        }
    }
    EXPECT_GT(dark, 10) << "the text is not in the pixel memory";
    EXPECT_EQ(differences, 0) << "the draw is not a 1:1 copy";
    EXPECT_EQ(GetPixel(target.dc, 9, 5), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(target.dc, 74, 37), RGB(255, 0, 0));
}

TEST(TDIB, EmptySurfaceDrawsNothingAndCanvasFollowsTheImage)
{
    TDIB surface;
    Target target(8, 8, RGB(0, 255, 0));
    surface.Draw(target.dc, 0, 0);
    EXPECT_EQ(GetPixel(target.dc, 0, 0), RGB(0, 255, 0));

    surface.SetBitCount(24);
    surface.SetWidth(8);
    surface.SetHeight(8);
    TCanvas& canvas = surface.Canvas();
    surface.SetWidth(16);
    EXPECT_EQ(canvas.Handle(), surface.MemoryDC());
    EXPECT_EQ(SectionOf(surface).dsBmih.biWidth, 16);

    surface.SetWidth(0);
    EXPECT_TRUE(surface.Empty());
    EXPECT_EQ(surface.MemoryDC(), nullptr);
    surface.Draw(target.dc, 0, 0);
    EXPECT_EQ(GetPixel(target.dc, 0, 0), RGB(0, 255, 0));

    surface.SetBitCount(24);
    surface.SetWidth(4);
    surface.Free();
    EXPECT_TRUE(surface.Empty());
    EXPECT_EQ(surface.MemoryDC(), nullptr);
}

TEST(TDIB, AFailedSectionKeepsTheOldImage)
{
    TDIB surface;
    surface.SetBitCount(24);
    surface.SetWidth(4);
    surface.SetHeight(4);
    surface.SetPixel(1, 1, ColourValue(9, 8, 7));
    try {
        surface.SetWidth(2000000000 / 3); // gigabytes of pixel memory: refused
        FAIL() << "no error";
    } catch (const std::exception& e) {
        EXPECT_STREQ(e.what(), "DIB cannot be made");
    }
    EXPECT_EQ(surface.Width(), 4);
    EXPECT_EQ(GetPixel(surface.MemoryDC(), 1, 1), RGB(9, 8, 7));
}

} // namespace
