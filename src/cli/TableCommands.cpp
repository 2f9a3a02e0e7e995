#include "cli/TableCommands.h"

#include "cli/CliParsing.h"
#include "cli/DateReports.h"
#include "cli/DateTables.h"
#include "cli/PeriodTables.h"
#include "cli/WeekRows.h"
#include "core/DateNotice.h"
#include "engine/BroadcastYearTable.h"

#include <cstdlib>
#include <fmt/format.h>
#include <optional>
#include <stdio.h>

namespace kalvara::cli {

namespace {

// The format, or a refusal already said.
std::optional<OutputFormat> FormatOf(const LookupRequest& request, const CommandIo& io,
                                     std::string_view command) {
    const auto format = ParseOutputFormat(request.Format);
    if (!format) {
        Refuse(io, command,
               fmt::format("unknown format '{}' (use text, csv or json)", request.Format));
    }
    return format;
}

std::optional<std::int32_t> YearOf(const std::string& word, const CommandIo& io,
                                   std::string_view command) {
    const auto year = ParseYear(word);
    if (!year) {
        Refuse(io, command, fmt::format("'{}' is not a year from 1920 to 9999", word));
    }
    return year;
}

int RunYearTable(const LookupRequest& request, const CommandIo& io, std::string_view command,
                 void (*write)(OutputWriter&, std::int32_t, std::int32_t, OutputFormat)) {
    const auto format = FormatOf(request, io, command);
    if (!format) {
        return BadInput;
    }
    if (request.Words.empty() || request.Words.size() > 2) {
        return Refuse(io, command, "expected YEAR [TO_YEAR]");
    }
    const auto first = YearOf(request.Words[0], io, command);
    if (!first) {
        return BadInput;
    }
    std::int32_t last = *first;
    if (request.Words.size() == 2) {
        const auto to_year = YearOf(request.Words[1], io, command);
        if (!to_year) {
            return BadInput;
        }
        last = *to_year;
    }
    if (last < *first) {
        return Refuse(io, command,
                      fmt::format("the range ends ({}) before it starts ({})", last, *first));
    }
    OutputWriter out(io.Out);
    write(out, *first, last, *format);
    return FinishOutput(out, io, command, 0);
}

// A year and a number 1..limit after it, as `month` and `quarter` take them.
std::optional<std::int32_t> NumberOf(const std::string& word, std::int32_t limit,
                                     std::string_view what, const CommandIo& io,
                                     std::string_view command) {
    const auto number = ParseDigits(word, 2);
    if (!number || *number < 1 || *number > limit) {
        Refuse(io, command, fmt::format("'{}' is not a {} from 1 to {}", word, what, limit));
        return std::nullopt;
    }
    return number;
}

int RunPeriodLookup(const LookupRequest& request, const CommandIo& io, std::string_view command,
                    std::int32_t limit,
                    void (*write)(OutputWriter&, std::int32_t, std::int32_t, OutputFormat)) {
    const auto format = FormatOf(request, io, command);
    if (!format) {
        return BadInput;
    }
    if (request.Words.size() != 2) {
        return Refuse(io, command,
                      fmt::format("expected YEAR {}", limit == 12 ? "MONTH" : "QUARTER"));
    }
    const auto year = YearOf(request.Words[0], io, command);
    if (!year) {
        return BadInput;
    }
    const auto number = NumberOf(request.Words[1], limit, command, io, command);
    if (!number) {
        return BadInput;
    }
    OutputWriter out(io.Out);
    write(out, *year, *number, *format);
    return FinishOutput(out, io, command, 0);
}

// The problem with one date, empty when it can be answered.
std::string DateProblem(std::string_view word, DayNumber& day) {
    const auto parsed = ParseDate(word);
    if (!parsed) {
        return fmt::format("'{}' is not a date (use 2026-01-01 or 01/01/2026)", word);
    }
    std::int32_t broadcast_year = 0;
    BroadcastMonthOf(*parsed, broadcast_year);
    if (broadcast_year < FirstYear || broadcast_year > LastYear) {
        return fmt::format("{} lies outside the broadcast years 1920 to 9999", IsoDate(*parsed));
    }
    day = *parsed;
    return {};
}

std::string_view WithoutLineEnd(std::string_view line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) {
        line.remove_suffix(1);
    }
    return line;
}

// Answers one date; false after reporting why it could not.
bool AnswerDate(std::string_view word, DateReports& reports, const CommandIo& io) {
    DayNumber day = 0;
    if (const std::string problem = DateProblem(word, day); !problem.empty()) {
        Refuse(io, "date", problem);
        return false;
    }
    reports.Write(day);
    return true;
}

// One date a line; blank lines are skipped. False when any line was refused.
bool AnswerDatesFrom(std::FILE* in, DateReports& reports, const CommandIo& io,
                     const OutputWriter& out) {
    bool all_valid = true;
    char* line = nullptr;
    std::size_t capacity = 0;
    ssize_t length = 0;
    while (!out.Failed() && (length = ::getline(&line, &capacity, in)) >= 0) {
        const std::string_view word = WithoutLineEnd({line, static_cast<std::size_t>(length)});
        if (!word.empty()) {
            all_valid = AnswerDate(word, reports, io) && all_valid;
        }
    }
    std::free(line);
    return all_valid;
}

DayNumber Today() {
    std::string order;
    return Date2JulianDate("", order);
}

} // namespace

