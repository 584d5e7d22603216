// The choice of tune on real folders: the stored, default and random names,
// the dialog's tune list and Test button, deep folders and long names.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "animation/random_source.h"
#include "music_fixture.h"

namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

// A window holding a tune combo box like the settings dialog's.
class TuneDialog {
  public:
    TuneDialog() {
        const HINSTANCE instance = GetModuleHandleA(nullptr);
        window_ = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr,
                                  instance, nullptr);
        combo_ =
            CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | CBS_DROPDOWN | WS_VSCROLL, 0, 0, 200, 150,
                            window_, reinterpret_cast<HMENU>(kTuneComboId), instance, nullptr);
    }
    ~TuneDialog() { DestroyWindow(window_); }

    HWND window() const { return window_; }
    bool Ready() const { return window_ != nullptr && combo_ != nullptr; }

    std::vector<std::string> Entries() const {
        std::vector<std::string> entries;
        const LRESULT count = SendMessageA(combo_, CB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            char text[300] = {};
            SendMessageA(combo_, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
            entries.push_back(text);
        }
        return entries;
    }
    LRESULT Selected() const { return SendMessageA(combo_, CB_GETCURSEL, 0, 0); }
    std::string Text() const {
        char text[300] = {};
        GetWindowTextA(combo_, text, sizeof text);
        return text;
    }
    void Type(const std::string& text) const { SetWindowTextA(combo_, text.c_str()); }

  private:
    HWND window_ = nullptr;
    HWND combo_ = nullptr;
};

// A clock reading whose seeding makes the random source draw `k` first
// among `count`.
uint32_t SecondsDrawing(int k, int count) {
    for (uint32_t s = 1000;; ++s) {
        RandomSource r;
        r.Seed(s);
        if (r.Draw(count) == k) return s;
    }
}

