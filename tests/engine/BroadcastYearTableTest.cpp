// The broadcast calendar checked against its definition in plain words: a
// broadcast month ends on the last Sunday of its calendar month, the year
// starts on the Monday on or before 1 January, week 1 holds 1 January.

#include "engine/BroadcastYearTable.h"

#include <chrono>
#include <cstdio>
#include <gtest/gtest.h>

namespace {

using namespace std::chrono;
using kalvara::DayNumber;

constexpr DayNumber UnixEpochDayNumber = 2440588;

DayNumber ToDayNumber(sys_days date) {
    return date.time_since_epoch().count() + UnixEpochDayNumber;
}

DayNumber OnOrBefore(sys_days date, weekday wanted) {
    while (weekday{date} != wanted) {
        date -= days{1};
    }
    return ToDayNumber(date);
}

// One table rebuilt year after year, as the program uses it, so that February
// must follow the year last built.
TEST(BroadcastYear, MatchesTheDefinitionForEveryYearFrom1920To2400) {
    kalvara::BroadcastYearTable table;
    kalvara::InitDaysInMonth(table);
    for (int y = 1920; y <= 2400; ++y) {
        kalvara::BuildBroadcastYear(y, table);
        const DayNumber year_start = OnOrBefore(year_month_day{year{y}, January, day{1}}, Monday);
        ASSERT_EQ(table.BroadcastYearStart, year_start) << y;
        ASSERT_EQ(table.DaysInMonth[2], year{y}.is_leap() ? 29 : 28);

        DayNumber expected_first = year_start;
        DayNumber quarter_start = year_start;
        for (unsigned m = 1; m <= 12; ++m) {
            SCOPED_TRACE(::testing::Message() << y << '/' << m);
            const DayNumber expected_last =
                OnOrBefore(year_month_day_last{year{y}, month_day_last{month{m}}}, Sunday);
            const auto month_number = static_cast<std::int32_t>(m);
            ASSERT_EQ(table.First(month_number), expected_first);
            ASSERT_EQ(table.Last(month_number), expected_last);
            const std::int32_t weeks = (expected_last - expected_first + 1) / 7;
            ASSERT_TRUE(weeks == 4 || weeks == 5);
            ASSERT_EQ(kalvara::BroadcastWeekCount(month_number, y), weeks);
            if (m % 3 == 1) {
                quarter_start = expected_first;
            }

            for (DayNumber day = expected_first; day <= expected_last; ++day) {
                DayNumber first = 0, last = 0;
                kalvara::BroadcastMonthBounds(day, first, last);
                ASSERT_EQ(first, expected_first);
                ASSERT_EQ(last, expected_last);
                std::int32_t broadcast_year = 0;
                ASSERT_EQ(kalvara::BroadcastMonthOf(day, broadcast_year), month_number);
                ASSERT_EQ(broadcast_year, y);
            }
            for (DayNumber monday = expected_first; monday < expected_last; monday += 7) {
                ASSERT_EQ(kalvara::BroadcastWeekNumber(monday, table),
                          (monday - year_start) / 7 + 1);
                char label[16];
                std::snprintf(label, sizeof label, "%uQ%02d", (m + 2) / 3,
                              (monday - quarter_start) / 7 + 1);
                ASSERT_EQ(kalvara::QuarterWeekLabel(month_number, monday, table), label);
            }
            expected_first = expected_last + 1;
        }
    }
}

} // namespace
