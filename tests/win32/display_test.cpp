// The display against Wine's real DirectDraw in its virtual desktop: frames
// compared pixel by pixel with what the artwork and the clipping rules give,
// and failures injected into the real objects.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "animation/animation_state.h"
#include "display/display.h"
#include "fault.h"
#include "password/password.h"
#include "shared/shell_state.h"
#include "win32_test.h"

namespace {

struct Seen {
    std::vector<std::string> boxes;
    int cursorAtBox = -99, brushes = 0, started = 0, destroyed = 0;
    bool releasedAtBox = false;
} g_seen;

std::string DisplayMode() {
    DEVMODEA mode = {};
    mode.dmSize = sizeof mode;
    EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode);
    return std::to_string(mode.dmPelsWidth) + "x" + std::to_string(mode.dmPelsHeight);
}

// What the display takes from the system, recorded.
struct Stub {
    static DWORD WINAPI Now() { return 50000; }
    static int WINAPI Box(HWND, LPCWSTR text, LPCWSTR caption, UINT) {
        g_seen.boxes.push_back(Utf8(caption) + ": " + Utf8(text));
        g_seen.cursorAtBox = CursorCount();
        g_seen.releasedAtBox = g_Display.device == nullptr && DisplayMode() == "1024x768";
        return IDOK;
    }
    static HRESULT WINAPI NoDirectDraw(GUID*, LPDIRECTDRAW*, IUnknown*) { return DDERR_GENERIC; }
    static BOOL WINAPI Destroy(HWND) { return ++g_seen.destroyed, TRUE; }
    static HBRUSH WINAPI Brush(COLORREF colour) {
        return ++g_seen.brushes, CreateSolidBrush(colour);
    }
    static BOOL WINAPI Delete(HGDIOBJ object) { return --g_seen.brushes, DeleteObject(object); }
    static HRESULT WINAPI NoPictures(HWND, int, HANDLE, DWORD, LPWSTR) { return E_FAIL; }
};

// Hooks every method the tests make fail, once, through objects of the same
// kinds as the display's.
void InstallHooks() {
    static bool done = false;
    if (done) return;
    done = true;
    IDirectDraw* first = nullptr;
    IDirectDraw2* device = nullptr;
    SystemDirectDrawCreate(nullptr, &first, nullptr);
    first->QueryInterface(IID_IDirectDraw2, reinterpret_cast<void**>(&device));
    Install<DrawQuery>(first);
    Install<DrawCreateSurface, DrawMonitorFrequency, DrawCooperativeLevel, DrawDisplayMode>(device);
    device->SetCooperativeLevel(TestWindow(), DDSCL_NORMAL);
    DDSURFACEDESC desc = {};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    desc.dwWidth = desc.dwHeight = 8;
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
    IDirectDrawSurface* surface = nullptr;
    device->CreateSurface(&desc, &surface, nullptr);
    Install<SurfaceBlt, SurfaceBltFast, SurfaceFlip, SurfaceAttached, SurfaceGetDC, SurfaceRestore>(
        surface);
    PALETTEENTRY entries[256] = {};
    IDirectDrawPalette* palette = nullptr;
    device->CreatePalette(DDPCAPS_8BIT, entries, &palette, nullptr);
    Install<PaletteGetEntries>(palette);
    for (IUnknown* object : std::initializer_list<IUnknown*>{palette, surface, device, first})
        object->Release();
}

// The colour bits of a surface's pixels (a 32-bit one may hold alpha besides).
struct Pixels {
    int w = 0;
    std::vector<uint32_t> raw;
    uint32_t At(int x, int y) const { return raw[size_t(y) * w + x]; }
};
Pixels Read(IDirectDrawSurface* surface) {
    DDSURFACEDESC d = {};
    d.dwSize = sizeof d;
    Pixels p;
    if (surface->Lock(nullptr, &d, DDLOCK_WAIT | DDLOCK_READONLY, nullptr) != DD_OK) return p;
    const DDPIXELFORMAT& f = d.ddpfPixelFormat;
    const int bytes = int(f.dwRGBBitCount / 8);
    const uint32_t colour = bytes == 1 ? 0xFF : f.dwRBitMask | f.dwGBitMask | f.dwBBitMask;
    p.w = int(d.dwWidth);
    for (DWORD y = 0; y < d.dwHeight; ++y)
        for (int x = 0; x < p.w; ++x) {
            uint32_t v = 0;
            std::memcpy(&v, static_cast<BYTE*>(d.lpSurface) + y * d.lPitch + x * bytes, bytes);
            p.raw.push_back(v & colour);
        }
    surface->Unlock(nullptr);
    return p;
}

