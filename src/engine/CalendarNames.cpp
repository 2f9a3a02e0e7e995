#include "engine/CalendarNames.h"

#include <array>

namespace kalvara {

namespace {

const std::string NoName;

const std::array<std::string, 13> MonthNames = {
    "",     "January", "February",  "March",   "April",    "May",     "June",
    "July", "August",  "September", "October", "November", "December"};

const std::array<std::string, 8> WeekdayNames = {"",         "Monday", "Tuesday",  "Wednesday",
                                                 "Thursday", "Friday", "Saturday", "Sunday"};

} // namespace

const std::string& MonthName(std::int32_t month) {
    if (month < 1 || month > 12) {
        return NoName;
    }
    return MonthNames[static_cast<std::size_t>(month)];
}

const std::string& WeekdayName(std::int32_t weekday) {
    if (weekday < 1 || weekday > 7) {
        return NoName;
    }
    return WeekdayNames[static_cast<std::size_t>(weekday)];
}

} // namespace kalvara
