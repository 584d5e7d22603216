#include "animation/scene_timeline.h"

#include <cmath>

#include "animation/month_layout.h"

namespace {

constexpr int32_t kBigBangFirst = 11;
constexpr int32_t kBigBangLast = 13;
constexpr int32_t kBlackHoleFirst = 21;
constexpr int32_t kBlackHoleEnded = 23;
constexpr int kCurrentMonthCycles = 5;
constexpr int kAllCycles = 10;
constexpr double kSpeedBoostStep = 0.01;
constexpr double kSpeedBoostPeak = 0.5;

// A drift step after a very long pause can exceed any screen many times over;
// steps are capped here so the pixel sum cannot overflow. The wrap or bounce
// that follows puts the object where the full step would have.
constexpr double kMaxDriftStep = 1 << 30;

bool IsGathering(int32_t s) {
    return (s >= 1 && s <= 4) || (s >= 11 && s <= 14) || (s >= 21 && s <= 24);
}

// The rare step of at least kMaxDriftStep pixels, kept apart so that the
// common path stays small enough to inline.
[[gnu::noinline]] int32_t CappedStep(double d, double& frac) {
    frac += d - std::trunc(d);
    return static_cast<int32_t>(d > 0 ? kMaxDriftStep : -kMaxDriftStep);
}

// Advances one axis by d pixels, carrying the sub-pixel part in frac.
// Truncation is toward zero throughout.
inline int32_t DriftAxis(int32_t pos, double& frac, double d) {
    int32_t whole;
    if (std::fabs(d) < kMaxDriftStep) {
        whole = static_cast<int32_t>(d);
        frac += d - whole;
    } else {
        whole = CappedStep(d, frac);
    }
    const int32_t carry = static_cast<int32_t>(frac);
    frac -= carry;
    return pos + whole + carry;
}

// Keeps one axis on the screen: clamps to the edge passed and turns back.
void Bounce(int32_t& pos, int32_t& dir, int32_t cell, int32_t limit) {
    if (pos < 0) {
        pos = 0;
        dir ^= 1;
    }
    if (pos + cell > limit) {
        pos = limit - cell;
        dir ^= 1;
    }
}

// Sends a position that has left the screen in to the opposite edge.
void Wrap(int32_t& pos, int32_t cell, int32_t limit) {
    if (pos >= limit) {
        pos = -cell;
    }
    if (pos + cell < 0) {
        pos = limit - 1;
    }
}

}  // namespace

void UpdateMotion(AnimationState& a, uint32_t now) {
    const Settings& settings = *a.host.settings;
    RandomSource& r = *a.host.random;
    const int32_t w = ScreenWidth(settings);
    const int32_t h = ScreenHeight(settings);
    const bool bounce = settings[Hanekaeri] != 0;
    const bool nonStop = settings[NonStop] != 0;
    const int32_t s = a.SceneState;
    const bool gathering = IsGathering(s);
    const int32_t divisor = gathering ? GatherDivisors[s % 10 - 1] : 1;
    const double boost = a.SpeedBoost;

    for (DigitObject& o : a.ObjectPool) {
        if (o.inPlay == 0) {
            continue;
        }

        if (s == 0) {
            const double dt = static_cast<double>(static_cast<uint32_t>(now - o.lastMoveTime));
            o.x = DriftAxis(o.x, o.fracX, (o.dirX == 1 ? 1.0 : -1.0) * (boost + o.speedX) * dt);
            o.y = DriftAxis(o.y, o.fracY, (o.dirY == 1 ? 1.0 : -1.0) * (boost + o.speedY) * dt);
            if (bounce) {
                Bounce(o.x, o.dirX, o.cellWidth, w);
                Bounce(o.y, o.dirY, o.cellHeight, h);
            }
            o.lastMoveTime = now;
        } else if (gathering) {
            o.rotating = 1;
            if (o.hasTarget == 1) {
                o.x += (o.targetX - o.x) / divisor;
                o.y += (o.targetY - o.y) / divisor;
            }
            o.lastMoveTime = now;
            a.StopFrame = r.Draw(3);
        } else if (s == 5) {
            o.lastMoveTime = now;
        } else if (s == 6) {
            o.lastMoveTime = now;
            o.rotating = 1;
        }

        Wrap(o.x, o.cellWidth, w);
        Wrap(o.y, o.cellHeight, h);

        // An object that never went through seeding has no frames to step.
        if (o.rotating != 0 && o.frameCount > 0 &&
            static_cast<uint32_t>(now - o.lastFrameTime) > static_cast<uint32_t>(o.framePeriod)) {
            if (o.reverse == 1) {
                if (--o.frame < 0) {
                    o.frame = o.frameCount - 1;
                }
            } else {
                o.frame = (o.frame + 1) % o.frameCount;
            }
            o.lastFrameTime = now;
            if (s == 5 && o.frame == a.StopFrame && !nonStop) {
                o.rotating = 0;
            }
        }
    }
}

void UpdateMotion(uint32_t now) {
    UpdateMotion(g_Animation, now);
}

void AdvanceTimeline(AnimationState& a) {
    const int32_t s = a.SceneState;

    if (s >= 0 && s <= 6) {
        if (s == 0 && (*a.host.settings)[Kasoku] != 0) {
            a.SpeedBoost += a.SpeedBoostFalling == 1 ? -kSpeedBoostStep : kSpeedBoostStep;
            if (a.SpeedBoost >= kSpeedBoostPeak || a.SpeedBoost <= 0) {
                a.SpeedBoostFalling ^= 1;
            }
        }
        if (++a.SceneTicks != SceneDurations[s]) {
            return;
        }
        a.SceneTicks = 0;
        if (s < 6) {
            a.SceneState = s + 1;
            return;
        }
        // End of a page cycle: five cycles of the current month, then one
        // cycle for each of the next five months, which start straight with
        // gathering.
        LayoutMonthPage(a, 0);
        ++a.PageCycles;
        if (a.PageCycles < kCurrentMonthCycles) {
            a.SceneState = 0;
        } else if (a.PageCycles == kAllCycles) {
            LayoutMonthPage(a, 0);
            a.SceneState = 0;
            a.PageCycles = 0;
        } else {
            a.SceneState = 1;
            LayoutMonthPage(a, a.PageCycles - 4);
        }
        return;
    }

    switch (s) {
        case kBigBangFirst:
        case kBigBangFirst + 1:
        case kBlackHoleFirst:
            a.SceneState = s + 1;
            break;
        case kBigBangLast:
            LayoutMonthPage(a, 0);
            a.SceneState = 0;
            break;
        case kBlackHoleFirst + 1:
            a.SceneState = kBlackHoleEnded;
            if (a.host.endShow) {
                a.host.endShow();
            }
            break;
        default:
            break;
    }
}

void AdvanceTimeline() {
    AdvanceTimeline(g_Animation);
}

void StartBlackHole(AnimationState& a) {
    const Settings& s = *a.host.settings;
    RandomSource& r = *a.host.random;
    const int32_t hx = r.Draw(ScreenWidth(s));
    const int32_t hy = r.Draw(ScreenHeight(s));
    for (DigitObject& o : a.ObjectPool) {
        if (o.inPlay == 1) {
            o.targetX = hx;
            o.targetY = hy;
        }
    }
    a.SceneState = kBlackHoleFirst;
}

void StartBlackHole() {
    StartBlackHole(g_Animation);
}
