// Day numbers checked against <chrono>, an independent implementation of the
// same proleptic Gregorian calendar.

#include "engine/CivilDate.h"

#include <chrono>
#include <gtest/gtest.h>

namespace {

using namespace std::chrono;
using kalvara::DayNumber;

// sys_days counts from 1970-01-01, which is Julian day 2440588.
constexpr DayNumber UnixEpochDayNumber = 2440588;

TEST(CivilDate, MatchesChronoForEveryDayFrom1600To2400) {
    const sys_days first = year_month_day{year{1600}, January, day{1}};
    const sys_days last = year_month_day{year{2400}, December, day{31}};
    for (sys_days date = first; date <= last; date += days{1}) {
        const year_month_day ymd{date};
        const auto month = static_cast<std::int32_t>(static_cast<unsigned>(ymd.month()));
        const auto day_of_month = static_cast<std::int32_t>(static_cast<unsigned>(ymd.day()));
        const auto year_number = static_cast<std::int32_t>(ymd.year());
        const DayNumber expected = date.time_since_epoch().count() + UnixEpochDayNumber;

        const DayNumber number = kalvara::JulianDate(month, day_of_month, year_number);
        ASSERT_EQ(number, expected) << year_number << '-' << month << '-' << day_of_month;

        std::int32_t m = 0, d = 0, y = 0;
        kalvara::JulianToMDY(number, m, d, y);
        ASSERT_EQ(m, month);
        ASSERT_EQ(d, day_of_month);
        ASSERT_EQ(y, year_number);

        ASSERT_EQ(kalvara::DayOfWeek(number),
                  static_cast<std::int32_t>(weekday{date}.iso_encoding()));
    }
}

TEST(CivilDate, KnownAnchors) {
    EXPECT_EQ(kalvara::JulianDate(1, 1, 2000), 2451545);
    EXPECT_EQ(kalvara::DayOfWeek(2451545), 6); // a Saturday
    std::int32_t m = 0, d = 0, y = 0;
    kalvara::JulianToMDY(2451545, m, d, y);
    EXPECT_EQ(m, 1);
    EXPECT_EQ(d, 1);
    EXPECT_EQ(y, 2000);
}

TEST(CivilDate, MonthAndDayOverflowCarryForward) {
    // Callers rely on 30 February meaning 2 March (or 1 March in a leap year).
    EXPECT_EQ(kalvara::JulianDate(2, 30, 2026), kalvara::JulianDate(3, 2, 2026));
    EXPECT_EQ(kalvara::JulianDate(2, 30, 2024), kalvara::JulianDate(3, 1, 2024));
    // The day before the first of a month is the last of the one before.
    EXPECT_EQ(kalvara::JulianDate(1, 1, 2026) - 1, kalvara::JulianDate(12, 31, 2025));
}

TEST(CivilDate, WeekdayOnOrBefore) {
    const DayNumber sunday = kalvara::JulianDate(12, 28, 2025);
    ASSERT_EQ(kalvara::DayOfWeek(sunday), 7);
    EXPECT_EQ(kalvara::WeekdayOnOrBefore(sunday, 7), sunday);
    EXPECT_EQ(kalvara::WeekdayOnOrBefore(sunday, 1), sunday - 6);
    const DayNumber thursday = kalvara::JulianDate(1, 1, 2026);
    EXPECT_EQ(kalvara::WeekdayOnOrBefore(thursday, 1), kalvara::JulianDate(12, 29, 2025));
    EXPECT_EQ(kalvara::WeekdayOnOrBefore(thursday, 4), thursday);
    EXPECT_EQ(kalvara::WeekdayOnOrBefore(thursday, 5), thursday - 6);
}

TEST(CivilDate, LeapYears) {
    for (std::int32_t y = 1600; y <= 2400; ++y) {
        EXPECT_EQ(kalvara::IsLeapYear(y) == 1, year{y}.is_leap()) << y;
    }
}

} // namespace
