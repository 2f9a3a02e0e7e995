#pragma once
// Day numbers and the proleptic Gregorian calendar, in the Fliegel-Van Flandern
// formulation. Every quotient is truncated where it is written: the grouping is
// what makes January and February come out right, so do not "simplify" it.

#include <cstdint>

namespace kalvara {

// Julian day number of a Gregorian date; 1 January 2000 is 2451545.
using DayNumber = std::int32_t;

// Weekdays are 1 Monday .. 7 Sunday.
inline constexpr std::int32_t Monday = 1;
inline constexpr std::int32_t Sunday = 7;

DayNumber JulianDate(std::int32_t month, std::int32_t day, std::int32_t year);
void JulianToMDY(DayNumber day_number, std::int32_t& month, std::int32_t& day, std::int32_t& year);
std::int32_t DayOfWeek(DayNumber day_number);
DayNumber WeekdayOnOrBefore(DayNumber day_number, std::int32_t weekday);
std::int32_t IsLeapYear(std::int32_t year);

} // namespace kalvara
