// Day numbers checked against <chrono>, an independent implementation of the
// same proleptic Gregorian calendar.

#include "engine/CivilDate.h"

#include <chrono>
#include <gtest/gtest.h>
#include <tuple>

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
        const std::int32_t y = int(ymd.year()), m = unsigned(ymd.month()), d = unsigned(ymd.day());
        SCOPED_TRACE(::testing::Message() << y << '-' << m << '-' << d);
        const DayNumber number = date.time_since_epoch().count() + UnixEpochDayNumber;

        ASSERT_EQ(kalvara::JulianDate(m, d, y), number);
        // Callers rely on a day past the month's end carrying into the next
        // month: 30 February is 2 March, or 1 March in a leap year.
        ASSERT_EQ(kalvara::JulianDate(m, d + 1, y), number + 1);
        std::int32_t month = 0, day_of_month = 0, year_number = 0;
        kalvara::JulianToMDY(number, month, day_of_month, year_number);
        ASSERT_EQ(std::tie(month, day_of_month, year_number), std::tie(m, d, y));
        ASSERT_EQ(kalvara::DayOfWeek(number), int(weekday{date}.iso_encoding()));
        ASSERT_EQ(kalvara::IsLeapYear(y) == 1, ymd.year().is_leap());
        for (std::int32_t wanted = 1; wanted <= 7; ++wanted) {
            // The nearest day on or before with that weekday: within the week back.
            const DayNumber back = number - kalvara::WeekdayOnOrBefore(number, wanted);
            ASSERT_TRUE(back >= 0 && back <= 6) << wanted;
            ASSERT_EQ(weekday{date - days{back}}.iso_encoding(), static_cast<unsigned>(wanted));
        }
    }
}

} // namespace
