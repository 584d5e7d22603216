// The animation as the user sees it: pages laid out for known dates, and whole
// simulated shows checked frame by frame against rules that always hold, and
// at a few points against the exact state that a known seed replays to.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "animation/digit_pool.h"
#include "animation/month_layout.h"
#include "animation/scene_timeline.h"

namespace {

struct Show {
    Settings s;
    RandomSource r;
    AnimationState a;
    LocalDate date{2026, 12, 7};
    int ended = 0;
    uint32_t now = 1000;

    explicit Show(const std::vector<std::pair<int, int>>& set = {}) {
        s.Set(BigBang, 0);
        for (const auto& [index, value] : set) s.Set(index, value);
        r.Seed(7);
        a.host = {&s, &r, [this] { return date; }, [this] { ++ended; }};
    }
    int W() const { return s[xScreenSize]; }
    int H() const { return s[yScreenSize]; }
    // The digit of the one object in play headed for (x, y), else -1.
    int DigitFor(int x, int y) const {
        int found = -1, count = 0;
        for (const DigitObject& o : a.ObjectPool)
            if (o.inPlay && o.hasTarget && o.targetX == x && o.targetY == y)
                found = o.digit, ++count;
        return count == 1 ? found : -1;
    }
    bool Parked(const DigitObject& o) const {
        return o.targetX == -50 || o.targetX == W() || o.targetY == -45 || o.targetY == H();
    }
    uint64_t Fingerprint() const {
        uint64_t h = 1469598103934665603u;
        auto mix = [&h](int64_t v) { h = (h ^ static_cast<uint64_t>(v)) * 1099511628211u; };
        // clang-format off
        for (const DigitObject& o : a.ObjectPool)
            for (int64_t v : {o.inPlay, o.digit, o.x, o.y, int32_t(o.speedX * 1000 + .5),
                              int32_t(o.speedY * 1000 + .5), o.dirX, o.dirY, o.hasTarget, o.targetX,
                              o.targetY, o.rotating, o.framePeriod, o.frame, o.frameCount,
                              o.cellWidth, o.cellHeight, o.sheetColumns, o.sheetY, o.reverse})
                mix(v);
        // clang-format on
        mix(a.SceneState);
        mix(a.StopFrame);
        return h;
    }
};

}  // namespace

TEST(Layout, PutsEveryDigitOfThePageInItsPlace) {
    struct Place {
        int x, y, digit;  // digit -1: nothing goes there
    };
    struct Case {
        int w, h;
        LocalDate date;
        int offset;
        std::vector<Place> places;
    } cases[] = {
        // clang-format off
        // December 2026 begins on a Tuesday; day 31 lies in column 4 of row 4.
        {640, 480, {2026, 12, 7}, 0, {{120, 30, 2}, {145, 30, 0}, {170, 30, 2}, {195, 30, 6},
            {265, 30, 2}, {240, 30, 1}, {210, 100, 1}, {185, 100, -1}, {370, 340, 1},
            {345, 340, 3}, {450, 340, -1}}},
        {320, 240, {2026, 12, 7}, 0, {{60, 15, 2}, {72, 15, 0}, {84, 15, 2}, {96, 15, 6},
            {130, 15, 2}, {118, 15, 1}, {105, 50, 1}, {185, 170, 1}, {173, 170, 3}}},
        {800, 600, {2026, 12, 7}, 0, {{200, 90, 2}, {345, 90, 2}, {290, 160, 1}}},
        // Previews: into the next year, one- and two-digit months.
        {640, 480, {2026, 12, 7}, 1, {{195, 30, 7}, {265, 30, 1}, {240, 30, -1}, {450, 100, 1}}},
        {640, 480, {2026, 11, 30}, 5, {{195, 30, 7}, {265, 30, 4}, {240, 30, -1}}},
        {640, 480, {2001, 5, 1}, 5, {{120, 30, 2}, {145, 30, 0}, {265, 30, 0}, {240, 30, 1}}},
        // The year after a leap year.
        {640, 480, {2029, 1, 1}, 0, {{130, 100, 1}, {50, 100, -1}}},
        // The year is read as two digits: 96 to 99 are 1996 to 1999.
        {640, 480, {1996, 6, 1}, 0, {{120, 30, 1}, {145, 30, 9}, {170, 30, 9}, {195, 30, 6}}},
        // clang-format on
    };
    for (const Case& c : cases) {
        Show t({{xScreenSize, c.w}, {yScreenSize, c.h}});
        t.date = c.date;
        SeedPool(t.a, t.now);
        LayoutMonthPage(t.a, c.offset);
        for (const Place& p : c.places)
            EXPECT_EQ(t.DigitFor(p.x, p.y), p.digit)
                << c.w << "x" << c.h << " " << c.date.year << "-" << c.date.month << "+" << c.offset
                << " at " << p.x << "," << p.y;
    }
}

