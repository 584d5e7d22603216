// Frame counting and the once-a-second frame-rate measurement.
#pragma once

#include <cstdint>

constexpr int32_t kFrameCounterCap = 6000;

struct FrameStats {
    int32_t FrameCounter = 0;       // frames since the start, capped at 6000
    uint32_t measureStart = 0;      // tick count the current measurement began; 0 before any
    int32_t framesThisMeasure = 0;  // frames counted in the current measurement
    int32_t lastFrameRate = 0;      // frames of the last finished measurement

    // Counts one frame drawn at tick count `now`.
    void CountFrame(uint32_t now);
};

// Where the frame-rate text stands on a width x height screen.
struct TextPosition {
    int32_t x, y;
};
TextPosition FrameRateTextPosition(int32_t width, int32_t height);
