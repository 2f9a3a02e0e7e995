#include "engine/DateText.h"

#include <cctype>
#include <chrono>
#include <cmath>
#include <ctime>
#include <fmt/format.h>
#include <limits>
#include <vector>

namespace kalvara {

double NumericValue(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size() && text[pos] == ' ') {
        ++pos;
    }
    double sign = 1.0;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        sign = text[pos] == '-' ? -1.0 : 1.0;
        ++pos;
    }
    double value = 0.0;
    bool any_digit = false;
    while (pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos]))) {
        value = value * 10.0 + (text[pos] - '0');
        any_digit = true;
        ++pos;
    }
    if (pos < text.size() && text[pos] == '.') {
        ++pos;
        double scale = 0.1;
        while (pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos]))) {
            value += (text[pos] - '0') * scale;
            scale /= 10.0;
            any_digit = true;
            ++pos;
        }
    }
    return any_digit ? sign * value : 0.0;
}

std::int32_t RoundHalfEven(double value) {
    constexpr double lowest = std::numeric_limits<std::int32_t>::min();
    constexpr double highest = std::numeric_limits<std::int32_t>::max();
    if (!(value == value)) {
        return 0; // NaN
    }
    const double rounded = std::nearbyint(value); // default rounding mode: halves to even
    if (rounded <= lowest) {
        return std::numeric_limits<std::int32_t>::min();
    }
    if (rounded >= highest) {
        return std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<std::int32_t>(rounded);
}

std::int32_t IntegerValue(std::string_view text) {
    return RoundHalfEven(NumericValue(text));
}

std::string TodayText() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return fmt::format("{:02}-{:02}-{:04}", local.tm_mon + 1, local.tm_mday, local.tm_year + 1900);
}

DayNumber Date2JulianDate(std::string text, std::string& order, bool& invalid) {
    invalid = false;
    if (text.empty()) {
        text = TodayText();
        order = "MDY";
    }
    for (char& c : text) {
        if (c == '/') {
            c = '-';
        }
    }

    std::vector<std::string_view> fields;
    std::string_view rest = text;
    while (fields.size() < 3) {
        const std::size_t dash = rest.find('-');
        fields.push_back(rest.substr(0, dash));
        if (dash == std::string_view::npos) {
            break;
        }
        rest.remove_prefix(dash + 1);
    }
    fields.resize(3); // a missing field reads as empty, which is 0

    // Beyond this no field can name a date the day-number arithmetic can hold
    // in 32 bits; such text is as invalid as a zero field.
    constexpr double largest_field = 1'000'000.0;
    std::int32_t values[3] = {};
    for (int i = 0; i < 3; ++i) {
        const double value = NumericValue(fields[i]);
        if (value == 0.0 || std::fabs(value) > largest_field) {
            invalid = true;
            return 0;
        }
        values[i] = RoundHalfEven(value);
    }

    std::int32_t month = 0;
    std::int32_t day = 0;
    std::int32_t year = 0;
    if (order == "MDY") {
        month = values[0];
        day = values[1];
        year = values[2];
    } else if (order == "YMD") {
        year = values[0];
        month = values[1];
        day = values[2];
    } else {
        return 0; // no caller passes another order
    }
    return JulianDate(month, day, year);
}

} // namespace kalvara
