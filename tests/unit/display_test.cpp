// The display's arithmetic: what part of a cell each digit copies at the
// screen edges, the snapshot file's layout, the frame count and rate, and the
// colour table of a replacement sheet.
#include <gtest/gtest.h>

#include <vector>

#include "display/frame_stats.h"
#include "display/palette_ramp.h"
#include "display/snapshot_format.h"
#include "display/sprite_blit.h"

TEST(Display, SpriteCopiesAreClippedShortOfTheLastColumnAndRow) {
    struct {
        int x, y, w, h, cell, frame, sheetY;
        SpriteBlit want;  // destination, then source left, top, right, bottom
    } rows[] = {
        {100, 100, 640, 480, 50, 0, 0, {100, 100, 0, 0, 49, 44}},
        {589, 100, 640, 480, 50, 0, 0, {589, 100, 0, 0, 49, 44}},  // columns 589-637
        {590, 100, 640, 480, 50, 0, 0, {590, 100, 0, 0, 49, 44}},  // 590-638
        {600, 100, 640, 480, 50, 0, 0, {600, 100, 0, 0, 39, 44}},  // 600-638
        {-10, 100, 640, 480, 50, 0, 0, {0, 100, 10, 0, 49, 44}},   // 0-38, from column 10
        {100, -5, 640, 480, 50, 0, 0, {100, 0, 0, 5, 49, 44}},
        {100, 440, 640, 480, 50, 0, 0, {100, 440, 0, 0, 49, 39}},
        {-50, 100, 640, 480, 50, 0, 0, {0, 100, 50, 0, 49, 44}},  // wholly off: empty
        {639, 479, 640, 480, 50, 0, 0, {639, 479, 0, 0, 0, 0}},
        {100, 100, 640, 480, 50, 10, 90, {100, 100, 50, 135, 99, 179}},
        {300, 230, 320, 240, 25, 16, 396, {300, 230, 175, 418, 194, 427}},
    };
    for (const auto& r : rows) {
        DigitObject o{};
        o.x = r.x;
        o.y = r.y;
        o.cellWidth = r.cell;
        o.cellHeight = r.cell == 50 ? 45 : 22;
        o.sheetColumns = 9;
        o.frame = r.frame;
        o.sheetY = r.sheetY;
        const SpriteBlit b = ComputeSpriteBlit(o, r.w, r.h);
        const int got[] = {b.destX, b.destY, b.left, b.top, b.right, b.bottom};
        const int want[] = {r.want.destX, r.want.destY, r.want.left,
                            r.want.top,   r.want.right, r.want.bottom};
        EXPECT_EQ(std::vector<int>(got, got + 6), std::vector<int>(want, want + 6))
            << r.x << "," << r.y;
    }
}

TEST(Display, SnapshotFileLayout) {
    const int32_t sizes[][3] = {
        {640, 480, 921654}, {320, 240, 230454}, {1366, 768, 54 + 4100 * 768},
        {0, 480, 0},        {640, -1, 0},       {100000, 100000, 0}};
    for (const auto& s : sizes) EXPECT_EQ(SnapshotFileSize(s[0], s[1]), uint32_t(s[2])) << s[0];
    uint8_t f[kSnapshotFileHeaderSize], i[kSnapshotInfoHeaderSize];
    BuildSnapshotHeaders(1366, 768, f, i);
    auto le = [](const uint8_t* p, int n) {
        uint32_t v = 0;
        for (int k = n - 1; k >= 0; --k) v = v << 8 | p[k];
        return v;
    };
    const uint32_t fields[][4] = {// header, offset, size, value
                                  {0, 0, 2, 0x4d42},      {0, 2, 4, 54 + 4100 * 768},
                                  {0, 6, 4, 0},           {0, 10, 4, 54},
                                  {1, 0, 4, 40},          {1, 4, 4, 1366},
                                  {1, 8, 4, 768},         {1, 12, 2, 1},
                                  {1, 14, 2, 24},         {1, 16, 4, 0},
                                  {1, 20, 4, 4100 * 768}, {1, 24, 4, 3790},
                                  {1, 28, 4, 3790},       {1, 32, 4, 0},
                                  {1, 36, 4, 0}};
    for (const auto& x : fields)
        EXPECT_EQ(le((x[0] ? i : f) + x[1], x[2]), x[3]) << x[0] << ":" << x[1];
    uint8_t row[6] = {};
    StoreSnapshotPixel(row, 1, 0x00112233);  // COLORREF: blue 11, green 22, red 33
    EXPECT_EQ(std::vector<uint8_t>(row + 3, row + 6), (std::vector<uint8_t>{0x11, 0x22, 0x33}));
}

TEST(Display, FramesAreCountedAndMeasuredOnceASecond) {
    FrameStats s;
    for (int i = 1; i <= 6001; ++i) {
        s.CountFrame(1000);
        EXPECT_EQ(s.FrameCounter, std::min(i, 6000));
    }
    // (tick of the frame, frame rate shown afterwards), from a start at 0xFFFFFF00:
    // the measurement closes on the first frame more than 1000 ms on, counting
    // it, across the wrap of the tick count.
    FrameStats m;
    const uint32_t start = 0xFFFFFF00u;
    const uint32_t frames[][2] = {{0, 0}, {200, 0}, {1000, 0}, {1001, 4}, {1500, 4}, {2002, 2}};
    for (const auto& f : frames) {
        m.CountFrame(start + f[0]);
        EXPECT_EQ(m.lastFrameRate, int32_t(f[1])) << f[0];
    }
    const int32_t text[][4] = {{640, 480, 500, 420},
                               {320, 240, 250, 210},
                               {800, 600, 625, 525},
                               {1024, 768, 800, 672},
                               {2000000000, 480, 1562500000, 420}};
    for (const auto& t : text) {
        const TextPosition p = FrameRateTextPosition(t[0], t[1]);
        EXPECT_TRUE(p.x == t[2] && p.y == t[3]) << t[0];
    }
}

TEST(Display, ReplacementSheetColourTableReplacesOnlyItsEntries) {
    std::vector<uint8_t> bitmap(40 + 16 * 4, 0);
    bitmap[0] = 40;                                                          // header size
    bitmap[14] = 8;                                                          // bits per pixel
    bitmap[32] = 16;                                                         // colours used
    for (int k = 0; k < 16; ++k) bitmap[40 + 4 * k + 2] = uint8_t(100 + k);  // red
    struct {
        size_t size;
        int applied;
    } rows[] = {{bitmap.size(), 16}, {40 + 3 * 4 + 2, 3}, {20, 0}};
    for (const auto& r : rows) {
        PaletteColour p[kPaletteSize];
        FillRampPalette(p);
        EXPECT_EQ(ApplyResourceColourTable(bitmap.data(), r.size, p), r.applied);
        for (int k = 0; k < 17; ++k)
            EXPECT_EQ(p[k].red, k < r.applied ? 100 + k : RampColour(k).red) << k;
    }
    const int ramp[][4] = {{0, 0, 0, 0},      {255, 255, 255, 255}, {0xE0, 255, 0, 0},
                           {0x1C, 0, 255, 0}, {0x03, 0, 0, 255},    {0x29, 36, 72, 85}};
    for (const auto& r : ramp) {
        const PaletteColour c = RampColour(r[0]);
        EXPECT_TRUE(c.red == r[1] && c.green == r[2] && c.blue == r[3] && c.flags == 0) << r[0];
    }
}
