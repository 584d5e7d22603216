#include <gtest/gtest.h>

#include "shell/input_rules.h"

namespace {

// A saver run with recorded ending actions.
struct SaverRun {
    ShellState shell;
    int32_t frames = 0;
    int blackHall = 0;
    int passwordAnswer = 1;
    int asked = 0, blackHoles = 0, destroyed = 0;
    EndingActions actions{[this] {
                              ++asked;
                              return passwordAnswer;
                          },
                          [this] { ++blackHoles; }, [this] { ++destroyed; }};
    SaverRun() { shell.WindowActive = 1; }
    InputContext C() { return InputContext{shell, frames, blackHall, actions}; }
    bool Ended() const { return destroyed + blackHoles > 0; }
};

TEST(InputRules, MouseMovesCountOnlyInBurstsAfterTheFirstFrames) {
    SaverRun r;
    r.frames = 149;
    for (int i = 0; i < 20; ++i) EXPECT_EQ(OnMouseMove(r.C()), InputResult::PassOn);
    EXPECT_FALSE(r.Ended());

    SaverRun burst;
    burst.frames = 150;
    for (int i = 0; i < 4; ++i) OnMouseMove(burst.C());
    EXPECT_FALSE(burst.Ended()) << "four moves never end it";
    EXPECT_EQ(OnMouseMove(burst.C()), InputResult::Handled);
    EXPECT_EQ(burst.destroyed, 1);
    EXPECT_EQ(burst.shell.WindowActive, 0);
}

TEST(InputRules, TheTickClearsTheMouseCountEveryHalfSecond) {
    SaverRun r;
    r.frames = 1000;
    ResetMouseCountIfDue(r.shell, 10000);  // the first tick resets at once
    for (int i = 0; i < 4; ++i) OnMouseMove(r.C());
    ResetMouseCountIfDue(r.shell, 10500);  // not more than 500 ms: kept
    EXPECT_EQ(r.shell.MouseMoveCount, 4);
    ResetMouseCountIfDue(r.shell, 10501);
    EXPECT_EQ(r.shell.MouseMoveCount, 0);
    for (int i = 0; i < 4; ++i) OnMouseMove(r.C());
    EXPECT_FALSE(r.Ended());
}

TEST(InputRules, KeysNeedThreeHundredFramesButAltAndClicksDoNot) {
    SaverRun early;
    early.frames = 299;
    EXPECT_EQ(OnKeyDown(early.C(), 'A'), InputResult::PassOn);
    EXPECT_FALSE(early.Ended());
    early.frames = 300;
    EXPECT_EQ(OnKeyDown(early.C(), 'A'), InputResult::Handled);
    EXPECT_EQ(early.destroyed, 1);

    SaverRun alt;
    EXPECT_EQ(OnSysKeyDown(alt.C(), 'X'), InputResult::Handled);
    EXPECT_EQ(alt.destroyed, 1);
    SaverRun click;
    EXPECT_EQ(OnMouseButtonDown(click.C()), InputResult::Handled);
    EXPECT_EQ(click.destroyed, 1);
}

TEST(InputRules, F10AsksForASnapshotAndNeverEnds) {
    SaverRun r;
    EXPECT_EQ(OnSysKeyDown(r.C(), kSnapshotKey), InputResult::PassOn);
    EXPECT_EQ(r.shell.SnapshotRequested, 1);
    EXPECT_FALSE(r.Ended());
    r.frames = 400;
    r.shell.SnapshotRequested = 0;
    EXPECT_EQ(OnKeyDown(r.C(), kSnapshotKey), InputResult::PassOn);
    EXPECT_EQ(r.shell.SnapshotRequested, 1);

    // During an ending F10 still works; all other input is swallowed.
    r.blackHall = 1;
    EXPECT_EQ(OnMouseButtonDown(r.C()), InputResult::Handled);
    EXPECT_EQ(r.blackHoles, 1);
    r.shell.SnapshotRequested = 0;
    EXPECT_EQ(OnSysKeyDown(r.C(), kSnapshotKey), InputResult::PassOn);
    EXPECT_EQ(r.shell.SnapshotRequested, 1);
    EXPECT_EQ(OnKeyDown(r.C(), 'A'), InputResult::Handled);
    EXPECT_EQ(OnMouseButtonDown(r.C()), InputResult::Handled);
    EXPECT_EQ(r.blackHoles, 1);
    EXPECT_EQ(r.destroyed, 0);
    EXPECT_EQ(r.shell.WindowActive, 1) << "the finale keeps drawing";

    // A mouse message whose button state equals F10's code is no snapshot.
    SaverRun mouse;
    mouse.shell.EndingInProgress = 1;
    EXPECT_EQ(ApplyEndingRule(mouse.C(), false, kSnapshotKey), InputResult::Handled);
    EXPECT_EQ(mouse.shell.SnapshotRequested, 0);
}

TEST(InputRules, PasswordIsAskedOnlyWhenWindowsWantsIt) {
    SaverRun none;
    OnMouseButtonDown(none.C());
    EXPECT_EQ(none.asked, 0);
    EXPECT_EQ(none.destroyed, 1);

    SaverRun refused;
    refused.shell.UsePassword = 1;
    refused.passwordAnswer = 0;
    refused.frames = 1234;
    EXPECT_EQ(OnMouseButtonDown(refused.C()), InputResult::PassOn);
    EXPECT_EQ(refused.asked, 1);
    EXPECT_FALSE(refused.Ended());
    EXPECT_EQ(refused.shell.EndingInProgress, 0);
    EXPECT_EQ(refused.frames, 0) << "thresholds apply afresh";
    for (int i = 0; i < 10; ++i) OnMouseMove(refused.C());
    EXPECT_FALSE(refused.Ended()) << "mouse moves wait for 150 new frames";

    refused.passwordAnswer = 1;
    refused.blackHall = 1;
    EXPECT_EQ(OnMouseButtonDown(refused.C()), InputResult::Handled);
    EXPECT_EQ(refused.asked, 2);
    EXPECT_EQ(refused.blackHoles, 1);
}

TEST(InputRules, FifthDeactivationOutsideAnEndingDestroys) {
    ShellState s;
    int destroyed = 0;
    auto destroy = [&] { ++destroyed; };
    OnActivateApp(s, true, destroy);
    EXPECT_EQ(s.WindowActive, 1);
    for (int i = 0; i < 4; ++i) {
        OnActivateApp(s, false, destroy);
        EXPECT_EQ(s.WindowActive, 0);
        OnActivateApp(s, true, destroy);
    }
    EXPECT_EQ(destroyed, 0);
    OnActivateApp(s, false, destroy);
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(s.EndingInProgress, 1);

    ShellState ending;
    ending.EndingInProgress = 1;
    for (int i = 0; i < 10; ++i) OnActivateApp(ending, false, destroy);
    EXPECT_EQ(ending.DeactivationCount, 0) << "not counted during an ending";

    ShellState config;
    config.ConfigMode = 1;
    OnActivateApp(config, true, destroy);
    EXPECT_EQ(config.WindowActive, 0) << "a configuration run is never active";
    for (int i = 0; i < 5; ++i) OnActivateApp(config, false, destroy);
    EXPECT_EQ(destroyed, 2);
}

TEST(InputRules, SceneTimerPeriodRefusesNonPositiveValues) {
    EXPECT_EQ(SceneTimerPeriod(500), 500);
    EXPECT_EQ(SceneTimerPeriod(200), 200);
    EXPECT_EQ(SceneTimerPeriod(0), 500);
    EXPECT_EQ(SceneTimerPeriod(-7), 500);
}

}  // namespace
