#pragma once
// The client-side image that carries the raster surface to the X server: in shared memory
// where the server offers MIT-SHM, a plain XImage otherwise.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>

#include "raster/DibSurface.h"

struct FrameImage {
    XImage* image = nullptr;
    XShmSegmentInfo shm{};
    bool shared = false;
    // How a surface pixel turns into a pixel of the visual.
    int redShift = 0, greenShift = 0, blueShift = 0;
    unsigned long redMax = 0, greenMax = 0, blueMax = 0;
    bool fastRows = false; // 32 bits per pixel, 8-bit channels
    bool swapBytes = false; // the image's byte order is not the host's
};

// Makes an image of width x height for the visual; tries shared memory when useShm is set
// and the server has it. Returns false (and leaves image null) when no image can be made.
bool MakeFrameImage(Display* dpy, Visual* visual, int depth, int width, int height, bool useShm,
                    FrameImage& frame);

// Releases the image and its shared segment; a null image is left alone.
void FreeFrameImage(Display* dpy, FrameImage& frame);

// Converts the surface's bottom-up BGR rows into the image, top row first.
void ConvertRows(const DibSurface& surface, FrameImage& frame);

// Sends the image to the drawable with its top-left corner at (x, y).
void PutFrameImage(Display* dpy, Drawable drawable, GC gc, int x, int y, const FrameImage& frame);

// The X error handler of the program: it records the first error instead of exiting, so
// that the caller can clean up. TakeXError returns that error code (0: none) and clears it.
int RecordXError(Display* dpy, XErrorEvent* event);
int TakeXError();
