// Rules of the settings dialog that need no window: the about text's
// release line and the three sliders. Portable: no Windows headers.
#pragma once

#include <cstddef>

#include "settings/settings_table.h"

// The release shown in the about text (ver1.80): the project's version,
// which the build passes in as plain decimal numbers.
constexpr int kReleaseMajor = TESSARY_VERSION_MAJOR;
constexpr int kReleaseMinor = TESSARY_VERSION_MINOR;

// An about line as shown: the first "%d.%02d" in it becomes the release
// number, everything else is copied as it stands (a stray '%' elsewhere in
// a string is text, not a format). Always terminated within `size` units.
void FormatAboutLine(const wchar_t* line, wchar_t* out, std::size_t size);

// The scroll codes a slider acts on; all others (page left and right,
// thumb position, end of scroll) leave it alone, so trough clicks do nothing.
constexpr int kScrollLineLeft = 0;
constexpr int kScrollLineRight = 1;
constexpr int kScrollThumbTrack = 5;

// `value` brought into the slider's range: a hand-edited setting outside it
// is shown, stepped and saved as the nearest end the thumb can show.
int ClampToSlider(const SliderRange& range, int value);

// The slider's value after scroll `code` (arrows step from `current`, a drag
// takes `thumb`), or false when the code is ignored.
bool ApplyScrollCode(const SliderRange& range, int code, int thumb, int current, int* next);
