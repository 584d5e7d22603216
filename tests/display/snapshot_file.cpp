#include "snapshot_file.h"

#include <fstream>
#include <iterator>

std::vector<uint8_t> ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return {};
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in),
                                std::istreambuf_iterator<char>());
}

namespace {

uint32_t RowBytes(int width) {
    return (3u * uint32_t(width) + 3u) & ~3u;
}

}  // namespace

uint32_t ExpectedSnapshotSize(int width, int height) {
    return 54u + RowBytes(width) * uint32_t(height);
}

Picture SnapshotPicture(const std::vector<uint8_t>& file, int width, int height) {
    Picture p(width, height, 0);
    const uint32_t row = RowBytes(width);
    for (int y = 0; y < height; ++y) {
        const uint8_t* line = file.data() + 54 + size_t(height - 1 - y) * row;
        for (int x = 0; x < width; ++x)
            p.At(x, y) = RGB(line[3 * x + 2], line[3 * x + 1], line[3 * x]);
    }
    return p;
}
