// A small writer of Standard MIDI Files (format 1): tracks collect timed
// events in any order and are written sorted, with delta times.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tunegen {

using Bytes = std::vector<std::uint8_t>;

class Track {
  public:
    void NoteOn(std::uint32_t tick, int channel, int key, int velocity);
    void NoteOff(std::uint32_t tick, int channel, int key);
    // A note from `tick` lasting `length` ticks.
    void Note(std::uint32_t tick, std::uint32_t length, int channel, int key, int velocity);
    void Control(std::uint32_t tick, int channel, int controller, int value);
    void Program(std::uint32_t tick, int channel, int program);
    void Tempo(std::uint32_t tick, int beatsPerMinute);
    void TimeSignature(std::uint32_t tick, int numerator, int denominatorPower);
    void KeySignature(std::uint32_t tick, int sharps, bool minor);
    void Name(const std::string& name);

    // The track chunk: events by time, at equal times meta events first,
    // then note ends, controls and programs, then note starts; ended by an
    // end-of-track event at `end`, which must not come before any event.
    Bytes Encode(std::uint32_t end) const;

  private:
    struct Event {
        std::uint32_t tick;
        int rank;  // order among events at the same tick
        Bytes data;
    };
    void Add(std::uint32_t tick, int rank, Bytes data);
    std::vector<Event> events_;
};

// Header chunk plus the tracks, all ending at `end` ticks.
Bytes EncodeFile(const std::vector<Track>& tracks, int ticksPerBeat, std::uint32_t end);

}  // namespace tunegen
