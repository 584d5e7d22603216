#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "show/embedded_sheet.h"
#include "show/frame_image.h"

namespace {

constexpr uint32_t kBackground = 0x123456;

// A w x h frame with digit 2 in frame 10 at (x, y), the 50 x 45 cell at
// (50, 225) of a sheet whose every pixel names its own position, except
// column 75, which is black (transparent).
struct Frame {
    SheetImage sheet{450, 900, std::vector<uint32_t>(450 * 900)};
    std::vector<uint32_t> px;
    Frame(int w, int h, int x, int y, int rate = -1) : px(w * h) {
        for (int i = 0; i < 450 * 900; ++i)
            sheet.pixels[i] = i % 450 == 75 ? 0 : (i % 450 + 1) | (i / 450 + 1) << 12;
        AnimationState a;
        a.ObjectPool[0] = {1, 2, x, y,  0, 0,  0,  0,  0,  0, 0,   1,
                           0, 0, 1, 10, 0, 10, 17, 50, 45, 9, 180, 0};
        FrameBuffer f{w, h, w, px.data()};
        ComposeFrame(f, sheet, a, {kBackground, 0, 0xFFFF00, rate >= 0, rate});
    }
};

// {x, y, x0, y0, x1, y1, sheetX, sheetY}: one digit at (x, y) on a 200 x 150
// frame covers the box x0..x1, y0..y1 (x0 = -1: nothing shows), and the sheet
// pixel (sheetX, sheetY) lands at its top-left corner.
const std::array<int, 8> kClipRows[] = {
    {20, 30, 20, 30, 68, 73, 50, 225},    {-10, 30, 0, 30, 38, 73, 60, 225},
    {20, -5, 20, 0, 68, 38, 50, 230},     {150, 30, 150, 30, 198, 73, 50, 225},
    {160, 30, 160, 30, 198, 73, 50, 225}, {20, 120, 20, 120, 68, 148, 50, 225},
    {-50, 30, -1, 0, 0, 0, 0, 0},         {199, 30, -1, 0, 0, 0, 0, 0},
};

TEST(FrameImage, DigitsAreClippedAtEveryEdgeAndBlackIsTransparent) {
    for (const auto& [x, y, wantX0, wantY0, wantX1, wantY1, sheetX, sheetY] : kClipRows) {
        const Frame f(200, 150, x, y);
        int x0 = -1, y0 = 0, x1 = 0, y1 = 0;
        for (int i = 200 * 150 - 1; i >= 0; --i) {
            if (f.px[i] == kBackground) continue;
            if (x0 < 0) x1 = i % 200, y1 = i / 200;
            x0 = i % 200, y0 = i / 200;
        }
        EXPECT_EQ(std::vector<int>({x0, y0, x1, y1}),
                  std::vector<int>({wantX0, wantY0, wantX1, wantY1}))
            << x << "," << y;
        const uint32_t corner = (sheetX + 1) | (sheetY + 1) << 12;
        EXPECT_TRUE(x0 < 0 || f.px[y0 * 200 + x0] == corner) << x << "," << y;
        // The black sheet column 75 is transparent.
        EXPECT_TRUE(x0 < 0 || f.px[y0 * 200 + x0 + 75 - sheetX] == kBackground) << x << "," << y;
    }
}

TEST(FrameImage, FrameRateTextIsYellowAtItsPlaceUnderTheDigits) {
    const Frame seven(640, 480, -50, 0, 7), covered(640, 480, 500, 420, 7);
    EXPECT_GT(std::count(seven.px.begin(), seven.px.end(), 0xFFFF00u), 40);
    for (int i = 0; i < 640 * 480; ++i) {
        if (seven.px[i] != 0xFFFF00) continue;
        ASSERT_TRUE(i % 640 >= 500 && i / 640 >= 420) << i % 640 << "," << i / 640;
        EXPECT_TRUE(i % 640 >= 549 || i / 640 >= 464 || i % 640 == 525 ||
                    covered.px[i] != 0xFFFF00);
    }
}

TEST(FrameImage, BuiltInSheetDecodesAndShrinksByNearestPixel) {
    SheetImage full;
    ASSERT_TRUE(DecodeBmp24(EmbeddedSheetData(), EmbeddedSheetSize(), full));
    // The file's pixel (14, 10) from the top, stored blue-green-red, is (7, 5) when halved.
    EXPECT_EQ(ShrinkForSmallScreen(full).pixels[5 * 450 + 7], 0xE6483Du);
}

}  // namespace
