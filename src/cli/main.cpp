// kalvara-cli: the broadcast calendar without the desktop.

#include "cli/DateTables.h"
#include "cli/GenerateCommand.h"
#include "core/DateNotice.h"
#include "core/Notice.h"
#include "core/ProgramFolder.h"
#include "engine/BroadcastYearTable.h"
#include "kalvara/Version.h"

#include <cstdio>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using kalvara::cli::OutputFormat;

constexpr const char* Usage = R"(Usage: kalvara-cli [--home DIR] COMMAND [ARGUMENTS]

Prints the standard broadcast calendar: weeks run Monday to Sunday, a broadcast
month ends on the last Sunday of its calendar month, and 5-week months are
marked "*". Years run from 1920 to 9999.

Commands:
  months YEAR [TO_YEAR] [--format text|csv|json]
      The twelve broadcast months of each year.
  weeks YEAR [TO_YEAR] [--format text|csv|json]
      Every broadcast week of each year, with its quarter label (1Q05).
  date [DATE] [--format text|json]
      Where a date (2026-01-01 or 01/01/2026; today without one) falls:
      broadcast year, month, week number and quarter label.
  generate --style STYLE --year YEAR [--period 1-12|all]
           [--quarters | --no-quarters] [-o FILE]
      Writes a calendar PDF. STYLE is month, quarter, year, 3years, strips
      or planning (or 1 to 6). Without -o the next numbered file in the
      program folder's PDF folder is written. Prints the path written.

Options:
  --home DIR   program folder (settings file and calendars); otherwise
               $KALVARA_HOME, the program's own folder when writable, or
               $XDG_DATA_HOME/kalvara
  --help       show this help
  --version    show the version

Exit status: 0 success, 1 no calendar was written (a PDF or file error),
2 bad input.
)";

// Thrown nowhere: every problem ends here, with one line on stderr.
int Refuse(const std::string& message) {
    std::fprintf(stderr, "kalvara-cli: %s\n", message.c_str());
    return 2;
}

void Print(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
}

struct TableArguments {
    std::vector<std::string> positional;
    OutputFormat format = OutputFormat::Text;
    std::string error;
};

TableArguments ParseTableArguments(const std::vector<std::string>& args, bool csv_allowed) {
    TableArguments parsed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        std::string format_text;
        if (arg == "--format") {
            if (i + 1 >= args.size()) {
                parsed.error = "--format needs a value (text, csv or json)";
                return parsed;
            }
            format_text = args[++i];
        } else if (arg.rfind("--format=", 0) == 0) {
            format_text = arg.substr(9);
        } else if (arg.size() > 1 && arg[0] == '-' && !(arg[1] >= '0' && arg[1] <= '9')) {
            parsed.error = "unknown option '" + arg + "'";
            return parsed;
        } else {
            parsed.positional.push_back(arg);
            continue;
        }
        const auto format = kalvara::cli::ParseOutputFormat(format_text);
        if (!format || (*format == OutputFormat::Csv && !csv_allowed)) {
            parsed.error = "unknown format '" + format_text + "' (use " +
                           (csv_allowed ? "text, csv or json" : "text or json") + ")";
            return parsed;
        }
        parsed.format = *format;
    }
    return parsed;
}

int RunYearTable(const std::string& command, const std::vector<std::string>& args) {
    const TableArguments parsed = ParseTableArguments(args, true);
    if (!parsed.error.empty()) {
        return Refuse(command + ": " + parsed.error);
    }
    if (parsed.positional.empty() || parsed.positional.size() > 2) {
        return Refuse(command + ": expected YEAR [TO_YEAR]");
    }
    std::optional<std::int32_t> years[2];
    for (std::size_t i = 0; i < parsed.positional.size(); ++i) {
        years[i] = kalvara::cli::ParseYear(parsed.positional[i]);
        if (!years[i]) {
            return Refuse(command + ": '" + parsed.positional[i] +
                          "' is not a year from 1920 to 9999");
        }
    }
    const std::int32_t first = *years[0];
    const std::int32_t last = years[1] ? *years[1] : first;
    if (last < first) {
        return Refuse(command + ": the range ends (" + std::to_string(last) +
                      ") before it starts (" + std::to_string(first) + ")");
    }
    Print(command == "months" ? kalvara::cli::MonthsTable(first, last, parsed.format)
                              : kalvara::cli::WeeksTable(first, last, parsed.format));
    return 0;
}

int RunDate(const std::vector<std::string>& args) {
    const TableArguments parsed = ParseTableArguments(args, false);
    if (!parsed.error.empty()) {
        return Refuse("date: " + parsed.error);
    }
    if (parsed.positional.size() > 1) {
        return Refuse("date: expected at most one DATE");
    }
    kalvara::DayNumber day = 0;
    if (parsed.positional.empty()) {
        std::string order;
        day = kalvara::Date2JulianDate("", order);
    } else {
        const auto parsed_day = kalvara::cli::ParseDate(parsed.positional[0]);
        if (!parsed_day) {
            return Refuse("date: '" + parsed.positional[0] +
                          "' is not a date (use 2026-01-01 or 01/01/2026)");
        }
        day = *parsed_day;
    }
    std::int32_t broadcast_year = 0;
    kalvara::BroadcastMonthOf(day, broadcast_year);
    if (broadcast_year < 1920 || broadcast_year > 9999) {
        return Refuse("date: " + kalvara::cli::IsoDate(day) +
                      " lies outside the broadcast years 1920 to 9999");
    }
    Print(kalvara::cli::DateReport(day, parsed.format));
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    kalvara::SetNoticeHook(
        [](const std::string& title, const std::string& text1, const std::string& text2) {
            std::fprintf(stderr, "kalvara-cli: %s\n",
                         kalvara::PlainNotice(title, text1, text2).c_str());
        });

    std::vector<std::string> args(argv + 1, argv + argc);
    std::string home;
    std::size_t i = 0;
    for (; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            Print(Usage);
            return 0;
        }
        if (arg == "--version") {
            Print(std::string(kalvara::VersionText) + "\n");
            return 0;
        }
        if (arg == "--home") {
            if (i + 1 >= args.size() || args[i + 1].empty()) {
                return Refuse("--home needs a folder");
            }
            home = args[++i];
        } else if (arg.rfind("--home=", 0) == 0) {
            home = arg.substr(7);
            if (home.empty()) {
                return Refuse("--home needs a folder");
            }
        } else if (!arg.empty() && arg[0] == '-') {
            return Refuse("unknown option '" + arg + "' (see --help)");
        } else {
            break;
        }
    }
    if (i >= args.size()) {
        std::fputs(Usage, stderr);
        return 2;
    }
    const std::string command = args[i];
    const std::vector<std::string> rest(args.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                                        args.end());
    for (const std::string& arg : rest) {
        if (arg == "--help" || arg == "-h") {
            Print(Usage);
            return 0;
        }
    }

    if (command == "months" || command == "weeks") {
        return RunYearTable(command, rest);
    }
    if (command == "date") {
        return RunDate(rest);
    }
    if (command == "generate") {
        const kalvara::FolderResolution folders =
            kalvara::ResolveProgramPaths(kalvara::ProcessFolderSources(home));
        if (!folders.Error.empty()) {
            return Refuse(folders.Error);
        }
        return kalvara::cli::RunGenerateCommand(rest, folders.Paths);
    }
    return Refuse("unknown command '" + command + "' (see --help)");
}
