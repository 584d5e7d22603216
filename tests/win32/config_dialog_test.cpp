// The settings dialog driven as a user drives it: what it shows, what its
// buttons, boxes and sliders do, and what it leaves in the registry.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "config_dialog_harness.h"

namespace config_test {
namespace {

// Every check box that shows a setting of the run's copy.
const std::vector<std::pair<int, SettingIndex>> kRunCheckBoxes = {
    {IDC_FPS, FPS},
    {IDC_BIG_BANG, BigBang},
    {IDC_BLACK_HALL, BlackHall},
    {IDC_GYAKUTEN, Gyakuten},
    {IDC_HANEKAERI, Hanekaeri},
    {IDC_KASOKU, Kasoku},
    {IDC_HIDE_CHECK, HideCheck},
    {IDC_NIFTY_MANAGER_CHECK, NiftyManagerCheck},
    {IDC_GUIPPY2_CHECK, Guippy2Check},
    {IDC_INTERNET_EXP_CHECK, InternetExpCheck},
    {IDC_NETSCAPE_CHECK, NetScapeCheck},
    {IDC_CIM_CHECK, CIMCheck},
    {IDC_ASCII_NET_CREW_CHECK, ASCIInetCrewCheck},
    {IDC_PCVAN_NAV_CHECK, PCVANNavCheck},
    {IDC_NON_STOP, NonStop},
    {IDC_NIFTERM_CHECK, NifTermCheck},
};

constexpr int32_t Colour(int r, int g, int b) {
    return static_cast<int32_t>(RGB(r, g, b));
}

std::vector<std::string> AboutLines(HWND dialog) {
    std::vector<std::string> lines;
    const LRESULT n = SendDlgItemMessageA(dialog, IDC_ABOUT_LIST, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < n; ++i) {
        char line[512] = {};
        SendDlgItemMessageA(dialog, IDC_ABOUT_LIST, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line));
        lines.push_back(line);
    }
    return lines;
}

void ExpectSlider(HWND dialog, int id, int minimum, int maximum, int position) {
    const HWND bar = GetDlgItem(dialog, id);
    int low = -1, high = -1;
    GetScrollRange(bar, SB_CTL, &low, &high);
    EXPECT_EQ(low, minimum) << id;
    EXPECT_EQ(high, maximum) << id;
    EXPECT_EQ(GetScrollPos(bar, SB_CTL), position) << id;
}

TEST_F(ConfigDialogTest, StartShowsTheRunsCopyAndTheStoredMusicChoices) {
    g_Settings.Set(SelfRotation, 37);
    g_Settings.Set(Moving, 412);
    g_Settings.Set(Process, 700);
    for (size_t i = 0; i < kRunCheckBoxes.size(); ++i) {
        g_Settings.Set(kRunCheckBoxes[i].second, i % 2 ? 0 : 7);
        Store(kRunCheckBoxes[i].second, i % 2 ? 1 : 0);  // the store is not what is shown
    }
    Store(LoopMusic, 0);
    Store(BlackBack, 1);
    Store(UseDirectMusic, 1);

    const INT_PTR result = Run({[&](HWND d) {
        char title[64] = {};
        GetWindowTextA(d, title, sizeof title);
        EXPECT_STREQ(title, "Tessary Screen Saver(DirectX)");
        EXPECT_EQ(GetWindowLongA(d, GWL_STYLE) & WS_SYSMENU, 0) << "no close box";
        const std::vector<std::string> about = AboutLines(d);
        ASSERT_EQ(about.size(), 8u);
        EXPECT_EQ(about[0], "Tessary ver1.80");
        EXPECT_EQ(about[3], "考えます。");
        EXPECT_EQ(about[4], " ");
        EXPECT_NE(about[6].find(kHomePageAddress), std::string::npos) << about[6];

        ExpectSlider(d, IDC_SELF_ROTATION, 0, 200, 37);
        ExpectSlider(d, IDC_MOVING, 0, 500, 412);
        ExpectSlider(d, IDC_PROCESS, 200, 1000, 700);
        for (size_t i = 0; i < kRunCheckBoxes.size(); ++i)
            EXPECT_EQ(Ticked(d, kRunCheckBoxes[i].first), i % 2 == 0) << kRunCheckBoxes[i].first;
        EXPECT_FALSE(Ticked(d, IDC_LOOP_MUSIC));
        EXPECT_TRUE(Ticked(d, IDC_BLACK_BACK));
        // No DirectMusic: the box is off and cannot be ticked.
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(d, IDC_USE_DIRECT_MUSIC)));
        EXPECT_FALSE(Ticked(d, IDC_USE_DIRECT_MUSIC));
        Click(d, IDC_CLOSE);
    }});
    EXPECT_EQ(result, 0);
    EXPECT_EQ(Stored(UseDirectMusic), 0);
}

