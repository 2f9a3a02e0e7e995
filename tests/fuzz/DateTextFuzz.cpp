// Typed date text, with std::chrono as the independent judge of calendar dates.

#include "FuzzSupport.h"
#include "engine/CivilDate.h"
#include "engine/DateText.h"

#include <algorithm>
#include <chrono>
#include <cmath>

namespace {

using kalvara::fuzz::Require;

// 1 January 1970 as a Julian day number.
constexpr std::int32_t UnixEpochDayNumber = 2440588;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    // The first byte picks the field order, the rest is the typed text.
    static const char* const orders[] = {"MDY", "YMD", "DMY", ""};
    const std::string order = orders[data[0] % 4];
    const std::string text(kalvara::fuzz::AsText(data + 1, size - 1));
    const double value = kalvara::NumericValue(text);
    Require(!std::isnan(value), "a numeric value is never NaN");
    if (std::fabs(value) < 1e9) {
        Require(std::fabs(value - kalvara::IntegerValue(text)) <= 0.5,
                "IntegerValue is the nearest integer");
    }
    if (text.empty()) { // empty text means today, which is no property of the input
        return 0;
    }
    std::string order_used = order;
    bool invalid = false;
    const kalvara::DayNumber day_number = kalvara::Date2JulianDate(text, order_used, invalid);
    Require(!invalid || day_number == 0, "an invalid date gives 0");
    // Plain digit fields in a known order: the date they name is known without the engine;
    // other fields are NumericValue's business.
    const bool mdy = order == "MDY";
    if (invalid || !(mdy || order == "YMD") ||
        text.find_first_not_of("0123456789-/") != std::string::npos) {
        return 0;
    }
    std::int32_t fields[3] = {};
    for (std::size_t i = 0, start = 0; i < 3 && start <= text.size(); ++i) {
        const std::size_t end = std::min(text.find_first_of("-/", start), text.size());
        const std::string field = text.substr(start, end - start);
        fields[i] = field.empty() || field.size() > 9 ? 0 : std::stoi(field);
        start = end + 1;
    }
    const std::int32_t year = mdy ? fields[2] : fields[0];
    const std::int32_t month = mdy ? fields[0] : fields[1];
    const std::int32_t day = mdy ? fields[1] : fields[2];
    // Checked first, since std::chrono keeps months and days in a byte.
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31) {
        return 0;
    }
    namespace ch = std::chrono;
    const ch::year_month_day date{ch::year(year), ch::month(static_cast<unsigned>(month)),
                                  ch::day(static_cast<unsigned>(day))};
    if (date.ok()) {
        Require(day_number == ch::sys_days(date).time_since_epoch().count() + UnixEpochDayNumber,
                "day number of a calendar date");
        std::int32_t back_month = 0, back_day = 0, back_year = 0;
        kalvara::JulianToMDY(day_number, back_month, back_day, back_year);
        Require(back_month == month && back_day == day && back_year == year,
                "a calendar date survives the round trip through its day number");
    }
    return 0;
}
