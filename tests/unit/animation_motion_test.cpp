#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "animation/digit_pool.h"
#include "animation/month_layout.h"
#include "animation/scene_timeline.h"
#include "animation_test_support.h"

namespace {

// Object 0 alone in play: a 50 x 45 cell, a 10 ms frame period, no speed.
DigitObject& Lone(TestAnimation& t, int x, int y) {
    DigitObject& o = t[0];
    o = DigitObject{};
    o.inPlay = o.rotating = 1;
    o.x = x;
    o.y = y;
    o.cellWidth = 50;
    o.cellHeight = 45;
    o.frameCount = 17;
    o.framePeriod = 10;
    return o;
}

}  // namespace

TEST(UpdateMotion, GatheringMovesAFractionOfTheDistanceTruncatedTowardZero) {
    for (int from : {0, 100}) {  // towards the right, then towards the left
        TestAnimation t;
        DigitObject& o = Lone(t, from, 200);
        o.hasTarget = 1;
        o.targetX = 100 - from;
        o.targetY = 200;
        t.a.SceneState = 1;
        std::vector<int> moves;
        for (uint32_t f = 0; f < 40; ++f) {
            const int before = o.x;
            UpdateMotion(t.a, f);
            if (o.x != before) {
                moves.push_back(std::abs(o.x - before));
            }
        }
        moves.resize(10);
        EXPECT_EQ(moves, (std::vector<int>{12, 11, 9, 8, 7, 6, 5, 5, 4, 4}));
        const int remaining[] = {7, 3, 1, 0};  // after states 1, 2, 3 and 4
        for (int s = 1; s <= 4; ++s) {
            t.a.SceneState = s;
            for (uint32_t f = 0; f < 20; ++f) {
                UpdateMotion(t.a, f);
            }
            EXPECT_EQ(std::abs(o.targetX - o.x), remaining[s - 1]) << "state " << s;
        }
        EXPECT_EQ(o.y, 200);
    }
    const int firstStep[][2] = {{11, 12}, {12, 25},  {13, 50}, {14, 100}, {21, 12}, {22, 25},
                                {23, 50}, {24, 100}, {5, 0},   {6, 0},    {7, 0}};
    for (const auto& e : firstStep) {  // big bang, black hole and the held states
        TestAnimation t;
        DigitObject& o = Lone(t, 100, 100);
        o.hasTarget = 1;
        o.targetX = o.targetY = 200;
        o.rotating = 0;
        t.a.SceneState = e[0];
        UpdateMotion(t.a, 1);
        EXPECT_TRUE(o.x == 100 + e[1] && o.y == 100 + e[1]) << e[0];
        EXPECT_EQ(o.rotating, e[1] != 0 || e[0] == 6) << e[0];
        EXPECT_TRUE(t.a.StopFrame >= 0 && t.a.StopFrame <= 2);
    }
    TestAnimation t;  // landing on a bottom-right parking corner wraps to top-left at once
    DigitObject& o = Lone(t, 300, 300);
    o.hasTarget = 1;
    o.targetX = 640;
    o.targetY = 480;
    t.a.SceneState = 4;
    UpdateMotion(t.a, 1);
    EXPECT_TRUE(o.x == -50 && o.y == -45);
}

TEST(UpdateMotion, FreeDriftCarriesSubPixelsAndTheBoostAcrossTickWrap) {
    TestAnimation t;
    DigitObject& o = Lone(t, 300, 200);
    o.speedX = o.speedY = 1.0 / 64;  // a quarter pixel per 16 ms frame
    o.dirX = 1;
    for (uint32_t f = 1; f <= 40; ++f) {
        UpdateMotion(t.a, 16 * f);
    }
    EXPECT_TRUE(o.x == 310 && o.y == 190);
    o.speedX = o.speedY = 0.25;
    t.a.SpeedBoost = 0.25;
    o.lastMoveTime = 0xFFFFFFF0u;
    UpdateMotion(t.a, 4);  // 20 ms at half a pixel per ms, across the wrap
    EXPECT_TRUE(o.x == 320 && o.y == 180);
}

