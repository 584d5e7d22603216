// Frame rate of the saver's real frame routine at 640 x 480 x 8 with all 200
// digits held on the current month's page, against two loops on the same
// surfaces: the reference frame, which does the same drawing and nothing
// else (colour fill, the same 200 colour-keyed copies, flip), and a bare
// colour fill and flip. Then the price of the parts of a frame, the ways of
// reading BlackBack on every frame among them, and the time one F10 snapshot
// takes. Not a test: it prints figures.
//
// Run inside a Wine virtual desktop (scripts/bench does all of it):
//   wine explorer /desktop=bench,1024x768 tessary_bench.exe [--seconds=5]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "animation/animation_state.h"
#include "animation/digit_pool.h"
#include "animation/month_layout.h"
#include "animation/scene_timeline.h"
#include "display/display.h"
#include "display/sprite_blit.h"
#include "settings/settings_store.h"
#include "shared/shell_state.h"

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
// twentieth of a second, so that a change in the machine's load meets all of them.
void RunInTurns(double seconds, std::vector<Loop*> loops) {
    const double slice = 0.05;
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

// Microseconds per call of each of `works`, called in turns of 100 calls
// for about `seconds` each, so that a change in the machine's load meets
// all of them alike.
std::vector<double> MicrosPerCall(double seconds, const std::vector<std::function<void()>>& works) {
    std::vector<double> elapsed(works.size(), 0.0);
    long calls = 0;
    while (elapsed[0] < seconds) {
        for (size_t w = 0; w < works.size(); ++w) {
            const double start = Now();
            for (int i = 0; i < 100; ++i) works[w]();
            elapsed[w] += Now() - start;
        }
        calls += 100;
    }
    for (double& e : elapsed) e = e * 1e6 / calls;
    return elapsed;
}

void ColourFill() {
    DDBLTFX fx;
    ZeroMemory(&fx, sizeof fx);
    fx.dwSize = sizeof fx;
    while (g_Display.backBuffer->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fx) ==
           DDERR_WASSTILLDRAWING) {
    }
}

void Flip() {
    while (g_Display.primary->Flip(nullptr, 0) == DDERR_WASSTILLDRAWING) {
    }
}

void BareFrame() {
    ColourFill();
    Flip();
}

// One copy of the reference frame: a destination and a sheet rectangle.
struct Copy {
    DWORD x, y;
    RECT source;
};
std::vector<Copy> g_ReferenceCopies;

// The drawing of a saver frame and nothing else: no settings, no motion, no
// frame count.
void ReferenceFrame() {
    ColourFill();
    for (Copy& c : g_ReferenceCopies)
        while (g_Display.backBuffer->BltFast(c.x, c.y, g_Display.SpriteSheet, &c.source,
                                             DDBLTFAST_SRCCOLORKEY) == DDERR_WASSTILLDRAWING) {
        }
    Flip();
}

