// The saver's entry, window and message loop.
#pragma once

#include <windows.h>

// Posted by a configuration run's window to itself to open the settings dialog.
constexpr UINT WM_OPENCONFIG = WM_USER + 2000;
// Posted by a saver run's window to itself when the display changed, to see
// about its mode once the change is over.
constexpr UINT WM_KEEPMODE = WM_USER + 2001;
constexpr UINT_PTR kSceneTimerId = 1;

extern HINSTANCE ProgramInstance;

// What the window procedure takes from the system; tests replace it.
struct WindowHost {
    UINT_PTR(WINAPI* setTimer)(HWND, UINT_PTR, UINT, TIMERPROC) = SetTimer;
    // The monitors that the covers go over.
    BOOL(WINAPI* enumDisplayMonitors)(HDC, LPCRECT, MONITORENUMPROC, LPARAM) = EnumDisplayMonitors;
    BOOL(WINAPI* getMonitorInfo)(HMONITOR, LPMONITORINFO) = GetMonitorInfoW;
};
extern WindowHost g_WindowHost;

// The whole run for a command-line tail; returns the exit code (always 0).
int RunTessary(HINSTANCE instance, const char* commandTail, int showCommand);

// In a saver run, covers every monitor but the primary one with a black
// top-most window that passes its input to the saver window; called again
// after a display change, it lays them out anew. Covers that cannot be made
// are left out.
void CoverOtherMonitors();
// Removes the covers; nothing happens when there are none.
void RemoveMonitorCovers();

LRESULT CALLBACK SaverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// 1 when a top-level window's title begins with `prefix`.
int FindWindowByTitlePrefix(const char* prefix);

// Opens the maker's home page; warns when no browser could be started.
void OpenHomePage(HWND window);
