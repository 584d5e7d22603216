#include "display/snapshot_format.h"

namespace {
void Put16(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}
void Put32(uint8_t* p, uint32_t v) {
    Put16(p, v);
    Put16(p + 2, v >> 16);
}
}  // namespace

int32_t SnapshotRowSize(int32_t width) {
    if (width <= 0 || width > 0x20000000) return 0;
    return (3 * width + 3) & ~3;
}

uint32_t SnapshotFileSize(int32_t width, int32_t height) {
    const uint64_t row = static_cast<uint64_t>(SnapshotRowSize(width));
    if (row == 0 || height <= 0) return 0;
    const uint64_t total = row * static_cast<uint64_t>(height) + 54;
    return total > 0xFFFFFFFFu ? 0 : static_cast<uint32_t>(total);
}

void BuildSnapshotHeaders(int32_t width, int32_t height, uint8_t* f, uint8_t* i) {
    const uint32_t fileSize = SnapshotFileSize(width, height);
    const uint32_t imageSize = fileSize != 0 ? fileSize - 54 : 0;
    for (int k = 0; k < kSnapshotFileHeaderSize; ++k) f[k] = 0;
    for (int k = 0; k < kSnapshotInfoHeaderSize; ++k) i[k] = 0;
    Put16(f, 19778);  // "BM"
    Put32(f + 2, fileSize);
    Put32(f + 10, 54);
    Put32(i, 40);
    Put32(i + 4, static_cast<uint32_t>(width));
    Put32(i + 8, static_cast<uint32_t>(height));
    Put16(i + 12, 1);
    Put16(i + 14, 24);
    Put32(i + 20, imageSize);
    Put32(i + 24, kSnapshotPixelsPerMetre);
    Put32(i + 28, kSnapshotPixelsPerMetre);
}
