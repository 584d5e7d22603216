// DirectMusic playback against mocked COM objects: the set-up chain and where
// each failure leaves it, loading and playing a segment, stopping, shutting
// down, and the poll that repeats an ended tune; and the MCI commands.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "dmusic_mocks.h"
#include "music_fixture.h"

namespace {

using ::testing::_;
using ::testing::DoAll;
using ::testing::ElementsAre;
using ::testing::InSequence;
using ::testing::IsEmpty;
using ::testing::NiceMock;
using ::testing::Return;
using ::testing::SaveArgPointee;
using ::testing::SetArgPointee;

struct Creation {
    GUID clsid;
    IUnknown* outer;
    DWORD context;
    GUID iid;
};

class MusicDirectMusic : public MusicFixture {
  protected:
    void SetUp() override {
        MusicFixture::SetUp();
        g_Music.host.coCreateInstance = [this](REFCLSID clsid, LPUNKNOWN outer, DWORD context,
                                               REFIID iid, LPVOID* out) -> HRESULT {
            creations.push_back({clsid, outer, context, iid});
            const bool isPerformance = IsEqualGUID(clsid, CLSID_DirectMusicPerformance);
            const HRESULT result = isPerformance ? performanceCreation : loaderCreation;
            *out = nullptr;
            if (result == S_OK) *out = isPerformance ? Perf() : static_cast<void*>(&loader);
            return result;
        };
    }

    void* Perf() { return static_cast<IDirectMusicPerformance*>(&performance); }

    // DirectMusic ready, as after a successful MusicInit.
    void Ready() {
        g_Music.performance = &performance;
        g_Music.loader = &loader;
    }

    // The loader hands out `loaded` for the next GetObject.
    void NextLoadGives(IDirectMusicSegment* loaded) {
        EXPECT_CALL(loader, GetObject(_, _, _))
            .WillOnce(DoAll(SetArgPointee<2>(static_cast<void*>(loaded)), Return(S_OK)));
    }

    // A segment loaded and playing with `state`, as after a DirectMusic start.
    void Playing(MockSegment& loaded, MockSegmentState& state) {
        Ready();
        g_Music.segment = &loaded;
        g_Music.segmentState = &state;
    }

