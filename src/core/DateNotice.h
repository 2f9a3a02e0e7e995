#pragma once
// Reading a date text where the user is told about a bad one.

#include "engine/DateText.h"

namespace kalvara {

// Date2JulianDate of the engine; a field that reads as 0, or one too large to
// be a date, shows the "Invalid Date" notice and gives 0.
DayNumber Date2JulianDate(std::string text, std::string& order);

} // namespace kalvara
