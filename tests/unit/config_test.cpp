// The display-mode table beyond what Wine's own list of modes reaches.
#include <gtest/gtest.h>

#include <cstring>

#include "config/display_modes.h"

TEST(Config, ModeTableHoldsFiftyEntriesMatchedByExactText) {
    DisplayModeTable table;
    EXPECT_EQ(table.ListedCount(), 0);
    const int depths[] = {15, 8, 16, 24, 32};
    for (int i = 0; i < 50; ++i) EXPECT_TRUE(table.Add(640 + i, 480, depths[i % 5]));
    EXPECT_FALSE(table.Add(2000, 1000, 32)) << "fifty entries at most";
    const char* names[] = {"640x480 15 bit/pixcel", "641x480 256 Color", "642x480 HiColor",
                           "643x480 TrueColor(24)", "644x480 TrueColor(32)"};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(table.Chosen(names[i]), &table.entries[i]) << names[i];
    EXPECT_EQ(table.Chosen("643x480 truecolor(24)"), nullptr) << "case matters";
    table.entries[2].height = table.entries[3].bitsPerPixel = table.entries[4].width = 0;
    for (int i : {2, 3, 4}) EXPECT_EQ(table.Chosen(names[i]), nullptr) << "never with a zero";
    EXPECT_EQ(table.ListedCount(), 4);
    // A driver that cannot list its modes: 640x480 at 256 colours, and nothing before stays.
    table.SetFallback();
    EXPECT_EQ(table.ListedCount(), 1);
    EXPECT_TRUE(table.Chosen("640x480 256 Color") == table.entries && !table.Chosen(names[1]));
}
