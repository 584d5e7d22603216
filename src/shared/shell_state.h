// The saver window's flags, shared by the start-up code, the window
// procedure, the display and the password check. Portable: the two handles
// are declared with the same struct types that <windows.h> uses.
#pragma once

#include <cstdint>

struct HWND__;
struct HFONT__;

struct ShellState {
    HWND__* SaverWindow = nullptr;
    int ConfigMode = 0;         // 1: configuration run, 0: saver run
    int WindowActive = 0;       // frames are drawn only while set
    int AppActive = 0;          // the program is the active application
    int UsePassword = 0;        // Windows asks savers for the password
    int EndingInProgress = 0;   // user input or deactivations began the ending
    int PasswordDialogUp = 0;   // Windows' password dialog is on the screen
    int SnapshotRequested = 0;  // F10: the next frame writes the snapshot file
    int SceneTimerRunning = 0;  // the saver window's timer was started
    int DeactivationCount = 0;  // activation losses outside an ending
    int MouseMoveCount = 0;     // mouse moves since the last reset
    uint32_t mouseResetTime = 0;
    HFONT__* OverlayFont = nullptr;
};

extern ShellState g_Shell;
