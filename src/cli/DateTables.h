#pragma once
// The year tables of `kalvara-cli`: broadcast months and broadcast weeks.
// Callers check their input first: these only write.

#include "cli/CliParsing.h"
#include "cli/OutputWriter.h"

#include <cstdint>

namespace kalvara::cli {

void WriteMonthsTable(OutputWriter& out, std::int32_t first_year, std::int32_t last_year,
                      OutputFormat format);
void WriteWeeksTable(OutputWriter& out, std::int32_t first_year, std::int32_t last_year,
                     OutputFormat format);

} // namespace kalvara::cli
