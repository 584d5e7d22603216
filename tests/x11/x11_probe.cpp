// Helper of the tessary-x11 end-to-end test, on the display in DISPLAY:
//   x11_probe window W H        maps a W x H window, prints its id, stays until killed
//   x11_probe page WINDOW SECS MONTH WEEKDAY DAYS [RRGGBB]
//       waits until WINDOW ("root" or an id) shows the page of a month (1-12) whose
//       1st is on WEEKDAY (0 = Sunday) and that has DAYS days, scaled to fit and
//       centred, on the background of its top-left pixel (which must be RRGGBB
//       when given, on a 24-bit visual); exit 0 when it does, 1 after SECS seconds
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <unistd.h>

#include <algorithm>
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
    // Cells {x, y, lit} of the 640 x 480 page: the year, the month, the days in
    // weekday columns; grid slots without a day must stay background. A
    // window smaller than 640 x 480 shows the half-size 320 x 240 page.
    std::vector<std::array<int, 3>> cells{{265, 30, 1}, {240, 30, 1}};
    if (month < 10) cells.pop_back();  // no tens digit before October
    for (int i = 0; i < 4; ++i) cells.push_back({120 + 25 * i, 30, 1});
    for (int slot = 0; slot < 42; ++slot) {
        const int day = slot - weekday + 1, x = 50 + 80 * (slot % 7), y = 100 + 60 * (slot / 7);
        const int in = day >= 1 && day <= days;
        cells.push_back({x, y, in});
        if (in && day >= 10) cells.push_back({x - 25, y, 1});
    }
    // The picture scaled to fit, centred: cells land at offset + position * scale.
    const double half = a.width < 640 || a.height < 480 ? 0.5 : 1.0;
    const double scale = std::min(a.width / (640 * half), a.height / (480 * half)) * half;
    const double ox = (a.width - 640 * scale) / 2, oy = (a.height - 480 * scale) / 2;
    for (auto& c : cells) {  // the 49 x 44 drawn of a cell, one pixel in from its edges
        c[0] = int(ox + c[0] * scale + 1), c[1] = int(oy + c[1] * scale + 1);
    }
    const int cw = int(49 * scale) - 2, ch = int(44 * scale) - 2;
    unsigned long background = 0;
    const std::array<int, 3>* failing = &cells[0];
    for (time_t end = time(nullptr) + atoi(argv[3]); failing && time(nullptr) < end;
         usleep(250000)) {
        XImage* image = XGetImage(d, w, 0, 0, a.width, a.height, AllPlanes, ZPixmap);
        failing = nullptr;
        background = XGetPixel(image, 0, 0);
        for (const auto& c : cells) {
            int n = 0;  // pixels of the cell that are not background
            for (int y = c[1]; y < c[1] + ch; ++y)
                for (int x = c[0]; x < c[0] + cw; ++x) n += XGetPixel(image, x, y) != background;
            if ((c[2] ? n < 10 : n > 0) && !failing) failing = &c;
        }
        XDestroyImage(image);
    }
    XCloseDisplay(d);
    if (failing)
        printf("no page: the cell at %d,%d is not as expected\n", (*failing)[0], (*failing)[1]);
    const unsigned long want = argc > 7 ? strtoul(argv[7], nullptr, 16) : background;
    if (!failing && (background & 0xFFFFFF) != want)
        printf("the background is %06lx, not %06lx\n", background & 0xFFFFFF, want);
    return failing || (background & 0xFFFFFF) != want ? 1 : 0;
}
