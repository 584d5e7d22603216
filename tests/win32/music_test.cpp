// The music against Wine's real COM and DirectMusic objects, made ready where
// Wine's own is not (its performance fails to start), with MCI recorded.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "fault.h"
#include "music/music.h"
#include "settings/settings_store.h"
#include "win32_test.h"

namespace {

using PerformanceInit = Hooked<IDirectMusicPerformance, 3, IDirectMusic**, LPDIRECTSOUND, HWND>;
using PerformanceAddPort = Hooked<IDirectMusicPerformance, 24, IDirectMusicPort*>;
using LoaderGetObject = Hooked<IDirectMusicLoader, 3, LPDMUS_OBJECTDESC, REFIID, LPVOID*>;

std::vector<std::wstring> g_mci;

class Music : public ScratchRegistry {
  protected:
    void SetUp() override {
        ScratchRegistry::SetUp();
        static bool hooked = false;
        if (!hooked) {  // hooks through objects of the kinds the music makes
            hooked = true;
            CoInitialize(nullptr);
            IDirectMusicPerformance* performance = nullptr;
            IDirectMusicLoader* loader = nullptr;
            CoCreateInstance(CLSID_DirectMusicPerformance, nullptr, CLSCTX_INPROC_SERVER,
                             IID_IDirectMusicPerformance, reinterpret_cast<void**>(&performance));
            CoCreateInstance(CLSID_DirectMusicLoader, nullptr, CLSCTX_INPROC_SERVER,
                             IID_IDirectMusicLoader, reinterpret_cast<void**>(&loader));
            ASSERT_TRUE(performance && loader);
            Install<PerformanceInit, PerformanceAddPort>(performance);
            Install<LoaderGetObject>(loader);
            performance->Release();
            loader->Release();
        }
        ResetHooks();
        g_mci.clear();
        g_Music.host.sendMciString = [](LPCWSTR command, LPWSTR, UINT, HWND callback) {
            g_mci.push_back(command + std::wstring(callback ? L" >" : L""));
            return MCIERROR(0);
        };
        MusicInit();  // Wine's own: its performance cannot start
        EXPECT_EQ(DirectMusicAvailable, 0);
    }
    void TearDown() override {
        StopMusic();
        MusicShutdown();
        ScratchRegistry::TearDown();
    }
    // The MCI open command for a file of the tune folder.
    static std::wstring Open(const std::wstring& file) {
        return L"open \"" + TuneFolder::path + L"\\" + file + L"\" type sequencer alias MUSIC";
    }
    HWND window_ = TestWindow();
};

}  // namespace

TEST_F(Music, PlaysTheStoredTuneThroughTheStoredPlayer) {
    MusicShutdown();
    PerformanceInit::Script({S_OK});
    PerformanceAddPort::Script({S_OK});
    MusicInit();
    ASSERT_EQ(DirectMusicAvailable, 1);
    const struct {
        const wchar_t* stored;          // nullptr: none
        int useDirectMusic, loads;      // DirectMusic loads tried before MCI
        std::set<std::wstring> opened;  // the tune's file, or any of them
        std::vector<std::wstring> tunes;
    } rows[] = {
        {nullptr, 1, 1, {L"ｼﾞｬｽﾞﾛﾏﾝﾃｨｯｸ.mid"}, {L"ｼﾞｬｽﾞﾛﾏﾝﾃｨｯｸ.mid"}},
        {L"音楽なし", 1, 1, {L"音楽なし.mid"}, {}},
        {L"b", 0, 0, {L"b.mid"}, {L"b.mid"}},
        {L"ランダムに演奏する", 0, 0, {L"a.mid", L"b.mid"}, {L"a.mid", L"b.mid"}},
        {L"ランダムに演奏する", 0, 0, {L"夜の歌.mid"}, {L"夜の歌.mid"}},
        {L"ランダムに演奏する", 0, 0, {L"音楽なし"}, {}},
    };
    for (const auto& r : rows) {
        TuneFolder tunes(r.tunes);
        RegDeleteKeyValueA(HKEY_CURRENT_USER, kSettings, "MidiFile");
        if (r.stored) WriteMidiFileSetting(r.stored);
        PutDword("UseDirectMusic", r.useDirectMusic);
        g_mci.clear();
        LoaderGetObject::Script();
        StartConfiguredMusic(window_);
        // Wine's loader finds no segment in an empty file: MCI plays it.
        EXPECT_EQ(LoaderGetObject::calls, r.loads) << *r.opened.begin();
        ASSERT_EQ(g_mci.size(), 3u);
        std::set<std::wstring> opened;
        for (const std::wstring& file : r.opened) opened.insert(Open(file));
        EXPECT_TRUE(g_mci[0] == L"close all" && opened.count(g_mci[1]) &&
                    g_mci[2] == L"play MUSIC from 0 notify >")
            << Utf8(g_mci[1]);
    }
}

// The end of an MCI tune starts it again when LoopMusic is on.
TEST_F(Music, RepeatsOnlyATuneThatEndedWhenLoopMusicIsOn) {
    TuneFolder tunes({});
    // clang-format off
    const struct {
        int loop;
        WPARAM code;
        size_t commands;
    } notes[] = {
        {1, MCI_NOTIFY_SUCCESSFUL, 3}, {1, MCI_NOTIFY_ABORTED, 0}, {1, MCI_NOTIFY_SUPERSEDED, 0},
        {0, MCI_NOTIFY_SUCCESSFUL, 0}};
    // clang-format on
    for (const auto& n : notes) {
        PutDword("LoopMusic", n.loop);
        g_mci.clear();
        RestartMusicOnNotify(window_, n.code);
        EXPECT_EQ(g_mci.size(), n.commands) << n.loop << " " << n.code;
    }
}
