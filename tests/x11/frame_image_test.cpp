#include <gtest/gtest.h>

#include <set>

#include "x11/embedded_sheet.h"
#include "x11/frame_image.h"

namespace {

constexpr uint32_t kBackground = 0x123456;

// A 450 x 900 sheet whose every pixel names its own position, never black.
SheetImage CoordinateSheet() {
    SheetImage s{450, 900, std::vector<uint32_t>(450 * 900)};
    for (int y = 0; y < 900; ++y)
        for (int x = 0; x < 450; ++x) s.pixels[y * 450 + x] = (x + 1) | (y + 1) << 12;
    return s;
}

struct Frame {
    std::vector<uint32_t> pixels;
    FrameBuffer buffer;
    Frame(int w, int h) : pixels(w * h) { buffer = {w, h, w, pixels.data()}; }
    uint32_t At(int x, int y) const { return pixels[y * buffer.width + x]; }
};

DigitObject Object(int x, int y, int digit, int frame) {
    DigitObject o{};
    o.inPlay = 1, o.x = x, o.y = y, o.digit = digit, o.frame = frame;
    o.cellWidth = 50, o.cellHeight = 45, o.sheetColumns = 9, o.frameCount = 17;
    o.sheetY = digit * 90;
    return o;
}

void Compose(Frame& f, const SheetImage& sheet, std::initializer_list<DigitObject> objects,
             bool showRate = false, int rate = 0) {
    AnimationState a;
    int i = 0;
    for (const DigitObject& o : objects) a.ObjectPool[i++] = o;
    ComposeFrame(f.buffer, sheet, a, {kBackground, 0, 0xFFFF00, showRate, rate});
}

// One object on a 200 x 150 frame: the lit box and the sheet pixel at its
// top-left corner (right and bottom inclusive; x0 = -1 when nothing shows).
struct ClipRow {
    int x, y;
    int x0, y0, x1, y1, sheetX, sheetY;
};
const ClipRow kClipRows[] = {
    {20, 30, 20, 30, 68, 73, 50, 225},     // inside: all but the cell's last column and row
    {-10, 30, 0, 30, 38, 73, 60, 225},     // left edge
    {20, -5, 20, 0, 68, 38, 50, 230},      // top edge
    {150, 30, 150, 30, 198, 73, 50, 225},  // right: never the last column
    {160, 30, 160, 30, 198, 73, 50, 225},
    {20, 120, 20, 120, 68, 148, 50, 225},  // bottom: never the last row
    {-50, 30, -1, 0, 0, 0, 0, 0},          // wholly off at the left
    {199, 30, -1, 0, 0, 0, 0, 0},          // only the last column
};

TEST(FrameImage, DigitCopiesAreClippedAtEveryEdge) {
    const SheetImage sheet = CoordinateSheet();
    for (const ClipRow& r : kClipRows) {
        Frame f(200, 150);
        Compose(f, sheet, {Object(r.x, r.y, 2, 10)});
        int x0 = -1, y0 = 0, x1 = 0, y1 = 0;
        for (int y = 149; y >= 0; --y)
            for (int x = 199; x >= 0; --x)
                if (f.At(x, y) != kBackground) {
                    if (x0 < 0) x1 = x, y1 = y;
                    x0 = x, y0 = y;
                }
        EXPECT_EQ(x0, r.x0) << r.x << "," << r.y;
        if (x0 < 0) continue;
        EXPECT_EQ(y0, r.y0) << r.x << "," << r.y;
        EXPECT_EQ(x1, r.x1) << r.x << "," << r.y;
        EXPECT_EQ(y1, r.y1) << r.x << "," << r.y;
        EXPECT_EQ(f.At(x0, y0), static_cast<uint32_t>((r.sheetX + 1) | (r.sheetY + 1) << 12));
    }
}

TEST(FrameImage, BlackIsTransparentAndLaterObjectsCoverEarlierOnes) {
    SheetImage sheet = CoordinateSheet();
    for (int i = 0; i < 450 * 900; i += 3) sheet.pixels[i] = 0;
    Frame f(200, 150);
    Compose(f, sheet, {Object(10, 10, 0, 0), Object(30, 10, 1, 0)});
    for (int y = 10; y < 54; ++y)
        for (int x = 10; x < 79; ++x) {
            const bool second = x >= 30 && sheet.pixels[(y - 10 + 90) * 450 + x - 30] != 0;
            const uint32_t first = x < 59 ? sheet.pixels[(y - 10) * 450 + x - 10] : 0;
            const uint32_t want =
                second ? sheet.pixels[(y - 10 + 90) * 450 + x - 30] : (first ? first : kBackground);
            ASSERT_EQ(f.At(x, y), want) << x << "," << y;
        }
}

TEST(FrameImage, FrameRateTextIsYellowAtItsPlaceAndUnderTheDigits) {
    const SheetImage sheet = CoordinateSheet();
    Frame seven(640, 480), eight(640, 480), covered(640, 480);
    Compose(seven, sheet, {}, true, 7);
    Compose(eight, sheet, {}, true, 8);
    Compose(covered, sheet, {Object(500, 420, 0, 0)}, true, 7);
    EXPECT_NE(seven.pixels, eight.pixels);
    int yellow = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
            if (seven.At(x, y) != 0xFFFF00) continue;
            ASSERT_TRUE(x >= 500 && y >= 420) << x << "," << y;
            ++yellow;
            if (x < 549 && y < 464) {
                EXPECT_NE(covered.At(x, y), 0xFFFF00u);
            }
        }
    EXPECT_GT(yellow, 40);
}

