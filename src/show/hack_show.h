// The show as the native front ends run it (tessary-x11, the web page), apart
// from any window system: the settings, the animation, the frame-rate
// measurement, the sprite sheet in the target's pixel format and the timing
// of the timeline's steps. One instance, made at start.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

#include "animation/animation_state.h"
#include "display/frame_stats.h"
#include "show/frame_image.h"

struct HackShow {
    Settings settings;  // the options, with xScreenSize/yScreenSize the window's size
    AnimationState animation;
    RandomSource random;
    FrameStats frames;
    PixelFormat format;
    SheetImage fullSheet;         // the artwork at its own size
    SheetImage sheet;             // what frames copy from: fullSheet, or its shrink at width 320
    uint32_t textRgb = 0xFFFF00;  // the frame-rate text, as 0x00RRGGBB
    uint32_t nextStep = 0;        // tick count at which the timeline takes its next step
    bool ending = false;          // the black hole has begun
    bool ended = false;           // the black hole is over: time to exit
    // Reads the local date for every page layout; empty for the clock's own.
    std::function<LocalDate()> localDate;

    HackShow() = default;
    HackShow(const HackShow&) = delete;
    HackShow& operator=(const HackShow&) = delete;
};

// Decodes the BMP artwork into the show's pixel format. False when it is not
// a 24-bit BMP.
bool LoadShowSheet(HackShow& show, const uint8_t* bmp, size_t size, const PixelFormat& format);

// Starts the show on a width x height window at tick count now: the random
// source seeded from the tick count, the pool seeded and the first page laid
// out (after a big bang when that is on).
void StartShow(HackShow& show, const Settings& options, int32_t width, int32_t height,
               uint32_t now);

// Adopts a new window size. Cells are smaller on a 320-wide window, so
// crossing that width seeds the pool anew; any other change lays the current
// page out again for the new size (the finale keeps its course).
void ReshapeShow(HackShow& show, int32_t width, int32_t height, uint32_t now);

// Takes the timeline's step when one is due (every Process ms; after a long
// stall one step, not a burst of them). Returns ms until the next step.
uint32_t StepShowTimeline(HackShow& show, uint32_t now);

// User input in the show's own window: starts the black hole and returns
// true, or returns false when the black hole is off (the show ends at once).
bool StartShowFinale(HackShow& show);

// The background colour in the show's pixel format.
uint32_t ShowBackgroundPixel(const HackShow& show);

// One frame at tick count now: counts it, moves the digits and composes it.
void DrawShowFrame(HackShow& show, FrameBuffer& frame, uint32_t now);
