// The portable rules of tune choice: the fixed tune names, the sizes of the
// buffers that hold folders, names, paths and commands, and how those texts
// are put together without ever overflowing them.
#pragma once

#include <cstddef>
#include <cstdint>

// The stored tune names, whatever language the dialog shows them in.
extern const wchar_t kDefaultTuneName[];  // played when no MidiFile is stored
extern const wchar_t kRandomTuneName[];   // picks a random *.mid of the folder
extern const wchar_t kNoMusicTuneName[];  // names no file, so nothing plays

// Buffer sizes in UTF-16 units, terminating zero included.
constexpr std::size_t kFolderBufferSize = 300;      // module file name and folder
constexpr std::size_t kTuneNameBufferSize = 100;    // MidiFile, the dialog field, a picked name
constexpr std::size_t kTunePathBufferSize = 300;    // folder\name.mid
constexpr std::size_t kMciCommandBufferSize = 256;  // the MCI open command
constexpr std::size_t kWideFileNameSize = 260;      // DirectMusic's file name
// Folder plus "\*.mid": sized for the longest folder rather than for short
// folders only, so a deep program folder is searched like any other.
constexpr std::size_t kPatternBufferSize = kFolderBufferSize + 6;

// A DirectMusic tune that has ended is looked for at most this often.
constexpr uint32_t kLoopPollMilliseconds = 5000;

// Writes the folder part of a module file name of `length` characters
// (everything before its last backslash; a name without a backslash stays
// whole) to `folder`, which holds kFolderBufferSize units. A length of 0 is
// a failed read, and one of kFolderBufferSize or more a name that the system
// cut short, whose folder part would name some other folder: `folder` is
// then left empty and false returned.
bool FolderOfModuleName(const wchar_t* moduleName, std::size_t length, wchar_t* folder);

// folder + "\" + name + extension into `out` of `size` units. False, with
// `out` empty, when the folder is unknown (empty) or the whole does not fit.
bool ComposeTunePath(wchar_t* out, std::size_t size, const wchar_t* folder, const wchar_t* name,
                     const wchar_t* extension);

// `open "<path>" type sequencer alias MUSIC` into `out` (kMciCommandBufferSize
// units). False, with `out` empty, when the command would not fit.
bool FormatMciOpenCommand(wchar_t* out, const wchar_t* path);

// Whether a file found in the folder can serve as a tune: its whole name
// must fit the name buffer, or neither the setting nor the random pick
// could hold it.
bool TuneFileNameFits(const wchar_t* fileName);

// Cuts a file name at its last "." (when there is one): the tune's name.
void StripExtension(wchar_t* fileName);

// True when `name` is the random-play entry.
bool IsRandomTune(const wchar_t* name);

// Whether a poll at `now` comes more than kLoopPollMilliseconds after the one
// at `last`, both 32-bit millisecond tick counts: an unsigned difference, so
// the tick count's wrap after 49.7 days does not stop the polls.
constexpr bool LoopPollDue(uint32_t now, uint32_t last) {
    return static_cast<uint32_t>(now - last) > kLoopPollMilliseconds;
}
