// How user input, activation changes and timer ticks steer a saver run:
// when input ends the saver, when it is swallowed, and what F10 does.
#pragma once

#include <cstdint>
#include <functional>

#include "shared/shell_state.h"

constexpr unsigned kSnapshotKey = 121;         // F10
constexpr int32_t kMouseFrameThreshold = 150;  // frames before mouse moves count
constexpr int32_t kKeyFrameThreshold = 300;    // frames before plain keys count
constexpr int kMouseBurst = 5;                 // moves within one reset interval
constexpr uint32_t kMouseResetInterval = 500;  // ms
constexpr int kDeactivationLimit = 5;

// Whether the window procedure passes the message on to DefWindowProc.
enum class InputResult { PassOn, Handled };

// The calls that ending the saver makes.
struct EndingActions {
    std::function<int()> verifyPassword;  // nonzero: the saver may close
    std::function<void()> startBlackHole;
    std::function<void()> destroyWindow;
};

struct InputContext {
    ShellState& shell;
    int32_t& frameCounter;  // frames drawn since the start (reset after a refused password)
    int blackHall;          // the BlackHall setting
    const EndingActions& actions;
};

// Saver-mode input. Configuration runs pass every input on and never call these.
InputResult OnMouseMove(const InputContext& c);
InputResult OnKeyDown(const InputContext& c, unsigned key);
InputResult OnSysKeyDown(const InputContext& c, unsigned key);
InputResult OnMouseButtonDown(const InputContext& c);

// The ending rule itself, reached from the handlers above. `key` is the
// virtual-key code for key messages; mouse messages pass isKey = false, so a
// button state that happens to equal F10's code never asks for a snapshot.
InputResult ApplyEndingRule(const InputContext& c, bool isKey, unsigned key);

// WM_ACTIVATEAPP; the fifth loss outside an ending destroys the window.
// Activation while the password dialog is up leaves the frames off.
void OnActivateApp(ShellState& shell, bool active, const std::function<void()>& destroyWindow);

// The tick's mouse-count reset: more than 500 ms after the last reset.
void ResetMouseCountIfDue(ShellState& shell, uint32_t now);

// The scene timer's period for a Process setting. A hand-edited value of 0 or
// less would make the timeline race (or, as an unsigned period, stall), and
// one beyond 10 seconds would keep the black hole, which swallows all input,
// from ever finishing; both fall back to the default of 500 ms.
constexpr int32_t kLongestSceneTimerPeriod = 10000;
int32_t SceneTimerPeriod(int32_t process);
