#include "raster/DibSurface.h"

#include "common/SaverError.h"

static bool ValidBitCount(int32_t n)
{
    return n == 1 || n == 4 || n == 8 || n == 16 || n == 24 || n == 32;
}

void DibSurface::SetBitCount(int32_t n)
{
    if (n < 1) {
        NewImage(0, 0, bitCount_);
        return;
    }
    if (!ValidBitCount(n)) Failure("Bitcount in invalid (%d)", n);
    NewImage(width_ > 1 ? width_ : 1, height_ > 1 ? height_ : 1, n);
}

void DibSurface::SetWidth(int32_t w)
{
    if (w < 1) {
        NewImage(0, 0, bitCount_);
        return;
    }
    if (Empty()) NewImage(w, 1, 8);
    else NewImage(w, height_, bitCount_);
}

void DibSurface::SetHeight(int32_t h)
{
    if (h < 1) {
        NewImage(0, 0, bitCount_);
        return;
    }
    if (Empty()) NewImage(1, h, 8);
    else NewImage(width_, h, bitCount_);
}

void DibSurface::NewImage(int32_t width, int32_t height, int32_t bitCount)
{
    if (width == width_ && height == height_ && bitCount == bitCount_) return;
    if (width < 1 || height < 1) {
        ReleaseImage();
        width_ = height_ = stride_ = 0;
        bits_ = topRow_ = nullptr;
        if (bitCount >= 1) bitCount_ = bitCount;
        ImageChanged();
        return;
    }
    const int64_t stride = ((static_cast<int64_t>(width) * bitCount + 31) / 32) * 4;
    if (stride * height > INT32_MAX) Failure("%s cannot be made", "DIB");
    uint8_t* bits = MakeImage(width, height, bitCount, static_cast<int32_t>(stride));
    if (!bits) Failure("%s cannot be made", "DIB");
    width_ = width;
    height_ = height;
    bitCount_ = bitCount;
    stride_ = static_cast<int32_t>(stride);
    bits_ = bits;
    topRow_ = bits + static_cast<intptr_t>(height - 1) * stride_;
    ImageChanged();
}

uint8_t* DibSurface::MakeImage(int32_t, int32_t height, int32_t, int32_t stride)
{
    std::vector<uint8_t> memory;
    try {
        memory.assign(static_cast<size_t>(stride) * height, 0);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    heap_.swap(memory);
    return heap_.data();
}

void DibSurface::ReleaseImage() { ReleaseHeapImage(); }

void DibSurface::Fill(uint32_t colour)
{
    for (int32_t y = 0; y < height_; ++y)
        for (int32_t x = 0; x < width_; ++x) SetPixel(x, y, colour);
}
