#include "core/DateNotice.h"

#include "core/Notice.h"

#include <utility>

namespace kalvara {

DayNumber Date2JulianDate(std::string text, std::string& order) {
    bool invalid = false;
    const DayNumber day = Date2JulianDate(std::move(text), order, invalid);
    if (invalid) {
        ShowNotice("Invalid Date", "Date values in Date2JulianDate are invalid.{f6}", "");
    }
    return day;
}

} // namespace kalvara
