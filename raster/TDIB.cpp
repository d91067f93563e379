#include "raster/TDIB.h"

TDIB::~TDIB() { Free(); }

TCanvas& TDIB::Canvas()
{
    if (!canvas_) canvas_.reset(new TCanvas(dc_));
    else if (!canvas_->Handle()) canvas_->SetHandle(dc_);
    return *canvas_;
}

void TDIB::Draw(HDC target, int x, int y) { DrawPart(target, x, y, 0, 0, Width(), Height()); }

void TDIB::DrawPart(HDC target, int x, int y, int left, int top, int width, int height)
{
    if (Empty() || !dc_ || width <= 0 || height <= 0) return;
    const int oldMode = SetStretchBltMode(target, COLORONCOLOR);
    GdiFlush(); // what was drawn through the canvas reaches the pixel memory first
    StretchBlt(target, x + left, y + top, width, height, dc_, left, top, width, height, SRCCOPY);
    SetStretchBltMode(target, oldMode);
}

void TDIB::Free()
{
    canvas_.reset();
    SetBitCount(0);
    ReleaseImage();
}

uint8_t* TDIB::MakeImage(int32_t width, int32_t height, int32_t bitCount, int32_t stride)
{
    // 1, 4 and 8 bits need a colour table that the system never uses; make them grey ramps
    // so that such a surface is at least well formed.
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[256];
    } info = {};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = width;
    info.header.biHeight = height; // positive: bottom-up
    info.header.biPlanes = 1;
    info.header.biBitCount = static_cast<WORD>(bitCount);
    info.header.biCompression = BI_RGB;
    info.header.biSizeImage = static_cast<DWORD>(stride) * static_cast<DWORD>(height);
    if (bitCount <= 8) {
        const int entries = 1 << bitCount;
        for (int k = 0; k < entries; ++k) {
            const BYTE level = static_cast<BYTE>(k * 255 / (entries - 1));
            info.colours[k] = RGBQUAD{level, level, level, 0};
        }
    }

    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) return nullptr;
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(dc, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!section || !bits) {
        if (section) DeleteObject(section);
        DeleteDC(dc);
        return nullptr; // the old image stays
    }
    HGDIOBJ old = SelectObject(dc, section);
    ReleaseImage();
    dc_ = dc;
    section_ = section;
    oldBitmap_ = old;
    return static_cast<uint8_t*>(bits);
}

void TDIB::ReleaseImage()
{
    if (dc_) {
        GdiFlush();
        if (oldBitmap_) SelectObject(dc_, oldBitmap_);
        if (section_) DeleteObject(section_);
        DeleteDC(dc_);
    }
    dc_ = nullptr;
    section_ = nullptr;
    oldBitmap_ = nullptr;
}

void TDIB::ImageChanged()
{
    if (canvas_) canvas_->SetHandle(dc_);
}