TEST(FrameImage, TheBuiltInSheetDecodesAndShrinksWithExactColours) {
    SheetImage full;
    ASSERT_TRUE(DecodeBmp24(EmbeddedSheetData(), EmbeddedSheetSize(), full));
    ASSERT_EQ(full.width, 450);
    ASSERT_EQ(full.height, 900);
    EXPECT_EQ(full.pixels[0], 0u);
    EXPECT_FALSE(DecodeBmp24(EmbeddedSheetData(), EmbeddedSheetSize() - 1, full));
    const SheetImage small = ShrinkForSmallScreen(full);
    const std::set<uint32_t> colours(full.pixels.begin(), full.pixels.end());
    for (int y = 0; y < 900; ++y)
        for (int x = 0; x < 450; ++x) {
            const uint32_t p = small.pixels[y * 450 + x];
            ASSERT_TRUE(x < 225 && y < 440 ? colours.count(p) == 1 : p == 0) << x << "," << y;
        }
    for (int d = 0; d < 10; ++d) {  // digit d's first cell, 25 x 22 at (0, d * 44), is drawn
        int lit = 0;
        for (int y = d * 44; y < d * 44 + 22; ++y)
            for (int x = 0; x < 25; ++x) lit += small.pixels[y * 450 + x] != 0;
        EXPECT_GT(lit, 50) << d;
    }
}

TEST(FrameImage, BmpRowsChannelsAndPaddingAndPixelFormats) {
    // 2 x 2, bottom-up, rows padded to 8 bytes: blue, green / red, white.
    std::vector<uint8_t> bmp(54 + 16, 0);
    const uint8_t header[] = {'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40,
                              0,   0,   0,  2, 0, 0, 0, 2, 0, 0, 0,  1, 0, 24};
    std::copy(std::begin(header), std::end(header), bmp.begin());
    const uint8_t rows[] = {0, 0, 255, 255, 255, 255, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0};
    std::copy(std::begin(rows), std::end(rows), bmp.begin() + 54);
    SheetImage image;
    ASSERT_TRUE(DecodeBmp24(bmp.data(), bmp.size(), image));
    EXPECT_EQ(image.pixels, (std::vector<uint32_t>{0x0000FF, 0x00FF00, 0xFF0000, 0xFFFFFF}));
    bmp[22] = 0xFE, bmp[23] = bmp[24] = bmp[25] = 0xFF;  // height -2: top-down
    ASSERT_TRUE(DecodeBmp24(bmp.data(), bmp.size(), image));
    EXPECT_EQ(image.pixels[0], 0xFF0000u);
    bmp[28] = 32;
    EXPECT_FALSE(DecodeBmp24(bmp.data(), bmp.size(), image));

    const PixelFormat bgr{0x0000FF, 0x00FF00, 0xFF0000, 0};
    const PixelFormat deep{0x3FF00000, 0x000FFC00, 0x000003FF, 0xC0000000};
    EXPECT_EQ(bgr.Pack(0x102030), 0x302010u);
    EXPECT_EQ(deep.Pack(0xFF0000), 0xFFF00000u);
    EXPECT_EQ(deep.Pack(0x000000), 0xC0000000u);
}

}  // namespace
