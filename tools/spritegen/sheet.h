// The FULLCOLOR sprite sheet: layout of the cells and the 24-bit BMP file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "render.h"

namespace spritegen {

constexpr int kSheetWidth = 450;
constexpr int kSheetHeight = 900;
constexpr int kBandHeight = 90;  // one band of two cell rows per numeral, 0 at the top
constexpr int kCellsPerRow = 9;

// Top-left pixel of the cell holding `frame` of `digit`, in top-down sheet coordinates.
inline int CellLeft(int frame) {
    return (frame % kCellsPerRow) * kCellWidth;
}
inline int CellTop(int digit, int frame) {
    return digit * kBandHeight + (frame / kCellsPerRow) * kCellHeight;
}

// The whole sheet, kSheetWidth * kSheetHeight pixels, rows top-down.
std::vector<Rgb> RenderSheet();

// The sheet as the bytes of a BMP file: file header, 40-byte info header, then the pixel
// rows bottom-up as blue, green, red, each row padded to a multiple of four bytes.
std::vector<std::uint8_t> EncodeBmp(const std::vector<Rgb>& pixels);

// Renders the sheet and writes it to `path`; false when the file cannot be written.
bool WriteSheet(const std::string& path);

}  // namespace spritegen
