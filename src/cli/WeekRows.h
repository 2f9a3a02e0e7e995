#pragma once
// One broadcast week as every command prints it: `weeks`, `week`, `month` and
// `quarter` share the columns, so a script reads the same row everywhere.

#include "cli/CliParsing.h"
#include "cli/OutputWriter.h"
#include "engine/BroadcastYearTable.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace kalvara::cli {

struct WeekRow {
    std::int32_t Year = 0;  // the broadcast year, the year of the week's Sunday
    std::int32_t Week = 0;  // 1..53
    std::int32_t Month = 0; // the broadcast month, 1..12
    std::int32_t Quarter = 0;
    DayNumber Monday = 0;
    std::string QuarterLabel; // "2Q01"
};

// The week starting on the Monday, in broadcast month `month` of the year the
// table holds.
WeekRow MakeWeekRow(DayNumber monday, std::int32_t month, const BroadcastYearTable& table);

// 52 or 53 for the year the table holds.
std::int32_t WeeksInYear(const BroadcastYearTable& table);

// The column names of the week rows, in order, without a line break; extra
// columns (a lookup's own) follow after a comma.
inline constexpr std::string_view WeekCsvColumns =
    "year,week,monday,sunday,month,quarter_label,week_key,quarter";

// The heading line of the text table of weeks.
inline constexpr std::string_view WeekTextHeading =
    "Week  Monday      Sunday      Month      Quarter  Key\n";

// One row without its line break: a text table row, a CSV row, or a JSON
// object. A CSV caller may append its own columns before the line break.
void WriteWeekRow(OutputWriter& out, const WeekRow& row, OutputFormat format);

} // namespace kalvara::cli
