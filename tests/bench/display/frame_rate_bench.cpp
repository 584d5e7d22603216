// Frame rate of the saver's real frame routine at 640 x 480 x 8 with all 200
// digits in play, against a bare loop that only colour-fills the back buffer
// and flips, on the same surfaces; then the parts of a frame on their own,
// and the time one F10 snapshot takes. Not a test: it prints figures.
//
// Run inside a Wine virtual desktop (scripts/bench does all of it):
//   wine explorer /desktop=bench,1024x768 tessary_bench.exe [--seconds=3]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "animation/animation_state.h"
#include "animation/digit_pool.h"
#include "animation/scene_timeline.h"
#include "display/display.h"
#include "settings/settings_store.h"
#include "shell/shell_state.h"

namespace {

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// What the saver's message loop does between frames.
void PumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// One way of drawing frames: `enter` sets it up, `frame` draws one.
struct Loop {
    std::function<void()> enter;
    std::function<void()> frame;
    long frames = 0;
    double elapsed = 0;
    double Rate() const { return frames / elapsed; }
};

// Runs every loop for `seconds` in all, with the message pump, in turns of a
// quarter second, so that a change in the machine's load meets all of them.
void RunInTurns(double seconds, std::vector<Loop*> loops) {
    const double slice = 0.25;
    for (double done = 0; done < seconds; done += slice)
        for (Loop* loop : loops) {
            loop->enter();
            const double start = Now();
            double elapsed = 0;
            do {
                PumpMessages();
                loop->frame();
                ++loop->frames;
                elapsed = Now() - start;
            } while (elapsed < slice);
            loop->elapsed += elapsed;
        }
}

// Calls `work` for `seconds`; microseconds per call.
double MicrosPerCall(double seconds, const std::function<void()>& work) {
    long calls = 0;
    const double start = Now();
    double elapsed = 0;
    do {
        for (int i = 0; i < 100; ++i) work();
        calls += 100;
        elapsed = Now() - start;
    } while (elapsed < seconds);
    return elapsed * 1e6 / calls;
}

void BareFrame() {
    DisplayState& d = g_Display;
    DDBLTFX fx;
    ZeroMemory(&fx, sizeof fx);
    fx.dwSize = sizeof fx;
    while (d.backBuffer->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fx) ==
           DDERR_WASSTILLDRAWING) {
    }
    while (d.primary->Flip(nullptr, 0) == DDERR_WASSTILLDRAWING) {
    }
}

HWND CreateBenchWindow() {
    WNDCLASSA cls = {};
    cls.lpfnWndProc = DefWindowProcA;
    cls.hInstance = GetModuleHandleA(nullptr);
    cls.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    cls.lpszClassName = "TessaryBench";
    if (!RegisterClassA(&cls)) return nullptr;
    HWND window =
        CreateWindowExA(WS_EX_TOPMOST, cls.lpszClassName, "Tessary bench", WS_POPUP | WS_VISIBLE, 0,
                        0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr,
                        nullptr, cls.hInstance, nullptr);
    if (window != nullptr) SetForegroundWindow(window);
    return window;
}

