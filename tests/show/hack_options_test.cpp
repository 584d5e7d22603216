#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <tuple>

#include "show/hack_options.h"

namespace {

constexpr int kDelay = -1, kWindow = -2, kGeometry = -3, kVisual = -4;

// {argv, field, value, message}: without a message the arguments must parse
// and set `field` (a setting, kDelay or kWindow) to `value`; with one they
// must fail with a text that holds it. kGeometry reads W*10^8 + H*10^4 + X
// (X negative when counted from the right); kVisual 1 for -visual TrueColor.
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
    {{"x", "--delay=100", "-window"}, kDelay, 100, nullptr},
    {{"x", "-window-id", "7", "-root"}, kWindow, 0, nullptr},
    {{"x", "-geometry", "400x300"}, kGeometry, 400'0300'0000, nullptr},
    {{"x", "--geometry==12x34-56+7"}, kGeometry, 12'0034'0000 - 56, nullptr},
    {{"x", "-visual", "truecolor", "-mono", "-sync", "-install"}, kVisual, 1, nullptr},
    {{"x", "-bg", "#FF8000", "-fg", "#00FF00"}, BackgroundColor, 0x0080FF, nullptr},
    {{"x", "-visual", "PseudoColor"}, 0, 0, "takes default or TrueColor"},
    {{"x", "-geometry", "400"}, 0, 0, "-geometry needs WIDTHxHEIGHT[+X+Y], not '400'"},
    {{"x", "-geometry", "4x3+1"}, 0, 0, "WIDTHxHEIGHT"},
    {{"x", "--fps=1"}, 0, 0, "-fps takes no value"},
    {{"x", "-bg", ""}, 0, 0, "-bg needs a colour"},
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
            const int64_t geometry =
                o.width * 100000000LL + o.height * 10000LL + (o.xFromRight ? -o.x : o.x);
            const int64_t v = field == kDelay      ? o.delayMicroseconds
                              : field == kWindow   ? int64_t(o.windowId)
                              : field == kGeometry ? geometry
                              : field == kVisual   ? int64_t(o.trueColor && o.installColormap)
                                                   : o.settings[field];
            EXPECT_EQ(v, value) << argv[argc - 1];
        }
    }
}

TEST(HackOptions, ColourNamesAreLookedUpByTheFrontEnd) {
    const char* argv[] = {"x", "-background", "navy", "--fg=light blue"};
    HackOptions o;
    std::string error;
    ASSERT_EQ(ParseHackOptions(4, argv, o, error), ParseOutcome::Run);
    const auto lookUp = [](const std::string& name, uint32_t& rgb) {
        rgb = name == "navy" ? 0x000080 : 0xADD8E6;
        return name != "nosuch";
    };
    ASSERT_TRUE(ResolveColourNames(o, lookUp, error));
    EXPECT_EQ(o.settings[BackgroundColor], 0x800000);
    EXPECT_EQ(o.settings[BlackBack], 0);
    EXPECT_EQ(o.foreground, 0xADD8E6u);
    o.foregroundName = "nosuch";
    EXPECT_FALSE(ResolveColourNames(o, lookUp, error));
    EXPECT_EQ(error, "-foreground: no colour named 'nosuch'");
}

}  // namespace
