// The shell's rules: the command line, the start-up restrictions and how
// input, activation and timer ticks steer a saver run.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "shell/command_line.h"
#include "shell/input_rules.h"
#include "shell/startup_restrictions.h"

TEST(CommandLine, FirstTwoCharactersPickTheRun) {
    struct {
        const char* tail;
        RunMode mode;
        uintptr_t parent;
    } rows[] = {
        // clang-format off
        {"/p 1234", RunMode::Preview, 0}, {"/P", RunMode::Preview, 0},
        {"/c:5678", RunMode::Configuration, 0}, {"/s", RunMode::Saver, 0},
        {"/S more", RunMode::Saver, 0}, {"-s", RunMode::Configuration, 0},
        {"/x", RunMode::Configuration, 0}, {"", RunMode::Configuration, 0},
        {nullptr, RunMode::Configuration, 0}, {"/a 4690", RunMode::PasswordChange, 4690},
        {"/A:  12x", RunMode::PasswordChange, 12}, {"/a", RunMode::PasswordChange, 0},
        {"/a 99999999999999999999999", RunMode::PasswordChange, 0},
        // clang-format on
    };
    for (const auto& r : rows) {
        const CommandLine c = ParseCommandLine(r.tail);
        EXPECT_EQ(c.mode, r.mode) << (r.tail ? r.tail : "(null)");
        EXPECT_EQ(c.parentWindow, r.parent) << (r.tail ? r.tail : "(null)");
    }
}

// Nothing is probed while every check is off; with checks on they are tried
// in order, each program by its window classes and title prefixes.
TEST(StartupRestrictions, ProbeOnlyTheChecksThatAreOn) {
    Settings s;
    int probes = 0;
    auto count = [&probes](const char*) { return ++probes, false; };
    EXPECT_EQ(FindStartupRestriction(s, count, count), -1);
    EXPECT_EQ(probes, 0);
    for (int i : {HideCheck, InternetExpCheck, NetScapeCheck, NifTermCheck}) s.Set(i, 1);
    auto ieFrame = [](const char* c) { return std::string(c) == "IEFrame"; };
    auto netscape = [](const char* t) { return std::string(t) == "Netscape"; };
    EXPECT_EQ(FindStartupRestriction(s, ieFrame, netscape), 3);
    EXPECT_EQ(FindStartupRestriction(s, count, netscape), 4);
    probes = 0;
    EXPECT_EQ(FindStartupRestriction(s, count, count), -1);
    EXPECT_EQ(probes, 6) << "1 + 2 + 2 + 1 probes, none beyond a check's own";
}

namespace {

enum Event { Move, Key, SysKey, Click };

struct SaverRun {
    ShellState shell;
    int32_t frames = 0;
    int answer = 1, asked = 0, holes = 0, destroyed = 0;
    EndingActions actions{[this] { return ++asked, answer; }, [this] { ++holes; },
                          [this] { ++destroyed; }};
};

}  // namespace

