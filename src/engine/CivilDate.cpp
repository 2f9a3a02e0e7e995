#include "engine/CivilDate.h"

namespace kalvara {

DayNumber JulianDate(std::int32_t month, std::int32_t day, std::int32_t year) {
    const std::int32_t a = (month - 14) / 12; // -1 for January and February, else 0
    return day - 32075 + (1461 * (year + 4800 + a)) / 4 + (367 * (month - 2 - 12 * a)) / 12 -
           (3 * ((year + 4900 + a) / 100)) / 4;
}

void JulianToMDY(DayNumber day_number, std::int32_t& month, std::int32_t& day, std::int32_t& year) {
    std::int32_t l = day_number + 68569;
    const std::int32_t n = (4 * l) / 146097;           // 400-year cycles since -4800
    l = l - (146097 * n + 3) / 4;                      // [0, 146096]: day within the cycle
    const std::int32_t i = (4000 * (l + 1)) / 1461001; // [0, 399]: year within the cycle
    l = l - (1461 * i) / 4 + 31;
    const std::int32_t k = (80 * l) / 2447; // [2, 13]: month counted from March
    day = l - (2447 * k) / 80;              // [1, 31]
    l = k / 11;                             // 1 for January and February, else 0
    month = k + 2 - 12 * l;                 // [1, 12]
    year = 100 * (n - 49) + i + l;
}

std::int32_t DayOfWeek(DayNumber day_number) {
    return (day_number % 7) + 1; // day number 0 was a Monday
}

DayNumber WeekdayOnOrBefore(DayNumber day_number, std::int32_t weekday) {
    std::int32_t diff = weekday - DayOfWeek(day_number); // [-6, 6]
    if (diff > 0) {
        diff -= 7; // [-6, 0]: never move forward
    }
    return day_number + diff;
}

std::int32_t IsLeapYear(std::int32_t year) {
    return (year % 4 == 0 && (year % 100 != 0 || (year / 100) % 4 == 0)) ? 1 : 0;
}

} // namespace kalvara
