#include "web/page_options.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

// Options of tessary-x11 that mean nothing on a page: the window to draw into
// is the page's own, and the display's refresh paces the frames.
constexpr const char* kWindowOnly[] = {"root", "window-id", "delay", "h", "help"};

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Undoes percent-encoding ('+' is a space). False for a broken escape.
bool Decode(const std::string& text, std::string& out) {
    out.clear();
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '+') {
            out += ' ';
        } else if (text[i] != '%') {
            out += text[i];
        } else {
            if (i + 2 >= text.size()) return false;
            const int hi = HexValue(text[i + 1]), lo = HexValue(text[i + 2]);
            if (hi < 0 || lo < 0) return false;
            out += static_cast<char>(hi * 16 + lo);
            i += 2;
        }
    }
    return true;
}

// A decimal number from `low` to `high` and nothing else.
bool ParseBounded(const std::string& text, uint64_t low, uint64_t high, uint64_t& value) {
    if (text.empty() || text.size() > 10 || text.find_first_not_of("0123456789") != text.npos)
        return false;
    value = std::strtoull(text.c_str(), nullptr, 10);
    return value >= low && value <= high;
}

// A day of the years the page shows as they are (it takes a year's last two
// digits as 1996 to 2095).
bool ParseDate(const std::string& text, LocalDate& date) {
    uint64_t y = 0, m = 0, d = 0;
    if (text.size() != 10 || text[4] != '-' || text[7] != '-' ||
        !ParseBounded(text.substr(0, 4), 1996, 2095, y) ||
        !ParseBounded(text.substr(5, 2), 1, 12, m) || !ParseBounded(text.substr(8, 2), 1, 31, d))
        return false;
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = y % 4 == 0;  // 2000 is one; 2100 lies outside
    if (d > static_cast<uint64_t>(kDays[m - 1] + (m == 2 && leap))) return false;
    date = LocalDate{static_cast<int>(y), static_cast<int>(m), static_cast<int>(d)};
    return true;
}

// tessary-x11's parser on the arguments `args`; its message without the
// option's leading dash.
bool ParseAsHack(const std::vector<std::string>& args, HackOptions& hack, std::string& error) {
    std::vector<const char*> argv{"tessary"};
    for (const std::string& a : args) argv.push_back(a.c_str());
    HackOptions trial = hack;
    error.clear();
    const ParseOutcome outcome =
        ParseHackOptions(static_cast<int>(argv.size()), argv.data(), trial, error);
    if (outcome != ParseOutcome::Run) return false;
    hack = trial;
    return true;
}

// One show option: a switch (what parses alone) as "-name" for 1 and
// "-no-name" for 0, any other as "-name value", through tessary-x11's parser.
bool ApplyShowOption(const std::string& name, const std::string& value, HackOptions& hack,
                     std::string& error) {
    HackOptions scratch;
    std::string message;
    if (ParseAsHack({"-" + name}, scratch, message)) {
        if ((value == "1" || value == "0") &&
            ParseAsHack({(value == "1" ? "-" : "-no-") + name}, hack, message))
            return true;
        error = name + " takes 1 or 0, not '" + value + "'";
        return false;
    }
    if (message.rfind("unknown option", 0) == 0) {
        error = "unknown option " + name;
        return false;
    }
    if (ParseAsHack({"-" + name, value}, hack, message)) {
        // Colour names are looked up in the X server's colour database,
        // which a page does not have: only #RRGGBB is a colour here.
        if (hack.backgroundName.empty() && hack.foregroundName.empty()) return true;
        hack.backgroundName.clear();
        hack.foregroundName.clear();
        error = name + " needs a colour as #RRGGBB, not '" + value + "'";
        return false;
    }
    // A value that is no number: the range comes from the parser's answer to
    // a number that lies outside every range.
    std::string range;
    if (message.find(" needs a whole number") != message.npos &&
        !ParseAsHack({"-" + name, "-999999999"}, scratch, range)) {
        const size_t between = range.find("between "), comma = range.find(", not");
        if (between != range.npos && comma != range.npos) {
            error = name + " must be a whole number " + range.substr(between, comma - between) +
                    ", not '" + value + "'";
            return false;
        }
    }
    error = message[0] == '-' ? message.substr(1) : message;
    return false;
}

}  // namespace

bool ParsePageQuery(const std::string& query, PageOptions& out, std::string& error) {
    out = PageOptions{};
    PageOptions page;
    size_t start = !query.empty() && query[0] == '?' ? 1 : 0;
    while (start <= query.size()) {
        size_t end = query.find('&', start);
        if (end == query.npos) end = query.size();
        const std::string item = query.substr(start, end - start);
        start = end + 1;
        if (item.empty()) continue;
        const size_t equals = item.find('=');
        std::string name, value;
        if (!Decode(item.substr(0, equals), name) ||
            !Decode(equals == item.npos ? "" : item.substr(equals + 1), value)) {
            error = "broken %-escape in '" + item + "'";
            return false;
        }
        uint64_t number = 0;
        bool ok = true;
        if (name == "date") {
            page.fixedDate = ok = ParseDate(value, page.date);
            if (!ok) error = "date must be a day from 1996-01-01 to 2095-12-31 as YYYY-MM-DD";
            if (!ok) error += ", not '" + value + "'";
        } else if (name == "seed") {
            page.fixedSeed = ok = ParseBounded(value, 0, 4294967295u, number);
            page.seed = static_cast<uint32_t>(number);
            if (!ok)
                error = "seed must be a whole number between 0 and 4294967295, not '" + value + "'";
        } else if (name == "frames") {
            ok = ParseBounded(value, 0, 100000, number);
            page.heldFrames = static_cast<int32_t>(number);
            if (!ok)
                error = "frames must be a whole number between 0 and 100000, not '" + value + "'";
        } else if (std::find(std::begin(kWindowOnly), std::end(kWindowOnly), name) !=
                   std::end(kWindowOnly)) {
            ok = false;
            error = name + " is an option of tessary-x11 only, not of the page";
        } else if (name.empty() || name[0] == '-') {
            ok = false;
            error = "unknown option " + name;
        } else {
            ok = ApplyShowOption(name, value, page.hack, error);
        }
        if (!ok) return false;
    }
    out = page;
    return true;
}
