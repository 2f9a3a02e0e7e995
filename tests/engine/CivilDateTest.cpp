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
        SCOPED_TRACE(::testing::Message() << year_number << '-' << month << '-' << day_of_month);
        const DayNumber number = date.time_since_epoch().count() + UnixEpochDayNumber;

        ASSERT_EQ(kalvara::JulianDate(month, day_of_month, year_number), number);
        std::int32_t m = 0, d = 0, y = 0;
        kalvara::JulianToMDY(number, m, d, y);
        ASSERT_EQ(m, month);
        ASSERT_EQ(d, day_of_month);
        ASSERT_EQ(y, year_number);
        const auto weekday_number = static_cast<std::int32_t>(weekday{date}.iso_encoding());
        ASSERT_EQ(kalvara::DayOfWeek(number), weekday_number);
        ASSERT_EQ(kalvara::IsLeapYear(year_number) == 1, ymd.year().is_leap());
        for (std::int32_t wanted = 1; wanted <= 7; ++wanted) {
            // The nearest day on or before with that weekday: within the week back.
            const DayNumber back = number - kalvara::WeekdayOnOrBefore(number, wanted);
            ASSERT_TRUE(back >= 0 && back <= 6) << wanted;
            ASSERT_EQ(weekday{date - days{back}}.iso_encoding(), static_cast<unsigned>(wanted));
        }
    }
}

TEST(CivilDate, MonthAndDayOverflowCarryForward) {
    // Callers rely on 30 February meaning 2 March (or 1 March in a leap year).
    EXPECT_EQ(kalvara::JulianDate(2, 30, 2026), kalvara::JulianDate(3, 2, 2026));
    EXPECT_EQ(kalvara::JulianDate(2, 30, 2024), kalvara::JulianDate(3, 1, 2024));
}

} // namespace