// Lays out the current month with all 200 objects in play and holds them on
// the page (scene 5), still, as when the digits have stopped spinning: the
// page's digits at their places, the objects the page leaves over on its
// places again in turn, so that every object is one whole copy on the
// screen. Returns the number of places of the page and fills the reference
// frame with the same copies, so that both loops draw the very same picture.
int HoldAllOnThePage() {
    const int32_t W = g_Display.settings[xScreenSize], H = g_Display.settings[yScreenSize];
    for (DigitObject& o : g_Animation.ObjectPool) o.inPlay = 1;
    LayoutMonthPage(0);
    auto onPage = [W, H](const DigitObject& o) {
        return o.hasTarget == 1 && o.targetX >= 0 && o.targetY >= 0 &&
               o.targetX + o.cellWidth < W && o.targetY + o.cellHeight < H;
    };
    std::vector<POINT> places;
    for (const DigitObject& o : g_Animation.ObjectPool)
        if (onPage(o)) places.push_back({o.targetX, o.targetY});
    if (places.empty()) return 0;
    size_t next = 0;
    g_ReferenceCopies.clear();
    for (DigitObject& o : g_Animation.ObjectPool) {
        if (!onPage(o)) {
            o.targetX = places[next % places.size()].x;
            o.targetY = places[next % places.size()].y;
            ++next;
        }
        o.x = o.targetX;
        o.y = o.targetY;
        o.fracX = o.fracY = 0;
        o.rotating = 0;
        const SpriteBlit b = ComputeSpriteBlit(o, W, H);
        g_ReferenceCopies.push_back({static_cast<DWORD>(b.destX), static_cast<DWORD>(b.destY),
                                     RECT{b.left, b.top, b.right, b.bottom}});
    }
    g_Animation.SceneState = 5;
    return static_cast<int>(places.size());
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
    g_Display.host.seedPool = [](DWORD now) { SeedPool(now); };
    if (InitDisplay(window) == 0) {
        std::printf("bench: the display could not be set up at 640x480x8\n");
        return 1;
    }
    g_Shell.WindowActive = 1;
    const int places = HoldAllOnThePage();
    if (places == 0) {
        std::printf("bench: the month page has no places on the screen\n");
        ReleaseDisplay();
        return 1;
    }

    // The saver's frame reads BlackBack from the store itself (the host's
    // reader left empty); the variant with a constant shows what that read
    // costs a frame.
    Loop saver{[] { g_Display.host.readBlackBack = nullptr; }, RenderFrame};
    Loop reference{[] {}, ReferenceFrame};
    Loop bare{[] {}, BareFrame};
    Loop saverConstant{[] { g_Display.host.readBlackBack = [] { return 1; }; }, RenderFrame};
    Loop warmUp{[] {}, RenderFrame};
    RunInTurns(0.5, {&warmUp});
    RunInTurns(seconds, {&saver, &reference, &bare, &saverConstant});
    g_Display.host.readBlackBack = nullptr;

    // The ways of reading BlackBack on every frame: the store's live read
    // (one query on the key kept open), its ordinary read (open the key
    // chain, query, close), and the check of a change notification that a
    // cached value would need instead.
    HKEY watched = OpenSettingsKey();
    HANDLE changed = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    const bool watching = watched != nullptr && changed != nullptr &&
                          RegNotifyChangeKeyValue(watched, FALSE, REG_NOTIFY_CHANGE_LAST_SET,
                                                  changed, TRUE) == ERROR_SUCCESS;
    // Digit 5, frame 0, wholly on the screen.
    RECT cell = {0, 450, 49, 494};
    DWORD tick = GetTickCount();
    const std::vector<double> perCall = MicrosPerCall(
        1.0, {[] { ReadSettingLive(BlackBack); }, [] { ReadSetting(BlackBack); },
              [changed] { WaitForSingleObject(changed, 0); },
              [&cell] { BlitSprite(300, 200, &cell); }, [&tick] { UpdateMotion(++tick); }});
    const double liveRead = perCall[0], openRead = perCall[1], digitCopy = perCall[3],
                 motion = perCall[4];
    const double notifyCheck = watching ? perCall[2] : -1;
    if (changed != nullptr) CloseHandle(changed);
    if (watched != nullptr) RegCloseKey(watched);

    // One F10 snapshot at 640 x 480, three times.
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring path = std::wstring(temp) + L"tessary-bench.bmp";
    g_Display.host.snapshotPath = path.c_str();
    double snapshot[3];
    int written = 0;
    for (double& s : snapshot) {
        RenderFrame();
        const double start = Now();
        written += TakeSnapshot();
        s = Now() - start;
    }
    DeleteFileW(path.c_str());
    ReleaseDisplay();
    DestroyWindow(window);

    std::printf("Tessary frame-rate benchmark, 640x480x8, %d digits held on this month's page\n",
                static_cast<int>(g_ReferenceCopies.size()));
    std::printf("(%d places, the rest stacked on them), %.1f s per loop\n", places, seconds);
    std::printf("  saver frame loop (RenderFrame)             %8.1f frames/s\n", saver.Rate());
    std::printf("  reference frame (fill, same copies, flip)  %8.1f frames/s\n", reference.Rate());
    std::printf("  bare loop (colour fill + flip)             %8.1f frames/s\n", bare.Rate());
    std::printf("  saver / reference                          %8.1f %% (goal: 95 %% or more)\n",
                100.0 * saver.Rate() / reference.Rate());
    std::printf("  reference / bare                           %8.1f %%\n",
                100.0 * reference.Rate() / bare.Rate());
    std::printf("  frame time: saver %.3f ms, reference %.3f ms, bare %.3f ms\n",
                1000.0 / saver.Rate(), 1000.0 / reference.Rate(), 1000.0 / bare.Rate());
    std::printf("parts of a frame:\n");
    std::printf("  saver with BlackBack a constant            %8.1f frames/s\n",
                saverConstant.Rate());
    std::printf("  BlackBack read, key kept open (the saver's) %7.1f us\n", liveRead);
    std::printf("  BlackBack read, open-query-close            %7.1f us\n", openRead);
    if (notifyCheck >= 0)
        std::printf("  change-notification check (instead)        %7.1f us\n", notifyCheck);
    else
        std::printf("  change-notification check (instead)        unavailable\n");
    std::printf("  one colour-keyed digit copy (BltFast)      %8.1f us\n", digitCopy);
    std::printf("  one motion update of 200 digits            %8.1f us\n", motion);
    std::printf("F10 snapshot at 640x480: %.0f ms, %.0f ms, %.0f ms (%d of 3 files complete)\n",
                snapshot[0] * 1000, snapshot[1] * 1000, snapshot[2] * 1000, written);
    std::fflush(stdout);
    return written == 3 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    double seconds = 5.0;
    const char* statusFile = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--seconds=", 10) == 0) seconds = std::atof(argv[i] + 10);
        if (std::strncmp(argv[i], "--status-file=", 14) == 0) statusFile = argv[i] + 14;
    }
    if (seconds <= 0) seconds = 5.0;
    const int result = Run(seconds);
    if (statusFile != nullptr) {
        if (FILE* f = std::fopen(statusFile, "w")) {
            std::fprintf(f, "%d\n", result);
            std::fclose(f);
        }
    }
    return result;
}
