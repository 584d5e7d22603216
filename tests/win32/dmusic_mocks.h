// GoogleMock stand-ins for the DirectMusic performance, loader, segment and
// segment state. The methods the music code calls are mocked; the rest of
// each interface answers E_NOTIMPL. Release does not delete: the mocks live
// in the test.
#pragma once

#include <windows.h>

#include <dmusici.h>

#include <gmock/gmock.h>

#define DMUS_MOCK(result, name, args) \
    MOCK_METHOD(result, name, args, (override, Calltype(STDMETHODCALLTYPE)))
#define DMUS_UNUSED(name, args)     \
    STDMETHOD(name) args override { \
        return E_NOTIMPL;           \
    }

class MockPerformance : public IDirectMusicPerformance {
  public:
    DMUS_UNUSED(QueryInterface, (REFIID, void**))
    STDMETHOD_(ULONG, AddRef)() override { return 1; }
    DMUS_MOCK(ULONG, Release, ());
    DMUS_MOCK(HRESULT, Init, (IDirectMusic**, LPDIRECTSOUND, HWND));
    DMUS_MOCK(HRESULT, PlaySegment,
              (IDirectMusicSegment*, DWORD, __int64, IDirectMusicSegmentState**));
    DMUS_MOCK(HRESULT, Stop, (IDirectMusicSegment*, IDirectMusicSegmentState*, MUSIC_TIME, DWORD));
    DMUS_MOCK(HRESULT, AddPort, (IDirectMusicPort*));
    DMUS_MOCK(HRESULT, CloseDown, ());
    DMUS_UNUSED(GetSegmentState, (IDirectMusicSegmentState**, MUSIC_TIME))
    DMUS_UNUSED(SetPrepareTime, (DWORD))
    DMUS_UNUSED(GetPrepareTime, (DWORD*))
    DMUS_UNUSED(SetBumperLength, (DWORD))
    DMUS_UNUSED(GetBumperLength, (DWORD*))
    DMUS_UNUSED(SendPMsg, (DMUS_PMSG*))
    DMUS_UNUSED(MusicToReferenceTime, (MUSIC_TIME, REFERENCE_TIME*))
    DMUS_UNUSED(ReferenceToMusicTime, (REFERENCE_TIME, MUSIC_TIME*))
    DMUS_UNUSED(IsPlaying, (IDirectMusicSegment*, IDirectMusicSegmentState*))
    DMUS_UNUSED(GetTime, (REFERENCE_TIME*, MUSIC_TIME*))
    DMUS_UNUSED(AllocPMsg, (ULONG, DMUS_PMSG**))
    DMUS_UNUSED(FreePMsg, (DMUS_PMSG*))
    DMUS_UNUSED(GetGraph, (IDirectMusicGraph**))
    DMUS_UNUSED(SetGraph, (IDirectMusicGraph*))
    DMUS_UNUSED(SetNotificationHandle, (HANDLE, REFERENCE_TIME))
    DMUS_UNUSED(GetNotificationPMsg, (DMUS_NOTIFICATION_PMSG**))
    DMUS_UNUSED(AddNotificationType, (REFGUID))
    DMUS_UNUSED(RemoveNotificationType, (REFGUID))
    DMUS_UNUSED(RemovePort, (IDirectMusicPort*))
    DMUS_UNUSED(AssignPChannelBlock, (DWORD, IDirectMusicPort*, DWORD))
    DMUS_UNUSED(AssignPChannel, (DWORD, IDirectMusicPort*, DWORD, DWORD))
    DMUS_UNUSED(PChannelInfo, (DWORD, IDirectMusicPort**, DWORD*, DWORD*))
    DMUS_UNUSED(DownloadInstrument,
                (IDirectMusicInstrument*, DWORD, IDirectMusicDownloadedInstrument**,
                 DMUS_NOTERANGE*, DWORD, IDirectMusicPort**, DWORD*, DWORD*))
    DMUS_UNUSED(Invalidate, (MUSIC_TIME, DWORD))
    DMUS_UNUSED(GetParam, (REFGUID, DWORD, DWORD, MUSIC_TIME, MUSIC_TIME*, void*))
    DMUS_UNUSED(SetParam, (REFGUID, DWORD, DWORD, MUSIC_TIME, void*))
    DMUS_UNUSED(GetGlobalParam, (REFGUID, void*, DWORD))
    DMUS_UNUSED(SetGlobalParam, (REFGUID, void*, DWORD))
    DMUS_UNUSED(GetLatencyTime, (REFERENCE_TIME*))
    DMUS_UNUSED(GetQueueTime, (REFERENCE_TIME*))
    DMUS_UNUSED(AdjustTime, (REFERENCE_TIME))
    DMUS_UNUSED(GetResolvedTime, (REFERENCE_TIME, REFERENCE_TIME*, DWORD))
    DMUS_UNUSED(MIDIToMusic, (BYTE, DMUS_CHORD_KEY*, BYTE, BYTE, WORD*))
    DMUS_UNUSED(MusicToMIDI, (WORD, DMUS_CHORD_KEY*, BYTE, BYTE, BYTE*))
    DMUS_UNUSED(TimeToRhythm, (MUSIC_TIME, DMUS_TIMESIGNATURE*, WORD*, BYTE*, BYTE*, short*))
    DMUS_UNUSED(RhythmToTime, (WORD, BYTE, BYTE, short, DMUS_TIMESIGNATURE*, MUSIC_TIME*))
};

