// The show drawn at its mode's size (640 x 480, or 320 x 240 in a small
// window) and shown scaled to fill a window of any size: aspect kept,
// centred, the rest of the window in the background colour.
//
// The scaling is nearest-pixel, done in memory. The artwork is pixel art
// with a colour key: copying whole pixels keeps every colour exact and every
// edge sharp at any factor, and the unevenness of a fractional factor (some
// pixels one column wider) does not show from 2x up, where most screens are.
// A filtered scale would blur the digits, and would cost several times the
// CPU at 3840 x 2160 and 60 frames a second; XRender's transform would do the
// same work inside the X server (software in Xvfb and many drivers) and
// needs an extension not every server has. Only the parts of the picture
// that changed since the last frame are scaled and sent again.
#pragma once

#include <cstdint>
#include <vector>

#include "show/frame_image.h"

struct PictureRect {
    int32_t x = 0, y = 0, width = 0, height = 0;
};

// The size the show is drawn at for a window: 640 x 480, or 320 x 240 (the
// small sheet) when a 640 x 480 picture would have to shrink to fit.
PictureRect ShowModeFor(int32_t windowWidth, int32_t windowHeight);

// Where a picture of the given size lands, scaled to fit the window with
// its aspect kept and centred. Never empty for a non-empty window.
PictureRect FitPicture(int32_t pictureWidth, int32_t pictureHeight, int32_t windowWidth,
                       int32_t windowHeight);

// The window's image: `bytesPerPixel` 2 or 4, rows `stride` bytes apart.
struct WindowImage {
    int32_t width = 0, height = 0, stride = 0, bytesPerPixel = 4;
    uint8_t* data = nullptr;
};

class PictureScaler {
  public:
    // Fits a picture of the given size into the window; the next Changes
    // call reports the whole picture.
    void Setup(int32_t pictureWidth, int32_t pictureHeight, int32_t windowWidth,
               int32_t windowHeight);
    const PictureRect& Placement() const { return fit_; }

    // Scales the parts of `picture` that differ from the one of the last
    // call (all of it after Setup or Invalidate) into `out`; returns the
    // window rectangles written, one for each band of picture rows that
    // changed. Pixels are stored as they are, cut to 16 bits in a 2-byte
    // image (the picture is composed in the window's pixel format).
    const std::vector<PictureRect>& Update(const FrameBuffer& picture, WindowImage& out);
    void Invalidate() { previous_.clear(); }

  private:
    PictureRect WindowRect(const PictureRect& source) const;  // where it is shown
    // Scales columns [x0, x1) of picture row y.
    void ScaleRun(const FrameBuffer& picture, int32_t y, int32_t x0, int32_t x1,
                  WindowImage& out) const;
    PictureRect fit_;
    int32_t pictureWidth_ = 0, pictureHeight_ = 0;
    std::vector<int32_t> firstColumn_;  // for each picture column, its first in fit_
    std::vector<uint32_t> previous_;    // the picture last scaled; empty: none
    std::vector<PictureRect> changed_;
};
