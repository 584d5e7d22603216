// Command-line options of tessary-x11, the XScreenSaver hack: the settings
// named after their registry values, with the same defaults and ranges, and
// the options every XScreenSaver hack takes (-root, -window, -window-id,
// -display, -geometry, -visual, -delay, colours...).
#pragma once

#include <cstdint>
#include <functional>
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
    std::string display;         // -display; empty: the DISPLAY variable
    // -geometry WxH[+X+Y] of an own window: width 0 when not given; a
    // negative offset (-X) counts from the right or bottom edge.
    int32_t width = 0, height = 0, x = 0, y = 0;
    bool position = false, xFromRight = false, yFromBottom = false;
    bool installColormap = false;    // -install: an own window gets a colormap of its own
    bool trueColor = false;          // -visual TrueColor (else the default visual)
    bool synchronous = false;        // -sync: X requests one at a time, for debugging
    uint32_t foreground = 0xFFFF00;  // -fg: the frame-rate text, as 0x00RRGGBB
    // Colours given by name (-bg navy, -fg "light blue"), for the front end
    // to look up (ResolveColourNames); empty when given as #RRGGBB.
    std::string backgroundName, foregroundName;
};

enum class ParseOutcome { Run, Help, Error };

// Reads argv[1..argc-1]. Every option may start with one or two dashes, and
// a value may follow as the next argument or after '=' (--delay=100).
// On Error, `error` holds a one-line message for stderr (without the
// program's name); `out` is then unspecified.
ParseOutcome ParseHackOptions(int argc, const char* const* argv, HackOptions& out,
                              std::string& error);

// A window number, decimal or 0x hexadecimal, 1 to 0xFFFFFFFF (as -window-id
// and the XSCREENSAVER_WINDOW variable give it). False for anything else.
bool ParseWindowId(const char* text, unsigned long& id);

// The text that --help prints.
const char* HackUsage();

// Looks up the colours that were given by name (backgroundName,
// foregroundName) with `lookup` (name to 0x00RRGGBB, false when unknown) and
// stores them. False, with a message in `error`, for an unknown name.
bool ResolveColourNames(HackOptions& options,
                        const std::function<bool(const std::string&, uint32_t&)>& lookup,
                        std::string& error);
