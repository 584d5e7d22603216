// Checks the committed sprite sheet: the generator reproduces it byte for byte, it has the
// layout the display code copies cells from, and every digit pixel survives the 256-colour
// palette without turning transparent.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "sheet.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), {});
}

const Bytes& Committed() {
    static const Bytes bytes = ReadFile(COMMITTED_SHEET);
    return bytes;
}

std::uint32_t Le(std::size_t at, int bytes) {
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) {
        v = v << 8 | Committed()[at + i];
    }
    return v;
}

struct Pixel {
    int r, g, b;
    bool IsBlack() const { return r == 0 && g == 0 && b == 0; }
};

// Pixel (x, y) of the sheet counted from the top: 54 bytes of headers, then bottom-up
// rows of 1352 bytes.
Pixel At(int x, int y) {
    const std::size_t at = 54 + static_cast<std::size_t>(899 - y) * 1352 + x * 3;
    return {Committed()[at + 2], Committed()[at + 1], Committed()[at]};
}

// Pixel (x, y) of cell `cell` (0 to 17) in the band of `digit`: two rows of nine 50 by 45
// cells, band d starting at row 90 d.
Pixel CellPixel(int digit, int cell, int x, int y) {
    return At(cell % 9 * 50 + x, digit * 90 + cell / 9 * 45 + y);
}

struct Silhouette {
    std::array<std::array<bool, 50>, 45> on{};
    int count = 0;
    int left = 50, right = -1;
    int Width() const { return right - left + 1; }
};

Silhouette SilhouetteOf(int digit, int cell) {
    Silhouette s;
    for (int y = 0; y < 45; ++y) {
        for (int x = 0; x < 50; ++x) {
            if (!CellPixel(digit, cell, x, y).IsBlack()) {
                s.on[y][x] = true;
                ++s.count;
                s.left = std::min(s.left, x);
                s.right = std::max(s.right, x);
            }
        }
    }
    return s;
}

class SpriteSheet : public testing::Test {
  protected:
    void SetUp() override { ASSERT_EQ(Committed().size(), 1216854u) << COMMITTED_SHEET; }
};

TEST_F(SpriteSheet, GeneratorReproducesTheCommittedFile) {
    const std::string path = testing::TempDir() + "spritegen_regenerated.bmp";
    ASSERT_TRUE(spritegen::WriteSheet(path));
    const Bytes regenerated = ReadFile(path);
    std::remove(path.c_str());
    ASSERT_EQ(regenerated.size(), Committed().size());
    const auto diff = std::mismatch(regenerated.begin(), regenerated.end(), Committed().begin());
    EXPECT_TRUE(diff.first == regenerated.end())
        << "first difference at byte " << (diff.first - regenerated.begin())
        << "; rebuild the sheet with the fullcolor target";
}

TEST_F(SpriteSheet, HeadersDescribeA450By900BottomUp24BitBitmap) {
    EXPECT_EQ(Le(0, 2), 0x4D42u);  // "BM"
    EXPECT_EQ(Le(2, 4), 1216854u);
    EXPECT_EQ(Le(6, 4), 0u);
    EXPECT_EQ(Le(10, 4), 54u);
    EXPECT_EQ(Le(14, 4), 40u);
    EXPECT_EQ(Le(18, 4), 450u);
    EXPECT_EQ(Le(22, 4), 900u);
    EXPECT_EQ(Le(26, 2), 1u);
    EXPECT_EQ(Le(28, 2), 24u);
    EXPECT_EQ(Le(30, 4), 0u);
    EXPECT_EQ(Le(34, 4), 1215000u);
    for (int at = 38; at < 54; at += 4) {
        EXPECT_EQ(Le(at, 4), 0u) << "resolution and colour counts, offset " << at;
    }
    for (int row = 0; row < 900; ++row) {
        ASSERT_EQ(Le(54 + row * 1352 + 1350, 2), 0u) << "padding of file row " << row;
    }
}

TEST_F(SpriteSheet, SeventeenDrawnFramesPerDigitClearOfTheCellEdges) {
    for (int digit = 0; digit < 10; ++digit) {
        EXPECT_EQ(SilhouetteOf(digit, 17).count, 0) << "eighteenth cell of digit " << digit;
        for (int cell = 0; cell < 17; ++cell) {
            const Silhouette s = SilhouetteOf(digit, cell);
            EXPECT_GT(s.count, 120) << "digit " << digit << " frame " << cell;
            for (int y = 0; y < 45; ++y) {
                for (int x = 0; x < 50; ++x) {
                    if (!s.on[y][x]) {
                        continue;
                    }
                    // The display copies 49 by 44 pixels of a cell; the digit keeps a
                    // black pixel to spare all round them, and has no stray specks.
                    ASSERT_TRUE(x >= 1 && x <= 47 && y >= 1 && y <= 42)
                        << "digit " << digit << " frame " << cell << " at " << x << "," << y;
                    int neighbours = 0;
                    for (int dy = -1; dy <= 1; ++dy) {
                        for (int dx = -1; dx <= 1; ++dx) {
                            neighbours += s.on[y + dy][x + dx];
                        }
                    }
                    ASSERT_GT(neighbours, 1) << "lone pixel in digit " << digit << " frame " << cell
                                             << " at " << x << "," << y;
                }
            }
        }
    }
}