// Files (not folders) of `folder` matching *.mid, in the file system's order.
std::vector<std::string> MidFilesInOrder(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*.mid").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

class MusicTunes : public MusicFixture {
  protected:
    void SetUp() override {
        MusicFixture::SetUp();
        ASSERT_TRUE(folder.Exists());
        RunFrom(folder.path());
    }

    // The path of the file that the last start opened, or "" for none.
    std::string Opened() const {
        for (const MciCall& call : mci) {
            if (call.command.rfind("open \"", 0) == 0)
                return call.command.substr(6, call.command.find('"', 6) - 6);
        }
        return "";
    }
    std::string Start(HWND window = nullptr) {
        mci.clear();
        StartConfiguredMusic(window);
        return Opened();
    }
    std::string In(const std::string& name) const { return folder.path() + "\\" + name; }

    TempFolder folder;
};

TEST_F(MusicTunes, TheStoredNameOrElseTheDefaultIsPlayedFromTheProgramFolder) {
    const HWND window = reinterpret_cast<HWND>(0x77);
    mci.clear();
    EXPECT_TRUE(StartConfiguredMusic(window));
    EXPECT_EQ(Commands(), MciStart(In(std::string(kDefaultTuneName) + ".mid")));
    EXPECT_EQ(mci.back().callback, window);

    WriteMidiFileSetting("Nocturne");
    EXPECT_EQ(Start(), In("Nocturne.mid"));
    // "No music" is no special case: it names a file that is normally absent.
    WriteMidiFileSetting(kNoMusicTuneName);
    EXPECT_EQ(Start(), In(std::string(kNoMusicTuneName) + ".mid"));
}

TEST_F(MusicTunes, RandomPlayDrawsAmongTheFolderTunesAtEveryStartAndRepeat) {
    folder.AddFolder("0.mid");  // first in the usual order, yet no tune
    for (const char* name : {"a.mid", "b.mid", "c.mid", "notes.txt"}) folder.AddFile(name);
    std::vector<std::string> order = MidFilesInOrder(folder.path());
    ASSERT_EQ(order.size(), 3u);
    WriteMidiFileSetting(kRandomTuneName);
    WriteSetting(LoopMusic, 1);

    // The first start, then two repeats: each re-seeds from its own clock
    // reading and draws once, so each of the three can come up.
    seconds = SecondsDrawing(2, 3);
    EXPECT_EQ(Start(), In(order[2]));
    RandomSource expected;
    expected.Seed(seconds);
    expected.Next();
    EXPECT_EQ(g_Random.state, expected.state);
    for (int k : {0, 1}) {
        seconds = SecondsDrawing(k, 3);
        mci.clear();
        RestartMusicOnNotify(nullptr, MCI_NOTIFY_SUCCESSFUL);
        EXPECT_EQ(Opened(), In(order[k]));
    }

    char name[kTuneNameBufferSize];
    seconds = SecondsDrawing(1, 3);
    EXPECT_EQ(PickRandomTune(name), 1);
    EXPECT_EQ(name, order[1]);
}

TEST_F(MusicTunes, RandomPlayWithoutTunesNamesNoMusicWithoutExtension) {
    folder.AddFolder("x.mid");
    folder.AddFile("notes.txt");
    WriteMidiFileSetting(kRandomTuneName);
    g_Random.Seed(77);
    EXPECT_EQ(Start(), In(kNoMusicTuneName));
    EXPECT_EQ(g_Random.state, 77u) << "no tune, no draw";

    RunFrom(folder.path() + "\\missing");
    char name[kTuneNameBufferSize];
    EXPECT_EQ(PickRandomTune(name), 0);
    EXPECT_STREQ(name, kNoMusicTuneName);
}

TEST_F(MusicTunes, ListOffersTheFixedEntriesThenTheFolderTunesAndSelectsTheStoredOne) {
    for (const char* name :
         {"Nocturne.mid", "ｼﾞｬｽﾞﾛﾏﾝﾃｨｯｸ.mid", "音楽会.mid", "a.b.mid", "notes.txt"})
        folder.AddFile(name);
    folder.AddFolder("dir.mid");
    std::vector<std::string> expected = {kNoMusicTuneName, kRandomTuneName};
    for (std::string name : MidFilesInOrder(folder.path()))
        expected.push_back(name.substr(0, name.rfind('.')));
    ASSERT_EQ(expected.size(), 6u);
    const auto at = [&](const std::string& entry) {
        return std::find(expected.begin(), expected.end(), entry) - expected.begin();
    };

    {
        TuneDialog dialog;
        ASSERT_TRUE(dialog.Ready());
        FillTuneList(dialog.window());
        EXPECT_EQ(dialog.Entries(), expected);
        EXPECT_EQ(dialog.Selected(), at(kDefaultTuneName));
        EXPECT_EQ(dialog.Text(), kDefaultTuneName);
    }
    {
        WriteMidiFileSetting("noct");  // a prefix, in other case
        TuneDialog dialog;
        FillTuneList(dialog.window());
        EXPECT_EQ(dialog.Selected(), at("Nocturne"));
        EXPECT_EQ(dialog.Text(), "Nocturne");
    }
    {
        // The search starts after the first entry, so "no music" comes last.
        WriteMidiFileSetting("音楽");
        TuneDialog dialog;
        FillTuneList(dialog.window());
        EXPECT_EQ(dialog.Selected(), at("音楽会"));
    }
    {
        WriteMidiFileSetting("Serenade");
        TuneDialog dialog;
        FillTuneList(dialog.window());
        EXPECT_EQ(dialog.Selected(), CB_ERR);
        EXPECT_EQ(dialog.Text(), "");
    }
}

TEST_F(MusicTunes, TestPlaysTheFieldsTextAndNotifiesTheDialog) {
    for (const char* name : {"a.mid", "b.mid"}) folder.AddFile(name);
    TuneDialog dialog;
    ASSERT_TRUE(dialog.Ready());
    WriteMidiFileSetting("Stored");

    dialog.Type("Typed by hand");
    EXPECT_TRUE(TestMusicSelection(dialog.window(), 1));
    EXPECT_EQ(Opened(), In("Typed by hand.mid"));
    EXPECT_EQ(mci.back().callback, dialog.window());

    dialog.Type(kRandomTuneName);
    seconds = SecondsDrawing(1, 2);
    mci.clear();
    TestMusicSelection(dialog.window(), 0);
    EXPECT_EQ(Opened(), In(MidFilesInOrder(folder.path())[1]));
}

// Deep program folders and long names: the search works from any folder the
// system can hold, names that do not fit the name buffer are not offered,
// and a path too long to open plays nothing (as a missing file would).
using MusicDeepFolder = MusicTunes;

TEST_F(MusicDeepFolder, FoldersBeyondNinetyThreeCharactersAreSearchedLikeAnyOther) {
    TempFolder deep(150);
    ASSERT_TRUE(deep.Exists());
    ASSERT_GE(deep.path().size(), 150u);
    deep.AddFile("deep.mid");
    RunFrom(deep.path());

    WriteMidiFileSetting(kRandomTuneName);
    mci.clear();
    StartConfiguredMusic(nullptr);
    EXPECT_EQ(Opened(), deep.path() + "\\deep.mid");

    WriteMidiFileSetting("deep");
    TuneDialog dialog;
    ASSERT_TRUE(dialog.Ready());
    FillTuneList(dialog.window());
    EXPECT_THAT(dialog.Entries(), ElementsAre(kNoMusicTuneName, kRandomTuneName, "deep"));
    EXPECT_EQ(dialog.Selected(), 2);
}

TEST_F(MusicDeepFolder, FileNamesOfAHundredCharactersAreNeitherListedNorPicked) {
    const std::string fits = std::string(95, 'f') + ".mid";     // 99 characters
    const std::string tooLong = std::string(96, 'l') + ".mid";  // 100 characters
    folder.AddFile(fits);
    folder.AddFile(tooLong);
    folder.AddFile("ok.mid");

    TuneDialog dialog;
    ASSERT_TRUE(dialog.Ready());
    FillTuneList(dialog.window());
    const std::vector<std::string> entries = dialog.Entries();
    EXPECT_EQ(entries.size(), 4u);
    EXPECT_EQ(std::count(entries.begin(), entries.end(), std::string(95, 'f')), 1);
    EXPECT_EQ(std::count(entries.begin(), entries.end(), "ok"), 1);

    WriteMidiFileSetting(kRandomTuneName);
    std::set<std::string> picked;
    for (int k : {0, 1}) {
        seconds = SecondsDrawing(k, 2);
        picked.insert(Start());
    }
    EXPECT_EQ(picked, (std::set<std::string>{In(fits), In("ok.mid")}));
}

TEST_F(MusicDeepFolder, PathsTooLongToOpenOrToComposePlayNothing) {
    TempFolder deep(230);
    ASSERT_TRUE(deep.Exists());
    RunFrom(deep.path());
    // 230 + "\" + 12 + ".mid" fits the path but not the 255-character open
    // command: the old tune is closed and nothing is opened.
    mci.clear();
    EXPECT_FALSE(StartConfiguredMusic(nullptr));
    EXPECT_THAT(Commands(), ElementsAre("close all"));

    // A stored name that takes the path to 300 characters or more.
    const std::string name(300 - deep.path().size() - 5, 'n');
    WriteMidiFileSetting(name.c_str());
    mci.clear();
    EXPECT_FALSE(StartConfiguredMusic(nullptr));
    EXPECT_THAT(Commands(), ElementsAre("close all"));
}

TEST_F(MusicDeepFolder, AProgramNameTheSystemCutShortGivesNoFolderAndNoMusic) {
    folder.AddFile("a.mid");
    moduleName = folder.path() + "\\" + std::string(300, 's') + ".scr";
    char programFolder[kFolderBufferSize] = "stale";
    GetProgramFolder(programFolder);
    EXPECT_STREQ(programFolder, "");

    mci.clear();
    EXPECT_FALSE(StartConfiguredMusic(nullptr));
    EXPECT_THAT(Commands(), ElementsAre("close all"));
    WriteMidiFileSetting(kRandomTuneName);
    char name[kTuneNameBufferSize];
    EXPECT_EQ(PickRandomTune(name), 0);

    TuneDialog dialog;
    ASSERT_TRUE(dialog.Ready());
    FillTuneList(dialog.window());
    EXPECT_THAT(dialog.Entries(), ElementsAre(kNoMusicTuneName, kRandomTuneName));
}

}  // namespace
