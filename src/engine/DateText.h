#pragma once
// Reading numbers and dates out of text the way the whole program does.

#include "engine/CivilDate.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace kalvara {

// The numeric value of text: leading blanks skipped, then the longest leading
// decimal number (optional sign, digits, optional point and digits); 0 when
// there is none. "12abc" is 12, "yes" is 0, " -1.5" is -1.5.
double NumericValue(std::string_view text);

// Rounds to the nearest integer, halves to the even neighbour; values beyond
// the 32-bit range saturate.
std::int32_t RoundHalfEven(double value);

// NumericValue then RoundHalfEven.
std::int32_t IntegerValue(std::string_view text);

// Today's local date as "MM-DD-YYYY".
std::string TodayText();

// Day number of a date text in the given field order, "MDY" or "YMD"; "/" and
// "-" both separate fields. Empty text means today, and sets order to "MDY".
// A field that reads as 0, or one too large to be a date, sets invalid and
// gives 0. The overload in core/DateNotice.h tells the user as well.
DayNumber Date2JulianDate(std::string text, std::string& order, bool& invalid);

} // namespace kalvara
