// The display modes offered by the settings dialog: the table that links
// the texts in its mode list to the numbers that are stored, and the rules
// for the texts. Portable: no Windows headers.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int kMaxDisplayModes = 50;
// Room for a mode text and its terminating zero.
constexpr int kModeTextSize = 52;

// How a depth other than 8, 16, 24 or 32 is named: list entries spell it
// "pixcel", the text of the stored mode "pixel", so a stored odd depth never
// equals an entry and is kept unless the user picks one.
enum class DepthNaming { ListEntry, StoredMode };

// "%dx%d %s": width, height and the depth's name ("256 Color", "HiColor",
// "TrueColor(24)", "TrueColor(32)" or "%d bit/pix(c)el"). Always terminated
// within `size`; every 32-bit value fits in kModeTextSize.
void FormatModeText(char* out, std::size_t size, int32_t width, int32_t height,
                    int32_t bitsPerPixel, DepthNaming naming);

struct DisplayModeEntry {
    int32_t width;
    int32_t height;
    int32_t bitsPerPixel;
    char text[kModeTextSize];
};

struct DisplayModeTable {
    int32_t count = 0;
    DisplayModeEntry entries[kMaxDisplayModes] = {};

    void Clear() { count = 0; }
    // Appends a mode with its list text; false (and nothing added) once the
    // table is full, which ends the enumeration.
    bool Add(int32_t width, int32_t height, int32_t bitsPerPixel);
    // The single entry offered when the driver cannot list its modes:
    // 640 by 480 at 8 bits per pixel.
    void SetFallback();
    // Entries to show in the list: those before the first of width 0.
    int ListedCount() const;
    // The mode chosen by the text in the dialog's field: the first entry
    // whose text equals it byte for byte, provided that its width, height
    // and depth are all nonzero; nullptr when there is none, and then the
    // stored mode stays.
    const DisplayModeEntry* Chosen(const char* fieldText) const;
};
