#pragma once
// Reading the words of the command line: formats, years, dates and week keys.
// Each reader accepts exactly one spelling of a value and nothing around it.

#include "engine/BroadcastYearTable.h"
#include "engine/CalendarNames.h"
#include "engine/CivilDate.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kalvara::cli {

enum class OutputFormat { Text, Csv, Json };

inline constexpr std::int32_t FirstYear = FirstBroadcastYear;
inline constexpr std::int32_t LastYear = LastBroadcastYear;

// "text", "csv" or "json".
std::optional<OutputFormat> ParseOutputFormat(std::string_view text);

// Decimal digits only, at most max_digits of them: "12" but not "+12", " 12"
// or "12x".
std::optional<std::int32_t> ParseDigits(std::string_view text, std::size_t max_digits);

// A whole year 1920..9999 written with digits only.
std::optional<std::int32_t> ParseYear(std::string_view text);

// A real calendar date as 2026-01-01 (ISO) or 01/01/2026 (US).
std::optional<DayNumber> ParseDate(std::string_view text);

struct WeekKey {
    std::int32_t Year = 0;
    std::int32_t Week = 0;
};

// 202614 or 2026-W14 (the "W" in either case). Only the spelling is checked:
// the year and week still have to be looked up.
std::optional<WeekKey> ParseWeekKey(std::string_view text);

// "202614": the year and the week as two digits.
std::string WeekKeyText(std::int32_t year, std::int32_t week);

// 2026-01-01.
std::string IsoDate(DayNumber day);

} // namespace kalvara::cli