TEST_F(SpriteSheet, FrameZeroFacesTheViewerAndQuarterTurnsAreEdgeOn) {
    for (int digit = 0; digit < 10; ++digit) {
        const int faceWidth = SilhouetteOf(digit, 0).Width();
        EXPECT_GE(faceWidth, 20) << "digit " << digit;
        // Frames 4, 5, 12 and 13 lie 5 to 16 degrees from a quarter turn.
        for (int cell : {4, 5, 12, 13}) {
            EXPECT_LT(SilhouetteOf(digit, cell).Width() * 10, faceWidth * 7)
                << "digit " << digit << " frame " << cell;
        }
    }
    // 0 and 8 look the same in a mirror when seen face-on.
    for (int digit : {0, 8}) {
        const Silhouette s = SilhouetteOf(digit, 0);
        int mirrored = 0;
        for (int y = 0; y < 45; ++y) {
            for (int x = s.left; x <= s.right; ++x) {
                mirrored += s.on[y][x] && s.on[y][s.left + s.right - x];
            }
        }
        EXPECT_GE(mirrored * 100, s.count * 97) << "digit " << digit;
    }
    // The foot of the 7 is left of the middle face-on and right of it from behind.
    auto footColumn = [](int cell) {
        const Silhouette s = SilhouetteOf(7, cell);
        int sum = 0, n = 0;
        for (int y = 34; y < 45; ++y) {
            for (int x = 0; x < 50; ++x) {
                sum += s.on[y][x] ? x : 0;
                n += s.on[y][x];
            }
        }
        return n ? sum / n : -1;
    };
    EXPECT_LT(footColumn(0), 22);
    EXPECT_GT(footColumn(8), 26);
    EXPECT_GT(footColumn(9), 26);
}

// Entry i of the 256-colour palette the saver uses: 3 bits of red, 3 of green, 2 of blue.
Pixel RampEntry(int i) {
    return {(i >> 5 & 7) * 255 / 7, (i >> 2 & 7) * 255 / 7, (i & 3) * 255 / 3};
}

int NearestRampEntry(Pixel p) {
    int best = 0;
    int bestDistance = 1 << 30;
    for (int i = 0; i < 256; ++i) {
        const Pixel e = RampEntry(i);
        const int d =
            (p.r - e.r) * (p.r - e.r) + (p.g - e.g) * (p.g - e.g) + (p.b - e.b) * (p.b - e.b);
        if (d < bestDistance) {  // a tie keeps the lower entry, so black wins ties
            best = i;
            bestDistance = d;
        }
    }
    return best;
}

TEST_F(SpriteSheet, NoDigitPixelFallsOnTheTransparentPaletteEntry) {
    EXPECT_EQ(RampEntry(0xE0).r + RampEntry(0x1C).g + RampEntry(0x03).b, 3 * 255);
    EXPECT_EQ(RampEntry(0x24).r + RampEntry(0x24).g + RampEntry(0x01).b, 36 + 36 + 85);
    EXPECT_EQ(NearestRampEntry({18, 0, 0}), 0);
    EXPECT_EQ(NearestRampEntry({19, 0, 0}), 0x20);
    int checked = 0;
    for (int y = 0; y < 900; ++y) {
        for (int x = 0; x < 450; ++x) {
            const Pixel p = At(x, y);
            if (!p.IsBlack()) {
                ++checked;
                ASSERT_NE(NearestRampEntry(p), 0)
                    << "pixel " << x << "," << y << " = " << p.r << "," << p.g << "," << p.b;
            }
        }
    }
    EXPECT_GT(checked, 10 * 17 * 120);
}

TEST_F(SpriteSheet, EachDigitIsShadedInAColourOfItsOwn) {
    std::array<Pixel, 10> mean{};
    for (int digit = 0; digit < 10; ++digit) {
        std::vector<int> shades;
        Pixel sum{0, 0, 0};
        for (int y = 0; y < 45; ++y) {
            for (int x = 0; x < 50; ++x) {
                const Pixel p = CellPixel(digit, 0, x, y);
                if (!p.IsBlack()) {
                    shades.push_back(p.r << 16 | p.g << 8 | p.b);
                    sum = {sum.r + p.r, sum.g + p.g, sum.b + p.b};
                }
            }
        }
        ASSERT_FALSE(shades.empty());
        const int n = static_cast<int>(shades.size());
        mean[digit] = {sum.r / n, sum.g / n, sum.b / n};
        std::sort(shades.begin(), shades.end());
        const auto distinct = std::unique(shades.begin(), shades.end()) - shades.begin();
        EXPECT_GE(distinct, 40) << "digit " << digit << " looks flat";
    }
    for (int a = 0; a < 10; ++a) {
        for (int b = a + 1; b < 10; ++b) {
            const int d = std::abs(mean[a].r - mean[b].r) + std::abs(mean[a].g - mean[b].g) +
                          std::abs(mean[a].b - mean[b].b);
            EXPECT_GE(d, 40) << "digits " << a << " and " << b;
        }
    }
}

}  // namespace
