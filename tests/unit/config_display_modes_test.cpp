// The settings dialog's display-mode table: the texts it shows and how a
// text in the mode field is matched back to the numbers that are stored.
#include "config/display_modes.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

namespace {

std::string ModeText(int32_t w, int32_t h, int32_t bpp, DepthNaming naming) {
    char text[kModeTextSize];
    FormatModeText(text, sizeof text, w, h, bpp, naming);
    return text;
}

TEST(ConfigModeText, NamesTheFourDepthsAndSpellsOthersByTheirUse) {
    for (DepthNaming naming : {DepthNaming::ListEntry, DepthNaming::StoredMode}) {
        EXPECT_EQ(ModeText(640, 480, 8, naming), "640x480 256 Color");
        EXPECT_EQ(ModeText(800, 600, 16, naming), "800x600 HiColor");
        EXPECT_EQ(ModeText(1024, 768, 24, naming), "1024x768 TrueColor(24)");
        EXPECT_EQ(ModeText(1280, 1024, 32, naming), "1280x1024 TrueColor(32)");
    }
    EXPECT_EQ(ModeText(640, 480, 12, DepthNaming::ListEntry), "640x480 12 bit/pixcel");
    EXPECT_EQ(ModeText(640, 480, 12, DepthNaming::StoredMode), "640x480 12 bit/pixel");
    EXPECT_EQ(ModeText(640, 480, 0, DepthNaming::StoredMode), "640x480 0 bit/pixel");
}

TEST(ConfigModeText, HandEditedExtremesFitTheEntryWhole) {
    // The widest possible text still fits an entry, untruncated.
    const std::string text = ModeText(INT_MIN, INT_MIN, INT_MIN, DepthNaming::ListEntry);
    EXPECT_EQ(text, "-2147483648x-2147483648 -2147483648 bit/pixcel");
    EXPECT_LT(text.size(), static_cast<size_t>(kModeTextSize));

    char small[8];
    std::memset(small, 'x', sizeof small);
    FormatModeText(small, sizeof small, 1024, 768, 32, DepthNaming::ListEntry);
    EXPECT_STREQ(small, "1024x76");
}

TEST(ConfigModeTable, HoldsFiftyEntriesAndRefusesTheNext) {
    DisplayModeTable table;
    for (int i = 0; i < kMaxDisplayModes; ++i) ASSERT_TRUE(table.Add(320 + i, 200, 8)) << i;
    EXPECT_FALSE(table.Add(4000, 3000, 32));
    EXPECT_EQ(table.count, kMaxDisplayModes);
    EXPECT_STREQ(table.entries[49].text, "369x200 256 Color");
    EXPECT_EQ(table.ListedCount(), kMaxDisplayModes);

    table.Clear();
    EXPECT_EQ(table.count, 0);
    EXPECT_EQ(table.ListedCount(), 0);
    EXPECT_EQ(table.Chosen("320x200 256 Color"), nullptr) << "a cleared table offers nothing";
}

TEST(ConfigModeTable, EntryWithAZeroNumberIsNeverChosenNorListedBeyond) {
    DisplayModeTable table;
    table.Add(640, 480, 8);
    table.Add(0, 0, 8);  // a mode a driver reported without a size
    table.Add(800, 600, 0);
    table.Add(800, 600, 16);
    EXPECT_EQ(table.ListedCount(), 1);
    EXPECT_EQ(table.Chosen("0x0 256 Color"), nullptr);
    EXPECT_EQ(table.Chosen("800x600 0 bit/pixcel"), nullptr);
    EXPECT_NE(table.Chosen("800x600 HiColor"), nullptr);
}

}  // namespace
