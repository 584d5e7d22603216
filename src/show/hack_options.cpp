#include "show/hack_options.h"

#include <cctype>
#include <cstdlib>
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

// "#RRGGBB" into 0x00RRGGBB.
bool ParseHexColour(const char* text, uint32_t& rgb) {
    if (text[0] != '#' || std::strlen(text) != 7) return false;
    rgb = 0;
    for (int i = 1; i < 7; ++i) {
        const int d = HexDigit(text[i]);
        if (d < 0) return false;
        rgb = rgb << 4 | static_cast<uint32_t>(d);
    }
    return true;
}

uint32_t ColorrefOfRgb(uint32_t rgb) {
    return (rgb & 0xFF) << 16 | (rgb & 0xFF00) | (rgb >> 16 & 0xFF);
}

void SetBackground(HackOptions& out, uint32_t rgb) {
    const int32_t colorref = static_cast<int32_t>(ColorrefOfRgb(rgb));
    out.settings.Set(BackgroundColor, colorref);
    out.settings.Set(BlackBack, colorref == 0 ? 1 : 0);
}

// An offset of -geometry: '+' or '-' and digits. Returns the text after it.
const char* ParseOffset(const char* p, int32_t& value, bool& negative) {
    if (*p != '+' && *p != '-') return nullptr;
    negative = *p++ == '-';
    const size_t digits = std::strspn(p, "0123456789");
    if (digits == 0 || digits > 5) return nullptr;
    value = 0;
    for (size_t i = 0; i < digits; ++i) value = value * 10 + (p[i] - '0');
    return p + digits;
}

// WxH, WxH+X+Y or +X+Y (X's geometry strings; a leading '=' is allowed).
bool ParseGeometry(const char* text, HackOptions& out) {
    const char* p = text + (*text == '=');
    const size_t wDigits = std::strspn(p, "0123456789");
    if (wDigits > 0) {
        const size_t hDigits = p[wDigits] == 'x' ? std::strspn(p + wDigits + 1, "0123456789") : 0;
        if (hDigits == 0 || wDigits > 5 || hDigits > 5) return false;
        out.width = std::atoi(std::string(p, wDigits).c_str());
        out.height = std::atoi(std::string(p + wDigits + 1, hDigits).c_str());
        if (out.width < 1 || out.height < 1 || out.width > 32767 || out.height > 32767)
            return false;
        p += wDigits + 1 + hDigits;
    }
    out.position = *p != '\0';
    if (!out.position) return wDigits > 0;
    p = ParseOffset(p, out.x, out.xFromRight);
    if (p != nullptr) p = ParseOffset(p, out.y, out.yFromBottom);
    return p != nullptr && *p == '\0';
}

bool EqualNoCase(const char* a, const char* b) {
    for (; *a != '\0' && *b != '\0'; ++a, ++b) {
        if (std::tolower(static_cast<unsigned char>(*a)) !=
            std::tolower(static_cast<unsigned char>(*b)))
            return false;
    }
    return *a == *b;
}

// Options that take a value and are not numbers.
constexpr const char* kValueOptions[] = {"window-id", "background", "bg",       "foreground",
                                         "fg",        "display",    "geometry", "visual"};

// Options without a value that are not settings.
enum class Plain { None, Root, Window, Install, NoInstall, Mono, Sync };
Plain PlainOption(const std::string& name) {
    if (name == "root") return Plain::Root;
    if (name == "window") return Plain::Window;
    if (name == "install") return Plain::Install;
    if (name == "noinstall") return Plain::NoInstall;
    if (name == "mono") return Plain::Mono;
    if (name == "sync") return Plain::Sync;
    return Plain::None;
}

// Applies an option with a value other than a number; false with `error` set.
bool SetValue(const std::string& name, const std::string& option, const char* value,
              HackOptions& out, std::string& error) {
    if (name == "window-id") {
        if (ParseWindowId(value, out.windowId)) return true;
        error = option + " needs a window number (decimal or 0x hex), not '" + value + "'";
        return false;
    }
    if (name == "display") {
        out.display = value;
        return true;
    }
    if (name == "geometry") {
        if (ParseGeometry(value, out)) return true;
        error = option + " needs WIDTHxHEIGHT[+X+Y], not '" + value + "'";
        return false;
    }
    if (name == "visual") {
        if (EqualNoCase(value, "default") || EqualNoCase(value, "TrueColor")) {
            out.trueColor = EqualNoCase(value, "TrueColor");
            return true;
        }
        error = option + " takes default or TrueColor (the show needs a TrueColor visual), not '" +
                value + "'";
        return false;
    }
    // A colour: #RRGGBB now, anything else is a name for the front end.
    const bool background = name == "background" || name == "bg";
    if (*value == '\0') {
        error = option + " needs a colour (#RRGGBB or a colour name)";
        return false;
    }
    uint32_t rgb = 0;
    const bool hex = ParseHexColour(value, rgb);
    if (background) {
        if (hex) SetBackground(out, rgb);
        out.backgroundName = hex ? "" : value;
    } else {
        if (hex) out.foreground = rgb;
        out.foregroundName = hex ? "" : value;
    }
    return true;
}

}  // namespace

