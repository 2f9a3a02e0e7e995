#pragma once
// The date tables of `kalvara-cli`: broadcast months, broadcast weeks, and
// where one date falls. Each builds its whole output as text, so nothing
// reaches stdout unless the command succeeds.

#include "engine/CivilDate.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kalvara::cli {

enum class OutputFormat { Text, Csv, Json };

// "text", "csv" or "json".
std::optional<OutputFormat> ParseOutputFormat(std::string_view text);

// A whole year 1920..9999 written with digits only.
std::optional<std::int32_t> ParseYear(std::string_view text);

// A real calendar date as 2026-01-01 (ISO) or 01/01/2026 (US).
std::optional<DayNumber> ParseDate(std::string_view text);

// 2026-01-01.
std::string IsoDate(DayNumber day);

std::string MonthsTable(std::int32_t first_year, std::int32_t last_year, OutputFormat format);
std::string WeeksTable(std::int32_t first_year, std::int32_t last_year, OutputFormat format);
// The date must lie in broadcast years 1920..9999.
std::string DateReport(DayNumber day, OutputFormat format);

} // namespace kalvara::cli
