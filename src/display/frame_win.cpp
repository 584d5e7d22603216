#include <windows.h>

#include "animation/scene_timeline.h"
#include "display/display.h"
#include "display/sprite_blit.h"
#include "settings/settings_store.h"
#include "shared/shell_state.h"

namespace {

// Read anew on every frame, through the store's key kept open for the run;
// ReleaseDisplay closes it.
int BlackBackSetting() {
    const DisplayHost& host = g_Display.host;
    return host.readBlackBack ? host.readBlackBack() : ReadSettingLive(BlackBack);
}

void DrawFrameRateText() {
    DisplayState& d = g_Display;
    HDC dc = nullptr;
    if (d.backBuffer->GetDC(&dc) != DD_OK) return;
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ previousFont = g_Shell.OverlayFont ? SelectObject(dc, g_Shell.OverlayFont) : nullptr;
    wchar_t text[32];
    int length = wsprintfW(text, L"FPS: %02d", d.frames.lastFrameRate);
    TextPosition at = FrameRateTextPosition(d.settings[xScreenSize], d.settings[yScreenSize]);
    SetTextColor(dc, RGB(255, 255, 0));
    TextOutW(dc, at.x, at.y, text, length);
    if (previousFont) SelectObject(dc, previousFont);
    d.backBuffer->ReleaseDC(dc);
}

}  // namespace

void ClearToBlack() {
    DDBLTFX fx;
    ZeroMemory(&fx, sizeof fx);
    fx.dwSize = sizeof fx;
    fx.dwFillColor = 0;
    HRESULT hr;
    while ((hr = g_Display.backBuffer->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fx)) ==
           DDERR_WASSTILLDRAWING) {
    }
    if (hr == DDERR_SURFACELOST) RestoreSurfaces();
}

void FillWithBackgroundColor() {
    DisplayState& d = g_Display;
    // Only the RGB bytes: a hand-edited value with the high byte set would
    // otherwise ask GDI for a palette index.
    HBRUSH brush =
        d.host.createSolidBrush(static_cast<COLORREF>(d.settings[BackgroundColor]) & 0x00FFFFFF);
    HDC dc = nullptr;
    if (d.backBuffer->GetDC(&dc) == DD_OK) {
        RECT all = {0, 0, d.settings[xScreenSize], d.settings[yScreenSize]};
        FillRect(dc, &all, brush);
        d.backBuffer->ReleaseDC(dc);
    }
    d.host.deleteObject(brush);
}

int BlitSprite(int x, int y, RECT* source) {
    DisplayState& d = g_Display;
    for (;;) {
        HRESULT hr = d.backBuffer->BltFast(static_cast<DWORD>(x), static_cast<DWORD>(y),
                                           d.SpriteSheet, source, DDBLTFAST_SRCCOLORKEY);
        if (hr == DDERR_WASSTILLDRAWING) continue;
        if (hr == DDERR_SURFACELOST) return RestoreSurfaces() == DD_OK ? 1 : 0;
        return 1;
    }
}

void RenderFrame() {
    DisplayState& d = g_Display;
    if (d.primary == nullptr || d.backBuffer == nullptr || d.SpriteSheet == nullptr) return;
    const DWORD now = d.host.tickCount();
    d.frames.CountFrame(now);
    UpdateMotion(now);

    if (BlackBackSetting() != 0)
        ClearToBlack();
    else
        FillWithBackgroundColor();
    if (d.settings[FPS] != 0) DrawFrameRateText();

    const int32_t width = d.settings[xScreenSize], height = d.settings[yScreenSize];
    for (const DigitObject& object : g_Animation.ObjectPool) {
        if (!object.inPlay) continue;
        SpriteBlit b = ComputeSpriteBlit(object, width, height);
        RECT source = {b.left, b.top, b.right, b.bottom};
        if (BlitSprite(b.destX, b.destY, &source) == 0) return;
    }

    if (g_Shell.SnapshotRequested) {
        TakeSnapshot();
        g_Shell.SnapshotRequested = 0;
    }

    HRESULT hr;
    while ((hr = d.primary->Flip(nullptr, 0)) == DDERR_WASSTILLDRAWING) {
    }
    if (hr == DDERR_SURFACELOST) RestoreSurfaces();
}
