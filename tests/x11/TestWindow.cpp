// A window for the hack's tests to draw in, driven by lines on standard input:
//   x11_test_window W H X Y [vroot]   makes and maps the window, prints its id (decimal)
//   size W H                          resizes it
//   close ID                          sends WM_DELETE_WINDOW to window ID
// End of input destroys the window. "vroot" marks it as a virtual root (__SWM_VROOT).
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <sstream>
#include <string>

int main(int argc, char** argv)
{
    if (argc < 5) {
        std::fprintf(stderr, "usage: %s W H X Y [vroot]\n", argv[0]);
        return 2;
    }
    Display* dpy = XOpenDisplay(nullptr);
    if (!dpy) {
        std::fprintf(stderr, "x11_test_window: no display\n");
        return 1;
    }
    const int screen = DefaultScreen(dpy);
    XSetWindowAttributes attributes{};
    attributes.background_pixel = 0x204080; // a colour the hack never leaves behind
    attributes.override_redirect = True;     // placed exactly where asked, manager or not
    attributes.event_mask = StructureNotifyMask;
    const Window window = XCreateWindow(dpy, RootWindow(dpy, screen), std::atoi(argv[3]), std::atoi(argv[4]),
                                        std::atoi(argv[1]), std::atoi(argv[2]), 0, CopyFromParent, InputOutput,
                                        CopyFromParent, CWBackPixel | CWOverrideRedirect | CWEventMask, &attributes);
    if (argc > 5 && std::strcmp(argv[5], "vroot") == 0) {
        const Atom vroot = XInternAtom(dpy, "__SWM_VROOT", False);
        XChangeProperty(dpy, window, vroot, XA_WINDOW, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(&window), 1);
    }
    XMapWindow(dpy, window);
    for (XEvent event;;) {
        XNextEvent(dpy, &event);
        if (event.type == MapNotify) break;
    }
    std::printf("%lu\n", window);
    std::fflush(stdout);

    for (std::string line; std::getline(std::cin, line);) {
        std::istringstream in(line);
        std::string command;
        in >> command;
        if (command == "size") {
            unsigned width = 0, height = 0;
            in >> width >> height;
            XResizeWindow(dpy, window, width, height);
        } else if (command == "close") {
            unsigned long target = 0;
            in >> target;
            XEvent message{};
            message.xclient.type = ClientMessage;
            message.xclient.window = target;
            message.xclient.message_type = XInternAtom(dpy, "WM_PROTOCOLS", False);
            message.xclient.format = 32;
            message.xclient.data.l[0] = static_cast<long>(XInternAtom(dpy, "WM_DELETE_WINDOW", False));
            message.xclient.data.l[1] = CurrentTime;
            XSendEvent(dpy, target, False, NoEventMask, &message);
        }
        XSync(dpy, False);
        std::printf("ok\n");
        std::fflush(stdout);
    }
    XDestroyWindow(dpy, window);
    XCloseDisplay(dpy);
    return 0;
}
