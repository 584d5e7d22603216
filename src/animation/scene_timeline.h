// Motion of the digit objects on every frame and the scene timeline that the
// scene timer advances.
#pragma once

#include <array>
#include <cstdint>

#include "animation/animation_state.h"

// Timer ticks that each state 0-6 of the page cycle lasts.
constexpr std::array<int, 7> SceneDurations = {20, 3, 2, 1, 7, 7, 2};

// Gathering states 1-4, 11-14 and 21-24 move an object this fraction of its
// remaining distance per frame: 1/8, 1/4, 1/2, all of it, chosen by the last
// digit of the state (index last digit - 1).
constexpr std::array<int, 4> GatherDivisors = {8, 4, 2, 1};

// Moves every object in play for the frame at tick count now, by SceneState:
// free drift (0), gathering towards the destination (1-4, 11-14, 21-24), held
// in place (5, 6); then wraps positions at the screen edges and steps the
// rotation frame at most once. Called once per drawn frame, before drawing.
void UpdateMotion(AnimationState& a, uint32_t now);
void UpdateMotion(uint32_t now);  // the process-wide animation

// One step of the scene timeline, on every tick of the scene timer: counts
// ticks through the page cycle, lays out the next page at its end, runs the
// big bang, and at the second tick of the black hole ends the show through
// the host's endShow.
void AdvanceTimeline(AnimationState& a);
void AdvanceTimeline();  // the process-wide animation

// Starts the black-hole finale: every object in play heads for one random
// point and SceneState becomes 21.
void StartBlackHole(AnimationState& a);
void StartBlackHole();  // the process-wide animation
