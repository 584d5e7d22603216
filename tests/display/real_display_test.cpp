// The display against Wine's own DirectDraw, inside a virtual desktop: each
// test takes the screen in one mode, places digit objects where it wants
// them, renders one frame with a snapshot requested and compares the
// snapshot file with the picture the frame should show.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "animation/animation_state.h"
#include "display/display.h"
#include "pixel_replica.h"
#include "shell/shell_state.h"
#include "snapshot_file.h"
#include "test_window.h"

namespace {

// Every frame of a test sees the same tick count, so motion and the
// frame-rate measurement stay where the test put them.
constexpr DWORD kNow = 50000;
DWORD WINAPI FixedTicks() {
    return kNow;
}

const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kYellow = RGB(255, 255, 0);
// The test cell painted into the sprite sheet: green inside, red in the
// cell's last column and last row, which must never reach the screen.
const COLORREF kCellInside = RGB(0, 255, 0);
const COLORREF kCellEdge = RGB(255, 0, 0);
// A colour the 3-3-2 ramp holds exactly.
const COLORREF kBackground = RGB(36, 72, 170);

struct Mode {
    int width, height, depth;
};

std::string ModeName(const Mode& m) {
    return std::to_string(m.width) + "x" + std::to_string(m.height) + "x" + std::to_string(m.depth);
}

std::string Hex(COLORREF c) {
    char text[16];
    std::snprintf(text, sizeof text, "%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
    return text;
}

// Snapshots go to a private folder in the temp directory, removed at the end,
// or to TESSARY_SNAPSHOT_DIR when that is set, where they are kept.
class SnapshotFolder : public ::testing::Environment {
  public:
    static const std::string& Path() { return path_; }
    static bool Keep() { return keep_; }

    void SetUp() override {
        char kept[MAX_PATH];
        if (GetEnvironmentVariableA("TESSARY_SNAPSHOT_DIR", kept, sizeof kept) > 0) {
            path_ = kept;
            keep_ = true;
        } else {
            char temp[MAX_PATH];
            GetTempPathA(sizeof temp, temp);
            path_ = std::string(temp) + "tessary-display-" + std::to_string(GetCurrentProcessId());
        }
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    void TearDown() override {
        if (!keep_) RemoveDirectoryA(path_.c_str());
    }

  private:
    static std::string path_;
    static bool keep_;
};
std::string SnapshotFolder::path_;
bool SnapshotFolder::keep_ = false;
const auto* const kSnapshotFolder = ::testing::AddGlobalTestEnvironment(new SnapshotFolder);

void Discard(const std::string& path) {
    if (!SnapshotFolder::Keep()) {
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path.c_str());
    }
}

// The failure report's message box and window destruction, recorded.
std::vector<std::string> g_messages;
std::vector<std::string> g_captions;
std::vector<HWND> g_destroyed;
int WINAPI RecordMessageBox(HWND, LPCSTR text, LPCSTR caption, UINT) {
    g_messages.push_back(text);
    g_captions.push_back(caption);
    return IDOK;
}
BOOL WINAPI RecordDestroyWindow(HWND window) {
    g_destroyed.push_back(window);
    return TRUE;
}

// One digit object of a scene. kTestCell stands for the painted cell: frame
// 17 of digit 0, the sheet's otherwise empty eighteenth cell.
constexpr int kTestCell = -1;
struct Placement {
    int digit, frame, x, y;
    int inPlay = 1;
};

// What a frame shows besides its digits.
struct Expectation {
    COLORREF background = kBlack;
    const Picture* text = nullptr;
    int textX = 0, textY = 0;
};

::testing::AssertionResult SamePicture(const Picture& expected, const Picture& actual) {
    if (expected.width != actual.width || expected.height != actual.height)
        return ::testing::AssertionFailure() << "sizes differ";
    int wrong = 0;
    std::string listed;
    for (int y = 0; y < expected.height; ++y)
        for (int x = 0; x < expected.width; ++x)
            if (expected.At(x, y) != actual.At(x, y) && ++wrong <= 12)
                listed += "\n  (" + std::to_string(x) + ", " + std::to_string(y) + ") expected " +
                          Hex(expected.At(x, y)) + " got " + Hex(actual.At(x, y));
    if (wrong == 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << wrong << " pixels differ, first:" << listed;
}

int CountColour(const Picture& p, COLORREF colour, const RECT& area) {
    int n = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) n += p.At(x, y) == colour;
    return n;
}

class RealDisplay : public ::testing::Test {
  protected:
    void TearDown() override {
        ReleaseDisplay();
        PumpMessages();
        if (g_Shell.OverlayFont != nullptr) DeleteObject(g_Shell.OverlayFont);
        g_Shell.OverlayFont = nullptr;
        g_Shell.SnapshotRequested = 0;
        g_Animation.host.settings = &g_Settings;
        g_Display.host = DisplayHost();
    }

    // Takes the screen in `mode` with no digit in play; the result of InitDisplay.
    int Open(const Mode& mode) {
        mode_ = mode;
        cellWidth_ = mode.width == 320 ? 25 : 50;
        cellHeight_ = mode.width == 320 ? 22 : 45;
        bandHeight_ = mode.width == 320 ? 44 : 90;

        g_Display = DisplayState();
        Settings settings;
        settings.Set(xScreenSize, mode.width);
        settings.Set(yScreenSize, mode.height);
        settings.Set(ColorDepth, mode.depth);
        settings.Set(FPS, 0);
        settings.Set(BackgroundColor, 0);
        g_Display.settings = settings;
        g_Display.host.tickCount = FixedTicks;
        g_Display.host.readBlackBack = [this] { return blackBack_; };
        g_Display.host.messageBox = RecordMessageBox;
        g_Display.host.destroyWindow = RecordDestroyWindow;
        g_Display.frames.measureStart = kNow;  // a measurement is running
        g_messages.clear();
        g_captions.clear();
        g_destroyed.clear();

        g_Animation.ObjectPool = {};
        g_Animation.SceneState = 5;  // pages held: objects stay put
        animationSettings_ = settings;
        g_Animation.host.settings = &animationSettings_;
        g_Shell.SnapshotRequested = 0;

        const int ready = InitDisplay(TestWindow());
        PumpMessages();
        if (ready) {
            DDSURFACEDESC desc;
            ZeroMemory(&desc, sizeof desc);
            desc.dwSize = sizeof desc;
            g_Display.primary->GetSurfaceDesc(&desc);
            format_.bits = static_cast<int>(desc.ddpfPixelFormat.dwRGBBitCount);
            format_.redMask = desc.ddpfPixelFormat.dwRBitMask;
            format_.greenMask = desc.ddpfPixelFormat.dwGBitMask;
            format_.blueMask = desc.ddpfPixelFormat.dwBBitMask;
        }
        return ready;
    }

    // The overlay font as the saver makes it for this screen width.
    void MakeOverlayFont() {
        g_Shell.OverlayFont =
            CreateFontA(mode_.width * 18 / 640, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                        SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                        NONANTIALIASED_QUALITY, VARIABLE_PITCH, "ＭＳ ゴシック");
    }

    // Paints the test cell into the sprite sheet and into `sheet`.
    void PaintTestCell(Picture& sheet) {
        const int w = cellWidth_, h = cellHeight_;
        const RECT cell = {8 * w, h, 9 * w, 2 * h};
        const RECT inside = {8 * w, h, 9 * w - 1, 2 * h - 1};
        HDC dc = nullptr;
        ASSERT_EQ(g_Display.SpriteSheet->GetDC(&dc), DD_OK);
        HBRUSH edge = CreateSolidBrush(kCellEdge), fill = CreateSolidBrush(kCellInside);
        FillRect(dc, &cell, edge);
        FillRect(dc, &inside, fill);
        g_Display.SpriteSheet->ReleaseDC(dc);
        DeleteObject(edge);
        DeleteObject(fill);

        const COLORREF edgeColour = FilledColour(format_, kCellEdge);
        const COLORREF insideColour = FilledColour(format_, kCellInside);
        for (int y = cell.top; y < cell.bottom; ++y)
            for (int x = cell.left; x < cell.right; ++x) {
                const bool isInside = x < inside.right && y < inside.bottom;
                sheet.At(x, y) = isInside ? insideColour : edgeColour;
                sheet.clear[size_t(y) * sheet.width + x] = 0;
            }
    }

    // The sheet as it should be: the artwork (shrunk on a 320-wide screen)
    // and the test cell.
    Picture ExpectedSheet() {
        Picture sheet =
            mode_.width == 320 ? ReplicaSheet(format_, 225, 440) : ReplicaSheet(format_, 450, 900);
        EXPECT_EQ(sheet.width, 450) << "the FULLCOLOR resource did not load";
        if (sheet.width == 450) PaintTestCell(sheet);
        return sheet;
    }

    DigitObject ObjectFor(const Placement& p) const {
        DigitObject o = {};
        o.inPlay = p.inPlay;
        o.digit = p.digit == kTestCell ? 0 : p.digit;
        o.x = p.x;
        o.y = p.y;
        o.frame = p.frame;
        o.frameCount = 17;
        o.cellWidth = cellWidth_;
        o.cellHeight = cellHeight_;
        o.sheetColumns = 9;
        o.sheetY = o.digit * bandHeight_;
        o.rotating = 0;
        o.lastMoveTime = kNow;
        o.lastFrameTime = kNow;
        return o;
    }

    void Place(const std::vector<Placement>& scene) {
        g_Animation.ObjectPool = {};
        for (size_t i = 0; i < scene.size(); ++i) g_Animation.ObjectPool[i] = ObjectFor(scene[i]);
    }

    // The picture a frame should show: the background, the frame-rate text,
    // then each object in play in pool order. Cell pixel (cx, cy) lands on
    // (x + cx, y + cy) when it is not in the cell's last column or row, is not
    // the colour key, and lands on the screen short of its last column and row.
    Picture Expected(const std::vector<Placement>& scene, const Picture& sheet,
                     const Expectation& e) const {
        const int W = mode_.width, H = mode_.height, w = cellWidth_, h = cellHeight_;
        Picture screen(W, H, FilledColour(format_, e.background));
        if (e.text != nullptr)
            for (int y = 0; y < e.text->height; ++y)
                for (int x = 0; x < e.text->width; ++x)
                    if (!e.text->Clear(x, y) && e.textX + x < W && e.textY + y < H)
                        screen.At(e.textX + x, e.textY + y) = e.text->At(x, y);
        for (const Placement& p : scene) {
            if (!p.inPlay) continue;
            const DigitObject o = ObjectFor(p);
            const int left = (o.frame % 9) * w, top = o.sheetY + (o.frame / 9) * h;
            for (int cy = 0; cy < h - 1; ++cy)
                for (int cx = 0; cx < w - 1; ++cx) {
                    const int x = o.x + cx, y = o.y + cy;
                    if (x < 0 || y < 0 || x > W - 2 || y > H - 2) continue;
                    if (sheet.Clear(left + cx, top + cy)) continue;
                    screen.At(x, y) = sheet.At(left + cx, top + cy);
                }
        }
        return screen;
    }

    // Renders one frame with a snapshot requested; the file's bytes.
    std::vector<uint8_t> RenderWithSnapshot(const std::string& name) {
        const std::string path =
            SnapshotFolder::Path() + "\\" + ModeName(mode_) + "-" + name + ".bmp";
        DeleteFileA(path.c_str());
        g_Display.host.snapshotPath = path.c_str();
        g_Shell.SnapshotRequested = 1;
        RenderFrame();
        PumpMessages();
        g_Display.host.snapshotPath = ".\\tessary.bmp";
        EXPECT_EQ(g_Shell.SnapshotRequested, 0);
        std::vector<uint8_t> file = ReadWholeFile(path);
        Discard(path);
        return file;
    }

    // Checks every header field and the size of a snapshot of this mode.
    void ExpectSnapshotLayout(const std::vector<uint8_t>& f) {
        const uint32_t W = mode_.width, H = mode_.height;
        ASSERT_EQ(f.size(), ExpectedSnapshotSize(W, H));
        EXPECT_EQ(FileU16(f, 0), 0x4D42u);  // "BM"
        EXPECT_EQ(FileU32(f, 2), f.size());
        EXPECT_EQ(FileU32(f, 6), 0u);
        EXPECT_EQ(FileU32(f, 10), 54u);
        EXPECT_EQ(FileU32(f, 14), 40u);
        EXPECT_EQ(FileU32(f, 18), W);
        EXPECT_EQ(FileU32(f, 22), H);
        EXPECT_EQ(FileU16(f, 26), 1u);
        EXPECT_EQ(FileU16(f, 28), 24u);
        EXPECT_EQ(FileU32(f, 30), 0u);
        EXPECT_EQ(FileU32(f, 34), f.size() - 54);
        EXPECT_EQ(FileU32(f, 38), 3790u);
        EXPECT_EQ(FileU32(f, 42), 3790u);
        EXPECT_EQ(FileU32(f, 46), 0u);
        EXPECT_EQ(FileU32(f, 50), 0u);
    }

    // Renders the scene on a black background and compares the snapshot with
    // the picture it should show.
    void CheckDigitsFrame() {
        // Black, raw value 0 in every format, is the sheet's source colour key.
        DDCOLORKEY key = {1, 1};
        EXPECT_EQ(g_Display.SpriteSheet->GetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
        EXPECT_EQ(key.dwColorSpaceLowValue, 0u);
        EXPECT_EQ(key.dwColorSpaceHighValue, 0u);
        const Picture sheet = ExpectedSheet();
        ASSERT_EQ(sheet.width, 450);
        const std::vector<Placement> scene = Scene();
        Place(scene);
        // Both buffers of the flipping chain filled first: the frame must
        // clear what was there.
        blackBack_ = 0;
        g_Display.settings.Set(BackgroundColor, static_cast<int32_t>(kBackground));
        RenderFrame();
        RenderFrame();
        blackBack_ = 1;
        g_Display.settings.Set(BackgroundColor, 0);

        const std::vector<uint8_t> file = RenderWithSnapshot("digits");
        ExpectSnapshotLayout(file);
        if (::testing::Test::HasFatalFailure()) return;
        const Picture shot = SnapshotPicture(file, mode_.width, mode_.height);
        EXPECT_TRUE(SamePicture(Expected(scene, sheet, {}), shot));

        // The same, spelled out: nothing reaches the last column or row of
        // the screen, no cell's last column or row is copied, and the first
        // and the next-to-last columns and rows are drawn on.
        const int W = mode_.width, H = mode_.height;
        const COLORREF inside = FilledColour(format_, kCellInside);
        EXPECT_EQ(CountColour(shot, kBlack, {W - 1, 0, W, H}), H) << "last column";
        EXPECT_EQ(CountColour(shot, kBlack, {0, H - 1, W, H}), W) << "last row";
        EXPECT_EQ(CountColour(shot, FilledColour(format_, kCellEdge), {0, 0, W, H}), 0);
        EXPECT_GT(CountColour(shot, inside, {W - 2, 0, W - 1, H}), 0);
        EXPECT_GT(CountColour(shot, inside, {0, H - 2, W, H - 1}), 0);
        EXPECT_GT(CountColour(shot, inside, {0, 0, 1, H}), 0);
        EXPECT_GT(CountColour(shot, inside, {0, 0, W, 1}), 0);
    }

    // Digits placed in every way a frame has to handle, in pool order.
    std::vector<Placement> Scene() const {
        const int W = mode_.width, H = mode_.height, w = cellWidth_, h = cellHeight_;
        auto sx = [W](int v) { return v * W / 640; };
        auto sy = [H](int v) { return v * H / 480; };
        return {
            // Wholly off the screen: nothing drawn, the frame goes on.
            {kTestCell, 17, -w, sy(100)},
            {kTestCell, 17, W - 1, sy(100)},
            {kTestCell, 17, sx(100), -h},
            {kTestCell, 17, sx(100), H - 1},
            // Not in play: never drawn.
            {4, 0, sx(300), sy(150), 0},
            // A digit over the test cell: the cell shows through its black.
            {kTestCell, 17, sx(200), sy(200)},
            {3, 0, sx(200) + w / 4, sy(200) + h / 5},
            // Whole digits; frames from both rows of a band.
            {5, 0, sx(100), sy(100)},
            {9, 4, sx(300), sy(100)},
            {2, 13, sx(380), sy(100)},
            // The test cell cut by each edge and in two corners.
            {kTestCell, 17, -w / 5, sy(300)},
            {kTestCell, 17, W - w * 4 / 5, sy(300)},
            {kTestCell, 17, sx(300), -h / 4},
            {kTestCell, 17, sx(420), H - h / 2},
            {kTestCell, 17, W - w * 2 / 5, H - h * 2 / 5},
            {kTestCell, 17, -w / 2, -h / 2},
            // Digits cut by each edge, their artwork reaching past it.
            {7, 0, -w * 2 / 5, sy(380)},
            {1, 0, W - w * 3 / 5, sy(50)},
            {8, 0, sx(480), -h * 2 / 5},
            {6, 0, sx(320), H - h * 5 / 9},
            // Over the frame-rate text, which is drawn first.
            {kTestCell, 17, sx(550), sy(428)},
        };
    }

    Mode mode_ = {};
    PixelFormat format_;
    int cellWidth_ = 0, cellHeight_ = 0, bandHeight_ = 0;
    int blackBack_ = 1;
    Settings animationSettings_;
};

// The screen modes: 8 bits through the palette, 16 and 32 bits direct, and
// the 320-wide screen with its half-size cells.
class RealDisplayModes : public RealDisplay, public ::testing::WithParamInterface<Mode> {};

TEST_P(RealDisplayModes, DrawsTheDigitsClippedAndColourKeyed) {
    ASSERT_EQ(Open(GetParam()), 1) << "the mode could not be set";
    ASSERT_EQ(format_.bits, mode_.depth);
    CheckDigitsFrame();
}

TEST_P(RealDisplayModes, ShowsTheFrameRateAndTheBackgroundColour) {
    ASSERT_EQ(Open(GetParam()), 1) << "the mode could not be set";
    const Picture sheet = ExpectedSheet();
    ASSERT_EQ(sheet.width, 450);
    const std::vector<Placement> scene = Scene();
    Place(scene);
    MakeOverlayFont();
    ASSERT_NE(g_Shell.OverlayFont, nullptr);
    g_Display.settings.Set(FPS, 1);
    g_Display.settings.Set(BackgroundColor, static_cast<int32_t>(kBackground));
    blackBack_ = 0;
    // Two digits at least, zero-padded.
    const int rate = mode_.width == 320 ? 5 : 42;
    g_Display.frames.lastFrameRate = rate;
    char text[16];
    std::snprintf(text, sizeof text, "FPS: %02d", rate);

    const std::vector<uint8_t> file = RenderWithSnapshot("rate");
    ExpectSnapshotLayout(file);
    if (HasFatalFailure()) return;
    const Picture shot = SnapshotPicture(file, mode_.width, mode_.height);
    const Picture lettering = ReplicaText(format_, g_Shell.OverlayFont, text);
    Expectation e;
    e.background = kBackground;
    e.text = &lettering;
    e.textX = mode_.width * 500 / 640;
    e.textY = mode_.height * 420 / 480;
    EXPECT_TRUE(SamePicture(Expected(scene, sheet, e), shot)) << "text " << text;
    EXPECT_GT(
        CountColour(shot, kYellow,
                    {e.textX, e.textY, e.textX + lettering.width, e.textY + lettering.height}),
        10);
    EXPECT_EQ(shot.At(0, mode_.height - 1), FilledColour(format_, kBackground));
    EXPECT_EQ(g_Display.frames.lastFrameRate, rate);
}

INSTANTIATE_TEST_SUITE_P(Modes, RealDisplayModes,
                         ::testing::Values(Mode{640, 480, 8}, Mode{640, 480, 16},
                                           Mode{640, 480, 32}, Mode{320, 240, 8}),
                         [](const ::testing::TestParamInfo<Mode>& info) {
                             return "M" + std::to_string(info.param.width) + "x" +
                                    std::to_string(info.param.height) + "x" +
                                    std::to_string(info.param.depth);
                         });

// Snapshots that cannot be written: nothing is claimed complete, the request
// is still cleared, the frames go on, and the next good snapshot is whole.
TEST_F(RealDisplay, SnapshotThatCannotBeWrittenLeavesTheRunGoing) {
    ASSERT_EQ(Open({640, 480, 8}), 1);
    const std::string folder = SnapshotFolder::Path();

    const std::string missing = folder + "\\no-such-folder\\tessary.bmp";
    g_Display.host.snapshotPath = missing.c_str();
    g_Shell.SnapshotRequested = 1;
    RenderFrame();
    EXPECT_EQ(g_Shell.SnapshotRequested, 0);
    EXPECT_EQ(TakeSnapshot(), 0);
    EXPECT_EQ(GetFileAttributesA(missing.c_str()), INVALID_FILE_ATTRIBUTES);

    // The name of a folder, and a file another program holds open.
    g_Display.host.snapshotPath = folder.c_str();
    EXPECT_EQ(TakeSnapshot(), 0);
    const std::string held = folder + "\\held.bmp";
    HANDLE holder = CreateFileA(held.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(holder, "earlier", 7, &written, nullptr);
    g_Display.host.snapshotPath = held.c_str();
    EXPECT_EQ(TakeSnapshot(), 0);
    EXPECT_EQ(GetFileSize(holder, nullptr), 7u);
    CloseHandle(holder);
    DeleteFileA(held.c_str());

    // A device with no room: the writes come back short.
    const char* full = "Z:\\dev\\full";
    if (GetFileAttributesA(full) != INVALID_FILE_ATTRIBUTES) {
        g_Display.host.snapshotPath = full;
        EXPECT_EQ(TakeSnapshot(), 0);
    }

    const std::string good = folder + "\\after-failures.bmp";
    g_Display.host.snapshotPath = good.c_str();
    EXPECT_EQ(TakeSnapshot(), 1);
    EXPECT_EQ(ReadWholeFile(good).size(), ExpectedSnapshotSize(640, 480));
    DeleteFileA(good.c_str());
    g_Shell.SnapshotRequested = 1;
    RenderFrame();
    EXPECT_EQ(g_Shell.SnapshotRequested, 0);
    EXPECT_EQ(ReadWholeFile(good).size(), ExpectedSnapshotSize(640, 480));
    Discard(good);
    g_Display.host.snapshotPath = ".\\tessary.bmp";
}

// A hand-edited BackgroundColor with its top byte set fills with its colour
// part, not with a palette index.
TEST_F(RealDisplay, BackgroundColourWithHighBitsSetFillsWithItsColour) {
    ASSERT_EQ(Open({640, 480, 8}), 1);
    blackBack_ = 0;
    for (uint32_t high : {0x01000000u, 0x02000000u, 0xFF000000u}) {
        g_Display.settings.Set(BackgroundColor, static_cast<int32_t>(high | kBackground));
        const std::vector<uint8_t> file = RenderWithSnapshot("high-bits");
        ASSERT_EQ(file.size(), ExpectedSnapshotSize(640, 480));
        const Picture shot = SnapshotPicture(file, 640, 480);
        EXPECT_EQ(CountColour(shot, kBackground, {0, 0, 640, 480}), 640 * 480)
            << std::hex << "top byte " << high << ", pixel (0, 0) is " << Hex(shot.At(0, 0));
    }
}

// A colour depth the display refuses (Wine's virtual desktop has no 24-bit
// mode) ends in the numbered set-up failure with the device given back; the
// next set-up works.
TEST_F(RealDisplay, RefusedColourDepthReportsTheSetUpFailure) {
    EXPECT_EQ(Open({640, 480, 24}), 0);
    ASSERT_EQ(g_messages.size(), 1u);
    EXPECT_EQ(g_messages[0], "DirectDraw Initializaition Failed!\nError Code is 7");
    EXPECT_EQ(g_captions[0], "DirectX Tessary");
    ASSERT_EQ(g_destroyed.size(), 1u);
    EXPECT_EQ(g_destroyed[0], TestWindow());
    EXPECT_EQ(g_Display.device, nullptr);
    EXPECT_EQ(g_Display.primary, nullptr);
    EXPECT_EQ(g_Display.SpriteSheet, nullptr);
    RenderFrame();  // nothing to draw on
    ReleaseDisplay();

    EXPECT_EQ(Open({640, 480, 8}), 1);
    EXPECT_TRUE(g_messages.empty());
}

// Depths no display has. Windows refuses them (code 7); Wine's DirectDraw
// takes them as the desktop's depth. Either way the saver fails safely: the
// numbered failure, or a display on which the frames come out right.
TEST_F(RealDisplay, UnknownColourDepthFailsSafely) {
    for (int depth : {7, 12345}) {
        SCOPED_TRACE("depth " + std::to_string(depth));
        if (Open({640, 480, depth}) == 0) {
            ASSERT_EQ(g_messages.size(), 1u);
            EXPECT_EQ(g_messages[0], "DirectDraw Initializaition Failed!\nError Code is 7");
            EXPECT_EQ(g_Display.device, nullptr);
        } else {
            EXPECT_TRUE(g_messages.empty());
            CheckDigitsFrame();
        }
        ReleaseDisplay();
    }
}

}  // namespace
