// Outlines of the ten numerals as stroked centre lines, for the sprite artwork.
#pragma once

namespace spritegen {

// Every numeral is drawn in the same box of design units: x from 0 to kGlyphWidth,
// y from 0 (baseline) up to kGlyphHeight.
constexpr double kGlyphWidth = 60.0;
constexpr double kGlyphHeight = 100.0;

// The strokes' centre lines keep kCentreLineMargin units inside the edges of the box; the
// strokes themselves reach kStrokeHalfWidth units either side of them.
constexpr double kCentreLineMargin = 8.0;
constexpr double kStrokeHalfWidth = 9.0;

// Signed distance in design units from (x, y) to the outline of numeral `digit` (0 to 9):
// negative inside the strokes, exact outside them.
double GlyphDistance(int digit, double x, double y);

// Sine and cosine of an angle in degrees, from plain arithmetic only, so that the artwork
// comes out the same whatever the maths library and the optimisation level.
void SinCosDegrees(double degrees, double* sine, double* cosine);

}  // namespace spritegen
