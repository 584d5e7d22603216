// The saver window's creation and teardown in this process: the cursor, the
// timer and the covers in either kind of run, and runs that cannot start.
#include <gtest/gtest.h>

#include <algorithm>

#include "animation/animation_state.h"
#include "display/display.h"
#include "settings/settings_table.h"
#include "shared/shell_state.h"
#include "shell/shell.h"
#include "win32_test.h"

namespace {

UINT g_period = 0;
struct Timer {
    static UINT_PTR WINAPI Record(HWND window, UINT_PTR id, UINT period, TIMERPROC procedure) {
        return g_period = period, SetTimer(window, id, period, procedure);
    }
    static UINT_PTR WINAPI None(HWND, UINT_PTR, UINT, TIMERPROC) { return 0; }
    static HRESULT WINAPI NoDirectDraw(GUID*, LPDIRECTDRAW*, IUnknown*) {
        return DDERR_NODIRECTDRAWHW;
    }
    static int WINAPI Ok(HWND, LPCWSTR, LPCWSTR, UINT) { return IDOK; }
};

// The monitors the covers see, through the seam; the primary one is at 0,0.
std::vector<RECT> g_areas;
BOOL WINAPI EnumMonitors(HDC, LPCRECT, MONITORENUMPROC visit, LPARAM data) {
    for (size_t i = 0; i < g_areas.size(); ++i) visit(HMONITOR(i + 1), nullptr, &g_areas[i], data);
    return TRUE;
}
BOOL WINAPI MonitorInfo(HMONITOR monitor, LPMONITORINFO info) {
    const RECT& area = info->rcMonitor = g_areas[reinterpret_cast<size_t>(monitor) - 1];
    info->dwFlags = area.left == 0 && area.top == 0 ? MONITORINFOF_PRIMARY : 0;
    return info->cbSize >= sizeof *info;
}

// The rectangles of the shown, top-most, black covers.
using Areas = std::vector<std::vector<LONG>>;
Areas Covers() {
    Areas found;
    RECT r;
    for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, L"SkylumenCover", nullptr));)
        if (IsWindowVisible(w) && GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_TOPMOST &&
            GetClassLongPtrW(w, GCLP_HBRBACKGROUND) == ULONG_PTR(GetStockObject(BLACK_BRUSH)) &&
            GetWindowRect(w, &r))
            found.push_back({r.left, r.top, r.right, r.bottom});
    std::sort(found.begin(), found.end());
    return found;
}

void DrainQuit() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

using Window = ScratchRegistry;

}  // namespace

