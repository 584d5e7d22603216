// The DirectDraw device of a saver run: exclusive full screen in the
// configured mode, a flipping primary with one back buffer, the 8-bit
// palette and the sprite sheet; frame composition and the F10 snapshot.
#pragma once

#include <ddraw.h>
#include <windows.h>

#include <shlobj.h>

#include <functional>

#include "display/frame_stats.h"
#include "platform/system_library.h"
#include "settings/settings_table.h"

// What the display takes from the system; tests replace these.
struct DisplayHost {
    HRESULT(WINAPI* directDrawCreate)(GUID*, LPDIRECTDRAW*, IUnknown*) = SystemDirectDrawCreate;
    int(WINAPI* messageBox)(HWND, LPCWSTR, LPCWSTR, UINT) = MessageBoxW;
    BOOL(WINAPI* destroyWindow)(HWND) = DestroyWindow;
    DWORD(WINAPI* tickCount)() = GetTickCount;
    // The background fill's brush, made and deleted on every frame.
    HBRUSH(WINAPI* createSolidBrush)(COLORREF) = CreateSolidBrush;
    BOOL(WINAPI* deleteObject)(HGDIOBJ) = DeleteObject;
    // BlackBack is read from the store on every frame (ReadSettingLive when
    // this is empty).
    std::function<int()> readBlackBack;
    // The rest of the start-up chain once the display is ready: seeding the
    // digit pool and laying out the month, then the music for the window.
    std::function<void(DWORD now)> seedPool;
    std::function<void(HWND)> startMusic;
    // Where a snapshot goes: the current folder, and where that cannot be
    // written the user's Pictures folder (its path into a MAX_PATH buffer,
    // as SHGetFolderPathW gives it).
    const wchar_t* snapshotPath = L".\\tessary.bmp";
    HRESULT(WINAPI* picturesFolder)(HWND, int, HANDLE, DWORD, LPWSTR) = SHGetFolderPathW;
};

struct DisplayState {
    IDirectDraw2* device = nullptr;
    IDirectDrawSurface* primary = nullptr;
    IDirectDrawSurface* backBuffer = nullptr;  // attached to the primary, never released alone
    IDirectDrawSurface* SpriteSheet = nullptr;
    IDirectDrawPalette* palette = nullptr;
    DWORD refreshRate = 0;
    PALETTEENTRY SystemPalette[256] = {};
    int SystemPaletteCount = 0;
    int modeRequests = 0;  // the times KeepDisplayMode asked for the mode again

    Settings settings;  // the run's screen size, depth, FPS and background colour
    FrameStats frames;
    DisplayHost host;
};

extern DisplayState g_Display;

// The numbered set-up failures shown to the user.
enum DisplayFailure {
    kFailDirectDrawCreate = 1,
    kFailQueryInterface = 33,
    kFailCooperativeLevel = 22,
    kFailDisplayMode = 7,
    kFailPrimarySurface = 4,
    kFailBackBuffer = 5,
    kFailSpriteSheet = 6,
};

// Takes the screen for `window`, loads the sheet and runs the rest of the
// start-up chain; 1 when ready, 0 after a reported failure.
int InitDisplay(HWND window);
// Shows "DirectDraw Initializaition Failed!" with `code` after releasing the
// display, destroys the window; returns 0.
int ReportDisplayFailure(HWND window, int code);
// Gives everything back, the store's live settings key included, and
// restores the desktop's mode; repeatable.
void ReleaseDisplay();
// Restores lost surface memory and reloads the sheet.
HRESULT RestoreSurfaces();
// Asks for the saver's display mode again when the screen is in another one
// while the saver's frames run: 1 when it asked. Wine's virtual desktop can
// answer the saver's own mode change with the desktop's size while the last
// program's restore is still under way, and the show would then be drawn in
// a corner of the desktop. At most kModeRequestsPerRun times a run, so that
// a display that refuses the mode is not asked without end.
constexpr int kModeRequestsPerRun = 3;
int KeepDisplayMode();
// Bracket a system dialog: the dialog sees the system palette meanwhile.
// Lending returns 1 when the saver's entries were saved; only then does
// reclaiming put them back.
int LendPaletteToSystem(PALETTEENTRY* saved);
void ReclaimPalette(PALETTEENTRY* saved, int wasSaved);

// Sprite sheet and palette.
IDirectDrawSurface* LoadSpriteSheet(IDirectDraw2* device, const wchar_t* name, int width,
                                    int height);
HRESULT ReloadSpriteSheet(IDirectDrawSurface* surface, const wchar_t* name);
HRESULT CopyBitmapToSurface(IDirectDrawSurface* surface, HBITMAP bitmap, int x, int y, int width,
                            int height);
IDirectDrawPalette* LoadPalette(IDirectDraw2* device, const wchar_t* name);
DWORD MatchColour(IDirectDrawSurface* surface, COLORREF colour);
HRESULT SetSourceColourKey(IDirectDrawSurface* surface, COLORREF colour);

// One frame: count, move, clear, frame-rate text, digits, snapshot, flip.
void RenderFrame();
void ClearToBlack();
void FillWithBackgroundColor();
int BlitSprite(int x, int y, RECT* source);

// Writes the back buffer to the snapshot file, in the current folder or else
// in Pictures; 1 when a whole file was written. A snapshot that could be
// written nowhere is announced with the system's error sound.
int TakeSnapshot();
