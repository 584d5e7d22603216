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
    int(WINAPI* messageBox)(HWND, LPCWSTR, LPCWSTR, UINT) = MessageBoxW;
    BOOL(WINAPI* chooseColor)(LPCHOOSECOLORW) = ChooseColorW;
    BOOL (*stopMusic)();
    // The Test button: plays a tune by its stored name (PlayNamedTune).
    BOOL (*playTune)(HWND, wchar_t*, int);

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

// Fills the tune list: the two fixed entries in the shown language, then
// the tunes of the program's folder; the stored tune is selected.
void FillTuneList(HWND dialog);
// The stored name of what the tune field shows: the fixed entries in any
// language become their stored words, anything else is kept as it stands.
// `name` holds kTuneNameBufferSize units.
void StoredTuneName(HWND dialog, wchar_t* name);

// Fills control `controlId` of `window` with `colour`, less a one-pixel
// border that keeps the control's black frame visible.
void PaintColourSwatch(HWND window, HDC dc, int controlId, COLORREF colour);
