#include "x11/FrameImage.h"

#include <sys/ipc.h>
#include <sys/shm.h>

#include <cstdint>
#include <cstdlib>

namespace {

// Set from the error handler, which Xlib calls without any context pointer.
int FirstXError = 0;

int LowBit(unsigned long mask)
{
    int shift = 0;
    while (mask && !(mask & 1)) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

bool HostIsLsbFirst()
{
    const uint16_t one = 1;
    return *reinterpret_cast<const uint8_t*>(&one) == 1;
}

void SetLayout(Visual* visual, FrameImage& frame)
{
    frame.redShift = LowBit(visual->red_mask);
    frame.greenShift = LowBit(visual->green_mask);
    frame.blueShift = LowBit(visual->blue_mask);
    frame.redMax = visual->red_mask >> frame.redShift;
    frame.greenMax = visual->green_mask >> frame.greenShift;
    frame.blueMax = visual->blue_mask >> frame.blueShift;
    const bool eightBit = frame.redMax == 0xFF && frame.greenMax == 0xFF && frame.blueMax == 0xFF;
    frame.fastRows = eightBit && frame.image->bits_per_pixel == 32;
    frame.swapBytes = (frame.image->byte_order == LSBFirst) != HostIsLsbFirst();
}

bool MakeSharedImage(Display* dpy, Visual* visual, int depth, int width, int height, FrameImage& frame)
{
    XImage* image = XShmCreateImage(dpy, visual, depth, ZPixmap, nullptr, &frame.shm, width, height);
    if (!image) return false;
    frame.shm.shmid = shmget(IPC_PRIVATE, size_t(image->bytes_per_line) * height, IPC_CREAT | 0600);
    if (frame.shm.shmid < 0) {
        XDestroyImage(image);
        return false;
    }
    frame.shm.shmaddr = static_cast<char*>(shmat(frame.shm.shmid, nullptr, 0));
    if (frame.shm.shmaddr == reinterpret_cast<char*>(-1)) {
        shmctl(frame.shm.shmid, IPC_RMID, nullptr);
        XDestroyImage(image);
        return false;
    }
    frame.shm.readOnly = False;
    image->data = frame.shm.shmaddr;
    // A server on another machine refuses the attach with an error, not a status.
    TakeXError();
    const bool attached = XShmAttach(dpy, &frame.shm);
    XSync(dpy, False);
    // Marked for removal at once: the segment goes away with the last detach, even on a crash.
    shmctl(frame.shm.shmid, IPC_RMID, nullptr);
    if (!attached || TakeXError() != 0) {
        image->data = nullptr;
        XDestroyImage(image);
        shmdt(frame.shm.shmaddr);
        return false;
    }
    frame.image = image;
    frame.shared = true;
    return true;
}

bool MakePlainImage(Display* dpy, Visual* visual, int depth, int width, int height, FrameImage& frame)
{
    XImage* image = XCreateImage(dpy, visual, depth, ZPixmap, 0, nullptr, width, height, 32, 0);
    if (!image) return false;
    image->data = static_cast<char*>(std::calloc(size_t(image->bytes_per_line), size_t(height)));
    if (!image->data) {
        XDestroyImage(image);
        return false;
    }
    frame.image = image;
    frame.shared = false;
    return true;
}

} // namespace

int RecordXError(Display*, XErrorEvent* event)
{
    if (FirstXError == 0) FirstXError = event->error_code;
    return 0;
}

int TakeXError()
{
    const int code = FirstXError;
    FirstXError = 0;
    return code;
}

bool MakeFrameImage(Display* dpy, Visual* visual, int depth, int width, int height, bool useShm,
                    FrameImage& frame)
{
    FreeFrameImage(dpy, frame);
    const bool made = (useShm && XShmQueryExtension(dpy) && MakeSharedImage(dpy, visual, depth, width, height, frame)) ||
                      MakePlainImage(dpy, visual, depth, width, height, frame);
    if (made) SetLayout(visual, frame);
    return made;
}

void FreeFrameImage(Display* dpy, FrameImage& frame)
{
    if (!frame.image) return;
    if (frame.shared) {
        XShmDetach(dpy, &frame.shm);
        XSync(dpy, False);
        frame.image->data = nullptr;
        XDestroyImage(frame.image);
        shmdt(frame.shm.shmaddr);
    } else {
        XDestroyImage(frame.image); // frees the pixel memory too
    }
    frame.image = nullptr;
    frame.shared = false;
}

void ConvertRows(const DibSurface& surface, FrameImage& frame)
{
    XImage* image = frame.image;
    const int width = surface.Width() < image->width ? surface.Width() : image->width;
    const int height = surface.Height() < image->height ? surface.Height() : image->height;
    const int rs = frame.redShift, gs = frame.greenShift, bs = frame.blueShift;
    for (int y = 0; y < height; ++y) {
        const uint8_t* src = surface.Row(y);
        if (frame.fastRows) {
            uint32_t* dst = reinterpret_cast<uint32_t*>(image->data + size_t(y) * image->bytes_per_line);
            if (frame.swapBytes) {
                for (int x = 0; x < width; ++x, src += 3)
                    dst[x] = __builtin_bswap32(uint32_t(src[2]) << rs | uint32_t(src[1]) << gs | uint32_t(src[0]) << bs);
            } else {
                for (int x = 0; x < width; ++x, src += 3)
                    dst[x] = uint32_t(src[2]) << rs | uint32_t(src[1]) << gs | uint32_t(src[0]) << bs;
            }
        } else {
            // Other depths (16-bit visuals): each channel scaled into its mask.
            for (int x = 0; x < width; ++x, src += 3) {
                const unsigned long pixel = (src[2] * frame.redMax / 255) << rs |
                                            (src[1] * frame.greenMax / 255) << gs |
                                            (src[0] * frame.blueMax / 255) << bs;
                XPutPixel(image, x, y, pixel);
            }
        }
    }
}

void PutFrameImage(Display* dpy, Drawable drawable, GC gc, int x, int y, const FrameImage& frame)
{
    XImage* image = frame.image;
    if (frame.shared) XShmPutImage(dpy, drawable, gc, image, 0, 0, x, y, image->width, image->height, False);
    else XPutImage(dpy, drawable, gc, image, 0, 0, x, y, image->width, image->height);
}
