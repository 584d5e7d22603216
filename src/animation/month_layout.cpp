#include "animation/month_layout.h"

#include <ctime>

#include "animation/digit_pool.h"

namespace {

// Where the digits of a page go. Positions are cell top-left corners; a
// two-digit number has its units digit at the given x and its tens digit one
// digit step to the left.
struct PageGeometry {
    int yearY;
    int yearX[4];  // thousands, hundreds, tens, units
    int monthX;
    int digitStep;
    int dayX0, dayDX;  // units x of weekday column c: dayX0 + dayDX * c
    int dayY0, dayDY;  // y of row r: dayY0 + dayDY * r
};

constexpr PageGeometry kSmallPage = {15, {60, 72, 84, 96}, 130, 12, 25, 40, 50, 30};
constexpr PageGeometry kStandardPage = {30, {120, 145, 170, 195}, 265, 25, 50, 80, 100, 60};

PageGeometry GeometryFor(int w, int h) {
    if (w == kSmallScreenWidth) {
        return kSmallPage;
    }
    PageGeometry g = kStandardPage;
    if (w > 640) {
        // Centre the 640 x 480 page.
        const int dx = (w - 640) / 2;
        const int dy = (h - 480) / 2;
        g.yearY += dy;
        for (int& x : g.yearX) {
            x += dx;
        }
        g.monthX += dx;
        g.dayX0 += dx;
        g.dayY0 += dy;
    }
    return g;
}

// Assigns a number of one or two digits, right-aligned at x.
void AssignNumber(AnimationState& a, int number, int x, int y, int digitStep) {
    AssignDigit(a, number % 10, x, y);
    if (number / 10 != 0) {
        AssignDigit(a, number / 10, x - digitStep, y);
    }
}

}  // namespace

int DaysInMonthOfYear(int year, int month) {
    if (month < 1 || month > 12) {
        return 0;
    }
    return DaysInMonth[month - 1] + (month == 2 && year % 4 == 0 ? 1 : 0);
}

int WeekdayOfFirst(int year, int month) {
    if (year <= 1900 || year >= 2100 || month < 1 || month > 12) {
        return -1;
    }
    const int t = MonthStartOffsets[year % 4 == 0 ? 1 : 0][month - 1];
    const int s = ((year - 1901) / 4 + (year - 1900)) % 7;
    return (t + s + 1) % 7;
}

int YearFromTwoDigits(int twoDigitYear) {
    return twoDigitYear + (twoDigitYear < 96 ? 2000 : 1900);
}

LocalDate CurrentLocalDate() {
    const std::time_t now = std::time(nullptr);
    const std::tm* local = std::localtime(&now);
    if (local == nullptr) {  // a time the library cannot convert: the epoch's date
        return LocalDate{1970, 1, 1};
    }
    return LocalDate{local->tm_year + 1900, local->tm_mon + 1, local->tm_mday};
}

void LayoutMonthPage(AnimationState& a, int monthOffset) {
    for (DigitObject& o : a.ObjectPool) {
        o.hasTarget = 0;
    }

    // The date is read the way an MM/DD/YY text gives it: a month of 1-12
    // and a two-digit year. With an offset of at most 5, one wrap into the
    // next year is enough.
    const LocalDate today = a.host.localDate ? a.host.localDate() : CurrentLocalDate();
    int year = YearFromTwoDigits(((today.year % 100) + 100) % 100);
    int month = ClampInt(today.month, 1, 12) + ClampInt(monthOffset, 0, 5);
    if (month > 12) {
        month -= 12;
        year += 1;
    }

    const Settings& s = *a.host.settings;
    const PageGeometry g = GeometryFor(ScreenWidth(s), ScreenHeight(s));

    const int yearDivisors[4] = {1000, 100, 10, 1};
    for (int i = 0; i < 4; ++i) {
        AssignDigit(a, (year / yearDivisors[i]) % 10, g.yearX[i], g.yearY);
    }
    AssignNumber(a, month, g.monthX, g.yearY, g.digitStep);

    const int days = DaysInMonthOfYear(year, month);
    int column = WeekdayOfFirst(year, month);
    int row = 0;
    for (int day = 1; day <= days; ++day) {
        AssignNumber(a, day, g.dayX0 + g.dayDX * column, g.dayY0 + g.dayDY * row, g.digitStep);
        if (++column == 7) {
            column = 0;
            ++row;
        }
    }

    ParkSpareObjects(a);
}

void LayoutMonthPage(int monthOffset) {
    LayoutMonthPage(g_Animation, monthOffset);
}