// A pixel of the artwork as the program carries it (24-bit rows, bottom-up),
// as a 32-bit surface holds it.
uint32_t Artwork(int x, int y) {
    const BYTE* dib = static_cast<const BYTE*>(
        LockResource(LoadResource(nullptr, FindResourceW(nullptr, L"FULLCOLOR", RT_BITMAP))));
    const BYTE* p = dib + 40 + size_t(899 - y) * 1352 + size_t(x) * 3;
    return p[2] << 16 | p[1] << 8 | p[0];
}

class Display : public ScratchRegistry {
  protected:
    void SetUp() override {
        ScratchRegistry::SetUp();
        InstallHooks();
        ResetHooks();
        g_seen = Seen{};
        g_Display = DisplayState{};
        DisplayHost& host = g_Display.host;
        host.messageBox = Stub::Box;
        host.destroyWindow = Stub::Destroy;
        host.tickCount = Stub::Now;
        host.createSolidBrush = Stub::Brush;
        host.deleteObject = Stub::Delete;
        host.seedPool = [](DWORD) { ++g_seen.started; };
        host.startMusic = [](HWND) { ++g_seen.started; };
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        snapshot_ = std::string(temp) + "tessary-test.bmp";
        snapshotWide_ = Wide(snapshot_);
        host.snapshotPath = snapshotWide_.c_str();
        DeleteFileA(snapshot_.c_str());
        g_Animation = AnimationState{};
        g_Animation.host.settings = &g_Display.settings;
        g_Animation.SceneState = 5;  // the page holds: nothing moves
        g_Shell = ShellState{};
    }
    void TearDown() override {
        ReleaseDisplay();
        ResetHooks();
        DeleteFileA(snapshot_.c_str());
        ScratchRegistry::TearDown();
    }
    int Start(int w, int h, int bits) {
        for (auto [index, value] :
             {std::pair{xScreenSize, w}, {yScreenSize, h}, {ColorDepth, bits}})
            g_Display.settings.Set(index, value);
        return InitDisplay(TestWindow());
    }
    // Brings the next object of `digit` into play at (x, y), showing `frame`.
    void Place(int x, int y, int digit, int frame) {
        const bool small = g_Display.settings[xScreenSize] == 320;
        while (next_ % 10 != digit) ++next_;
        DigitObject& o = g_Animation.ObjectPool[next_++];
        o = DigitObject{};
        o.inPlay = 1, o.x = x, o.y = y, o.frame = frame, o.frameCount = 17, o.sheetColumns = 9;
        o.cellWidth = small ? 25 : 50, o.cellHeight = small ? 22 : 45;
        o.sheetY = digit * (small ? 44 : 90);
    }
    std::string snapshot_;
    std::wstring snapshotWide_;
    int next_ = 0;
};

}  // namespace

