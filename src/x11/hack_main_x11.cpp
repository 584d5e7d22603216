// tessary-x11: the show as an XScreenSaver hack. Draws on the root window or
// XSCREENSAVER_WINDOW (-root), into a given window (-window-id) or into a
// window of its own (-window). Each frame is composed in memory at the show's
// mode size, scaled to fit the window (show/picture_fit.h), and the parts
// that changed are put, through shared memory when the server offers it.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "show/embedded_sheet.h"
#include "show/hack_options.h"
#include "show/hack_show.h"
#include "show/picture_fit.h"

namespace {

constexpr const char kName[] = "tessary-x11";
constexpr int kOwnWindowWidth = 640, kOwnWindowHeight = 480;

volatile sig_atomic_t g_Stop = 0;
int g_WakePipe[2] = {-1, -1};  // the signal handler writes; the frame wait polls

void OnStopSignal(int) {
    g_Stop = 1;
    const char byte = 1;
    ssize_t written = write(g_WakePipe[1], &byte, 1);
    (void)written;
}

int g_XError = 0;  // code of the last X protocol error, 0 when none
int OnXError(Display*, XErrorEvent* e) {
    g_XError = e->error_code;
    return 0;
}

int64_t MonotonicMicroseconds() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<int64_t>(ts.tv_sec) * 1000000 + ts.tv_nsec / 1000;
}

// The millisecond tick count that the animation runs on; wraps like
// GetTickCount, which the animation's unsigned differences allow for.
uint32_t TickCount() {
    return static_cast<uint32_t>(MonotonicMicroseconds() / 1000);
}

struct XTarget {
    Display* display = nullptr;
    Window window = 0;
    bool ownWindow = false;
    Visual* visual = nullptr;
    int depth = 0;
    Colormap colormap = 0;  // made for an own window with a non-default visual
    Atom deleteWindow = 0;
    GC gc = nullptr;
    XImage* image = nullptr;
    XShmSegmentInfo shm{};
    bool shmAvailable = false;
    bool shmImage = false;
    std::vector<uint32_t> picture;  // the frame at the show's mode size
    PictureRect mode;
    PictureScaler scaler;
    bool redrawAll = true;  // the next frame also paints the window's margins
};

int Fail(const std::string& message) {
    std::fprintf(stderr, "%s: %s\n", kName, message.c_str());
    return 1;
}

std::string Hex(unsigned long id) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%lx", id);
    return text;
}

void DestroyImage(XTarget& t) {
    if (t.image == nullptr) return;
    if (t.shmImage) {
        XShmDetach(t.display, &t.shm);
        XSync(t.display, False);
        shmdt(t.shm.shmaddr);
        t.image->data = nullptr;  // not XDestroyImage's to free
    }
    XDestroyImage(t.image);
    t.image = nullptr;
    t.shmImage = false;
}

// An image in shared memory, or nullptr when the server cannot attach it
// (a remote display, or a server that may not read this process's memory).
XImage* CreateShmImage(XTarget& t, int width, int height) {
    XImage* image =
        XShmCreateImage(t.display, t.visual, static_cast<unsigned>(t.depth), ZPixmap, nullptr,
                        &t.shm, static_cast<unsigned>(width), static_cast<unsigned>(height));
    if (image == nullptr) return nullptr;
    t.shm.shmid =
        shmget(IPC_PRIVATE, static_cast<size_t>(image->bytes_per_line) * height, IPC_CREAT | 0600);
    if (t.shm.shmid < 0) {
        XDestroyImage(image);
        return nullptr;
    }
    t.shm.shmaddr = image->data = static_cast<char*>(shmat(t.shm.shmid, nullptr, 0));
    t.shm.readOnly = False;
    bool attached = false;
    if (t.shm.shmaddr != reinterpret_cast<char*>(-1)) {
        // A refused attach arrives as an X error, seen after the round trip.
        g_XError = 0;
        if (XShmAttach(t.display, &t.shm)) {
            XSync(t.display, False);
            attached = g_XError == 0;
        }
        if (!attached) shmdt(t.shm.shmaddr);
    }
    // Removed now, the segment lives until both sides have detached, even
    // if this process is killed.
    shmctl(t.shm.shmid, IPC_RMID, nullptr);
    if (!attached) {
        image->data = nullptr;
        XDestroyImage(image);
        return nullptr;
    }
    return image;
}

