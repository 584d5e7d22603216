// Checks the committed default tune: the composer reproduces it byte for byte, it is a
// well-formed MIDI file that any player reads, it lasts about a minute and a quarter in
// playable ranges, and it fades out on the tonic and restores its volume for the repeat.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "tune.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Note {
    int channel, key;
    std::uint32_t start, end;
};

struct Control {
    int channel, controller, value;
    std::uint32_t tick;
};

// What a player reads from the file; `error` names the first fault found.
struct Song {
    int format = -1, trackCount = -1, division = -1, chunks = 0;
    std::vector<std::uint32_t> trackEnds;
    std::vector<Note> notes;
    std::vector<Control> controls;
    std::map<std::uint32_t, std::uint32_t> tempo;  // tick -> microseconds per beat
    std::string error;
};

class Reader {
  public:
    explicit Reader(const Bytes& bytes) : b_(bytes) {}
    bool More(std::size_t n) const { return at_ + n <= b_.size(); }
    std::uint32_t Fixed(int n) {
        std::uint32_t v = 0;
        for (int i = 0; i < n; ++i) v = v << 8 | b_[at_++];
        return v;
    }
    std::uint32_t Variable() {
        std::uint32_t v = 0;
        for (int i = 0; i < 4 && More(1); ++i) {
            const std::uint8_t byte = b_[at_++];
            v = v << 7 | (byte & 0x7F);
            if ((byte & 0x80) == 0) return v;
        }
        return ~0u;
    }
    std::uint8_t Peek() const { return b_[at_]; }
    std::size_t at_ = 0;

  private:
    const Bytes& b_;
};

Song Read(const Bytes& bytes) {
    Song song;
    Reader r(bytes);
    if (!r.More(14) || r.Fixed(4) != 0x4D546864 || r.Fixed(4) != 6) {
        song.error = "no MThd header of 6 bytes";
        return song;
    }
    song.format = static_cast<int>(r.Fixed(2));
    song.trackCount = static_cast<int>(r.Fixed(2));
    song.division = static_cast<int>(r.Fixed(2));
    while (r.More(8)) {
        if (r.Fixed(4) != 0x4D54726B) return song.error = "chunk is not MTrk", song;
        const std::size_t end = r.at_ + 4 + r.Fixed(4);
        if (end > bytes.size()) return song.error = "track runs past the file", song;
        ++song.chunks;
        std::uint32_t tick = 0;
        int status = 0;
        std::map<std::pair<int, int>, std::uint32_t> sounding;
        bool ended = false;
        while (r.at_ < end && !ended) {
            const std::uint32_t delta = r.Variable();
            if (delta == ~0u || !r.More(1)) return song.error = "bad delta time", song;
            tick += delta;
            if (r.Peek() & 0x80) status = r.Fixed(1);
            if (status == 0xFF) {
                const int type = static_cast<int>(r.Fixed(1));
                const std::uint32_t length = r.Variable();
                if (type == 0x51 && length == 3)
                    song.tempo[tick] = r.Fixed(3);
                else
                    r.at_ += length;
                ended = type == 0x2F;
            } else if (status >= 0x80 && status < 0xF0) {
                const int kind = status & 0xF0, channel = status & 0x0F;
                const int first = static_cast<int>(r.Fixed(1));
                const int second = kind == 0xC0 || kind == 0xD0 ? 0 : static_cast<int>(r.Fixed(1));
                const auto key = std::make_pair(channel, first);
                if (kind == 0x90 && second > 0) {
                    if (sounding.count(key)) return song.error = "note struck twice", song;
                    sounding[key] = tick;
                } else if (kind == 0x80 || kind == 0x90) {
                    if (!sounding.count(key)) return song.error = "note ends unstruck", song;
                    song.notes.push_back({channel, first, sounding[key], tick});
                    sounding.erase(key);
                } else if (kind == 0xB0) {
                    song.controls.push_back({channel, first, second, tick});
                }
            } else {
                return song.error = "unexpected status byte", song;
            }
        }
        if (!ended || r.at_ != end) return song.error = "track does not end at its end", song;
        if (!sounding.empty()) return song.error = "note still sounding at the end", song;
        song.trackEnds.push_back(tick);
    }
    if (r.at_ != bytes.size()) song.error = "bytes after the last track";
    return song;
}

double Seconds(const Song& song, std::uint32_t tick) {
    double seconds = 0;
    std::uint32_t from = 0, perBeat = 500000;
    for (const auto& [at, value] : song.tempo) {
        if (at >= tick) break;
        seconds += static_cast<double>(at - from) * perBeat / 1e6 / song.division;
        from = at;
        perBeat = value;
    }
    return seconds + static_cast<double>(tick - from) * perBeat / 1e6 / song.division;
}