struct Value {
    SettingIndex setting;
    int32_t value;
};

TEST_F(ConfigDialogTest, EverySettingRoundTripsThroughOpenChangeAndClose) {
    // A stored set unlike the defaults, and what each becomes once every
    // control has been changed.
    const std::vector<std::pair<Value, int32_t>> kValues = {
        {{SelfRotation, 150}, 3},
        {{Moving, 20}, 499},
        {{Process, 400}, 500},
        {{FPS, 1}, 0},
        {{BigBang, 0}, 1},
        {{BlackHall, 0}, 1},
        {{Gyakuten, 0}, 1},
        {{Hanekaeri, 0}, 1},
        {{Kasoku, 1}, 0},
        {{HideCheck, 1}, 0},
        {{NiftyManagerCheck, 0}, 1},
        {{Guippy2Check, 1}, 0},
        {{InternetExpCheck, 0}, 1},
        {{NetScapeCheck, 1}, 0},
        {{ASCIInetCrewCheck, 1}, 1},
        {{PCVANNavCheck, 1}, 0},
        {{CIMCheck, 0}, 1},
        {{NonStop, 0}, 1},
        {{xScreenSize, 800}, 1024},
        {{yScreenSize, 600}, 768},
        {{ColorDepth, 16}, 32},
        {{NifTermCheck, 1}, 0},
        {{LoopMusic, 0}, 1},
        {{BlackBack, 0}, 1},
        {{UseDirectMusic, 1}, 0},
        {{BackgroundColor, Colour(0x99, 0x66, 0x33)}, Colour(1, 2, 3)},
    };
    for (const auto& v : kValues) Store(v.first.setting, v.first.value);
    PutRaw(kSettingsPath, kMidiFileValueName, REG_SZ, "音楽なし", sizeof "音楽なし");
    DirectMusicAvailable = 1;

    // Opened and closed untouched, the dialog writes back what it found.
    LoadRunSettings();
    EXPECT_EQ(Run({[](HWND d) { Click(d, IDC_CLOSE); }}), 0);
    for (const auto& v : kValues)
        EXPECT_EQ(Stored(v.first.setting), v.first.value) << SettingName(v.first.setting);
    EXPECT_EQ(Stored(data1), std::nullopt);
    EXPECT_EQ(Stored(data2), std::nullopt);
    EXPECT_EQ(StoredMidiFile(), "音楽なし");

    // Every control changed once.
    LoadRunSettings();
    recorder.chooserAnswers = {RGB(1, 2, 3)};
    const INT_PTR result = Run({[](HWND d) {
        for (const auto& box : kRunCheckBoxes) {
            if (box.first != IDC_ASCII_NET_CREW_CHECK) Click(d, box.first);
        }
        Click(d, IDC_LOOP_MUSIC);
        Click(d, IDC_BLACK_BACK);
        Click(d, IDC_USE_DIRECT_MUSIC);
        Scroll(d, IDC_SELF_ROTATION, SB_THUMBTRACK, 3);
        Scroll(d, IDC_MOVING, SB_THUMBTRACK, 499);
        Scroll(d, IDC_PROCESS, SB_LINERIGHT);
        Click(d, IDC_BACKGROUND_COLOR);
        const LRESULT mode =
            SendDlgItemMessageA(d, IDC_DISPLAY_MODE, CB_FINDSTRINGEXACT, -1,
                                reinterpret_cast<LPARAM>("1024x768 TrueColor(32)"));
        PickListEntry(d, IDC_DISPLAY_MODE, static_cast<int>(mode));
        PickListEntry(d, IDC_TUNE, 1);
        Click(d, IDC_CLOSE);
    }});
    EXPECT_EQ(result, 0);
    for (const auto& v : kValues)
        EXPECT_EQ(Stored(v.first.setting), v.second) << SettingName(v.first.setting);
    EXPECT_EQ(StoredMidiFile(), "ランダムに演奏する");
}

