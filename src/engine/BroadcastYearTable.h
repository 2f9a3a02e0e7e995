#pragma once
// The broadcast calendar: weeks run Monday to Sunday, a broadcast month ends on
// the last Sunday of its calendar month and starts the Monday after the one
// before it ended, and the broadcast year starts on the Monday on or before
// 1 January. Every broadcast month therefore holds four or five whole weeks.

#include "engine/CivilDate.h"

#include <array>
#include <cstdint>
#include <string>

namespace kalvara {

// The years that can be printed: radio broadcasting began in 1920, and years
// are written with four digits.
inline constexpr std::int32_t FirstBroadcastYear = 1920;
inline constexpr std::int32_t LastBroadcastYear = 9999;

constexpr bool IsPrintableYear(std::int32_t year) {
    return year >= FirstBroadcastYear && year <= LastBroadcastYear;
}

// The twelve broadcast months of the year last built, with the Monday that
// starts its week 1. The program keeps one of these and passes it by
// reference; layouts that print a later year rebuild the same table.
struct BroadcastYearTable {
    // Rows 1..12 (row 0 unused): first Monday and last Sunday of each month.
    std::array<std::array<DayNumber, 2>, 13> Months{};
    // Monday on or before 1 January of the year last built; equals First(1).
    DayNumber BroadcastYearStart = 0;
    // Entries 1..12 (entry 0 unused). February belongs to the year last built.
    std::array<std::int32_t, 13> DaysInMonth{};
    // The year last built, 0 before the first build.
    std::int32_t Year = 0;

    DayNumber First(std::int32_t month) const { return Months.at(month)[0]; }
    DayNumber Last(std::int32_t month) const { return Months.at(month)[1]; }
    // 4 or 5 once built.
    std::int32_t WeekCount(std::int32_t month) const {
        return (Last(month) - First(month) + 1) / 7;
    }
};

// Fills DaysInMonth with 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31.
void InitDaysInMonth(BroadcastYearTable& table);

// Rewrites February of DaysInMonth for the year, then the twelve months and
// BroadcastYearStart.
void BuildBroadcastYear(std::int32_t year, BroadcastYearTable& table);

// First Monday and last Sunday of the broadcast month holding the day.
void BroadcastMonthBounds(DayNumber day_number, DayNumber& first, DayNumber& last);

// 4 or 5: the weeks of the broadcast month that starts in calendar month/year.
std::int32_t BroadcastWeekCount(std::int32_t month, std::int32_t year);

// Broadcast month 1..12 of the day; writes its broadcast year. A week belongs
// to the month and year of its Sunday.
std::int32_t BroadcastMonthOf(DayNumber day_number, std::int32_t& year);

// Week number, 1..53, of the week starting on the Monday, counted from the
// BroadcastYearStart of the table (which must hold the week's year).
std::int32_t BroadcastWeekNumber(DayNumber monday, const BroadcastYearTable& table);

// The week's place in its quarter, such as "1Q05": quarter digit, "Q", and the
// week within the quarter as two digits. month is the broadcast month of the
// week; the table must hold the week's year.
std::string QuarterWeekLabel(std::int32_t month, DayNumber monday, const BroadcastYearTable& table);

} // namespace kalvara
