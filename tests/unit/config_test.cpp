// The settings dialog's rules that need no window: the about line, the
// sliders and the display-mode texts and table.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "config/dialog_rules.h"
#include "config/display_modes.h"

TEST(Config, AboutLineCarriesTheReleaseNumber) {
    const struct {
        const char* line;
        size_t size;
        const char* shown;
    } rows[] = {
        {"Tessary ver%d.%02d", 500, "Tessary ver1.80"},
        {"100% %s%n ver%d.%02d (%d.%02d)", 500, "100% %s%n ver1.80 (%d.%02d)"},
        {"\x8d\x6c\x82\xa6\x82\xdc\x82\xb7", 500, "\x8d\x6c\x82\xa6\x82\xdc\x82\xb7"},
        {"Tessary ver%d.%02d", 12, "Tessary ver"},
        {"Tessary ver%d.%02d", 1, ""},
    };
    for (const auto& r : rows) {
        char out[500];
        std::memset(out, 'x', sizeof out);
        FormatAboutLine(r.line, out, r.size);
        EXPECT_STREQ(out, r.shown);
    }
}

TEST(Config, SlidersStepByTheirArrowsAndFollowTheThumb) {
    const struct {
        const SliderRange* range;
        int code, thumb, current, next;  // next -1: the code is ignored
    } rows[] = {
        {&kProcessSlider, kScrollLineRight, 0, 700, 800},
        {&kProcessSlider, kScrollLineRight, 0, 1000, 1000},
        {&kProcessSlider, kScrollLineLeft, 0, 200, 200},
        {&kProcessSlider, kScrollLineLeft, 0, 5000, 900},  // hand-edited: from the nearest end
        {&kProcessSlider, kScrollThumbTrack, 735, 500, 735},
        {&kProcessSlider, kScrollThumbTrack, 65535, 500, 1000},
        {&kSelfRotationSlider, kScrollLineLeft, 0, 0, 0},
        {&kSelfRotationSlider, kScrollLineRight, 0, 200, 200},
        {&kMovingSlider, kScrollLineRight, 0, 300, 301},
        {&kMovingSlider, kScrollLineRight, 0, 2147483647, 500},
        {&kProcessSlider, 2, 300, 700, -1},  // page left and right: trough clicks
        {&kProcessSlider, 3, 300, 700, -1},
        {&kProcessSlider, 4, 300, 700, -1},  // thumb position, end of scroll
        {&kProcessSlider, 8, 300, 700, -1},
    };
    for (const auto& r : rows) {
        int next = -1;
        ApplyScrollCode(*r.range, r.code, r.thumb, r.current, &next);
        EXPECT_EQ(next, r.next) << r.range->maximum << " code " << r.code << " at " << r.current;
    }
}

TEST(Config, DisplayModeTextsAndTable) {
    const struct {
        int w, h, bits;
        const char *entry, *stored;
    } texts[] = {
        {640, 480, 8, "640x480 256 Color", "640x480 256 Color"},
        {800, 600, 16, "800x600 HiColor", "800x600 HiColor"},
        {1024, 768, 24, "1024x768 TrueColor(24)", "1024x768 TrueColor(24)"},
        {320, 240, 32, "320x240 TrueColor(32)", "320x240 TrueColor(32)"},
        {640, 480, 15, "640x480 15 bit/pixcel", "640x480 15 bit/pixel"},
        {-2147483647 - 1, -2147483647 - 1, -2147483647 - 1,
         "-2147483648x-2147483648 -2147483648 bit/pixcel", nullptr},
    };
    char text[kModeTextSize];
    for (const auto& t : texts) {
        FormatModeText(text, sizeof text, t.w, t.h, t.bits, DepthNaming::ListEntry);
        EXPECT_STREQ(text, t.entry);
        FormatModeText(text, sizeof text, t.w, t.h, t.bits, DepthNaming::StoredMode);
        EXPECT_STREQ(text, t.stored ? t.stored : text);
    }
    DisplayModeTable table;
    table.Clear();
    for (int i = 0; i < kMaxDisplayModes; ++i) EXPECT_TRUE(table.Add(640 + i, 480, 8));
    EXPECT_FALSE(table.Add(2000, 1000, 32)) << "fifty entries at most";
    EXPECT_EQ(table.Chosen("640x480 256 Color"), &table.entries[0]);
    EXPECT_EQ(table.Chosen("640x480 256 color"), nullptr) << "case matters";
    EXPECT_EQ(table.Chosen("2000x1000 TrueColor(32)"), nullptr);
    table.entries[1].height = 0;  // an entry with a zero number is neither chosen nor listed beyond
    EXPECT_EQ(table.Chosen("641x480 256 Color"), nullptr);
    EXPECT_EQ(table.ListedCount(), kMaxDisplayModes);
    table.entries[3].width = 0;
    EXPECT_EQ(table.ListedCount(), 3);
    table.SetFallback();
    EXPECT_EQ(table.count, 1);
    ASSERT_NE(table.Chosen("640x480 256 Color"), nullptr);
    EXPECT_EQ(table.Chosen("640x480 256 Color")->bitsPerPixel, 8);
}
