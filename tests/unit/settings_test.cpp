// The registry value names and defaults, written out here once more by hand:
// a misspelt name would silently lose a user's setting.
#include <gtest/gtest.h>

#include <cstring>

#include "settings/settings_table.h"

TEST(Settings, NamesDefaultsAndWhenTheyAreRead) {
    struct {
        const char* name;
        int32_t value;
        bool startup;
    } table[] = {
        // clang-format off
        {"SelfRotation", 40, true}, {"Moving", 300, true}, {"Process", 500, true}, {"FPS", 0, true},
        {"BigBang", 1, true}, {"BlackHall", 1, true}, {"Gyakuten", 1, true}, {"Hanekaeri", 1, true},
        {"Kasoku", 0, true}, {"HideCheck", 0, true}, {"NiftyManagerCheck", 0, true},
        {"Guippy2Check", 0, true}, {"InternetExpCheck", 0, true}, {"NetScapeCheck", 0, true},
        {"ASCIInetCrewCheck", 0, true}, {"PCVANNavCheck", 0, true}, {"CIMCheck", 0, true},
        {"data1", 0, false}, {"data2", 0, false}, {"NonStop", 1, true}, {"xScreenSize", 640, true},
        {"yScreenSize", 480, true}, {"ColorDepth", 8, true}, {"NifTermCheck", 0, true},
        {"BackgroundColor", 0, true}, {"LoopMusic", 1, false}, {"BlackBack", 1, false},
        {"UseDirectMusic", 1, false},
        // clang-format on
    };
    static_assert(sizeof table / sizeof table[0] == kSettingCount);
    const Settings run;
    for (int i = 0; i < kSettingCount; ++i) {
        EXPECT_STREQ(SettingName(i), table[i].name) << i;
        EXPECT_EQ(SettingDefault(i), table[i].value) << i;
        EXPECT_EQ(run[i], table[i].value) << i;
        EXPECT_EQ(IsStartupSetting(i), table[i].startup) << i;
    }
    EXPECT_STREQ(kMidiFileValueName, "MidiFile");
    EXPECT_EQ(SettingName(kSettingCount), nullptr);
    EXPECT_EQ(SettingName(-1), nullptr);
    EXPECT_EQ(run[kSettingCount], 0);
}
