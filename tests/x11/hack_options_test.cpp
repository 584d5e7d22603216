#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "x11/hack_options.h"

namespace {

constexpr int kDelay = -1, kWindow = -2, kRoot = -3;
using O = ParseOutcome;

int64_t Field(const HackOptions& o, int which) {
    if (which == kDelay) return o.delayMicroseconds;
    if (which == kWindow) return static_cast<int64_t>(o.windowId);
    if (which == kRoot) return o.root;
    return o.settings[which];
}

struct Row {
    const char* args;
    O outcome;
    int field;            // what a Run row checks
    int64_t value;        // its expected value
    const char* message;  // what an Error row's message contains
};

const Row kRows[] = {
    {"", O::Run, kDelay, 16667, ""},
    {"", O::Run, Process, 500, ""},
    {"--root", O::Run, kRoot, 1, ""},
    {"-moving 0", O::Run, Moving, 0, ""},
    {"--self-rotation 200", O::Run, SelfRotation, 200, ""},
    {"-process 200", O::Run, Process, 200, ""},
    {"-process 1000", O::Run, Process, 1000, ""},
    {"-delay 0", O::Run, kDelay, 0, ""},
    {"-fps", O::Run, FPS, 1, ""},
    {"--no-big-bang", O::Run, BigBang, 0, ""},
    {"-no-black-hole", O::Run, BlackHall, 0, ""},
    {"-no-reverse", O::Run, Gyakuten, 0, ""},
    {"-no-bounce", O::Run, Hanekaeri, 0, ""},
    {"-speed-up", O::Run, Kasoku, 1, ""},
    {"-no-non-stop -non-stop", O::Run, NonStop, 1, ""},
    {"-window-id 0x2A", O::Run, kWindow, 42, ""},
    {"--window-id 4242", O::Run, kWindow, 4242, ""},
    {"-background #102030", O::Run, BackgroundColor, 0x302010, ""},
    {"-background #102030", O::Run, BlackBack, 0, ""},
    {"-background #000000", O::Run, BlackBack, 1, ""},
    {"-h", O::Help, 0, 0, ""},
    {"--help", O::Help, 0, 0, ""},
    {"-process 199", O::Error, 0, 0, "-process must be between 200 and 1000, not 199"},
    {"-process 1001", O::Error, 0, 0, "between 200 and 1000"},
    {"-moving -1", O::Error, 0, 0, "between 0 and 500"},
    {"-self-rotation 201", O::Error, 0, 0, "between 0 and 200"},
    {"-delay 1000001", O::Error, 0, 0, "between 0 and 1000000"},
    {"-moving 3x", O::Error, 0, 0, "-moving needs a whole number, not '3x'"},
    {"-moving 99999999999", O::Error, 0, 0, "whole number"},
    {"-moving", O::Error, 0, 0, "-moving needs a value"},
    {"-window-id 0", O::Error, 0, 0, "window number"},
    {"-window-id 0x1g", O::Error, 0, 0, "window number"},
    {"-window-id 0x100000000", O::Error, 0, 0, "window number"},
    {"-background #12345", O::Error, 0, 0, "#RRGGBB"},
    {"-background red", O::Error, 0, 0, "#RRGGBB"},
    {"-bogus", O::Error, 0, 0, "unknown option -bogus"},
    {"- -fps", O::Error, 0, 0, "unexpected argument"},
    {"stray", O::Error, 0, 0, "unexpected argument 'stray'"},
};

TEST(HackOptions, EachRowParsesAsExpected) {
    for (const Row& row : kRows) {
        std::vector<std::string> words{"tessary-x11"};
        std::istringstream in(row.args);
        for (std::string w; in >> w;) words.push_back(w);
        std::vector<const char*> argv;
        for (const std::string& w : words) argv.push_back(w.c_str());
        HackOptions options;
        std::string error;
        ASSERT_EQ(ParseHackOptions(static_cast<int>(argv.size()), argv.data(), options, error),
                  row.outcome)
            << row.args << ": " << error;
        if (row.outcome == O::Run) {
            EXPECT_EQ(Field(options, row.field), row.value) << row.args;
        } else if (row.outcome == O::Error) {
            EXPECT_NE(error.find(row.message), std::string::npos) << error;
        }
    }
}

}  // namespace
