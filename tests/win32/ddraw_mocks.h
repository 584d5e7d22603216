// GoogleMock stand-ins for the DirectDraw interfaces the display uses, a
// memory canvas that a mock surface can hand out as its device context, and
// a fixture that points the display's host seams at recorders and gives each
// test fresh process-wide state.
#pragma once

#include <ddraw.h>
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "animation/animation_state.h"
#include "animation/random_source.h"
#include "display/display.h"
#include "shell/shell_state.h"

#define TESSARY_COM(...) (override, Calltype(STDMETHODCALLTYPE))

class MockDirectDraw : public IDirectDraw {
  public:
    MOCK_METHOD(HRESULT, QueryInterface, (REFIID, void**), TESSARY_COM());
    MOCK_METHOD(ULONG, AddRef, (), TESSARY_COM());
    MOCK_METHOD(ULONG, Release, (), TESSARY_COM());
    MOCK_METHOD(HRESULT, Compact, (), TESSARY_COM());
    MOCK_METHOD(HRESULT, CreateClipper, (DWORD, LPDIRECTDRAWCLIPPER*, IUnknown*), TESSARY_COM());
    MOCK_METHOD(HRESULT, CreatePalette, (DWORD, LPPALETTEENTRY, LPDIRECTDRAWPALETTE*, IUnknown*),
                TESSARY_COM());
    MOCK_METHOD(HRESULT, CreateSurface, (LPDDSURFACEDESC, LPDIRECTDRAWSURFACE*, IUnknown*),
                TESSARY_COM());
    MOCK_METHOD(HRESULT, DuplicateSurface, (LPDIRECTDRAWSURFACE, LPDIRECTDRAWSURFACE*),
                TESSARY_COM());
    MOCK_METHOD(HRESULT, EnumDisplayModes, (DWORD, LPDDSURFACEDESC, LPVOID, LPDDENUMMODESCALLBACK),
                TESSARY_COM());
    MOCK_METHOD(HRESULT, EnumSurfaces, (DWORD, LPDDSURFACEDESC, LPVOID, LPDDENUMSURFACESCALLBACK),
                TESSARY_COM());
    MOCK_METHOD(HRESULT, FlipToGDISurface, (), TESSARY_COM());
    MOCK_METHOD(HRESULT, GetCaps, (LPDDCAPS, LPDDCAPS), TESSARY_COM());
    MOCK_METHOD(HRESULT, GetDisplayMode, (LPDDSURFACEDESC), TESSARY_COM());
    MOCK_METHOD(HRESULT, GetFourCCCodes, (LPDWORD, LPDWORD), TESSARY_COM());
    MOCK_METHOD(HRESULT, GetGDISurface, (LPDIRECTDRAWSURFACE*), TESSARY_COM());
    MOCK_METHOD(HRESULT, GetMonitorFrequency, (LPDWORD), TESSARY_COM());
    MOCK_METHOD(HRESULT, GetScanLine, (LPDWORD), TESSARY_COM());
    MOCK_METHOD(HRESULT, GetVerticalBlankStatus, (WINBOOL*), TESSARY_COM());
    MOCK_METHOD(HRESULT, Initialize, (GUID*), TESSARY_COM());
    MOCK_METHOD(HRESULT, RestoreDisplayMode, (), TESSARY_COM());
    MOCK_METHOD(HRESULT, SetCooperativeLevel, (HWND, DWORD), TESSARY_COM());
    MOCK_METHOD(HRESULT, SetDisplayMode, (DWORD, DWORD, DWORD), TESSARY_COM());
    MOCK_METHOD(HRESULT, WaitForVerticalBlank, (DWORD, HANDLE), TESSARY_COM());
};

