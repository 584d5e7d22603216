#include <windows.h>

#include <cstring>

#include "display/display.h"
#include "display/palette_ramp.h"

static_assert(sizeof(PaletteColour) == sizeof(PALETTEENTRY), "palette entry layout");

namespace {

// The named bitmap from the program's resources, else from a file of that name.
HBITMAP LoadSheetBitmap(const wchar_t* name, int width, int height) {
    HANDLE image = LoadImageW(GetModuleHandleW(nullptr), name, IMAGE_BITMAP, width, height,
                              LR_CREATEDIBSECTION);
    if (image == nullptr)
        image = LoadImageW(nullptr, name, IMAGE_BITMAP, width, height,
                           LR_CREATEDIBSECTION | LR_LOADFROMFILE);
    return static_cast<HBITMAP>(image);
}

// Reads exactly `size` bytes; false at the end of the file or on a failure.
bool ReadAll(HANDLE file, void* data, DWORD size, DWORD* read) {
    *read = 0;
    return ReadFile(file, data, size, read, nullptr) && *read == size;
}

}  // namespace

IDirectDrawSurface* LoadSpriteSheet(IDirectDraw2* device, const wchar_t* name, int width,
                                    int height) {
    HBITMAP bitmap = LoadSheetBitmap(name, width, height);
    if (bitmap == nullptr) return nullptr;
    BITMAP info;
    ZeroMemory(&info, sizeof info);
    GetObjectW(bitmap, sizeof info, &info);

    DDSURFACEDESC desc;
    ZeroMemory(&desc, sizeof desc);
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
    desc.dwWidth = static_cast<DWORD>(info.bmWidth);
    desc.dwHeight = static_cast<DWORD>(info.bmHeight);
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
    IDirectDrawSurface* surface = nullptr;
    if (device->CreateSurface(&desc, &surface, nullptr) != DD_OK || surface == nullptr) {
        surface = nullptr;
        desc.ddsCaps.dwCaps = DDSCAPS_SYSTEMMEMORY;
        if (device->CreateSurface(&desc, &surface, nullptr) != DD_OK || surface == nullptr) {
            DeleteObject(bitmap);
            return nullptr;
        }
    }
    CopyBitmapToSurface(surface, bitmap, 0, 0, 0, 0);
    DeleteObject(bitmap);
    return surface;
}

HRESULT ReloadSpriteSheet(IDirectDrawSurface* surface, const wchar_t* name) {
    HBITMAP bitmap = LoadSheetBitmap(name, 0, 0);
    if (bitmap == nullptr) return E_FAIL;
    HRESULT hr = CopyBitmapToSurface(surface, bitmap, 0, 0, 0, 0);
    DeleteObject(bitmap);
    return hr;
}

HRESULT CopyBitmapToSurface(IDirectDrawSurface* surface, HBITMAP bitmap, int x, int y, int width,
                            int height) {
    if (bitmap == nullptr || surface == nullptr) return E_FAIL;
    surface->Restore();
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BITMAP info;
    ZeroMemory(&info, sizeof info);
    GetObjectW(bitmap, sizeof info, &info);
    if (width == 0) width = info.bmWidth;
    if (height == 0) height = info.bmHeight;

    DDSURFACEDESC desc;
    ZeroMemory(&desc, sizeof desc);
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_HEIGHT | DDSD_WIDTH;
    surface->GetSurfaceDesc(&desc);

    HDC target = nullptr;
    HRESULT hr = surface->GetDC(&target);
    if (hr == DD_OK) {
        int destWidth = static_cast<int>(desc.dwWidth);
        int destHeight = static_cast<int>(desc.dwHeight);
        // Half-size cells on a 320-wide screen: 225 x 440, bands of 44 rows.
        if (g_Display.settings[xScreenSize] == kSmallScreenWidth) {
            destWidth >>= 1;
            destHeight = 440;
        }
        // Shrinking with the default mode ANDs merged pixels, which darkens
        // the digits and turns near-black ones transparent.
        SetStretchBltMode(target, COLORONCOLOR);
        StretchBlt(target, 0, 0, destWidth, destHeight, memory, x, y, width, height, SRCCOPY);
        surface->ReleaseDC(target);
    }
    SelectObject(memory, previous);
    DeleteDC(memory);
    return hr;
}

