// Pictures the display tests expect, made with GDI on memory bitmaps of the
// same pixel format as the screen mode under test, so that colour reduction
// and stretching come out as they do on the DirectDraw surfaces.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// The layout of one pixel of a screen mode.
struct PixelFormat {
    int bits = 0;  // 8 (palette), 16 or 32
    DWORD redMask = 0, greenMask = 0, blueMask = 0;
};

// A memory bitmap in a given pixel format (8 bits: the 3-3-2 colour ramp as
// colour table), selected into its own device context.
class Canvas {
  public:
    Canvas(int width, int height, const PixelFormat& format);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    bool Valid() const { return bits_ != nullptr; }
    HDC Dc() const { return dc_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // The stored pixel value and the colour GDI reads back for it.
    uint32_t Raw(int x, int y) const;
    COLORREF Colour(int x, int y) const { return GetPixel(dc_, x, y); }

  private:
    int width_, height_, bitCount_, stride_;
    DWORD colourBits_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    uint8_t* bits_ = nullptr;
};

// A W x H grid of colours; `clear` marks pixels whose raw value is 0 (the
// colour key of the sprite sheet).
struct Picture {
    int width = 0, height = 0;
    std::vector<COLORREF> colour;
    std::vector<uint8_t> clear;

    Picture() = default;
    Picture(int w, int h, COLORREF fill)
        : width(w), height(h), colour(size_t(w) * h, fill), clear(size_t(w) * h, 0) {}
    COLORREF& At(int x, int y) { return colour[size_t(y) * width + x]; }
    COLORREF At(int x, int y) const { return colour[size_t(y) * width + x]; }
    bool Clear(int x, int y) const { return clear[size_t(y) * width + x] != 0; }
};

// Copies a canvas into a picture.
Picture ReadCanvas(const Canvas& canvas);

// The colour that a solid GDI fill with `colour` leaves in this format.
COLORREF FilledColour(const PixelFormat& format, COLORREF colour);

// The artwork as the sprite sheet should hold it: the "FULLCOLOR" bitmap
// stretched to width x height (its own size, or 225 x 440 on a 320-wide
// screen) into the top-left corner of a 450 x 900 bitmap of this format.
Picture ReplicaSheet(const PixelFormat& format, int width, int height);

// `text` written in yellow with `font` at (0, 0) on black; pixels that stay
// black are marked clear.
Picture ReplicaText(const PixelFormat& format, HFONT font, const std::string& text);
