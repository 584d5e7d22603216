#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <vector>

#include "animation/digit_pool.h"
#include "animation/month_layout.h"
#include "animation/scene_timeline.h"
#include "animation_test_support.h"

namespace {

// Object 0 alone in play: a 50 x 45 cell, 10 ms frame period, not moving.
DigitObject& Lone(TestAnimation& t, int x, int y) {
    DigitObject& o = t[0];
    o = DigitObject{};
    o.inPlay = 1;
    o.x = x;
    o.y = y;
    o.cellWidth = 50;
    o.cellHeight = 45;
    o.frameCount = 17;
    o.framePeriod = 10;
    o.rotating = 1;
    return o;
}

}  // namespace

TEST(UpdateMotion, GatheringMovesAFractionOfTheDistanceTruncatedTowardZero) {
    for (int from : {0, 100}) {
        TestAnimation t;
        DigitObject& o = Lone(t, from, 200);
        o.hasTarget = 1;
        o.targetX = 100 - from;
        o.targetY = 200;
        const int sign = from == 0 ? 1 : -1;
        t.a.SceneState = 1;
        std::vector<int> moves;
        for (uint32_t f = 0; f < 40; ++f) {
            const int before = o.x;
            UpdateMotion(t.a, f);
            if (o.x != before) {
                moves.push_back(sign * (o.x - before));
            }
            EXPECT_TRUE(t.a.StopFrame >= 0 && t.a.StopFrame <= 2);
        }
        EXPECT_EQ(std::vector<int>(moves.begin(), moves.begin() + 10),
                  (std::vector<int>{12, 11, 9, 8, 7, 6, 5, 5, 4, 4}));
        EXPECT_EQ(moves.size(), 24u);
        const int remaining[] = {7, 3, 1, 0};  // after states 1, 2, 3 and 4
        for (int s = 1; s <= 4; ++s) {
            t.a.SceneState = s;
            for (uint32_t f = 0; f < 20; ++f) {
                UpdateMotion(t.a, f);
            }
            EXPECT_EQ(sign * (o.targetX - o.x), remaining[s - 1]) << "state " << s;
        }
        EXPECT_EQ(o.y, 200);
    }
}

TEST(UpdateMotion, EachStateMovesByItsRule) {
    const int expected[][3] = {// state, x and y moved from 100 and 200 short of the target
                               {1, 12, 25},  {2, 25, 50},  {3, 50, 100},  {4, 100, 200},
                               {11, 12, 25}, {12, 25, 50}, {13, 50, 100}, {14, 100, 200},
                               {21, 12, 25}, {22, 25, 50}, {23, 50, 100}, {24, 100, 200},
                               {5, 0, 0},    {6, 0, 0},    {7, 0, 0},     {30, 0, 0}};
    for (const auto& e : expected) {
        TestAnimation t;
        DigitObject& o = Lone(t, 100, 0);
        o.hasTarget = 1;
        o.targetX = 200;
        o.targetY = 200;
        o.rotating = 0;
        t.a.SceneState = e[0];
        UpdateMotion(t.a, 1);
        EXPECT_EQ(o.x - 100, e[1]) << "state " << e[0];
        EXPECT_EQ(o.y, e[2]) << "state " << e[0];
        EXPECT_EQ(o.rotating, e[1] != 0 || e[0] == 6) << "state " << e[0];
    }
}

TEST(UpdateMotion, FreeDriftCarriesSubPixelsAcrossFramesAndTickWrap) {
    TestAnimation t;
    t.Set(Hanekaeri, 0);
    DigitObject& o = Lone(t, 300, 200);
    o.speedX = o.speedY = 1.0 / 64;  // a quarter pixel per 16 ms frame
    o.dirX = 1;
    for (uint32_t f = 1; f <= 40; ++f) {
        UpdateMotion(t.a, 16 * f);
    }
    EXPECT_EQ(o.x, 310);
    EXPECT_EQ(o.y, 190);
    o.speedX = o.speedY = 0.25;
    t.a.SpeedBoost = 0.25;
    UpdateMotion(t.a, 16 * 40 + 10);
    EXPECT_EQ(o.x, 315);
    EXPECT_EQ(o.y, 185);
    t.a.SpeedBoost = 0;
    o.lastMoveTime = 0xFFFFFFF0u;
    UpdateMotion(t.a, 0x30);  // 64 ms across the tick count's wrap
    EXPECT_EQ(o.x, 331);
    EXPECT_EQ(o.y, 169);
}

