// The tune-choice rules beyond what the music's tests on real folders reach:
// module names cut short, and the limits of the composed path and the MCI
// open command.
#include <gtest/gtest.h>

#include <string>

#include "music/tune_rules.h"

TEST(Music, FoldersPathsAndCommandsStayWithinTheirBuffers) {
    const std::wstring deepest = L"C:\\" + std::wstring(284, L'd');  // with the name: 299 units
    const struct {
        std::wstring module, folder;
        bool ok;
    } rows[] = {
        {L"tessary.scr", L"tessary.scr", true},
        {L"C:\\表\\セーバ\\tessary.scr", L"C:\\表\\セーバ", true},
        {deepest + L"\\tessary.scr", deepest, true},
        {deepest + L"\\tessary.scrX", L"", false},  // cut short by the system
        {L"", L"", false},
    };
    for (const auto& r : rows) {
        wchar_t folder[kFolderBufferSize] = L"stale";
        EXPECT_EQ(FolderOfModuleName(r.module.c_str(), r.module.size(), folder), r.ok);
        EXPECT_EQ(folder, r.folder);
    }
    wchar_t path[kTunePathBufferSize];
    const std::wstring name(299 - 203 - 5, L'n'), dir = L"C:\\" + std::wstring(200, L'f');
    EXPECT_TRUE(ComposeTunePath(path, kTunePathBufferSize, dir.c_str(), name.c_str(), L".mid"));
    EXPECT_EQ(path, dir + L"\\" + name + L".mid");
    EXPECT_FALSE(
        ComposeTunePath(path, kTunePathBufferSize, dir.c_str(), (name + L"n").c_str(), L".mid"));
    EXPECT_STREQ(path, L"");
    wchar_t command[kMciCommandBufferSize];
    EXPECT_TRUE(FormatMciOpenCommand(command, std::wstring(255 - 34, L'p').c_str()));
    EXPECT_FALSE(FormatMciOpenCommand(command, std::wstring(256 - 34, L'p').c_str()));
    EXPECT_STREQ(command, L"");
    EXPECT_FALSE(TuneFileNameFits(std::wstring(100, L't').c_str()));
    // The loop poll's five seconds run on across the tick count's wrap.
    EXPECT_FALSE(LoopPollDue(0xFFFFFF00u, 0xFFFFF000u));
    EXPECT_TRUE(LoopPollDue(0x100, 0xFFFF0000u));
}
