// Where one digit object lands on the back buffer and which part of its
// sprite-sheet cell is copied, clipped against the screen edges.
#pragma once

#include <cstdint>

#include "animation/animation_state.h"

struct SpriteBlit {
    int32_t destX, destY;              // top-left corner on the back buffer
    int32_t left, top, right, bottom;  // source rectangle, right and bottom exclusive
};

// The cell of the object's current frame, with its last column and row left
// out, cut by whatever part of the full cell lies at or beyond a screen edge.
// An object wholly off the screen yields an empty or inverted rectangle.
SpriteBlit ComputeSpriteBlit(const DigitObject& object, int32_t screenWidth, int32_t screenHeight);
