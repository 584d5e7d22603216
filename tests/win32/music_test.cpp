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

// A segment state that reports the play position the test gives it.
struct State : IDirectMusicSegmentState {
    MUSIC_TIME seek = 0;
    STDMETHOD(QueryInterface)(REFIID, void**) override { return E_NOINTERFACE; }
    STDMETHOD_(ULONG, AddRef)() override { return 2; }
    STDMETHOD_(ULONG, Release)() override { return 1; }
    STDMETHOD(GetRepeats)(DWORD*) override { return E_NOTIMPL; }
    STDMETHOD(GetSegment)(IDirectMusicSegment**) override { return E_NOTIMPL; }
    STDMETHOD(GetStartTime)(MUSIC_TIME*) override { return E_NOTIMPL; }
    STDMETHOD(GetSeek)(MUSIC_TIME* at) override { return *at = seek, S_OK; }
    STDMETHOD(GetStartPoint)(MUSIC_TIME*) override { return E_NOTIMPL; }
};

std::vector<std::string> g_mci;
DWORD g_now = 100000;

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
        g_Music.host.sendMciString = [](LPCSTR command, LPSTR, UINT, HWND callback) {
            g_mci.push_back(command + std::string(callback ? " >" : ""));
            return MCIERROR(0);
        };
        g_Music.host.tickCount = [] { return g_now; };
        MusicInit();  // Wine's own: its performance cannot start
        EXPECT_EQ(DirectMusicAvailable, 0);
    }
    void TearDown() override {
        StopMusic();
        MusicShutdown();
        ScratchRegistry::TearDown();
    }
    // The MCI open command for a file of the tune folder.
    static std::string Open(const std::string& file) {
        return "open \"" + TuneFolder::path + "\\" + file + "\" type sequencer alias MUSIC";
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
        const char* stored;            // nullptr: none
        int useDirectMusic, loads;     // DirectMusic loads tried before MCI
        std::set<std::string> opened;  // the tune's file, or any of them
        std::vector<std::string> tunes;
    } rows[] = {
        {nullptr, 1, 1, {"ｼﾞｬｽﾞﾛﾏﾝﾃｨｯｸ.mid"}, {}},
        {"音楽なし", 1, 1, {"音楽なし.mid"}, {}},
        {"b", 0, 0, {"b.mid"}, {"b.mid"}},
        {"ランダムに演奏する", 0, 0, {"a.mid", "b.mid"}, {"a.mid", "b.mid"}},
        {"ランダムに演奏する", 0, 0, {"音楽なし"}, {}},
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
        std::set<std::string> opened;
        for (const std::string& file : r.opened) opened.insert(Open(file));
        EXPECT_TRUE(g_mci[0] == "close all" && opened.count(g_mci[1]) &&
                    g_mci[2] == "play MUSIC from 0 notify >")
            << g_mci[1];
    }
}

TEST_F(Music, RepeatsOnlyATuneThatEndedWhenLoopMusicIsOn) {
    TuneFolder tunes({});
    // MCI: the successful end of play starts the tune again.
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
    // DirectMusic: a poll at most every 5 seconds finds the end of the segment.
    IDirectMusicSegment* segment = nullptr;
    ASSERT_EQ(CoCreateInstance(CLSID_DirectMusicSegment, nullptr, CLSCTX_INPROC_SERVER,
                               IID_IDirectMusicSegment, reinterpret_cast<void**>(&segment)),
              S_OK);
    MUSIC_TIME length = 0;
    segment->GetLength(&length);
    State state;
    // clang-format off
    const struct {
        DWORD after;  // ms since the last poll
        int loop;
        MUSIC_TIME seek;
        bool restarts;
    } polls[] = {
        {5001, 1, length, true}, {5000, 1, length, false}, {6000, 1, length + 1, false},
        {6000, 0, length, false}, {6000, 1, length, true}};
    // clang-format on
    for (const auto& p : polls) {
        g_Music.segment = segment;
        g_Music.segmentState = &state;
        segment->AddRef();
        PutDword("LoopMusic", p.loop);
        state.seek = p.seek;
        g_now = g_Music.lastLoopPoll + p.after;
        g_mci.clear();
        CheckMusicEnded(window_);
        EXPECT_EQ(!g_mci.empty(), p.restarts) << p.after << " " << p.loop << " " << p.seek;
        EXPECT_EQ(g_Music.lastLoopPoll, p.after > 5000 ? g_now : g_now - p.after);
        if (!p.restarts) StopMusic();
    }
    segment->Release();
}