// Makes the frame image for a width x height window.
bool CreateImage(XTarget& t, int width, int height) {
    if (t.shmAvailable) {
        t.image = CreateShmImage(t, width, height);
        t.shmImage = t.image != nullptr;
        t.shmAvailable = t.shmImage;  // one failure is enough to stop trying
    }
    if (t.image == nullptr) {
        t.image =
            XCreateImage(t.display, t.visual, static_cast<unsigned>(t.depth), ZPixmap, 0, nullptr,
                         static_cast<unsigned>(width), static_cast<unsigned>(height), 32, 0);
        if (t.image == nullptr) return false;
        t.image->data =
            static_cast<char*>(std::malloc(static_cast<size_t>(t.image->bytes_per_line) * height));
        if (t.image->data == nullptr) return false;
        // Pixels are written as native 16- or 32-bit words; Xlib swaps them
        // for a server of the other byte order.
        const uint32_t one = 1;
        t.image->byte_order = *reinterpret_cast<const char*>(&one) == 1 ? LSBFirst : MSBFirst;
    }
    return t.image->bits_per_pixel == 32 || t.image->bits_per_pixel == 16;
}

WindowImage WindowImageOf(const XTarget& t) {
    return {t.image->width, t.image->height, t.image->bytes_per_line, t.image->bits_per_pixel / 8,
            reinterpret_cast<uint8_t*>(t.image->data)};
}

// TrueColor of depth 15 or 16 (16-bit pixels) or 24 or 32 (32-bit pixels).
bool SuitableVisual(const Visual* visual, int depth) {
    return visual != nullptr && visual->c_class == TrueColor &&
           (depth == 15 || depth == 16 || depth == 24 || depth == 32);
}

// Sizes the frame picture and the scaler for a width x height window.
void FitToWindow(XTarget& t, int width, int height) {
    t.mode = ShowModeFor(width, height);
    t.picture.assign(static_cast<size_t>(t.mode.width) * t.mode.height, 0);
    t.scaler.Setup(t.mode.width, t.mode.height, width, height);
    t.redrawAll = true;
}

// The window to draw into, from the options and XSCREENSAVER_WINDOW.
// Returns 0 when the show should open a window of its own.
Window ChooseWindow(const HackOptions& options, Display* display, std::string& error) {
    if (options.windowId != 0) return options.windowId;
    if (!options.root) return 0;
    const char* fromDaemon = std::getenv("XSCREENSAVER_WINDOW");
    if (fromDaemon != nullptr && *fromDaemon != '\0') {
        unsigned long id = 0;
        if (ParseWindowId(fromDaemon, id)) return id;
        error = std::string("XSCREENSAVER_WINDOW is not a window number: ") + fromDaemon;
        return 0;
    }
    return RootWindow(display, DefaultScreen(display));
}