TEST_F(Window, CursorTimerAndCoversFollowTheKindOfRun) {
    WNDCLASSA cls = {};
    cls.lpfnWndProc = SaverWindowProc;
    cls.hInstance = GetModuleHandleA(nullptr);
    cls.lpszClassName = "TessaryWindowTest";
    cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    RegisterClassA(&cls);
    g_WindowHost = {Timer::Record, EnumMonitors, MonitorInfo};
    ConnectAnimation(g_Settings, nullptr, nullptr);
    const struct {
        int config;
        int32_t process;
        UINT period;
        int hidden;  // how far creation lowered the cursor's count
        UINT input;  // sent five times to a cover after `frames` frames (0: one real click)
        int32_t frames;
        bool ends;
    } rows[] = {{0, 100000000, 500, 1, 0, 0, false},
                {0, 700, 700, 1, WM_RBUTTONDOWN, 0, true},
                {0, 700, 700, 1, WM_MOUSEMOVE, 150, true},
                {0, 700, 700, 1, WM_MOUSEMOVE, 149, false},
                {1, 700, 0, 0, WM_LBUTTONDOWN, 0, false}};
    for (const auto& r : rows) {
        g_Shell = ShellState{};
        g_Shell.ConfigMode = r.config;
        g_Settings.Set(Process, r.process);
        // The real click starts the black hole: the saver window stays, to be
        // seen still active; sent input ends the show at once.
        g_Settings.Set(BlackHall, r.input == 0);
        g_period = 0;
        g_areas = {{-800, 0, 0, 600}, {0, 0, 1024, 768}, {1024, 0, 2304, 1024}};
        const int before = CursorCount();
        const HWND active = GetActiveWindow();
        HWND window = g_Shell.SaverWindow =
            CreateWindowExA(0, cls.lpszClassName, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                            cls.hInstance, nullptr);
        ASSERT_NE(window, nullptr);
        CoverOtherMonitors();
        EXPECT_EQ(Covers(), (r.config ? Areas{} : Areas{{-800, 0, 0, 600}, {1024, 0, 2304, 1024}}));
        EXPECT_EQ(g_period, r.period) << r.process;
        // No pointer over the window; over a failure's box, in front of the
        // window disabled behind it, the usual one.
        for (BOOL enabled : {FALSE, TRUE}) {
            EnableWindow(window, enabled);
            SendMessageW(window, WM_SETCURSOR, WPARAM(window), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
            EXPECT_EQ(GetCursor(), enabled ? nullptr : cls.hCursor) << enabled;
        }
        EXPECT_EQ(CursorCount(), before - r.hidden);
        MSG open;
        EXPECT_EQ(PeekMessageA(&open, window, 3024, 3024, PM_REMOVE) != 0, r.config == 1)
            << "only a configuration run asks for the dialog";
        // The mode change shrinks the primary monitor; one other is left beside
        // it, and one that overlaps it (as X can report) is left uncovered.
        g_areas = {{0, 0, 640, 480}, {640, 0, 1920, 1024}, {320, 240, 960, 720}};
        SendMessageA(window, WM_DISPLAYCHANGE, 8, MAKELPARAM(640, 480));
        // A saver run sees about its mode after a display change, and the covers with it.
        if (PeekMessageA(&open, window, WM_KEEPMODE, WM_KEEPMODE, PM_REMOVE))
            DispatchMessageA(&open);
        EXPECT_EQ(Covers(), (r.config ? Areas{} : Areas{{640, 0, 1920, 1024}}));
        EXPECT_EQ(KillTimer(window, 1) != 0, r.config == 0) << "a timer only in a saver run";
        g_Display.frames.FrameCounter = r.frames;
        // The real click lands at 800,300, on the part of the cover inside the desktop.
        if (r.input == 0)
            mouse_event(
                MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_LEFTUP,
                800 * 65536 / 1024, 300 * 65536 / 768, 0, 0);
        while (!r.input && !g_Shell.EndingInProgress &&
               MsgWaitForMultipleObjects(0, nullptr, FALSE, 5000, QS_ALLINPUT) == WAIT_OBJECT_0)
            for (MSG m; PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE);) DispatchMessageW(&m);
        for (int i = 0; r.input && i < 5; ++i)
            SendMessageW(FindWindowW(L"SkylumenCover", nullptr), r.input, 0, 0);
        EXPECT_EQ(IsWindow(window) == 0, r.ends) << "ended as input on the saver ends it";
        EXPECT_EQ(g_Shell.EndingInProgress != 0, r.input == 0 || r.ends);
        EXPECT_EQ(GetActiveWindow(), active) << "the covers never take activation";
        DestroyWindow(window);
        EXPECT_EQ(CursorCount(), before) << "the cursor is shown again";
        EXPECT_EQ(Covers(), Areas{}) << "the covers go with the saver window";
        DrainQuit();
    }
    g_Display.frames.FrameCounter = 0;
    g_Animation = AnimationState{};
    g_WindowHost = WindowHost{};
    g_Settings = Settings();
    UnregisterClassA(cls.lpszClassName, cls.hInstance);
}

// A run whose timer or display cannot start ends at once and cleanly; only
// the one that got as far as the display made the frame-rate text's font.
TEST_F(Window, RunsThatCannotStartEndCleanly) {
    g_Display.host.directDrawCreate = Timer::NoDirectDraw;
    g_Display.host.messageBox = Timer::Ok;
    for (bool timer : {false, true}) {
        g_WindowHost.setTimer = timer ? Timer::Record : Timer::None;
        g_Shell = ShellState{};
        const int before = CursorCount();
        EXPECT_EQ(RunTessary(GetModuleHandleA(nullptr), "/s", SW_SHOW), 0);
        EXPECT_EQ(g_Shell.OverlayFont != nullptr, timer);
        EXPECT_EQ(CursorCount(), before);
        EXPECT_EQ(FindWindowA("SkylumenClass", nullptr), nullptr);
        DEVMODEA mode = {};
        mode.dmSize = sizeof mode;
        EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode);
        EXPECT_EQ(mode.dmPelsWidth, 1024u) << "the display was never taken";
        DrainQuit();
        WNDCLASSA cls = {};
        GetClassInfoA(GetModuleHandleA(nullptr), "SkylumenClass", &cls);
        EXPECT_EQ(cls.hbrBackground, GetStockObject(BLACK_BRUSH)) << "black behind the dialogs";
        UnregisterClassA("SkylumenClass", GetModuleHandleA(nullptr));
    }
    g_WindowHost.setTimer = SetTimer;
    g_Display.host = DisplayHost{};
}