int Run(double seconds) {
    HWND window = CreateBenchWindow();
    if (window == nullptr) {
        std::printf("bench: no window\n");
        return 1;
    }
    PumpMessages();

    // The saver's settings as start-up reads them; BlackBack is stored so
    // that the per-frame read finds a value, as on a configured machine.
    static Settings settings;
    settings.Set(xScreenSize, 640);
    settings.Set(yScreenSize, 480);
    settings.Set(ColorDepth, 8);
    settings.Set(FPS, 0);
    settings.Set(BigBang, 0);
    WriteSetting(BlackBack, 1);
    ConnectAnimation(settings, nullptr, nullptr);
    g_Display.settings = settings;
    g_Display.host.seedPool = [](DWORD now) {
        SeedPool(now);
        for (DigitObject& o : g_Animation.ObjectPool) o.inPlay = 1;
    };
    if (InitDisplay(window) == 0) {
        std::printf("bench: the display could not be set up at 640x480x8\n");
        return 1;
    }
    g_Shell.WindowActive = 1;
    int inPlay = 0;
    for (const DigitObject& o : g_Animation.ObjectPool) inPlay += o.inPlay;

    // The two loops the figure compares, and the saver's frame without its
    // registry read and without its digits, to see where the difference goes.
    auto allInPlay = [](int32_t inPlay) {
        for (DigitObject& o : g_Animation.ObjectPool) o.inPlay = inPlay;
    };
    Loop saver{[&] {
                   g_Display.host.readBlackBack = nullptr;
                   allInPlay(1);
               },
               RenderFrame};
    Loop bare{[] {}, BareFrame};
    Loop saverNoRegistry{[&] {
                             g_Display.host.readBlackBack = [] { return 1; };
                             allInPlay(1);
                         },
                         RenderFrame};
    Loop saverNoDigits{[&] {
                           g_Display.host.readBlackBack = nullptr;
                           allInPlay(0);
                       },
                       RenderFrame};
    Loop warmUp{[] {}, RenderFrame};
    RunInTurns(0.5, {&warmUp});
    RunInTurns(seconds, {&saver, &bare, &saverNoRegistry, &saverNoDigits});
    g_Display.host.readBlackBack = nullptr;
    allInPlay(1);

    const double registryRead = MicrosPerCall(1.0, [] { ReadSetting(BlackBack); });
    // The same value read through one open of the whole path, for comparison
    // with the store's level-by-level opening.
    const double directRead = MicrosPerCall(1.0, [] {
        HKEY key = nullptr;
        DWORD value = 0, size = sizeof value;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Quorvane\\Skylumen\\Tessery", 0,
                          KEY_QUERY_VALUE, &key) == ERROR_SUCCESS) {
            RegQueryValueExA(key, "BlackBack", nullptr, nullptr, reinterpret_cast<BYTE*>(&value),
                             &size);
            RegCloseKey(key);
        }
    });
    // Digit 5, frame 0, wholly on the screen.
    RECT cell = {0, 450, 49, 494};
    const double digitCopy = MicrosPerCall(1.0, [&cell] { BlitSprite(300, 200, &cell); });
    DWORD tick = GetTickCount();
    const double motion = MicrosPerCall(1.0, [&tick] { UpdateMotion(++tick); });

    // One F10 snapshot at 640 x 480, three times.
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string path = std::string(temp) + "tessary-bench.bmp";
    g_Display.host.snapshotPath = path.c_str();
    double snapshot[3];
    int written = 0;
    for (double& s : snapshot) {
        RenderFrame();
        const double start = Now();
        written += TakeSnapshot();
        s = Now() - start;
    }
    DeleteFileA(path.c_str());
    ReleaseDisplay();
    DestroyWindow(window);

    std::printf("Tessary frame-rate benchmark, 640x480x8, %d digits in play, %.1f s per loop\n",
                inPlay, seconds);
    std::printf("  saver frame loop (RenderFrame)          %8.1f frames/s\n", saver.Rate());
    std::printf("  bare loop (colour fill + flip)          %8.1f frames/s\n", bare.Rate());
    std::printf("  ratio saver / bare                      %8.1f %%\n",
                100.0 * saver.Rate() / bare.Rate());
    std::printf("parts of a frame:\n");
    std::printf("  saver without the BlackBack registry read %6.1f frames/s\n",
                saverNoRegistry.Rate());
    std::printf("  saver with no digit in play             %8.1f frames/s\n", saverNoDigits.Rate());
    std::printf("  one BlackBack registry read             %8.1f us\n", registryRead);
    std::printf("  (one open of the whole key path instead %6.1f us)\n", directRead);
    std::printf("  one colour-keyed digit copy (BltFast)   %8.1f us\n", digitCopy);
    std::printf("  one motion update of 200 digits         %8.1f us\n", motion);
    std::printf("  frame time: saver %.2f ms, bare %.2f ms, difference %.2f ms\n",
                1000.0 / saver.Rate(), 1000.0 / bare.Rate(),
                1000.0 / saver.Rate() - 1000.0 / bare.Rate());
    std::printf("F10 snapshot at 640x480: %.0f ms, %.0f ms, %.0f ms (%d of 3 files complete)\n",
                snapshot[0] * 1000, snapshot[1] * 1000, snapshot[2] * 1000, written);
    std::fflush(stdout);
    return written == 3 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    double seconds = 3.0;
    const char* statusFile = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--seconds=", 10) == 0) seconds = std::atof(argv[i] + 10);
        if (std::strncmp(argv[i], "--status-file=", 14) == 0) statusFile = argv[i] + 14;
    }
    if (seconds <= 0) seconds = 3.0;
    const int result = Run(seconds);
    if (statusFile != nullptr) {
        if (FILE* f = std::fopen(statusFile, "w")) {
            std::fprintf(f, "%d\n", result);
            std::fclose(f);
        }
    }
    return result;
}
