// The portable rules of tune choice: the fixed tune names, the sizes of the
// buffers that hold folders, names, paths and commands, and how those texts
// are put together without ever overflowing them.
#pragma once

#include <cstddef>
#include <cstdint>

// Tune names (Shift-JIS in the compiled program, as every ANSI text).
extern const char kDefaultTuneName[];  // played when no MidiFile is stored
extern const char kRandomTuneName[];   // picks a random *.mid of the folder
extern const char kNoMusicTuneName[];  // names no file, so nothing plays

// Buffer sizes, terminating zero included.
constexpr std::size_t kFolderBufferSize = 300;      // module file name and folder
constexpr std::size_t kTuneNameBufferSize = 100;    // MidiFile, the dialog field, a picked name
constexpr std::size_t kTunePathBufferSize = 300;    // folder\name.mid
constexpr std::size_t kMciCommandBufferSize = 256;  // the MCI open command
constexpr std::size_t kWideFileNameSize = 260;      // DirectMusic's file name, in 16-bit units
// Folder plus "\*.mid": sized for the longest folder rather than for short
// folders only, so a deep program folder is searched like any other.
constexpr std::size_t kPatternBufferSize = kFolderBufferSize + 6;

// The tune field's combo box in the settings dialog.
constexpr int kTuneComboId = 1031;

// A DirectMusic tune that has ended is looked for at most this often.
constexpr uint32_t kLoopPollMilliseconds = 5000;

// Writes the folder part of a module file name of `length` characters
// (everything before its last backslash; a name without a backslash stays
// whole) to `folder`, which holds kFolderBufferSize bytes. A length of 0 is
// a failed read, and one of kFolderBufferSize or more a name that the system
// cut short, whose folder part would name some other folder: `folder` is
// then left empty and false returned. `isLeadByte` tells the first bytes of
// the code page's two-byte characters, whose second byte may be 0x5C (as in
// the Shift-JIS "表") and is then no backslash; null for a one-byte code page.
using LeadBytePredicate = bool (*)(unsigned char);
bool FolderOfModuleName(const char* moduleName, std::size_t length, char* folder,
                        LeadBytePredicate isLeadByte);

// folder + "\" + name + extension into `out` of `size` bytes. False, with
// `out` empty, when the folder is unknown (empty) or the whole does not fit.
bool ComposeTunePath(char* out, std::size_t size, const char* folder, const char* name,
                     const char* extension);

// `open "<path>" type sequencer alias MUSIC` into `out` (kMciCommandBufferSize
// bytes). False, with `out` empty, when the command would not fit.
bool FormatMciOpenCommand(char* out, const char* path);

// Whether a file found in the folder can serve as a tune: its whole name
// must fit the name buffer, or neither the setting nor the random pick
// could hold it.
bool TuneFileNameFits(const char* fileName);

// Cuts a file name at its last "." (when there is one): the tune's name.
void StripExtension(char* fileName);

// True when `name` is the random-play entry (byte comparison).
bool IsRandomTune(const char* name);

// Whether a poll at `now` comes more than kLoopPollMilliseconds after the one
// at `last`, both 32-bit millisecond tick counts: an unsigned difference, so
// the tick count's wrap after 49.7 days does not stop the polls.
constexpr bool LoopPollDue(uint32_t now, uint32_t last) {
    return static_cast<uint32_t>(now - last) > kLoopPollMilliseconds;
}
