#pragma once
// One broadcast week, month or quarter looked up by its key, with its weeks.
// Callers check the year, month, quarter or week first: these only write.

#include "cli/CliParsing.h"
#include "cli/OutputWriter.h"

#include <cstdint>

namespace kalvara::cli {

// The week's row as `weeks` prints it; in JSON the object alone.
void WriteWeekLookup(OutputWriter& out, std::int32_t year, std::int32_t week, OutputFormat format);

// Broadcast month 1..12 of the year: its first and last day, its number of
// weeks, then its week rows.
void WriteMonthLookup(OutputWriter& out, std::int32_t year, std::int32_t month,
                      OutputFormat format);

// Quarter 1..4 of the year: three broadcast months (quarter 1 is January to
// March), 12 to 14 weeks.
void WriteQuarterLookup(OutputWriter& out, std::int32_t year, std::int32_t quarter,
                        OutputFormat format);

} // namespace kalvara::cli
