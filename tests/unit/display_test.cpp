// The display's arithmetic that the real display's tests do not see: the
// snapshot file's headers, the frame rate across the tick count's wrap, and
// the copy rectangles, which Wine clips for itself where Windows refuses them.
#include <gtest/gtest.h>

#include <vector>

#include "display/frame_stats.h"
#include "display/snapshot_format.h"
#include "display/sprite_blit.h"

TEST(Display, SnapshotHeadersDescribeABottomUpTwentyFourBitFile) {
    const int32_t sizes[][3] = {
        {640, 480, 921654}, {320, 240, 230454}, {1366, 768, 54 + 4100 * 768},
        {0, 480, 0},        {640, -1, 0},       {100000, 100000, 0}};
    for (const auto& s : sizes) EXPECT_EQ(SnapshotFileSize(s[0], s[1]), uint32_t(s[2])) << s[0];
    uint8_t h[kSnapshotFileHeaderSize + kSnapshotInfoHeaderSize];
    BuildSnapshotHeaders(1366, 768, h, h + kSnapshotFileHeaderSize);
    const uint32_t fields[][3] = {// offset, size, value
                                  {0, 2, 0x4d42},      {2, 4, 54 + 4100 * 768},
                                  {6, 4, 0},           {10, 4, 54},
                                  {14, 4, 40},         {18, 4, 1366},
                                  {22, 4, 768},        {26, 2, 1},
                                  {28, 2, 24},         {30, 4, 0},
                                  {34, 4, 4100 * 768}, {38, 4, 3790},
                                  {42, 4, 3790},       {46, 4, 0},
                                  {50, 4, 0}};
    for (const auto& f : fields) {
        uint32_t v = 0;
        for (int k = int(f[1]) - 1; k >= 0; --k) v = v << 8 | h[f[0] + k];
        EXPECT_EQ(v, f[2]) << "offset " << f[0];
    }
}

TEST(Display, FramesAreCountedAndMeasuredOnceASecondAcrossTheWrap) {
    FrameStats s;
    for (int i = 1; i <= 6001; ++i) s.CountFrame(1000);
    EXPECT_EQ(s.FrameCounter, 6000);
    // (tick of the frame after a start at 0xFFFFFF00, frame rate shown): the
    // frame more than 1000 ms on closes the measurement and is counted in it.
    const uint32_t frames[][2] = {{0, 0}, {200, 0}, {1000, 0}, {1001, 4}, {1500, 4}, {2002, 2}};
    FrameStats m;
    for (const auto& f : frames) {
        m.CountFrame(0xFFFFFF00u + f[0]);
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

TEST(Display, CellsAreCutAtEveryEdgeOfA640By480Screen) {
    // clang-format off
    const int32_t rows[][9] = {  // x, y, frame: destination x, y; source left, top, right, bottom
        {-10, 60, 0, 0, 60, 10, 0, 49, 44},   {639, 100, 0, 639, 100, 0, 0, 0, 44},
        {100, 479, 0, 100, 479, 0, 0, 49, 0}, {100, -5, 10, 100, 0, 50, 50, 99, 89},
        {590, 435, 0, 590, 435, 0, 0, 49, 44}};
    // clang-format on
    for (const auto& r : rows) {
        DigitObject o;
        o.x = r[0], o.y = r[1], o.frame = r[2], o.cellWidth = 50, o.cellHeight = 45;
        o.sheetColumns = 9, o.sheetY = 0;
        const SpriteBlit b = ComputeSpriteBlit(o, 640, 480);
        EXPECT_EQ((std::vector<int32_t>{b.destX, b.destY, b.left, b.top, b.right, b.bottom}),
                  std::vector<int32_t>(r + 3, r + 9))
            << r[0] << "," << r[1];
    }
}