TEST_F(ConfigDialogTest, NothingIsWrittenBeforeCloseAndEscAsksFirst) {
    g_Settings.Set(ColorDepth, 16);  // no 256-colour warning
    recorder.chooserAnswers = {RGB(9, 9, 9)};
    const INT_PTR result = Run({
        [](HWND d) {
            Click(d, IDC_FPS);
            Click(d, IDC_BLACK_BACK);
            Scroll(d, IDC_PROCESS, SB_LINELEFT);
            Click(d, IDC_BACKGROUND_COLOR);
            PickListEntry(d, IDC_DISPLAY_MODE, 0);
            Click(d, IDC_TEST_TUNE);
            Click(d, IDC_STOP_TUNE);
            EXPECT_EQ(StoredValueCount(), 0u);
            PressEsc(d);
        },
        [this](HWND d) {
            ASSERT_EQ(recorder.boxes.size(), 1u) << "Esc asks the Internet question";
            const MessageBoxCall& box = recorder.boxes[0];
            EXPECT_EQ(box.owner, d);
            EXPECT_EQ(box.caption, "インターネットにジャンプ");
            EXPECT_EQ(box.type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
            EXPECT_NE(box.text.find(kHomePageAddress), std::string::npos) << box.text;
            // No: still open, still nothing written.
            EXPECT_TRUE(IsWindowVisible(d));
            EXPECT_EQ(StoredValueCount(), 0u);
            EXPECT_EQ(StoredMidiFile(), std::nullopt);
            Click(d, IDC_CLOSE);
        },
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(Stored(FPS), 1);
    EXPECT_EQ(Stored(BlackBack), 0);
    EXPECT_EQ(Stored(Process), 400);
    EXPECT_EQ(Stored(BackgroundColor), Colour(9, 9, 9));
}

TEST_F(ConfigDialogTest, InternetYesStopsTheMusicSavesAndEndsWithOne) {
    recorder.boxAnswer = IDYES;
    const INT_PTR result = Run({[](HWND d) {
        Click(d, IDC_KASOKU);
        Click(d, IDC_INTERNET);
    }});
    EXPECT_EQ(result, 1);
    ASSERT_FALSE(recorder.music.empty());
    EXPECT_EQ(recorder.music.front(), "stop");
    EXPECT_EQ(Stored(Kasoku), 1);
    EXPECT_EQ(Stored(Process), 500);
}

TEST_F(ConfigDialogTest, SlidersStepFromTheValueAndIgnoreTroughClicks) {
    g_Settings.Set(Process, 700);
    g_Settings.Set(SelfRotation, 0);
    g_Settings.Set(Moving, 500);
    Run({[](HWND d) {
        const HWND process = GetDlgItem(d, IDC_PROCESS);
        Scroll(d, IDC_PROCESS, SB_LINERIGHT);
        EXPECT_EQ(g_Settings[Process], 800);
        EXPECT_EQ(GetScrollPos(process, SB_CTL), 800);
        for (int i = 0; i < 3; ++i) Scroll(d, IDC_PROCESS, SB_LINERIGHT);
        EXPECT_EQ(g_Settings[Process], 1000);
        for (int code : {SB_PAGELEFT, SB_PAGERIGHT, SB_THUMBPOSITION, SB_ENDSCROLL, SB_LEFT}) {
            Scroll(d, IDC_PROCESS, code, 300);
            EXPECT_EQ(g_Settings[Process], 1000) << code;
            EXPECT_EQ(GetScrollPos(process, SB_CTL), 1000) << code;
        }
        Scroll(d, IDC_PROCESS, SB_THUMBTRACK, 735);
        EXPECT_EQ(GetScrollPos(process, SB_CTL), 735);
        Scroll(d, IDC_SELF_ROTATION, SB_LINELEFT);
        Scroll(d, IDC_MOVING, SB_LINERIGHT);
        Scroll(d, IDC_MOVING, SB_LINELEFT);
        Click(d, IDC_CLOSE);
    }});
    EXPECT_EQ(Stored(Process), 735);
    EXPECT_EQ(Stored(SelfRotation), 0);
    EXPECT_EQ(Stored(Moving), 499);

    // Hand-edited values outside the ranges: shown, stepped and saved from
    // the end the thumb stands at.
    g_Settings.Set(Process, 5000);
    g_Settings.Set(SelfRotation, -3);
    g_Settings.Set(Moving, 100000);
    Run({[](HWND d) {
        ExpectSlider(d, IDC_PROCESS, 200, 1000, 1000);
        Scroll(d, IDC_PROCESS, SB_LINELEFT);
        EXPECT_EQ(GetScrollPos(GetDlgItem(d, IDC_PROCESS), SB_CTL), 900);
        Click(d, IDC_CLOSE);
    }});
    EXPECT_EQ(Stored(Process), 900);
    EXPECT_EQ(Stored(SelfRotation), 0);
    EXPECT_EQ(Stored(Moving), 500);
}

TEST_F(ConfigDialogTest, HiddenAsciiNetCrewBoxKeepsItsValue) {
    for (int32_t value : {1, 0}) {
        g_Settings.Set(ASCIInetCrewCheck, value);
        Run({[value](HWND d) {
            EXPECT_FALSE(IsWindowVisible(GetDlgItem(d, IDC_ASCII_NET_CREW_CHECK)));
            EXPECT_EQ(Ticked(d, IDC_ASCII_NET_CREW_CHECK), value != 0);
            Click(d, IDC_CLOSE);
        }});
        EXPECT_EQ(Stored(ASCIInetCrewCheck), value);
    }
}

TEST_F(ConfigDialogTest, TestPlaysTheFieldWithTheDirectMusicBoxAndStopStops) {
    DirectMusicAvailable = 1;
    Store(UseDirectMusic, 1);
    HWND shown = nullptr;
    Run({[&](HWND d) {
        shown = d;
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(d, IDC_USE_DIRECT_MUSIC)));
        EXPECT_TRUE(Ticked(d, IDC_USE_DIRECT_MUSIC));
        Click(d, IDC_TEST_TUNE);
        Click(d, IDC_USE_DIRECT_MUSIC);
        Click(d, IDC_TEST_TUNE);
        Click(d, IDC_STOP_TUNE);
        EXPECT_EQ(recorder.music,
                  (std::vector<std::string>{"stop", "test 1", "stop", "test 0", "stop"}));
        Click(d, IDC_CLOSE);
    }});
    EXPECT_EQ(recorder.testedDialog, shown);
    EXPECT_EQ(recorder.music.back(), "stop") << "Close stops the music";
    EXPECT_EQ(Stored(UseDirectMusic), 0);
}

TEST_F(ConfigDialogTest, TuneFieldShowsTheStoredTuneOnlyWhenTheListHasIt) {
    PutRaw(kSettingsPath, kMidiFileValueName, REG_SZ, "nosuchtune", sizeof "nosuchtune");
    Run({[](HWND d) {
        EXPECT_EQ(FieldText(d, IDC_TUNE), "");
        const std::vector<std::string> tunes = ListEntries(d, IDC_TUNE);
        ASSERT_GE(tunes.size(), 2u);
        EXPECT_EQ(tunes[0], "音楽なし");
        EXPECT_EQ(tunes[1], "ランダムに演奏する");
        Click(d, IDC_CLOSE);
    }});
    EXPECT_EQ(StoredMidiFile(), "");

    // A name typed into the field is saved as typed.
    Run({[](HWND d) {
        TypeInto(d, IDC_TUNE, "mytune");
        Click(d, IDC_CLOSE);
    }});
    EXPECT_EQ(StoredMidiFile(), "mytune");
}

TEST_F(ConfigDialogTest, ColourChooserStartsFromTheColourAndWarnsOnceAt256Colours) {
    g_Settings.Set(ColorDepth, 8);
    g_Settings.Set(BackgroundColor, RGB(200, 100, 50));
    recorder.chooserAnswers = {std::nullopt, RGB(10, 20, 30), RGB(40, 50, 60)};
    HWND shown = nullptr;
    Run({[&](HWND d) {
        shown = d;
        // The depth picked in the list does not matter; the run's stored one does.
        const LRESULT hiColor = SendDlgItemMessageA(d, IDC_DISPLAY_MODE, CB_FINDSTRINGEXACT, -1,
                                                    reinterpret_cast<LPARAM>("800x600 HiColor"));
        PickListEntry(d, IDC_DISPLAY_MODE, static_cast<int>(hiColor));
        Click(d, IDC_BACKGROUND_COLOR);
        EXPECT_TRUE(recorder.boxes.empty()) << "a cancelled chooser warns of nothing";
        Click(d, IDC_BACKGROUND_COLOR);
        ASSERT_EQ(recorder.boxes.size(), 1u);
        Click(d, IDC_BACKGROUND_COLOR);
        EXPECT_EQ(recorder.boxes.size(), 1u) << "once per dialog";
        Click(d, IDC_CLOSE);
    }});
    ASSERT_EQ(recorder.boxes.size(), 1u);
    EXPECT_EQ(recorder.boxes[0].owner, shown);
    EXPECT_EQ(recorder.boxes[0].caption, "画面 256 色の場合の注意");
    EXPECT_EQ(recorder.boxes[0].type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_NE(recorder.boxes[0].text.find("近似色"), std::string::npos);

    ASSERT_EQ(recorder.chooser.size(), 3u);
    const CHOOSECOLORA& first = recorder.chooser[0];
    EXPECT_EQ(first.lStructSize, sizeof(CHOOSECOLORA));
    EXPECT_EQ(first.hwndOwner, shown);
    EXPECT_EQ(first.hInstance, nullptr);
    EXPECT_EQ(first.Flags, static_cast<DWORD>(CC_RGBINIT | CC_FULLOPEN));
    EXPECT_NE(recorder.chooserCustom0[0], 0xFFFFFFFFu) << "a table of custom colours is given";
    EXPECT_EQ(first.rgbResult, RGB(200, 100, 50));
    EXPECT_EQ(recorder.chooser[1].rgbResult, RGB(200, 100, 50)) << "cancel kept the colour";
    EXPECT_EQ(recorder.chooser[2].rgbResult, RGB(10, 20, 30));
    EXPECT_EQ(Stored(BackgroundColor), Colour(40, 50, 60));

    // Any other stored depth never warns.
    for (int32_t depth : {16, 12}) {
        recorder.boxes.clear();
        g_Settings.Set(ColorDepth, depth);
        recorder.chooserAnswers = {RGB(1, 1, 1)};
        Run({[](HWND d) {
            Click(d, IDC_BACKGROUND_COLOR);
            Click(d, IDC_CLOSE);
        }});
        EXPECT_TRUE(recorder.boxes.empty()) << depth;
    }
}

// The swatch's inside, and the pixel on its frame, in dialog coordinates.
void SwatchPoints(HWND d, POINT* inside, POINT* frame) {
    RECT r;
    GetWindowRect(GetDlgItem(d, IDC_COLOR_SWATCH), &r);
    POINT topLeft = {r.left, r.top};
    ScreenToClient(d, &topLeft);
    *frame = topLeft;
    *inside = {topLeft.x + (r.right - r.left) / 2, topLeft.y + (r.bottom - r.top) / 2};
}

// The swatch's own frame colour: black on Windows, dark grey under Wine.
bool IsFrame(COLORREF c, COLORREF fill) {
    return c != fill && c != GetSysColor(COLOR_3DFACE);
}

COLORREF PixelOf(HWND d, POINT p) {
    HDC dc = GetDC(d);
    const COLORREF c = GetPixel(dc, p.x, p.y);
    ReleaseDC(d, dc);
    return c;
}

TEST_F(ConfigDialogTest, SwatchIsPaintedInsideItsFrameAndAfterEveryRepaint) {
    g_Settings.Set(BackgroundColor, RGB(0, 128, 255));
    recorder.chooserAnswers = {RGB(255, 0, 0)};
    POINT inside, frame;
    Run({
        [&](HWND d) {
            SwatchPoints(d, &inside, &frame);
            EXPECT_EQ(PixelOf(d, inside), RGB(0, 128, 255));
            EXPECT_TRUE(IsFrame(PixelOf(d, frame), RGB(0, 128, 255))) << "the frame stays visible";
            // As when a window that covered the dialog goes away.
            RedrawWindow(d, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        },
        [&](HWND d) {
            EXPECT_EQ(PixelOf(d, inside), RGB(0, 128, 255));
            EXPECT_TRUE(IsFrame(PixelOf(d, frame), RGB(0, 128, 255)));
            Click(d, IDC_BACKGROUND_COLOR);
        },
        [&](HWND d) {
            EXPECT_EQ(PixelOf(d, inside), RGB(255, 0, 0));
            EXPECT_TRUE(IsFrame(PixelOf(d, frame), RGB(255, 0, 0)));
            Click(d, IDC_CLOSE);
        },
    });
}

}  // namespace
}  // namespace config_test
