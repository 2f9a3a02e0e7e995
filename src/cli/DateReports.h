#pragma once
// Where dates fall, for `kalvara-cli date`.

#include "cli/CliParsing.h"
#include "cli/OutputWriter.h"

namespace kalvara::cli {

// Several dates answer in one output: text reports are separated by a blank
// line, CSV rows share one heading, JSON objects stand one a line.
class DateReports {
public:
    DateReports(OutputWriter& out, OutputFormat format) : out_(out), format_(format) {}

    // The date must lie in broadcast years 1920..9999.
    void Write(DayNumber day);

private:
    OutputWriter& out_;
    OutputFormat format_;
    bool first_ = true;
};

} // namespace kalvara::cli