int RunMonthsCommand(const LookupRequest& request, const CommandIo& io) {
    return RunYearTable(request, io, "months", WriteMonthsTable);
}

int RunWeeksCommand(const LookupRequest& request, const CommandIo& io) {
    return RunYearTable(request, io, "weeks", WriteWeeksTable);
}

int RunWeekCommand(const LookupRequest& request, const CommandIo& io) {
    const auto format = FormatOf(request, io, "week");
    if (!format) {
        return BadInput;
    }
    if (request.Words.size() != 1) {
        return Refuse(io, "week", "expected one week KEY (202614 or 2026-W14)");
    }
    const std::string& word = request.Words[0];
    const auto key = ParseWeekKey(word);
    if (!key) {
        return Refuse(io, "week",
                      fmt::format("'{}' is not a week key (use 202614 or 2026-W14)", word));
    }
    if (key->Year < FirstYear || key->Year > LastYear) {
        return Refuse(io, "week",
                      fmt::format("'{}': {} is not a year from 1920 to 9999", word, key->Year));
    }
    BroadcastYearTable table;
    InitDaysInMonth(table);
    BuildBroadcastYear(key->Year, table);
    const std::int32_t weeks = WeeksInYear(table);
    if (key->Week < 1 || key->Week > weeks) {
        return Refuse(
            io, "week",
            fmt::format("'{}': broadcast year {} has weeks 1 to {}", word, key->Year, weeks));
    }
    OutputWriter out(io.Out);
    WriteWeekLookup(out, key->Year, key->Week, *format);
    return FinishOutput(out, io, "week", 0);
}

int RunMonthCommand(const LookupRequest& request, const CommandIo& io) {
    return RunPeriodLookup(request, io, "month", 12, WriteMonthLookup);
}

int RunQuarterCommand(const LookupRequest& request, const CommandIo& io) {
    return RunPeriodLookup(request, io, "quarter", 4, WriteQuarterLookup);
}

int RunDateCommand(const LookupRequest& request, const CommandIo& io) {
    const auto format = FormatOf(request, io, "date");
    if (!format) {
        return BadInput;
    }
    OutputWriter out(io.Out);
    DateReports reports(out, *format);
    bool all_valid = true;
    if (request.Words.empty()) {
        reports.Write(Today());
    }
    for (const std::string& word : request.Words) {
        if (out.Failed()) {
            break;
        }
        if (word == "-") {
            all_valid = AnswerDatesFrom(io.In, reports, io, out) && all_valid;
        } else {
            all_valid = AnswerDate(word, reports, io) && all_valid;
        }
    }
    return FinishOutput(out, io, "date", all_valid ? 0 : BadInput);
}

} // namespace kalvara::cli