class MockDirectDraw2 : public IDirectDraw2 {
  public:
    MOCK_METHOD(HRESULT, QueryInterface, (REFIID, void**), TESSARY_COM());
    MOCK_METHOD(ULONG, AddRef, (), TESSARY_COM());
    MOCK_METHOD(ULONG, Release, (), TESSARY_COM());
    MOCK_METHOD(HRESULT, Compact, (), TESSARY_COM());
    MOCK_METHOD(HRESULT, CreateClipper, (DWORD, LPDIRECTDRAWCLIPPER*, IUnknown*), TESSARY_COM());
    MOCK_METHOD(HRESULT, CreatePalette, (DWORD, LPPALETTEENTRY, LPDIRECTDRAWPALETTE*, IUnknown*),
                TESSARY_COM());
    MOCK_METHOD(HRESULT, CreateSurface, (LPDDSURFACEDESC, LPDIRECTDRAWSURFACE*, IUnknown*),
                TESSARY_COM());
    MOCK_METHOD(HRESULT, DuplicateSurface, (LPDIRECTDRAWSURFACE, LPDIRECTDRAWSURFACE*),
                TESSARY_COM());
    MOCK_METHOD(HRESULT, EnumDisplayModes, (DWORD, LPDDSURFACEDESC, LPVOID, LPDDENUMMODESCALLBACK),
                TESSARY_COM());
    MOCK_METHOD(HRESULT, EnumSurfaces, (DWORD, LPDDSURFACEDESC, LPVOID, LPDDENUMSURFACESCALLBACK),
                TESSARY_COM());
    MOCK_METHOD(HRESULT, FlipToGDISurface, (), TESSARY_COM());
    MOCK_METHOD(HRESULT, GetCaps, (LPDDCAPS, LPDDCAPS), TESSARY_COM());
    MOCK_METHOD(HRESULT, GetDisplayMode, (LPDDSURFACEDESC), TESSARY_COM());
    MOCK_METHOD(HRESULT, GetFourCCCodes, (LPDWORD, LPDWORD), TESSARY_COM());
    MOCK_METHOD(HRESULT, GetGDISurface, (LPDIRECTDRAWSURFACE*), TESSARY_COM());
    MOCK_METHOD(HRESULT, GetMonitorFrequency, (LPDWORD), TESSARY_COM());
    MOCK_METHOD(HRESULT, GetScanLine, (LPDWORD), TESSARY_COM());
    MOCK_METHOD(HRESULT, GetVerticalBlankStatus, (WINBOOL*), TESSARY_COM());
    MOCK_METHOD(HRESULT, Initialize, (GUID*), TESSARY_COM());
    MOCK_METHOD(HRESULT, RestoreDisplayMode, (), TESSARY_COM());
    MOCK_METHOD(HRESULT, SetCooperativeLevel, (HWND, DWORD), TESSARY_COM());
    MOCK_METHOD(HRESULT, SetDisplayMode, (DWORD, DWORD, DWORD, DWORD, DWORD), TESSARY_COM());
    MOCK_METHOD(HRESULT, WaitForVerticalBlank, (DWORD, HANDLE), TESSARY_COM());
    MOCK_METHOD(HRESULT, GetAvailableVidMem, (LPDDSCAPS, LPDWORD, LPDWORD), TESSARY_COM());
};

class MockSurface : public IDirectDrawSurface {
  public:
    MOCK_METHOD(HRESULT, QueryInterface, (REFIID, void**), TESSARY_COM());
    MOCK_METHOD(ULONG, AddRef, (), TESSARY_COM());
    MOCK_METHOD(ULONG, Release, (), TESSARY_COM());
    MOCK_METHOD(HRESULT, AddAttachedSurface, (LPDIRECTDRAWSURFACE), TESSARY_COM());
    MOCK_METHOD(HRESULT, AddOverlayDirtyRect, (LPRECT), TESSARY_COM());
    MOCK_METHOD(HRESULT, Blt, (LPRECT, LPDIRECTDRAWSURFACE, LPRECT, DWORD, LPDDBLTFX),
                TESSARY_COM());
    MOCK_METHOD(HRESULT, BltBatch, (LPDDBLTBATCH, DWORD, DWORD), TESSARY_COM());
    MOCK_METHOD(HRESULT, BltFast, (DWORD, DWORD, LPDIRECTDRAWSURFACE, LPRECT, DWORD),
                TESSARY_COM());
    MOCK_METHOD(HRESULT, DeleteAttachedSurface, (DWORD, LPDIRECTDRAWSURFACE), TESSARY_COM());
    MOCK_METHOD(HRESULT, EnumAttachedSurfaces, (LPVOID, LPDDENUMSURFACESCALLBACK), TESSARY_COM());
    MOCK_METHOD(HRESULT, EnumOverlayZOrders, (DWORD, LPVOID, LPDDENUMSURFACESCALLBACK),
                TESSARY_COM());
    MOCK_METHOD(HRESULT, Flip, (LPDIRECTDRAWSURFACE, DWORD), TESSARY_COM());
    MOCK_METHOD(HRESULT, GetAttachedSurface, (LPDDSCAPS, LPDIRECTDRAWSURFACE*), TESSARY_COM());
    MOCK_METHOD(HRESULT, GetBltStatus, (DWORD), TESSARY_COM());
    MOCK_METHOD(HRESULT, GetCaps, (LPDDSCAPS), TESSARY_COM());
    MOCK_METHOD(HRESULT, GetClipper, (LPDIRECTDRAWCLIPPER*), TESSARY_COM());
    MOCK_METHOD(HRESULT, GetColorKey, (DWORD, LPDDCOLORKEY), TESSARY_COM());
    MOCK_METHOD(HRESULT, GetDC, (HDC*), TESSARY_COM());
    MOCK_METHOD(HRESULT, GetFlipStatus, (DWORD), TESSARY_COM());
    MOCK_METHOD(HRESULT, GetOverlayPosition, (LPLONG, LPLONG), TESSARY_COM());
    MOCK_METHOD(HRESULT, GetPalette, (LPDIRECTDRAWPALETTE*), TESSARY_COM());
    MOCK_METHOD(HRESULT, GetPixelFormat, (LPDDPIXELFORMAT), TESSARY_COM());
    MOCK_METHOD(HRESULT, GetSurfaceDesc, (LPDDSURFACEDESC), TESSARY_COM());
    MOCK_METHOD(HRESULT, Initialize, (LPDIRECTDRAW, LPDDSURFACEDESC), TESSARY_COM());
    MOCK_METHOD(HRESULT, IsLost, (), TESSARY_COM());
    MOCK_METHOD(HRESULT, Lock, (LPRECT, LPDDSURFACEDESC, DWORD, HANDLE), TESSARY_COM());
    MOCK_METHOD(HRESULT, ReleaseDC, (HDC), TESSARY_COM());
    MOCK_METHOD(HRESULT, Restore, (), TESSARY_COM());
    MOCK_METHOD(HRESULT, SetClipper, (LPDIRECTDRAWCLIPPER), TESSARY_COM());
    MOCK_METHOD(HRESULT, SetColorKey, (DWORD, LPDDCOLORKEY), TESSARY_COM());
    MOCK_METHOD(HRESULT, SetOverlayPosition, (LONG, LONG), TESSARY_COM());
    MOCK_METHOD(HRESULT, SetPalette, (LPDIRECTDRAWPALETTE), TESSARY_COM());
    MOCK_METHOD(HRESULT, Unlock, (LPVOID), TESSARY_COM());
    MOCK_METHOD(HRESULT, UpdateOverlay, (LPRECT, LPDIRECTDRAWSURFACE, LPRECT, DWORD, LPDDOVERLAYFX),
                TESSARY_COM());
    MOCK_METHOD(HRESULT, UpdateOverlayDisplay, (DWORD), TESSARY_COM());
    MOCK_METHOD(HRESULT, UpdateOverlayZOrder, (DWORD, LPDIRECTDRAWSURFACE), TESSARY_COM());
};

