#include "show/hack_options.h"

#include <cstring>

namespace {

// Options that take a whole number, with the range the settings dialog
// allows (or, for -delay, a sensible one).
struct NumberOption {
    const char* name;
    int setting;  // SettingIndex, or -1 for -delay
    int32_t low, high;
};
constexpr NumberOption kNumberOptions[] = {
    {"self-rotation", SelfRotation, kSelfRotationSlider.minimum, kSelfRotationSlider.maximum},
    {"moving", Moving, kMovingSlider.minimum, kMovingSlider.maximum},
    {"process", Process, kProcessSlider.minimum, kProcessSlider.maximum},
    {"delay", -1, 0, 1000000},
};

// Options without a value: each sets one setting to 0 or 1.
struct FlagOption {
    const char* name;
    int setting;
    int32_t value;
};
constexpr FlagOption kFlagOptions[] = {
    {"fps", FPS, 1},
    {"no-fps", FPS, 0},
    {"big-bang", BigBang, 1},
    {"no-big-bang", BigBang, 0},
    {"black-hole", BlackHall, 1},
    {"no-black-hole", BlackHall, 0},
    {"reverse", Gyakuten, 1},
    {"no-reverse", Gyakuten, 0},
    {"bounce", Hanekaeri, 1},
    {"no-bounce", Hanekaeri, 0},
    {"speed-up", Kasoku, 1},
    {"no-speed-up", Kasoku, 0},
    {"non-stop", NonStop, 1},
    {"no-non-stop", NonStop, 0},
};

// A decimal whole number with an optional minus sign; at most nine digits,
// so it always fits.
bool ParseWhole(const char* text, int32_t& value) {
    const char* p = text;
    bool negative = *p == '-';
    if (negative) ++p;
    size_t digits = std::strspn(p, "0123456789");
    if (digits == 0 || digits > 9 || p[digits] != '\0') return false;
    int32_t v = 0;
    for (size_t i = 0; i < digits; ++i) v = v * 10 + (p[i] - '0');
    value = negative ? -v : v;
    return true;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

// X resource ids are 29 bits; anything wider than 32 is surely a mistake.
bool ParseWindowId(const char* text, unsigned long& id) {
    uint64_t v = 0;
    bool hex = text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const char* p = hex ? text + 2 : text;
    if (*p == '\0') return false;
    for (; *p != '\0'; ++p) {
        int d = hex ? HexDigit(*p) : (*p >= '0' && *p <= '9' ? *p - '0' : -1);
        if (d < 0) return false;
        v = v * (hex ? 16 : 10) + static_cast<uint64_t>(d);
        if (v > 0xFFFFFFFFu) return false;
    }
    id = static_cast<unsigned long>(v);
    return v != 0;
}

namespace {

// "#RRGGBB" into a COLORREF (0x00BBGGRR).
bool ParseColour(const char* text, int32_t& colorref) {
    if (text[0] != '#' || std::strlen(text) != 7) return false;
    int32_t rgb[3];
    for (int i = 0; i < 3; ++i) {
        int hi = HexDigit(text[1 + 2 * i]), lo = HexDigit(text[2 + 2 * i]);
        if (hi < 0 || lo < 0) return false;
        rgb[i] = hi * 16 + lo;
    }
    colorref = rgb[0] | rgb[1] << 8 | rgb[2] << 16;
    return true;
}

}  // namespace

ParseOutcome ParseHackOptions(int argc, const char* const* argv, HackOptions& out,
                              std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        const char* name = arg[0] == '-' ? arg + (arg[1] == '-' ? 2 : 1) : nullptr;
        if (name == nullptr || *name == '\0') {
            error = std::string("unexpected argument '") + arg + "' (see --help)";
            return ParseOutcome::Error;
        }
        const std::string option = std::string("-") + name;
        if (std::strcmp(name, "h") == 0 || std::strcmp(name, "help") == 0)
            return ParseOutcome::Help;
        if (std::strcmp(name, "root") == 0) {
            out.root = true;
            continue;
        }
        bool matched = false;
        for (const FlagOption& f : kFlagOptions) {
            if (std::strcmp(name, f.name) != 0) continue;
            out.settings.Set(f.setting, f.value);
            matched = true;
        }
        if (matched) continue;

        // The rest take a value.
        const NumberOption* number = nullptr;
        for (const NumberOption& n : kNumberOptions) {
            if (std::strcmp(name, n.name) == 0) number = &n;
        }
        bool valued = number != nullptr || std::strcmp(name, "window-id") == 0 ||
                      std::strcmp(name, "background") == 0;
        if (!valued) {
            error = "unknown option " + std::string(arg) + " (see --help)";
            return ParseOutcome::Error;
        }
        if (i + 1 >= argc) {
            error = option + " needs a value";
            return ParseOutcome::Error;
        }
        const char* value = argv[++i];
        if (number != nullptr) {
            int32_t v = 0;
            if (!ParseWhole(value, v)) {
                error = option + " needs a whole number, not '" + value + "'";
                return ParseOutcome::Error;
            }
            if (v < number->low || v > number->high) {
                error = option + " must be between " + std::to_string(number->low) + " and " +
                        std::to_string(number->high) + ", not " + value;
                return ParseOutcome::Error;
            }
            if (number->setting >= 0)
                out.settings.Set(number->setting, v);
            else
                out.delayMicroseconds = v;
        } else if (std::strcmp(name, "window-id") == 0) {
            if (!ParseWindowId(value, out.windowId)) {
                error = option + " needs a window number (decimal or 0x hex), not '" + value + "'";
                return ParseOutcome::Error;
            }
        } else {
            int32_t colorref = 0;
            if (!ParseColour(value, colorref)) {
                error = option + " needs a colour as #RRGGBB, not '" + value + "'";
                return ParseOutcome::Error;
            }
            out.settings.Set(BackgroundColor, colorref);
            out.settings.Set(BlackBack, colorref == 0 ? 1 : 0);
        }
    }
    return ParseOutcome::Run;
}

const char* HackUsage() {
    return "Usage: tessary-x11 [options]\n"
           "Shows this month's calendar page as a swarm of spinning digits.\n"
           "Every option may start with - or --.\n"
           "\n"
           "  -root               draw on the root window (or XSCREENSAVER_WINDOW)\n"
           "  -window-id ID       draw into window ID (decimal or 0x hex)\n"
           "                      With neither, a window of its own opens; a key or a\n"
           "                      click there ends the show.\n"
           "  -delay USEC         microseconds from one frame to the next,\n"
           "                      0 to 1000000 (default 16667: 60 frames a second)\n"
           "  -self-rotation N    slowest spin, 0 to 200 (default 40; larger is slower)\n"
           "  -moving N           fastest drift, 0 to 500 (default 300)\n"
           "  -process MS         milliseconds per step of the show, 200 to 1000 (default 500)\n"
           "  -fps                show the frame rate\n"
           "  -big-bang, -no-big-bang        open with a big bang (default on)\n"
           "  -black-hole, -no-black-hole    end in a black hole (default on)\n"
           "  -reverse, -no-reverse          some digits spin backwards (default on)\n"
           "  -bounce, -no-bounce            bounce off the edges, else wrap (default on)\n"
           "  -speed-up, -no-speed-up        drift faster and slower in turn (default off)\n"
           "  -non-stop, -no-non-stop        keep spinning on the page (default on)\n"
           "  -background #RRGGBB            background colour (default #000000)\n"
           "  -h, -help           this text\n";
}
