// The settings dialog's own state and what it takes from the system, kept
// apart from the dialog procedure so that tests can replace the message
// boxes, the colour chooser, DirectDraw and the music calls.
#pragma once

#include <windows.h>

#include <commdlg.h>
#include <ddraw.h>

#include "config/display_modes.h"
#include "platform/system_library.h"

// Posted by the dialog to itself to repaint the colour swatch.
constexpr UINT kPaintSwatchMessage = 2024;

struct ConfigDialogHost {
    HRESULT(WINAPI* directDrawCreate)(GUID*, LPDIRECTDRAW*, IUnknown*) = SystemDirectDrawCreate;
    int(WINAPI* messageBox)(HWND, LPCSTR, LPCSTR, UINT) = MessageBoxA;
    BOOL(WINAPI* chooseColor)(LPCHOOSECOLORA) = ChooseColorA;
    BOOL (*stopMusic)();
    BOOL (*testMusicSelection)(HWND, int);

    ConfigDialogHost();
};

struct ConfigDialogState {
    // Filled anew each time the dialog starts; the only link between the
    // texts of the mode list and the numbers that are stored.
    DisplayModeTable modes;
    int warnOnce = 0;  // the 256-colour warning is still to be shown
    int result = 0;    // 1 once the user chose to visit the home page
    ConfigDialogHost host;
};

extern ConfigDialogState g_ConfigDialog;

// DirectDraw's display-mode callback; `context` is the DisplayModeTable to fill.
HRESULT WINAPI EnumDisplayModeEntry(LPDDSURFACEDESC mode, LPVOID context);

// After a colour was chosen: the 256-colour warning, once per dialog and
// only when the run's stored depth is 8.
void WarnPaletteColours(HWND dialog);

// Fills control `controlId` of `window` with `colour`, less a one-pixel
// border that keeps the control's black frame visible.
void PaintColourSwatch(HWND window, HDC dc, int controlId, COLORREF colour);
