// The tune-choice rules: the program folder, the composed paths and the MCI
// open command within their buffers, and the loop poll's interval.
#include <gtest/gtest.h>

#include <string>

#include "music/tune_rules.h"

namespace {

bool ShiftJisLeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

}  // namespace

TEST(Music, ProgramFolderIsTheModuleNameUpToItsLastBackslash) {
    const std::string deepest = "C:\\" + std::string(284, 'd');  // with the name: 299 characters
    const struct {
        std::string module, folder;
        LeadBytePredicate lead;
        bool ok;
    } rows[] = {
        {"C:\\WINDOWS\\SYSTEM\\tessary.scr", "C:\\WINDOWS\\SYSTEM", nullptr, true},
        {"tessary.scr", "tessary.scr", nullptr, true},
        {"C:\\tessary.scr", "C:", nullptr, true},
        {"C:\\saver\\\x95\x5c.scr", "C:\\saver", ShiftJisLeadByte, true},  // "表" ends in 5C
        {deepest + "\\tessary.scr", deepest, nullptr, true},
        {deepest + "\\tessary.scrX", "", nullptr, false},  // cut short by the system
        {"", "", nullptr, false},
    };
    for (const auto& r : rows) {
        char folder[kFolderBufferSize] = "stale";
        EXPECT_EQ(FolderOfModuleName(r.module.c_str(), r.module.size(), folder, r.lead), r.ok);
        EXPECT_EQ(folder, r.folder) << r.module;
    }
}

TEST(Music, PathsAndCommandsFitTheirBuffersOrAreRefused) {
    char path[kTunePathBufferSize];
    const std::string folder = "C:\\" + std::string(200, 'f');
    const std::string name(299 - folder.size() - 5, 'n');
    EXPECT_TRUE(ComposeTunePath(path, sizeof path, folder.c_str(), name.c_str(), ".mid"));
    EXPECT_EQ(path, folder + "\\" + name + ".mid");
    EXPECT_FALSE(ComposeTunePath(path, sizeof path, folder.c_str(), (name + "n").c_str(), ".mid"));
    EXPECT_STREQ(path, "");
    EXPECT_FALSE(ComposeTunePath(path, sizeof path, "", "tune", ".mid")) << "no folder, no path";

    char command[kMciCommandBufferSize];
    ASSERT_TRUE(FormatMciOpenCommand(command, "C:\\a b\\x.mid"));
    EXPECT_STREQ(command, "open \"C:\\a b\\x.mid\" type sequencer alias MUSIC");
    const std::string longest(255 - 34, 'p');
    EXPECT_TRUE(FormatMciOpenCommand(command, longest.c_str()));
    EXPECT_FALSE(FormatMciOpenCommand(command, (longest + "p").c_str()));
    EXPECT_STREQ(command, "");

    char file[] = "a.b.mid";
    StripExtension(file);
    EXPECT_STREQ(file, "a.b");
    EXPECT_TRUE(IsRandomTune("ランダムに演奏する"));
    EXPECT_FALSE(IsRandomTune("ランダム"));
    EXPECT_TRUE(TuneFileNameFits(std::string(99, 't').c_str()));
    EXPECT_FALSE(TuneFileNameFits(std::string(100, 't').c_str()));
}

TEST(Music, LoopPollComesMoreThanFiveSecondsAfterTheLastAcrossTheWrap) {
    const uint32_t rows[][3] = {{5000, 0, 0},
                                {5001, 0, 1},
                                {0xFFFFFFF0u, 0xFFFFF000u, 0},
                                {904, 0xFFFFF000u, 0},
                                {905, 0xFFFFF000u, 1}};
    for (const auto& r : rows) EXPECT_EQ(LoopPollDue(r[0], r[1]), r[2] != 0) << r[0] << " " << r[1];
}
