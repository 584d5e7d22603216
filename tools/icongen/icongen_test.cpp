// Checks the committed program icon: the generator reproduces it byte for
// byte, and the file decodes, as Windows reads an .ico, back to the drawn
// pictures with a transparent surround.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <vector>

#include "icon.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Committed() {
    std::ifstream file(COMMITTED_ICON, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), {});
}

std::uint32_t Le(const Bytes& b, std::size_t at, int bytes) {
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = v << 8 | b.at(at + i);
    return v;
}

// Pixel (x, y) from the top of the image that starts at `at`, as the
// palette index and whether the mask lets the desktop through.
struct Decoded {
    int colour;
    bool transparent;
};

Decoded PixelAt(const Bytes& b, std::size_t at, int n, int x, int y) {
    const std::size_t colourStride = (n * 4 + 31) / 32 * 4, maskStride = (n + 31) / 32 * 4;
    const std::size_t colours = at + 40 + 64, mask = colours + colourStride * n;
    const int row = n - 1 - y;
    const std::uint8_t packed = b.at(colours + row * colourStride + x / 2);
    const int colour = x % 2 ? packed & 0x0F : packed >> 4;
    const bool transparent = b.at(mask + row * maskStride + x / 8) & (0x80 >> x % 8);
    return {colour, transparent};
}

TEST(ProgramIcon, GeneratorReproducesTheCommittedFile) {
    const Bytes committed = Committed();
    ASSERT_FALSE(committed.empty()) << COMMITTED_ICON;
    const Bytes drawn =
        icongen::EncodeIco({icongen::DrawCalendarPage(32), icongen::DrawCalendarPage(16)});
    EXPECT_TRUE(drawn == committed) << "run the programicon target and commit the result";
}

TEST(ProgramIcon, DecodesToTheDrawnPagesOverATransparentSurround) {
    const Bytes b = Committed();
    ASSERT_GE(b.size(), 6u);
    EXPECT_EQ(Le(b, 0, 2), 0u);
    EXPECT_EQ(Le(b, 2, 2), 1u);  // icon, not cursor
    ASSERT_EQ(Le(b, 4, 2), 2u);

    std::size_t expectedOffset = 6 + 2 * 16;
    const int sizes[] = {32, 16};
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(sizes[i]);
        const std::size_t entry = 6 + 16 * i;
        const int n = sizes[i];
        EXPECT_EQ(b.at(entry), n);
        EXPECT_EQ(b.at(entry + 1), n);
        EXPECT_EQ(b.at(entry + 2), 16);
        EXPECT_EQ(Le(b, entry + 6, 2), 4u);
        const std::size_t length = Le(b, entry + 8, 4), at = Le(b, entry + 12, 4);
        EXPECT_EQ(at, expectedOffset);
        expectedOffset += length;

        // Header: 40 bytes, height doubled for the mask, 4 bits, no compression.
        EXPECT_EQ(Le(b, at, 4), 40u);
        EXPECT_EQ(Le(b, at + 4, 4), static_cast<std::uint32_t>(n));
        EXPECT_EQ(Le(b, at + 8, 4), static_cast<std::uint32_t>(2 * n));
        EXPECT_EQ(Le(b, at + 14, 2), 4u);
        EXPECT_EQ(Le(b, at + 16, 4), 0u);
        EXPECT_EQ(length, 40 + 64 + (n * 4 + 31) / 32 * 4 * n + (n + 31) / 32 * 4 * n);

        const icongen::Image picture = icongen::DrawCalendarPage(n);
        int opaque = 0;
        for (int y = 0; y < n; ++y) {
            for (int x = 0; x < n; ++x) {
                const Decoded d = PixelAt(b, at, n, x, y);
                const bool clear = picture.At(x, y) == icongen::kTransparent;
                ASSERT_EQ(d.transparent, clear) << x << "," << y;
                // A transparent pixel must be black, or it would tint the desktop.
                ASSERT_EQ(d.colour, clear ? 0 : picture.At(x, y)) << x << "," << y;
                opaque += !clear;
            }
        }
        // A page, neither blank nor filling the whole square.
        EXPECT_GT(opaque, n * n / 2);
        EXPECT_LT(opaque, n * n);
    }
    EXPECT_EQ(expectedOffset, b.size());
}

}  // namespace