TEST(UpdateMotion, EdgesBounceOrWrapEvenAfterALongPause) {
    struct Case {
        int bounce, x, y, dirX, dirY;
        uint32_t lastMove;
        int wantX, wantY, wantDirX, wantDirY;
    };
    const Case cases[] = {
        {1, 585, 5, 1, 0, 0, 590, 0, 0, 1},      {1, 5, 430, 0, 1, 0, 0, 435, 1, 0},
        {0, 635, -40, 1, 0, 0, -50, 479, 1, 0},  {0, -45, 470, 0, 1, 0, 639, -45, 0, 1},
        {0, 300, 200, 1, 0, 11, -50, 479, 1, 0}, {1, 300, 200, 1, 0, 11, 590, 0, 0, 1},
    };
    for (const Case& c : cases) {
        TestAnimation t;
        t.Set(Hanekaeri, c.bounce);
        DigitObject& o = Lone(t, c.x, c.y);
        o.speedX = o.speedY = 1.0;
        o.dirX = c.dirX;
        o.dirY = c.dirY;
        o.lastMoveTime = c.lastMove;
        UpdateMotion(t.a, 10);  // from lastMove 11: a pause of almost 2^32 ms
        EXPECT_EQ(o.x, c.wantX) << c.x;
        EXPECT_EQ(o.y, c.wantY) << c.y;
        EXPECT_EQ(o.dirX, c.wantDirX) << c.x;
        EXPECT_EQ(o.dirY, c.wantDirY) << c.y;
    }
    TestAnimation t;  // with bouncing, a whole pool drifts and never leaves the screen
    SeedPool(t.a, 0);
    t.a.SceneState = 0;
    for (uint32_t f = 1; f <= 300; ++f) {
        UpdateMotion(t.a, 16 * f);
        for (const DigitObject& o : t.a.ObjectPool) {
            if (o.inPlay) {
                ASSERT_TRUE(o.x >= 0 && o.x <= 590 && o.y >= 0 && o.y <= 435) << f;
            }
        }
    }
}

TEST(UpdateMotion, ParkedObjectsHideAtTopLeftOnceThePageLands) {
    TestAnimation t;
    SeedPool(t.a, 0);  // December brings in more objects than February needs
    t.date = {2026, 2, 1};
    LayoutMonthPage(t.a, 0);
    for (int s = 4; s <= 6; ++s) {
        t.a.SceneState = s;
        UpdateMotion(t.a, s);
        int parked = 0;
        for (const DigitObject& o : t.a.ObjectPool) {
            if (o.inPlay && (o.targetX == -50 || o.targetX == 640)) {
                EXPECT_EQ(o.x, -50);
                EXPECT_EQ(o.y, -45);
                ++parked;
            } else if (o.inPlay) {
                EXPECT_EQ(o.x, o.targetX);
                EXPECT_EQ(o.y, o.targetY);
            }
        }
        EXPECT_GE(parked, 4);
    }
}

