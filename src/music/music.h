// MIDI playback through DirectMusic or the MCI sequencer, the choice of
// tune from the program's folder, and its repetition.
#pragma once

#include <windows.h>

#include <dmusici.h>
#include <mmsystem.h>

#include <cstdint>
#include <functional>

#include "platform/system_library.h"

// Window creation: COM, the DirectMusic performance and loader. Silent on failure.
void MusicInit();
// Window destruction, after StopMusic: releases the DirectMusic objects.
void MusicShutdown();
// Stops whatever plays; true when the MCI "close all" succeeded.
BOOL StopMusic();
// Plays `path`, through DirectMusic when asked and available, else MCI
// (notifications go to `window`). True when playing started.
BOOL PlayMusicFile(HWND window, const wchar_t* path, int useDirectMusic);
// Loads `path` as the current DirectMusic segment (releasing the old one).
void LoadMusicSegment(const wchar_t* path);
// Plays the tune the settings name (or a random or the default one).
BOOL StartConfiguredMusic(HWND window);
// Plays the tune of stored name `name` (kTuneNameBufferSize units): a tune
// of the program's folder, the random entry (`name` then receives the tune
// picked) or anything the user typed; notifications go to `window`.
BOOL PlayNamedTune(HWND window, wchar_t* name, int useDirectMusic);
// Picks a random *.mid of the program's folder; its name goes to `name`
// (kTuneNameBufferSize units). Returns nonzero when one was found.
int PickRandomTune(wchar_t* name);
// Calls `visit` with the file name of every tune in the program's folder,
// in the file system's order, until it returns false. Directories and
// names too long for the name buffer are passed over. False when the
// folder could not be searched.
bool ForEachTuneFile(const std::function<bool(const wchar_t*)>& visit);
// The program file's folder without a trailing backslash (buffer of
// kFolderBufferSize units).
void GetProgramFolder(wchar_t* folder);
// Called on every scene-timer tick: restarts a DirectMusic tune that has
// ended, at most every 5 seconds, when LoopMusic is on.
void CheckMusicEnded(HWND window);
// MM_MCINOTIFY: starts the tune again when it played to its end and
// LoopMusic is on.
void RestartMusicOnNotify(HWND window, WPARAM notification);

// 1 when the DirectMusic loader could be created.
extern int DirectMusicAvailable;

// What the music takes from the system; tests replace these.
struct MusicHost {
    std::function<HRESULT(LPVOID)> coInitialize = CoInitialize;
    std::function<void()> coUninitialize = CoUninitialize;
    std::function<HRESULT(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*)> coCreateInstance =
        CoCreateInstance;
    // Named so that no macro of <mmsystem.h> ("mciSendString") renames it.
    std::function<MCIERROR(LPCWSTR, LPWSTR, UINT, HWND)> sendMciString = SystemMciSendStringW;
    std::function<DWORD()> tickCount = GetTickCount;
    // The current time in whole seconds since 1 January 1970.
    std::function<uint32_t()> secondsNow;
    // Reads the program's own file name into (buffer, size) and returns its
    // length as GetModuleFileNameW does.
    std::function<DWORD(wchar_t*, DWORD)> moduleFileName;

    MusicHost();
};

// The players' state: null or zero until MusicInit, and again after
// MusicShutdown.
struct MusicState {
    IDirectMusicPerformance* performance = nullptr;    // kept even when its Init failed
    IDirectMusicLoader* loader = nullptr;              // set only when all before it worked
    IDirectMusicSegment* segment = nullptr;            // the tune loaded for DirectMusic
    IDirectMusicSegmentState* segmentState = nullptr;  // from its last PlaySegment
    bool comInitialized = false;
    DWORD lastLoopPoll = 0;           // tick count of CheckMusicEnded's last poll
    DMUS_OBJECTDESC objectDesc = {};  // reused for every load
    MusicHost host;
};

extern MusicState g_Music;
