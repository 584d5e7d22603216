// Helper of the tessary-x11 end-to-end test, on the display in DISPLAY:
//   x11_probe window W H        maps a W x H window, prints its id, stays until killed
//   x11_probe page WINDOW SECS  waits until WINDOW ("root" or an id) shows this month's
//                               page; exit 0 when it does, 1 after SECS seconds
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

namespace {

struct Cell {
    int x, y;
    bool lit;  // a digit belongs here; otherwise the cell must stay background
};

// This month's page, from the C library's calendar: the year, the month and
// the days in seven weekday columns; the slots of the grid that no day takes.
std::vector<Cell> ExpectedPage(int w, int h) {
    time_t now = time(nullptr);
    tm first = *localtime(&now), last = first;
    first.tm_mday = 1, first.tm_hour = 12, first.tm_isdst = -1;
    last.tm_mon += 1, last.tm_mday = 0, last.tm_hour = 12, last.tm_isdst = -1;
    mktime(&first);  // weekday of the 1st
    mktime(&last);   // the month's last day
    const int dx = w > 640 ? (w - 640) / 2 : 0, dy = w > 640 ? (h - 480) / 2 : 0;
    const int year = first.tm_year + 1900, month = first.tm_mon + 1;
    std::vector<Cell> cells;
    for (int i = 0; i < 4; ++i) cells.push_back({120 + 25 * i + dx, 30 + dy, true});
    cells.push_back({265 + dx, 30 + dy, true});
    if (month >= 10) cells.push_back({240 + dx, 30 + dy, true});
    for (int slot = 0; slot < 42; ++slot) {
        const int day = slot - first.tm_wday + 1;
        const int x = 50 + 80 * (slot % 7) + dx, y = 100 + 60 * (slot / 7) + dy;
        cells.push_back({x, y, day >= 1 && day <= last.tm_mday});
        if (day >= 10 && day <= last.tm_mday) cells.push_back({x - 25, y, true});
    }
    std::printf("page %04d-%02d: 1st on weekday %d, %d days\n", year, month, first.tm_wday,
                last.tm_mday);
    return cells;
}

}  // namespace

int main(int argc, char** argv) {
    Display* d = XOpenDisplay(nullptr);
    if (d == nullptr || argc < 4) return 2;
    if (std::strcmp(argv[1], "window") == 0) {
        Window w = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, std::atoi(argv[2]),
                                       std::atoi(argv[3]), 0, 0, 0);
        XSelectInput(d, w, StructureNotifyMask);
        XMapWindow(d, w);
        for (XEvent e; XNextEvent(d, &e), e.type != MapNotify;) {
        }
        std::printf("%lu\n", w);
        std::fflush(stdout);
        for (XEvent e;;) XNextEvent(d, &e);
    }
    Window w =
        std::strcmp(argv[2], "root") == 0 ? DefaultRootWindow(d) : std::strtoul(argv[2], 0, 0);
    XWindowAttributes a;
    XGetWindowAttributes(d, w, &a);
    const std::vector<Cell> cells = ExpectedPage(a.width, a.height);
    const Cell* failing = &cells[0];
    for (time_t end = time(nullptr) + std::atoi(argv[3]); failing && time(nullptr) < end;) {
        usleep(250000);
        XImage* image = XGetImage(d, w, 0, 0, a.width, a.height, AllPlanes, ZPixmap);
        failing = nullptr;
        for (const Cell& c : cells) {
            int lit = 0;  // cells are 49 x 44 pixels as drawn
            for (int y = c.y; y < c.y + 44; ++y)
                for (int x = c.x; x < c.x + 49; ++x)
                    lit += (XGetPixel(image, x, y) & 0xFFFFFF) != 0;
            if ((c.lit ? lit < 10 : lit > 0) && failing == nullptr) failing = &c;
        }
        XDestroyImage(image);
    }
    XCloseDisplay(d);
    if (failing == nullptr) return std::puts("page seen") < 0;
    std::printf("no page: cell at %d,%d should be %s\n", failing->x, failing->y,
                failing->lit ? "lit" : "empty");
    return 1;
}