TEST(UpdateMotion, RotationStepsAtMostOncePerFrameAndWraps) {
    TestAnimation t;
    DigitObject& o = Lone(t, 100, 100);
    o.frame = 16;
    const std::pair<uint32_t, int> steps[] = {{10, 16}, {11, 0}, {5000, 1}};
    for (auto [now, frame] : steps) {
        UpdateMotion(t.a, now);
        EXPECT_EQ(o.frame, frame) << now;
    }
    o.reverse = 1;
    o.frame = 0;
    o.lastFrameTime = 0xFFFFFFFAu;
    UpdateMotion(t.a, 5);  // 11 ms across the wrap
    EXPECT_EQ(o.frame, 16);
    UpdateMotion(t.a, 16);
    EXPECT_EQ(o.frame, 15);
    o.rotating = 0;
    UpdateMotion(t.a, 1000);
    EXPECT_EQ(o.frame, 15);
}

TEST(UpdateMotion, HeldPageStopsAtOneCommonFrameUnlessNonStop) {
    for (int nonStop : {0, 1}) {
        TestAnimation t;
        t.Set(SelfRotation, 0);
        t.Set(NonStop, nonStop);
        SeedPool(t.a, 0);
        t.a.SceneState = 4;
        UpdateMotion(t.a, 1);
        const int stop = t.a.StopFrame;
        t.a.SceneState = 5;
        t[0].frame = stop;  // showing the stop frame on entry: one more revolution first
        t[0].reverse = 0;
        int steps = 0;
        uint32_t now = 1;
        for (int f = 0; f < 40; ++f) {
            const int before = t[0].frame;
            UpdateMotion(t.a, now += 11);
            steps += t[0].frame != before;
        }
        EXPECT_EQ(steps, nonStop ? 40 : 17);
        EXPECT_EQ(t.a.StopFrame, stop);
        for (const DigitObject& o : t.a.ObjectPool) {
            if (o.inPlay) {
                EXPECT_EQ(o.rotating, nonStop);
                EXPECT_TRUE(nonStop || o.frame == stop);
            }
        }
        t.a.SceneState = 6;
        UpdateMotion(t.a, now + 11);
        EXPECT_EQ(t[0].rotating, 1);
    }
}

TEST(AdvanceTimeline, TenCyclesShowTheMonthThenFivePreviewsThenReturn) {
    const int durations[] = {20, 3, 2, 1, 7, 7, 2};
    TestAnimation t;
    SeedPool(t.a, 0);  // December 2026
    for (int round = 0; round < 2; ++round) {
        for (int cycle = 1; cycle <= 10; ++cycle) {
            for (int s = cycle <= 5 ? 0 : 1; s <= 6; ++s) {
                for (int k = 0; k < durations[s]; ++k) {
                    ASSERT_EQ(t.a.SceneState, s) << "cycle " << cycle;
                    ASSERT_EQ(t.a.SceneTicks, k);
                    AdvanceTimeline(t.a);
                }
            }
            const bool preview = cycle >= 5 && cycle < 10;
            EXPECT_EQ(t.a.PageCycles, cycle % 10);
            EXPECT_EQ(t.a.SceneState, preview ? 1 : 0);
            EXPECT_EQ(DigitAt(t.a, 195, 30), preview ? 7 : 6) << "cycle " << cycle;
            EXPECT_EQ(DigitAt(t.a, 265, 30), preview ? cycle - 4 : 2) << "cycle " << cycle;
            EXPECT_EQ(DigitAt(t.a, 240, 30), preview ? -1 : 1) << "cycle " << cycle;
        }
    }
}

