#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

#include "animation/digit_pool.h"
#include "animation/month_layout.h"
#include "animation_test_support.h"

namespace {

// Sakamoto's weekday rule (Gregorian calendar), 0 = Sunday.
int ReferenceWeekday(int y, int m, int d) {
    static const int t[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    if (m < 3) {
        y -= 1;
    }
    return (y + y / 4 - y / 100 + y / 400 + t[m - 1] + d) % 7;
}

// Seeds a pool on a w x h screen on the given date and lays out monthOffset.
void LayOut(TestAnimation& t, LocalDate date, int w, int h, int monthOffset = 0) {
    t.date = date;
    t.Set(xScreenSize, w);
    t.Set(yScreenSize, h);
    SeedPool(t.a, 0);
    if (monthOffset != 0) {
        LayoutMonthPage(t.a, monthOffset);
    }
}

// Objects headed for a place on the page rather than a parking corner.
int PageDigits(const AnimationState& a, int w, int h) {
    int n = 0;
    for (const auto& [place, digits] : Destinations(a)) {
        const bool corner =
            (place.first == -50 || place.first == w) && (place.second == -45 || place.second == h);
        n += corner ? 0 : static_cast<int>(digits.size());
    }
    return n;
}

}  // namespace

TEST(WeekdayOfFirst, MatchesTheCalendarAndRejectsOtherYears) {
    for (int year = 1901; year <= 2099; ++year) {
        for (int month = 1; month <= 12; ++month) {
            ASSERT_EQ(WeekdayOfFirst(year, month), ReferenceWeekday(year, month, 1))
                << year << "-" << month;
        }
    }
    EXPECT_EQ(WeekdayOfFirst(1901, 1), 2);
    EXPECT_EQ(WeekdayOfFirst(2000, 1), 6);
    const int outside[][2] = {{1900, 5}, {2100, 1}, {2026, 0}, {2026, 13}};
    for (const auto& ym : outside) {
        EXPECT_EQ(WeekdayOfFirst(ym[0], ym[1]), -1);
    }
    EXPECT_EQ(DaysInMonthOfYear(2024, 2), 29);
    EXPECT_EQ(DaysInMonthOfYear(2026, 2), 28);
    EXPECT_EQ(DaysInMonthOfYear(2026, 13), 0);
}

TEST(LayoutMonthPage, December2026OnTheStandardScreen) {
    TestAnimation t;
    LayOut(t, {2026, 12, 31}, 640, 480);
    const int expected[][3] = {{2, 120, 30},  {0, 145, 30},  {2, 170, 30},  {6, 195, 30},
                               {2, 265, 30},  {1, 240, 30},  {1, 210, 100}, {1, 370, 340},
                               {3, 345, 340}, {9, 290, 160}, {0, 370, 160}, {1, 345, 160}};
    for (const auto& e : expected) {
        EXPECT_EQ(DigitAt(t.a, e[1], e[2]), e[0]) << e[1] << "," << e[2];
    }
    EXPECT_EQ(PageDigits(t.a, 640, 480), 4 + 2 + 9 + 22 * 2);
    for (const DigitObject& o : t.a.ObjectPool) {
        EXPECT_EQ(o.hasTarget, o.inPlay);
    }
}

TEST(LayoutMonthPage, RowsFollowTheMonthLength) {
    struct Case {
        LocalDate date;
        int pageDigits;
        std::vector<std::array<int, 3>> places;  // digit, x, y
        int lowestRowY;
    };
    const Case cases[] = {
        // October 2022 begins on a Saturday: six rows.
        {{2022, 10, 3},
         4 + 2 + 9 + 44,
         {{1, 530, 100}, {0, 50, 400}, {3, 25, 400}, {1, 130, 400}},
         400},
        // February 2024: 29 days.
        {{2024, 2, 1}, 4 + 1 + 9 + 40, {{9, 370, 340}, {2, 345, 340}}, 340},
        // February 2026: 28 days from a Sunday, exactly four rows.
        {{2026, 2, 9}, 4 + 1 + 9 + 38, {{1, 50, 100}, {8, 530, 280}, {2, 505, 280}}, 280},
    };
    for (const Case& c : cases) {
        TestAnimation t;
        LayOut(t, c.date, 640, 480);
        SCOPED_TRACE(c.date.year * 100 + c.date.month);
        EXPECT_EQ(PageDigits(t.a, 640, 480), c.pageDigits);
        for (const auto& p : c.places) {
            EXPECT_EQ(DigitAt(t.a, p[1], p[2]), p[0]) << p[1] << "," << p[2];
        }
        int lowest = 0;
        for (const auto& [place, digits] : Destinations(t.a)) {
            if (place.second < 480) {
                lowest = std::max(lowest, place.second);
            }
        }
        EXPECT_EQ(lowest, c.lowestRowY);
    }
}

TEST(LayoutMonthPage, MonthOffsetsAndTwoDigitYears) {
    struct Case {
        LocalDate date;
        int offset;
        int yearDigits[4];
        int monthUnits, monthTens;  // -1: no tens digit
    };
    const Case cases[] = {
        {{2026, 11, 30}, 5, {2, 0, 2, 7}, 4, -1},  // April of the next year
        {{2026, 12, 1}, 1, {2, 0, 2, 7}, 1, -1},   // January of the next year
        {{2095, 6, 1}, 0, {2, 0, 9, 5}, 6, -1},   {{2096, 10, 1}, 0, {1, 9, 9, 6}, 0, 1},
        {{1999, 12, 1}, 1, {2, 0, 0, 0}, 1, -1},
    };
    for (const Case& c : cases) {
        TestAnimation t;
        LayOut(t, c.date, 640, 480, c.offset);
        SCOPED_TRACE(c.date.year * 100 + c.date.month);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(DigitAt(t.a, 120 + 25 * i, 30), c.yearDigits[i]);
        }
        EXPECT_EQ(DigitAt(t.a, 265, 30), c.monthUnits);
        EXPECT_EQ(DigitAt(t.a, 240, 30), c.monthTens);
    }
}

TEST(LayoutMonthPage, SmallStandardAndCentredGeometry) {
    struct Case {
        int w, h;
        LocalDate date;
        std::vector<std::array<int, 3>> places;  // digit, x, y
    };
    const Case cases[] = {
        {320,
         240,
         {2022, 10, 1},  // day 1 in column 6, day 31 in row 5
         {{2, 60, 15},
          {0, 72, 15},
          {2, 84, 15},
          {2, 96, 15},
          {0, 130, 15},
          {1, 118, 15},
          {1, 265, 50},
          {1, 65, 200},
          {3, 53, 200}}},
        {800,
         600,
         {2026, 12, 1},
         {{2, 200, 90}, {6, 275, 90}, {2, 345, 90}, {1, 320, 90}, {1, 290, 160}, {1, 450, 400}}},
        {640, 400, {2022, 10, 1}, {{0, 50, 400}, {1, 530, 100}}},  // row 5 just below the screen
        {100000, 100000, {2026, 12, 1}, {{2, 49800, 49790}, {1, 49890, 49860}}},
    };
    for (const Case& c : cases) {
        TestAnimation t;
        LayOut(t, c.date, c.w, c.h);
        SCOPED_TRACE(c.w);
        for (const auto& p : c.places) {
            EXPECT_EQ(DigitAt(t.a, p[1], p[2]), p[0]) << p[1] << "," << p[2];
        }
    }
}
