#pragma once
// The Win32 raster surface: the pixel memory of DibSurface lives in a GDI DIB section that is
// selected into a screen-compatible memory device context, so the program writes pixels
// directly and GDI draws, copies and blits the same memory.
#include <windows.h>

#include <memory>

#include "raster/DibSurface.h"

// A drawing canvas bound to a device context.
class TCanvas {
public:
    explicit TCanvas(HDC handle = nullptr) : handle_(handle) {}
    HDC Handle() const { return handle_; }
    void SetHandle(HDC handle) { handle_ = handle; }

private:
    HDC handle_;
};

class TDIB : public DibSurface {
public:
    TDIB() = default;
    ~TDIB() override;

    // The canvas on the memory device context, made on first request.
    TCanvas& Canvas();
    // Copies the whole surface 1:1 onto `target` with its top-left corner at (x, y).
    void Draw(HDC target, int x, int y);
    // Copies only the given part, each pixel to where Draw would put it.
    void DrawPart(HDC target, int x, int y, int left, int top, int width, int height);
    // Releases the canvas, the DIB section and the device context; the surface is empty after.
    void Free();

    HDC MemoryDC() const { return dc_; }

protected:
    uint8_t* MakeImage(int32_t width, int32_t height, int32_t bitCount, int32_t stride) override;
    void ReleaseImage() override;
    void ImageChanged() override;

private:
    HDC dc_ = nullptr;
    HBITMAP section_ = nullptr;
    HGDIOBJ oldBitmap_ = nullptr;
    std::unique_ptr<TCanvas> canvas_;
};