TEST(AdvanceTimeline, BigBangOpensTheShowAndBlackHoleEndsItOnTheSecondTick) {
    for (int holeAt : {-1, 12}) {  // after the big bang, or in the middle of it
        TestAnimation t;
        t.Set(BigBang, 1);
        SeedPool(t.a, 0);
        for (int s = 11; s <= 13 && s != holeAt; ++s) {
            EXPECT_EQ(t.a.SceneState, s);
            AdvanceTimeline(t.a);
        }
        if (holeAt < 0) {
            EXPECT_EQ(t.a.SceneState, 0);
            EXPECT_EQ(t.a.SceneTicks, 0);
            EXPECT_EQ(DigitAt(t.a, 265, 30), 2);  // the month page replaced the burst
            EXPECT_EQ(DigitAt(t.a, 210, 100), 1);
        }
        StartBlackHole(t.a);
        EXPECT_EQ(t.a.SceneState, 21);
        const auto destinations = Destinations(t.a);
        ASSERT_EQ(destinations.size(), 1u);
        const auto [hx, hy] = destinations.begin()->first;
        EXPECT_TRUE(hx >= 0 && hx < 640 && hy >= 0 && hy < 480);
        AdvanceTimeline(t.a);
        EXPECT_EQ(t.a.SceneState, 22);
        EXPECT_EQ(t.endShowCalls, 0);
        for (int tick = 0; tick < 4; ++tick) {
            AdvanceTimeline(t.a);
            EXPECT_EQ(t.a.SceneState, 23);
            EXPECT_EQ(t.endShowCalls, 1);
        }
    }
}

TEST(AdvanceTimeline, SpeedBoostRisesToHalfAndFallsBackInDriftTicksOnly) {
    for (int kasoku : {0, 1}) {
        TestAnimation t;
        t.Set(Kasoku, kasoku);
        SeedPool(t.a, 0);
        std::vector<double> boosts;  // after each tick of free drift
        for (int tick = 0; tick < 330; ++tick) {
            const double before = t.a.SpeedBoost;
            const bool drift = t.a.SceneState == 0;
            AdvanceTimeline(t.a);
            if (drift) {
                boosts.push_back(t.a.SpeedBoost);
            } else {
                ASSERT_EQ(t.a.SpeedBoost, before);
            }
        }
        ASSERT_GE(boosts.size(), 101u);
        if (!kasoku) {
            EXPECT_EQ(*std::max_element(boosts.begin(), boosts.end()), 0.0);
            continue;
        }
        for (int i = 0; i < 100; ++i) {
            EXPECT_NEAR(boosts[i], 0.01 * (i < 50 ? i + 1 : 99 - i), 1e-9) << i;
        }
        EXPECT_NEAR(boosts[100], 0.01, 1e-9);
    }
}

TEST(AnimationBadSettings, HandEditedValuesNeitherCrashNorOverflow) {
    const int32_t cases[][4] = {{-1, -7, 0, -3},
                                {100000, 100000, 100000, 100000},
                                {INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX},
                                {INT32_MIN, INT32_MIN, INT32_MIN, INT32_MIN}};
    for (const auto& c : cases) {
        for (int bounce : {0, 1}) {
            TestAnimation t;
            t.Set(SelfRotation, c[0]);
            t.Set(Moving, c[1]);
            t.Set(xScreenSize, c[2]);
            t.Set(yScreenSize, c[3]);
            t.Set(BigBang, 1);
            t.Set(Hanekaeri, bounce);
            t.Set(Kasoku, 1);
            SeedPool(t.a, 0);
            for (const DigitObject& o : t.a.ObjectPool) {
                EXPECT_GE(o.framePeriod, 10);
                EXPECT_GE(o.speedX, 0.01 - 1e-12);
                if (c[0] < 0) {
                    EXPECT_EQ(o.framePeriod, 10);
                    EXPECT_DOUBLE_EQ(o.speedY, 0.010);
                }
            }
            uint32_t now = 0;
            for (int tick = 0; tick < 400; ++tick) {
                UpdateMotion(t.a, now += 16);
                UpdateMotion(t.a, now += (tick == 100 ? 0xF0000000u : 16));
                AdvanceTimeline(t.a);
            }
            StartBlackHole(t.a);
            AdvanceTimeline(t.a);
            UpdateMotion(t.a, now += 16);
            AdvanceTimeline(t.a);
            EXPECT_EQ(t.endShowCalls, 1);
        }
    }
    TestAnimation t;  // a pool that was never seeded gains players without frames
    LayoutMonthPage(t.a, 0);
    UpdateMotion(t.a, 1000);
    EXPECT_EQ(t[0].frame, 0);
}
