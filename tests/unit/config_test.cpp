// The settings dialog's rules beyond what the real dialog's tests reach:
// slider ends and hand-edited values, and the display-mode table.
#include <gtest/gtest.h>

#include <cstring>

#include "config/dialog_rules.h"
#include "config/display_modes.h"

TEST(Config, SliderEndsAndTheModeTable) {
    const struct {
        const SliderRange* range;
        int code, thumb, current, next;  // next -1: the code is ignored
    } rows[] = {
        {&kProcessSlider, kScrollLineRight, 0, 1000, 1000},
        {&kProcessSlider, kScrollLineLeft, 0, 200, 200},
        {&kProcessSlider, kScrollLineLeft, 0, 5000, 900},
        {&kProcessSlider, kScrollThumbTrack, 65535, 0, 1000},
        {&kSelfRotationSlider, kScrollLineLeft, 0, 0, 0},
        {&kMovingSlider, kScrollLineRight, 0, 500, 500},
        {&kProcessSlider, 2, 300, 700, -1},
    };
    for (const auto& r : rows) {
        int next = -1;
        ApplyScrollCode(*r.range, r.code, r.thumb, r.current, &next);
        EXPECT_EQ(next, r.next) << r.range->maximum << " code " << r.code << " at " << r.current;
    }
    DisplayModeTable table;
    table.Clear();
    for (int i = 0; i < kMaxDisplayModes; ++i) EXPECT_TRUE(table.Add(640 + i, 480, i ? 24 : 15));
    EXPECT_FALSE(table.Add(2000, 1000, 32)) << "fifty entries at most";
    EXPECT_STREQ(table.entries[0].text, "640x480 15 bit/pixcel");
    EXPECT_EQ(table.Chosen("641x480 TrueColor(24)"), &table.entries[1]);
    EXPECT_EQ(table.Chosen("641x480 truecolor(24)"), nullptr) << "case matters";
    table.entries[1].height = 0;
    EXPECT_EQ(table.Chosen("641x480 TrueColor(24)"), nullptr) << "never an entry with a zero";
    table.entries[3].width = 0;
    EXPECT_EQ(table.ListedCount(), 3);
    table.SetFallback();
    ASSERT_EQ(table.count, 1);
    EXPECT_EQ(table.Chosen("640x480 256 Color"), &table.entries[0]);
}
