#include "show/frame_image.h"

#include <algorithm>
#include <cstdio>

#include "display/frame_stats.h"

namespace {

uint32_t ReadU32(const uint8_t* p) {
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}
uint16_t ReadU16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

// Places an 8-bit channel value into a mask of any width and position.
uint32_t PlaceChannel(uint32_t value, uint32_t mask) {
    if (mask == 0) return 0;
    int shift = 0;
    while (((mask >> shift) & 1u) == 0) ++shift;
    const uint32_t top = mask >> shift;
    return (value * top / 255u) << shift & mask;
}

// A 5-by-7 bitmap of each character the frame-rate text uses; bit 4 of a row
// is its leftmost column.
struct Glyph {
    char c;
    uint8_t rows[7];
};
constexpr Glyph kGlyphs[] = {
    {'0', {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}},
    {'1', {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'2', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}},
    {'3', {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}},
    {'4', {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}},
    {'5', {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E}},
    {'6', {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}},
    {'7', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}},
    {'8', {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}},
    {'9', {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C}},
    {'F', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10}},
    {'P', {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10}},
    {'S', {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E}},
    {':', {0x00, 0x0C, 0x0C, 0x00, 0x0C, 0x0C, 0x00}},
};

const Glyph* FindGlyph(char c) {
    for (const Glyph& g : kGlyphs) {
        if (g.c == c) return &g;
    }
    return nullptr;  // a blank
}

// Fills the rectangle [x0, x1) x [y0, y1), cut to the frame.
void FillRect(FrameBuffer& f, int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint32_t pixel) {
    x0 = std::max(x0, 0);
    y0 = std::max(y0, 0);
    x1 = std::min(x1, f.width);
    y1 = std::min(y1, f.height);
    for (int32_t y = y0; y < y1; ++y) {
        std::fill(f.pixels + static_cast<ptrdiff_t>(y) * f.stride + x0,
                  f.pixels + static_cast<ptrdiff_t>(y) * f.stride + std::max(x0, x1), pixel);
    }
}

}  // namespace

uint32_t PixelFormat::Pack(uint32_t rgb) const {
    return PlaceChannel(rgb >> 16 & 0xFF, redMask) | PlaceChannel(rgb >> 8 & 0xFF, greenMask) |
           PlaceChannel(rgb & 0xFF, blueMask) | fixedBits;
}

bool DecodeBmp24(const uint8_t* data, size_t size, SheetImage& out) {
    constexpr size_t kHeaders = 14 + 40;
    if (data == nullptr || size < kHeaders || data[0] != 'B' || data[1] != 'M') return false;
    const uint32_t pixelOffset = ReadU32(data + 10);
    const uint32_t infoSize = ReadU32(data + 14);
    const int32_t width = static_cast<int32_t>(ReadU32(data + 18));
    const int32_t rawHeight = static_cast<int32_t>(ReadU32(data + 22));
    if (infoSize < 40 || ReadU16(data + 26) != 1 || ReadU16(data + 28) != 24 ||
        ReadU32(data + 30) != 0) {
        return false;
    }
    constexpr int32_t kMaxSide = 1 << 14;
    const int64_t height = rawHeight < 0 ? -static_cast<int64_t>(rawHeight) : rawHeight;
    if (width <= 0 || width > kMaxSide || height <= 0 || height > kMaxSide) return false;
    const size_t rowBytes = (static_cast<size_t>(width) * 3 + 3) & ~static_cast<size_t>(3);
    if (pixelOffset < kHeaders || pixelOffset > size ||
        (size - pixelOffset) / rowBytes < static_cast<size_t>(height)) {
        return false;
    }
    out.width = width;
    out.height = static_cast<int32_t>(height);
    out.pixels.assign(static_cast<size_t>(width) * height, 0);
    for (int32_t y = 0; y < out.height; ++y) {
        const int32_t stored = rawHeight > 0 ? out.height - 1 - y : y;  // bottom-up unless negative
        const uint8_t* row = data + pixelOffset + rowBytes * stored;
        uint32_t* to = out.pixels.data() + static_cast<size_t>(y) * width;
        for (int32_t x = 0; x < width; ++x, row += 3) {
            to[x] = static_cast<uint32_t>(row[2]) << 16 | row[1] << 8 | row[0];
        }
    }
    return true;
}

