#include "sheet.h"

#include <fstream>

namespace spritegen {

std::vector<Rgb> RenderSheet() {
    std::vector<Rgb> sheet(kSheetWidth * kSheetHeight, Rgb{0, 0, 0});
    for (int digit = 0; digit < 10; ++digit) {
        for (int frame = 0; frame < kFrameCount; ++frame) {
            const std::vector<Rgb> cell = RenderCell(digit, frame);
            const int left = CellLeft(frame);
            const int top = CellTop(digit, frame);
            for (int y = 0; y < kCellHeight; ++y) {
                for (int x = 0; x < kCellWidth; ++x) {
                    sheet[(top + y) * kSheetWidth + left + x] = cell[y * kCellWidth + x];
                }
            }
        }
    }
    return sheet;
}

namespace {

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

}  // namespace

std::vector<std::uint8_t> EncodeBmp(const std::vector<Rgb>& pixels) {
    constexpr std::uint32_t kHeaderBytes = 14 + 40;
    constexpr std::uint32_t kRowBytes = (kSheetWidth * 3 + 3) / 4 * 4;
    // The image size field counts the pixel bytes without the row padding.
    constexpr std::uint32_t kImageSizeField = kSheetWidth * 3 * kSheetHeight;

    std::vector<std::uint8_t> out;
    out.reserve(kHeaderBytes + kRowBytes * kSheetHeight);
    Put16(out, 0x4D42);  // "BM"
    Put32(out, kHeaderBytes + kRowBytes * kSheetHeight);
    Put16(out, 0);
    Put16(out, 0);
    Put32(out, kHeaderBytes);
    Put32(out, 40);
    Put32(out, kSheetWidth);
    Put32(out, kSheetHeight);  // positive: rows bottom-up
    Put16(out, 1);             // planes
    Put16(out, 24);            // bits per pixel
    Put32(out, 0);             // BI_RGB
    Put32(out, kImageSizeField);
    Put32(out, 0);  // horizontal resolution
    Put32(out, 0);  // vertical resolution
    Put32(out, 0);  // colours used
    Put32(out, 0);  // colours important
    for (int row = kSheetHeight - 1; row >= 0; --row) {
        for (int x = 0; x < kSheetWidth; ++x) {
            const Rgb& p = pixels[row * kSheetWidth + x];
            out.push_back(p.b);
            out.push_back(p.g);
            out.push_back(p.r);
        }
        out.resize(out.size() + (kRowBytes - kSheetWidth * 3), 0);
    }
    return out;
}

bool WriteSheet(const std::string& path) {
    const std::vector<std::uint8_t> bytes = EncodeBmp(RenderSheet());
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    file.close();
    return static_cast<bool>(file);
}

}  // namespace spritegen
