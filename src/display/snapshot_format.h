// The layout of the snapshot file: a 24-bit bottom-up BMP of the screen.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int kSnapshotFileHeaderSize = 14;
constexpr int kSnapshotInfoHeaderSize = 40;
constexpr int32_t kSnapshotPixelsPerMetre = 3790;

// 3 * width rounded up to a multiple of 4; 0 for a width the file cannot
// describe (not positive, or rows that would not fit a 32-bit size).
int32_t SnapshotRowSize(int32_t width);

// Total file size for width x height, or 0 when it would not fit 32 bits.
uint32_t SnapshotFileSize(int32_t width, int32_t height);

// Fills the 14-byte file header and the 40-byte info header.
void BuildSnapshotHeaders(int32_t width, int32_t height, uint8_t* fileHeader, uint8_t* infoHeader);

// Stores a Windows COLORREF (0x00BBGGRR) as the blue, green, red bytes of
// pixel x of a file row.
inline void StoreSnapshotPixel(uint8_t* row, int32_t x, uint32_t colour) {
    row[3 * x] = static_cast<uint8_t>(colour >> 16);
    row[3 * x + 1] = static_cast<uint8_t>(colour >> 8);
    row[3 * x + 2] = static_cast<uint8_t>(colour);
}
