// The saver's numeric settings: their indices, registry value names and
// defaults. Portable data shared by the registry store, the run and the tests.
#pragma once

#include <array>
#include <cstdint>

// Index of every numeric setting, named by its registry value name.
enum SettingIndex : int {
    SelfRotation = 0,
    Moving = 1,
    Process = 2,
    FPS = 3,
    BigBang = 4,
    BlackHall = 5,
    Gyakuten = 6,
    Hanekaeri = 7,
    Kasoku = 8,
    HideCheck = 9,
    NiftyManagerCheck = 10,
    Guippy2Check = 11,
    InternetExpCheck = 12,
    NetScapeCheck = 13,
    ASCIInetCrewCheck = 14,
    PCVANNavCheck = 15,
    CIMCheck = 16,
    data1 = 17,  // reserved: named in the table, never read or written
    data2 = 18,  // reserved like data1
    NonStop = 19,
    xScreenSize = 20,
    yScreenSize = 21,
    ColorDepth = 22,
    NifTermCheck = 23,
    BackgroundColor = 24,
    LoopMusic = 25,
    BlackBack = 26,
    UseDirectMusic = 27,
};

constexpr int kSettingCount = 28;

// Size of the buffer that holds the "MidiFile" text, terminating zero included.
constexpr int kMidiFileBufferSize = 100;
constexpr const char kMidiFileValueName[] = "MidiFile";

// The screen width (xScreenSize) that selects half-size sprite cells, their
// shrunk sheet and the small page geometry.
constexpr int32_t kSmallScreenWidth = 320;

// The range a setting may be given in the settings dialog, the x11 hack's
// options and XScreenSaver's settings file, with the dialog's slider step.
struct SliderRange {
    int minimum;
    int maximum;
    int lineStep;  // one click on an arrow
};

constexpr SliderRange kSelfRotationSlider = {0, 200, 1};
constexpr SliderRange kMovingSlider = {0, 500, 1};
constexpr SliderRange kProcessSlider = {200, 1000, 100};

struct SettingInfo {
    int index;
    const char* name;
    int32_t defaultValue;
};

extern const std::array<SettingInfo, kSettingCount> kSettingTable;

// True for 0..27.
constexpr bool IsSettingIndex(int index) {
    return index >= 0 && index < kSettingCount;
}

// Value name of a setting, or nullptr for an index outside the table.
const char* SettingName(int index);

// Default of a setting, or 0 for an index outside the table.
int32_t SettingDefault(int index);

// The copy of the settings that a run keeps in memory. Indexed by
// SettingIndex; starts out holding every default.
struct Settings {
    std::array<int32_t, kSettingCount> value;

    Settings();
    int32_t operator[](int index) const { return IsSettingIndex(index) ? value[index] : 0; }
    void Set(int index, int32_t v) {
        if (IsSettingIndex(index)) value[index] = v;
    }
};

// Whether start-up keeps the setting in memory for the run (indices 0-16 and
// 19-24); the others are read from the store at every use, or never.
constexpr bool IsStartupSetting(int index) {
    return (index >= SelfRotation && index <= CIMCheck) ||
           (index >= NonStop && index <= BackgroundColor);
}

// The run's copy: start-up fills it from the store; the settings dialog
// shows and edits it before writing it back.
extern Settings g_Settings;