    NiceMock<MockPerformance> performance;
    NiceMock<MockLoader> loader;
    NiceMock<MockSegment> segment;
    NiceMock<MockSegmentState> segmentState;
    std::vector<Creation> creations;
    HRESULT performanceCreation = S_OK;
    HRESULT loaderCreation = S_OK;
};

TEST_F(MusicDirectMusic, InitCreatesThePerformanceItsDefaultPortAndTheLoader) {
    {
        InSequence order;
        EXPECT_CALL(performance, Init(nullptr, nullptr, nullptr)).WillOnce(Return(S_OK));
        EXPECT_CALL(performance, AddPort(nullptr)).WillOnce(Return(S_OK));
    }
    MusicInit();

    ASSERT_EQ(creations.size(), 2u);
    EXPECT_TRUE(IsEqualGUID(creations[0].clsid, CLSID_DirectMusicPerformance));
    EXPECT_TRUE(IsEqualGUID(creations[0].iid, IID_IDirectMusicPerformance));
    EXPECT_TRUE(IsEqualGUID(creations[1].clsid, CLSID_DirectMusicLoader));
    EXPECT_TRUE(IsEqualGUID(creations[1].iid, IID_IDirectMusicLoader));
    for (const Creation& c : creations) {
        EXPECT_EQ(c.outer, nullptr);
        EXPECT_EQ(c.context, 3u);
    }
    EXPECT_EQ(g_Music.performance, Perf());
    EXPECT_EQ(g_Music.loader, &loader);
    EXPECT_EQ(DirectMusicAvailable, 1);
}

TEST_F(MusicDirectMusic, EachInitFailureStopsTheChainAndLeavesOnlyMci) {
    enum Step { kCom, kPerformance, kInit, kPort, kLoader };
    for (Step failing : {kCom, kPerformance, kInit, kPort, kLoader}) {
        SCOPED_TRACE(failing);
        Fresh();
        creations.clear();
        mci.clear();
        coUninitializeCalls = 0;
        coInitializeResult = failing == kCom ? E_OUTOFMEMORY : S_FALSE;
        performanceCreation = failing == kPerformance ? REGDB_E_CLASSNOTREG : S_OK;
        loaderCreation = failing == kLoader ? E_NOINTERFACE : S_OK;
        ON_CALL(performance, Init(_, _, _)).WillByDefault(Return(failing == kInit ? E_FAIL : S_OK));
        ON_CALL(performance, AddPort(_)).WillByDefault(Return(failing == kPort ? E_FAIL : S_OK));
        EXPECT_CALL(performance, AddPort(_)).Times(failing >= kPort ? 1 : 0);

        MusicInit();

        EXPECT_EQ(creations.size(), failing == kCom ? 0u : failing < kLoader ? 1u : 2u);
        EXPECT_EQ(g_Music.performance, failing <= kPerformance ? nullptr : Perf());
        EXPECT_EQ(g_Music.loader, nullptr);
        EXPECT_EQ(DirectMusicAvailable, 0);

        // Without the loader every start goes to MCI, even with a performance.
        EXPECT_CALL(loader, GetObject(_, _, _)).Times(0);
        PlayMusicFile(nullptr, "C:\\saver\\x.mid", 1);
        EXPECT_EQ(Commands(), MciStart("C:\\saver\\x.mid"));

        // A kept performance is closed down; COM is left only when it was
        // entered (S_FALSE, already entered on this thread, counts as entered).
        EXPECT_CALL(performance, CloseDown()).Times(failing <= kPerformance ? 0 : 1);
        MusicShutdown();
        EXPECT_EQ(coUninitializeCalls, failing == kCom ? 0 : 1);
        ::testing::Mock::VerifyAndClearExpectations(&performance);
        ::testing::Mock::VerifyAndClearExpectations(&loader);
    }
}

TEST_F(MusicDirectMusic, LoadUnloadsTheOldSegmentThenDescribesLoadsAndPreparesTheNew) {
    NiceMock<MockSegment> old;
    NiceMock<MockSegmentState> oldState;
    Playing(old, oldState);
    // Leftovers of an earlier, longer name must not show behind the new one.
    for (WCHAR& unit : g_Music.objectDesc.wszFileName) unit = L'x';
    g_Music.objectDesc.wszFileName[DMUS_MAX_FILENAME - 1] = 0;

    DMUS_OBJECTDESC seen;
    std::memset(&seen, 0, sizeof seen);
    {
        InSequence order;
        EXPECT_CALL(performance, Stop(nullptr, nullptr, 0, 0));
        EXPECT_CALL(oldState, Release());
        EXPECT_CALL(old, SetParam(GUID_Unload, 0xFFFFFFFF, 0, 0, Perf()));
        EXPECT_CALL(old, Release());
        EXPECT_CALL(loader, GetObject(_, IID_IDirectMusicSegment, _))
            .WillOnce(DoAll(SaveArgPointee<0>(&seen),
                            SetArgPointee<2>(static_cast<void*>(&segment)), Return(S_OK)));
        EXPECT_CALL(segment, SetParam(GUID_StandardMIDIFile, 0xFFFFFFFF, 0, 0, Perf()));
        EXPECT_CALL(segment, SetParam(GUID_Download, 0xFFFFFFFF, 0, 0, Perf()));
        EXPECT_CALL(segment, SetRepeats(0));
        // The start counts as made whatever PlaySegment answers.
        EXPECT_CALL(performance, PlaySegment(&segment, 0, 0, &g_Music.segmentState))
            .WillOnce(DoAll(SetArgPointee<3>(&segmentState), Return(E_FAIL)));
    }
    // "音楽" with a half-width "ｼ": every byte widened to its own unit.
    EXPECT_TRUE(PlayMusicFile(nullptr, "C:\\音楽\\ｼ.mid", 1));

    EXPECT_EQ(seen.dwSize, sizeof(DMUS_OBJECTDESC));
    EXPECT_EQ(seen.dwValidData, 50u);
    EXPECT_TRUE(IsEqualGUID(seen.guidClass, CLSID_DirectMusicSegment));
    const unsigned expected[] = {'C',  ':', '\\', 0x89, 0xB9, 0x8A, 0x79, '\\',
                                 0xBC, '.', 'm',  'i',  'd',  0,    0};
    for (std::size_t i = 0; i < std::size(expected); ++i)
        EXPECT_EQ(seen.wszFileName[i], expected[i]) << i;
    EXPECT_EQ(seen.wszFileName[DMUS_MAX_FILENAME - 2], 0);
    DMUS_OBJECTDESC untouched;
    std::memset(&untouched, 0, sizeof untouched);
    std::memcpy(untouched.wszFileName, seen.wszFileName, sizeof seen.wszFileName);
    untouched.dwSize = seen.dwSize;
    untouched.dwValidData = seen.dwValidData;
    untouched.guidClass = seen.guidClass;
    EXPECT_EQ(std::memcmp(&seen, &untouched, sizeof seen), 0) << "only four fields are written";

    EXPECT_EQ(g_Music.segment, &segment);
    EXPECT_EQ(g_Music.segmentState, &segmentState);
    EXPECT_THAT(mci, IsEmpty());
}

TEST_F(MusicDirectMusic, MciPlaysWhenNoSegmentLoadsOrDirectMusicIsNotWanted) {
    Ready();
    EXPECT_CALL(loader, GetObject(_, _, _)).WillOnce(Return(DMUS_E_LOADER_FAILEDOPEN));
    EXPECT_CALL(performance, PlaySegment(_, _, _, _)).Times(0);
    EXPECT_TRUE(PlayMusicFile(nullptr, "C:\\saver\\gone.mid", 1));
    EXPECT_EQ(g_Music.segment, nullptr);
    EXPECT_EQ(Commands(), MciStart("C:\\saver\\gone.mid"));

    mci.clear();
    ::testing::Mock::VerifyAndClearExpectations(&loader);
    EXPECT_CALL(loader, GetObject(_, _, _)).Times(0);
    EXPECT_TRUE(PlayMusicFile(nullptr, "C:\\saver\\x.mid", 0));
    EXPECT_EQ(Commands(), MciStart("C:\\saver\\x.mid"));
}

TEST_F(MusicDirectMusic, NamesTooLongForTheDescriptorAreNotHandedToTheLoader) {
    Ready();
    const std::string longest = "C:\\" + std::string(252, 'n') + ".mid";  // 259 characters
    EXPECT_CALL(loader, GetObject(_, _, _)).WillOnce(Return(DMUS_E_LOADER_FAILEDOPEN));
    PlayMusicFile(nullptr, longest.c_str(), 1);
    ::testing::Mock::VerifyAndClearExpectations(&loader);

    mci.clear();
    EXPECT_CALL(loader, GetObject(_, _, _)).Times(0);
    EXPECT_FALSE(PlayMusicFile(nullptr, (longest + "x").c_str(), 1));
    EXPECT_THAT(Commands(), ElementsAre("close all")) << "nor does it fit the open command";
}

TEST_F(MusicDirectMusic, StopReleasesTheSegmentOnceAndMayBeRepeated) {
    Playing(segment, segmentState);
    {
        InSequence order;
        EXPECT_CALL(performance, Stop(nullptr, nullptr, 0, 0));
        EXPECT_CALL(segmentState, Release());
        EXPECT_CALL(segment, SetParam(GUID_Unload, 0xFFFFFFFF, 0, 0, Perf()));
        EXPECT_CALL(segment, Release());
    }
    EXPECT_TRUE(StopMusic());
    EXPECT_EQ(g_Music.segment, nullptr);
    EXPECT_EQ(g_Music.segmentState, nullptr);

    mciResult = [](const std::string&) { return MCIERR_INTERNAL; };
    EXPECT_FALSE(StopMusic()) << "the result is that of close all";
    EXPECT_EQ(Commands(), (std::vector<std::string>{"close all", "close all"}));
}

TEST_F(MusicDirectMusic, ShutdownStopsUnloadsClosesDownAndReleasesInOrder) {
    Playing(segment, segmentState);
    g_Music.comInitialized = true;
    {
        InSequence order;
        EXPECT_CALL(performance, Stop(nullptr, nullptr, 0, 0));
        EXPECT_CALL(segment, SetParam(GUID_Unload, 0xFFFFFFFF, 0, 0, Perf()));
        EXPECT_CALL(segment, Release());
        EXPECT_CALL(performance, CloseDown());
        EXPECT_CALL(performance, Release());
        EXPECT_CALL(loader, Release());
    }
    MusicShutdown();
    EXPECT_EQ(coUninitializeCalls, 1);
    EXPECT_EQ(g_Music.performance, nullptr);
    EXPECT_EQ(g_Music.loader, nullptr);
    EXPECT_EQ(g_Music.segment, nullptr);
}

class MusicLoopPoll : public MusicDirectMusic {
  protected:
    // The tune has length 1000 and is at `seek`.
    void At(MUSIC_TIME seek) {
        ON_CALL(segment, GetLength(_)).WillByDefault(DoAll(SetArgPointee<0>(1000), Return(S_OK)));
        ON_CALL(segmentState, GetSeek(_))
            .WillByDefault(DoAll(SetArgPointee<0>(seek), Return(S_OK)));
    }
    void PollAt(DWORD now) {
        tick = now;
        CheckMusicEnded(nullptr);
    }
};

TEST_F(MusicLoopPoll, RestartsOnlyAtTheEndAndAtMostEveryFiveSeconds) {
    NiceMock<MockSegment> next;
    Playing(segment, segmentState);
    At(400);
    EXPECT_CALL(segment, GetLength(_)).Times(2);
    EXPECT_CALL(loader, GetObject(_, _, _)).Times(0);
    PollAt(5000);   // not more than 5000 ms after the start at 0
    PollAt(5001);   // polls: still playing
    PollAt(10001);  // not more than 5000 ms after that poll
    At(999);
    PollAt(10002);
    ::testing::Mock::VerifyAndClearExpectations(&segment);
    ::testing::Mock::VerifyAndClearExpectations(&loader);

    At(1000);
    EXPECT_CALL(segment, GetLength(_)).Times(0);
    PollAt(15002);
    ::testing::Mock::VerifyAndClearExpectations(&segment);

    At(1000);
    NextLoadGives(&next);
    EXPECT_CALL(performance, PlaySegment(&next, 0, 0, _));
    PollAt(15003);
    EXPECT_EQ(g_Music.segment, &next);
    EXPECT_EQ(g_Music.lastLoopPoll, 15003u);
}

TEST_F(MusicLoopPoll, NeverRestartsWithoutLoopMusicOrAnAnsweringSegment) {
    Playing(segment, segmentState);
    At(1000);
    EXPECT_CALL(loader, GetObject(_, _, _)).Times(0);

    WriteSetting(LoopMusic, 0);
    EXPECT_CALL(segment, GetLength(_)).Times(0);
    PollAt(6000);
    EXPECT_EQ(g_Music.lastLoopPoll, 6000u) << "the poll time moves on all the same";
    ::testing::Mock::VerifyAndClearExpectations(&segment);

    WriteSetting(LoopMusic, 1);
    ON_CALL(segment, GetLength(_)).WillByDefault(Return(S_FALSE));
    PollAt(12000);
    At(1000);
    ON_CALL(segmentState, GetSeek(_)).WillByDefault(Return(DMUS_E_NOT_INIT));
    PollAt(18000);

    g_Music.segmentState = nullptr;  // MCI plays, or nothing does
    At(1000);
    EXPECT_CALL(segment, GetLength(_)).Times(0);
    PollAt(24000);
}

using MusicMci = MusicFixture;

TEST_F(MusicMci, StartClosesAllOpensTheQuotedPathAndPlaysWithNotifyToTheWindow) {
    const HWND window = reinterpret_cast<HWND>(0x1234);
    EXPECT_TRUE(PlayMusicFile(window, "C:\\my tunes\\a.mid", 1));
    ASSERT_EQ(Commands(), MciStart("C:\\my tunes\\a.mid"));
    EXPECT_EQ(mci[0].callback, nullptr);
    EXPECT_EQ(mci[1].callback, nullptr);
    EXPECT_EQ(mci[2].callback, window);
}

TEST_F(MusicMci, AFailingCommandEndsTheStart) {
    for (const char* failing : {"close", "open", "play"}) {
        SCOPED_TRACE(failing);
        mci.clear();
        mciResult = [failing](const std::string& command) -> MCIERROR {
            return command.rfind(failing, 0) == 0 ? MCIERR_DEVICE_NOT_READY : 0;
        };
        EXPECT_FALSE(PlayMusicFile(nullptr, "C:\\a.mid", 0));
        const std::vector<std::string> all = MciStart("C:\\a.mid");
        const std::size_t sent = failing[0] == 'c' ? 1 : failing[0] == 'o' ? 2 : 3;
        EXPECT_EQ(Commands(), std::vector<std::string>(all.begin(), all.begin() + sent));
    }
}

TEST_F(MusicMci, OnlyASuccessfulEndWithLoopMusicOnStartsAgain) {
    const HWND window = reinterpret_cast<HWND>(0x99);
    for (int loop : {1, 0}) {
        WriteSetting(LoopMusic, loop);
        for (WPARAM code : {MCI_NOTIFY_SUCCESSFUL, MCI_NOTIFY_SUPERSEDED, MCI_NOTIFY_ABORTED,
                            MCI_NOTIFY_FAILURE}) {
            mci.clear();
            RestartMusicOnNotify(window, code);
            const bool restarts = loop == 1 && code == MCI_NOTIFY_SUCCESSFUL;
            EXPECT_EQ(mci.size(), restarts ? 3u : 0u) << loop << " " << code;
        }
    }
    WriteSetting(LoopMusic, 1);
    mci.clear();
    RestartMusicOnNotify(window, MCI_NOTIFY_SUCCESSFUL);
    ASSERT_EQ(mci.size(), 3u);
    EXPECT_EQ(mci[1].command, OpenCommand(std::string("C:\\saver\\") + kDefaultTuneName + ".mid"));
    EXPECT_EQ(mci[2].callback, window);
}

}  // namespace
