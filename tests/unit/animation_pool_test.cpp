#include <gtest/gtest.h>

#include "animation/digit_pool.h"
#include "animation_test_support.h"

TEST(RandomSource, KnownSeedReproducesDraws) {
    RandomSource r;
    r.Seed(1);
    for (int expected : {41, 18467, 6334, 26500, 19169}) {
        EXPECT_EQ(r.Next(), expected);
    }
    r.Seed(0);
    EXPECT_EQ(r.Next(), 38);
    r.Seed(1);
    EXPECT_EQ(r.Draw(200), 41);
    EXPECT_EQ(r.Draw(100), 67);
    EXPECT_EQ(r.Draw(0), 0);   // consumed 6334
    EXPECT_EQ(r.Draw(-4), 0);  // consumed 26500
    EXPECT_EQ(r.Next(), 19169);
}

TEST(SeedPool, DrawsInOrderAndFillsEveryRecord) {
    for (int bigBang : {0, 1}) {
        TestAnimation t(777);
        t.Set(BigBang, bigBang);
        RandomSource expect = t.random;
        const int burstX = bigBang ? expect.Draw(640) : -1;
        const int burstY = bigBang ? expect.Draw(480) : -1;
        SeedPool(t.a, 5000);
        for (int k = 0; k < kObjectPoolSize; ++k) {  // Gyakuten on by default: nine draws each
            const DigitObject& o = t[k];
            const int x = expect.Draw(640);
            const int y = expect.Draw(480);
            if (!bigBang) {
                EXPECT_EQ(o.x, x);
                EXPECT_EQ(o.y, y);
            }
            EXPECT_EQ(o.framePeriod, expect.Draw(41) + 10);
            EXPECT_DOUBLE_EQ(o.speedX, (expect.Draw(301) + 10) * 0.001);
            EXPECT_DOUBLE_EQ(o.speedY, (expect.Draw(301) + 10) * 0.001);
            EXPECT_EQ(o.dirX, expect.Draw(100) < 50);
            EXPECT_EQ(o.dirY, expect.Draw(100) < 50);
            EXPECT_EQ(o.frame, expect.Draw(17));
            EXPECT_EQ(o.reverse, expect.Draw(100) < 50);
        }
        int inPlay = 0;
        for (int k = 0; k < kObjectPoolSize; ++k) {
            const DigitObject& o = t[k];
            SCOPED_TRACE(k);
            EXPECT_EQ(o.digit, k % 10);
            EXPECT_TRUE(o.framePeriod >= 10 && o.framePeriod <= 50);
            EXPECT_TRUE(o.frame >= 0 && o.frame < 17);
            for (double speed : {o.speedX, o.speedY}) {
                EXPECT_TRUE(speed >= 0.01 - 1e-12 && speed <= 0.31 + 1e-12) << speed;
            }
            EXPECT_EQ(o.frameCount, 17);
            EXPECT_EQ(o.sheetColumns, 9);
            EXPECT_EQ(o.rotating, 1);
            EXPECT_EQ(o.lastMoveTime, 5000u);
            EXPECT_EQ(o.lastFrameTime, 5000u);
            EXPECT_EQ(o.inPlay, o.hasTarget);  // players all have a destination
            if (k < 20) {
                EXPECT_EQ(o.inPlay, 1);
            }
            if (o.inPlay && bigBang) {
                EXPECT_EQ(o.x, burstX);
                EXPECT_EQ(o.y, burstY);
                EXPECT_TRUE(o.targetX >= 0 && o.targetX < 640 && o.targetY >= 0 && o.targetY < 480);
            }
            inPlay += o.inPlay;
        }
        EXPECT_GT(inPlay, 20);
        EXPECT_EQ(t.a.SceneState, bigBang ? 11 : 0);
    }
}