TEST_F(Display, SetUpFailuresShowTheirCodeAfterEverythingIsGivenBack) {
    const struct {
        void (*fault)();
        int code;  // 0: set-up goes on
    } rows[] = {
        // clang-format off
        {[] { g_Display.host.directDrawCreate = Stub::NoDirectDraw; }, 1},
        {[] { DrawQuery::Script({E_NOINTERFACE}); }, 33},
        {[] { DrawCooperativeLevel::Script({DDERR_EXCLUSIVEMODEALREADYSET}); }, 22},
        {[] { DrawDisplayMode::Script({DDERR_INVALIDMODE}); }, 7},
        {[] { DrawCreateSurface::Script({DDERR_OUTOFVIDEOMEMORY}); }, 4},
        {[] { SurfaceAttached::Script({DDERR_NOTFOUND}); }, 5},
        {[] { DrawCreateSurface::Script({kReal, DDERR_OUTOFVIDEOMEMORY, DDERR_OUTOFMEMORY}); }, 6},
        {[] { DrawCreateSurface::Script({kReal, DDERR_OUTOFVIDEOMEMORY}); }, 0},  // system memory
        {[] { DrawMonitorFrequency::Script({DDERR_UNSUPPORTED}); }, 0},  // no refresh rate
        // clang-format on
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(&r - rows);
        TearDown();
        SetUp();
        r.fault();
        ShowCursor(FALSE);  // as the saver window hides it
        const int cursor = CursorCount();
        EXPECT_EQ(Start(640, 480, 8), r.code == 0);
        EXPECT_EQ(CursorCount(), cursor);
        ShowCursor(TRUE);
        EXPECT_EQ(DisplayMode(), r.code ? "1024x768" : "640x480");
        EXPECT_EQ(g_seen.started, r.code ? 0 : 2) << "the pool and the music follow a set-up only";
        if (r.code == 0) continue;
        EXPECT_EQ(g_seen.boxes, std::vector<std::string>{"DirectX Tessary: DirectDraw "
                                                         "Initializaition Failed!\nError Code is " +
                                                         std::to_string(r.code)});
        EXPECT_TRUE(g_seen.releasedAtBox) << "the desktop's mode is back before the box";
        EXPECT_GE(g_seen.cursorAtBox, 0) << "the box is answered with a cursor";
        EXPECT_EQ(g_seen.destroyed, 1);
        ReleaseDisplay();  // the window's own teardown comes again: harmless
    }
}

struct Mode {
    int w, h, bits;
};
class Frames : public Display, public testing::WithParamInterface<Mode> {};

TEST_P(Frames, ShowTheDigitsClippedAndColourKeyedAsTheSnapshotHasThem) {
    const int W = GetParam().w, H = GetParam().h, cw = W == 320 ? 25 : 50, ch = W == 320 ? 22 : 45;
    ASSERT_EQ(Start(W, H, GetParam().bits), 1);
    // The sheet holds the artwork: unchanged, or shrunk for a 320-wide screen
    // with every pixel one of its neighbours in the artwork, never a blend.
    const Pixels sheet = Read(g_Display.SpriteSheet);
    ASSERT_EQ(sheet.raw.size(), 450u * 900);
    int unlikeArtwork = 0;
    for (int y = 0; y < (W == 320 ? 440 : 900) && GetParam().bits == 32; ++y)
        for (int x = 0; x < (W == 320 ? 225 : 450); ++x) {
            bool found = W != 320 && sheet.At(x, y) == Artwork(x, y);
            for (int dy = -2; dy <= 2 && W == 320; ++dy)
                for (int dx = -1, ay = y * 900 / 440 + dy; dx <= 2 && ay >= 0 && ay < 900; ++dx)
                    found |= 2 * x + dx >= 0 && sheet.At(x, y) == Artwork(2 * x + dx, ay);
            unlikeArtwork += !found;
        }
    EXPECT_EQ(unlikeArtwork, 0);
    // Digits at every edge, overlapping, and over the frame-rate text.
    const int tx = W * 500 / 640, ty = H * 420 / 480;
    const int at[][4] = {{W - cw - 1, 60, 3, 0},
                         {W - cw, 120, 4, 9},
                         {W - cw + 10, 180, 5, 16},
                         {-10, 60, 6, 3},
                         {-cw, 120, 7, 1},
                         {W - 1, 180, 8, 2},
                         {60, -5, 9, 4},
                         {120, H - ch - 1, 0, 5},
                         {180, H - ch, 1, 6},
                         {240, H - 1, 2, 7},
                         {100, -ch, 3, 8},
                         {W / 3, H / 3, 3, 0},
                         {W / 3 + 9, H / 3 + 5, 5, 12},
                         {tx + 5, ty - ch / 2, 1, 0}};
    for (const auto& a : at) Place(a[0], a[1], a[2], a[3]);
    g_Display.settings.Set(FPS, 1);
    g_Shell.SnapshotRequested = 1;
    RenderFrame();
    EXPECT_EQ(g_Shell.SnapshotRequested, 0);
    // Every digit in pool order over black: each pixel of its cell but the
    // last column and row, on the screen short of its last column and row,
    // where the sheet is not black.
    std::vector<uint32_t> want(size_t(W) * H, 0);
    for (const DigitObject& o : g_Animation.ObjectPool)
        for (int y = std::max(0, o.y); o.inPlay && y <= std::min(o.y + ch - 2, H - 2); ++y)
            for (int x = std::max(0, o.x); x <= std::min(o.x + cw - 2, W - 2); ++x)
                if (const uint32_t v =
                        sheet.At(o.frame % 9 * cw + x - o.x, o.sheetY + o.frame / 9 * ch + y - o.y))
                    want[size_t(y) * W + x] = v;
    const Pixels screen = Read(g_Display.primary);
    const size_t row = (3 * W + 3) / 4 * 4;
    std::vector<BYTE> bmp(54 + row * H + 1);
    FILE* file = std::fopen(snapshot_.c_str(), "rb");
    ASSERT_NE(file, nullptr);
    bmp.resize(std::fread(bmp.data(), 1, bmp.size(), file));
    std::fclose(file);
    ASSERT_EQ(bmp.size(), 54 + row * H);
    HDC dc = nullptr;
    ASSERT_EQ(g_Display.primary->GetDC(&dc), DD_OK);
    int wrong = 0, text = 0, yellow = 0, unlikeSnapshot = 0;
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const uint32_t got = screen.At(x, y), expected = want[size_t(y) * W + x];
            const bool textArea = x >= tx && y >= ty && expected == 0;
            (textArea ? text : wrong) += textArea ? got != 0 : got != expected;
            const BYTE* p = &bmp[54 + (H - 1 - y) * row + 3 * x];
            const COLORREF shown = GetPixel(dc, x, y);
            unlikeSnapshot += RGB(p[2], p[1], p[0]) != shown;
            // Yellow, or on its edges a darker yellow where the text is smoothed.
            const int red = GetRValue(shown), green = GetGValue(shown);
            yellow += textArea && got && red && std::abs(red - green) < 16 && GetBValue(shown) < 16;
        }
    g_Display.primary->ReleaseDC(dc);
    EXPECT_EQ(wrong, 0) << "pixels unlike the sheet's cells";
    EXPECT_GT(text, 20) << "the frame-rate text";
    EXPECT_EQ(yellow, text) << "the text is yellow";
    EXPECT_EQ(unlikeSnapshot, 0);
}

