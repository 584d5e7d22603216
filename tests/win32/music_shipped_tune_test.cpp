// The build puts the shipped tune beside the programs; the saver's own path
// composition finds it there by its Shift-JIS name, and so does the system's
// MCI through the default host.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "music/music.h"
#include "music/tune_rules.h"

namespace {

TEST(MusicShippedTune, LiesBesideTheProgramWhereMciFindsIt) {
    if (GetACP() != 932) GTEST_SKIP() << "the tune's file name needs code page 932";
    g_Music = MusicState();  // the system's own module file name and MCI
    char programFolder[kFolderBufferSize];
    GetProgramFolder(programFolder);

    char path[kTunePathBufferSize];
    ASSERT_TRUE(ComposeTunePath(path, sizeof path, programFolder, kDefaultTuneName, ".mid"));
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    char header[4] = {};
    DWORD read = 0;
    ReadFile(file, header, sizeof header, &read, nullptr);
    CloseHandle(file);
    EXPECT_EQ(std::string(header, read), "MThd");

    // Without a MIDI device the open may fail, but never for want of the file.
    char missing[kTunePathBufferSize];
    ASSERT_TRUE(ComposeTunePath(missing, sizeof missing, programFolder, kNoMusicTuneName, ".mid"));
    char command[kMciCommandBufferSize];
    ASSERT_TRUE(FormatMciOpenCommand(command, missing));
    EXPECT_EQ(g_Music.host.sendMciString(command, nullptr, 0, nullptr), MCIERR_FILE_NOT_FOUND);
    ASSERT_TRUE(FormatMciOpenCommand(command, path));
    EXPECT_NE(g_Music.host.sendMciString(command, nullptr, 0, nullptr), MCIERR_FILE_NOT_FOUND);
    EXPECT_TRUE(StopMusic());
}

}  // namespace
