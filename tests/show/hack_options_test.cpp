#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <tuple>

#include "show/hack_options.h"

namespace {

constexpr int kDelay = -1, kWindow = -2;

// {argv, field, value, message}: without a message the arguments must parse
// and set `field` (a setting, kDelay or kWindow) to `value`; with one they
// must fail with a text that holds it.
const std::tuple<std::array<const char*, 6>, int, int64_t, const char*> kRows[] = {
    {{"x"}, kDelay, 16667, nullptr},
    {{"x", "--root", "-moving", "0", "-process", "200"}, Process, 200, nullptr},
    {{"x", "-process", "1000", "--self-rotation", "200"}, Process, 1000, nullptr},
    {{"x", "--no-big-bang"}, BigBang, 0, nullptr},
    {{"x", "-no-non-stop", "-speed-up"}, Kasoku, 1, nullptr},
    {{"x", "-window-id", "0x2A"}, kWindow, 42, nullptr},
    {{"x", "-background", "#102030"}, BackgroundColor, 0x302010, nullptr},
    {{"x", "-process", "199"}, 0, 0, "-process must be between 200 and 1000, not 199"},
    {{"x", "-process", "1001"}, 0, 0, "between 200 and 1000"},
    {{"x", "-self-rotation", "201"}, 0, 0, "between 0 and 200"},
    {{"x", "-moving", "-1"}, 0, 0, "between 0 and 500"},
    {{"x", "-moving", "3x"}, 0, 0, "-moving needs a whole number, not '3x'"},
    {{"x", "-moving"}, 0, 0, "-moving needs a value"},
    {{"x", "-window-id", "0"}, 0, 0, "window number"},
    {{"x", "-background", "#12345g"}, 0, 0, "#RRGGBB"},
    {{"x", "--bogus"}, 0, 0, "unknown option --bogus"},
};

TEST(HackOptions, EachRowParsesAsExpected) {
    for (const auto& [argv, field, value, message] : kRows) {
        const int argc = int(std::find(argv.begin(), argv.end(), nullptr) - argv.begin());
        HackOptions o;
        std::string error;
        const ParseOutcome got = ParseHackOptions(argc, argv.data(), o, error);
        EXPECT_EQ(got, message ? ParseOutcome::Error : ParseOutcome::Run) << argv[argc - 1];
        if (message) {
            EXPECT_NE(error.find(message), std::string::npos) << error;
        } else if (got == ParseOutcome::Run) {
            const int64_t v = field == kDelay    ? o.delayMicroseconds
                              : field == kWindow ? int64_t(o.windowId)
                                                 : o.settings[field];
            EXPECT_EQ(v, value) << argv[argc - 1];
        }
    }
}

}  // namespace