TEST(InputRules, EndTheSaverOnlyAsTheUserMeantIt) {
    struct Row {
        const char* what;
        Event event;
        unsigned key;
        int frames, moves, password, answer, blackHall, ending;
        // What follows: handled, asked, black hole, destroyed, snapshot,
        // ending afterwards, frames afterwards.
        bool handled;
        int asked, holes, destroyed, snapshot, endingAfter, framesAfter;
    } rows[] = {
        {"5th move before 150 frames", Move, 0, 149, 4, 0, 1, 0, 0, false, 0, 0, 0, 0, 0, 149},
        {"4th move", Move, 0, 150, 3, 0, 1, 0, 0, false, 0, 0, 0, 0, 0, 150},
        {"key before 300 frames", Key, 'A', 299, 0, 0, 1, 0, 0, false, 0, 0, 0, 0, 0, 299},
        {"key", Key, 'A', 300, 0, 0, 1, 0, 0, true, 0, 0, 1, 0, 1, 300},
        {"click at once", Click, 0, 0, 0, 0, 1, 0, 0, true, 0, 0, 1, 0, 1, 0},
        {"F10 before 300 frames", Key, 121, 10, 0, 0, 1, 0, 0, false, 0, 0, 0, 0, 0, 10},
        {"F10", Key, 121, 300, 0, 0, 1, 0, 0, false, 0, 0, 0, 1, 0, 300},
        {"F10 as a system key", SysKey, 121, 0, 0, 0, 1, 0, 1, false, 0, 0, 0, 1, 1, 0},
        {"input during an ending", Click, 0, 500, 0, 1, 1, 1, 1, true, 0, 0, 0, 0, 1, 500},
        {"black hole", Click, 0, 500, 0, 0, 1, 1, 0, true, 0, 1, 0, 0, 1, 500},
        {"password refused", Click, 0, 500, 0, 1, 0, 1, 0, false, 1, 0, 0, 0, 0, 0},
        {"password accepted", SysKey, 'B', 500, 0, 1, 1, 1, 0, true, 1, 1, 0, 0, 1, 500},
    };
    for (const Row& r : rows) {
        SaverRun run;
        run.frames = r.frames;
        run.answer = r.answer;
        run.shell.WindowActive = 1;
        run.shell.MouseMoveCount = r.moves;
        run.shell.UsePassword = r.password;
        run.shell.EndingInProgress = r.ending;
        const InputContext c{run.shell, run.frames, r.blackHall, run.actions};
        const InputResult result = r.event == Move     ? OnMouseMove(c)
                                   : r.event == Key    ? OnKeyDown(c, r.key)
                                   : r.event == SysKey ? OnSysKeyDown(c, r.key)
                                                       : OnMouseButtonDown(c);
        const int got[] = {result == InputResult::Handled,
                           run.asked,
                           run.holes,
                           run.destroyed,
                           run.shell.SnapshotRequested,
                           run.shell.EndingInProgress,
                           run.frames,
                           run.shell.WindowActive};
        const int want[] = {r.handled,  r.asked,       r.holes,       r.destroyed,
                            r.snapshot, r.endingAfter, r.framesAfter, !r.destroyed};
        EXPECT_EQ(std::vector<int>(got, got + 8), std::vector<int>(want, want + 8)) << r.what;
    }
}

TEST(InputRules, ActivationAndTicks) {
    // Activation changes: (config run, ending, password dialog up, earlier
    // losses, active) -> frames drawn, losses counted, window destroyed.
    struct {
        int config, ending, dialog, losses, active, windowActive, lossesAfter, destroyed;
    } rows[] = {
        {0, 0, 0, 0, 1, 1, 0, 0}, {0, 0, 0, 0, 0, 0, 1, 0}, {0, 0, 0, 3, 0, 0, 4, 0},
        {0, 0, 0, 4, 0, 0, 5, 1}, {0, 1, 0, 4, 0, 0, 4, 0}, {1, 0, 0, 4, 0, 0, 5, 1},
        {1, 0, 0, 0, 1, 0, 0, 0}, {0, 1, 1, 0, 1, 0, 0, 0},
    };
    for (const auto& r : rows) {
        ShellState s;
        s.ConfigMode = r.config;
        s.EndingInProgress = r.ending;
        s.PasswordDialogUp = r.dialog;
        s.DeactivationCount = r.losses;
        int destroyed = 0;
        OnActivateApp(s, r.active != 0, [&] { ++destroyed; });
        EXPECT_EQ(s.WindowActive, r.windowActive) << r.losses << r.active << r.dialog;
        EXPECT_EQ(s.AppActive, r.active);
        EXPECT_EQ(s.DeactivationCount, r.lossesAfter);
        EXPECT_EQ(destroyed, r.destroyed);
        EXPECT_EQ(s.EndingInProgress, r.destroyed | r.ending);
    }
    // The tick clears the mouse count more than 500 ms after the last
    // clearing, also across the tick count's wrap.
    // clang-format off
    const uint32_t ticks[][3] = {{0, 501, 1}, {0, 500, 0}, {1000, 1501, 1}, {1000, 1500, 0},
                                 {0xFFFFFF00u, 0xFFFFFFF0u, 0}, {0xFFFFFE00u, 0x100, 1}};
    // clang-format on
    for (const auto& t : ticks) {
        ShellState s;
        s.mouseResetTime = t[0];
        s.MouseMoveCount = 4;
        ResetMouseCountIfDue(s, t[1]);
        EXPECT_EQ(s.MouseMoveCount, t[2] ? 0 : 4) << t[0] << " " << t[1];
        EXPECT_EQ(s.mouseResetTime, t[2] ? t[1] : t[0]);
    }
    const int32_t periods[][2] = {{500, 500}, {200, 200},   {10000, 10000},  {0, 500},
                                  {-1, 500},  {10001, 500}, {100000000, 500}};
    for (const auto& p : periods) EXPECT_EQ(SceneTimerPeriod(p[0]), p[1]) << p[0];
}
