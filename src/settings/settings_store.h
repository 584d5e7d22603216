// The registry store of the saver's settings: one key of the program's own
// under HKEY_CURRENT_USER, opened and closed again by every operation except
// the live read, which keeps it open for a value read on every frame.
#pragma once

#include <windows.h>

#include <cstdint>

#include "settings/settings_table.h"

// Creates or opens HKCU\Software\Quorvane\Skylumen\Tessery level by level.
// Returns the key, which the caller closes, or nullptr when a level fails.
HKEY OpenSettingsKey();

// The stored value of setting `index` (0..27), or its default when the key
// or the value is missing or cannot be read into 4 bytes. A value shorter
// than 4 bytes reads from a zeroed buffer.
int32_t ReadSetting(int index);

// The same answer as ReadSetting(index) at this moment, for a value read on
// every frame: the key stays open between calls, so a call is one query. A
// change made meanwhile, by this or any other process, is seen by the next
// call; a key deleted meanwhile reads as the defaults until it is back. It
// is opened for reading only and never written or created.
int32_t ReadSettingLive(int index);

// Closes the key that ReadSettingLive keeps open; the next live read opens
// it again. Harmless when none is open.
void CloseLiveSettingsKey();

// Stores `value` as REG_DWORD. Always returns 1; a failed write is silent.
int WriteSetting(int index, int32_t value);

// Copies "MidiFile" into `buffer` (kMidiFileBufferSize units) and returns 1,
// or returns 0 and leaves `buffer` untouched when the value is missing or
// does not fit. The copy is always zero-terminated within the buffer.
int ReadMidiFileSetting(wchar_t* buffer);

// Stores `text` as "MidiFile" (REG_SZ, terminating zero included).
// Returns 1 on success, 0 on failure.
int WriteMidiFileSetting(const wchar_t* text);

// 1 when Windows asks screen savers for the password before they close.
int ReadUsePasswordFlag();
