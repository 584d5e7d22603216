#include "shell/command_line.h"

#include <cstring>

namespace {

bool Starts(const char* text, const char* a, const char* b) {
    return std::strncmp(text, a, 2) == 0 || std::strncmp(text, b, 2) == 0;
}

// The decimal window number from the fourth character on: blanks skipped,
// digits up to the first non-digit. A number too large for a handle is no
// window at all.
uintptr_t WindowNumber(const char* text) {
    if (std::strlen(text) < 3) return 0;
    const char* p = text + 3;
    while (*p == ' ' || *p == '\t') ++p;
    uint64_t value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        const unsigned digit = static_cast<unsigned>(*p - '0');
        if (value > (UINTPTR_MAX - digit) / 10) return 0;
        value = value * 10 + digit;
    }
    return static_cast<uintptr_t>(value);
}

}  // namespace

CommandLine ParseCommandLine(const char* tail) {
    CommandLine result;
    const char* text = tail != nullptr ? tail : "";
    if (Starts(text, "/p", "/P")) {
        result.mode = RunMode::Preview;
    } else if (Starts(text, "/c", "/C")) {
        result.mode = RunMode::Configuration;
    } else if (Starts(text, "/a", "/A")) {
        result.mode = RunMode::PasswordChange;
        result.parentWindow = WindowNumber(text);
    } else if (Starts(text, "/s", "/S")) {
        result.mode = RunMode::Saver;
    }
    return result;
}
