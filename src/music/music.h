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
BOOL PlayMusicFile(HWND window, const char* path, int useDirectMusic);
// Loads `path` as the current DirectMusic segment (releasing the old one).
void LoadMusicSegment(const char* path);
// Plays the tune the settings name (or a random or the default one).
BOOL StartConfiguredMusic(HWND window);
// The settings dialog's Test button: plays the tune selected in its list.
BOOL TestMusicSelection(HWND dialog, int useDirectMusic);
// Picks a random *.mid of the program's folder; its name goes to `name`
// (at least 100 bytes). Returns nonzero when one was found.
int PickRandomTune(char* name);
// Fills the dialog's tune list and selects the stored tune.
void FillTuneList(HWND dialog);
// The program file's folder without a trailing backslash (buffer of at
// least 300 bytes).
void GetProgramFolder(char* folder);
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
    std::function<MCIERROR(LPCSTR, LPSTR, UINT, HWND)> sendMciString = SystemMciSendStringA;
    std::function<DWORD()> tickCount = GetTickCount;
    // The current time in whole seconds since 1 January 1970.
    std::function<uint32_t()> secondsNow;
    // Reads the program's own file name into (buffer, size) and returns its
    // length as GetModuleFileNameA does.
    std::function<DWORD(char*, DWORD)> moduleFileName;

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
