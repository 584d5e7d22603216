// The show as the web page runs it, apart from the browser: a 640x480 frame
// in the canvas's RGBA byte order, the page's own millisecond tick, input,
// the rest after the finale and the start anew, and the fit of the frame
// into the browser window.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "show/hack_show.h"
#include "web/page_options.h"

// The frame is the 640x480 display mode's picture.
constexpr int32_t kPageWidth = 640, kPageHeight = 480;
// After the black hole the page stays empty this long, then starts again.
constexpr uint32_t kPageRestMs = 1000;

// Canvas pixels: bytes R, G, B, A in memory, opaque.
constexpr PixelFormat kCanvasFormat{0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000};

struct PageShow {
    HackShow show;
    std::vector<uint32_t> pixels;  // the frame, kPageWidth x kPageHeight
    FrameBuffer frame;
    uint32_t tick = 0;       // the show's millisecond tick count
    double elapsed = 0;      // ms the show has run since its tick began; the fraction carries
    uint32_t firstTick = 0;  // tick at elapsed 0
    double lastStamp = -1;   // the last frame time stamp; < 0 after a pause
    bool resting = false;    // between the finale and the start anew
    uint32_t restUntil = 0;  //
    bool held = false;       // frames=N played: the frame stays
};

// Starts the show: the sheet from the BMP, the options' date and seed (else
// `clockSeed` as the first tick), and, for frames=N, plays N frames of 1/60 s
// and holds the last. False when the sheet is not a 24-bit BMP.
bool StartPage(PageShow& page, const PageOptions& options, const uint8_t* bmp, size_t size,
               uint32_t clockSeed);

// One frame at the browser's frame time stamp `stampMs` (milliseconds of a
// clock that only grows): the tick advances by the time since the last frame
// (nothing for the first frame after a pause), a timeline step is taken when
// due and the frame is composed into page.pixels.
void AdvancePage(PageShow& page, double stampMs);

// The same by a given number of milliseconds.
void AdvancePageBy(PageShow& page, double ms);

// The page was hidden: its frames stopped, and the time until the next one
// does not count.
void PausePage(PageShow& page);

// A click, tap or key: the black hole, or with that off the rest at once.
void PageInput(PageShow& page);

// Where the frame goes in a window of `width` x `height` CSS pixels with
// `ratio` device pixels to each: the largest 4:3 rectangle of whole device
// pixels that fits, centred, in CSS pixels.
struct PageFit {
    double left, top, width, height;
};
PageFit FitPage(double width, double height, double ratio);
