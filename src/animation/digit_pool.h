// The pool of 200 digit objects: seeding at display start, and handing out
// the destinations of a month page.
#pragma once

#include <cstdint>

#include "animation/animation_state.h"

// Fills all 200 objects of a.ObjectPool from the random source (which must
// already be seeded), brings the first 20 into play, lays out the current
// month and, with BigBang on, gathers every object in play at one random
// point with a random destination and sets SceneState to 11. now is the tick
// count. Called once, by the display start.
void SeedPool(AnimationState& a, uint32_t now);
void SeedPool(uint32_t now);  // the process-wide animation

// Gives one object showing digit, without a destination, the destination
// (targetX, targetY); an object in play is preferred over an idle one, which
// is then brought into play. The scan starts at a random index. Returns 1 when
// an object was found, 0 when none was (nothing changes then).
int AssignDigit(AnimationState& a, int digit, int targetX, int targetY);

// Sends every object in play that has no destination to one of the four
// corners just outside the screen: top-left, top-right, bottom-right,
// bottom-left, in turn, in index order.
void ParkSpareObjects(AnimationState& a);