// Opens the show's own window: -geometry's size and place, the default
// visual when it will do (-visual TrueColor or an unsuitable default asks
// for a TrueColor one), a colormap of its own with -install or another visual.
bool OpenOwnWindow(XTarget& t, const HackOptions& options) {
    Display* d = t.display;
    const int screen = DefaultScreen(d);
    t.visual = DefaultVisual(d, screen);
    t.depth = DefaultDepth(d, screen);
    XSetWindowAttributes attributes{};
    unsigned long mask = CWBackPixel | CWBorderPixel;
    if (!SuitableVisual(t.visual, t.depth) || options.trueColor) {
        XVisualInfo info;
        bool found = SuitableVisual(t.visual, t.depth);
        for (int depth : {24, 32, 16, 15}) {
            if (!found && XMatchVisualInfo(d, screen, depth, TrueColor, &info)) {
                t.visual = info.visual;
                t.depth = info.depth;
                found = true;
            }
        }
        if (!found) return false;
    }
    if (options.installColormap || t.visual != DefaultVisual(d, screen)) {
        t.colormap = XCreateColormap(d, RootWindow(d, screen), t.visual, AllocNone);
        attributes.colormap = t.colormap;
        mask |= CWColormap;
    }
    const int width = options.width > 0 ? options.width : kOwnWindowWidth;
    const int height = options.height > 0 ? options.height : kOwnWindowHeight;
    int x = options.x, y = options.y;
    if (options.xFromRight) x = DisplayWidth(d, screen) - width - options.x;
    if (options.yFromBottom) y = DisplayHeight(d, screen) - height - options.y;
    t.window = XCreateWindow(d, RootWindow(d, screen), x, y, static_cast<unsigned>(width),
                             static_cast<unsigned>(height), 0, t.depth, InputOutput, t.visual, mask,
                             &attributes);
    t.ownWindow = true;
    XStoreName(d, t.window, "Tessary");
    if (options.position || options.width > 0) {
        // Asked for by the user: window managers keep it.
        XSizeHints hints{};
        hints.flags = (options.position ? USPosition : 0) | (options.width > 0 ? USSize : 0);
        hints.x = x;
        hints.y = y;
        hints.width = width;
        hints.height = height;
        XSetWMNormalHints(d, t.window, &hints);
    }
    t.deleteWindow = XInternAtom(d, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(d, t.window, &t.deleteWindow, 1);
    XSelectInput(d, t.window, KeyPressMask | ButtonPressMask | StructureNotifyMask | ExposureMask);
    XMapWindow(d, t.window);
    return true;
}

void CloseTarget(XTarget& t) {
    if (t.display == nullptr) return;
    DestroyImage(t);
    if (t.gc != nullptr) XFreeGC(t.display, t.gc);
    if (t.ownWindow) XDestroyWindow(t.display, t.window);
    if (t.colormap != 0) XFreeColormap(t.display, t.colormap);
    XCloseDisplay(t.display);
    t.display = nullptr;
}

void InstallStopSignals() {
    if (pipe(g_WakePipe) == 0) {
        for (int fd : g_WakePipe) fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
    }
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
}

// Waits until an X event or a stop signal arrives, or `microseconds` pass.
void WaitForWork(Display* display, int64_t microseconds) {
    pollfd fds[2] = {{ConnectionNumber(display), POLLIN, 0}, {g_WakePipe[0], POLLIN, 0}};
    const timespec timeout = {static_cast<time_t>(microseconds / 1000000),
                              static_cast<long>(microseconds % 1000000) * 1000};
    if (ppoll(fds, g_WakePipe[0] >= 0 ? 2 : 1, &timeout, nullptr) > 0 && fds[1].revents != 0) {
        char drain[16];
        while (read(g_WakePipe[0], drain, sizeof drain) > 0) {
        }
    }
}

// Fills the window around the scaled picture with the background colour.
void PaintMargins(XTarget& t, const HackShow& show) {
    const PictureRect& p = t.scaler.Placement();
    const int w = t.image->width, h = t.image->height;
    XSetForeground(t.display, t.gc, ShowBackgroundPixel(show));
    const XRectangle margins[] = {
        {0, 0, static_cast<unsigned short>(w), static_cast<unsigned short>(p.y)},
        {0, static_cast<short>(p.y + p.height), static_cast<unsigned short>(w),
         static_cast<unsigned short>(h - p.y - p.height)},
        {0, static_cast<short>(p.y), static_cast<unsigned short>(p.x),
         static_cast<unsigned short>(p.height)},
        {static_cast<short>(p.x + p.width), static_cast<short>(p.y),
         static_cast<unsigned short>(w - p.x - p.width), static_cast<unsigned short>(p.height)},
    };
    for (const XRectangle& r : margins) {
        if (r.width > 0 && r.height > 0)
            XFillRectangle(t.display, t.window, t.gc, r.x, r.y, r.width, r.height);
    }
    t.redrawAll = false;
}

enum class Next { Go, Quit };

// Handles one X event: resize, the window going away, input in an own window.
Next HandleEvent(XTarget& t, HackShow& show, const XEvent& e) {
    switch (e.type) {
        case ConfigureNotify:
            if (e.xconfigure.window != t.window) break;
            if (e.xconfigure.width == t.image->width && e.xconfigure.height == t.image->height)
                break;
            DestroyImage(t);
            if (!CreateImage(t, e.xconfigure.width, e.xconfigure.height)) {
                Fail("no frame image for the new window size");
                return Next::Quit;
            }
            FitToWindow(t, e.xconfigure.width, e.xconfigure.height);
            ReshapeShow(show, t.mode.width, t.mode.height, TickCount());
            break;
        case Expose:
            // Uncovered: paint all of it again at the next frame.
            if (e.xexpose.count == 0) {
                t.scaler.Invalidate();
                t.redrawAll = true;
            }
            break;
        case DestroyNotify:
            if (e.xdestroywindow.window == t.window) return Next::Quit;
            break;
        case KeyPress:
        case ButtonPress:
            if (t.ownWindow && !StartShowFinale(show)) return Next::Quit;
            break;
        case ClientMessage:
            if (t.ownWindow && static_cast<Atom>(e.xclient.data.l[0]) == t.deleteWindow)
                return Next::Quit;
            break;
        default:
            break;
    }
    return Next::Go;
}

// Frames and timeline steps until the show ends, the window goes or a
// signal asks to stop. Returns the exit code.
int RunShow(XTarget& t, HackShow& show, const HackOptions& options) {
    const int64_t delay = options.delayMicroseconds;
    int64_t nextFrame = MonotonicMicroseconds();
    while (!g_Stop) {
        while (XPending(t.display) > 0) {
            XEvent e;
            XNextEvent(t.display, &e);
            if (HandleEvent(t, show, e) == Next::Quit) return 0;
        }
        const uint32_t untilStep = StepShowTimeline(show, TickCount());
        if (show.ended) return 0;

        int64_t now = MonotonicMicroseconds();
        if (now >= nextFrame) {
            FrameBuffer frame{t.mode.width, t.mode.height, t.mode.width, t.picture.data()};
            DrawShowFrame(show, frame, TickCount());
            g_XError = 0;
            if (t.redrawAll) PaintMargins(t, show);
            WindowImage out = WindowImageOf(t);
            for (const PictureRect& r : t.scaler.Update(frame, out)) {
                if (t.shmImage) {
                    XShmPutImage(t.display, t.window, t.gc, t.image, r.x, r.y, r.x, r.y,
                                 static_cast<unsigned>(r.width), static_cast<unsigned>(r.height),
                                 False);
                } else {
                    XPutImage(t.display, t.window, t.gc, t.image, r.x, r.y, r.x, r.y,
                              static_cast<unsigned>(r.width), static_cast<unsigned>(r.height));
                }
            }
            // The server has read the image before the next frame reuses it.
            XSync(t.display, False);
            if (g_XError == BadWindow || g_XError == BadDrawable) return 0;  // window gone
            if (g_XError != 0) return Fail("X error " + std::to_string(g_XError) + " drawing");
            nextFrame += delay;
            now = MonotonicMicroseconds();
            if (nextFrame < now - delay) nextFrame = now;  // after a stall, no catching up
        }
        const int64_t wait = std::min<int64_t>(nextFrame - now, int64_t{untilStep} * 1000);
        if (wait > 0 && XPending(t.display) == 0 && !g_Stop) WaitForWork(t.display, wait);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    HackOptions options;
    std::string error;
    switch (ParseHackOptions(argc, argv, options, error)) {
        case ParseOutcome::Help:
            std::fputs(HackUsage(), stdout);
            return 0;
        case ParseOutcome::Error:
            std::fprintf(stderr, "%s: %s\n", kName, error.c_str());
            return 2;
        case ParseOutcome::Run:
            break;
    }
    InstallStopSignals();

    XTarget t;
    t.display = XOpenDisplay(options.display.empty() ? nullptr : options.display.c_str());
    if (t.display == nullptr) {
        const char* name = options.display.empty() ? std::getenv("DISPLAY") : nullptr;
        return Fail(std::string("cannot open display '") + (name ? name : options.display.c_str()) +
                    "'");
    }
    XSetErrorHandler(OnXError);
    if (options.synchronous) XSynchronize(t.display, True);
    // Colour names as every X program takes them (rgb.txt names, rgb:r/g/b...).
    const auto lookUp = [&t](const std::string& name, uint32_t& rgb) {
        XColor c;
        if (!XParseColor(t.display, DefaultColormap(t.display, DefaultScreen(t.display)),
                         name.c_str(), &c))
            return false;
        rgb = static_cast<uint32_t>(c.red >> 8) << 16 | static_cast<uint32_t>(c.green >> 8) << 8 |
              static_cast<uint32_t>(c.blue >> 8);
        return true;
    };
    if (!ResolveColourNames(options, lookUp, error)) {
        std::fprintf(stderr, "%s: %s\n", kName, error.c_str());
        XCloseDisplay(t.display);
        return 2;
    }
    int code = 1;
    auto show = std::make_unique<HackShow>();
    do {
        t.window = ChooseWindow(options, t.display, error);
        if (!error.empty()) {
            Fail(error);
            break;
        }
        int width = kOwnWindowWidth, height = kOwnWindowHeight;
        if (t.window != 0) {
            XWindowAttributes attributes;
            g_XError = 0;
            if (!XGetWindowAttributes(t.display, t.window, &attributes) || g_XError != 0) {
                Fail("no window " + Hex(t.window) + " on this display");
                break;
            }
            t.visual = attributes.visual;
            t.depth = attributes.depth;
            width = attributes.width;
            height = attributes.height;
            XSelectInput(t.display, t.window, StructureNotifyMask | ExposureMask);
        } else if (!OpenOwnWindow(t, options)) {
            Fail("the display has no TrueColor visual of depth 15, 16, 24 or 32");
            break;
        } else {
            width = options.width > 0 ? options.width : kOwnWindowWidth;
            height = options.height > 0 ? options.height : kOwnWindowHeight;
        }
        if (!SuitableVisual(t.visual, t.depth)) {
            Fail("window " + Hex(t.window) + " has a visual of depth " + std::to_string(t.depth) +
                 " that is not TrueColor of depth 15, 16, 24 or 32; no drawing there");
            break;
        }
        PixelFormat format;
        format.redMask = static_cast<uint32_t>(t.visual->red_mask);
        format.greenMask = static_cast<uint32_t>(t.visual->green_mask);
        format.blueMask = static_cast<uint32_t>(t.visual->blue_mask);
        if (t.depth == 32)
            format.fixedBits = ~(format.redMask | format.greenMask | format.blueMask);
        if (!LoadShowSheet(*show, EmbeddedSheetData(), EmbeddedSheetSize(), format)) {
            Fail("the built-in sprite sheet is not a 24-bit BMP");
            break;
        }
        t.gc = XCreateGC(t.display, t.window, 0, nullptr);
        t.shmAvailable = XShmQueryExtension(t.display);
        if (!CreateImage(t, width, height)) {
            Fail("cannot make a frame image of 16 or 32 bits a pixel for this visual");
            break;
        }
        FitToWindow(t, width, height);
        StartShow(*show, options.settings, t.mode.width, t.mode.height, TickCount());
        show->textRgb = options.foreground;
        code = RunShow(t, *show, options);
    } while (false);
    CloseTarget(t);
    return code;
}
