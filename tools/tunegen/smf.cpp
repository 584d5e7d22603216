#include "smf.h"

#include <algorithm>

namespace tunegen {

namespace {

enum Rank { kMeta = 0, kNoteEnd = 1, kSetting = 2, kNoteStart = 3 };

std::uint8_t Byte(int value) {
    return static_cast<std::uint8_t>(value & 0xFF);
}

void PutVariableLength(Bytes& out, std::uint32_t value) {
    std::uint8_t groups[5];
    int count = 0;
    do {
        groups[count++] = static_cast<std::uint8_t>(value & 0x7F);
        value >>= 7;
    } while (value != 0);
    while (count > 1) out.push_back(groups[--count] | 0x80);
    out.push_back(groups[0]);
}

void PutBigEndian(Bytes& out, std::uint32_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) out.push_back(Byte(static_cast<int>(value >> (8 * i))));
}

}  // namespace

void Track::Add(std::uint32_t tick, int rank, Bytes data) {
    events_.push_back({tick, rank, std::move(data)});
}

void Track::NoteOn(std::uint32_t tick, int channel, int key, int velocity) {
    Add(tick, kNoteStart, {Byte(0x90 | channel), Byte(key), Byte(velocity)});
}

void Track::NoteOff(std::uint32_t tick, int channel, int key) {
    Add(tick, kNoteEnd, {Byte(0x80 | channel), Byte(key), 64});
}

void Track::Note(std::uint32_t tick, std::uint32_t length, int channel, int key, int velocity) {
    NoteOn(tick, channel, key, velocity);
    NoteOff(tick + length, channel, key);
}

void Track::Control(std::uint32_t tick, int channel, int controller, int value) {
    Add(tick, kSetting, {Byte(0xB0 | channel), Byte(controller), Byte(value)});
}

void Track::Program(std::uint32_t tick, int channel, int program) {
    Add(tick, kSetting, {Byte(0xC0 | channel), Byte(program)});
}

void Track::Tempo(std::uint32_t tick, int beatsPerMinute) {
    const std::uint32_t microseconds = 60000000u / static_cast<std::uint32_t>(beatsPerMinute);
    Bytes data = {0xFF, 0x51, 3};
    PutBigEndian(data, microseconds, 3);
    Add(tick, kMeta, data);
}

void Track::TimeSignature(std::uint32_t tick, int numerator, int denominatorPower) {
    Add(tick, kMeta, {0xFF, 0x58, 4, Byte(numerator), Byte(denominatorPower), 24, 8});
}

void Track::KeySignature(std::uint32_t tick, int sharps, bool minor) {
    Add(tick, kMeta, {0xFF, 0x59, 2, Byte(sharps), Byte(minor ? 1 : 0)});
}

void Track::Name(const std::string& name) {
    Bytes data = {0xFF, 0x03};
    PutVariableLength(data, static_cast<std::uint32_t>(name.size()));
    data.insert(data.end(), name.begin(), name.end());
    Add(0, kMeta, data);
}

Bytes Track::Encode(std::uint32_t end) const {
    std::vector<Event> sorted = events_;
    std::stable_sort(sorted.begin(), sorted.end(), [](const Event& a, const Event& b) {
        return a.tick != b.tick ? a.tick < b.tick : a.rank < b.rank;
    });
    Bytes body;
    std::uint32_t now = 0;
    for (const Event& e : sorted) {
        PutVariableLength(body, e.tick - now);
        now = e.tick;
        body.insert(body.end(), e.data.begin(), e.data.end());
    }
    PutVariableLength(body, end - now);
    body.insert(body.end(), {0xFF, 0x2F, 0x00});

    Bytes chunk = {'M', 'T', 'r', 'k'};
    PutBigEndian(chunk, static_cast<std::uint32_t>(body.size()), 4);
    chunk.insert(chunk.end(), body.begin(), body.end());
    return chunk;
}

Bytes EncodeFile(const std::vector<Track>& tracks, int ticksPerBeat, std::uint32_t end) {
    Bytes file = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1};
    PutBigEndian(file, static_cast<std::uint32_t>(tracks.size()), 2);
    PutBigEndian(file, static_cast<std::uint32_t>(ticksPerBeat), 2);
    for (const Track& track : tracks) {
        const Bytes chunk = track.Encode(end);
        file.insert(file.end(), chunk.begin(), chunk.end());
    }
    return file;
}

}  // namespace tunegen
