// Reading back the snapshot file the display writes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "pixel_replica.h"

// The whole file, or nothing when it cannot be read.
std::vector<uint8_t> ReadWholeFile(const std::string& path);

// Bytes a width x height snapshot file should have.
uint32_t ExpectedSnapshotSize(int width, int height);

// The screen picture stored in a snapshot file of the given size (rows are
// stored bottom-up, pixels blue, green, red). The file must be complete.
Picture SnapshotPicture(const std::vector<uint8_t>& file, int width, int height);

// Little-endian fields of the file.
inline uint32_t FileU16(const std::vector<uint8_t>& f, size_t at) {
    return f[at] | uint32_t(f[at + 1]) << 8;
}
inline uint32_t FileU32(const std::vector<uint8_t>& f, size_t at) {
    return FileU16(f, at) | FileU16(f, at + 2) << 16;
}