TEST(UpdateMotion, EdgesBounceOrWrapEvenAfterALongPause) {
    // bounce, x, y, dirX, dirY, lastMoveTime, then x, y, dirX, dirY expected
    const int cases[][10] = {
        {1, 585, 5, 1, 0, 0, 590, 0, 0, 1},      {1, 5, 430, 0, 1, 0, 0, 435, 1, 0},
        {0, 635, -40, 1, 0, 0, -50, 479, 1, 0},  {0, -45, 470, 0, 1, 0, 639, -45, 0, 1},
        {0, 300, 200, 1, 0, 11, -50, 479, 1, 0}, {1, 300, 200, 1, 0, 11, 590, 0, 0, 1}};
    for (const auto& c : cases) {
        TestAnimation t;
        t.Set(Hanekaeri, c[0]);
        DigitObject& o = Lone(t, c[1], c[2]);
        o.speedX = o.speedY = 1.0;
        o.dirX = c[3];
        o.dirY = c[4];
        o.lastMoveTime = c[5];
        UpdateMotion(t.a, 10);  // 10 ms, or from 11 almost 2^32 ms
        EXPECT_TRUE(o.x == c[6] && o.y == c[7] && o.dirX == c[8] && o.dirY == c[9])
            << c[1] << "," << c[2] << " -> " << o.x << "," << o.y;
    }
    TestAnimation t;  // a bouncing pool never leaves the screen
    SeedPool(t.a, 0);
    for (uint32_t f = 1; f <= 300; ++f) {
        UpdateMotion(t.a, 16 * f);
        for (const DigitObject& o : t.a.ObjectPool) {
            ASSERT_TRUE(!o.inPlay || (o.x >= 0 && o.x <= 590 && o.y >= 0 && o.y <= 435)) << f;
        }
    }
}

TEST(UpdateMotion, RotationStepsAtMostOncePerFrameAndWraps) {
    TestAnimation t;
    DigitObject& o = Lone(t, 100, 100);
    o.frame = 16;
    // tick count, reverse, rotating, expected frame
    const uint32_t steps[][4] = {{10, 0, 1, 16},         {11, 0, 1, 0},    {5000, 0, 1, 1},
                                 {5011, 1, 1, 0},        {5022, 1, 1, 16}, {5033, 1, 1, 15},
                                 {0xFFFFFFFF, 1, 0, 15}, {10, 1, 1, 14}};
    for (const auto& s : steps) {
        o.reverse = s[1];
        o.rotating = s[2];
        UpdateMotion(t.a, s[0]);
        EXPECT_EQ(o.frame, static_cast<int>(s[3])) << s[0];
    }
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
        t[0].frame = stop;  // showing the stop frame already: one more revolution
        int steps = 0;
        for (uint32_t now = 12; now < 12 + 40 * 11; now += 11) {
            const int before = t[0].frame;
            UpdateMotion(t.a, now);
            steps += t[0].frame != before;
        }
        EXPECT_EQ(steps, nonStop ? 40 : 17);
        for (const DigitObject& o : t.a.ObjectPool) {
            EXPECT_TRUE(!o.inPlay || (o.rotating == nonStop && (nonStop || o.frame == stop)));
        }
        t.a.SceneState = 6;
        UpdateMotion(t.a, 1000);
        EXPECT_EQ(t[0].rotating, 1);
    }
}

