// Day numbers and the broadcast calendar held against <chrono>, an independent
// implementation of the proleptic Gregorian calendar, and the plain words.

#include "engine/BroadcastYearTable.h"
#include "engine/CivilDate.h"

#include <chrono>
#include <gtest/gtest.h>
#include <string>
#include <tuple>
#include <utility>

namespace {

using namespace std::chrono;
using kalvara::DayNumber;

constexpr DayNumber UnixEpochDayNumber = 2440588; // 1970-01-01, where sys_days counts from

DayNumber OnOrBefore(sys_days date, weekday wanted) {
    return (date - (weekday{date} - wanted)).time_since_epoch().count() + UnixEpochDayNumber;
}

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
        for (unsigned wanted = 1; wanted <= 7; ++wanted) { // ISO: 7 is Sunday
            ASSERT_EQ(kalvara::WeekdayOnOrBefore(number, std::int32_t(wanted)),
                      OnOrBefore(date, weekday{wanted}))
                << wanted;
        }
    }
}

// A broadcast month ends on the last Sunday of its calendar month, the year
// starts on the Monday on or before 1 January. One table is rebuilt year after
// year, as the program uses it, so that February must follow the year last built.
TEST(BroadcastYear, MatchesTheDefinitionForEveryYearFrom1920To2400) {
    kalvara::BroadcastYearTable table;
    kalvara::InitDaysInMonth(table);
    for (int y = 1920; y <= 2400; ++y) {
        kalvara::BuildBroadcastYear(y, table);
        const DayNumber year_start = OnOrBefore(year_month_day{year{y}, January, day{1}}, Monday);
        ASSERT_EQ(table.BroadcastYearStart, year_start) << y;
        ASSERT_EQ(table.DaysInMonth[2], year{y}.is_leap() ? 29 : 28);
        DayNumber expected_first = year_start, quarter_start = year_start;
        for (std::int32_t m = 1; m <= 12; ++m) {
            SCOPED_TRACE(::testing::Message() << y << '/' << m);
            const DayNumber expected_last =
                OnOrBefore(year_month_day_last{year{y}, month_day_last{month(m)}}, Sunday);
            ASSERT_EQ(table.First(m), expected_first);
            ASSERT_EQ(table.Last(m), expected_last);
            ASSERT_EQ(kalvara::BroadcastWeekCount(m, y), (expected_last - expected_first + 1) / 7);
            quarter_start = m % 3 == 1 ? expected_first : quarter_start;
            for (DayNumber day = expected_first; day <= expected_last; ++day) {
                DayNumber first = 0, last = 0;
                kalvara::BroadcastMonthBounds(day, first, last);
                ASSERT_EQ(std::pair(first, last), std::pair(expected_first, expected_last));
                std::int32_t broadcast_year = 0;
                const std::int32_t broadcast_month = kalvara::BroadcastMonthOf(day, broadcast_year);
                ASSERT_EQ(std::pair(broadcast_month, broadcast_year), std::pair(m, y));
            }
            for (DayNumber monday = expected_first; monday < expected_last; monday += 7) {
                ASSERT_EQ(kalvara::BroadcastWeekNumber(monday, table),
                          (monday - year_start) / 7 + 1);
                const auto quarter_week = (monday - quarter_start) / 7 + 1;
                ASSERT_EQ(kalvara::QuarterWeekLabel(m, monday, table),
                          std::to_string((m + 2) / 3) + (quarter_week < 10 ? "Q0" : "Q") +
                              std::to_string(quarter_week));
            }
            expected_first = expected_last + 1;
        }
    }
}

} // namespace
