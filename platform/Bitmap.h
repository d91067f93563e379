#pragma once
// A bitmap compatible with the screen, selected into a memory device context of its own so
// that it can be the target or the source of a block transfer.
#include <windows.h>

class TBitmap {
public:
    TBitmap() = default;
    ~TBitmap();
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    // Each makes a new blank bitmap when the size changes (the same size keeps the bitmap and
    // its pixels); a size below 1 leaves it empty.
    void SetWidth(int width);
    void SetHeight(int height);
    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return bitmap_ == nullptr; }

    // The memory device context with the bitmap selected (made on first use).
    HDC DC();
    HBITMAP Handle() const { return bitmap_; }

private:
    void Remake();
    void Release();

    int width_ = 0;
    int height_ = 0;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ oldBitmap_ = nullptr;
};