TEST(AdvanceTimeline, TenCyclesShowTheMonthThenFivePreviewsThenReturn) {
    const int durations[] = {20, 3, 2, 1, 7, 7, 2};
    TestAnimation t;
    SeedPool(t.a, 0);  // December 2026
    for (int cycle = 1; cycle <= 20; ++cycle) {
        const int inRound = (cycle - 1) % 10 + 1;
        for (int s = inRound <= 5 ? 0 : 1; s <= 6; ++s) {
            for (int k = 0; k < durations[s]; ++k) {
                ASSERT_TRUE(t.a.SceneState == s && t.a.SceneTicks == k) << cycle;
                AdvanceTimeline(t.a);
            }
        }
        const bool preview = inRound >= 5 && inRound < 10;
        EXPECT_EQ(t.a.PageCycles, inRound % 10);
        EXPECT_EQ(t.a.SceneState, preview ? 1 : 0);
        EXPECT_EQ(DigitAt(t.a, 195, 30), preview ? 7 : 6) << cycle;
        EXPECT_EQ(DigitAt(t.a, 265, 30), preview ? inRound - 4 : 2) << cycle;
    }
}

TEST(AdvanceTimeline, BigBangOpensTheShowAndBlackHoleEndsItOnTheSecondTick) {
    for (int holeAt : {14, 12}) {  // after the big bang, or in the middle of it
        TestAnimation t;
        t.Set(BigBang, 1);
        SeedPool(t.a, 0);
        for (int s = 11; s < holeAt && s <= 13; ++s) {
            EXPECT_EQ(t.a.SceneState, s);
            AdvanceTimeline(t.a);
        }
        if (holeAt == 14) {
            EXPECT_TRUE(t.a.SceneState == 0 && t.a.SceneTicks == 0);
            EXPECT_EQ(DigitAt(t.a, 210, 100), 1);  // the month page replaced the burst
        }
        StartBlackHole(t.a);
        EXPECT_EQ(t.a.SceneState, 21);
        const auto destinations = Destinations(t.a);
        ASSERT_EQ(destinations.size(), 1u);
        const auto [hx, hy] = destinations.begin()->first;
        EXPECT_TRUE(hx >= 0 && hx < 640 && hy >= 0 && hy < 480);
        const int states[] = {22, 23, 23, 23};
        const int ended[] = {0, 1, 1, 1};
        for (int i = 0; i < 4; ++i) {
            AdvanceTimeline(t.a);
            EXPECT_TRUE(t.a.SceneState == states[i] && t.endShowCalls == ended[i]) << i;
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
            ASSERT_TRUE(drift || t.a.SpeedBoost == before) << tick;
            if (drift) {
                boosts.push_back(t.a.SpeedBoost);
            }
        }
        ASSERT_GE(boosts.size(), 101u);
        for (int i = 0; i <= 100; ++i) {
            const double expected = kasoku ? 0.01 * (i < 50 ? i + 1 : i < 100 ? 99 - i : 1) : 0;
            EXPECT_NEAR(boosts[i], expected, 1e-9) << i;
        }
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
            const int indices[] = {SelfRotation, Moving, xScreenSize, yScreenSize};
            for (int i = 0; i < 4; ++i) {
                t.Set(indices[i], c[i]);
            }
            t.Set(BigBang, 1);
            t.Set(Hanekaeri, bounce);
            t.Set(Kasoku, 1);
            SeedPool(t.a, 0);
            for (const DigitObject& o : t.a.ObjectPool) {
                EXPECT_TRUE(c[0] > 0 || (o.framePeriod == 10 && o.speedY == 0.010));
            }
            uint32_t now = 0;
            for (int tick = 0; tick < 400; ++tick) {
                UpdateMotion(t.a, now += 16);
                UpdateMotion(t.a, now += (tick == 100 ? 0xF0000000u : 16));  // a long pause
                AdvanceTimeline(t.a);
            }
            StartBlackHole(t.a);
            AdvanceTimeline(t.a);
            UpdateMotion(t.a, now += 16);
            AdvanceTimeline(t.a);
            EXPECT_EQ(t.endShowCalls, 1);
        }
    }
    TestAnimation t;  // a pool never seeded: objects join play without frames
    LayoutMonthPage(t.a, 0);
    UpdateMotion(t.a, 1000);
    EXPECT_EQ(t[0].frame, 0);
}
