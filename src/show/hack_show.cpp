#include "show/hack_show.h"

#include "animation/digit_pool.h"
#include "animation/month_layout.h"
#include "animation/scene_timeline.h"

namespace {

// A COLORREF (0x00BBGGRR) as 0x00RRGGBB.
uint32_t RgbOfColorref(int32_t colorref) {
    const uint32_t c = static_cast<uint32_t>(colorref);
    return (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF);
}

void SeedShow(HackShow& show, uint32_t now) {
    show.animation = AnimationState{};
    show.animation.host.settings = &show.settings;
    show.animation.host.random = &show.random;
    show.animation.host.endShow = [&show] { show.ended = true; };
    show.animation.host.localDate = show.localDate;
    show.sheet = show.settings[xScreenSize] == kSmallScreenWidth
                     ? ShrinkForSmallScreen(show.fullSheet)
                     : show.fullSheet;
    SeedPool(show.animation, now);
}

}  // namespace

bool LoadShowSheet(HackShow& show, const uint8_t* bmp, size_t size, const PixelFormat& format) {
    if (!DecodeBmp24(bmp, size, show.fullSheet)) return false;
    show.format = format;
    ConvertPixels(show.fullSheet, format);
    return true;
}

void StartShow(HackShow& show, const Settings& options, int32_t width, int32_t height,
               uint32_t now) {
    show.settings = options;
    show.settings.Set(xScreenSize, width);
    show.settings.Set(yScreenSize, height);
    show.random.Seed(now);
    show.frames = FrameStats{};
    show.ending = show.ended = false;
    SeedShow(show, now);
    show.nextStep = now + static_cast<uint32_t>(show.settings[Process]);
}

void ReshapeShow(HackShow& show, int32_t width, int32_t height, uint32_t now) {
    Settings& s = show.settings;
    if (width == s[xScreenSize] && height == s[yScreenSize]) return;
    const bool wasSmall = s[xScreenSize] == kSmallScreenWidth;
    s.Set(xScreenSize, width);
    s.Set(yScreenSize, height);
    if (show.ending) return;
    if (wasSmall != (width == kSmallScreenWidth)) {
        SeedShow(show, now);
    } else if (show.animation.SceneState >= 0 && show.animation.SceneState <= 6) {
        // Cycles 6 to 10 show the months 1 to 5 ahead.
        const int32_t cycles = show.animation.PageCycles;
        LayoutMonthPage(show.animation, cycles >= 5 ? cycles - 4 : 0);
    }
}

uint32_t StepShowTimeline(HackShow& show, uint32_t now) {
    const uint32_t period = static_cast<uint32_t>(show.settings[Process]);
    if (static_cast<int32_t>(now - show.nextStep) >= 0) {
        AdvanceTimeline(show.animation);
        show.nextStep += period;
        if (static_cast<int32_t>(now - show.nextStep) >= 0) show.nextStep = now + period;
    }
    return show.nextStep - now;
}

bool StartShowFinale(HackShow& show) {
    if (show.settings[BlackHall] == 0) return false;
    if (!show.ending) StartBlackHole(show.animation);
    show.ending = true;
    return true;
}

uint32_t ShowBackgroundPixel(const HackShow& show) {
    const Settings& s = show.settings;
    return s[BlackBack] != 0 ? show.format.Pack(0)
                             : show.format.Pack(RgbOfColorref(s[BackgroundColor]));
}

void DrawShowFrame(HackShow& show, FrameBuffer& frame, uint32_t now) {
    show.frames.CountFrame(now);
    UpdateMotion(show.animation, now);
    const Settings& s = show.settings;
    FrameStyle style;
    style.key = show.format.Pack(0);
    style.background = ShowBackgroundPixel(show);
    style.textColour = show.format.Pack(show.textRgb);
    style.showFrameRate = s[FPS] != 0;
    style.frameRate = show.frames.lastFrameRate;
    ComposeFrame(frame, show.sheet, show.animation, style);
}