IDirectDrawPalette* LoadPalette(IDirectDraw2* device, const wchar_t* name) {
    PALETTEENTRY entries[kPaletteSize];
    PaletteColour* colours = reinterpret_cast<PaletteColour*>(entries);
    FillRampPalette(colours);
    if (name != nullptr) {
        HMODULE module = GetModuleHandleW(nullptr);
        HRSRC found = FindResourceW(module, name, RT_BITMAP);
        if (found != nullptr) {
            HGLOBAL loaded = LoadResource(module, found);
            const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
            if (data != nullptr)
                ApplyResourceColourTable(static_cast<const uint8_t*>(data),
                                         SizeofResource(module, found), colours);
        } else {
            HANDLE file = CreateFileW(name, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
            if (file != INVALID_HANDLE_VALUE) {
                BITMAPFILEHEADER fileHeader;
                BITMAPINFOHEADER infoHeader;
                DWORD read = 0;
                if (ReadAll(file, &fileHeader, sizeof fileHeader, &read) &&
                    ReadAll(file, &infoHeader, sizeof infoHeader, &read) &&
                    infoHeader.biSize == sizeof infoHeader && infoHeader.biBitCount <= 8) {
                    int n = ColourTableCount(infoHeader.biSize, infoHeader.biBitCount,
                                             infoHeader.biClrUsed);
                    RGBQUAD table[kPaletteSize];
                    // A table cut short applies only the entries that were read.
                    ReadAll(file, table, static_cast<DWORD>(n * sizeof(RGBQUAD)), &read);
                    n = static_cast<int>(read / sizeof(RGBQUAD));
                    for (int i = 0; i < n; ++i) {
                        entries[i].peRed = table[i].rgbRed;
                        entries[i].peGreen = table[i].rgbGreen;
                        entries[i].peBlue = table[i].rgbBlue;
                        entries[i].peFlags = table[i].rgbReserved;
                    }
                }
                CloseHandle(file);
            }
        }
    }
    IDirectDrawPalette* palette = nullptr;
    if (device->CreatePalette(DDPCAPS_8BIT, entries, &palette, nullptr) != DD_OK) return nullptr;
    return palette;
}

DWORD MatchColour(IDirectDrawSurface* surface, COLORREF colour) {
    DWORD result = 0xFFFFFFFF;
    COLORREF saved = 0;
    HDC dc = nullptr;
    bool painted = false;
    if (surface->GetDC(&dc) == DD_OK) {
        saved = GetPixel(dc, 0, 0);
        SetPixel(dc, 0, 0, colour);
        surface->ReleaseDC(dc);
        painted = true;
    }
    DDSURFACEDESC desc;
    ZeroMemory(&desc, sizeof desc);
    desc.dwSize = sizeof desc;
    HRESULT hr;
    while ((hr = surface->Lock(nullptr, &desc, 0, nullptr)) == DDERR_WASSTILLDRAWING) {
    }
    if (hr == DD_OK && desc.lpSurface == nullptr) {
        surface->Unlock(nullptr);
    } else if (hr == DD_OK) {
        DWORD value = 0;
        std::memcpy(&value, desc.lpSurface, sizeof value);
        const DWORD bits = desc.ddpfPixelFormat.dwRGBBitCount;
        result = bits >= 32 ? value : (value & ((1u << bits) - 1));
        surface->Unlock(nullptr);
    }
    if (painted && surface->GetDC(&dc) == DD_OK) {
        SetPixel(dc, 0, 0, saved);
        surface->ReleaseDC(dc);
    }
    return result;
}

HRESULT SetSourceColourKey(IDirectDrawSurface* surface, COLORREF colour) {
    DDCOLORKEY key;
    key.dwColorSpaceLowValue = MatchColour(surface, colour);
    key.dwColorSpaceHighValue = key.dwColorSpaceLowValue;
    return surface->SetColorKey(DDCKEY_SRCBLT, &key);
}