INSTANTIATE_TEST_SUITE_P(Modes, Frames,
                         testing::Values(Mode{640, 480, 8}, Mode{640, 480, 16}, Mode{640, 480, 32},
                                         Mode{320, 240, 32}));

// One frame with the blitter busy, surfaces lost or calls failing: calls are
// repeated while busy, a lost surface is restored (and a restore that fails
// ends the frame), other failures are passed over.
TEST_F(Display, FramesRetryRestoreOrGoOnAsEachFailureAsks) {
    const HRESULT busy = DDERR_WASSTILLDRAWING, lost = DDERR_SURFACELOST, bad = DDERR_GENERIC;
    const struct {
        std::deque<HRESULT> fill, copy, flip, restore;
        int fills, copies, flips, restores;
    } rows[] = {
        {{busy, busy, busy}, {}, {}, {}, 4, 3, 1, 0},
        {{lost}, {}, {}, {}, 1, 3, 1, 3},
        {{bad}, {}, {}, {}, 1, 3, 1, 0},
        {{}, {busy, busy}, {}, {}, 1, 5, 1, 0},
        {{}, {lost}, {}, {}, 1, 3, 1, 3},
        {{}, {kReal, lost}, {}, {bad}, 1, 2, 0, 1},
        {{}, {bad, bad, bad}, {}, {}, 1, 3, 1, 0},
        {{}, {}, {busy, busy}, {}, 1, 3, 3, 0},
        {{}, {}, {lost}, {}, 1, 3, 1, 3},
        {{}, {}, {lost}, {bad}, 1, 3, 1, 1},
        {{}, {}, {bad}, {}, 1, 3, 1, 0},
    };
    ASSERT_EQ(Start(640, 480, 8), 1);
    for (int digit = 1; digit <= 3; ++digit) Place(100 * digit, 100, digit, 0);
    for (const auto& r : rows) {
        SurfaceBlt::Script(r.fill);
        SurfaceBltFast::Script(r.copy);
        SurfaceFlip::Script(r.flip);
        SurfaceRestore::Script(r.restore);
        RenderFrame();
        const int calls[] = {SurfaceBlt::calls, SurfaceBltFast::calls, SurfaceFlip::calls,
                             SurfaceRestore::calls};
        EXPECT_EQ(std::vector<int>(calls, calls + 4),
                  (std::vector<int>{r.fills, r.copies, r.flips, r.restores}))
            << "row " << &r - rows;
    }
    // A restored sheet gets the artwork back; one that stays lost does not.
    const Pixels artwork = Read(g_Display.SpriteSheet);
    for (HRESULT sheetRestore : {HRESULT(DD_OK), bad}) {
        DDBLTFX fx = {};
        fx.dwSize = sizeof fx;
        g_Display.SpriteSheet->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx);
        SurfaceFlip::Script({lost});
        SurfaceRestore::Script({DD_OK, sheetRestore});
        RenderFrame();
        EXPECT_EQ(Read(g_Display.SpriteSheet).raw == artwork.raw, sheetRestore == DD_OK);
    }
}

