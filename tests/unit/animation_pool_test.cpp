#include <gtest/gtest.h>

#include "animation/digit_pool.h"
#include "animation_test_support.h"

TEST(RandomSource, KnownSeedReproducesDraws) {
    RandomSource r;
    r.Seed(1);
    for (int expected : {41, 18467, 6334}) {
        EXPECT_EQ(r.Next(), expected);
    }
    r.Seed(0);
    EXPECT_EQ(r.Next(), 38);
    r.Seed(1);
    EXPECT_EQ(r.Draw(100), 41);
    EXPECT_EQ(r.Draw(0), 0);   // still consumes 18467
    EXPECT_EQ(r.Draw(-4), 0);  // and 6334
    EXPECT_EQ(r.Draw(1000), 500);
}

TEST(SeedPool, DrawsInOrderAndGivesEveryPlayerADestination) {
    for (int bigBang : {0, 1}) {  // the big-bang run on a 320-wide screen
        TestAnimation t(777);
        const int w = bigBang ? 320 : 640;
        t.Set(BigBang, bigBang);
        t.Set(xScreenSize, w);
        RandomSource e = t.random;  // replays the expected draws
        const int burstX = bigBang ? e.Draw(w) : 0, burstY = bigBang ? e.Draw(480) : 0;
        SeedPool(t.a, 5000);
        int inPlay = 0;
        for (int k = 0; k < kObjectPoolSize; ++k) {
            const DigitObject& o = t[k];
            SCOPED_TRACE(k);
            const int x = e.Draw(w), y = e.Draw(480);
            EXPECT_EQ(o.x, o.inPlay && bigBang ? burstX : x);
            EXPECT_EQ(o.y, o.inPlay && bigBang ? burstY : y);
            EXPECT_EQ(o.framePeriod, e.Draw(41) + 10);
            EXPECT_DOUBLE_EQ(o.speedX, (e.Draw(301) + 10) * 0.001);
            EXPECT_DOUBLE_EQ(o.speedY, (e.Draw(301) + 10) * 0.001);
            EXPECT_EQ(o.dirX, e.Draw(100) < 50);
            EXPECT_EQ(o.dirY, e.Draw(100) < 50);
            EXPECT_EQ(o.frame, e.Draw(17));
            EXPECT_EQ(o.reverse, e.Draw(100) < 50);  // Gyakuten is on by default
            EXPECT_EQ(o.digit, k % 10);
            EXPECT_EQ(o.sheetY, o.digit * (bigBang ? 44 : 90));
            EXPECT_EQ(o.cellWidth * 100 + o.cellHeight, bigBang ? 2522 : 5045);
            EXPECT_TRUE(o.frameCount == 17 && o.sheetColumns == 9 && o.rotating == 1);
            EXPECT_TRUE(o.lastFrameTime == 5000 && o.lastMoveTime == 5000);
            EXPECT_TRUE(k >= 20 || o.inPlay == 1);
            EXPECT_EQ(o.hasTarget, o.inPlay);
            if (o.inPlay && bigBang) {
                EXPECT_TRUE(o.targetX >= 0 && o.targetX < w && o.targetY >= 0 && o.targetY < 480);
            }
            inPlay += o.inPlay;
        }
        EXPECT_GT(inPlay, 20);
        EXPECT_EQ(t.a.SceneState, bigBang ? 11 : 0);
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
        EXPECT_TRUE(t[195].hasTarget == 1 && t[195].targetX == 11 && t[195].targetY == 22);
        int assigned = 1;
        while (AssignDigit(t.a, 5, 0, 0)) {
            ++assigned;
        }
        EXPECT_EQ(assigned, 20);
        for (int k = 5; k < kObjectPoolSize; k += 10) {
            EXPECT_TRUE(t[k].inPlay == 1 && t[k].hasTarget == 1);
        }
        EXPECT_EQ(t[195].targetX, 11);  // never taken twice
    }
    TestAnimation t;
    const int start = RandomSource(t.random).Draw(200);
    t[start].digit = t[(start + 199) % 200].digit = 7;
    ASSERT_EQ(AssignDigit(t.a, 7, 1, 1), 1);
    EXPECT_EQ(t[(start + 199) % 200].hasTarget, 1);  // the drawn index itself comes last
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
    ParkSpareObjects(t.a);
    const int expected[5][3] = {
        {3, -50, -45}, {10, 800, -45}, {20, 800, 600}, {50, -50, 600}, {199, -50, -45}};
    for (const auto& e : expected) {
        EXPECT_TRUE(t[e[0]].hasTarget && t[e[0]].targetX == e[1] && t[e[0]].targetY == e[2])
            << e[0];
    }
    EXPECT_EQ(t[7].targetX, 0);
    EXPECT_EQ(t[100].hasTarget, 0);
}
