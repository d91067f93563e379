// fractalrosacle: the rosette as an X11 screen-saver hack. The daemon starts it with the
// window to draw on (XSCREENSAVER_WINDOW, -window-id or -root) and kills it when it is
// done; without any of them it opens a window of its own, which a key or a close ends.
// A thin front end: the generator, the settings rules and the plot are the portable core's.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "common/SaverError.h"
#include "generator/Random.h"
#include "generator/Rosacle.h"
#include "generator/RunStart.h"
#include "raster/Plot.h"
#include "settings/SaverSettings.h"
#include "x11/FrameImage.h"

namespace {

using Clock = std::chrono::steady_clock;

const char* const ProgramName = "fractalrosacle";

enum class Place { OwnWindow, Root, WindowId };

// What the command line chooses; the option table at the end of the file holds the defaults.
struct Knobs {
    int speed = 0, pattern = 0, petals = 0, delay = 0;
    bool whiteBackground = false, gray = false, invert = false, pictures = false;
    bool randomPattern = false, randomPetals = false, fps = false, shm = false;
    Place place = Place::OwnWindow;
    unsigned long windowId = 0;
};

// Everything one running hack owns.
struct Hack {
    Display* dpy = nullptr;
    Window window = 0;
    bool ownWindow = false;
    bool windowGone = false;
    Atom wmDelete = 0;
    Visual* visual = nullptr;
    int depth = 0;
    unsigned long black = 0, white = 0;
    GC gc = nullptr;
    XFontStruct* font = nullptr;
    int windowWidth = 0, windowHeight = 0;
    int drawLeft = 0, drawTop = 0;
    DibSurface surface;
    Rosacle::RosetteRun run;
    FrameImage frame;
    bool useShm = true;
    int delay = 0;
    bool showFps = false;
    Clock::time_point fpsStart;
    int fpsFrames = 0;
    char fpsText[32] = "";
    Clock::time_point nextSizePoll;
    bool done = false;
};

// Set by SIGTERM and SIGINT; the pipe wakes the loop out of its wait.
volatile sig_atomic_t StopRequested = 0;
int WakeWriteFd = -1;

void OnStopSignal(int)
{
    StopRequested = 1;
    const char byte = 0;
    if (WakeWriteFd >= 0) {
        const ssize_t written = write(WakeWriteFd, &byte, 1);
        (void)written;
    }
}

void ApplySettings(const Knobs& k)
{
    TSaverSettings& s = SaverSettings;
    s.Speed = k.speed;
    s.Rosacle = k.pattern;
    s.Segment = k.petals;
    s.Size = KnobOf(&TSaverSettings::Size).firstRun;
    s.Background = k.whiteBackground;
    s.Gray = k.gray;
    s.Oval = k.invert;
    s.Pictures = k.pictures;
    s.Rosacle_Random = k.randomPattern;
    s.Petals_Random = k.randomPetals;
}

// The window that virtual-root window managers mark with __SWM_VROOT, else the root.
Window VirtualRoot(Display* dpy, int screen)
{
    const Window root = RootWindow(dpy, screen);
    const Atom vrootAtom = XInternAtom(dpy, "__SWM_VROOT", False);
    Window found = root;
    Window rootReturn, parent, *children = nullptr;
    unsigned count = 0;
    if (XQueryTree(dpy, root, &rootReturn, &parent, &children, &count)) {
        for (unsigned i = 0; i < count && found == root; ++i) {
            Atom type;
            int format;
            unsigned long items, after;
            unsigned char* data = nullptr;
            if (XGetWindowProperty(dpy, children[i], vrootAtom, 0, 1, False, XA_WINDOW, &type, &format, &items,
                                   &after, &data) == Success &&
                type == XA_WINDOW && format == 32 && items == 1 && data)
                found = *reinterpret_cast<Window*>(data);
            if (data) XFree(data);
        }
        if (children) XFree(children);
    }
    // A child that vanished during the search is no reason to stop.
    XSync(dpy, False);
    TakeXError();
    return found;
}

Window CreateOwnWindow(Hack& h)
{
    Display* dpy = h.dpy;
    const int screen = DefaultScreen(dpy);
    const int width = DisplayWidth(dpy, screen) < 800 ? DisplayWidth(dpy, screen) : 800;
    const int height = DisplayHeight(dpy, screen) < 600 ? DisplayHeight(dpy, screen) : 600;
    XSetWindowAttributes attributes{};
    attributes.background_pixel = BlackPixel(dpy, screen);
    const Window window = XCreateWindow(dpy, RootWindow(dpy, screen), 0, 0, width, height, 0, CopyFromParent,
                                        InputOutput, CopyFromParent, CWBackPixel, &attributes);
    XStoreName(dpy, window, "Fractal Rosacle");
    XClassHint hint{const_cast<char*>(ProgramName), const_cast<char*>("FractalRosacle")};
    XSetClassHint(dpy, window, &hint);
    h.wmDelete = XInternAtom(dpy, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(dpy, window, &h.wmDelete, 1);
    XMapRaised(dpy, window);
    return window;
}

// The window area outside the surface is black, whatever the background says.
void FillMargins(Hack& h)
{
    const int sw = h.surface.Width(), sh = h.surface.Height();
    XSetForeground(h.dpy, h.gc, h.black);
    if (h.drawTop > 0) XFillRectangle(h.dpy, h.window, h.gc, 0, 0, h.windowWidth, h.drawTop);
    const int below = h.windowHeight - h.drawTop - sh;
    if (below > 0) XFillRectangle(h.dpy, h.window, h.gc, 0, h.drawTop + sh, h.windowWidth, below);
    if (h.drawLeft > 0) XFillRectangle(h.dpy, h.window, h.gc, 0, h.drawTop, h.drawLeft, sh);
    const int right = h.windowWidth - h.drawLeft - sw;
    if (right > 0) XFillRectangle(h.dpy, h.window, h.gc, h.drawLeft + sw, h.drawTop, right, sh);
}

// The achieved frame rate, measured over about a second, in the top-left corner.
void DrawFps(Hack& h)
{
    ++h.fpsFrames;
    const Clock::time_point now = Clock::now();
    const double seconds = std::chrono::duration<double>(now - h.fpsStart).count();
    if (seconds >= 1.0) {
        std::snprintf(h.fpsText, sizeof h.fpsText, "%.1f fps", h.fpsFrames / seconds);
        h.fpsStart = now;
        h.fpsFrames = 0;
    }
    const char* text = h.fpsText[0] ? h.fpsText : "-- fps";
    const int length = static_cast<int>(std::strlen(text));
    const int ascent = h.font ? h.font->ascent : 10;
    const int descent = h.font ? h.font->descent : 3;
    const int width = h.font ? XTextWidth(h.font, text, length) : 6 * length;
    XSetForeground(h.dpy, h.gc, h.black);
    XFillRectangle(h.dpy, h.window, h.gc, 0, 0, width + 8, ascent + descent + 6);
    XSetForeground(h.dpy, h.gc, h.white);
    XDrawString(h.dpy, h.window, h.gc, 4, 3 + ascent, text, length);
}

// The window's image for a surface at place.
void FitWindow(Hack& h, int width, int height, const Rosacle::SurfacePlace& place)
{
    h.windowWidth = width;
    h.windowHeight = height;
    h.drawLeft = place.left;
    h.drawTop = place.top;
    if (!MakeFrameImage(h.dpy, h.visual, h.depth, place.width, place.height, h.useShm, h.frame))
        Failure("%s cannot be made", "XImage");
    FillMargins(h);
}

// A new window size: the surface, clamped to 1920 x 1200 and centred, and the layout anew
// when its size changes.
void HackReshape(Hack& h, int width, int height)
{
    if (width == h.windowWidth && height == h.windowHeight && h.frame.image) return;
    FitWindow(h, width, height, h.run.Reshape(width, height, &h.surface));
}

void HackFree(Hack* h);

Hack* HackInit(Display* dpy, const Knobs& k)
{
    Hack* h = new Hack;
    try {
        h->dpy = dpy;
        h->delay = k.delay;
        h->showFps = k.fps;
        h->useShm = k.shm;
        ApplySettings(k);
        switch (k.place) {
        case Place::WindowId: h->window = k.windowId; break;
        case Place::Root: h->window = VirtualRoot(dpy, DefaultScreen(dpy)); break;
        case Place::OwnWindow:
            h->window = CreateOwnWindow(*h);
            h->ownWindow = true;
            break;
        }
        XWindowAttributes attributes;
        if (!XGetWindowAttributes(dpy, h->window, &attributes) || TakeXError() != 0)
            Failure("there is no window 0x%lx on this display", h->window);
        h->visual = attributes.visual;
        h->depth = attributes.depth;
        if (h->visual->c_class != TrueColor && h->visual->c_class != DirectColor)
            Failure("window 0x%lx has no TrueColor visual", h->window);
        long events = StructureNotifyMask | ExposureMask;
        if (h->ownWindow) events |= KeyPressMask;
        XSelectInput(dpy, h->window, events);
        h->black = 0;
        h->white = h->visual->red_mask | h->visual->green_mask | h->visual->blue_mask;
        h->gc = XCreateGC(dpy, h->window, 0, nullptr);
        h->font = XQueryFont(dpy, XGContextFromGC(h->gc));

        Rosacle::RunStart start;
        start.windowWidth = attributes.width;
        start.windowHeight = attributes.height;
        FitWindow(*h, attributes.width, attributes.height, h->run.Start(start, &h->surface));
        h->fpsStart = h->nextSizePoll = Clock::now();
    } catch (...) {
        HackFree(h);
        throw;
    }
    return h;
}

// One frame; returns the delay to the next one in microseconds.
int HackDraw(Hack& h)
{
    h.run.Frame(h.surface);
    ConvertRows(h.surface, h.frame);
    PutFrameImage(h.dpy, h.window, h.gc, h.drawLeft, h.drawTop, h.frame);
    if (h.showFps) DrawFps(h);
    // The shared image must not change while the server still reads it.
    XSync(h.dpy, False);
    return h.delay;
}

void HackEvent(Hack& h, const XEvent& event)
{
    switch (event.type) {
    case ConfigureNotify:
        if (event.xconfigure.window == h.window) HackReshape(h, event.xconfigure.width, event.xconfigure.height);
        break;
    case Expose:
        if (event.xexpose.count == 0) FillMargins(h);
        break;
    case KeyPress:
        if (h.ownWindow) h.done = true;
        break;
    case ClientMessage:
        if (h.ownWindow && static_cast<Atom>(event.xclient.data.l[0]) == h.wmDelete) h.done = true;
        break;
    case DestroyNotify:
        if (event.xdestroywindow.window == h.window) h.windowGone = h.done = true;
        break;
    }
}

// Foreign windows are also asked for their size now and then, in case no event comes.
void PollWindowSize(Hack& h)
{
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(h.dpy, h.window, &attributes) || TakeXError() != 0) {
        h.windowGone = h.done = true;
        return;
    }
    HackReshape(h, attributes.width, attributes.height);
}

void HackFree(Hack* h)
{
    if (!h) return;
    FreeFrameImage(h->dpy, h->frame);
    if (h->font) XFreeFontInfo(nullptr, h->font, 1);
    if (h->gc) XFreeGC(h->dpy, h->gc);
    if (h->ownWindow && !h->windowGone) XDestroyWindow(h->dpy, h->window);
    delete h;
}

void RunLoop(Hack& h, int wakeFd)
{
    Clock::time_point next = Clock::now();
    while (!StopRequested && !h.done) {
        while (!h.done && XPending(h.dpy)) {
            XEvent event;
            XNextEvent(h.dpy, &event);
            HackEvent(h, event);
        }
        if (const int code = TakeXError()) {
            char text[128];
            XGetErrorText(h.dpy, code, text, sizeof text);
            Failure("X error: %s", text);
        }
        if (h.done || StopRequested) break;
        Clock::time_point now = Clock::now();
        if (!h.ownWindow && now >= h.nextSizePoll) {
            PollWindowSize(h);
            h.nextSizePoll = now + std::chrono::seconds(1);
            continue;
        }
        if (now >= next) {
            next += std::chrono::microseconds(HackDraw(h));
            now = Clock::now();
            if (next < now) next = now; // a frame slower than the delay: the next one at once
            continue;
        }
        Clock::time_point wake = next;
        if (!h.ownWindow && h.nextSizePoll < wake) wake = h.nextSizePoll;
        const auto micros = std::chrono::duration_cast<std::chrono::microseconds>(wake - now).count();
        pollfd fds[2] = {{ConnectionNumber(h.dpy), POLLIN, 0}, {wakeFd, POLLIN, 0}};
        poll(fds, 2, static_cast<int>((micros + 999) / 1000));
    }
}

// --- The knobs: every option once, with its default. ---

enum class Kind { Number, Flag, Background, Where, WindowId, Help };

// A range with its default: the hack's own, or a setting's range and first-run value.
struct Span {
    int low, high, fallback;
    constexpr Span(int l, int h, int f) : low(l), high(h), fallback(f) {}
};
template <class Field>
constexpr Span Range(Field TSaverSettings::*field)
{
    const SettingKnob& k = KnobOf(field);
    return {k.low, k.high, k.firstRun};
}

struct Option {
    const char* name;
    Kind kind;
    int Knobs::*number;
    bool Knobs::*flag;
    int low, high, fallback; // for Where: the Place it selects
    const char* help;
    constexpr Option(const char* n, Kind k, int Knobs::*num, bool Knobs::*f, int l, int h, int fb, const char* text)
        : name(n), kind(k), number(num), flag(f), low(l), high(h), fallback(fb), help(text)
    {
    }
    constexpr Option(const char* n, Kind k, int Knobs::*num, bool Knobs::*f, Span span, const char* text)
        : Option(n, k, num, f, span.low, span.high, span.fallback, text)
    {
    }
};

constexpr Option Options[] = {
    {"-speed", Kind::Number, &Knobs::speed, nullptr, Range(&TSaverSettings::Speed), "how fast the colours drift"},
    {"-pattern", Kind::Number, &Knobs::pattern, nullptr, Range(&TSaverSettings::Rosacle),
     "pattern number, used with -no-random-pattern"},
    {"-petals", Kind::Number, &Knobs::petals, nullptr, Range(&TSaverSettings::Segment),
     "petal count, used without -random-petals"},
    {"-delay", Kind::Number, &Knobs::delay, nullptr, 0, 100000, 30000, "microseconds from frame to frame"},
    {"-background", Kind::Background, nullptr, &Knobs::whiteBackground, Range(&TSaverSettings::Background),
     "white or black"},
    {"-random-pattern", Kind::Flag, nullptr, &Knobs::randomPattern, Range(&TSaverSettings::Rosacle_Random),
     "a random pattern (1..39) at every start"},
    {"-random-petals", Kind::Flag, nullptr, &Knobs::randomPetals, Range(&TSaverSettings::Petals_Random),
     "a random petal count (4..11) at every start"},
    {"-gray", Kind::Flag, nullptr, &Knobs::gray, Range(&TSaverSettings::Gray), "grey scale"},
    {"-invert", Kind::Flag, nullptr, &Knobs::invert, Range(&TSaverSettings::Oval), "inverted colours"},
    {"-pictures", Kind::Flag, nullptr, &Knobs::pictures, Range(&TSaverSettings::Pictures), "two-tone pictures"},
    {"-fps", Kind::Flag, nullptr, &Knobs::fps, 0, 1, 0, "the achieved frames per second in the top-left corner"},
    {"-shm", Kind::Flag, nullptr, &Knobs::shm, 0, 1, 1, "MIT-SHM images where the server has them"},
    {"-root", Kind::Where, nullptr, nullptr, 0, 0, int(Place::Root), "draw on the root window (or the virtual root)"},
    {"-window", Kind::Where, nullptr, nullptr, 0, 0, int(Place::OwnWindow), "draw in a window of its own (the default)"},
    {"-window-id", Kind::WindowId, nullptr, nullptr, 0, 0, 0, "draw in the window ID (decimal or 0x hex)"},
    {"-help", Kind::Help, nullptr, nullptr, 0, 0, 0, "this list"},
};

void SetDefaults(Knobs& k)
{
    for (const Option& o : Options) {
        if (o.number) k.*o.number = o.fallback;
        if (o.flag) k.*o.flag = o.fallback != 0;
    }
}

void PrintHelp()
{
    std::printf("usage: %s [options]\n"
                "Each option also with two dashes, and --name=value for those with a value.\n"
                "XSCREENSAVER_WINDOW in the environment names the window to draw in, before any option.\n",
                ProgramName);
    for (const Option& o : Options) {
        char usage[64], detail[64];
        detail[0] = 0;
        switch (o.kind) {
        case Kind::Number:
            std::snprintf(usage, sizeof usage, "%s N", o.name);
            std::snprintf(detail, sizeof detail, "%d..%d, default %d: ", o.low, o.high, o.fallback);
            break;
        case Kind::Flag:
            std::snprintf(usage, sizeof usage, "%s, -no-%s", o.name, o.name + 1);
            std::snprintf(detail, sizeof detail, "default %s: ", o.fallback ? "on" : "off");
            break;
        case Kind::Background:
            std::snprintf(usage, sizeof usage, "%s white|black", o.name);
            std::snprintf(detail, sizeof detail, "default white: ");
            break;
        case Kind::WindowId: std::snprintf(usage, sizeof usage, "%s ID", o.name); break;
        default: std::snprintf(usage, sizeof usage, "%s", o.name); break;
        }
        std::printf("  %-38s %s%s\n", usage, detail, o.help);
    }
}

// A window id as daemons pass it: decimal, or hexadecimal after 0x.
bool ParseWindowId(const char* text, unsigned long& id)
{
    const bool hex = text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const char* digits = hex ? text + 2 : text;
    if (!*digits) return false;
    for (const char* p = digits; *p; ++p)
        if (!(hex ? std::isxdigit(static_cast<unsigned char>(*p)) : std::isdigit(static_cast<unsigned char>(*p))))
            return false;
    errno = 0;
    const unsigned long long value = std::strtoull(digits, nullptr, hex ? 16 : 10);
    if (errno || value == 0 || value > 0xFFFFFFFFull) return false;
    id = static_cast<unsigned long>(value);
    return true;
}

bool ParseNumber(const char* text, const Option& o, int& out)
{
    const char* p = text[0] == '-' ? text + 1 : text;
    if (!*p) return false;
    for (; *p; ++p)
        if (!std::isdigit(static_cast<unsigned char>(*p))) return false;
    errno = 0;
    const long long value = std::strtoll(text, nullptr, 10);
    if (errno || value < o.low || value > o.high) return false;
    out = static_cast<int>(value);
    return true;
}

enum class ParseResult { Run, Help, Bad };

ParseResult ParseOptions(int argc, char** argv, Knobs& k, std::string& error)
{
    SetDefaults(k);
    char text[256];
    for (int i = 1; i < argc; ++i) {
        // The daemon hands options over with two dashes, and "--name=value" joins a value.
        std::string arg = argv[i];
        const char* joined = nullptr;
        if (arg.compare(0, 2, "--") == 0) {
            arg.erase(0, 1);
            const size_t equals = arg.find('=');
            if (equals != std::string::npos) {
                joined = argv[i] + 1 + equals + 1;
                arg.resize(equals);
            }
        }
        const bool negated = arg.compare(0, 4, "-no-") == 0;
        const Option* match = nullptr;
        for (const Option& o : Options) {
            if (arg == o.name || (negated && o.kind == Kind::Flag && arg.compare(3, std::string::npos, o.name) == 0)) {
                match = &o;
                break;
            }
        }
        if (!match && arg == "-h") return ParseResult::Help;
        if (!match) {
            std::snprintf(text, sizeof text, "unknown option \"%.64s\" (-help lists them)", argv[i]);
            error = text;
            return ParseResult::Bad;
        }
        const Option& o = *match;
        const bool takesValue = o.kind == Kind::Number || o.kind == Kind::Background || o.kind == Kind::WindowId;
        if (joined && !takesValue) {
            std::snprintf(text, sizeof text, "%s takes no value", o.name);
            error = text;
            return ParseResult::Bad;
        }
        const char* value = joined ? joined : takesValue && i + 1 < argc ? argv[++i] : nullptr;
        if (takesValue && !value) {
            std::snprintf(text, sizeof text, "%s needs a value", o.name);
            error = text;
            return ParseResult::Bad;
        }
        switch (o.kind) {
        case Kind::Number:
            if (!ParseNumber(value, o, k.*o.number)) {
                std::snprintf(text, sizeof text, "%s takes a whole number from %d to %d, not \"%.64s\"", o.name, o.low,
                              o.high, value);
                error = text;
                return ParseResult::Bad;
            }
            break;
        case Kind::Flag: k.*o.flag = !negated; break;
        case Kind::Background:
            if (std::strcmp(value, "white") != 0 && std::strcmp(value, "black") != 0) {
                std::snprintf(text, sizeof text, "%s takes white or black, not \"%.64s\"", o.name, value);
                error = text;
                return ParseResult::Bad;
            }
            k.*o.flag = std::strcmp(value, "white") == 0;
            break;
        case Kind::Where: k.place = static_cast<Place>(o.fallback); break;
        case Kind::WindowId:
            if (!ParseWindowId(value, k.windowId)) {
                std::snprintf(text, sizeof text, "%s takes a window id (decimal or 0x hex), not \"%.64s\"", o.name, value);
                error = text;
                return ParseResult::Bad;
            }
            k.place = Place::WindowId;
            break;
        case Kind::Help: return ParseResult::Help;
        }
    }
    // The daemon's window comes before any option.
    const char* daemonWindow = std::getenv("XSCREENSAVER_WINDOW");
    if (daemonWindow && *daemonWindow) {
        if (!ParseWindowId(daemonWindow, k.windowId)) {
            std::snprintf(text, sizeof text, "XSCREENSAVER_WINDOW is not a window id: \"%.64s\"", daemonWindow);
            error = text;
            return ParseResult::Bad;
        }
        k.place = Place::WindowId;
    }
    return ParseResult::Run;
}

} // namespace

