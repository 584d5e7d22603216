// The saver window's flags, shared by the start-up code, the window
// procedure and the display.
#pragma once

#include <windows.h>

struct ShellState {
    HWND SaverWindow = nullptr;
    int ConfigMode = 0;
    int WindowActive = 0;  // frames are drawn only while set
    int UsePassword = 0;
    int EndingInProgress = 0;
    int PasswordDialogUp = 0;
    int SnapshotRequested = 0;  // F10: the next frame writes the snapshot file
    HFONT OverlayFont = nullptr;
};

extern ShellState g_Shell;
