#include "web/page_show.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kHeldFrameMs = 1000.0 / 60;

void Restart(PageShow& page) {
    page.resting = false;
    StartShow(page.show, page.show.settings, kPageWidth, kPageHeight, page.tick);
}

void Rest(PageShow& page) {
    page.resting = true;
    page.restUntil = page.tick + kPageRestMs;
    for (DigitObject& object : page.show.animation.ObjectPool) object.inPlay = 0;
}

}  // namespace

bool StartPage(PageShow& page, const PageOptions& options, const uint8_t* bmp, size_t size,
               uint32_t clockSeed) {
    if (!LoadShowSheet(page.show, bmp, size, kCanvasFormat)) return false;
    if (options.fixedDate) {
        const LocalDate date = options.date;
        page.show.localDate = [date] { return date; };
    }
    page.pixels.assign(static_cast<size_t>(kPageWidth) * kPageHeight, 0);
    page.frame = FrameBuffer{kPageWidth, kPageHeight, kPageWidth, page.pixels.data()};
    page.firstTick = page.tick = options.fixedSeed ? options.seed : clockSeed;
    page.elapsed = 0;
    page.lastStamp = -1;
    page.resting = page.held = false;
    StartShow(page.show, options.hack.settings, kPageWidth, kPageHeight, page.tick);
    for (int32_t i = 0; i < options.heldFrames; ++i) AdvancePageBy(page, kHeldFrameMs);
    page.held = options.heldFrames >= 0;
    return true;
}

void AdvancePageBy(PageShow& page, double ms) {
    if (page.held) return;
    page.elapsed += std::max(ms, 0.0);
    page.tick = page.firstTick + static_cast<uint32_t>(std::fmod(page.elapsed, 4294967296.0));
    if (page.resting && static_cast<int32_t>(page.tick - page.restUntil) >= 0) Restart(page);
    if (!page.resting) {
        StepShowTimeline(page.show, page.tick);
        if (page.show.ended) Rest(page);
    }
    DrawShowFrame(page.show, page.frame, page.tick);
}

void AdvancePage(PageShow& page, double stampMs) {
    const double since = page.lastStamp < 0 ? 0 : stampMs - page.lastStamp;
    page.lastStamp = stampMs;
    AdvancePageBy(page, since);
}

void PausePage(PageShow& page) {
    page.lastStamp = -1;
}

void PageInput(PageShow& page) {
    if (page.held || page.resting) return;
    if (!StartShowFinale(page.show)) Rest(page);
}

PageFit FitPage(double width, double height, double ratio) {
    if (!(ratio > 0)) ratio = 1;
    const double deviceWidth = std::max(width * ratio, 0.0),
                 deviceHeight = std::max(height * ratio, 0.0);
    // Whole device pixels, 4:3: a multiple of 4 by the same multiple of 3.
    const double unit =
        std::floor(std::min(deviceWidth / kPageWidth * 160, deviceHeight / kPageHeight * 160));
    const double w = unit * 4, h = unit * 3;
    return PageFit{std::floor((deviceWidth - w) / 2) / ratio,
                   std::floor((deviceHeight - h) / 2) / ratio, w / ratio, h / ratio};
}
