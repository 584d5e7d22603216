#include "shell/input_rules.h"

InputResult ApplyEndingRule(const InputContext& c, bool isKey, unsigned key) {
    ShellState& s = c.shell;
    if (isKey && key == kSnapshotKey) {
        s.SnapshotRequested = 1;
        return InputResult::PassOn;
    }
    if (s.EndingInProgress) return InputResult::Handled;
    s.EndingInProgress = 1;
    if (s.UsePassword && c.actions.verifyPassword && c.actions.verifyPassword() == 0) {
        s.EndingInProgress = 0;
        c.frameCounter = 0;
        return InputResult::PassOn;
    }
    if (c.blackHall) {
        if (c.actions.startBlackHole) c.actions.startBlackHole();
        return InputResult::Handled;
    }
    s.WindowActive = 0;
    if (c.actions.destroyWindow) c.actions.destroyWindow();
    return InputResult::Handled;
}

InputResult OnMouseMove(const InputContext& c) {
    ++c.shell.MouseMoveCount;
    if (c.shell.MouseMoveCount < kMouseBurst || c.frameCounter < kMouseFrameThreshold)
        return InputResult::PassOn;
    return ApplyEndingRule(c, false, 0);
}

InputResult OnKeyDown(const InputContext& c, unsigned key) {
    if (c.frameCounter < kKeyFrameThreshold) return InputResult::PassOn;
    return ApplyEndingRule(c, true, key);
}

InputResult OnSysKeyDown(const InputContext& c, unsigned key) {
    return ApplyEndingRule(c, true, key);
}

InputResult OnMouseButtonDown(const InputContext& c) {
    return ApplyEndingRule(c, false, 0);
}

void OnActivateApp(ShellState& s, bool active, const std::function<void()>& destroyWindow) {
    s.AppActive = active ? 1 : 0;
    // Frames stay off while Windows' password dialog is up, or they would be
    // flipped over it when the user switches away and back.
    if (!s.ConfigMode && !(active && s.PasswordDialogUp)) s.WindowActive = active ? 1 : 0;
    if (active || s.EndingInProgress) return;
    if (++s.DeactivationCount == kDeactivationLimit) {
        s.WindowActive = 0;
        s.EndingInProgress = 1;
        if (destroyWindow) destroyWindow();
    }
}

void ResetMouseCountIfDue(ShellState& s, uint32_t now) {
    if (now - s.mouseResetTime > kMouseResetInterval) {
        s.MouseMoveCount = 0;
        s.mouseResetTime = now;
    }
}

int32_t SceneTimerPeriod(int32_t process) {
    return process > 0 && process <= kLongestSceneTimerPeriod ? process : 500;
}