// Every month of a common and of a leap year begins in the column of its
// first day's weekday and ends on its last day.
TEST(Layout, EveryMonthHasItsWeekdaysAndDays) {
    const struct {
        int year, first[12], days[12];
    } years[] = {{2027,
                  {5, 1, 1, 4, 6, 2, 4, 0, 3, 5, 1, 3},
                  {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31}},
                 {2028,
                  {6, 2, 3, 6, 1, 4, 6, 2, 5, 0, 3, 5},
                  {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31}}};
    for (const auto& y : years)
        for (int m = 1; m <= 12; ++m) {
            Show t;
            t.date = {y.year, m, 1};
            SeedPool(t.a, t.now);
            auto units = [&](int day) {
                const int slot = y.first[m - 1] + day - 1;
                return t.DigitFor(50 + 80 * (slot % 7), 100 + 60 * (slot / 7));
            };
            const int last = y.days[m - 1];
            EXPECT_TRUE(units(1) == 1 && units(last) == last % 10 && units(last + 1) == -1)
                << y.year << "-" << m;
        }
}

// Whole shows: eleven page cycles at about 60 frames a second and the default
// 500 ms tick, the date turning to January after the first cycle, then the
// black hole.
TEST(Show, FollowsItsTimelineFrameByFrame) {
    struct Case {
        const char* name;
        std::vector<std::pair<int, int>> set;
        uint64_t fingerprints[3];  // after seeding, at the first held page, at the end
    } cases[] = {
        {"defaults",
         {{BigBang, 1}},
         {0x8e25d501c7c71464u, 0xd387d704dad4a730u, 0x6e76639eb424efd7u}},
        {"wrap, stop, speed-up, slowest",
         {{Hanekaeri, 0}, {NonStop, 0}, {Kasoku, 1}, {Gyakuten, 0}, {SelfRotation, 0}, {Moving, 0}},
         {0x03e8040e68c7e010u, 0x7e2099fa09666b4du, 0x9dd4f0e5192f201bu}},
        {"320 wide",
         {{xScreenSize, 320}, {yScreenSize, 240}, {NonStop, 0}},
         {0x7592ae297f29a894u, 0xf38a456b5ab9f3e0u, 0xa66ab72bf00bcc14u}},
        {"1024 wide",
         {{xScreenSize, 1024}, {yScreenSize, 768}, {Hanekaeri, 0}},
         {0x4da7358c450a6bfcu, 0xdfd763d921632a01u, 0x13d925aab93320deu}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Show t(c.set);
        const int w = t.W(), h = t.H();
        const bool small = w == 320, bounce = t.s[Hanekaeri], nonStop = t.s[NonStop];
        const int monthX = small ? 130 : 265 + (w > 640 ? (w - 640) / 2 : 0);
        const int monthY = small ? 15 : 30 + (w > 640 ? (h - 480) / 2 : 0);
        SeedPool(t.a, t.now);
        std::vector<uint64_t> prints = {t.Fingerprint()};
        std::vector<int> months, boosts;  // at each held page
        auto was = t.a.ObjectPool;
        for (int tick = 1; months.size() < 15; ++tick) {
            for (uint32_t end = t.now + 500; t.now < end;) {
                t.now += 17;
                const int s = t.a.SceneState;
                UpdateMotion(t.a, t.now);
                for (int k = 0; k < kObjectPoolSize; ++k) {
                    const DigitObject &o = t.a.ObjectPool[k], &p = was[k];
                    if (!o.inPlay) continue;
                    auto at = [&] {
                        return testing::Message()
                               << "object " << k << ", state " << s << ", tick " << tick;
                    };
                    ASSERT_TRUE(o.x >= -o.cellWidth && o.x < w && o.y >= -o.cellHeight && o.y < h)
                        << at();
                    const int step = (o.frame - p.frame + 17) % 17;
                    ASSERT_TRUE(step == 0 || step == (o.reverse ? 16 : 1)) << at() << step;
                    if (s == 0 && bounce) {
                        ASSERT_TRUE(o.x >= 0 && o.x <= w - o.cellWidth && o.y >= 0 &&
                                    o.y <= h - o.cellHeight)
                            << at();
                    }
                    // Free drift moves smoothly, also on the first frame after a
                    // scatter or the big bang; only a wrap or the bounce's clamp
                    // of a place off the screen jumps.
                    const int fromX = bounce ? std::clamp(p.x, 0, w - o.cellWidth) : p.x;
                    const int fromY = bounce ? std::clamp(p.y, 0, h - o.cellHeight) : p.y;
                    const int mx = std::abs(o.x - fromX), my = std::abs(o.y - fromY);
                    if (s == 0 && p.inPlay && mx < w / 2 && my < h / 2) {
                        ASSERT_LE(std::max(mx, my),
                                  (t.a.SpeedBoost + std::max(o.speedX, o.speedY)) * 17 + 2)
                            << at() << " from " << p.x << "," << p.y << " to " << o.x << "," << o.y;
                    }
                    if (s % 10 >= 1 && s % 10 <= 4 && o.hasTarget &&
                        !t.Parked(o)) {  // 1/8, 1/4, 1/2, the rest
                        ASSERT_TRUE(o.x == p.x + (o.targetX - p.x) / (16 >> s % 10) &&
                                    o.y == p.y + (o.targetY - p.y) / (16 >> s % 10))
                            << at();
                    }
                    if (s == 5 || s == 6) {  // the page holds; spares wait hidden
                        const bool hidden = o.x == -50 && o.y == -45;
                        const bool placed = o.x == o.targetX && o.y == o.targetY;
                        ASSERT_TRUE(t.Parked(o) ? small || hidden : placed) << at();
                    }
                }
                was = t.a.ObjectPool;
            }
            const int s = t.a.SceneState;
            if (s == 5 && t.a.SceneTicks == 6) {  // the held page's last tick
                months.push_back(t.DigitFor(monthX, monthY));
                boosts.push_back(int(std::lround(t.a.SpeedBoost * 100)));
                ASSERT_TRUE(t.a.StopFrame >= 0 && t.a.StopFrame <= 2);
                for (const DigitObject& o : t.a.ObjectPool) {
                    const bool stopped = o.rotating == 0 && o.frame == t.a.StopFrame;
                    ASSERT_TRUE(!o.inPlay || (nonStop ? o.rotating == 1 : stopped));
                }
                if (months.size() == 1) {
                    prints.push_back(t.Fingerprint());
                    t.date = {2027, 1, 1};
                }
                if (months.size() == 15) break;  // the black hole starts on the held page
            }
            AdvanceTimeline(t.a);
        }
        // Five cycles of this month, five previews, five of this month again;
        // the page follows the date from the next cycle on.
        EXPECT_EQ(months, (std::vector<int>{2, 1, 1, 1, 1, 2, 3, 4, 5, 6, 1, 1, 1, 1, 1}));
        // The speed-up adds 0.01 px/ms to the drift at each tick of free drift up to
        // 0.5, then takes it off again down to 0; the previews have no free drift.
        const std::vector<int> boost = {20, 40, 40, 20, 0, 0, 0, 0, 0, 0, 20, 40, 40, 20, 0};
        EXPECT_EQ(boosts, t.s[Kasoku] ? boost : std::vector<int>(15));
        // From its first frame the black hole draws every digit in play, turning
        // again, an eighth of the way to one point.
        StartBlackHole(t.a);
        was = t.a.ObjectPool;
        UpdateMotion(t.a, t.now += 17);
        const DigitObject& hole = t.a.ObjectPool[0];
        for (int k = 0; k < kObjectPoolSize; ++k) {
            const DigitObject &o = t.a.ObjectPool[k], &p = was[k];
            EXPECT_TRUE(!o.inPlay || (o.targetX == hole.targetX && o.targetY == hole.targetY &&
                                      o.x == p.x + (o.targetX - p.x) / 8 && o.rotating == 1))
                << k;
        }
        const int finale[][2] = {{21, 0}, {22, 0}, {23, 1}, {23, 1}};
        for (const auto& f : finale) {
            EXPECT_EQ(t.a.SceneState, f[0]);
            EXPECT_EQ(t.ended, f[1]);
            AdvanceTimeline(t.a);
        }
        prints.push_back(t.Fingerprint());
        EXPECT_EQ(prints,
                  std::vector<uint64_t>(std::begin(c.fingerprints), std::end(c.fingerprints)))
            << "the seeded show no longer replays as it did";
    }
}

// Hand-edited settings and a pause of weeks neither crash nor overflow (the
// sanitizers watch) and positions stay within the screen's wrap limits.
TEST(Show, SurvivesExtremeSettingsAndPauses) {
    const std::vector<std::pair<int, int>> cases[] = {
        {{SelfRotation, -5}, {Moving, 1 << 30}, {xScreenSize, 0}, {yScreenSize, -7}},
        {{Moving, 2000000000}, {Hanekaeri, 0}, {xScreenSize, 1 << 30}, {yScreenSize, 1 << 30}},
    };
    for (const auto& set : cases) {
        Show t(set);
        SeedPool(t.a, t.now);
        for (uint32_t pause : {17u, 3000000000u, 17u}) {
            UpdateMotion(t.a, t.now += pause);
            for (const DigitObject& o : t.a.ObjectPool)
                EXPECT_TRUE(!o.inPlay || (o.x >= -o.cellWidth && o.x < std::max(t.W(), 1)));
        }
    }
}
