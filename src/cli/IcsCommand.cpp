#include "cli/IcsCommand.h"

#include "cli/CliParsing.h"
#include "cli/OutputFile.h"
#include "core/AtomicFile.h"
#include "ics/IcsCalendar.h"

#include <cstring>
#include <fmt/format.h>
#include <optional>

namespace kalvara::cli {

namespace {

constexpr std::string_view Command = "ics";

// The years asked for, or the reason they are not a range.
std::string YearsOf(const std::vector<std::string>& words, std::int32_t& first,
                    std::int32_t& last) {
    if (words.empty() || words.size() > 2) {
        return "expected YEAR [TO_YEAR]";
    }
    std::optional<std::int32_t> years[2];
    for (std::size_t i = 0; i < words.size(); ++i) {
        years[i] = ParseYear(words[i]);
        if (!years[i]) {
            return fmt::format("'{}' is not a year from 1920 to 9999", words[i]);
        }
    }
    first = *years[0];
    last = years[1] ? *years[1] : first;
    if (last < first) {
        return fmt::format("the range ends ({}) before it starts ({})", last, first);
    }
    return {};
}

IcsContent ContentOf(const IcsRequest& request) {
    if (request.WeeksOnly) {
        return IcsContent::WeeksOnly;
    }
    return request.MonthsOnly ? IcsContent::MonthsOnly : IcsContent::WeeksAndMonths;
}

} // namespace

int RunIcsCommand(const IcsRequest& request, const CommandIo& io) {
    std::int32_t first = 0;
    std::int32_t last = 0;
    if (const std::string problem = YearsOf(request.Words, first, last); !problem.empty()) {
        return Refuse(io, Command, problem);
    }
    if (request.WeeksOnly && request.MonthsOnly) {
        return Refuse(io, Command, "--weeks and --months exclude each other (both is the default)");
    }
    const bool to_stdout = request.Output.empty() || request.Output == StandardOutputName;
    if (!to_stdout) {
        if (const std::string problem = OutputFileProblem(request.Output); !problem.empty()) {
            return Refuse(io, Command, fmt::format("cannot write {}: {}", request.Output, problem));
        }
    }
    const IcsResult calendar = BroadcastCalendarIcs(first, last, ContentOf(request));
    if (!calendar.Problem.empty()) {
        return Refuse(io, Command, calendar.Problem);
    }
    OutputWriter out(io.Out);
    if (to_stdout) {
        out.Write(calendar.Text);
        return FinishOutput(out, io, Command, 0);
    }
    if (const AtomicWriteError error =
            ReplaceFileAtomically(FileBehindLinks(request.Output), calendar.Text)) {
        Refuse(io, Command,
               fmt::format("cannot write {}: {}", request.Output, std::strerror(error.Errno)));
        return NotWritten;
    }
    out.Format("{}\n", request.Output);
    return FinishOutput(out, io, Command, 0);
}

} // namespace kalvara::cli
