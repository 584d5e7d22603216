// The saver's 256-entry palette: a 3-3-2 colour ramp, optionally replaced
// in part by the colour table of an 8-bit bitmap.
#pragma once

#include <cstddef>
#include <cstdint>

// Same layout as Windows' PALETTEENTRY.
struct PaletteColour {
    uint8_t red, green, blue, flags;
};

constexpr int kPaletteSize = 256;

// Entry i: red from bits 5-7, green from bits 2-4, blue from bits 0-1.
PaletteColour RampColour(int index);
void FillRampPalette(PaletteColour* entries);

// Number of colour-table entries that follow a BITMAPINFOHEADER with these
// fields: 0 unless the header is a full one (size at least 40) of at most 8
// bits per pixel; then the colours-used count, or 2^bits when that is 0;
// never more than 256.
int ColourTableCount(uint32_t headerSize, uint16_t bitCount, uint32_t coloursUsed);

// Applies a colour table taken from a bitmap resource: `header` points at a
// BITMAPINFOHEADER followed by its table, `size` bytes in all. Table entries
// are blue, green, red, reserved; flags become 0. Entries the table does not
// reach (or that lie beyond `size`) keep their colour. Returns the count applied.
int ApplyResourceColourTable(const uint8_t* header, size_t size, PaletteColour* entries);