Bytes ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), {});
}

const Song& Tune() {
    static const Song song = Read(tunegen::ComposeTune());
    return song;
}

TEST(TunegenTune, CommittedFileIsTheComposersOutput) {
    const Bytes committed = ReadFile(COMMITTED_TUNE);
    ASSERT_FALSE(committed.empty()) << COMMITTED_TUNE;
    EXPECT_TRUE(committed == tunegen::ComposeTune())
        << "rebuild it with: cmake --build <native build> --target default_tune";
}

TEST(TunegenTune, IsAWellFormedFormatOneFile) {
    const Song& song = Tune();
    ASSERT_EQ(song.error, "");
    EXPECT_EQ(song.format, 1);
    EXPECT_EQ(song.division, tunegen::kTicksPerBeat);
    EXPECT_EQ(song.trackCount, 5);
    EXPECT_EQ(song.chunks, 5);
    for (std::uint32_t end : song.trackEnds) EXPECT_EQ(end, tunegen::kBars * 4u * 480u);
}

TEST(TunegenTune, LastsAboutAMinuteAndAQuarterInPlayableRanges) {
    const Song& song = Tune();
    ASSERT_EQ(song.error, "");
    const double length = Seconds(song, song.trackEnds[0]);
    EXPECT_GT(length, 60.0);
    EXPECT_LT(length, 100.0);
    for (const auto& [tick, perBeat] : song.tempo) {
        EXPECT_GE(perBeat, 60000000u / 72) << tick;  // a ballad: never above 72 beats
        EXPECT_LE(perBeat, 60000000u / 48) << tick;
    }

    std::map<int, std::pair<int, int>> range;  // channel -> lowest, highest key
    for (const Note& n : song.notes) {
        auto [it, added] = range.try_emplace(n.channel, n.key, n.key);
        it->second.first = std::min(it->second.first, n.key);
        it->second.second = std::max(it->second.second, n.key);
        EXPECT_GT(n.end, n.start);
    }
    ASSERT_EQ(range.size(), 4u) << "melody, piano, bass and drums";
    EXPECT_GE(range[0].first, 60);  // vibraphone
    EXPECT_LE(range[0].second, 84);
    EXPECT_GE(range[2].first, 28);  // bass
    EXPECT_LE(range[2].second, 55);
    EXPECT_GE(range[1].first, 36);  // piano
    EXPECT_LE(range[1].second, 84);
}

TEST(TunegenTune, FadesOutOnTheTonicAndIsFullAgainWhenItRepeats) {
    const Song& song = Tune();
    ASSERT_EQ(song.error, "");
    const std::uint32_t end = song.trackEnds[0];
    const std::uint32_t lastBar = end - 4 * 480;

    // Everything still sounding in the last bar belongs to F major 9, over an F.
    const std::set<int> fMajorNine = {5, 9, 0, 4, 7};
    int lowest = 128;
    for (const Note& n : song.notes) {
        if (n.channel == 9 || n.end <= lastBar) continue;
        EXPECT_TRUE(fMajorNine.count(n.key % 12)) << n.key;
        lowest = std::min(lowest, n.key);
    }
    EXPECT_EQ(lowest % 12, 5);

    std::map<int, int> expressionAtStart, expressionAtEnd;
    for (const Control& c : song.controls) {
        if (c.controller != 11) continue;
        if (c.tick == 0) expressionAtStart[c.channel] = c.value;
        expressionAtEnd[c.channel] = c.value;
    }
    for (int channel : {0, 1, 2, 9}) EXPECT_EQ(expressionAtStart[channel], 100) << channel;
    for (int channel : {0, 1, 2}) EXPECT_LT(expressionAtEnd[channel], 50) << channel;
}

TEST(TunegenKey, NamesKeysWithAccidentalsAcrossOctaves) {
    EXPECT_EQ(tunegen::Key("C4"), 60);
    EXPECT_EQ(tunegen::Key("Bb3"), 58);
    EXPECT_EQ(tunegen::Key("F#4"), 66);
    EXPECT_EQ(tunegen::Key("Cb4"), 59);
    EXPECT_EQ(tunegen::Key("B#3"), 60);
    EXPECT_EQ(tunegen::Key("H4"), -1);
    EXPECT_EQ(tunegen::Key("C"), -1);
    EXPECT_EQ(tunegen::Key("C44"), -1);
}

}  // namespace