// A display change under the running show: the saver asks for its own mode
// again, only while its frames run, and only a few times a run.
TEST_F(Display, KeepsItsModeWhenTheDisplayChangesUnderIt) {
    ASSERT_EQ(Start(640, 480, 8), 1);
    auto mode = [] {
        DEVMODEA m = {};
        EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, (m.dmSize = sizeof m, &m));
        return std::to_string(m.dmPelsWidth) + "x" + std::to_string(m.dmPelsHeight);
    };
    const struct {
        int active, changed, asked;  // changed: the desktop's mode is set under the saver first
        const char* after;
    } rows[] = {
        {1, false, 0, "640x480"}, {0, true, 0, "1024x768"}, {1, true, 1, "640x480"},
        {1, true, 1, "640x480"},  {1, true, 1, "640x480"},  {1, true, 0, "1024x768"},
    };
    for (const auto& r : rows) {
        g_Shell.WindowActive = r.active;
        DEVMODEA desktop = {};
        desktop.dmSize = sizeof desktop, desktop.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
        desktop.dmPelsWidth = 1024, desktop.dmPelsHeight = 768;
        if (r.changed) ChangeDisplaySettingsExA(nullptr, &desktop, nullptr, 0, nullptr);
        EXPECT_EQ(KeepDisplayMode(), r.asked) << &r - rows;
        EXPECT_EQ(mode(), r.after) << &r - rows;
    }
}

// The palette is lent to Windows' password dialog and taken back; frames
// resume only when the saver is the active program.
TEST_F(Display, PaletteIsLentAndReclaimedAroundThePasswordDialog) {
    ASSERT_EQ(Start(640, 480, 8), 1);
    g_Display.SystemPaletteCount = 16;
    for (int i = 0; i < 16; ++i)
        g_Display.SystemPalette[i] = {BYTE(i), BYTE(2 * i), BYTE(3 * i), 0};
    auto entry = [](PALETTEENTRY* saved, int i) {
        PALETTEENTRY e[256] = {};
        if (!saved) g_Display.palette->GetEntries(0, 0, 256, saved = e);
        return RGB(saved[i].peRed, saved[i].peGreen, saved[i].peBlue);
    };
    const struct {
        std::deque<HRESULT> read;
        int appActive, lent;
    } rows[] = {{{}, 1, 1}, {{}, 0, 1}, {{DDERR_GENERIC}, 1, 0}};
    for (const auto& r : rows) {
        g_Shell.WindowActive = 1;
        g_Shell.AppActive = r.appActive;
        PaletteGetEntries::Script(r.read);
        PALETTEENTRY saved[256] = {};
        EXPECT_EQ(LendPaletteToSystem(saved), r.lent);
        EXPECT_EQ(g_Shell.WindowActive, 0);
        EXPECT_EQ(entry(nullptr, 15), r.lent ? RGB(15, 30, 45) : RGB(0, 109, 255));
        EXPECT_EQ(entry(saved, 0xE0), r.lent ? RGB(255, 0, 0) : 0u);
        ReclaimPalette(saved, r.lent);
        EXPECT_EQ(entry(nullptr, 15), RGB(0, 109, 255)) << "the saver's own entry 15 again";
        EXPECT_EQ(g_Shell.WindowActive, r.appActive);
    }
    // Without a password library the saver may close; the dialog's bracket
    // leaves the cursor and the frames as it found them.
    const int cursor = CursorCount();
    EXPECT_EQ(VerifySaverPassword(TestWindow()), 1);
    EXPECT_EQ(CursorCount(), cursor);
    EXPECT_EQ(g_Shell.PasswordDialogUp, 0);
    EXPECT_EQ(g_Shell.WindowActive, 1);
}

