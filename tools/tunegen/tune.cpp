#include "tune.h"

#include <cstring>
#include <sstream>
#include <string>

#include "smf.h"

namespace tunegen {

namespace {

constexpr std::uint32_t kBar = 4 * kTicksPerBeat;
constexpr std::uint32_t kEnd = kBars * kBar;

enum Channel { kVibes = 0, kPiano = 1, kBass = 2, kDrums = 9 };

// One bar of the score: its chords (one for the whole bar or two for its
// halves; empty to hold the previous one) and the melody as pitch:length
// tokens, lengths in swung eighths adding up to 8, "r" for a rest.
struct Bar {
    const char* chords;
    const char* melody;
};

const Bar kScore[kBars] = {
    // Introduction: piano and bass, the melody's pickup at the end.
    {"Gm9", "r:8"},
    {"C13 C7b9", "r:6 C5:1 D5:1"},
    // Theme, first half.
    {"Fmaj7", "E5:3 C5:1 A4:4"},
    {"Em7b5 A7b9", "G4:2 Bb4:1 D5:1 C#5:2 Bb4:1 A4:1"},
    {"Dm9", "F4:1 A4:1 C5:1 E5:1 D5:4"},
    {"Cm7 F7", "Eb5:2 D5:1 C5:1 A4:2 G4:1 F4:1"},
    {"Bbmaj7", "D5:3 C5:1 A4:4"},
    {"Bbm7 Eb9", "Db5:2 C5:1 Bb4:1 G4:2 Bb4:1 Db5:1"},
    {"Am7 D7b9", "C5:2 A4:1 G4:1 F#4:2 A4:1 C5:1"},
    {"Gm7 C7", "Bb4:2 A4:1 G4:1 E4:2 C5:1 D5:1"},
    // Theme, second half, rising to F5.
    {"Fmaj7", "E5:3 C5:1 A4:3 C5:1"},
    {"Em7b5 A7b9", "D5:2 G4:1 Bb4:1 C#5:3 E5:1"},
    {"Dm9", "F5:4 E5:2 D5:2"},
    {"Cm7 F7", "Eb5:2 D5:1 C5:1 A4:4"},
    {"Bbmaj7", "F5:3 E5:1 D5:4"},
    {"Bbm7 Eb9", "Db5:3 Bb4:1 G4:3 F4:1"},
    {"Gm7 C7", "A4:2 Bb4:1 D5:1 E5:2 C5:2"},
    {"Fmaj7 D7b9", "F5:3 C5:1 Eb5:2 C5:2"},
    // Tag: slowing down onto the last chord, which fades over two bars.
    {"Gm9 C7sus", "Bb4:2 D5:2 C5:2 Bb4:1 G4:1"},
    {"Fmaj9", "C5:2 A4:6"},
    {"", "r:8"},
};

constexpr int kFirstThemeBar = 2;
constexpr int kTagBar = 18;
constexpr int kLastChordBar = 19;

// Chord qualities: the piano's rootless voicing as intervals above the
// root, lowest first, and the fifth that the bass may play.
struct Quality {
    const char* suffix;
    int intervals[4];
    int fifth;
};

const Quality kQualities[] = {
    {"maj9", {4, 7, 11, 14}, 7}, {"maj7", {4, 7, 11, 14}, 7},  {"m7b5", {3, 6, 10, 17}, 6},
    {"m9", {3, 7, 10, 14}, 7},   {"m7", {3, 7, 10, 14}, 7},    {"13", {10, 14, 16, 21}, 7},
    {"7b9", {4, 7, 10, 13}, 7},  {"7sus", {5, 10, 14, 19}, 7}, {"9", {4, 9, 10, 14}, 7},
    {"7", {4, 9, 10, 14}, 7},
};

struct Chord {
    int root = -1;  // pitch class
    const Quality* quality = nullptr;
};

int PitchClass(const char* name, std::size_t* used) {
    static const int kNatural[] = {9, 11, 0, 2, 4, 5, 7};  // A to G
    if (name[0] < 'A' || name[0] > 'G') return -1;
    int pc = kNatural[name[0] - 'A'];
    *used = 1;
    if (name[1] == 'b') pc += 11, ++*used;
    if (name[1] == '#') pc += 1, ++*used;
    return pc % 12;
}

Chord ParseChord(const std::string& symbol) {
    Chord chord;
    std::size_t used = 0;
    const int root = PitchClass(symbol.c_str(), &used);
    if (root < 0) return chord;
    for (const Quality& q : kQualities) {
        if (symbol.compare(used, std::string::npos, q.suffix) == 0) {
            chord.root = root;
            chord.quality = &q;
        }
    }
    return chord;
}

// The smallest key of pitch class `pc` at or above `low`.
int KeyAtOrAbove(int pc, int low) {
    return low + ((pc - low) % 12 + 12) % 12;
}

// Start tick of swung eighth `slot` of a bar: the second eighth of each beat
// comes two thirds of the way through it.
std::uint32_t SlotTick(int slot) {
    return static_cast<std::uint32_t>(slot / 2 * kTicksPerBeat +
                                      (slot % 2 != 0 ? kTicksPerBeat * 2 / 3 : 0));
}

void SetUpChannel(Track& track, int channel, int program, int volume, int pan, int reverb) {
    track.Program(0, channel, program);
    track.Control(0, channel, 7, volume);
    track.Control(0, channel, 10, pan);
    track.Control(0, channel, 91, reverb);
    track.Control(0, channel, 93, 16);
    track.Control(0, channel, 11, 100);  // full again when the tune repeats after its fade
    track.Control(0, channel, 64, 0);
}

bool WriteMelody(Track& track) {
    int index = 0;
    for (int bar = 0; bar < kBars; ++bar) {
        std::istringstream tokens(kScore[bar].melody);
        std::string token;
        int slot = 0;
        while (tokens >> token) {
            const std::size_t colon = token.find(':');
            if (colon == std::string::npos) return false;
            const int length = std::stoi(token.substr(colon + 1));
            const std::string pitch = token.substr(0, colon);
            if (length <= 0 || slot + length > 8) return false;
            if (pitch != "r") {
                const int key = Key(pitch.c_str());
                if (key < 0) return false;
                const std::uint32_t start = bar * kBar + SlotTick(slot);
                const std::uint32_t end =
                    bar * kBar + (slot + length == 8 ? kBar : SlotTick(slot + length));
                int velocity = bar >= kTagBar ? 62 : bar >= 10 ? 76 : 70;
                if (slot % 4 == 0) velocity += 6;
                if (slot % 2 != 0) velocity -= 6;
                velocity += index * 37 % 7 - 3;
                track.Note(start, end - start - (length >= 4 ? 10 : 24), kVibes, key, velocity);
                ++index;
            }
            slot += length;
        }
        if (slot != 8) return false;
    }
    return true;
}

// A chord voiced in the piano's middle register, rolled upwards; `extraLow`
// adds the root an octave below the voicing.
void RollChord(Track& track, std::uint32_t tick, std::uint32_t length, const Chord& chord,
               int velocity, std::uint32_t roll, bool extraLow) {
    const int lowest = KeyAtOrAbove((chord.root + chord.quality->intervals[0]) % 12, 50);
    std::uint32_t at = tick;
    if (extraLow) {
        track.Note(at, length, kPiano, KeyAtOrAbove(chord.root, 38), velocity - 4);
        at += roll;
    }
    for (int i = 0; i < 4; ++i) {
        const int key = lowest + chord.quality->intervals[i] - chord.quality->intervals[0];
        track.Note(at, length - (at - tick), kPiano, key, velocity + (i == 3 ? 4 : 0));
        at += roll;
    }
}

int BassRoot(const Chord& chord) {
    return KeyAtOrAbove(chord.root, 29);
}

bool WriteChordsAndBass(Track& piano, Track& bass) {
    Chord chords[kBars][2];
    int counts[kBars] = {};
    for (int bar = 0; bar < kBars; ++bar) {
        std::istringstream symbols(kScore[bar].chords);
        std::string symbol;
        while (symbols >> symbol) {
            if (counts[bar] == 2) return false;
            const Chord chord = ParseChord(symbol);
            if (chord.quality == nullptr) return false;
            chords[bar][counts[bar]++] = chord;
        }
    }
    for (int bar = 0; bar < kBars; ++bar) {
        const std::uint32_t start = bar * kBar;
        if (bar == kLastChordBar) {
            // The last chord: rolled slowly, held through the fading last bar.
            const Chord& last = chords[bar][0];
            RollChord(piano, start, 2 * kBar - 40, last, 50, 40, true);
            bass.Note(start, 2 * kBar - 60, kBass, BassRoot(last), 74);
            continue;
        }
        if (counts[bar] == 0) continue;
        const int next = bar + 1 < kBars && counts[bar + 1] > 0 ? BassRoot(chords[bar + 1][0]) : -1;
        if (counts[bar] == 1) {
            const Chord& chord = chords[bar][0];
            // Struck on the beat, touched again on the swung "and" of two.
            RollChord(piano, start, SlotTick(3) - 20, chord, 54, 12, false);
            RollChord(piano, start + SlotTick(3), kBar - SlotTick(3) - 30, chord, 42, 8, false);
            const int root = BassRoot(chord);
            bass.Note(start, 2 * kTicksPerBeat - 30, kBass, root, 82);
            bass.Note(start + 2 * kTicksPerBeat, kTicksPerBeat - 30, kBass,
                      root + chord.quality->fifth, 70);
            bass.Note(start + 3 * kTicksPerBeat, kTicksPerBeat - 30, kBass,
                      next >= 0 ? next - 1 : root, 66);
        } else {
            for (int half = 0; half < 2; ++half) {
                const Chord& chord = chords[bar][half];
                const std::uint32_t at = start + half * 2 * kTicksPerBeat;
                RollChord(piano, at, 2 * kTicksPerBeat - 30, chord, 52 - 2 * half, 12, false);
                const int root = BassRoot(chord);
                bass.Note(at, kTicksPerBeat - 30, kBass, root, 80 - 4 * half);
                const int passing = half == 1 && next >= 0 ? next - 1 : root + chord.quality->fifth;
                bass.Note(at + kTicksPerBeat, kTicksPerBeat - 30, kBass, passing, 68);
            }
        }
    }
    return true;
}

void WriteDrums(Track& drums) {
    constexpr int kRide = 51, kPedalHat = 44;
    for (int bar = kFirstThemeBar; bar <= kTagBar; ++bar) {
        for (int slot : {0, 2, 3, 4, 6, 7}) {
            drums.Note(bar * kBar + SlotTick(slot), 120, kDrums, kRide, slot % 2 != 0 ? 28 : 36);
        }
        for (int beat : {1, 3}) {
            drums.Note(bar * kBar + beat * kTicksPerBeat, 120, kDrums, kPedalHat, 34);
        }
    }
    drums.Note(kLastChordBar * kBar, 240, kDrums, kRide, 30);
}

}  // namespace

int Key(const char* name) {
    std::size_t used = 0;
    const int pc = PitchClass(name, &used);
    if (pc < 0 || name[used] < '0' || name[used] > '9' || name[used + 1] != '\0') return -1;
    // The pitch class of "Cb" or "B#" belongs to the neighbouring octave.
    int octave = name[used] - '0';
    if (name[0] == 'C' && name[1] == 'b') --octave;
    if (name[0] == 'B' && name[1] == '#') ++octave;
    return 12 * (octave + 1) + pc;
}

std::vector<std::uint8_t> ComposeTune() {
    Track conductor, vibes, piano, bass, drums;
    conductor.Name("Jazz Romantic");
    conductor.TimeSignature(0, 4, 2);
    conductor.KeySignature(0, -1, false);
    conductor.Tempo(0, 66);
    // Ritardando through the tag.
    conductor.Tempo(kTagBar * kBar + 2 * kTicksPerBeat, 60);
    conductor.Tempo(kLastChordBar * kBar, 56);
    conductor.Tempo((kLastChordBar + 1) * kBar, 50);

    vibes.Name("Vibraphone");
    SetUpChannel(vibes, kVibes, 11, 100, 76, 64);
    piano.Name("Piano");
    SetUpChannel(piano, kPiano, 0, 84, 50, 56);
    bass.Name("Bass");
    SetUpChannel(bass, kBass, 32, 104, 64, 40);
    drums.Name("Brushes");
    SetUpChannel(drums, kDrums, 40, 72, 64, 48);

    if (!WriteMelody(vibes) || !WriteChordsAndBass(piano, bass)) return {};
    WriteDrums(drums);

    // The last bar fades out.
    for (int step = 0; step < 8; ++step) {
        const std::uint32_t at = (kBars - 1) * kBar + step * kTicksPerBeat / 2;
        for (int channel : {kVibes, kPiano, kBass}) {
            Track& track = channel == kVibes ? vibes : channel == kPiano ? piano : bass;
            track.Control(at, channel, 11, 92 - 8 * step);
        }
    }
    return EncodeFile({conductor, vibes, piano, bass, drums}, kTicksPerBeat, kEnd);
}

}  // namespace tunegen
