#pragma once
// The lookups of `kalvara-cli`: months, weeks, week, month, quarter and date.
// Each checks its words, then writes its answer through one buffered writer.

#include "cli/CommandIo.h"

#include <string>
#include <vector>

namespace kalvara::cli {

// The words common to every lookup: its positional words and --format.
struct LookupRequest {
    std::vector<std::string> Words;
    std::string Format = "text";
};

int RunMonthsCommand(const LookupRequest& request, const CommandIo& io);
int RunWeeksCommand(const LookupRequest& request, const CommandIo& io);
int RunWeekCommand(const LookupRequest& request, const CommandIo& io);
int RunMonthCommand(const LookupRequest& request, const CommandIo& io);
int RunQuarterCommand(const LookupRequest& request, const CommandIo& io);

// Every date of Words in order ("-" reads one date a line from standard
// input; no words means today). An invalid date is reported and the rest are
// still answered; the status is then BadInput.
int RunDateCommand(const LookupRequest& request, const CommandIo& io);

} // namespace kalvara::cli
