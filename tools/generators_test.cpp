// The generators of the committed artwork, icon and tune reproduce those
// files byte for byte, and no pixel of a digit turns transparent in the
// saver's 256 colours.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "icon.h"
#include "sheet.h"
#include "tune.h"

namespace {

std::vector<std::uint8_t> Committed(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(file), {});
}

const std::vector<spritegen::Rgb>& Sheet() {
    static const std::vector<spritegen::Rgb> sheet = spritegen::RenderSheet();
    return sheet;
}

}  // namespace

TEST(Generators, ReproduceTheCommittedFiles) {
    EXPECT_EQ(spritegen::EncodeBmp(Sheet()), Committed(COMMITTED_SHEET));
    EXPECT_EQ(icongen::EncodeIco({icongen::DrawCalendarPage(32), icongen::DrawCalendarPage(16)}),
              Committed(COMMITTED_ICON));
    EXPECT_EQ(tunegen::ComposeTune(),
              Committed(std::filesystem::u8path(u8"" COMMITTED_TUNE)));  // UTF-8, as named
}

// In 256 colours every pixel takes the nearest entry of the saver's 3-3-2
// colour ramp; entry 0, black, is the transparent colour key.
TEST(Generators, NoDigitPixelFallsOnTheTransparentEntry) {
    int lit = 0;
    for (const spritegen::Rgb& p : Sheet()) {
        if (p.r == 0 && p.g == 0 && p.b == 0) continue;
        ++lit;
        int nearest = 0, best = 1 << 30;
        for (int i = 0; i < 256; ++i) {
            const int r = (i >> 5 & 7) * 255 / 7 - p.r, g = (i >> 2 & 7) * 255 / 7 - p.g,
                      b = (i & 3) * 255 / 3 - p.b;
            if (r * r + g * g + b * b < best) best = r * r + g * g + b * b, nearest = i;
        }
        ASSERT_NE(nearest, 0) << int(p.r) << "," << int(p.g) << "," << int(p.b);
    }
    EXPECT_GT(lit, 17 * 10 * 200) << "every frame of every digit is drawn";
}
