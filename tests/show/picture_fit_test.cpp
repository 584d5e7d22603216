#include "show/picture_fit.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

// {window width, height, mode width, then the picture's x, y, width, height}.
const std::array<int, 7> kFitRows[] = {
    {505, 282, 320, 64, 0, 376, 282},      {400, 300, 320, 0, 0, 400, 300},
    {640, 480, 640, 0, 0, 640, 480},       {1920, 1080, 640, 240, 0, 1440, 1080},
    {3840, 2160, 640, 480, 0, 2880, 2160}, {700, 1000, 640, 0, 237, 700, 525},
    {639, 2000, 320, 0, 760, 639, 479},    {3, 2, 320, 0, 0, 2, 2},
};

TEST(PictureFit, ModeAndPlacementKeepTheAspectCentred) {
    for (const auto& [w, h, mode, x, y, fw, fh] : kFitRows) {
        const PictureRect m = ShowModeFor(w, h), r = FitPicture(m.width, m.height, w, h);
        EXPECT_EQ(std::vector<int>({m.width, m.height, r.x, r.y, r.width, r.height}),
                  std::vector<int>({mode, mode * 3 / 4, x, y, fw, fh}))
            << w << "x" << h;
    }
}

// A 4 x 2 picture in a 9 x 6 window of 16- and 32-bit pixels: every window
// pixel holds its nearest picture pixel, and a later change is sent as the
// rectangle of the window that shows it, nothing more.
TEST(PictureFit, NearestPixelsAndOnlyWhatChanged) {
    std::vector<uint32_t> picture = {0x10001, 0x10002, 0x10003, 0x10004,
                                     0x10005, 0x10006, 0x10007, 0x10008};
    const FrameBuffer frame{4, 2, 4, picture.data()};
    for (int bytes : {2, 4}) {
        std::vector<uint8_t> data(9 * 6 * 4, 0xEE);
        WindowImage out{9, 6, 9 * bytes, bytes, data.data()};
        PictureScaler scaler;
        scaler.Setup(4, 2, 9, 6);
        const PictureRect& at = scaler.Placement();  // 9 x 4 at (0, 1)
        ASSERT_EQ(scaler.Update(frame, out).size(), 1u);
        const auto pixel = [&](int x, int y) {
            const uint8_t* p = data.data() + y * out.stride + x * bytes;
            return bytes == 2 ? *reinterpret_cast<const uint16_t*>(p)
                              : *reinterpret_cast<const uint32_t*>(p);
        };
        for (int y = 0; y < 6; ++y) {
            for (int x = 0; x < 9; ++x) {
                const bool in = y >= at.y && y < at.y + at.height;
                const uint32_t want = in ? picture[(y - at.y) * 2 / at.height * 4 + x * 4 / 9] : 0;
                EXPECT_EQ(pixel(x, y), in ? want & (bytes == 2 ? 0xFFFF : ~0u)
                                          : (bytes == 2 ? 0xEEEEu : 0xEEEEEEEEu))
                    << x << "," << y;
            }
        }
        EXPECT_TRUE(scaler.Update(frame, out).empty());  // nothing changed, nothing sent
        picture[6] = 0x20000;  // column 2 of row 1: window columns 5 and 6 (4.5 to 6.75)
        const std::vector<PictureRect> sent = scaler.Update(frame, out);
        ASSERT_EQ(sent.size(), 1u);
        EXPECT_EQ(std::vector<int>({sent[0].x, sent[0].y, sent[0].width, sent[0].height}),
                  std::vector<int>({5, 1, 2, 4}));
        EXPECT_EQ(pixel(5, 4), bytes == 2 ? 0u : 0x20000u);
        picture[6] = 0x10007;
    }
}

}  // namespace
