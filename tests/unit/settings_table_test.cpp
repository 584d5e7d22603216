#include "settings/settings_table.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

TEST(SettingTable, IndicesNamesAndDefaultsAreConsistent) {
    std::set<std::string> names;
    for (int i = 0; i < kSettingCount; ++i) {
        EXPECT_EQ(kSettingTable[i].index, i);
        ASSERT_NE(SettingName(i), nullptr);
        EXPECT_TRUE(names.insert(SettingName(i)).second) << "duplicate name " << SettingName(i);
    }
    EXPECT_STREQ(SettingName(Process), "Process");
    EXPECT_STREQ(SettingName(BlackHall), "BlackHall");
    EXPECT_STREQ(SettingName(NifTermCheck), "NifTermCheck");
    EXPECT_STREQ(SettingName(UseDirectMusic), "UseDirectMusic");
    EXPECT_EQ(SettingDefault(SelfRotation), 40);
    EXPECT_EQ(SettingDefault(Moving), 300);
    EXPECT_EQ(SettingDefault(Process), 500);
    EXPECT_EQ(SettingDefault(xScreenSize), 640);
    EXPECT_EQ(SettingDefault(yScreenSize), 480);
    EXPECT_EQ(SettingDefault(ColorDepth), 8);
    EXPECT_EQ(SettingDefault(Kasoku), 0);
    EXPECT_EQ(SettingDefault(NonStop), 1);
    EXPECT_EQ(SettingDefault(UseDirectMusic), 1);
}

TEST(SettingTable, OutOfRangeIndicesNameNothing) {
    EXPECT_EQ(SettingName(-1), nullptr);
    EXPECT_EQ(SettingName(kSettingCount), nullptr);
    EXPECT_EQ(SettingDefault(kSettingCount), 0);
    Settings s;
    EXPECT_EQ(s[kSettingCount], 0);
    EXPECT_EQ(s[-5], 0);
}

TEST(SettingTable, RunCopyStartsWithDefaultsAndKeepsStartupIndices) {
    Settings s;
    for (int i = 0; i < kSettingCount; ++i) EXPECT_EQ(s[i], SettingDefault(i));
    int kept = 0;
    for (int i = 0; i < kSettingCount; ++i) kept += IsStartupSetting(i);
    EXPECT_EQ(kept, 23);
    EXPECT_FALSE(IsStartupSetting(data1));
    EXPECT_FALSE(IsStartupSetting(data2));
    EXPECT_FALSE(IsStartupSetting(LoopMusic));
    EXPECT_TRUE(IsStartupSetting(BackgroundColor));
}

// Japanese texts reach the ANSI calls as Shift-JIS bytes.
TEST(ShiftJis, LiteralsAreCompiledToCodePage932) {
    const unsigned char random[] = {0x83, 0x89, 0x83, 0x93, 0x83, 0x5F, 0x83, 0x80, 0x82, 0xC9,
                                    0x89, 0x89, 0x91, 0x74, 0x82, 0xB7, 0x82, 0xE9, 0x00};
    const char* text = "ランダムに演奏する";
    ASSERT_EQ(std::strlen(text), sizeof random - 1);
    EXPECT_EQ(std::memcmp(text, random, sizeof random), 0);

    // Half-width katakana are one byte each: 11 characters, one voiced mark.
    const unsigned char jazz[] = {0xBC, 0xDE, 0xAC, 0xBD, 0xDE, 0xDB,
                                  0xCF, 0xDD, 0xC3, 0xA8, 0xAF, 0xB8};
    const char* name = "ｼﾞｬｽﾞﾛﾏﾝﾃｨｯｸ";
    ASSERT_EQ(std::strlen(name), 12u);
    EXPECT_EQ(std::memcmp(name, jazz, sizeof jazz), 0);

    // A second byte of 0x5C (the backslash) survives inside a literal.
    EXPECT_STREQ("ソ", "\x83\x5C");
}
