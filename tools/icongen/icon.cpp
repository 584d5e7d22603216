#include "icon.h"

#include <fstream>

namespace icongen {

namespace {

// Blue, green, red, reserved: the 16 standard colours.
const std::uint8_t kPalette[16][4] = {
    {0x00, 0x00, 0x00, 0}, {0x00, 0x00, 0x80, 0}, {0x00, 0x80, 0x00, 0}, {0x00, 0x80, 0x80, 0},
    {0x80, 0x00, 0x00, 0}, {0x80, 0x00, 0x80, 0}, {0x80, 0x80, 0x00, 0}, {0xC0, 0xC0, 0xC0, 0},
    {0x80, 0x80, 0x80, 0}, {0x00, 0x00, 0xFF, 0}, {0x00, 0xFF, 0x00, 0}, {0x00, 0xFF, 0xFF, 0},
    {0xFF, 0x00, 0x00, 0}, {0xFF, 0x00, 0xFF, 0}, {0xFF, 0xFF, 0x00, 0}, {0xFF, 0xFF, 0xFF, 0},
};

void Put16(std::vector<std::uint8_t>& out, unsigned v) {
    out.push_back(v & 0xFF);
    out.push_back(v >> 8 & 0xFF);
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// Bytes of one row padded to a multiple of four.
int Stride(int bits) {
    return (bits + 31) / 32 * 4;
}

int ImageBytes(const Image& image) {
    return 40 + 16 * 4 + (Stride(image.size * 4) + Stride(image.size)) * image.size;
}

// Geometry of the page at one size. The page has a black outline, a red
// header with the binding rings above it, and a grid of day cells whose
// first column (Sunday) is red and one of which (today) is blue.
struct Layout {
    int left, top, right, bottom;  // the page's outline
    int headerBottom;              // last row of the red header
    int ringTop, ringX[2];
    int cellSize, cellStep, columns, rows, gridLeft, gridTop;
    int todayColumn, todayRow;
};

const Layout kLarge = {3, 4, 27, 29, 9, 1, {8, 21}, 2, 3, 7, 5, 6, 12, 4, 2};
const Layout kSmall = {1, 3, 13, 15, 6, 1, {4, 10}, 1, 2, 5, 3, 3, 8, 3, 1};

}  // namespace

void Image::Fill(int left, int top, int right, int bottom, std::uint8_t colour) {
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) {
            if (x >= 0 && y >= 0 && x < size && y < size)
                pixels[static_cast<std::size_t>(y) * size + x] = colour;
        }
    }
}

Image DrawCalendarPage(int size) {
    const Layout& p = size >= 32 ? kLarge : kSmall;
    Image image(size);
    // Shadow, outline, paper, header with its darker lower edge.
    image.Fill(p.left + 2, p.top + 2, p.right + 2, p.bottom + 1, kGray);
    image.Fill(p.left, p.top, p.right, p.bottom, kBlack);
    image.Fill(p.left + 1, p.top + 1, p.right - 1, p.bottom - 1, kWhite);
    image.Fill(p.left + 1, p.top + 1, p.right - 1, p.headerBottom, kRed);
    if (size >= 32) image.Fill(p.left + 1, p.headerBottom, p.right - 1, p.headerBottom, kMaroon);
    // Rings through the top edge.
    for (int x : p.ringX) {
        image.Fill(x, p.ringTop, x + 1, p.top + 2, kSilver);
        image.Fill(x, p.ringTop, x, p.top + 2, kBlack);
    }
    // Day cells.
    for (int row = 0; row < p.rows; ++row) {
        for (int column = 0; column < p.columns; ++column) {
            std::uint8_t colour = column == 0 ? kRed : kGray;
            if (column == p.todayColumn && row == p.todayRow) colour = kBlue;
            const int x = p.gridLeft + column * p.cellStep;
            const int y = p.gridTop + row * p.cellStep;
            image.Fill(x, y, x + p.cellSize - 1, y + p.cellSize - 1, colour);
        }
    }
    return image;
}

std::vector<std::uint8_t> EncodeIco(const std::vector<Image>& images) {
    std::vector<std::uint8_t> out;
    Put16(out, 0);  // reserved
    Put16(out, 1);  // icon
    Put16(out, static_cast<unsigned>(images.size()));
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(images.size());
    for (const Image& image : images) {
        out.push_back(static_cast<std::uint8_t>(image.size));
        out.push_back(static_cast<std::uint8_t>(image.size));
        out.push_back(16);  // colours
        out.push_back(0);
        Put16(out, 1);  // planes
        Put16(out, 4);  // bits per pixel
        Put32(out, ImageBytes(image));
        Put32(out, offset);
        offset += ImageBytes(image);
    }
    for (const Image& image : images) {
        const int n = image.size;
        const int colourStride = Stride(n * 4), maskStride = Stride(n);
        Put32(out, 40);
        Put32(out, n);
        Put32(out, 2 * n);  // colour bitmap and mask stacked
        Put16(out, 1);
        Put16(out, 4);
        Put32(out, 0);  // uncompressed
        Put32(out, (colourStride + maskStride) * n);
        for (int i = 0; i < 4; ++i) Put32(out, 0);
        for (const auto& entry : kPalette) out.insert(out.end(), entry, entry + 4);
        // Colour rows bottom-up, two pixels a byte, transparent pixels black.
        for (int y = n - 1; y >= 0; --y) {
            std::vector<std::uint8_t> row(colourStride, 0);
            for (int x = 0; x < n; ++x) {
                const std::uint8_t c = image.At(x, y) == kTransparent ? kBlack : image.At(x, y);
                row[x / 2] |= x % 2 ? c : c << 4;
            }
            out.insert(out.end(), row.begin(), row.end());
        }
        // Mask rows bottom-up, most significant bit first, set where transparent.
        for (int y = n - 1; y >= 0; --y) {
            std::vector<std::uint8_t> row(maskStride, 0);
            for (int x = 0; x < n; ++x) {
                if (image.At(x, y) == kTransparent) row[x / 8] |= 0x80 >> x % 8;
            }
            out.insert(out.end(), row.begin(), row.end());
        }
    }
    return out;
}

bool WriteIcon(const std::string& path) {
    const std::vector<std::uint8_t> bytes = EncodeIco({DrawCalendarPage(32), DrawCalendarPage(16)});
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

}  // namespace icongen
