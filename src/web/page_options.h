// Options of the web page, from its query string: the show's options under
// tessary-x11's names without the dash (switches take 1 or 0), and options
// for tests that fix the date, the seed and a number of frames to play.
#pragma once

#include <cstdint>
#include <string>

#include "animation/animation_state.h"
#include "show/hack_options.h"

struct PageOptions {
    HackOptions hack;         // the settings; root, window and delay stay unused
    bool fixedDate = false;   // date=YYYY-MM-DD: this date instead of the visitor's
    LocalDate date{};         //
    bool fixedSeed = false;   // seed=N: the show's tick count starts at N
    uint32_t seed = 0;        //
    int32_t heldFrames = -1;  // frames=N: N frames of 1/60 s each, then hold; -1 runs live
};

// Reads a query string (with or without its leading '?'): name=value pairs
// joined by '&', percent-encoded. False on the first bad option, with a
// one-line message in `error` that names it (and its range, if it has one);
// `out` then holds the defaults.
bool ParsePageQuery(const std::string& query, PageOptions& out, std::string& error);
