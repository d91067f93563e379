#pragma once
// The pixel side of the raster surface: a device-independent bitmap stored bottom-up, rows
// padded to 4 bytes, 24-bit pixels in blue, green, red order. The memory comes from
// MakeImage, which the Win32 surface overrides to place it in a DIB section.
#include <cstdint>
#include <vector>

class DibSurface {
public:
    DibSurface() = default;
    virtual ~DibSurface() = default;
    DibSurface(const DibSurface&) = delete;
    DibSurface& operator=(const DibSurface&) = delete;

    // n < 1 empties; on an empty surface n >= 1 makes a max(width,1) x max(height,1) image.
    // Any count but 1, 4, 8, 16, 24, 32 fails with "Bitcount in invalid (%d)".
    void SetBitCount(int32_t n);
    // w < 1 (h < 1) empties; otherwise a new blank image (the same size keeps the pixels).
    void SetWidth(int32_t w);
    void SetHeight(int32_t h);

    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    int32_t BitCount() const { return bitCount_; }
    int32_t RowStride() const { return stride_; }
    bool Empty() const { return width_ == 0; }

    // The hot path: a bounds check and three byte stores. colour = red + 256 green + 65536 blue.
    void SetPixel(int32_t x, int32_t y, uint32_t colour)
    {
        if (x < 0 || x >= width_ || y < 0 || y >= height_) return;
        uint8_t* p = topRow_ - static_cast<intptr_t>(y) * stride_ + 3 * x;
        p[0] = static_cast<uint8_t>(colour >> 16);
        p[1] = static_cast<uint8_t>(colour >> 8);
        p[2] = static_cast<uint8_t>(colour);
    }

    // Every pixel the same colour, row by row from the top.
    void Fill(uint32_t colour);

    // The pixel memory, from the bottom row up, and the address of row y (0 = top).
    const uint8_t* Bits() const { return bits_; }
    uint8_t* Bits() { return bits_; }
    const uint8_t* Row(int32_t y) const { return topRow_ - static_cast<intptr_t>(y) * stride_; }
    uint8_t* Row(int32_t y) { return topRow_ - static_cast<intptr_t>(y) * stride_; }

protected:
    // Makes the memory of a blank width x height image at bitCount bits with the given stride
    // and, once it exists, releases the previous image; returns nullptr (keeping the previous
    // image) when it cannot.
    virtual uint8_t* MakeImage(int32_t width, int32_t height, int32_t bitCount, int32_t stride);
    // Releases the image made by the last successful MakeImage.
    virtual void ReleaseImage();
    // Called after the image was replaced (the Win32 surface re-binds its canvas).
    virtual void ImageChanged() {}

    // Subclasses release their image in their own destructor (virtual calls do not reach
    // them from here); the base releases only its heap memory.
    void ReleaseHeapImage() { heap_.clear(); heap_.shrink_to_fit(); }

private:
    void NewImage(int32_t width, int32_t height, int32_t bitCount);

    int32_t width_ = 0;
    int32_t height_ = 0;
    int32_t bitCount_ = 0;
    int32_t stride_ = 0;
    uint8_t* bits_ = nullptr;
    uint8_t* topRow_ = nullptr;
    std::vector<uint8_t> heap_;
};

// Windows colour value of a red, green, blue triple.
constexpr uint32_t ColourValue(uint32_t red, uint32_t green, uint32_t blue)
{
    return (red & 0xFF) | (green & 0xFF) << 8 | (blue & 0xFF) << 16;
}
