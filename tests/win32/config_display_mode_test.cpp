// The settings dialog's display-mode list: where its entries come from, and
// which text in the mode field makes Close store a mode.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "config_dialog_harness.h"

namespace config_test {
namespace {

using ConfigDisplayModes = ConfigDialogTest;

int IndexOf(HWND d, const char* text) {
    return static_cast<int>(SendDlgItemMessageA(d, IDC_DISPLAY_MODE, CB_FINDSTRINGEXACT, -1,
                                                reinterpret_cast<LPARAM>(text)));
}

void ExpectStoredMode(const std::optional<int32_t>& x, const std::optional<int32_t>& y,
                      const std::optional<int32_t>& depth, int32_t w, int32_t h, int32_t bpp) {
    EXPECT_EQ(x, w);
    EXPECT_EQ(y, h);
    EXPECT_EQ(depth, bpp);
}

TEST_F(ConfigDisplayModes, ListHoldsTheDriversModesAndTheFieldTheRunsMode) {
    g_Settings.Set(xScreenSize, 800);
    g_Settings.Set(yScreenSize, 600);
    g_Settings.Set(ColorDepth, 16);
    Run({[this](HWND d) {
        EXPECT_EQ(FieldText(d, IDC_DISPLAY_MODE), "800x600 HiColor");
        EXPECT_EQ(ListEntries(d, IDC_DISPLAY_MODE),
                  (std::vector<std::string>{"1024x768 256 Color", "1024x768 TrueColor(32)",
                                            "640x480 256 Color", "640x480 HiColor",
                                            "800x600 HiColor", "800x600 TrueColor(32)"}));
        // Enumerated once, through IDirectDraw2, all modes with their refresh
        // rates; both interfaces given back.
        EXPECT_EQ(recorder.directDraw2.enumerationFlags, std::vector<DWORD>{DDEDM_REFRESHRATES});
        EXPECT_FALSE(recorder.directDraw2.filterGiven);
        EXPECT_EQ(recorder.directDraw2.references, 0);
        EXPECT_EQ(recorder.directDraw.references, 0);
        Click(d, IDC_CLOSE);
    }});
    // The field equals an entry, so Close stores it.
    ExpectStoredMode(Stored(xScreenSize), Stored(yScreenSize), Stored(ColorDepth), 800, 600, 16);
}

TEST_F(ConfigDisplayModes, OddStoredDepthIsSpelledApartAndKeptUnlessAnEntryIsPicked) {
    recorder.directDraw2.modes.push_back({800, 600, 12, 60});
    g_Settings.Set(xScreenSize, 800);
    g_Settings.Set(yScreenSize, 600);
    g_Settings.Set(ColorDepth, 12);
    Run({[](HWND d) {
        EXPECT_EQ(FieldText(d, IDC_DISPLAY_MODE), "800x600 12 bit/pixel");
        EXPECT_GE(IndexOf(d, "800x600 12 bit/pixcel"), 0);
        Click(d, IDC_CLOSE);
    }});
    EXPECT_EQ(Stored(xScreenSize), std::nullopt);
    EXPECT_EQ(Stored(yScreenSize), std::nullopt);
    EXPECT_EQ(Stored(ColorDepth), std::nullopt);

    Run({[](HWND d) {
        PickListEntry(d, IDC_DISPLAY_MODE, IndexOf(d, "800x600 12 bit/pixcel"));
        Click(d, IDC_CLOSE);
    }});
    ExpectStoredMode(Stored(xScreenSize), Stored(yScreenSize), Stored(ColorDepth), 800, 600, 12);
}

TEST_F(ConfigDisplayModes, TypedTextCountsOnlyWhenItEqualsAnEntry) {
    struct Case {
        const char* typed;
        bool stored;
    };
    for (const Case& c : {Case{"1024x768 256 Color", true}, Case{"1024x768 256 color", false},
                          Case{"1024x768 256 Color ", false}}) {
        SCOPED_TRACE(c.typed);
        Store(xScreenSize, 1);
        Store(yScreenSize, 2);
        Store(ColorDepth, 3);
        Run({[&c](HWND d) {
            TypeInto(d, IDC_DISPLAY_MODE, c.typed);
            EXPECT_EQ(FieldText(d, IDC_DISPLAY_MODE), c.typed);
            Click(d, IDC_CLOSE);
        }});
        if (c.stored)
            ExpectStoredMode(Stored(xScreenSize), Stored(yScreenSize), Stored(ColorDepth), 1024,
                             768, 8);
        else
            ExpectStoredMode(Stored(xScreenSize), Stored(yScreenSize), Stored(ColorDepth), 1, 2, 3);
    }
}

TEST_F(ConfigDisplayModes, EveryRefreshRateOfAModeStoresTheSameNumbers) {
    recorder.directDraw2.modes = {
        {800, 600, 16, 60}, {640, 480, 8, 60}, {800, 600, 16, 72}, {800, 600, 16, 85}};
    for (int nth = 0; nth < 3; ++nth) {
        SCOPED_TRACE(nth);
        Store(xScreenSize, 1);
        Store(yScreenSize, 2);
        Store(ColorDepth, 3);
        Run({[nth](HWND d) {
            const std::vector<std::string> entries = ListEntries(d, IDC_DISPLAY_MODE);
            ASSERT_EQ(std::count(entries.begin(), entries.end(), "800x600 HiColor"), 3);
            const int first = IndexOf(d, "800x600 HiColor");
            PickListEntry(d, IDC_DISPLAY_MODE, first + nth);
            Click(d, IDC_CLOSE);
        }});
        ExpectStoredMode(Stored(xScreenSize), Stored(yScreenSize), Stored(ColorDepth), 800, 600,
                         16);
    }
}

TEST_F(ConfigDisplayModes, WithoutDirectDrawOrIDirectDraw2OrBeyondFiftyModes) {
    // No DirectDraw: an empty list, the run's mode in the field, no mode saved.
    recorder.directDrawFails = true;
    Run({[](HWND d) {
        EXPECT_TRUE(ListEntries(d, IDC_DISPLAY_MODE).empty());
        EXPECT_EQ(FieldText(d, IDC_DISPLAY_MODE), "640x480 256 Color");
        Click(d, IDC_CLOSE);
    }});
    EXPECT_EQ(Stored(xScreenSize), std::nullopt);
    EXPECT_EQ(Stored(ColorDepth), std::nullopt);

    // No IDirectDraw2: the one VGA entry, which can be chosen.
    recorder.directDrawFails = false;
    recorder.directDraw.second = nullptr;
    g_Settings.Set(xScreenSize, 1024);
    g_Settings.Set(yScreenSize, 768);
    g_Settings.Set(ColorDepth, 32);
    Run({[this](HWND d) {
        EXPECT_EQ(ListEntries(d, IDC_DISPLAY_MODE), std::vector<std::string>{"640x480 256 Color"});
        EXPECT_EQ(recorder.directDraw.references, 0);
        PickListEntry(d, IDC_DISPLAY_MODE, 0);
        Click(d, IDC_CLOSE);
    }});
    ExpectStoredMode(Stored(xScreenSize), Stored(yScreenSize), Stored(ColorDepth), 640, 480, 8);

    // Sixty modes: the enumeration is stopped after the fiftieth.
    recorder.directDraw.second = &recorder.directDraw2;
    recorder.directDraw2.modes.clear();
    for (DWORD i = 0; i < 60; ++i) recorder.directDraw2.modes.push_back({320 + i, 240, 16, 60});
    Run({[this](HWND d) {
        EXPECT_EQ(ListEntries(d, IDC_DISPLAY_MODE).size(), 50u);
        EXPECT_EQ(recorder.directDraw2.callbacks, 51);
        EXPECT_GE(IndexOf(d, "369x240 HiColor"), 0);
        EXPECT_LT(IndexOf(d, "370x240 HiColor"), 0);
        Click(d, IDC_CLOSE);
    }});
}

TEST_F(ConfigDisplayModes, WinesOwnDriverGivesEntriesThatStoreTheirNumbers) {
    g_ConfigDialog.host.directDrawCreate = DirectDrawCreate;
    std::string picked;
    Run({[&picked](HWND d) {
        const std::vector<std::string> entries = ListEntries(d, IDC_DISPLAY_MODE);
        ASSERT_FALSE(entries.empty());
        picked = entries.back();
        PickListEntry(d, IDC_DISPLAY_MODE, static_cast<int>(entries.size()) - 1);
        Click(d, IDC_CLOSE);
    }});
    int w = 0, h = 0, consumed = 0;
    ASSERT_EQ(std::sscanf(picked.c_str(), "%dx%d %n", &w, &h, &consumed), 2) << picked;
    const std::string depth = picked.substr(consumed);
    const int bpp = depth == "256 Color"       ? 8
                    : depth == "HiColor"       ? 16
                    : depth == "TrueColor(24)" ? 24
                    : depth == "TrueColor(32)" ? 32
                                               : -1;
    ASSERT_NE(bpp, -1) << picked;
    ExpectStoredMode(Stored(xScreenSize), Stored(yScreenSize), Stored(ColorDepth), w, h, bpp);
}

}  // namespace
}  // namespace config_test
