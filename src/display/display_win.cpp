#include "display/display.h"

#include "animation/random_source.h"
#include "settings/settings_store.h"
#include "shared/shell_state.h"

DisplayState g_Display;

namespace {

template <typename T>
void ReleaseAndClear(T*& reference) {
    if (reference != nullptr) {
        reference->Release();
        reference = nullptr;
    }
}

}  // namespace

int ReportDisplayFailure(HWND window, int code) {
    wchar_t text[100];
    wsprintfW(text, L"DirectDraw Initializaition Failed!\nError Code is %d", code);
    ReleaseDisplay();
    // The saver window hid the cursor; the user needs it to answer the box.
    ShowCursor(TRUE);
    g_Display.host.messageBox(window, text, L"DirectX Tessary", MB_OK);
    ShowCursor(FALSE);
    g_Display.host.destroyWindow(window);
    return 0;
}

int InitDisplay(HWND window) {
    DisplayState& d = g_Display;
    g_Random.Seed(d.host.tickCount());

    LPDIRECTDRAW first = nullptr;
    if (d.host.directDrawCreate(nullptr, &first, nullptr) != DD_OK || first == nullptr)
        return ReportDisplayFailure(window, kFailDirectDrawCreate);
    void* second = nullptr;
    HRESULT hr = first->QueryInterface(IID_IDirectDraw2, &second);
    // Only the newer interface is kept; the first one goes either way, so a
    // failure here leaves nothing to release.
    first->Release();
    if (hr != DD_OK || second == nullptr) return ReportDisplayFailure(window, kFailQueryInterface);
    d.device = static_cast<IDirectDraw2*>(second);

    if (d.device->SetCooperativeLevel(window, DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE) != DD_OK)
        return ReportDisplayFailure(window, kFailCooperativeLevel);
    if (d.device->SetDisplayMode(static_cast<DWORD>(d.settings[xScreenSize]),
                                 static_cast<DWORD>(d.settings[yScreenSize]),
                                 static_cast<DWORD>(d.settings[ColorDepth]), 0, 0) != DD_OK)
        return ReportDisplayFailure(window, kFailDisplayMode);

    DDSURFACEDESC desc;
    ZeroMemory(&desc, sizeof desc);
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
    desc.dwBackBufferCount = 1;
    if (d.device->CreateSurface(&desc, &d.primary, nullptr) != DD_OK || d.primary == nullptr) {
        d.primary = nullptr;
        return ReportDisplayFailure(window, kFailPrimarySurface);
    }
    DDSCAPS caps;
    caps.dwCaps = DDSCAPS_BACKBUFFER;
    if (d.primary->GetAttachedSurface(&caps, &d.backBuffer) != DD_OK || d.backBuffer == nullptr) {
        d.backBuffer = nullptr;
        return ReportDisplayFailure(window, kFailBackBuffer);
    }

    hr = d.device->GetMonitorFrequency(&d.refreshRate);
    if (hr == DDERR_UNSUPPORTED || hr == DDERR_INVALIDPARAMS || hr == DDERR_INVALIDOBJECT)
        d.refreshRate = 0;

    d.palette = LoadPalette(d.device, L"FULLCOLOR");
    if (d.palette != nullptr) d.primary->SetPalette(d.palette);

    d.SpriteSheet = LoadSpriteSheet(d.device, L"FULLCOLOR", 0, 0);
    if (d.SpriteSheet == nullptr) return ReportDisplayFailure(window, kFailSpriteSheet);
    SetSourceColourKey(d.SpriteSheet, RGB(0, 0, 0));

    if (d.host.seedPool) d.host.seedPool(d.host.tickCount());
    if (d.host.startMusic) d.host.startMusic(window);
    return 1;
}

void ReleaseDisplay() {
    DisplayState& d = g_Display;
    CloseLiveSettingsKey();  // the frames' BlackBack read
    if (d.device == nullptr) return;
    ReleaseAndClear(d.primary);
    d.backBuffer = nullptr;  // went with the primary
    ReleaseAndClear(d.SpriteSheet);
    ReleaseAndClear(d.palette);
    d.device->RestoreDisplayMode();
    ReleaseAndClear(d.device);
}

int KeepDisplayMode() {
    DisplayState& d = g_Display;
    if (d.device == nullptr || !g_Shell.WindowActive || d.modeRequests >= kModeRequestsPerRun)
        return 0;
    DEVMODEW now = {};
    now.dmSize = sizeof now;
    const DWORD width = static_cast<DWORD>(d.settings[xScreenSize]),
                height = static_cast<DWORD>(d.settings[yScreenSize]);
    if (!EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &now) ||
        (now.dmPelsWidth == width && now.dmPelsHeight == height))
        return 0;
    ++d.modeRequests;
    // The surfaces are lost with the change; the next frame restores them.
    d.device->SetDisplayMode(width, height, static_cast<DWORD>(d.settings[ColorDepth]), 0, 0);
    return 1;
}

HRESULT RestoreSurfaces() {
    DisplayState& d = g_Display;
    if (d.primary == nullptr || d.SpriteSheet == nullptr) return DDERR_SURFACELOST;
    HRESULT hr = d.primary->Restore();
    if (hr != DD_OK) return hr;
    hr = d.SpriteSheet->Restore();
    if (hr == DD_OK) ReloadSpriteSheet(d.SpriteSheet, L"FULLCOLOR");
    return hr;
}

int LendPaletteToSystem(PALETTEENTRY* saved) {
    DisplayState& d = g_Display;
    g_Shell.WindowActive = 0;
    if (d.device != nullptr) d.device->FlipToGDISurface();
    if (d.palette == nullptr || d.palette->GetEntries(0, 0, 256, saved) != DD_OK) return 0;
    if (d.SystemPaletteCount > 0 && d.SystemPaletteCount <= 256)
        d.palette->SetEntries(0, 0, static_cast<DWORD>(d.SystemPaletteCount), d.SystemPalette);
    return 1;
}

void ReclaimPalette(PALETTEENTRY* saved, int wasSaved) {
    DisplayState& d = g_Display;
    if (d.palette != nullptr && wasSaved) d.palette->SetEntries(0, 0, 256, saved);
    // Frames resume only when the saver is the active application: drawn
    // while inactive they would meet lost surfaces without end.
    g_Shell.WindowActive = g_Shell.AppActive;
}
