#include "platform/Bitmap.h"

#include "common/SaverError.h"

TBitmap::~TBitmap()
{
    Release();
    if (dc_) DeleteDC(dc_);
}

void TBitmap::SetWidth(int width)
{
    width_ = width < 0 ? 0 : width;
    Remake();
}

void TBitmap::SetHeight(int height)
{
    height_ = height < 0 ? 0 : height;
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
