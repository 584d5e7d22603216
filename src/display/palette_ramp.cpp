#include "display/palette_ramp.h"

#include <cstring>

PaletteColour RampColour(int i) {
    PaletteColour c;
    c.red = static_cast<uint8_t>(((i >> 5) & 7) * 255 / 7);
    c.green = static_cast<uint8_t>(((i >> 2) & 7) * 255 / 7);
    c.blue = static_cast<uint8_t>((i & 3) * 255 / 3);
    c.flags = 0;
    return c;
}

void FillRampPalette(PaletteColour* entries) {
    for (int i = 0; i < kPaletteSize; ++i) entries[i] = RampColour(i);
}

int ColourTableCount(uint32_t headerSize, uint16_t bitCount, uint32_t coloursUsed) {
    if (headerSize < 40 || bitCount > 8) return 0;
    uint32_t n = coloursUsed != 0 ? coloursUsed : (1u << bitCount);
    return n > kPaletteSize ? kPaletteSize : static_cast<int>(n);
}

namespace {
uint32_t Le32(const uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
}  // namespace

int ApplyResourceColourTable(const uint8_t* header, size_t size, PaletteColour* entries) {
    if (header == nullptr || size < 40) return 0;
    const uint32_t headerSize = Le32(header);
    const uint16_t bitCount = static_cast<uint16_t>(header[14] | (header[15] << 8));
    int n = ColourTableCount(headerSize, bitCount, Le32(header + 32));
    if (headerSize >= size) return 0;
    // A table cut short by the end of the resource applies only what is there.
    const size_t available = (size - headerSize) / 4;
    if (static_cast<size_t>(n) > available) n = static_cast<int>(available);
    const uint8_t* table = header + headerSize;
    for (int i = 0; i < n; ++i) {
        entries[i].blue = table[4 * i];
        entries[i].green = table[4 * i + 1];
        entries[i].red = table[4 * i + 2];
        entries[i].flags = 0;
    }
    return n;
}
