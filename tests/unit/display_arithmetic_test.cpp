#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "display/frame_stats.h"
#include "display/palette_ramp.h"
#include "display/snapshot_format.h"
#include "display/sprite_blit.h"

namespace {

DigitObject Cell(int x, int y, int frame = 0, int digit = 0, bool half = false) {
    DigitObject o{};
    o.inPlay = 1;
    o.x = x;
    o.y = y;
    o.frame = frame;
    o.cellWidth = half ? 25 : 50;
    o.cellHeight = half ? 22 : 45;
    o.sheetColumns = 9;
    o.frameCount = 17;
    o.sheetY = digit * (half ? 44 : 90);
    return o;
}

// Screen columns [first, last] that a copy covers, from its rectangle.
std::pair<int, int> Columns(const SpriteBlit& b) {
    return {b.destX, b.destX + (b.right - b.left) - 1};
}

TEST(SpriteBlit, SourceCellOfEveryFrameLeavesOutLastColumnAndRow) {
    SpriteBlit b = ComputeSpriteBlit(Cell(100, 100, 0, 3), 640, 480);
    EXPECT_EQ(b.left, 0);
    EXPECT_EQ(b.top, 270);
    EXPECT_EQ(b.right, 49);
    EXPECT_EQ(b.bottom, 314);
    EXPECT_EQ(b.destX, 100);
    EXPECT_EQ(b.destY, 100);

    b = ComputeSpriteBlit(Cell(10, 10, 12, 7), 640, 480);  // second row, fourth cell
    EXPECT_EQ(b.left, 150);
    EXPECT_EQ(b.top, 7 * 90 + 45);
    EXPECT_EQ(b.right - b.left, 49);
    EXPECT_EQ(b.bottom - b.top, 44);

    b = ComputeSpriteBlit(Cell(10, 10, 16, 9, true), 320, 240);  // half-size cells
    EXPECT_EQ(b.left, 7 * 25);
    EXPECT_EQ(b.top, 9 * 44 + 22);
    EXPECT_EQ(b.right - b.left, 24);
    EXPECT_EQ(b.bottom - b.top, 21);
}

TEST(SpriteBlit, RightAndLeftEdgesClipTheWholeCellOverhang) {
    EXPECT_EQ(Columns(ComputeSpriteBlit(Cell(589, 0), 640, 480)), std::make_pair(589, 637));
    EXPECT_EQ(Columns(ComputeSpriteBlit(Cell(590, 0), 640, 480)), std::make_pair(590, 638));
    EXPECT_EQ(Columns(ComputeSpriteBlit(Cell(600, 0), 640, 480)), std::make_pair(600, 638));

    SpriteBlit b = ComputeSpriteBlit(Cell(-10, 0), 640, 480);
    EXPECT_EQ(Columns(b), std::make_pair(0, 38));
    EXPECT_EQ(b.left, 10) << "the cell shows from its eleventh column";
}

TEST(SpriteBlit, TopAndBottomEdgesClipLikeTheSides) {
    SpriteBlit b = ComputeSpriteBlit(Cell(0, -5, 0, 2), 640, 480);
    EXPECT_EQ(b.destY, 0);
    EXPECT_EQ(b.top, 180 + 5);
    EXPECT_EQ(b.bottom, 180 + 44);

    b = ComputeSpriteBlit(Cell(0, 440, 0, 2), 640, 480);
    EXPECT_EQ(b.destY + (b.bottom - b.top) - 1, 478) << "never reaches the last row";
}

TEST(SpriteBlit, ObjectsWhollyOffScreenGiveEmptyRectangles) {
    for (DigitObject o : {Cell(-50, 10), Cell(639, 10), Cell(10, -45), Cell(10, 479)}) {
        SpriteBlit b = ComputeSpriteBlit(o, 640, 480);
        EXPECT_TRUE(b.right <= b.left || b.bottom <= b.top) << o.x << "," << o.y;
    }
}

TEST(PaletteRamp, ThreeThreeTwoLevels) {
    PaletteColour p[kPaletteSize];
    FillRampPalette(p);
    auto is = [](PaletteColour c, int r, int g, int b) {
        return c.red == r && c.green == g && c.blue == b && c.flags == 0;
    };
    EXPECT_TRUE(is(p[0], 0, 0, 0));
    EXPECT_TRUE(is(p[0xFF], 255, 255, 255));
    EXPECT_TRUE(is(p[0xE0], 255, 0, 0));
    EXPECT_TRUE(is(p[0x1C], 0, 255, 0));
    EXPECT_TRUE(is(p[0x03], 0, 0, 255));
    EXPECT_TRUE(is(p[0x20 | 0x08 | 0x01], 36, 72, 85));
    EXPECT_TRUE(is(p[0x60 | 0x0C | 0x02], 109, 109, 170));
}

TEST(PaletteRamp, ColourTableOfABitmapReplacesOnlyItsEntries) {
    EXPECT_EQ(ColourTableCount(40, 24, 0), 0);
    EXPECT_EQ(ColourTableCount(12, 8, 0), 0) << "old-style header";
    EXPECT_EQ(ColourTableCount(40, 8, 0), 256);
    EXPECT_EQ(ColourTableCount(40, 4, 0), 16);
    EXPECT_EQ(ColourTableCount(40, 8, 16), 16);
    EXPECT_EQ(ColourTableCount(40, 8, 100000), 256);

    std::vector<uint8_t> res(40 + 16 * 4, 0);
    res[0] = 40;
    res[14] = 8;
    res[32] = 16;  // colours used
    for (int i = 0; i < 16; ++i) {
        res[40 + 4 * i] = static_cast<uint8_t>(i);          // blue
        res[40 + 4 * i + 1] = static_cast<uint8_t>(i + 1);  // green
        res[40 + 4 * i + 2] = static_cast<uint8_t>(i + 2);  // red
        res[40 + 4 * i + 3] = 0x77;                         // reserved
    }
    PaletteColour p[kPaletteSize];
    FillRampPalette(p);
    EXPECT_EQ(ApplyResourceColourTable(res.data(), res.size(), p), 16);
    EXPECT_EQ(p[5].blue, 5);
    EXPECT_EQ(p[5].green, 6);
    EXPECT_EQ(p[5].red, 7);
    EXPECT_EQ(p[5].flags, 0);
    PaletteColour ramp16 = RampColour(16), ramp255 = RampColour(255);
    EXPECT_EQ(std::memcmp(&p[16], &ramp16, sizeof ramp16), 0);
    EXPECT_EQ(std::memcmp(&p[255], &ramp255, sizeof ramp255), 0);

    // A table cut short by the end of the resource applies what is there.
    FillRampPalette(p);
    EXPECT_EQ(ApplyResourceColourTable(res.data(), 40 + 3 * 4 + 2, p), 3);
    EXPECT_EQ(p[3].red, RampColour(3).red);
    EXPECT_EQ(ApplyResourceColourTable(res.data(), 20, p), 0);
}

uint32_t Le32(const uint8_t* p) {
    return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24;
}

TEST(SnapshotFormat, SizesForUsualAndOddWidths) {
    EXPECT_EQ(SnapshotRowSize(640), 1920);
    EXPECT_EQ(SnapshotFileSize(640, 480), 921654u);
    EXPECT_EQ(SnapshotFileSize(320, 240), 230454u);
    EXPECT_EQ(SnapshotRowSize(1366), 4100);
    EXPECT_EQ(SnapshotRowSize(1), 4);
    EXPECT_EQ(SnapshotRowSize(0), 0);
    EXPECT_EQ(SnapshotRowSize(-640), 0);
    EXPECT_EQ(SnapshotFileSize(640, 0), 0u);
    EXPECT_EQ(SnapshotFileSize(100000, 100000), 0u) << "beyond a 32-bit file size";
}

TEST(SnapshotFormat, HeadersDescribeABottomUpTwentyFourBitBitmap) {
    uint8_t f[kSnapshotFileHeaderSize], i[kSnapshotInfoHeaderSize];
    BuildSnapshotHeaders(640, 480, f, i);
    EXPECT_EQ(f[0], 'B');
    EXPECT_EQ(f[1], 'M');
    EXPECT_EQ(Le32(f + 2), 921654u);
    EXPECT_EQ(Le32(f + 6), 0u);
    EXPECT_EQ(Le32(f + 10), 54u);
    EXPECT_EQ(Le32(i), 40u);
    EXPECT_EQ(Le32(i + 4), 640u);
    EXPECT_EQ(Le32(i + 8), 480u);
    EXPECT_EQ(i[12] | i[13] << 8, 1);
    EXPECT_EQ(i[14] | i[15] << 8, 24);
    EXPECT_EQ(Le32(i + 16), 0u);
    EXPECT_EQ(Le32(i + 20), 921600u);
    EXPECT_EQ(Le32(i + 24), 3790u);
    EXPECT_EQ(Le32(i + 28), 3790u);
    EXPECT_EQ(Le32(i + 32), 0u);
    EXPECT_EQ(Le32(i + 36), 0u);

    BuildSnapshotHeaders(1366, 768, f, i);
    EXPECT_EQ(Le32(i + 20), 4100u * 768);

    uint8_t row[6] = {};
    StoreSnapshotPixel(row, 1, 0x00112233);  // COLORREF: blue 11, green 22, red 33
    EXPECT_EQ(row[3], 0x11);
    EXPECT_EQ(row[4], 0x22);
    EXPECT_EQ(row[5], 0x33);
}

TEST(FrameStats, CounterStopsAtSixThousand) {
    FrameStats s;
    for (int i = 1; i <= 6005; ++i) {
        s.CountFrame(1000 + i);
        if (i == 1 || i == 5999 || i == 6000) {
            EXPECT_EQ(s.FrameCounter, i);
        }
    }
    EXPECT_EQ(s.FrameCounter, 6000);
}

TEST(FrameStats, MeasurementCountsTheClosingFrame) {
    FrameStats s;
    s.CountFrame(5000);
    EXPECT_EQ(s.measureStart, 5000u);
    EXPECT_EQ(s.lastFrameRate, 0);
    for (uint32_t t = 5100; t <= 6000; t += 100) s.CountFrame(t);  // 10 more, not past 1000 ms
    EXPECT_EQ(s.lastFrameRate, 0);
    s.CountFrame(6001);  // the 12th frame closes the measurement
    EXPECT_EQ(s.lastFrameRate, 12);
    EXPECT_EQ(s.framesThisMeasure, 0);
    EXPECT_EQ(s.measureStart, 6001u);
    s.CountFrame(7002);
    EXPECT_EQ(s.lastFrameRate, 1);
}

TEST(FrameStats, TextPositionScalesWithTheScreen) {
    auto at = [](int w, int h) {
        TextPosition p = FrameRateTextPosition(w, h);
        return std::make_pair(p.x, p.y);
    };
    EXPECT_EQ(at(640, 480), std::make_pair(500, 420));
    EXPECT_EQ(at(320, 240), std::make_pair(250, 210));
    EXPECT_EQ(at(800, 600), std::make_pair(625, 525));
    EXPECT_EQ(at(1024, 768), std::make_pair(800, 672));
    EXPECT_EQ(at(2000000000, 2000000000).first, 1562500000) << "no overflow";
}

}  // namespace
