#include "config/display_modes.h"

#include <cstdio>
#include <cstring>

void FormatModeText(char* out, std::size_t size, int32_t width, int32_t height,
                    int32_t bitsPerPixel, DepthNaming naming) {
    // "-2147483648 bit/pixcel" is the longest name.
    char depth[32];
    switch (bitsPerPixel) {
        case 8:
            std::snprintf(depth, sizeof depth, "256 Color");
            break;
        case 16:
            std::snprintf(depth, sizeof depth, "HiColor");
            break;
        case 24:
            std::snprintf(depth, sizeof depth, "TrueColor(24)");
            break;
        case 32:
            std::snprintf(depth, sizeof depth, "TrueColor(32)");
            break;
        default:
            std::snprintf(depth, sizeof depth,
                          naming == DepthNaming::ListEntry ? "%d bit/pixcel" : "%d bit/pixel",
                          static_cast<int>(bitsPerPixel));
            break;
    }
    if (size == 0) return;
    std::snprintf(out, size, "%dx%d %s", static_cast<int>(width), static_cast<int>(height), depth);
}

bool DisplayModeTable::Add(int32_t width, int32_t height, int32_t bitsPerPixel) {
    if (count < 0 || count >= kMaxDisplayModes) return false;
    DisplayModeEntry& entry = entries[count];
    entry.width = width;
    entry.height = height;
    entry.bitsPerPixel = bitsPerPixel;
    FormatModeText(entry.text, sizeof entry.text, width, height, bitsPerPixel,
                   DepthNaming::ListEntry);
    ++count;
    return true;
}

void DisplayModeTable::SetFallback() {
    Clear();
    Add(640, 480, 8);
}

int DisplayModeTable::ListedCount() const {
    int n = 0;
    while (n < count && n < kMaxDisplayModes && entries[n].width != 0) ++n;
    return n;
}

const DisplayModeEntry* DisplayModeTable::Chosen(const char* fieldText) const {
    for (int i = 0; i < count && i < kMaxDisplayModes; ++i) {
        const DisplayModeEntry& entry = entries[i];
        if (std::strcmp(entry.text, fieldText) != 0) continue;
        if (entry.width == 0 || entry.height == 0 || entry.bitsPerPixel == 0) return nullptr;
        return &entry;
    }
    return nullptr;
}
