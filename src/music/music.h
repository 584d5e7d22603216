// MIDI playback through DirectMusic or the MCI sequencer, the choice of
// tune from the program's folder, and its repetition.
#pragma once

#include <windows.h>

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
