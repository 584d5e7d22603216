#include <windows.h>

#include <commctrl.h>

#include <cwchar>
#include <string>

#include "animation/animation_state.h"
#include "animation/digit_pool.h"
#include "display/display.h"
#include "music/music.h"
#include "password/password.h"
#include "settings/settings_store.h"
#include "shared/shell_state.h"
#include "shared/ui_text.h"
#include "shell/command_line.h"
#include "shell/shell.h"
#include "shell/startup_restrictions.h"

HINSTANCE ProgramInstance = nullptr;

namespace {

const wchar_t kClassName[] = L"SkylumenClass";
const wchar_t kWindowTitle[] = L"DirectX Tessary";

bool g_TitleFound = false;

BOOL CALLBACK MatchTitlePrefix(HWND window, LPARAM parameter) {
    const wchar_t* prefix = reinterpret_cast<const wchar_t*>(parameter);
    wchar_t title[100] = {};
    GetWindowTextW(window, title, 100);
    if (std::wcsncmp(title, prefix, std::wcslen(prefix)) == 0) {
        g_TitleFound = true;
        return FALSE;
    }
    return TRUE;
}

void ReadRunSettings() {
    for (int i = 0; i < kSettingCount; ++i)
        if (IsStartupSetting(i)) g_Settings.Set(i, ReadSetting(i));
    g_Shell.UsePassword = ReadUsePasswordFlag();
}

// Hands the run's settings and the calls between subsystems to the display
// and the animation.
void ConnectSubsystems() {
    g_Display.settings = g_Settings;
    g_Display.host.seedPool = [](DWORD now) { SeedPool(now); };
    g_Display.host.startMusic = [](HWND window) { StartConfiguredMusic(window); };
    ConnectAnimation(g_Settings, nullptr, [] {
        g_Shell.WindowActive = 0;
        DestroyWindow(g_Shell.SaverWindow);
    });
}

HFONT CreateOverlayFont(int32_t screenWidth) {
    const int height = static_cast<int>(static_cast<int64_t>(screenWidth) * 18 / 640);
    return CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY,
                       VARIABLE_PITCH, L"ＭＳ ゴシック");
}

int MessageLoop() {
    MSG msg;
    for (;;) {
        if (PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (GetMessageW(&msg, nullptr, 0, 0) == 0) return static_cast<int>(msg.wParam);
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        } else if (g_Shell.WindowActive) {
            RenderFrame();
        } else {
            WaitMessage();
        }
    }
}

}  // namespace

int FindWindowByTitlePrefix(const char* prefix) {
    g_TitleFound = false;
    const std::wstring wide = Utf8ToWide(prefix);
    EnumWindows(MatchTitlePrefix, reinterpret_cast<LPARAM>(wide.c_str()));
    return g_TitleFound ? 1 : 0;
}

int RunTessary(HINSTANCE instance, const char* commandTail, int showCommand) {
    ProgramInstance = instance;
    // The themed controls of the settings dialog: the common controls 6 of
    // the manifest, which Windows binds from its own store by that name
    // before any folder is searched.
    if (HMODULE common = LoadLibraryW(L"comctl32.dll")) {
        using InitProc = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
        const INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES};
        if (auto init = reinterpret_cast<InitProc>(
                reinterpret_cast<void*>(GetProcAddress(common, "InitCommonControlsEx"))))
            init(&controls);
    }
    if (FindWindowW(kClassName, nullptr) != nullptr) return 0;
    ReadRunSettings();

    const CommandLine command = ParseCommandLine(commandTail);
    switch (command.mode) {
        case RunMode::Preview:
            return 0;
        case RunMode::PasswordChange:
            ChangeSaverPassword(reinterpret_cast<HWND>(command.parentWindow));
            return 0;
        case RunMode::Configuration:
            g_Shell.ConfigMode = 1;
            break;
        case RunMode::Saver:
            g_Shell.ConfigMode = 0;
            break;
    }

    if (!g_Shell.ConfigMode &&
        FindStartupRestriction(
            g_Settings,
            [](const char* cls) {
                return FindWindowW(Utf8ToWide(cls).c_str(), nullptr) != nullptr;
            },
            [](const char* prefix) { return FindWindowByTitlePrefix(prefix) != 0; }) >= 0)
        return 0;

    ConnectSubsystems();

    WNDCLASSW windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = SaverWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = kClassName;
    if (!RegisterClassW(&windowClass)) return 0;

    HWND window = CreateWindowExW(WS_EX_TOPMOST, kClassName, kWindowTitle, WS_POPUP, 0, 0,
                                  GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                  nullptr, nullptr, instance, nullptr);
    if (window == nullptr) return 0;
    g_Shell.SaverWindow = window;
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    SetFocus(window);

    // Without its timer the show could never advance, nor its black hole end:
    // the run ends at once, through the window's own teardown.
    if (!g_Shell.ConfigMode && !g_Shell.SceneTimerRunning) {
        DestroyWindow(window);
        return 0;
    }

    g_Shell.OverlayFont = CreateOverlayFont(g_Settings[xScreenSize]);

    if (!g_Shell.ConfigMode && InitDisplay(window) == 0) return 0;
    // After the mode change, which moves the other monitors' rectangles.
    CoverOtherMonitors();

    HDC dc = GetDC(window);
    g_Display.SystemPaletteCount =
        static_cast<int>(GetSystemPaletteEntries(dc, 0, 256, g_Display.SystemPalette));
    ReleaseDC(window, dc);

    MessageLoop();
    return 0;
}
