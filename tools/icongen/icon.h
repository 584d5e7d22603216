// icongen: draws the program icon, a page torn from a wall calendar, at
// 32 by 32 and 16 by 16 pixels in the 16 standard colours, and encodes it
// as a Windows .ico file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace icongen {

// Palette indices of the 16-colour VGA palette used by the icon.
enum Colour : std::uint8_t {
    kBlack = 0,
    kMaroon = 1,
    kGray = 8,
    kSilver = 7,
    kRed = 9,
    kBlue = 12,
    kWhite = 15,
    kTransparent = 255,  // not a palette entry: the mask shows the desktop
};

// A square image, rows from the top, one palette index (or kTransparent) per pixel.
struct Image {
    int size = 0;
    std::vector<std::uint8_t> pixels;

    explicit Image(int s) : size(s), pixels(static_cast<std::size_t>(s) * s, kTransparent) {}
    std::uint8_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * size + x]; }
    void Fill(int left, int top, int right, int bottom, std::uint8_t colour);  // inclusive
};

// The calendar page at `size` pixels (32 or 16).
Image DrawCalendarPage(int size);

// The .ico bytes: one 4-bit entry per image, in the order given.
std::vector<std::uint8_t> EncodeIco(const std::vector<Image>& images);

// Both sizes, 32 first; returns false when the file cannot be written.
bool WriteIcon(const std::string& path);

}  // namespace icongen
