// The animation's state: the pool of digit objects, the scene timeline's
// variables and the connections to the rest of the run (settings, random
// source, local date, end of the show). One process-wide instance drives the
// saver; tests build fresh ones.
#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "animation/random_source.h"
#include "settings/settings_table.h"

constexpr int kObjectPoolSize = 200;

// One animated digit sprite. Positions are the top-left corner of its cell in
// screen pixels and may lie off the screen; times are tick counts in ms.
struct DigitObject {
    int32_t inPlay;                 // 1: moved and drawn; never reset to 0
    int32_t digit;                  // pool index mod 10
    int32_t x, y;                   // position
    double speedX, speedY;          // base drift speed, pixels per ms, positive
    int32_t dirX, dirY;             // 1: towards increasing x / y; 0: the other way
    uint32_t lastMoveTime;          // tick count of the last position update
    double fracX, fracY;            // sub-pixel drift carried between frames, |f| < 1
    int32_t hasTarget;              // 1 when targetX/targetY hold a destination
    int32_t targetX, targetY;       // destination of the top-left corner
    int32_t rotating;               // 1 while the rotation frame advances
    int32_t framePeriod;            // ms between rotation frames, 10 to SelfRotation + 10
    uint32_t lastFrameTime;         // tick count of the last rotation-frame change
    int32_t frame;                  // rotation frame, 0 to frameCount - 1
    int32_t frameCount;             // 17
    int32_t cellWidth, cellHeight;  // sprite cell: 50 x 45, or 25 x 22 at width 320
    int32_t sheetColumns;           // cells per row of a digit's block in the sprite sheet: 9
    int32_t sheetY;                 // top of the digit's block in the sprite sheet
    int32_t reverse;                // 1 when the frames step backwards
};

// A calendar date as the local clock reports it; year in full (e.g. 2026).
struct LocalDate {
    int year;
    int month;  // 1-12
    int day;    // 1-31
};

// What the animation takes from the rest of the run.
struct AnimationHost {
    // The run's settings; the process-wide copy unless connected otherwise.
    const Settings* settings = &g_Settings;
    RandomSource* random = &g_Random;
    // Reads the current local date; read anew by every month layout. When
    // empty, the standard library's local time is used.
    std::function<LocalDate()> localDate;
    // Ends the show when the black-hole finale is over: the shell clears
    // WindowActive and destroys the saver window.
    std::function<void()> endShow;
};

struct AnimationState {
    std::array<DigitObject, kObjectPoolSize> ObjectPool{};  // in index order
    int32_t SceneState = 0;   // 0-6 page cycle, 11-13 big bang, 21-23 black hole
    int32_t SceneTicks = 0;   // timer ticks spent in the current state 0-6
    int32_t PageCycles = 0;   // page cycles completed, 0-10
    double SpeedBoost = 0.0;  // added to both drift speeds in free drift
    int32_t SpeedBoostFalling = 0;
    int32_t StopFrame = 0;  // frame at which the digits stop spinning in state 5
    AnimationHost host;
};

// The animation of this process.
extern AnimationState g_Animation;

// Connects the process-wide animation to the run: the settings it reads
// (kept by reference, so they must outlive the run), the local-date reader
// (may be empty) and the end-of-show action. Call before the display start
// seeds the pool.
void ConnectAnimation(const Settings& settings, std::function<LocalDate()> localDate,
                      std::function<void()> endShow);

// Settings as the animation uses them. Values from the registry can be edited
// by hand, so each is held to a range in which every draw, division and pixel
// sum stays defined; any value the settings dialog can produce passes
// unchanged.
constexpr int32_t kMaxScreenSide = 1 << 20;
// A draw yields at most 32767, so bounds above 32767 behave the same as 32767.
constexpr int32_t kMaxDrawBound = 32767;

inline int32_t ClampInt(int32_t v, int32_t lo, int32_t hi) {
    return v < lo ? lo : (v > hi ? hi : v);
}
// Screen width W and height H: at least 1 pixel.
inline int32_t ScreenWidth(const Settings& s) {
    return ClampInt(s[xScreenSize], 1, kMaxScreenSide);
}
inline int32_t ScreenHeight(const Settings& s) {
    return ClampInt(s[yScreenSize], 1, kMaxScreenSide);
}
// Upper bounds of the rotation-period and drift-speed draws: at least 0.
inline int32_t RotationBound(const Settings& s) {
    return ClampInt(s[SelfRotation], 0, kMaxDrawBound);
}
inline int32_t DriftBound(const Settings& s) {
    return ClampInt(s[Moving], 0, kMaxDrawBound);
}
