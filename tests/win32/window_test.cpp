// The saver window's creation and teardown in this process: the cursor and
// the scene timer in either kind of run, and runs that cannot start.
#include <gtest/gtest.h>

#include "display/display.h"
#include "settings/settings_table.h"
#include "shell/shell.h"
#include "shared/shell_state.h"
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

void DrainQuit() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

using Window = ScratchRegistry;

}  // namespace

TEST_F(Window, CursorAndTimerFollowTheKindOfRun) {
    WNDCLASSA cls = {};
    cls.lpfnWndProc = SaverWindowProc;
    cls.hInstance = GetModuleHandleA(nullptr);
    cls.lpszClassName = "TessaryWindowTest";
    RegisterClassA(&cls);
    g_WindowHost.setTimer = Timer::Record;
    const struct {
        int config;
        int32_t process;
        UINT period;
        int hidden;  // how far creation lowered the cursor's count
    } rows[] = {{0, 100000000, 500, 1}, {1, 700, 0, 0}};
    for (const auto& r : rows) {
        g_Shell = ShellState{};
        g_Shell.ConfigMode = r.config;
        g_Settings.Set(Process, r.process);
        g_period = 0;
        const int before = CursorCount();
        HWND window = CreateWindowExA(0, cls.lpszClassName, "", WS_POPUP, 0, 0, 10, 10, nullptr,
                                      nullptr, cls.hInstance, nullptr);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(g_period, r.period) << r.process;
        EXPECT_EQ(CursorCount(), before - r.hidden);
        MSG open;
        EXPECT_EQ(PeekMessageA(&open, window, 3024, 3024, PM_REMOVE) != 0, r.config == 1)
            << "only a configuration run asks for the dialog";
        SendMessageA(window, WM_DISPLAYCHANGE, 8, MAKELPARAM(1024, 768));
        EXPECT_EQ(PeekMessageA(&open, window, WM_KEEPMODE, WM_KEEPMODE, PM_REMOVE) != 0,
                  r.config == 0)
            << "a saver run sees about its mode after a display change";
        EXPECT_EQ(KillTimer(window, 1) != 0, r.config == 0) << "a timer only in a saver run";
        DestroyWindow(window);
        EXPECT_EQ(CursorCount(), before) << "the cursor is shown again";
        DrainQuit();
    }
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
