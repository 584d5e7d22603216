// The frame's BlackBack read against Wine's real registry and DirectDraw:
// a change made while frames are being drawn shows on the very next frame,
// and drawing frames leaves no handle behind.
#include <windows.h>

#include <gtest/gtest.h>

#include <utility>

#include "animation/animation_state.h"
#include "display/display.h"
#include "settings/settings_store.h"
#include "test_window.h"

namespace {

const char kKeyPath[] = "Software\\Quorvane\\Skylumen\\Tessery";
const COLORREF kBlack = RGB(0, 0, 0), kBackground = RGB(36, 72, 170);  // both in the palette

// The handles this process holds (Wine's GetProcessHandleCount answers 0).
int HandleCount() {
    int count = 0;
    DWORD flags = 0;
    for (ULONG_PTR h = 4; h < 0x10000; h += 4) count += GetHandleInformation(HANDLE(h), &flags);
    return count;
}

// Draws one frame; the colour it shows in the screen's bottom-left corner.
COLORREF NextFrame() {
    RenderFrame();
    HDC dc = nullptr;
    g_Display.primary->GetDC(&dc);
    const COLORREF shown = GetPixel(dc, 0, 479);
    g_Display.primary->ReleaseDC(dc);
    return shown;
}

// At 640 x 480 x 8 with no digit in play, the frame's reader left to the store.
TEST(LiveBlackBack, TheNextFrameFollowsTheRegistryAndFramesLeaveNoHandle) {
    g_Display = DisplayState();
    g_Display.settings.Set(BackgroundColor, static_cast<int32_t>(kBackground));
    g_Animation.ObjectPool = {};
    ASSERT_EQ(InitDisplay(TestWindow()), 1);
    const std::pair<void (*)(), COLORREF> steps[] = {
        {[] { WriteSetting(BlackBack, 1); }, kBlack},
        {[] { WriteSetting(BlackBack, 0); }, kBackground},
        {[] { RegDeleteKeyValueA(HKEY_CURRENT_USER, kKeyPath, "BlackBack"); }, kBlack},
        {[] { WriteSetting(BlackBack, 0); }, kBackground},
        // The key deleted, then made again by the next write.
        {[] { RegDeleteKeyA(HKEY_CURRENT_USER, kKeyPath); }, kBlack},
        {[] { WriteSetting(BlackBack, 0); }, kBackground},
        {[] { WriteSetting(BlackBack, 1); }, kBlack},
    };
    for (const auto& step : steps) {
        step.first();
        EXPECT_EQ(NextFrame(), step.second) << "step " << &step - steps;
    }

    const int handles = HandleCount();
    for (int i = 0; i < 200; ++i) RenderFrame();
    EXPECT_EQ(HandleCount(), handles);
    ReleaseDisplay();
    PumpMessages();
}

}  // namespace
