// Taking the screen, the numbered set-up failures, teardown, recovery of
// lost surfaces and the palette hand-over, against mocked DirectDraw.
#include <string>
#include <vector>

#include "ddraw_mocks.h"
#include "display/palette_ramp.h"

using ::testing::_;
using ::testing::DoAll;
using ::testing::Field;
using ::testing::InSequence;
using ::testing::Invoke;
using ::testing::IsNull;
using ::testing::Pointee;
using ::testing::Return;
using ::testing::SetArgPointee;

namespace {

// {B3A6F3E0-2B43-11CF-A2DE-00AA00B93356}
const GUID kDirectDraw2Interface = {
    0xB3A6F3E0, 0x2B43, 0x11CF, {0xA2, 0xDE, 0x00, 0xAA, 0x00, 0xB9, 0x33, 0x56}};

const DDSURFACEDESC kPrimaryRequest = Desc(33, 536, 0, 0, 1);
const DDSURFACEDESC kSheetInVideoMemory = Desc(7, 64, 450, 900);
const DDSURFACEDESC kSheetInSystemMemory = Desc(7, 2048, 450, 900);

class DisplaySetup : public DisplayFixture {
  protected:
    // A driver on which every step succeeds.
    void EveryStepSucceeds() {
        ON_CALL(host.directDrawCreate, Call)
            .WillByDefault(DoAll(SetArgPointee<1>(&ddraw1), Return(DD_OK)));
        ON_CALL(ddraw1, QueryInterface)
            .WillByDefault(
                DoAll(SetArgPointee<1>(static_cast<IDirectDraw2*>(&device)), Return(DD_OK)));
        ON_CALL(device, CreateSurface(SameDesc(kPrimaryRequest), _, _))
            .WillByDefault(DoAll(SetArgPointee<1>(&primary), Return(DD_OK)));
        ON_CALL(device, CreateSurface(SameDesc(kSheetInVideoMemory), _, _))
            .WillByDefault(DoAll(SetArgPointee<1>(&sheet), Return(DD_OK)));
        ON_CALL(primary, GetAttachedSurface)
            .WillByDefault(DoAll(SetArgPointee<1>(&backBuffer), Return(DD_OK)));
        ON_CALL(device, CreatePalette)
            .WillByDefault(DoAll(SetArgPointee<2>(&palette), Return(DD_OK)));
    }

    std::string shownText, shownCaption;
    HWND shownOwner = nullptr;
    UINT shownType = 0;
    bool deviceHeldAtMessage = true;

