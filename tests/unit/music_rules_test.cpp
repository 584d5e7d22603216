// The tune-choice rules: the Shift-JIS bytes of the fixed names, the program
// folder, the open command's limit and the poll interval. Paths and names
// meet their limits in the tests on real folders under Wine.
#include "music/tune_rules.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

std::string Bytes(const char* text) {
    std::string hex;
    for (const char* p = text; *p != '\0'; ++p) {
        char two[3];
        std::snprintf(two, sizeof two, "%02X", static_cast<unsigned char>(*p));
        hex += two;
    }
    return hex;
}

bool IsShiftJisLeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

std::string Folder(const std::string& moduleName, LeadBytePredicate isLeadByte = nullptr) {
    char folder[kFolderBufferSize];
    FolderOfModuleName(moduleName.c_str(), moduleName.size(), folder, isLeadByte);
    return folder;
}

TEST(MusicTuneNames, AreTheShiftJisBytesTheRegistryAndFileSystemSee) {
    EXPECT_EQ(Bytes(kDefaultTuneName), "BCDEACBDDEDBCFDDC3A8AFB8");
    EXPECT_EQ(Bytes(kRandomTuneName), "83898393835F838082C98989917482B782E9");
    EXPECT_EQ(Bytes(kNoMusicTuneName), "89B98A7982C882B5");
    EXPECT_TRUE(IsRandomTune(kRandomTuneName));
    EXPECT_FALSE(IsRandomTune(kDefaultTuneName));
    EXPECT_FALSE(IsRandomTune("ランダム"));
}

TEST(MusicProgramFolder, IsTheModuleNameUpToItsLastBackslash) {
    EXPECT_EQ(Folder("C:\\WINDOWS\\SYSTEM\\tessary.scr"), "C:\\WINDOWS\\SYSTEM");
    EXPECT_EQ(Folder("tessary.scr"), "tessary.scr");
    EXPECT_EQ(Folder("C:\\tessary.scr"), "C:");
    // "表" is 95 5C in Shift-JIS: its second byte is no separator.
    const std::string kanji = "C:\\saver\\表.scr";
    EXPECT_EQ(Folder(kanji, IsShiftJisLeadByte), "C:\\saver");
    EXPECT_EQ(Folder(kanji), "C:\\saver\\\x95");
}

TEST(MusicProgramFolder, IsEmptyWhenTheModuleNameWasCutShortOrUnread) {
    const std::string longest = "C:\\" + std::string(284, 'd') + "\\tessary.scr";  // 299
    ASSERT_EQ(longest.size(), kFolderBufferSize - 1);
    EXPECT_EQ(Folder(longest), "C:\\" + std::string(284, 'd'));
    char folder[kFolderBufferSize] = "stale";
    EXPECT_FALSE(FolderOfModuleName(longest.c_str(), kFolderBufferSize, folder, nullptr));
    EXPECT_STREQ(folder, "");
    EXPECT_FALSE(FolderOfModuleName("", 0, folder, nullptr));
}

TEST(MusicTunePath, FitsUpToTwoHundredNinetyNineCharactersAndNeedsAFolder) {
    char path[kTunePathBufferSize];
    const std::string folder = "C:\\" + std::string(200, 'f');
    const std::string name(299 - folder.size() - 5, 'n');
    EXPECT_TRUE(ComposeTunePath(path, sizeof path, folder.c_str(), name.c_str(), ".mid"));
    EXPECT_EQ(path, folder + "\\" + name + ".mid");
    EXPECT_FALSE(ComposeTunePath(path, sizeof path, folder.c_str(), (name + "n").c_str(), ".mid"));
    EXPECT_STREQ(path, "");
    EXPECT_FALSE(ComposeTunePath(path, sizeof path, "", "tune", ".mid"));
}

TEST(MusicOpenCommand, QuotesThePathAndStopsShortOfTwoHundredFiftySixCharacters) {
    char command[kMciCommandBufferSize];
    ASSERT_TRUE(FormatMciOpenCommand(command, "C:\\a b\\x.mid"));
    EXPECT_STREQ(command, "open \"C:\\a b\\x.mid\" type sequencer alias MUSIC");

    const std::string longest(255 - 34, 'p');
    EXPECT_TRUE(FormatMciOpenCommand(command, longest.c_str()));
    EXPECT_EQ(std::string(command).size(), 255u);
    EXPECT_FALSE(FormatMciOpenCommand(command, (longest + "p").c_str()));
    EXPECT_STREQ(command, "");
}

TEST(MusicLoopPoll, ComesOnlyMoreThanFiveSecondsAfterTheLastAcrossTheWrap) {
    EXPECT_FALSE(LoopPollDue(5000, 0));
    EXPECT_TRUE(LoopPollDue(5001, 0));
    EXPECT_FALSE(LoopPollDue(1005000, 1000000));
    EXPECT_TRUE(LoopPollDue(1005001, 1000000));
    // Near the end of the tick count the sum wraps to a small number, so the
    // first tick after the wrap polls early (once in 49.7 days).
    EXPECT_TRUE(LoopPollDue(0xFFFFFFF0u, 0xFFFFF000u));
    EXPECT_FALSE(LoopPollDue(904, 0xFFFFF000u));
    EXPECT_TRUE(LoopPollDue(905, 0xFFFFF000u));
}

}  // namespace