ParseOutcome ParseHackOptions(int argc, const char* const* argv, HackOptions& out,
                              std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        const char* start = arg[0] == '-' ? arg + (arg[1] == '-' ? 2 : 1) : nullptr;
        if (start == nullptr || *start == '\0' || *start == '=') {
            error = std::string("unexpected argument '") + arg + "' (see --help)";
            return ParseOutcome::Error;
        }
        // --name=value carries its value; --name value takes the next argument.
        const char* equals = std::strchr(start, '=');
        const std::string name = equals ? std::string(start, equals) : std::string(start);
        const std::string option = "-" + name;
        if (name == "h" || name == "help") return ParseOutcome::Help;

        const FlagOption* flag = nullptr;
        for (const FlagOption& f : kFlagOptions) {
            if (name == f.name) flag = &f;
        }
        const Plain plain = PlainOption(name);
        if (flag != nullptr || plain != Plain::None) {
            if (equals != nullptr) {
                error = option + " takes no value";
                return ParseOutcome::Error;
            }
            if (flag != nullptr) out.settings.Set(flag->setting, flag->value);
            if (plain == Plain::Root || plain == Plain::Window) {
                out.root = plain == Plain::Root;
                out.windowId = 0;
            }
            if (plain == Plain::Install || plain == Plain::NoInstall)
                out.installColormap = plain == Plain::Install;
            if (plain == Plain::Sync) out.synchronous = true;
            continue;  // -mono: accepted; the show is in colour
        }

        // The rest take a value.
        const NumberOption* number = nullptr;
        for (const NumberOption& n : kNumberOptions) {
            if (name == n.name) number = &n;
        }
        bool valued = number != nullptr;
        for (const char* v : kValueOptions) valued = valued || name == v;
        if (!valued) {
            error = "unknown option " + std::string(arg, start) + name + " (see --help)";
            return ParseOutcome::Error;
        }
        if (equals == nullptr && i + 1 >= argc) {
            error = option + " needs a value";
            return ParseOutcome::Error;
        }
        const char* value = equals ? equals + 1 : argv[++i];
        if (number == nullptr) {
            if (!SetValue(name, option, value, out, error)) return ParseOutcome::Error;
            continue;
        }
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
    }
    return ParseOutcome::Run;
}

bool ResolveColourNames(HackOptions& options,
                        const std::function<bool(const std::string&, uint32_t&)>& lookup,
                        std::string& error) {
    uint32_t rgb = 0;
    if (!options.backgroundName.empty()) {
        if (!lookup(options.backgroundName, rgb)) {
            error = "-background: no colour named '" + options.backgroundName + "'";
            return false;
        }
        SetBackground(options, rgb);
        options.backgroundName.clear();
    }
    if (!options.foregroundName.empty()) {
        if (!lookup(options.foregroundName, rgb)) {
            error = "-foreground: no colour named '" + options.foregroundName + "'";
            return false;
        }
        options.foreground = rgb;
        options.foregroundName.clear();
    }
    return true;
}

const char* HackUsage() {
    return "Usage: tessary-x11 [options]\n"
           "Shows this month's calendar page as a swarm of spinning digits.\n"
           "Every option may start with - or --; a value may also follow '=' (--delay=0).\n"
           "\n"
           "Where to draw:\n"
           "  -root               on the root window (or XSCREENSAVER_WINDOW)\n"
           "  -window             in a window of its own (the default); a key or a\n"
           "                      click there ends the show\n"
           "  -window-id ID       into window ID (decimal or 0x hex)\n"
           "  -display NAME       the X display to use (default: $DISPLAY)\n"
           "  -geometry WxH[+X+Y] size and place of the own window (default 640x480)\n"
           "  -visual default|TrueColor     the visual of the own window\n"
           "  -install, -noinstall          own window with a colormap of its own or not\n"
           "  -mono               accepted; the show is always in colour\n"
           "  -sync               X requests one at a time (for debugging)\n"
           "\n"
           "The show:\n"
           "  -delay USEC         microseconds from one frame to the next,\n"
           "                      0 to 1000000 (default 16667: 60 frames a second)\n"
           "  -self-rotation N    slowest spin, 0 to 200 (default 40; larger is slower)\n"
           "  -moving N           fastest drift, 0 to 500 (default 300)\n"
           "  -process MS         milliseconds per step of the show, 200 to 1000 (default 500)\n"
           "  -fps, -no-fps                  show the frame rate (default off)\n"
           "  -big-bang, -no-big-bang        open with a big bang (default on)\n"
           "  -black-hole, -no-black-hole    end in a black hole (default on)\n"
           "  -reverse, -no-reverse          some digits spin backwards (default on)\n"
           "  -bounce, -no-bounce            bounce off the edges, else wrap (default on)\n"
           "  -speed-up, -no-speed-up        drift faster and slower in turn (default off)\n"
           "  -non-stop, -no-non-stop        keep spinning on the page (default on)\n"
           "  -background, -bg COLOUR        background (default black)\n"
           "  -foreground, -fg COLOUR        the frame-rate text (default yellow)\n"
           "                      COLOUR: #RRGGBB or an X colour name (navy, \"light blue\")\n"
           "  -h, -help           this text\n";
}