class MockLoader : public IDirectMusicLoader {
  public:
    DMUS_UNUSED(QueryInterface, (REFIID, void**))
    STDMETHOD_(ULONG, AddRef)() override { return 1; }
    DMUS_MOCK(ULONG, Release, ());
    // GetObject is GetObjectA once <windows.h> has spoken; the mock follows.
    DMUS_MOCK(HRESULT, GetObject, (LPDMUS_OBJECTDESC, REFIID, LPVOID*));
    DMUS_UNUSED(SetObject, (LPDMUS_OBJECTDESC))
    DMUS_UNUSED(SetSearchDirectory, (REFGUID, WCHAR*, WINBOOL))
    DMUS_UNUSED(ScanDirectory, (REFGUID, WCHAR*, WCHAR*))
    DMUS_UNUSED(CacheObject, (IDirectMusicObject*))
    DMUS_UNUSED(ReleaseObject, (IDirectMusicObject*))
    DMUS_UNUSED(ClearCache, (REFGUID))
    DMUS_UNUSED(EnableCache, (REFGUID, WINBOOL))
    DMUS_UNUSED(EnumObject, (REFGUID, DWORD, LPDMUS_OBJECTDESC))
};

class MockSegment : public IDirectMusicSegment {
  public:
    DMUS_UNUSED(QueryInterface, (REFIID, void**))
    STDMETHOD_(ULONG, AddRef)() override { return 1; }
    DMUS_MOCK(ULONG, Release, ());
    DMUS_MOCK(HRESULT, GetLength, (MUSIC_TIME*));
    DMUS_MOCK(HRESULT, SetRepeats, (DWORD));
    DMUS_MOCK(HRESULT, SetParam, (REFGUID, DWORD, DWORD, MUSIC_TIME, void*));
    DMUS_UNUSED(SetLength, (MUSIC_TIME))
    DMUS_UNUSED(GetRepeats, (DWORD*))
    DMUS_UNUSED(GetDefaultResolution, (DWORD*))
    DMUS_UNUSED(SetDefaultResolution, (DWORD))
    DMUS_UNUSED(GetTrack, (REFGUID, DWORD, DWORD, IDirectMusicTrack**))
    DMUS_UNUSED(GetTrackGroup, (IDirectMusicTrack*, DWORD*))
    DMUS_UNUSED(InsertTrack, (IDirectMusicTrack*, DWORD))
    DMUS_UNUSED(RemoveTrack, (IDirectMusicTrack*))
    DMUS_UNUSED(InitPlay, (IDirectMusicSegmentState**, IDirectMusicPerformance*, DWORD))
    DMUS_UNUSED(GetGraph, (IDirectMusicGraph**))
    DMUS_UNUSED(SetGraph, (IDirectMusicGraph*))
    DMUS_UNUSED(AddNotificationType, (REFGUID))
    DMUS_UNUSED(RemoveNotificationType, (REFGUID))
    DMUS_UNUSED(GetParam, (REFGUID, DWORD, DWORD, MUSIC_TIME, MUSIC_TIME*, void*))
    DMUS_UNUSED(Clone, (MUSIC_TIME, MUSIC_TIME, IDirectMusicSegment**))
    DMUS_UNUSED(SetStartPoint, (MUSIC_TIME))
    DMUS_UNUSED(GetStartPoint, (MUSIC_TIME*))
    DMUS_UNUSED(SetLoopPoints, (MUSIC_TIME, MUSIC_TIME))
    DMUS_UNUSED(GetLoopPoints, (MUSIC_TIME*, MUSIC_TIME*))
    DMUS_UNUSED(SetPChannelsUsed, (DWORD, DWORD*))
};

class MockSegmentState : public IDirectMusicSegmentState {
  public:
    DMUS_UNUSED(QueryInterface, (REFIID, void**))
    STDMETHOD_(ULONG, AddRef)() override { return 1; }
    DMUS_MOCK(ULONG, Release, ());
    DMUS_MOCK(HRESULT, GetSeek, (MUSIC_TIME*));
    DMUS_UNUSED(GetRepeats, (DWORD*))
    DMUS_UNUSED(GetSegment, (IDirectMusicSegment**))
    DMUS_UNUSED(GetStartTime, (MUSIC_TIME*))
    DMUS_UNUSED(GetStartPoint, (MUSIC_TIME*))
};

#undef DMUS_MOCK
#undef DMUS_UNUSED
