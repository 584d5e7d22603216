// Helper of the tessary-x11 end-to-end test, on the display in DISPLAY:
//   x11_probe window W H        maps a W x H window, prints its id, stays until killed
//   x11_probe page WINDOW SECS MONTH WEEKDAY DAYS
//       waits until WINDOW ("root" or an id) shows the page of a month (1-12) whose
//       1st is on WEEKDAY (0 = Sunday) and that has DAYS days; exit 0 when it does,
//       1 after SECS seconds
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

int main(int argc, char** argv) {
    Display* d = XOpenDisplay(nullptr);
    if (d == nullptr || argc < 4 || (argv[1][0] == 'p' && argc < 7)) return 2;
    if (argv[1][0] == 'w') {
        Window w = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, atoi(argv[2]), atoi(argv[3]),
                                       0, 0, 0);
        XMapWindow(d, w);
        XSync(d, False);  // mapped (no window manager): ready to be drawn into
        printf("%lu\n", w);
        fflush(stdout);
        for (XEvent e;;) XNextEvent(d, &e);
    }
    Window w = argv[2][0] == 'r' ? DefaultRootWindow(d) : strtoul(argv[2], nullptr, 0);
    XWindowAttributes a;
    XGetWindowAttributes(d, w, &a);
    const int month = atoi(argv[4]), weekday = atoi(argv[5]), days = atoi(argv[6]);
    // Cells {x, y, lit} of the 640 x 480 page, centred on wider windows: the
    // year, the month, the days in weekday columns; grid slots without a day
    // must stay background.
    const int dx = a.width > 640 ? (a.width - 640) / 2 : 0, dy = dx ? (a.height - 480) / 2 : 0;
    std::vector<std::array<int, 3>> cells{{265 + dx, 30 + dy, 1}, {240 + dx, 30 + dy, 1}};
    if (month < 10) cells.pop_back();  // no tens digit before October
    for (int i = 0; i < 4; ++i) cells.push_back({120 + 25 * i + dx, 30 + dy, 1});
    for (int slot = 0; slot < 42; ++slot) {
        const int day = slot - weekday + 1, x = 50 + 80 * (slot % 7) + dx;
        const int y = 100 + 60 * (slot / 7) + dy, in = day >= 1 && day <= days;
        cells.push_back({x, y, in});
        if (in && day >= 10) cells.push_back({x - 25, y, 1});
    }
    const std::array<int, 3>* failing = &cells[0];
    for (time_t end = time(nullptr) + atoi(argv[3]); failing && time(nullptr) < end;
         usleep(250000)) {
        XImage* image = XGetImage(d, w, 0, 0, a.width, a.height, AllPlanes, ZPixmap);
        failing = nullptr;
        for (const auto& c : cells) {
            int n = 0;  // lit pixels of the 49 x 44 that a cell is drawn
            for (int y = c[1]; y < c[1] + 44; ++y)
                for (int x = c[0]; x < c[0] + 49; ++x)
                    n += (XGetPixel(image, x, y) & 0xFFFFFF) != 0;
            if ((c[2] ? n < 10 : n > 0) && !failing) failing = &c;
        }
        XDestroyImage(image);
    }
    XCloseDisplay(d);
    if (failing)
        printf("no page: the cell at %d,%d is not as expected\n", (*failing)[0], (*failing)[1]);
    return failing ? 1 : 0;
}
