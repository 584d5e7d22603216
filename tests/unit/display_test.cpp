// The display's arithmetic that the real display's tests do not see: the
// snapshot file's headers, and the frame rate across the tick count's wrap.
#include <gtest/gtest.h>

#include <vector>

#include "display/frame_stats.h"
#include "display/snapshot_format.h"

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
