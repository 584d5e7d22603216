// One frame against mocked surfaces: what is drawn in which order, the
// retries on a busy blitter, the recovery of lost surfaces, the GDI
// background and the F10 snapshot.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "ddraw_mocks.h"

using ::testing::_;
using ::testing::AnyNumber;
using ::testing::InSequence;
using ::testing::IsNull;
using ::testing::Pointee;
using ::testing::Return;

namespace {

MATCHER_P4(IsRect, left, top, right, bottom, "") {
    return arg != nullptr && arg->left == left && arg->top == top && arg->right == right &&
           arg->bottom == bottom;
}

// A colour fill of the whole surface with the raw value 0.
MATCHER(IsBlackFill, "") {
    DDBLTFX want;
    ZeroMemory(&want, sizeof want);
    want.dwSize = sizeof want;
    return arg != nullptr && std::memcmp(arg, &want, sizeof want) == 0;
}

class Frame : public DisplayFixture {
  protected:
    void SetUp() override {
        DisplayFixture::SetUp();
        InstallRunningDisplay();
        // Digits drift and wrap but do not bounce off the edges.
        scene.Set(Hanekaeri, 0);
        g_Animation.host.settings = &scene;
    }

    Settings scene;

    // A face-on-or-turned digit standing still at (x, y) in a 640 by 480 scene.
    static void PlaceDigit(int index, int x, int y, int digit = 0, int frame = 0) {
        DigitObject& o = g_Animation.ObjectPool[index];
        o.inPlay = 1;
        o.digit = digit;
        o.x = x;
        o.y = y;
        o.frame = frame;
        o.frameCount = 17;
        o.cellWidth = 50;
        o.cellHeight = 45;
        o.sheetColumns = 9;
        o.sheetY = digit * 90;
    }

    static std::string TempPath(const char* name) {
        char folder[MAX_PATH];
        GetTempPathA(MAX_PATH, folder);
        return std::string(folder) + name;
    }
};

TEST_F(Frame, ClearsWritesTheRateDrawsDigitsInPoolOrderThenFlips) {
    g_Display.settings.Set(FPS, 1);
    g_Display.frames.lastFrameRate = 5;
    DibCanvas screen(640, 480);
    ASSERT_TRUE(screen.Valid());
    PlaceDigit(3, 100, 50, 2, 10);
    PlaceDigit(7, -10, 470, 5, 0);
    {
        InSequence order;
        EXPECT_CALL(backBuffer, Blt(IsNull(), IsNull(), IsNull(), 1024u, IsBlackFill()));
        EXPECT_CALL(backBuffer, GetDC(_)).WillOnce(GiveDc(screen));
        EXPECT_CALL(backBuffer, ReleaseDC(screen.dc()));
        // Frame 10 of digit 2: second row, second cell of band 2.
        EXPECT_CALL(backBuffer, BltFast(100u, 50u, &sheet, IsRect(50, 225, 99, 269), 1u));
        // Cut by the left and the bottom edge.
        EXPECT_CALL(backBuffer, BltFast(0u, 470u, &sheet, IsRect(10, 450, 49, 459), 1u));
        EXPECT_CALL(primary, Flip(IsNull(), 0u));
    }
    RenderFrame();

    // The rate, two digits at least, in yellow at (500, 420) and nowhere else.
    DibCanvas expected(640, 480);
    SetBkMode(expected.dc(), TRANSPARENT);
    SetTextColor(expected.dc(), RGB(255, 255, 0));
    TextOutA(expected.dc(), 500, 420, "FPS: 05", 7);
    int yellow = 0, differences = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
            yellow += expected.At(x, y) == RGB(255, 255, 0);
            differences += screen.At(x, y) != expected.At(x, y);
        }
    EXPECT_GT(yellow, 20);
    EXPECT_EQ(differences, 0);
}

TEST_F(Frame, ReadsTheClockOnceForMeasurementAndMotion) {
    PlaceDigit(0, 100, 100);
    DigitObject& o = g_Animation.ObjectPool[0];
    o.speedX = 0.01;
    o.dirX = 1;
    o.lastMoveTime = 4000;
    host.tick = 5000;
    // Moved 10 pixels before it was drawn.
    EXPECT_CALL(backBuffer, BltFast(110u, 100u, _, _, _));

    RenderFrame();
    EXPECT_EQ(host.tickReads, 1);
    EXPECT_EQ(o.lastMoveTime, 5000u);
    EXPECT_EQ(g_Display.frames.measureStart, 5000u);
    EXPECT_EQ(g_Display.frames.FrameCounter, 1);
}