class MockPalette : public IDirectDrawPalette {
  public:
    MOCK_METHOD(HRESULT, QueryInterface, (REFIID, void**), TESSARY_COM());
    MOCK_METHOD(ULONG, AddRef, (), TESSARY_COM());
    MOCK_METHOD(ULONG, Release, (), TESSARY_COM());
    MOCK_METHOD(HRESULT, GetCaps, (LPDWORD), TESSARY_COM());
    MOCK_METHOD(HRESULT, GetEntries, (DWORD, DWORD, DWORD, LPPALETTEENTRY), TESSARY_COM());
    MOCK_METHOD(HRESULT, Initialize, (LPDIRECTDRAW, DWORD, LPPALETTEENTRY), TESSARY_COM());
    MOCK_METHOD(HRESULT, SetEntries, (DWORD, DWORD, DWORD, LPPALETTEENTRY), TESSARY_COM());
};

#undef TESSARY_COM

// A 32-bit top-down DIB selected into a memory device context: what a mock
// surface's GetDC hands out when a test needs real pixels.
class DibCanvas {
  public:
    DibCanvas(int width, int height, COLORREF fill = RGB(0, 0, 0))
        : width_(width), height_(height) {
        BITMAPINFO info;
        ZeroMemory(&info, sizeof info);
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc_ = CreateCompatibleDC(nullptr);
        void* bits = nullptr;
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        bits_ = static_cast<uint32_t*>(bits);
        previous_ = SelectObject(dc_, bitmap_);
        Fill(fill);
    }
    ~DibCanvas() {
        SelectObject(dc_, previous_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    DibCanvas(const DibCanvas&) = delete;
    DibCanvas& operator=(const DibCanvas&) = delete;

    bool Valid() const { return bits_ != nullptr; }
    HDC dc() const { return dc_; }
    int width() const { return width_; }
    int height() const { return height_; }

    void Fill(COLORREF colour) {
        GdiFlush();
        for (int i = 0; i < width_ * height_; ++i) bits_[i] = Raw(colour);
    }
    void Set(int x, int y, COLORREF colour) {
        GdiFlush();
        bits_[y * width_ + x] = Raw(colour);
    }
    COLORREF At(int x, int y) const {
        GdiFlush();
        const uint32_t p = bits_[y * width_ + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }

  private:
    static uint32_t Raw(COLORREF c) {
        return (uint32_t{GetRValue(c)} << 16) | (uint32_t{GetGValue(c)} << 8) | GetBValue(c);
    }

    int width_, height_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    uint32_t* bits_ = nullptr;
};

// GetDC handing out the canvas's device context.
inline auto GiveDc(const DibCanvas& canvas) {
    return ::testing::DoAll(::testing::SetArgPointee<0>(canvas.dc()), ::testing::Return(DD_OK));
}

// A DDSURFACEDESC equal byte for byte to `expected`.
MATCHER_P(SameDesc, expected, "") {
    return arg != nullptr && std::memcmp(arg, &expected, sizeof expected) == 0;
}

// A DDSURFACEDESC cleared to zero with its size and the given fields.
inline DDSURFACEDESC Desc(DWORD flags, DWORD caps, DWORD width = 0, DWORD height = 0,
                          DWORD backBuffers = 0) {
    DDSURFACEDESC d;
    ZeroMemory(&d, sizeof d);
    d.dwSize = sizeof d;
    d.dwFlags = flags;
    d.ddsCaps.dwCaps = caps;
    d.dwWidth = width;
    d.dwHeight = height;
    d.dwBackBufferCount = backBuffers;
    return d;
}

// Mock functions behind the display's host seams.
struct HostRecorders {
    ::testing::NiceMock<::testing::MockFunction<HRESULT(GUID*, LPDIRECTDRAW*, IUnknown*)>>
        directDrawCreate;
    ::testing::NiceMock<::testing::MockFunction<int(HWND, std::string, std::string, UINT)>>
        messageBox;
    ::testing::NiceMock<::testing::MockFunction<BOOL(HWND)>> destroyWindow;
    ::testing::NiceMock<::testing::MockFunction<void(DWORD)>> seedPool;
    ::testing::NiceMock<::testing::MockFunction<void(HWND)>> startMusic;
    DWORD tick = 1000;
    int tickReads = 0;
};

inline HostRecorders* g_HostRecorders = nullptr;

inline HRESULT WINAPI RecordedDirectDrawCreate(GUID* guid, LPDIRECTDRAW* out, IUnknown* outer) {
    return g_HostRecorders->directDrawCreate.Call(guid, out, outer);
}
inline int WINAPI RecordedMessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    return g_HostRecorders->messageBox.Call(owner, text ? text : "", caption ? caption : "", type);
}
inline BOOL WINAPI RecordedDestroyWindow(HWND window) {
    return g_HostRecorders->destroyWindow.Call(window);
}
inline DWORD WINAPI RecordedTickCount() {
    ++g_HostRecorders->tickReads;
    return g_HostRecorders->tick;
}

// Mocks for every display object, host seams pointed at recorders, and the
// process-wide display, shell, animation and random state made fresh before
// and after each test.
class DisplayFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetProcessState();
        g_HostRecorders = &host;
        DisplayHost& seams = g_Display.host;
        seams.directDrawCreate = RecordedDirectDrawCreate;
        seams.messageBox = RecordedMessageBox;
        seams.destroyWindow = RecordedDestroyWindow;
        seams.tickCount = RecordedTickCount;
        seams.readBlackBack = [this] { return blackBack; };
        seams.seedPool = [this](DWORD now) { host.seedPool.Call(now); };
        seams.startMusic = [this](HWND w) { host.startMusic.Call(w); };
        // The window procedure's destroy handling releases the display again.
        ON_CALL(host.destroyWindow, Call).WillByDefault([](HWND) {
            ReleaseDisplay();
            return TRUE;
        });
        for (MockSurface* s : {&primary, &backBuffer, &sheet}) {
            ON_CALL(*s, GetDC).WillByDefault(::testing::Return(DDERR_CANTCREATEDC));
            ON_CALL(*s, Lock).WillByDefault(::testing::Return(DDERR_SURFACEBUSY));
        }
    }

    void TearDown() override {
        ResetProcessState();
        g_HostRecorders = nullptr;
    }

    static void ResetProcessState() {
        g_Display = DisplayState{};
        g_Shell = ShellState{};
        g_Animation = AnimationState{};
        g_Random = RandomSource{};
    }

    // The display as a successful set-up leaves it.
    void InstallRunningDisplay() {
        g_Display.device = &device;
        g_Display.primary = &primary;
        g_Display.backBuffer = &backBuffer;
        g_Display.SpriteSheet = &sheet;
        g_Display.palette = &palette;
    }

    HostRecorders host;
    int blackBack = 1;
    const HWND window = reinterpret_cast<HWND>(static_cast<uintptr_t>(0x5A5A0));
    ::testing::NiceMock<MockDirectDraw> ddraw1;
    ::testing::NiceMock<MockDirectDraw2> device;
    ::testing::NiceMock<MockSurface> primary, backBuffer, sheet;
    ::testing::NiceMock<MockPalette> palette;
};
