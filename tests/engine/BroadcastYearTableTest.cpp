// The broadcast calendar checked against its definition in plain words: a
// broadcast month ends on the last Sunday of its calendar month, the year
// starts on the Monday on or before 1 January, week 1 holds 1 January.

#include "engine/BroadcastYearTable.h"

#include <chrono>
#include <gtest/gtest.h>

namespace {

using namespace std::chrono;
using kalvara::DayNumber;

constexpr DayNumber UnixEpochDayNumber = 2440588;

DayNumber ToDayNumber(sys_days date) {
    return date.time_since_epoch().count() + UnixEpochDayNumber;
}

DayNumber Date(int y, unsigned m, unsigned d) {
    return ToDayNumber(year_month_day{year{y}, month{m}, day{d}});
}

// Last Sunday of a calendar month, by walking back from its last day.
DayNumber LastSundayOf(int y, unsigned m) {
    sys_days date = year_month_day_last{year{y}, month_day_last{month{m}}};
    while (weekday{date} != Sunday) {
        date -= days{1};
    }
    return ToDayNumber(date);
}

DayNumber MondayOnOrBefore(sys_days date) {
    while (weekday{date} != Monday) {
        date -= days{1};
    }
    return ToDayNumber(date);
}

TEST(BroadcastYear, MatchesTheDefinitionForEveryYearFrom1920To2400) {
    kalvara::BroadcastYearTable table;
    kalvara::InitDaysInMonth(table);
    for (int y = 1920; y <= 2400; ++y) {
        kalvara::BuildBroadcastYear(y, table);
        const DayNumber year_start = MondayOnOrBefore(year_month_day{year{y}, January, day{1}});
        ASSERT_EQ(table.BroadcastYearStart, year_start) << y;
        ASSERT_EQ(table.DaysInMonth[2], year{y}.is_leap() ? 29 : 28);

        DayNumber expected_first = year_start;
        for (unsigned m = 1; m <= 12; ++m) {
            const DayNumber expected_last = LastSundayOf(y, m);
            const auto month_number = static_cast<std::int32_t>(m);
            ASSERT_EQ(table.First(month_number), expected_first) << y << '/' << m;
            ASSERT_EQ(table.Last(month_number), expected_last) << y << '/' << m;
            const std::int32_t weeks = (expected_last - expected_first + 1) / 7;
            ASSERT_TRUE(weeks == 4 || weeks == 5);
            ASSERT_EQ(kalvara::BroadcastWeekCount(month_number, y), weeks) << y << '/' << m;

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
                // Week 1 is the week holding 1 January; weeks count on from it.
                ASSERT_EQ(kalvara::BroadcastWeekNumber(monday, table),
                          (monday - year_start) / 7 + 1);
            }
            expected_first = expected_last + 1;
        }
    }
}

TEST(BroadcastYear, Year2026) {
    kalvara::BroadcastYearTable table;
    kalvara::BuildBroadcastYear(2026, table);
    const struct {
        DayNumber first, last;
        int weeks;
    } expected[] = {
        {Date(2025, 12, 29), Date(2026, 1, 25), 4},  {Date(2026, 1, 26), Date(2026, 2, 22), 4},
        {Date(2026, 2, 23), Date(2026, 3, 29), 5},   {Date(2026, 3, 30), Date(2026, 4, 26), 4},
        {Date(2026, 4, 27), Date(2026, 5, 31), 5},   {Date(2026, 6, 1), Date(2026, 6, 28), 4},
        {Date(2026, 6, 29), Date(2026, 7, 26), 4},   {Date(2026, 7, 27), Date(2026, 8, 30), 5},
        {Date(2026, 8, 31), Date(2026, 9, 27), 4},   {Date(2026, 9, 28), Date(2026, 10, 25), 4},
        {Date(2026, 10, 26), Date(2026, 11, 29), 5}, {Date(2026, 11, 30), Date(2026, 12, 27), 4},
    };
    int total_weeks = 0;
    for (int m = 1; m <= 12; ++m) {
        EXPECT_EQ(table.First(m), expected[m - 1].first) << m;
        EXPECT_EQ(table.Last(m), expected[m - 1].last) << m;
        EXPECT_EQ(table.WeekCount(m), expected[m - 1].weeks) << m;
        total_weeks += table.WeekCount(m);
    }
    EXPECT_EQ(total_weeks, 52);
}

TEST(BroadcastYear, FiftyThreeWeekYearsHaveFiveFiveWeekMonths) {
    for (int y : {2017, 2023, 2028}) {
        kalvara::BroadcastYearTable table;
        kalvara::BuildBroadcastYear(y, table);
        EXPECT_EQ(table.Last(12), Date(y, 12, 31)) << y;
        EXPECT_EQ(kalvara::BroadcastWeekNumber(table.Last(12) - 6, table), 53) << y;
        for (int m : {1, 4, 7, 10, 12}) {
            EXPECT_EQ(table.WeekCount(m), 5) << y << '/' << m;
        }
    }
}

TEST(BroadcastYear, MondayFirstOfJanuaryStartsTheYearItself) {
    for (int y : {2018, 2024}) {
        kalvara::BroadcastYearTable table;
        kalvara::BuildBroadcastYear(y, table);
        EXPECT_EQ(table.First(1), Date(y, 1, 1));
    }
}

TEST(BroadcastYear, FebruaryFollowsTheYearLastBuilt) {
    kalvara::BroadcastYearTable table;
    kalvara::InitDaysInMonth(table);
    kalvara::BuildBroadcastYear(2024, table);
    EXPECT_EQ(table.DaysInMonth[2], 29);
    EXPECT_EQ(table.Last(2), Date(2024, 2, 25));
    kalvara::BuildBroadcastYear(2025, table);
    EXPECT_EQ(table.DaysInMonth[2], 28);
}

TEST(BroadcastYear, MonthBoundsAroundTheLastSunday) {
    DayNumber first = 0, last = 0;
    kalvara::BroadcastMonthBounds(Date(2025, 12, 30), first, last);
    EXPECT_EQ(first, Date(2025, 12, 29));
    EXPECT_EQ(last, Date(2026, 1, 25));
    kalvara::BroadcastMonthBounds(Date(2025, 12, 28), first, last);
    EXPECT_EQ(first, Date(2025, 12, 1)); // 30 November 2025 was a Sunday
    EXPECT_EQ(last, Date(2025, 12, 28));

    std::int32_t y = 0;
    EXPECT_EQ(kalvara::BroadcastMonthOf(Date(2025, 12, 29), y), 1);
    EXPECT_EQ(y, 2026);
    EXPECT_EQ(kalvara::BroadcastMonthOf(Date(2025, 12, 28), y), 12);
    EXPECT_EQ(y, 2025);
}

TEST(QuarterWeekLabel, NumbersWeeksWithinTheirQuarter) {
    kalvara::BroadcastYearTable table;
    kalvara::BuildBroadcastYear(2017, table);
    EXPECT_EQ(kalvara::QuarterWeekLabel(12, Date(2017, 12, 25), table), "4Q14");
    for (int quarter = 1; quarter <= 4; ++quarter) {
        const int first_month = 3 * quarter - 2;
        EXPECT_EQ(kalvara::QuarterWeekLabel(first_month, table.First(first_month), table),
                  std::to_string(quarter) + "Q01");
    }
    kalvara::BuildBroadcastYear(2026, table);
    EXPECT_EQ(kalvara::QuarterWeekLabel(2, Date(2026, 2, 2), table), "1Q06");
    EXPECT_EQ(kalvara::QuarterWeekLabel(8, Date(2026, 8, 24), table), "3Q09");
}

} // namespace