TEST_F(Frame, RepeatsEveryCallWhileTheBlitterIsBusy) {
    PlaceDigit(0, 10, 10);
    EXPECT_CALL(backBuffer, Blt)
        .WillOnce(Return(DDERR_WASSTILLDRAWING))
        .WillOnce(Return(DDERR_WASSTILLDRAWING))
        .WillOnce(Return(DD_OK));
    EXPECT_CALL(backBuffer, BltFast)
        .WillOnce(Return(DDERR_WASSTILLDRAWING))
        .WillOnce(Return(DD_OK));
    EXPECT_CALL(primary, Flip)
        .WillOnce(Return(DDERR_WASSTILLDRAWING))
        .WillOnce(Return(DDERR_WASSTILLDRAWING))
        .WillOnce(Return(DD_OK));
    EXPECT_CALL(primary, Restore).Times(0);
    RenderFrame();
}

TEST_F(Frame, IgnoresOtherFailuresWithoutRetrying) {
    PlaceDigit(0, 10, 10);
    PlaceDigit(1, 600, 10);
    EXPECT_CALL(backBuffer, Blt).WillOnce(Return(DDERR_GENERIC));
    EXPECT_CALL(backBuffer, BltFast).Times(2).WillRepeatedly(Return(DDERR_INVALIDRECT));
    EXPECT_CALL(primary, Flip).WillOnce(Return(DDERR_NOTFLIPPABLE));
    EXPECT_CALL(primary, Restore).Times(0);
    RenderFrame();
}

TEST_F(Frame, RestoresAfterALostFillAndGoesOn) {
    PlaceDigit(0, 10, 10);
    EXPECT_CALL(backBuffer, Blt).WillOnce(Return(DDERR_SURFACELOST));
    // Even a restore that fails leaves the frame going.
    EXPECT_CALL(primary, Restore).WillOnce(Return(DDERR_WRONGMODE));
    EXPECT_CALL(backBuffer, BltFast).Times(1);
    EXPECT_CALL(primary, Flip).Times(1);
    RenderFrame();
}

TEST_F(Frame, RestoresAfterALostCopyAndGoesOnWithTheNextDigit) {
    PlaceDigit(0, 10, 10);
    PlaceDigit(1, 200, 10);
    {
        InSequence order;
        EXPECT_CALL(backBuffer, BltFast(10u, 10u, _, _, _)).WillOnce(Return(DDERR_SURFACELOST));
        EXPECT_CALL(primary, Restore).WillOnce(Return(DD_OK));
        EXPECT_CALL(sheet, Restore).Times(2).WillRepeatedly(Return(DD_OK));
        EXPECT_CALL(backBuffer, BltFast(200u, 10u, _, _, _)).WillOnce(Return(DD_OK));
        EXPECT_CALL(primary, Flip).WillOnce(Return(DD_OK));
    }
    RenderFrame();
}

TEST_F(Frame, EndsWhenALostSurfaceCannotBeRestored) {
    PlaceDigit(0, 10, 10);
    PlaceDigit(1, 200, 10);
    PlaceDigit(2, 300, 10);
    g_Shell.SnapshotRequested = 1;
    EXPECT_CALL(backBuffer, BltFast(10u, 10u, _, _, _)).WillOnce(Return(DD_OK));
    EXPECT_CALL(backBuffer, BltFast(200u, 10u, _, _, _)).WillOnce(Return(DDERR_SURFACELOST));
    EXPECT_CALL(primary, Restore).WillOnce(Return(DDERR_WRONGMODE));
    // No further digit, no snapshot, no flip.
    EXPECT_CALL(backBuffer, BltFast(300u, 10u, _, _, _)).Times(0);
    EXPECT_CALL(backBuffer, GetDC).Times(0);
    EXPECT_CALL(primary, Flip).Times(0);
    RenderFrame();
    // The request waits for a frame that gets that far.
    EXPECT_EQ(g_Shell.SnapshotRequested, 1);
}

TEST_F(Frame, RestoresAfterALostFlipWithoutFlippingAgain) {
    {
        InSequence order;
        EXPECT_CALL(primary, Flip).WillOnce(Return(DDERR_SURFACELOST));
        EXPECT_CALL(primary, Restore).WillOnce(Return(DD_OK));
        EXPECT_CALL(sheet, Restore).Times(2).WillRepeatedly(Return(DD_OK));
    }
    RenderFrame();
}

