#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "animation/digit_pool.h"
#include "animation/month_layout.h"
#include "animation_test_support.h"

TEST(WeekdayOfFirst, MatchesTheCalendarAndRejectsOtherYears) {
    static const int t[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};  // Sakamoto's rule
    for (int year = 1901; year <= 2099; ++year) {
        for (int m = 1; m <= 12; ++m) {
            const int y = m < 3 ? year - 1 : year;
            ASSERT_EQ(WeekdayOfFirst(year, m), (y + y / 4 - y / 100 + y / 400 + t[m - 1] + 1) % 7)
                << year << "-" << m;
        }
    }
    EXPECT_EQ(WeekdayOfFirst(1901, 1), 2);
    EXPECT_EQ(WeekdayOfFirst(2000, 1), 6);
    for (const auto& ym : {std::array{1900, 5}, {2100, 1}, {2026, 0}, {2026, 13}}) {
        EXPECT_EQ(WeekdayOfFirst(ym[0], ym[1]), -1);
    }
}

TEST(LayoutMonthPage, PlacesEveryDigitOfThePage) {
    struct Case {
        int w, h;
        LocalDate date;
        int offset, pageDigits;
        std::vector<std::array<int, 3>> places;  // digit (-1: none), x, y
    };
    const Case cases[] = {
        // December 2026 begins on a Tuesday.
        {640,
         480,
         {2026, 12, 31},
         0,
         59,
         {{2, 120, 30},
          {0, 145, 30},
          {2, 170, 30},
          {6, 195, 30},
          {2, 265, 30},
          {1, 240, 30},
          {1, 210, 100},
          {9, 290, 160},
          {1, 370, 340},
          {3, 345, 340}}},
        // October 2022 begins on a Saturday and needs six rows.
        {640,
         480,
         {2022, 10, 3},
         0,
         59,
         {{1, 530, 100}, {0, 50, 400}, {3, 25, 400}, {1, 130, 400}}},
        // A leap February; a common one from a Sunday fills four rows.
        {640, 480, {2024, 2, 1}, 0, 54, {{9, 370, 340}, {2, 345, 340}}},
        {640, 480, {2026, 2, 9}, 0, 52, {{1, 50, 100}, {8, 530, 280}, {2, 505, 280}}},
        // Offsets into the next year; two-digit years 95 and 96.
        {640, 480, {2026, 11, 30}, 5, 56, {{7, 195, 30}, {4, 265, 30}, {-1, 240, 30}}},
        {640, 480, {2026, 12, 1}, 1, 58, {{7, 195, 30}, {1, 265, 30}, {-1, 240, 30}}},
        {640, 480, {2095, 6, 1}, 0, 56, {{2, 120, 30}, {0, 145, 30}, {9, 170, 30}, {5, 195, 30}}},
        {640, 480, {2096, 10, 1}, 0, 59, {{1, 120, 30}, {9, 145, 30}, {9, 170, 30}, {0, 265, 30}}},
        // Small, centred and low screens.
        {320,
         240,
         {2022, 10, 1},
         0,
         59,
         {{2, 60, 15},
          {2, 96, 15},
          {0, 130, 15},
          {1, 118, 15},
          {1, 265, 50},
          {1, 65, 200},
          {3, 53, 200}}},
        {800,
         600,
         {2026, 12, 1},
         0,
         59,
         {{2, 200, 90}, {1, 320, 90}, {1, 290, 160}, {1, 450, 400}}},
        {640, 400, {2022, 10, 1}, 0, 59, {{0, 50, 400}, {1, 530, 100}}},
    };
    for (const Case& c : cases) {
        TestAnimation t;
        t.date = c.date;
        t.Set(xScreenSize, c.w);
        t.Set(yScreenSize, c.h);
        SeedPool(t.a, 0);
        LayoutMonthPage(t.a, c.offset);
        SCOPED_TRACE(c.date.year * 100 + c.date.month);
        for (const auto& p : c.places) {
            EXPECT_EQ(DigitAt(t.a, p[1], p[2]), p[0]) << p[1] << "," << p[2];
        }
        int onPage = 0;
        for (const auto& [place, digits] : Destinations(t.a)) {
            const bool corner = (place.first == -50 || place.first == c.w) &&
                                (place.second == -45 || place.second == c.h);
            onPage += corner ? 0 : static_cast<int>(digits.size());
        }
        EXPECT_EQ(onPage, c.pageDigits);
    }
}
