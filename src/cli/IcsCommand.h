#pragma once
// `kalvara-cli ics`: the broadcast weeks and months as an iCalendar file.

#include "cli/CommandIo.h"

#include <string>
#include <vector>

namespace kalvara::cli {

struct IcsRequest {
    std::vector<std::string> Words; // YEAR [TO_YEAR]
    std::string Output;             // empty or "-": standard output
    bool WeeksOnly = false;
    bool MonthsOnly = false;
};

int RunIcsCommand(const IcsRequest& request, const CommandIo& io);

} // namespace kalvara::cli
