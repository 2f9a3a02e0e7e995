#include "cli/CliParsing.h"

#include <array>
#include <charconv>
#include <fmt/compile.h>
#include <fmt/format.h>

namespace kalvara::cli {

namespace {

std::optional<std::int32_t> ExactDigits(std::string_view text, std::size_t digits) {
    return text.size() == digits ? ParseDigits(text, digits) : std::nullopt;
}

std::optional<DayNumber> MakeDate(std::optional<std::int32_t> year,
                                  std::optional<std::int32_t> month,
                                  std::optional<std::int32_t> day) {
    if (!year || !month || !day || *year < 1 || *month < 1 || *month > 12 || *day < 1) {
        return std::nullopt;
    }
    const DayNumber number = JulianDate(*month, *day, *year);
    std::int32_t m = 0;
    std::int32_t d = 0;
    std::int32_t y = 0;
    JulianToMDY(number, m, d, y);
    if (m != *month || d != *day || y != *year) {
        return std::nullopt; // 30 February and the like
    }
    return number;
}

} // namespace

std::optional<OutputFormat> ParseOutputFormat(std::string_view text) {
    if (text == "text") {
        return OutputFormat::Text;
    }
    if (text == "csv") {
        return OutputFormat::Csv;
    }
    if (text == "json") {
        return OutputFormat::Json;
    }
    return std::nullopt;
}

std::optional<std::int32_t> ParseDigits(std::string_view text, std::size_t max_digits) {
    if (text.empty() || text.size() > max_digits || text.size() > 9 || text[0] < '0' ||
        text[0] > '9') {
        return std::nullopt;
    }
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::int32_t> ParseYear(std::string_view text) {
    const auto year = ParseDigits(text, 4);
    if (!year || *year < FirstYear || *year > LastYear) {
        return std::nullopt;
    }
    return year;
}

std::optional<DayNumber> ParseDate(std::string_view text) {
    if (text.size() == 10 && text[4] == '-' && text[7] == '-') {
        return MakeDate(ExactDigits(text.substr(0, 4), 4), ExactDigits(text.substr(5, 2), 2),
                        ExactDigits(text.substr(8, 2), 2));
    }
    const auto first_slash = text.find('/');
    if (first_slash == std::string_view::npos) {
        return std::nullopt;
    }
    const auto second_slash = text.find('/', first_slash + 1);
    if (second_slash == std::string_view::npos) {
        return std::nullopt;
    }
    return MakeDate(ExactDigits(text.substr(second_slash + 1), 4),
                    ParseDigits(text.substr(0, first_slash), 2),
                    ParseDigits(text.substr(first_slash + 1, second_slash - first_slash - 1), 2));
}

std::optional<WeekKey> ParseWeekKey(std::string_view text) {
    std::optional<std::int32_t> year;
    std::optional<std::int32_t> week;
    if (text.size() == 6) {
        year = ExactDigits(text.substr(0, 4), 4);
        week = ExactDigits(text.substr(4, 2), 2);
    } else if (text.size() == 8 && text[4] == '-' && (text[5] == 'W' || text[5] == 'w')) {
        year = ExactDigits(text.substr(0, 4), 4);
        week = ExactDigits(text.substr(6, 2), 2);
    }
    if (!year || !week) {
        return std::nullopt;
    }
    return WeekKey{*year, *week};
}

std::string WeekKeyText(std::int32_t year, std::int32_t week) {
    return fmt::format(FMT_COMPILE("{:04}{:02}"), year, week);
}

std::string IsoDate(DayNumber day) {
    std::int32_t m = 0;
    std::int32_t d = 0;
    std::int32_t y = 0;
    JulianToMDY(day, m, d, y);
    return fmt::format(FMT_COMPILE("{:04}-{:02}-{:02}"), y, m, d);
}

} // namespace kalvara::cli
