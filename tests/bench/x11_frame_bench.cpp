// Time of one tessary-x11 frame at 1024 x 768 with all 200 digits in play:
// composed in memory, and composed then put into a window through MIT-SHM
// and waited for (XSync), as the program does each frame.
//
// Built by the release preset (Google Benchmark installed):
//   cmake --preset release && cmake --build --preset release --target tessary_x11_bench
//   Xvfb :7 -screen 0 1024x768x24 & DISPLAY=:7 build/release/tessary_x11_bench
// Without DISPLAY the put benchmark reports an error and the other still runs.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <benchmark/benchmark.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <memory>
#include <vector>

#include "show/embedded_sheet.h"
#include "show/hack_show.h"

namespace {

constexpr int kWidth = 1024, kHeight = 768;

// A show on a 1024 x 768 screen, every object in play, drifting.
std::unique_ptr<HackShow> FullShow() {
    auto show = std::make_unique<HackShow>();
    LoadShowSheet(*show, EmbeddedSheetData(), EmbeddedSheetSize(), PixelFormat{});
    Settings options;
    options.Set(BigBang, 0);
    StartShow(*show, options, kWidth, kHeight, 1);
    for (DigitObject& o : show->animation.ObjectPool) o.inPlay = 1;
    return show;
}

void BM_ComposeFrame(benchmark::State& state) {
    auto show = FullShow();
    std::vector<uint32_t> pixels(kWidth * kHeight);
    FrameBuffer frame{kWidth, kHeight, kWidth, pixels.data()};
    uint32_t now = 1;
    for (auto _ : state) {
        DrawShowFrame(*show, frame, now += 16);
        benchmark::DoNotOptimize(pixels.data());
    }
}
BENCHMARK(BM_ComposeFrame)->Unit(benchmark::kMillisecond);

void BM_ComposeAndPut(benchmark::State& state) {
    Display* d = XOpenDisplay(nullptr);
    if (d == nullptr || !XShmQueryExtension(d)) {
        state.SkipWithError("needs DISPLAY with MIT-SHM (e.g. Xvfb)");
        if (d != nullptr) XCloseDisplay(d);
        return;
    }
    const int screen = DefaultScreen(d);
    Window window = XCreateSimpleWindow(d, RootWindow(d, screen), 0, 0, kWidth, kHeight, 0, 0, 0);
    XMapWindow(d, window);
    GC gc = XCreateGC(d, window, 0, nullptr);
    XShmSegmentInfo shm{};
    XImage* image = XShmCreateImage(d, DefaultVisual(d, screen), DefaultDepth(d, screen), ZPixmap,
                                    nullptr, &shm, kWidth, kHeight);
    shm.shmid =
        shmget(IPC_PRIVATE, static_cast<size_t>(image->bytes_per_line) * kHeight, IPC_CREAT | 0600);
    shm.shmaddr = image->data = static_cast<char*>(shmat(shm.shmid, nullptr, 0));
    XShmAttach(d, &shm);
    XSync(d, False);
    shmctl(shm.shmid, IPC_RMID, nullptr);

    auto show = FullShow();
    FrameBuffer frame{kWidth, kHeight, image->bytes_per_line / 4,
                      reinterpret_cast<uint32_t*>(image->data)};
    uint32_t now = 1;
    for (auto _ : state) {
        DrawShowFrame(*show, frame, now += 16);
        XShmPutImage(d, window, gc, image, 0, 0, 0, 0, kWidth, kHeight, False);
        XSync(d, False);
    }
    XShmDetach(d, &shm);
    XSync(d, False);
    shmdt(shm.shmaddr);
    image->data = nullptr;
    XDestroyImage(image);
    XFreeGC(d, gc);
    XCloseDisplay(d);
}
BENCHMARK(BM_ComposeAndPut)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
