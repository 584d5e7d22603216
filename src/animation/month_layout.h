// The month page: the year, the month number and the days of a month in a
// grid of seven weekday columns, each digit handed to one digit object as its
// destination.
#pragma once

#include <array>

#include "animation/animation_state.h"

// Days of months 1-12 (index month - 1) in a common year.
constexpr std::array<int, 12> DaysInMonth = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

// Days of the year before the first of months 1-12 (index month - 1), mod 7:
// [0] common years, [1] years divisible by 4.
constexpr std::array<std::array<int, 12>, 2> MonthStartOffsets = {{
    {0, 3, 3, 6, 1, 4, 6, 2, 5, 0, 3, 5},
    {0, 3, 4, 0, 2, 5, 0, 3, 6, 1, 4, 6},
}};

// Length of a month; February has 29 days in years divisible by 4 (exact for
// 1901-2099). 0 for a month outside 1-12.
int DaysInMonthOfYear(int year, int month);

// Weekday of the first of the month, 0 = Sunday to 6 = Saturday; -1 when the
// year is outside 1901-2099 or the month outside 1-12.
int WeekdayOfFirst(int year, int month);

// The year that a two-digit year stands for: 00-95 are 2000-2095, 96-99 are
// 1996-1999.
int YearFromTwoDigits(int twoDigitYear);

// The local date from the standard library's clock.
LocalDate CurrentLocalDate();

// Lays out the page of the month monthOffset (0 to 5) months after the
// current one: clears every destination, assigns each digit of the page to an
// object (AssignDigit) and parks the objects in play that are left over
// (ParkSpareObjects). Screens 320 wide have their own small geometry; screens
// wider than 640 get the 640 x 480 page centred.
void LayoutMonthPage(AnimationState& a, int monthOffset);
void LayoutMonthPage(int monthOffset);  // the process-wide animation
