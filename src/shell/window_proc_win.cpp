#include <windows.h>

#include <shellapi.h>

#include "animation/scene_timeline.h"
#include "config/config_dialog.h"
#include "config/config_ids.h"
#include "display/display.h"
#include "music/music.h"
#include "password/password.h"
#include "shared/shell_state.h"
#include "shared/ui_text.h"
#include "shell/input_rules.h"
#include "shell/shell.h"

WindowHost g_WindowHost;

namespace {

const EndingActions& Actions() {
    static const EndingActions actions{
        [] { return VerifySaverPassword(g_Shell.SaverWindow); },
        [] { StartBlackHole(); },
        [] { DestroyWindow(g_Shell.SaverWindow); },
    };
    return actions;
}

InputContext Context() {
    return InputContext{g_Shell, g_Display.frames.FrameCounter, g_Settings[BlackHall], Actions()};
}

void OnTick(HWND window) {
    if (!g_Shell.WindowActive && !g_Shell.ConfigMode && !g_Shell.PasswordDialogUp) {
        ShowWindow(window, SW_SHOWMAXIMIZED);
        UpdateWindow(window);
        SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        CoverOtherMonitors();  // back on top with it
    }
    ResetMouseCountIfDue(g_Shell, GetTickCount());
    CheckMusicEnded(window);
    AdvanceTimeline();
}

void RunSettingsDialog(HWND window) {
    INT_PTR result =
        UiDialogBox(ProgramInstance, kConfigDialogTemplate, window, ConfigDialogProc, 0);
    // -1 means the dialog could not be created: nothing was asked for.
    if (result != 0 && result != -1) OpenHomePage(window);
    DestroyWindow(window);
}

}  // namespace

void OpenHomePage(HWND window) {
    HINSTANCE result =
        ShellExecuteW(window, L"open", kHomePageAddress, nullptr, L"", SW_SHOWNORMAL);
    if (reinterpret_cast<INT_PTR>(result) <= 32)
        MessageBoxW(window, UiText(ProgramInstance, IDS_BROWSER_FAILED).c_str(),
                    UiText(ProgramInstance, IDS_BROWSER_CAPTION).c_str(), MB_OK | MB_ICONWARNING);
}

LRESULT CALLBACK SaverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const bool saver = !g_Shell.ConfigMode;
    switch (message) {
        case WM_CREATE:
            MusicInit();
            if (!saver) {
                PostMessageW(window, WM_OPENCONFIG, 0, 0);
                return 1;
            }
            ShowCursor(FALSE);
            g_Shell.SceneTimerRunning =
                g_WindowHost.setTimer(window, kSceneTimerId,
                                      static_cast<UINT>(SceneTimerPeriod(g_Settings[Process])),
                                      nullptr) != 0;
            break;
        case WM_DESTROY:
            StopMusic();
            MusicShutdown();
            if (saver) {
                RemoveMonitorCovers();
                ReleaseDisplay();
                KillTimer(window, kSceneTimerId);
                ShowCursor(TRUE);
            }
            PostQuitMessage(0);
            break;
        case WM_CLOSE:
            return 0;
        case WM_ACTIVATEAPP:
            OnActivateApp(g_Shell, wParam != 0, [window] { DestroyWindow(window); });
            break;
        case WM_SETCURSOR:
            // Behind a failure's message box the window is disabled: the
            // pointer is the box's to show, over the whole screen.
            if (!IsWindowEnabled(window)) break;
            SetCursor(nullptr);
            return TRUE;
        case WM_TIMER:
            OnTick(window);
            break;
        case WM_MOUSEMOVE:
            if (saver && OnMouseMove(Context()) == InputResult::Handled) return 0;
            break;
        case WM_KEYDOWN:
            if (saver &&
                OnKeyDown(Context(), static_cast<unsigned>(wParam)) == InputResult::Handled)
                return 0;
            break;
        case WM_SYSKEYDOWN:
            if (saver &&
                OnSysKeyDown(Context(), static_cast<unsigned>(wParam)) == InputResult::Handled)
                return 0;
            break;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
            if (saver && OnMouseButtonDown(Context()) == InputResult::Handled) return 0;
            break;
        case WM_DISPLAYCHANGE:
            // Sent from inside a mode change, the saver's own among them.
            if (saver) PostMessageW(window, WM_KEEPMODE, 0, 0);
            break;
        case WM_KEEPMODE:
            KeepDisplayMode();
            CoverOtherMonitors();
            return 0;
        case MM_MCINOTIFY:
            RestartMusicOnNotify(window, wParam);
            return 0;
        case WM_OPENCONFIG:
            RunSettingsDialog(window);
            break;
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