SheetImage ShrinkForSmallScreen(const SheetImage& full) {
    SheetImage small;
    small.width = full.width;
    small.height = full.height;
    small.pixels.assign(full.pixels.size(), 0);
    const int32_t w = full.width / 2, h = std::min<int32_t>(440, full.height);
    for (int32_t y = 0; y < h; ++y) {
        const int32_t sy = static_cast<int32_t>(static_cast<int64_t>(y) * full.height / h);
        for (int32_t x = 0; x < w; ++x) {
            const int32_t sx = static_cast<int32_t>(static_cast<int64_t>(x) * full.width / w);
            small.pixels[static_cast<size_t>(y) * full.width + x] =
                full.pixels[static_cast<size_t>(sy) * full.width + sx];
        }
    }
    return small;
}

void ConvertPixels(SheetImage& image, const PixelFormat& format) {
    // In a format of fewer bits a very dark colour can pack to the key (black);
    // it takes the next value instead, so that only black is transparent.
    const uint32_t key = format.Pack(0), nearest = format.blueMask & ~(format.blueMask - 1);
    for (uint32_t& p : image.pixels) {
        const uint32_t packed = format.Pack(p);
        p = p != 0 && packed == key ? packed | nearest : packed;
    }
}

void CopyKeyed(FrameBuffer& frame, const SheetImage& sheet, const SpriteBlit& b, uint32_t key) {
    const int32_t w = b.right - b.left, h = b.bottom - b.top;
    if (w <= 0 || h <= 0 || b.left < 0 || b.top < 0 || b.right > sheet.width ||
        b.bottom > sheet.height || b.destX < 0 || b.destY < 0 || w > frame.width - b.destX ||
        h > frame.height - b.destY) {
        return;
    }
    for (int32_t row = 0; row < h; ++row) {
        const uint32_t* from =
            sheet.pixels.data() + static_cast<ptrdiff_t>(b.top + row) * sheet.width + b.left;
        uint32_t* to =
            frame.pixels + static_cast<ptrdiff_t>(b.destY + row) * frame.stride + b.destX;
        for (int32_t x = 0; x < w; ++x) to[x] = from[x] != key ? from[x] : to[x];
    }
}

void DrawFrameRateText(FrameBuffer& frame, int32_t rate, uint32_t colour) {
    char text[32];
    std::snprintf(text, sizeof text, "FPS: %02d", rate);
    // The Windows overlay font is width * 18 / 640 pixels high; the 7-row
    // glyphs plus a row above and below are scaled to come close.
    const int32_t fontHeight = static_cast<int32_t>(static_cast<int64_t>(frame.width) * 18 / 640);
    const int32_t scale = std::max(1, fontHeight / 9);
    const TextPosition at = FrameRateTextPosition(frame.width, frame.height);
    int32_t x = at.x;
    for (const char* c = text; *c != '\0'; ++c, x += 6 * scale) {
        const Glyph* g = FindGlyph(*c);
        if (g == nullptr) continue;
        for (int32_t row = 0; row < 7; ++row) {
            for (int32_t col = 0; col < 5; ++col) {
                if ((g->rows[row] >> (4 - col) & 1) == 0) continue;
                const int32_t px = x + col * scale, py = at.y + (row + 1) * scale;
                FillRect(frame, px, py, px + scale, py + scale, colour);
            }
        }
    }
}

void ComposeFrame(FrameBuffer& frame, const SheetImage& sheet, const AnimationState& animation,
                  const FrameStyle& style) {
    FillRect(frame, 0, 0, frame.width, frame.height, style.background);
    if (style.showFrameRate) DrawFrameRateText(frame, style.frameRate, style.textColour);
    for (const DigitObject& object : animation.ObjectPool) {
        if (!object.inPlay) continue;
        CopyKeyed(frame, sheet, ComputeSpriteBlit(object, frame.width, frame.height), style.key);
    }
}
