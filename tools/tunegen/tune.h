// "Jazz Romantic": the saver's default tune, a slow swing ballad in F major
// for vibraphone, piano, double bass and brushes. Two bars of introduction,
// a sixteen-bar theme in two eight-bar halves and a three-bar tag that slows
// down and fades out on F major 9, so that the introduction's ii-V follows
// it naturally when the tune starts again.
#pragma once

#include <cstdint>
#include <vector>

namespace tunegen {

constexpr int kTicksPerBeat = 480;
constexpr int kBars = 21;

// The whole tune as a format-1 MIDI file: a tempo track and one track per
// instrument. Empty if the score in the source does not add up.
std::vector<std::uint8_t> ComposeTune();

// A pitch such as "C4" (60), "Bb3" or "F#4" as a MIDI key; -1 if malformed.
int Key(const char* name);

}  // namespace tunegen