TEST_F(Frame, PaintsTheBackgroundColourThroughGdiWhenBlackBackIsOff) {
    blackBack = 0;
    g_Display.settings.Set(xScreenSize, 8);
    g_Display.settings.Set(yScreenSize, 6);
    // A hand-edited value with a high byte: only its RGB part counts.
    g_Display.settings.Set(BackgroundColor, 0x01FF8000);
    const COLORREF marker = RGB(255, 0, 255);
    DibCanvas screen(10, 8, marker);
    EXPECT_CALL(backBuffer, Blt).Times(0);
    {
        InSequence order;
        EXPECT_CALL(backBuffer, GetDC(_)).WillOnce(GiveDc(screen));
        EXPECT_CALL(backBuffer, ReleaseDC(screen.dc()));
        EXPECT_CALL(primary, Flip);
    }
    RenderFrame();
    const COLORREF background = RGB(0x00, 0x80, 0xFF);
    EXPECT_EQ(screen.At(0, 0), background);
    EXPECT_EQ(screen.At(7, 5), background);
    EXPECT_EQ(screen.At(8, 0), marker);
    EXPECT_EQ(screen.At(0, 6), marker);

    // Without a device context the old picture stays and the frame goes on.
    EXPECT_CALL(backBuffer, GetDC(_)).WillOnce(Return(DDERR_CANTCREATEDC));
    EXPECT_CALL(backBuffer, ReleaseDC).Times(0);
    EXPECT_CALL(primary, Flip);
    RenderFrame();
}

TEST_F(Frame, SnapshotSavesTheFinishedBackBufferBeforeTheFlip) {
    // 6 by 3: rows of 18 pixel bytes and 2 bytes of zero fill.
    g_Display.settings.Set(xScreenSize, 6);
    g_Display.settings.Set(yScreenSize, 3);
    const std::string path = TempPath("tessary_snapshot_test.bmp");
    g_Display.host.snapshotPath = path.c_str();
    // The previous, larger snapshot is replaced, not overwritten in part.
    {
        std::ofstream stale(path, std::ios::binary);
        stale << std::string(1000, '\xEE');
    }
    DibCanvas screen(6, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 6; ++x) screen.Set(x, y, RGB(10 * x + 1, 50 * y + 2, 7));
    g_Shell.SnapshotRequested = 1;
    {
        InSequence order;
        EXPECT_CALL(backBuffer, Blt);
        EXPECT_CALL(backBuffer, GetDC(_)).WillOnce(GiveDc(screen));
        EXPECT_CALL(backBuffer, ReleaseDC(screen.dc()));
        EXPECT_CALL(primary, Flip);
    }
    // The mock fill leaves the canvas as it is.
    RenderFrame();
    EXPECT_EQ(g_Shell.SnapshotRequested, 0);

    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)),
                                    std::istreambuf_iterator<char>());
    in.close();
    DeleteFileA(path.c_str());
    ASSERT_EQ(file.size(), 54u + 3 * 20);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(file[2], 54 + 60);
    for (int row = 0; row < 3; ++row) {
        const uint8_t* p = &file[54 + row * 20];
        const int y = 2 - row;  // bottom row first
        for (int x = 0; x < 6; ++x) {
            EXPECT_EQ(p[3 * x], 7) << x << "," << y;
            EXPECT_EQ(p[3 * x + 1], 50 * y + 2) << x << "," << y;
            EXPECT_EQ(p[3 * x + 2], 10 * x + 1) << x << "," << y;
        }
        EXPECT_EQ(p[18], 0);
        EXPECT_EQ(p[19], 0);
    }
}

TEST_F(Frame, SnapshotThatCannotBeWrittenLeavesTheSaverRunning) {
    g_Display.settings.Set(xScreenSize, 4);
    g_Display.settings.Set(yScreenSize, 4);
    DibCanvas screen(4, 4, RGB(9, 9, 9));
    // A folder that does not exist: nothing can be created there.
    const std::string missingFolder = TempPath("tessary_no_such_folder\\tessary.bmp");
    g_Display.host.snapshotPath = missingFolder.c_str();
    EXPECT_CALL(backBuffer, GetDC(_)).WillRepeatedly(GiveDc(screen));
    EXPECT_EQ(TakeSnapshot(), 0);

    g_Shell.SnapshotRequested = 1;
    EXPECT_CALL(primary, Flip).Times(1);
    RenderFrame();
    EXPECT_EQ(g_Shell.SnapshotRequested, 0);
    ::testing::Mock::VerifyAndClearExpectations(&backBuffer);
    ::testing::Mock::VerifyAndClearExpectations(&primary);

    // No device context: no file is touched, the request is still cleared.
    const std::string path = TempPath("tessary_snapshot_nodc.bmp");
    DeleteFileA(path.c_str());
    g_Display.host.snapshotPath = path.c_str();
    g_Shell.SnapshotRequested = 1;
    EXPECT_CALL(backBuffer, GetDC(_)).WillOnce(Return(DDERR_CANTCREATEDC));
    EXPECT_CALL(primary, Flip).Times(1);
    RenderFrame();
    EXPECT_EQ(g_Shell.SnapshotRequested, 0);
    EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