    void RecordMessages() {
        ON_CALL(host.messageBox, Call)
            .WillByDefault([this](HWND owner, std::string text, std::string caption, UINT type) {
                shownOwner = owner;
                shownText = text;
                shownCaption = caption;
                shownType = type;
                deviceHeldAtMessage = g_Display.device != nullptr;
                return IDOK;
            });
    }
};

TEST_F(DisplaySetup, TakesTheScreenStepByStepAndRunsTheStartupChain) {
    EveryStepSucceeds();
    Settings& s = g_Display.settings;
    s.Set(xScreenSize, 800);
    s.Set(yScreenSize, 600);
    s.Set(ColorDepth, 16);
    host.tick = 424242;
    std::vector<PALETTEENTRY> paletteGiven;
    EXPECT_CALL(host.messageBox, Call).Times(0);
    {
        InSequence order;
        EXPECT_CALL(host.directDrawCreate, Call(IsNull(), _, IsNull()));
        EXPECT_CALL(ddraw1, QueryInterface(kDirectDraw2Interface, _));
        EXPECT_CALL(ddraw1, Release());
        EXPECT_CALL(device, SetCooperativeLevel(window, 17u));
        EXPECT_CALL(device, SetDisplayMode(800u, 600u, 16u, 0u, 0u));
        EXPECT_CALL(device, CreateSurface(SameDesc(kPrimaryRequest), _, IsNull()));
        EXPECT_CALL(primary, GetAttachedSurface(Pointee(Field(&DDSCAPS::dwCaps, 4u)), _));
        // A driver that cannot tell its refresh rate does not stop set-up.
        EXPECT_CALL(device, GetMonitorFrequency(_))
            .WillOnce(DoAll(SetArgPointee<0>(77u), Return(DDERR_UNSUPPORTED)));
        EXPECT_CALL(device, CreatePalette(4u, _, _, IsNull()))
            .WillOnce(DoAll(Invoke([&](DWORD, LPPALETTEENTRY e, LPDIRECTDRAWPALETTE*, IUnknown*) {
                                paletteGiven.assign(e, e + 256);
                            }),
                            SetArgPointee<2>(&palette), Return(DD_OK)));
        // Outside 8-bit modes attaching the palette fails harmlessly.
        EXPECT_CALL(primary, SetPalette(&palette)).WillOnce(Return(DDERR_INVALIDPIXELFORMAT));
        EXPECT_CALL(device, CreateSurface(SameDesc(kSheetInVideoMemory), _, IsNull()));
        EXPECT_CALL(sheet, SetColorKey(8u, _)).WillOnce([](DWORD, LPDDCOLORKEY key) {
            EXPECT_EQ(key->dwColorSpaceLowValue, 0u);
            EXPECT_EQ(key->dwColorSpaceHighValue, 0u);
            return DD_OK;
        });
        EXPECT_CALL(host.seedPool, Call(424242u)).WillOnce([](DWORD) {
            // The random source was seeded from the clock before the pool.
            EXPECT_EQ(g_Random.state, 424242u);
        });
        EXPECT_CALL(host.startMusic, Call(window));
    }
    // The sheet's black: pixel value 0 in a 16-bit surface.
    uint32_t sheetMemory = 0;
    ON_CALL(sheet, Lock).WillByDefault([&](LPRECT, LPDDSURFACEDESC d, DWORD, HANDLE) {
        d->lpSurface = &sheetMemory;
        d->ddpfPixelFormat.dwRGBBitCount = 16;
        return DD_OK;
    });

    EXPECT_EQ(InitDisplay(window), 1);

    EXPECT_EQ(g_Display.device, &device);
    EXPECT_EQ(g_Display.primary, &primary);
    EXPECT_EQ(g_Display.backBuffer, &backBuffer);
    EXPECT_EQ(g_Display.SpriteSheet, &sheet);
    EXPECT_EQ(g_Display.palette, &palette);
    EXPECT_EQ(g_Display.refreshRate, 0u);
    // FULLCOLOR has no colour table: the palette is the 3-3-2 ramp.
    ASSERT_EQ(paletteGiven.size(), 256u);
    for (int i = 0; i < 256; ++i) {
        const PaletteColour want = RampColour(i);
        EXPECT_EQ(paletteGiven[i].peRed, want.red) << i;
        EXPECT_EQ(paletteGiven[i].peGreen, want.green) << i;
        EXPECT_EQ(paletteGiven[i].peBlue, want.blue) << i;
        EXPECT_EQ(paletteGiven[i].peFlags, 0) << i;
    }
}

TEST_F(DisplaySetup, KeepsTheReportedRefreshRate) {
    EveryStepSucceeds();
    EXPECT_CALL(device, GetMonitorFrequency(_))
        .WillOnce(DoAll(SetArgPointee<0>(75u), Return(DD_OK)));
    EXPECT_EQ(InitDisplay(window), 1);
    EXPECT_EQ(g_Display.refreshRate, 75u);
}

TEST_F(DisplaySetup, SheetFallsBackToSystemMemory) {
    EveryStepSucceeds();
    EXPECT_CALL(device, CreateSurface(SameDesc(kPrimaryRequest), _, _));
    {
        InSequence order;
        EXPECT_CALL(device, CreateSurface(SameDesc(kSheetInVideoMemory), _, _))
            .WillOnce(Return(DDERR_OUTOFVIDEOMEMORY));
        EXPECT_CALL(device, CreateSurface(SameDesc(kSheetInSystemMemory), _, IsNull()))
            .WillOnce(DoAll(SetArgPointee<1>(&sheet), Return(DD_OK)));
    }
    EXPECT_EQ(InitDisplay(window), 1);
    EXPECT_EQ(g_Display.SpriteSheet, &sheet);
}

// One failing set-up step: the code it shows and what has to be given back.
struct FailingStep {
    int code;
    int reached;  // steps run: 1 DirectDrawCreate ... 7 the sheet
};

class DisplaySetupFailure : public DisplaySetup,
                            public ::testing::WithParamInterface<FailingStep> {};

TEST_P(DisplaySetupFailure, ShowsItsCodeAfterGivingEverythingBack) {
    const FailingStep step = GetParam();
    const int n = step.reached;
    EveryStepSucceeds();
    RecordMessages();
    const HRESULT no = DDERR_GENERIC;
    auto runs = [n](int k) { return n >= k ? 1 : 0; };

    EXPECT_CALL(host.directDrawCreate, Call).Times(1);
    if (n == 1) ON_CALL(host.directDrawCreate, Call).WillByDefault(Return(DDERR_NODIRECTDRAWHW));
    EXPECT_CALL(ddraw1, QueryInterface).Times(runs(2));
    if (n == 2) ON_CALL(ddraw1, QueryInterface).WillByDefault(Return(E_NOINTERFACE));
    EXPECT_CALL(device, SetCooperativeLevel).Times(runs(3));
    if (n == 3) ON_CALL(device, SetCooperativeLevel).WillByDefault(Return(no));
    EXPECT_CALL(device, SetDisplayMode).Times(runs(4));
    if (n == 4) ON_CALL(device, SetDisplayMode).WillByDefault(Return(DDERR_INVALIDMODE));
    EXPECT_CALL(device, CreateSurface(SameDesc(kPrimaryRequest), _, _)).Times(runs(5));
    if (n == 5)
        ON_CALL(device, CreateSurface(SameDesc(kPrimaryRequest), _, _))
            .WillByDefault(Return(DDERR_OUTOFVIDEOMEMORY));
    EXPECT_CALL(primary, GetAttachedSurface).Times(runs(6));
    if (n == 6) ON_CALL(primary, GetAttachedSurface).WillByDefault(Return(DDERR_NOTFOUND));
    EXPECT_CALL(device, CreateSurface(SameDesc(kSheetInVideoMemory), _, _)).Times(runs(7));
    EXPECT_CALL(device, CreateSurface(SameDesc(kSheetInSystemMemory), _, _)).Times(runs(7));
    if (n == 7)
        ON_CALL(device, CreateSurface(SameDesc(kSheetInVideoMemory), _, _))
            .WillByDefault(Return(DDERR_OUTOFVIDEOMEMORY));
    ON_CALL(device, CreateSurface(SameDesc(kSheetInSystemMemory), _, _))
        .WillByDefault(Return(DDERR_OUTOFMEMORY));

    // Each object is released exactly once although teardown runs twice:
    // from the report and from the window's destruction.
    EXPECT_CALL(ddraw1, Release()).Times(runs(2));
    EXPECT_CALL(device, RestoreDisplayMode()).Times(runs(3));
    EXPECT_CALL(device, Release()).Times(runs(3));
    EXPECT_CALL(primary, Release()).Times(runs(6));
    EXPECT_CALL(backBuffer, Release()).Times(0);
    EXPECT_CALL(palette, Release()).Times(runs(7));
    EXPECT_CALL(host.messageBox, Call).Times(1);
    EXPECT_CALL(host.destroyWindow, Call(window)).Times(1);
    EXPECT_CALL(host.seedPool, Call).Times(0);
    EXPECT_CALL(host.startMusic, Call).Times(0);

    EXPECT_EQ(InitDisplay(window), 0);

    EXPECT_EQ(shownText,
              "DirectDraw Initializaition Failed!\nError Code is " + std::to_string(step.code));
    EXPECT_EQ(shownCaption, "DirectX Tessary");
    EXPECT_EQ(shownOwner, window);
    EXPECT_EQ(shownType, static_cast<UINT>(MB_OK));
    // The desktop's mode is back before the message is shown.
    EXPECT_FALSE(deviceHeldAtMessage);
    EXPECT_EQ(g_Display.device, nullptr);
    EXPECT_EQ(g_Display.primary, nullptr);
    EXPECT_EQ(g_Display.backBuffer, nullptr);
    EXPECT_EQ(g_Display.SpriteSheet, nullptr);
    EXPECT_EQ(g_Display.palette, nullptr);
}

INSTANTIATE_TEST_SUITE_P(EachStep, DisplaySetupFailure,
                         ::testing::Values(FailingStep{1, 1}, FailingStep{33, 2},
                                           FailingStep{22, 3}, FailingStep{7, 4}, FailingStep{4, 5},
                                           FailingStep{5, 6}, FailingStep{6, 7}),
                         [](const ::testing::TestParamInfo<FailingStep>& info) {
                             return "Code" + std::to_string(info.param.code);
                         });

TEST_F(DisplaySetup, OutOfRangeColourDepthFailsWithCodeSeven) {
    EveryStepSucceeds();
    RecordMessages();
    g_Display.settings.Set(ColorDepth, -24);
    EXPECT_CALL(device, SetDisplayMode(640u, 480u, static_cast<DWORD>(-24), 0u, 0u))
        .WillOnce(Return(DDERR_INVALIDMODE));
    EXPECT_CALL(device, CreateSurface).Times(0);

    EXPECT_EQ(InitDisplay(window), 0);
    EXPECT_EQ(shownText, "DirectDraw Initializaition Failed!\nError Code is 7");
    EXPECT_EQ(g_Display.device, nullptr);
}

using DisplayTeardown = DisplayFixture;

TEST_F(DisplayTeardown, ReleasesInOrderOnceAndThenTouchesNothing) {
    InstallRunningDisplay();
    {
        InSequence order;
        EXPECT_CALL(primary, Release());
        EXPECT_CALL(sheet, Release());
        EXPECT_CALL(palette, Release());
        EXPECT_CALL(device, RestoreDisplayMode());
        EXPECT_CALL(device, Release());
    }
    // The back buffer goes with the primary.
    EXPECT_CALL(backBuffer, Release()).Times(0);

    ReleaseDisplay();
    EXPECT_EQ(g_Display.device, nullptr);
    EXPECT_EQ(g_Display.primary, nullptr);
    EXPECT_EQ(g_Display.backBuffer, nullptr);
    EXPECT_EQ(g_Display.SpriteSheet, nullptr);
    EXPECT_EQ(g_Display.palette, nullptr);

    // Nothing is touched again: not by a second teardown, nor by a frame or
    // a recovery that comes too late.
    ReleaseDisplay();
    RenderFrame();
    EXPECT_NE(RestoreSurfaces(), DD_OK);
    EXPECT_EQ(host.tickReads, 0);
}

using SurfaceRecovery = DisplayFixture;

TEST_F(SurfaceRecovery, StopsAtAPrimaryThatStaysLost) {
    InstallRunningDisplay();
    EXPECT_CALL(primary, Restore()).WillOnce(Return(DDERR_WRONGMODE));
    EXPECT_CALL(sheet, Restore()).Times(0);
    EXPECT_EQ(RestoreSurfaces(), DDERR_WRONGMODE);
}

TEST_F(SurfaceRecovery, ReportsTheSheetsRestoreWithoutReloadingAFailedOne) {
    InstallRunningDisplay();
    EXPECT_CALL(primary, Restore()).WillOnce(Return(DD_OK));
    EXPECT_CALL(sheet, Restore()).WillOnce(Return(DDERR_OUTOFVIDEOMEMORY));
    EXPECT_CALL(sheet, GetDC).Times(0);
    EXPECT_EQ(RestoreSurfaces(), DDERR_OUTOFVIDEOMEMORY);
}

TEST_F(SurfaceRecovery, ReloadsTheDigitsIntoTheRestoredSheet) {
    InstallRunningDisplay();
    DibCanvas sheetPixels(450, 900, RGB(255, 0, 255));
    ASSERT_TRUE(sheetPixels.Valid());
    ON_CALL(sheet, GetSurfaceDesc).WillByDefault([](LPDDSURFACEDESC d) {
        d->dwWidth = 450;
        d->dwHeight = 900;
        return DD_OK;
    });
    {
        InSequence order;
        EXPECT_CALL(primary, Restore()).WillOnce(Return(DD_OK));
        EXPECT_CALL(sheet, Restore()).WillOnce(Return(DD_OK));
        // The copy restores its target once more before drawing into it.
        EXPECT_CALL(sheet, Restore()).WillOnce(Return(DD_OK));
        EXPECT_CALL(sheet, GetDC(_)).WillOnce(GiveDc(sheetPixels));
        EXPECT_CALL(sheet, ReleaseDC(sheetPixels.dc()));
    }
    // The colour key and the palette attachment survive a restore.
    EXPECT_CALL(sheet, SetColorKey).Times(0);
    EXPECT_CALL(primary, SetPalette).Times(0);

    EXPECT_EQ(RestoreSurfaces(), DD_OK);
    // The artwork's black background replaced the stale content.
    EXPECT_EQ(sheetPixels.At(0, 0), RGB(0, 0, 0));
    EXPECT_EQ(sheetPixels.At(449, 899), RGB(0, 0, 0));
}

class PaletteHandOver : public DisplayFixture {
  protected:
    void SetUp() override {
        DisplayFixture::SetUp();
        InstallRunningDisplay();
        g_Shell.WindowActive = 1;
        for (int i = 0; i < 256; ++i) g_Display.SystemPalette[i].peRed = static_cast<BYTE>(i);
    }
    PALETTEENTRY saved[256] = {};
};

TEST_F(PaletteHandOver, LendsTheSystemColoursAndTakesTheSaversBack) {
    g_Display.SystemPaletteCount = 20;
    {
        InSequence order;
        EXPECT_CALL(device, FlipToGDISurface()).WillOnce([] {
            // Frames stop before Windows gets the screen.
            EXPECT_EQ(g_Shell.WindowActive, 0);
            return DD_OK;
        });
        EXPECT_CALL(palette, GetEntries(0u, 0u, 256u, saved));
        EXPECT_CALL(palette, SetEntries(0u, 0u, 20u, g_Display.SystemPalette));
        EXPECT_CALL(palette, SetEntries(0u, 0u, 256u, saved));
    }
    g_Shell.AppActive = 1;
    EXPECT_EQ(LendPaletteToSystem(saved), 1);
    EXPECT_EQ(g_Shell.WindowActive, 0);
    ReclaimPalette(saved, 1);
    EXPECT_EQ(g_Shell.WindowActive, 1);
}

TEST_F(PaletteHandOver, LeavesThePaletteAloneWithoutAUsableSystemPalette) {
    for (int count : {0, 257, -1}) {
        g_Display.SystemPaletteCount = count;
        EXPECT_CALL(palette, GetEntries(0u, 0u, 256u, saved));
        EXPECT_CALL(palette, SetEntries).Times(0);
        LendPaletteToSystem(saved);
        ::testing::Mock::VerifyAndClearExpectations(&palette);
    }
}

}  // namespace