TEST(SeedPool, SettingsShapeTheRecords) {
    struct Case {
        int width, selfRotation, moving, gyakuten, cellW, cellH, sheetY9;
    };
    for (const Case& c : {Case{320, 0, 0, 0, 25, 22, 396}, Case{800, 0, 0, 1, 50, 45, 810},
                          Case{640, 200, 500, 1, 50, 45, 810}}) {
        TestAnimation t;
        t.Set(xScreenSize, c.width);
        t.Set(SelfRotation, c.selfRotation);
        t.Set(Moving, c.moving);
        t.Set(Gyakuten, c.gyakuten);
        SeedPool(t.a, 0);
        int reversed = 0;
        int longPeriods = 0;
        int fastSpeeds = 0;
        for (const DigitObject& o : t.a.ObjectPool) {
            EXPECT_EQ(o.cellWidth, c.cellW);
            EXPECT_EQ(o.cellHeight, c.cellH);
            EXPECT_EQ(o.sheetY, o.digit * c.sheetY9 / 9);
            if (c.selfRotation == 0) {
                EXPECT_EQ(o.framePeriod, 10);
                EXPECT_DOUBLE_EQ(o.speedX, 0.010);
                EXPECT_DOUBLE_EQ(o.speedY, 0.010);
            }
            reversed += o.reverse;
            longPeriods += o.framePeriod > 60;
            fastSpeeds += o.speedX > 0.32;
        }
        if (c.gyakuten) {
            EXPECT_TRUE(reversed > 60 && reversed < 140) << reversed;
        } else {
            EXPECT_EQ(reversed, 0);
        }
        EXPECT_EQ(longPeriods > 0, c.selfRotation == 200);
        EXPECT_EQ(fastSpeeds > 0, c.moving == 500);
    }
}

TEST(AssignDigit, PrefersPlayersScansFromAfterStartAndSkipsTakenObjects) {
    for (uint32_t seed = 1; seed <= 20; ++seed) {
        TestAnimation t(seed);
        for (int k = 0; k < kObjectPoolSize; ++k) {
            t[k].digit = k % 10;
        }
        t[195].inPlay = 1;
        ASSERT_EQ(AssignDigit(t.a, 5, 11, 22), 1);
        EXPECT_EQ(t[195].hasTarget, 1);
        EXPECT_EQ(t[195].targetX * 100 + t[195].targetY, 1122);
        ASSERT_EQ(AssignDigit(t.a, 5, 33, 44), 1);  // now an idle one joins
        int joined = 0;
        for (int k = 5; k < 195; k += 10) {
            joined += t[k].inPlay;
            EXPECT_EQ(t[k].inPlay, t[k].hasTarget);
        }
        EXPECT_EQ(joined, 1);
        while (AssignDigit(t.a, 5, 0, 0)) {
        }
        for (int k = 5; k < kObjectPoolSize; k += 10) {
            EXPECT_EQ(t[k].hasTarget, 1);
        }
        EXPECT_EQ(t[195].targetX * 100 + t[195].targetY, 1122);  // never taken twice
    }
    // The drawn start index itself is visited last.
    TestAnimation t;
    const int start = RandomSource(t.random).Draw(200);
    t[start].digit = 7;
    t[(start + 199) % 200].digit = 7;
    ASSERT_EQ(AssignDigit(t.a, 7, 1, 1), 1);
    EXPECT_EQ(t[(start + 199) % 200].hasTarget, 1);
    EXPECT_EQ(t[start].hasTarget, 0);
}

TEST(ParkSpareObjects, SendsSparePlayersToTheCornersInTurn) {
    TestAnimation t;
    t.Set(xScreenSize, 800);
    t.Set(yScreenSize, 600);
    for (int k : {3, 7, 10, 20, 50, 199}) {
        t[k].inPlay = 1;
    }
    t[7].hasTarget = 1;
    t[7].targetX = 5;
    ParkSpareObjects(t.a);
    const int expected[5][3] = {
        {3, -50, -45}, {10, 800, -45}, {20, 800, 600}, {50, -50, 600}, {199, -50, -45}};
    for (const auto& e : expected) {
        EXPECT_EQ(t[e[0]].hasTarget, 1);
        EXPECT_EQ(t[e[0]].targetX, e[1]) << e[0];
        EXPECT_EQ(t[e[0]].targetY, e[2]) << e[0];
    }
    EXPECT_EQ(t[7].targetX, 5);
    EXPECT_EQ(t[100].hasTarget, 0);
}
