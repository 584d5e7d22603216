#include "display/frame_stats.h"

void FrameStats::CountFrame(uint32_t now) {
    FrameCounter = FrameCounter >= kFrameCounterCap - 1 ? kFrameCounterCap : FrameCounter + 1;
    if (measureStart == 0) {
        measureStart = now;
        framesThisMeasure = 0;
    }
    ++framesThisMeasure;
    if (now - measureStart > 1000u) {
        lastFrameRate = framesThisMeasure;
        framesThisMeasure = 0;
        measureStart = now;
    }
}

TextPosition FrameRateTextPosition(int32_t width, int32_t height) {
    // 64-bit products: a hand-edited screen size must not overflow.
    return {static_cast<int32_t>(static_cast<int64_t>(width) * 500 / 640),
            static_cast<int32_t>(static_cast<int64_t>(height) * 420 / 480)};
}
