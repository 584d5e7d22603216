// The tune-choice rules beyond what the music's tests on real folders reach:
// module names cut short or with two-byte characters, and the limits of the
// composed path and the MCI open command.
#include <gtest/gtest.h>

#include <string>

#include "music/tune_rules.h"

TEST(Music, FoldersPathsAndCommandsStayWithinTheirBuffers) {
    const std::string deepest = "C:\\" + std::string(284, 'd');  // with the name: 299 characters
    const struct {
        std::string module, folder;
        bool twoByte, ok;
    } rows[] = {
        {"tessary.scr", "tessary.scr", false, true},
        {"C:\\saver\\\x95\x5c.scr", "C:\\saver", true, true},  // "表" ends in a backslash byte
        {deepest + "\\tessary.scr", deepest, false, true},
        {deepest + "\\tessary.scrX", "", false, false},  // cut short by the system
        {"", "", false, false},
    };
    for (const auto& r : rows) {
        char folder[kFolderBufferSize] = "stale";
        auto lead = [](unsigned char b) { return (b >= 0x81 && b <= 0x9F) || b >= 0xE0; };
        EXPECT_EQ(FolderOfModuleName(r.module.c_str(), r.module.size(), folder,
                                     r.twoByte ? +lead : nullptr),
                  r.ok);
        EXPECT_EQ(folder, r.folder) << r.module;
    }
    char path[kTunePathBufferSize];
    const std::string name(299 - 203 - 5, 'n'), dir = "C:\\" + std::string(200, 'f');
    EXPECT_TRUE(ComposeTunePath(path, sizeof path, dir.c_str(), name.c_str(), ".mid"));
    EXPECT_FALSE(ComposeTunePath(path, sizeof path, dir.c_str(), (name + "n").c_str(), ".mid"));
    EXPECT_STREQ(path, "");
    char command[kMciCommandBufferSize];
    EXPECT_TRUE(FormatMciOpenCommand(command, std::string(255 - 34, 'p').c_str()));
    EXPECT_FALSE(FormatMciOpenCommand(command, std::string(256 - 34, 'p').c_str()));
    EXPECT_STREQ(command, "");
    EXPECT_FALSE(TuneFileNameFits(std::string(100, 't').c_str()));
    // The loop poll's five seconds run on across the tick count's wrap.
    EXPECT_FALSE(LoopPollDue(0xFFFFFF00u, 0xFFFFF000u));
    EXPECT_TRUE(LoopPollDue(0x100, 0xFFFF0000u));
}
