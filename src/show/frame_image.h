// Frames composed in memory: the sprite sheet as 32-bit pixels, colour-keyed
// copies of digit cells clipped exactly as the Windows frame clips them, the
// frame-rate text, and the pixel format of the target (an X visual's masks).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "animation/animation_state.h"
#include "display/sprite_blit.h"

// 32-bit pixels, row after row, top row first.
struct SheetImage {
    int32_t width = 0, height = 0;
    std::vector<uint32_t> pixels;
};

// A frame to draw into: memory that the caller owns (an XImage's data),
// `stride` pixels from one row to the next.
struct FrameBuffer {
    int32_t width = 0, height = 0, stride = 0;
    uint32_t* pixels = nullptr;
};

// How red, green and blue sit in a 32-bit pixel (the masks of a TrueColor
// visual); `fixedBits` are set in every pixel (a depth-32 visual's alpha,
// so that it is opaque).
struct PixelFormat {
    uint32_t redMask = 0xFF0000, greenMask = 0x00FF00, blueMask = 0x0000FF;
    uint32_t fixedBits = 0;
    uint32_t Pack(uint32_t rgb) const;  // from 0x00RRGGBB
};

// Decodes a 24-bit uncompressed BMP file (bottom-up or top-down) into
// 0x00RRGGBB pixels. False for anything else or a truncated file.
bool DecodeBmp24(const uint8_t* data, size_t size, SheetImage& out);

// The sheet for a 320-wide screen: the same size, black, with the whole
// picture shrunk (nearest pixel, colours kept exact) into its top-left
// width/2 by 440 pixels, so that cells are 25 by 22 and digit bands 44 rows.
SheetImage ShrinkForSmallScreen(const SheetImage& full);

// Converts every 0x00RRGGBB pixel into `format`.
void ConvertPixels(SheetImage& image, const PixelFormat& format);

// Copies the source rectangle of `b` (right and bottom exclusive) from the
// sheet to (destX, destY), leaving out pixels equal to `key`. Like a
// colour-keyed blit that is refused, it copies nothing unless the rectangle
// is non-empty and lies wholly inside both images.
void CopyKeyed(FrameBuffer& frame, const SheetImage& sheet, const SpriteBlit& b, uint32_t key);

// Writes "FPS: %02d" with `rate` in `colour` at FrameRateTextPosition, its
// size following the frame's width; clipped at the frame's edges.
void DrawFrameRateText(FrameBuffer& frame, int32_t rate, uint32_t colour);

struct FrameStyle {
    uint32_t background;  // fills the frame
    uint32_t key;         // sheet pixels of this value are transparent (black)
    uint32_t textColour;  // of the frame-rate text
    bool showFrameRate;
    int32_t frameRate;
};

// One whole frame: the background, the frame-rate text when asked, then
// every digit in play in pool order, so later objects cover earlier ones.
void ComposeFrame(FrameBuffer& frame, const SheetImage& sheet, const AnimationState& animation,
                  const FrameStyle& style);
