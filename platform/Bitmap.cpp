#include "platform/Bitmap.h"

#include "common/SaverError.h"

TBitmap::~TBitmap()
{
    Release();
    if (dc_) DeleteDC(dc_);
}

// A size that does not change keeps the bitmap and its pixels (a 1920 x 1200 bitmap costs
// tens of milliseconds to make anew).
void TBitmap::SetWidth(int width)
{
    width = width < 0 ? 0 : width;
    if (width == width_) return;
    width_ = width;
    Remake();
}

void TBitmap::SetHeight(int height)
{
    height = height < 0 ? 0 : height;
    if (height == height_) return;
    height_ = height;
    Remake();
}

HDC TBitmap::DC()
{
    if (!dc_) {
        dc_ = CreateCompatibleDC(nullptr);
        if (!dc_) Failure("%s cannot be made", "Bitmap");
        if (bitmap_) oldBitmap_ = SelectObject(dc_, bitmap_);
    }
    return dc_;
}

void TBitmap::Remake()
{
    Release();
    if (width_ < 1 || height_ < 1) return;
    const HDC screen = GetDC(nullptr);
    bitmap_ = CreateCompatibleBitmap(screen, width_, height_);
    ReleaseDC(nullptr, screen);
    if (!bitmap_) {
        width_ = height_ = 0;
        Failure("%s cannot be made", "Bitmap");
    }
    if (dc_) oldBitmap_ = SelectObject(dc_, bitmap_);
}

void TBitmap::Release()
{
    if (!bitmap_) return;
    if (dc_ && oldBitmap_) SelectObject(dc_, oldBitmap_);
    oldBitmap_ = nullptr;
    DeleteObject(bitmap_);
    bitmap_ = nullptr;
}