int main(int argc, char** argv)
{
    Knobs knobs;
    std::string error;
    switch (ParseOptions(argc, argv, knobs, error)) {
    case ParseResult::Help: PrintHelp(); return 0;
    case ParseResult::Bad: std::fprintf(stderr, "%s: %s\n", ProgramName, error.c_str()); return 2;
    case ParseResult::Run: break;
    }

    int wake[2];
    if (pipe2(wake, O_CLOEXEC | O_NONBLOCK) != 0) {
        std::fprintf(stderr, "%s: no pipe: %s\n", ProgramName, std::strerror(errno));
        return 1;
    }
    WakeWriteFd = wake[1];
    struct sigaction action{};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);

    int status = 0;
    Display* dpy = XOpenDisplay(nullptr);
    if (!dpy) {
        std::fprintf(stderr, "%s: cannot open display \"%s\"\n", ProgramName, XDisplayName(nullptr));
        status = 1;
    } else {
        XSetErrorHandler(RecordXError);
        Hack* hack = nullptr;
        try {
            hack = HackInit(dpy, knobs);
            RunLoop(*hack, wake[0]);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "%s: %s\n", ProgramName, e.what());
            status = 1;
        }
        HackFree(hack);
        XCloseDisplay(dpy);
    }
    WakeWriteFd = -1;
    close(wake[0]);
    close(wake[1]);
    return status;
}