TEST_F(Display, BackgroundLiveSettingAndSnapshotsInTheirCornerCases) {
    ASSERT_EQ(Start(640, 480, 32), 1);
    Place(100, 100, 1, 0);
    // A coloured background is painted through GDI with one brush a frame,
    // deleted again, whatever the high byte of the stored colour.
    PutDword("BlackBack", 0);
    g_Display.settings.Set(BackgroundColor, 0x051EC80A);
    for (int i = 0; i < 3; ++i) RenderFrame();
    EXPECT_EQ(g_seen.brushes, 0) << "brushes left undeleted";
    // BlackBack is read on every frame: a change in the registry, a value or a
    // key deleted shows on the very next frame; frames keep no handle open.
    const std::pair<void (*)(), uint32_t> steps[] = {
        {[] {}, 0x0AC81E},
        {[] { PutDword("BlackBack", 1); }, 0},
        {[] { PutDword("BlackBack", 0); }, 0x0AC81E},
        {[] { RegDeleteKeyValueA(HKEY_CURRENT_USER, kSettings, "BlackBack"); }, 0},
        {[] { PutDword("BlackBack", 0); }, 0x0AC81E},
        {[] { RegDeleteTreeA(HKEY_CURRENT_USER, "Software"); }, 0},
        {[] {
             HKEY key = nullptr;
             EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, kSettings, 0, KEY_READ, &key), 0)
                 << "the frames made no key";
         },
         0},
        {[] { PutDword("BlackBack", 0); }, 0x0AC81E}};
    for (const auto& [change, corner] : steps) {
        change();
        RenderFrame();
        EXPECT_EQ(Read(g_Display.primary).At(639, 479), corner) << &change - &steps[0].first;
    }
    auto handles = [] {
        DWORD flags = 0, count = 0;  // Wine's GetProcessHandleCount answers 0
        for (ULONG_PTR h = 4; h < 0x10000; h += 4) count += GetHandleInformation(HANDLE(h), &flags);
        return count;
    };
    const DWORD before = handles();
    for (int i = 0; i < 200; ++i) RenderFrame();
    EXPECT_EQ(handles(), before);
    // A snapshot that can be written neither into the current folder (a
    // folder stands in the file's place) nor into Pictures (there is none),
    // or a back buffer without a device context, writes nothing; the request
    // is cleared and the frame shown. Pictures itself is the end-to-end
    // test's, with a real folder.
    PutDword("BlackBack", 1);
    const std::string folder = snapshot_ + ".d";
    const std::wstring folderWide = Wide(folder);
    CreateDirectoryA(folder.c_str(), nullptr);
    g_Display.host.snapshotPath = folderWide.c_str();
    g_Display.host.picturesFolder = Stub::NoPictures;
    for (HRESULT getDC : {kReal, DDERR_GENERIC}) {
        SurfaceGetDC::Script({getDC});
        SurfaceFlip::Script();
        g_Shell.SnapshotRequested = 1;
        RenderFrame();
        EXPECT_TRUE(g_Shell.SnapshotRequested == 0 && SurfaceFlip::calls == 1);
        EXPECT_EQ(GetFileAttributesA(folder.c_str()), DWORD(FILE_ATTRIBUTE_DIRECTORY));
    }
    RemoveDirectoryA(folder.c_str());
}
