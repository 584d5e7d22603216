// The display-mode table beyond what Wine's own list of modes reaches.
#include <gtest/gtest.h>

#include <cstring>

#include "config/display_modes.h"

TEST(Config, ModeTableHoldsFiftyEntriesMatchedByExactText) {
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
}
