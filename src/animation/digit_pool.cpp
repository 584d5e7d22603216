#include "animation/digit_pool.h"

#include "animation/month_layout.h"

namespace {

constexpr int kObjectsInPlayAtStart = 20;
constexpr int kFrameCount = 17;
constexpr int kSheetColumns = 9;

// A draw below 50 out of 100: a fair coin.
int32_t CoinFlip(RandomSource& r) {
    return r.Draw(100) < 50 ? 1 : 0;
}

}  // namespace

void SeedPool(AnimationState& a, uint32_t now) {
    const Settings& s = *a.host.settings;
    RandomSource& r = *a.host.random;
    const int32_t w = ScreenWidth(s);
    const int32_t h = ScreenHeight(s);
    const bool small = w == kSmallScreenWidth;
    const int32_t rotationBound = RotationBound(s);
    const int32_t driftBound = DriftBound(s);

    int32_t burstX = 0;
    int32_t burstY = 0;
    if (s[BigBang] != 0) {
        burstX = r.Draw(w);
        burstY = r.Draw(h);
    }

    for (int k = 0; k < kObjectPoolSize; ++k) {
        DigitObject& o = a.ObjectPool[k];
        if (k < kObjectsInPlayAtStart) {
            o.inPlay = 1;
        }
        o.x = r.Draw(w);
        o.y = r.Draw(h);
        o.framePeriod = r.Draw(rotationBound + 1) + 10;
        o.speedX = (r.Draw(driftBound + 1) + 10) * 0.001;
        o.speedY = (r.Draw(driftBound + 1) + 10) * 0.001;
        o.dirX = CoinFlip(r);
        o.dirY = CoinFlip(r);
        o.cellWidth = small ? 25 : 50;
        o.cellHeight = small ? 22 : 45;
        o.frameCount = kFrameCount;
        o.sheetColumns = kSheetColumns;
        o.frame = r.Draw(kFrameCount);
        o.lastFrameTime = now;
        o.lastMoveTime = now;
        o.digit = k % 10;
        o.sheetY = o.digit * (small ? 44 : 90);
        o.rotating = 1;
        if (s[Gyakuten] != 0) {
            o.reverse = CoinFlip(r);
        }
    }

    LayoutMonthPage(a, 0);

    if (s[BigBang] != 0) {
        for (DigitObject& o : a.ObjectPool) {
            if (o.inPlay == 1) {
                o.x = burstX;
                o.y = burstY;
                o.targetX = r.Draw(w);
                o.targetY = r.Draw(h);
            }
        }
        a.SceneState = 11;
    }
}

void SeedPool(uint32_t now) {
    SeedPool(g_Animation, now);
}

int AssignDigit(AnimationState& a, int digit, int targetX, int targetY) {
    const int start = a.host.random->Draw(kObjectPoolSize);
    // First pass: objects already in play; second pass: idle ones. Both scan
    // from the index after start round to start itself.
    for (int wantInPlay = 1; wantInPlay >= 0; --wantInPlay) {
        for (int step = 1; step <= kObjectPoolSize; ++step) {
            DigitObject& o = a.ObjectPool[(start + step) % kObjectPoolSize];
            if (o.digit == digit && o.hasTarget == 0 && o.inPlay == wantInPlay) {
                o.hasTarget = 1;
                o.targetX = targetX;
                o.targetY = targetY;
                o.inPlay = 1;
                return 1;
            }
        }
    }
    return 0;
}

void ParkSpareObjects(AnimationState& a) {
    const int32_t w = ScreenWidth(*a.host.settings);
    const int32_t h = ScreenHeight(*a.host.settings);
    // The same offsets on every screen size, so on a 320-wide screen the left
    // and top corners lie further out than the small cells need.
    const int32_t corners[4][2] = {{-50, -45}, {w, -45}, {w, h}, {-50, h}};
    int corner = 0;
    for (DigitObject& o : a.ObjectPool) {
        if (o.hasTarget == 0 && o.inPlay == 1) {
            o.hasTarget = 1;
            o.targetX = corners[corner][0];
            o.targetY = corners[corner][1];
            corner = (corner + 1) % 4;
        }
    }
}
