#include "render.h"

#include <algorithm>
#include <cmath>

#include "glyphs.h"

namespace spritegen {
namespace {

// The blitter copies only the first kCellWidth-1 columns and kCellHeight-1 rows of a cell,
// so the numeral is centred in that part.
constexpr double kCentreX = 0.5 * (kCellWidth - 1);
constexpr double kCentreY = 0.5 * (kCellHeight - 1);

constexpr double kPixelsPerUnit = 0.375;  // about 39 pixels from top to bottom face-on
constexpr double kEyeDistance = 480.0;    // a little perspective
constexpr double kHalfDepth = 9.0;        // the extrusion: 18 units thick
constexpr double kBevel = 3.5;            // radius of the rounded front and back edges
constexpr int kSamplesPerAxis = 4;        // 16 rays per pixel for the anti-aliasing

struct Vec {
    double x, y, z;
};

Vec operator+(Vec a, Vec b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
Vec operator-(Vec a, Vec b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
Vec operator*(double k, Vec a) {
    return {k * a.x, k * a.y, k * a.z};
}
double Dot(Vec a, Vec b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
Vec Normalise(Vec a) {
    return (1.0 / std::sqrt(Dot(a, a))) * a;
}

// Base colour of each numeral (0 to 1 per channel).
constexpr double kColours[10][3] = {
    {0.92, 0.20, 0.16},  // red
    {1.00, 0.55, 0.10},  // orange
    {0.95, 0.85, 0.18},  // yellow
    {0.50, 0.88, 0.20},  // lime
    {0.16, 0.84, 0.42},  // green
    {0.12, 0.80, 0.82},  // cyan
    {0.22, 0.45, 0.98},  // blue
    {0.60, 0.35, 0.95},  // violet
    {0.90, 0.28, 0.72},  // magenta
    {0.80, 0.82, 0.86},  // silver
};

// Share of the base colour that every lit point keeps: the darkest shade of a numeral,
// well clear of black so that no pixel of it falls onto the transparent colour.
constexpr double kAmbient = 0.24;

// Signed distance from object-space point p to the solid numeral: the glyph extruded
// along z between -kHalfDepth and kHalfDepth, its front and back edges rounded.
double SolidDistance(int digit, Vec p) {
    const double flat =
        GlyphDistance(digit, p.x + 0.5 * kGlyphWidth, p.y + 0.5 * kGlyphHeight) + kBevel;
    const double deep = std::fabs(p.z) - kHalfDepth + kBevel;
    const double outX = std::max(flat, 0.0);
    const double outZ = std::max(deep, 0.0);
    return std::min(std::max(flat, deep), 0.0) + std::sqrt(outX * outX + outZ * outZ) - kBevel;
}

Vec SolidNormal(int digit, Vec p) {
    const double e = 0.02;
    return Normalise(
        {SolidDistance(digit, {p.x + e, p.y, p.z}) - SolidDistance(digit, {p.x - e, p.y, p.z}),
         SolidDistance(digit, {p.x, p.y + e, p.z}) - SolidDistance(digit, {p.x, p.y - e, p.z}),
         SolidDistance(digit, {p.x, p.y, p.z + e}) - SolidDistance(digit, {p.x, p.y, p.z - e})});
}

// Interval [enter, leave] of the ray origin + t * dir inside the box around the solid;
// false when the ray misses it.
bool ClipToBounds(Vec origin, Vec dir, double* enter, double* leave) {
    const double overhang = kStrokeHalfWidth - kCentreLineMargin + 1.0;
    const double lo[3] = {-0.5 * kGlyphWidth - overhang, -0.5 * kGlyphHeight - overhang,
                          -kHalfDepth - 1.0};
    const double o[3] = {origin.x, origin.y, origin.z};
    const double d[3] = {dir.x, dir.y, dir.z};
    double t0 = 0.0;
    double t1 = 1e9;
    for (int axis = 0; axis < 3; ++axis) {
        if (d[axis] == 0.0) {
            if (o[axis] < lo[axis] || o[axis] > -lo[axis]) {
                return false;
            }
            continue;
        }
        double a = (lo[axis] - o[axis]) / d[axis];
        double b = (-lo[axis] - o[axis]) / d[axis];
        if (a > b) {
            std::swap(a, b);
        }
        t0 = std::max(t0, a);
        t1 = std::min(t1, b);
    }
    *enter = t0;
    *leave = t1;
    return t0 < t1;
}

// Sphere-traces the ray; returns the distance along it to the surface, or -1 on a miss.
double Trace(int digit, Vec origin, Vec dir) {
    double t, leave;
    if (!ClipToBounds(origin, dir, &t, &leave)) {
        return -1.0;
    }
    for (int step = 0; step < 200 && t <= leave; ++step) {
        const double d = SolidDistance(digit, origin + t * dir);
        if (d < 0.01) {
            return t;
        }
        t += d;
    }
    return -1.0;
}

double Power32(double x) {
    for (int i = 0; i < 5; ++i) {
        x *= x;
    }
    return x;
}

struct Colour {
    double r, g, b;
};

// Lighting of a surface point, all vectors in view space: n the surface normal, toEye the
// unit vector towards the eye. A key light from the upper left, a weaker fill from the
// right, glossy highlights, and a reflected sky (bright above the horizon, dark ground
// below) that gives the faces their polished-metal sheen.
Colour Shade(int digit, Vec n, Vec toEye) {
    static const Vec key = Normalise({-0.5, 0.7, 0.6});
    static const Vec fill = Normalise({0.8, -0.2, 0.5});
    const double* base = kColours[digit];

    const double diffuse = 0.55 * std::max(Dot(n, key), 0.0) + 0.25 * std::max(Dot(n, fill), 0.0);
    const Vec reflected = 2.0 * Dot(n, toEye) * n - toEye;
    const double up = reflected.y;
    const double sky =
        up > 0.0 ? 0.55 + 0.45 * std::min(up * 2.5, 1.0) : 0.25 + 0.15 * std::max(up * 2.5, -1.0);
    const double gloss = 0.9 * Power32(std::max(Dot(n, Normalise(key + toEye)), 0.0)) +
                         0.35 * Power32(std::max(Dot(n, Normalise(fill + toEye)), 0.0));

    const double lit = kAmbient + diffuse + 0.45 * sky;
    Colour c{};
    double* out[3] = {&c.r, &c.g, &c.b};
    for (int i = 0; i < 3; ++i) {
        // Highlights take on some of the numeral's own colour, as on coloured metal.
        *out[i] = std::min(base[i] * lit + gloss * (0.45 + 0.55 * base[i]), 1.0);
    }
    return c;
}

std::uint8_t ToByte(double v) {
    return static_cast<std::uint8_t>(std::clamp(v, 0.0, 1.0) * 255.0 + 0.5);
}

}  // namespace

std::vector<Rgb> RenderCell(int digit, int frame) {
    double sinA, cosA;
    SinCosDegrees(360.0 * frame / kFrameCount, &sinA, &cosA);
    // The solid is turned by the frame's angle; the eye looks along -z from kEyeDistance.
    // Rays are built in view space and turned back into the solid's own space.
    auto toObject = [&](Vec v) {
        return Vec{cosA * v.x - sinA * v.z, v.y, sinA * v.x + cosA * v.z};
    };
    auto toView = [&](Vec v) {
        return Vec{cosA * v.x + sinA * v.z, v.y, -sinA * v.x + cosA * v.z};
    };
    const Vec eye{0.0, 0.0, kEyeDistance};
    const Vec eyeInObject = toObject(eye);
    const double* base = kColours[digit];
    const Colour darkest{base[0] * kAmbient, base[1] * kAmbient, base[2] * kAmbient};

    std::vector<Rgb> cell(kCellWidth * kCellHeight, Rgb{0, 0, 0});
    constexpr int kSamples = kSamplesPerAxis * kSamplesPerAxis;
    for (int py = 0; py < kCellHeight; ++py) {
        for (int px = 0; px < kCellWidth; ++px) {
            int hits = 0;
            Colour sum{0.0, 0.0, 0.0};
            for (int sy = 0; sy < kSamplesPerAxis; ++sy) {
                for (int sx = 0; sx < kSamplesPerAxis; ++sx) {
                    const double u =
                        (px + (sx + 0.5) / kSamplesPerAxis - 0.5 - kCentreX) / kPixelsPerUnit;
                    const double v =
                        (kCentreY - (py + (sy + 0.5) / kSamplesPerAxis - 0.5)) / kPixelsPerUnit;
                    const Vec viewDir = Normalise({u, v, -kEyeDistance});
                    const Vec dir = toObject(viewDir);
                    const double t = Trace(digit, eyeInObject, dir);
                    if (t < 0.0) {
                        continue;
                    }
                    const Vec normal = toView(SolidNormal(digit, eyeInObject + t * dir));
                    const Colour c = Shade(digit, normal, -1.0 * viewDir);
                    sum.r += c.r;
                    sum.g += c.g;
                    sum.b += c.b;
                    ++hits;
                }
            }
            // Pixels touched by only a sliver of the numeral stay background. Edge pixels
            // fade from the numeral's colour down to its darkest shade, never to black,
            // so that they cannot turn into the transparent colour.
            if (hits * 5 < kSamples) {
                continue;
            }
            const double coverage = static_cast<double>(hits) / kSamples;
            const Colour mean{sum.r / hits, sum.g / hits, sum.b / hits};
            cell[py * kCellWidth + px] = Rgb{
                ToByte(darkest.r + (mean.r - darkest.r) * coverage),
                ToByte(darkest.g + (mean.g - darkest.g) * coverage),
                ToByte(darkest.b + (mean.b - darkest.b) * coverage),
            };
        }
    }
    return cell;
}

}  // namespace spritegen
