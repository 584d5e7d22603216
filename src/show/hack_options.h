// Command-line options of tessary-x11, the XScreenSaver hack: the settings
// named after their registry values, with the same defaults and ranges, and
// the usual hack options (-root, -window-id, -delay).
#pragma once

#include <cstdint>
#include <string>

#include "settings/settings_table.h"

// One frame every 1/60 s.
constexpr int32_t kDefaultDelayMicroseconds = 16667;

struct HackOptions {
    // The show's settings: defaults unless an option says otherwise.
    // BackgroundColor is a Windows COLORREF (0x00BBGGRR); BlackBack is 1
    // exactly when it is black.
    Settings settings;
    int32_t delayMicroseconds = kDefaultDelayMicroseconds;  // between frame starts
    bool root = false;           // draw on the root (or XSCREENSAVER_WINDOW)
    unsigned long windowId = 0;  // -window-id; 0 when not given
};

enum class ParseOutcome { Run, Help, Error };

// Reads argv[1..argc-1]. Every option may start with one or two dashes.
// On Error, `error` holds a one-line message for stderr (without the
// program's name); `out` is then unspecified.
ParseOutcome ParseHackOptions(int argc, const char* const* argv, HackOptions& out,
                              std::string& error);

// A window number, decimal or 0x hexadecimal, 1 to 0xFFFFFFFF (as -window-id
// and the XSCREENSAVER_WINDOW variable give it). False for anything else.
bool ParseWindowId(const char* text, unsigned long& id);

// The text that --help prints.
const char* HackUsage();
