#pragma once
// The English month and weekday names, the one copy that pages, tables and
// exports print.

#include <cstdint>
#include <string>

namespace kalvara {

// "January" .. "December" for 1..12; empty for anything else.
const std::string& MonthName(std::int32_t month);
// "Monday" .. "Sunday" for 1..7; empty for anything else.
const std::string& WeekdayName(std::int32_t weekday);

} // namespace kalvara
