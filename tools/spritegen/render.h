// Ray-cast rendering of one turning, extruded numeral into a sprite cell.
#pragma once

#include <cstdint>
#include <vector>

namespace spritegen {

constexpr int kCellWidth = 50;
constexpr int kCellHeight = 45;
constexpr int kFrameCount = 17;

struct Rgb {
    std::uint8_t r, g, b;
};

// The picture of numeral `digit` (0 to 9) turned by frame/kFrameCount of a full turn about
// its vertical axis (frame 0 face-on): kCellWidth * kCellHeight pixels, rows top-down.
// Pixels outside the numeral are exactly black.
std::vector<Rgb> RenderCell(int digit, int frame);

}  // namespace spritegen
