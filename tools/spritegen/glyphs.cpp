#include "glyphs.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace spritegen {

void SinCosDegrees(double degrees, double* sine, double* cosine) {
    // Bring the angle into -180..180 degrees, where the Taylor series below converge
    // to full double precision well within their 30 terms.
    double reduced = std::fmod(degrees, 360.0);
    if (reduced > 180.0) {
        reduced -= 360.0;
    } else if (reduced < -180.0) {
        reduced += 360.0;
    }
    const double x = reduced * (3.14159265358979323846 / 180.0);
    const double x2 = x * x;
    double sinTerm = x;
    double cosTerm = 1.0;
    double sinSum = 0.0;
    double cosSum = 0.0;
    for (int n = 0; n < 30; ++n) {
        sinSum += sinTerm;
        cosSum += cosTerm;
        sinTerm *= -x2 / ((2.0 * n + 2.0) * (2.0 * n + 3.0));
        cosTerm *= -x2 / ((2.0 * n + 1.0) * (2.0 * n + 2.0));
    }
    *sine = sinSum;
    *cosine = cosSum;
}

namespace {

// One piece of a stroke's centre line: a straight segment from a to b, or a circular arc
// about `centre` whose points lie within `halfAperture` of the direction `middle`.
struct Piece {
    bool isArc;
    double ax, ay, bx, by;  // segment ends, or the arc's two end points
    double centreX, centreY, radius;
    double middleX, middleY, cosHalfAperture;
};

double Length(double x, double y) {
    return std::sqrt(x * x + y * y);
}

Piece Segment(double ax, double ay, double bx, double by) {
    return Piece{false, ax, ay, bx, by, 0, 0, 0, 0, 0, 0};
}

// Point of the circle about (cx, cy) with radius r at `degrees` (counter-clockwise from +x).
void ArcPoint(double cx, double cy, double r, double degrees, double* x, double* y) {
    double s, c;
    SinCosDegrees(degrees, &s, &c);
    *x = cx + r * c;
    *y = cy + r * s;
}

// Arc from angle `from` to angle `to` (degrees; either direction, at most one full turn).
Piece Arc(double cx, double cy, double r, double from, double to) {
    Piece p{true, 0, 0, 0, 0, cx, cy, r, 0, 0, 0};
    ArcPoint(cx, cy, r, from, &p.ax, &p.ay);
    ArcPoint(cx, cy, r, to, &p.bx, &p.by);
    double s, c;
    SinCosDegrees(0.5 * (from + to), &s, &c);
    p.middleX = c;
    p.middleY = s;
    SinCosDegrees(0.5 * std::fabs(to - from), &s, &c);
    p.cosHalfAperture = c;
    return p;
}

double PieceDistance(const Piece& p, double x, double y) {
    if (p.isArc) {
        const double dx = x - p.centreX;
        const double dy = y - p.centreY;
        const double d = Length(dx, dy);
        if (d == 0.0 || (dx * p.middleX + dy * p.middleY) >= p.cosHalfAperture * d) {
            return std::fabs(d - p.radius);
        }
        return std::min(Length(x - p.ax, y - p.ay), Length(x - p.bx, y - p.by));
    }
    const double ex = p.bx - p.ax;
    const double ey = p.by - p.ay;
    const double wx = x - p.ax;
    const double wy = y - p.ay;
    const double t = std::clamp((wx * ex + wy * ey) / (ex * ex + ey * ey), 0.0, 1.0);
    return Length(wx - t * ex, wy - t * ey);
}

// The same pieces turned half a turn about the middle of the glyph box.
std::vector<Piece> HalfTurn(std::vector<Piece> pieces) {
    for (Piece& p : pieces) {
        p.ax = kGlyphWidth - p.ax;
        p.ay = kGlyphHeight - p.ay;
        p.bx = kGlyphWidth - p.bx;
        p.by = kGlyphHeight - p.by;
        if (p.isArc) {
            p.centreX = kGlyphWidth - p.centreX;
            p.centreY = kGlyphHeight - p.centreY;
            p.middleX = -p.middleX;
            p.middleY = -p.middleY;
        }
    }
    return pieces;
}

// Centre lines of a rounded sans-serif numeral set.
std::array<std::vector<Piece>, 10> BuildGlyphs() {
    std::array<std::vector<Piece>, 10> g;
    double x, y;

    g[0] = {Arc(30, 70, 22, 0, 180), Arc(30, 30, 22, 180, 360), Segment(8, 30, 8, 70),
            Segment(52, 30, 52, 70)};

    g[1] = {Segment(33, 8, 33, 92), Segment(33, 92, 15, 77), Segment(16, 8, 50, 8)};

    // The diagonal of 2 leaves the bowl along its tangent towards the bottom-left corner.
    ArcPoint(30, 69, 22, -39.67, &x, &y);
    g[2] = {Arc(30, 69, 22, 160, -39.67), Segment(x, y, 8, 8), Segment(8, 8, 52, 8)};

    g[3] = {Arc(30, 71.5, 20.5, 155, -90), Arc(30, 29.5, 21.5, 90, -155), Segment(20, 51, 30, 51)};

    g[4] = {Segment(42, 8, 42, 92), Segment(42, 92, 8, 30), Segment(8, 30, 52, 30)};

    ArcPoint(28, 32, 24, 130, &x, &y);
    g[5] = {Segment(50, 92, 14, 92), Segment(14, 92, x, y), Arc(28, 32, 24, 130, -145)};

    g[6] = {Arc(30, 30, 22, 0, 360), Arc(64, 36, 56, 185, 103)};

    g[7] = {Segment(8, 92, 52, 92), Segment(52, 92, 21, 8)};

    g[8] = {Arc(30, 72.5, 19.5, 0, 360), Arc(30, 30.5, 22.5, 0, 360)};

    g[9] = HalfTurn(g[6]);
    return g;
}

}  // namespace

double GlyphDistance(int digit, double x, double y) {
    static const std::array<std::vector<Piece>, 10> glyphs = BuildGlyphs();
    double nearest = 1e9;
    for (const Piece& p : glyphs[digit]) {
        nearest = std::min(nearest, PieceDistance(p, x, y));
    }
    return nearest - kStrokeHalfWidth;
}

}  // namespace spritegen
