#include "engine/BroadcastYearTable.h"

#include <fmt/format.h>

namespace kalvara {

namespace {

// Advances (month, year) by one calendar month.
void NextMonth(std::int32_t& month, std::int32_t& year) {
    ++month;
    if (month > 12) {
        month = 1;
        ++year;
    }
}

// Last Sunday on or before the last day of the calendar month before
// (month, year): the end of that month's broadcast month.
DayNumber LastSundayBefore(std::int32_t month, std::int32_t year) {
    return WeekdayOnOrBefore(JulianDate(month, 1, year) - 1, Sunday);
}

} // namespace

void InitDaysInMonth(BroadcastYearTable& table) {
    for (std::int32_t month = 1; month <= 12; ++month) {
        table.DaysInMonth[month] = 31;
    }
    for (std::int32_t month : {4, 6, 9, 11}) {
        table.DaysInMonth[month] -= 1;
    }
    table.DaysInMonth[2] -= 3;
}

void BuildBroadcastYear(std::int32_t year, BroadcastYearTable& table) {
    if (table.DaysInMonth[1] == 0) {
        InitDaysInMonth(table); // a default-constructed table works too
    }
    table.DaysInMonth[2] = 28 + IsLeapYear(year);
    table.BroadcastYearStart = WeekdayOnOrBefore(JulianDate(1, 1, year), Monday);
    DayNumber previous = table.BroadcastYearStart - 1; // last Sunday of the month before
    for (std::int32_t month = 1; month <= 12; ++month) {
        table.Months[month][0] = previous + 1;
        previous = WeekdayOnOrBefore(JulianDate(month, table.DaysInMonth[month], year), Sunday);
        table.Months[month][1] = previous;
    }
    table.Year = year;
}

void BroadcastMonthBounds(DayNumber day_number, DayNumber& first, DayNumber& last) {
    std::int32_t month = 0;
    std::int32_t day = 0;
    std::int32_t year = 0;
    JulianToMDY(day_number, month, day, year);
    first = WeekdayOnOrBefore(JulianDate(month, 1, year), Monday);
    NextMonth(month, year);
    last = LastSundayBefore(month, year);
    if (day_number > last) {
        // After the last Sunday of its calendar month: the day opens the next one.
        first = last + 1;
        NextMonth(month, year);
        last = LastSundayBefore(month, year);
    }
}

std::int32_t BroadcastWeekCount(std::int32_t month, std::int32_t year) {
    DayNumber first = 0;
    DayNumber last = 0;
    BroadcastMonthBounds(JulianDate(month, 1, year), first, last);
    return (1 + last - first) / 7;
}

std::int32_t BroadcastMonthOf(DayNumber day_number, std::int32_t& year) {
    const DayNumber sunday = day_number + 7 - DayOfWeek(day_number);
    std::int32_t month = 0;
    std::int32_t day = 0;
    JulianToMDY(sunday, month, day, year);
    return month;
}

std::int32_t BroadcastWeekNumber(DayNumber monday, const BroadcastYearTable& table) {
    return (monday + 6 - table.BroadcastYearStart + 1) / 7;
}

std::string QuarterWeekLabel(std::int32_t month, DayNumber monday,
                             const BroadcastYearTable& table) {
    const std::int32_t quarter = (month + 2) / 3;                          // [1, 4]
    const std::int32_t first_month = 3 * quarter - 2;                      // 1, 4, 7 or 10
    const std::int32_t week = (monday - table.First(first_month)) / 7 + 1; // [1, 14]
    return fmt::format("{}Q{:02}", quarter, week);
}

} // namespace kalvara
