#include "kalvara/Version.h"
#include "cli/Cli.h"

#include "cli/GenerateCommand.h"
#include "cli/IcsCommand.h"
#include "cli/NoticesToStream.h"
#include "cli/TableCommands.h"
#include "core/ProgramFolder.h"

#include <CLI/CLI.hpp>
#include <exception>
#include <optional>
#include <fmt/format.h>

namespace kalvara::cli {

namespace {

constexpr const char* Description =
    "Prints the standard broadcast calendar: weeks run Monday to Sunday, a broadcast\n"
    "month ends on the last Sunday of its calendar month, and 5-week months are\n"
    "marked \"*\". Years run from 1920 to 9999.";

constexpr const char* Footer =
    "Run kalvara-cli COMMAND --help for the words of one command.\n"
    "Exit status: 0 success, 1 nothing (or not everything) was written, 2 bad input.";

// Everything the command line can ask for, filled in by the parser.
struct Request {
    std::string Home;
    LookupRequest Lookup;
    GenerateRequest Generate;
    IcsRequest Ics;
};

// The folders for the commands that use them; nothing after saying, in one
// line, why they cannot be used.
std::optional<ProgramPaths> ProgramPathsFor(const std::string& home_option, const CommandIo& io) {
    const FolderResolution folders = ResolveProgramPaths(ProcessFolderSources(home_option));
    if (!folders.Error.empty()) {
        Refuse(io, "", folders.Error);
        return std::nullopt;
    }
    return folders.Paths;
}

// An empty -o would otherwise mean "no -o" and write somewhere else.
const CLI::Validator FileName(
    [](std::string& value) {
        return value.empty() ? std::string("needs a file name") : std::string();
    },
    "FILE");

CLI::App* AddLookup(CLI::App& app, const char* name, const char* help, const char* words,
                    const char* words_help, Request& request) {
    CLI::App* command = app.add_subcommand(name, help);
    command->add_option(words, request.Lookup.Words, words_help);
    command->add_option("--format", request.Lookup.Format, "text (the default), csv or json");
    return command;
}

void AddCommands(CLI::App& app, Request& request) {
    AddLookup(app, "months", "The twelve broadcast months of each year.", "YEAR",
              "YEAR [TO_YEAR], 1920 to 9999", request);
    AddLookup(app, "weeks", "Every broadcast week of each year, with its quarter label and key.",
              "YEAR", "YEAR [TO_YEAR], 1920 to 9999", request);
    AddLookup(app, "week", "One broadcast week by its key.", "KEY",
              "202614 or 2026-W14: year and week", request);
    AddLookup(app, "month", "One broadcast month: its days, weeks and week rows.", "YEAR MONTH",
              "the year and the month 1 to 12", request);
    AddLookup(app, "quarter",
              "One quarter: three broadcast months (quarter 1 is January to March).",
              "YEAR QUARTER", "the year and the quarter 1 to 4", request);
    AddLookup(app, "date", "Where dates fall: broadcast year, month, week, key and quarter label.",
              "DATE",
              "2026-01-01 or 01/01/2026, any number of them; - reads one a line from standard "
              "input; none means today",
              request);

    CLI::App* generate = app.add_subcommand("generate", "Writes a calendar PDF.");
    generate->add_option("--style", request.Generate.Style,
                         "month, quarter, year, 3years, strips or planning (or 1 to 6)");
    generate->add_option("--year", request.Generate.Year, "the year to print, 1920 to 9999");
    generate->add_option("--period", request.Generate.Period,
                         "Month and Quarter: the month 1 to 12 to start with, or all");
    generate->add_flag_callback(
        "--quarters", [&request] { request.Generate.Quarters = true; },
        "week numbers with quarter labels (default: the settings file)");
    generate->add_flag_callback(
        "--no-quarters", [&request] { request.Generate.Quarters = false; },
        "week numbers without quarter labels");
    generate
        ->add_option("-o,--output", request.Generate.Output,
                     "the file to write, - for standard output (default: the next numbered "
                     "file in the program folder)")
        ->check(FileName);

    CLI::App* ics = app.add_subcommand("ics", "The broadcast weeks and months as an iCalendar "
                                              "file, for calendar apps.");
    ics->add_option("YEAR", request.Ics.Words, "YEAR [TO_YEAR], 1920 to 9999");
    ics->add_option("-o,--output", request.Ics.Output,
                    "the file to write (default, or -: standard output)")
        ->check(FileName);
    ics->add_flag("--weeks", request.Ics.WeeksOnly, "the weeks only");
    ics->add_flag("--months", request.Ics.MonthsOnly, "the months only");
}

int Dispatch(const std::string& command, const Request& request, const CommandIo& io) {
    if (command == "months") {
        return RunMonthsCommand(request.Lookup, io);
    }
    if (command == "weeks") {
        return RunWeeksCommand(request.Lookup, io);
    }
    if (command == "week") {
        return RunWeekCommand(request.Lookup, io);
    }
    if (command == "month") {
        return RunMonthCommand(request.Lookup, io);
    }
    if (command == "quarter") {
        return RunQuarterCommand(request.Lookup, io);
    }
    if (command == "date") {
        return RunDateCommand(request.Lookup, io);
    }
    if (command == "ics") {
        return RunIcsCommand(request.Ics, io);
    }
    const std::optional<ProgramPaths> paths = ProgramPathsFor(request.Home, io);
    if (!paths) {
        return BadInput;
    }
    return RunGenerateCommand(request.Generate, *paths, io);
}

// The first word that is neither an option nor the value of --home: what the
// user meant as the command.
std::string CommandWord(const std::vector<std::string>& args) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--home") {
            ++i;
        } else if (args[i].empty() || args[i][0] != '-') {
            return args[i];
        }
    }
    return {};
}

// "--home=" or "--home ''" before the command, which the parser would take
// for a missing value and then read the command as the folder.
bool EmptyHome(const std::vector<std::string>& args) {
    for (std::size_t i = 0; i < args.size() && !args[i].empty() && args[i][0] == '-'; ++i) {
        if (args[i] == "--home=" ||
            (args[i] == "--home" && i + 1 < args.size() && args[i + 1].empty())) {
            return true;
        }
        if (args[i] == "--home") {
            ++i;
        }
    }
    return false;
}

std::string OneLine(std::string text) {
    for (char& c : text) {
        if (c == '\n' || c == '\r') {
            c = ' ';
        }
    }
    while (!text.empty() && text.back() == ' ') {
        text.pop_back();
    }
    return text;
}

int RefuseParse(CLI::App& app, const CLI::ParseError& error, const std::vector<std::string>& args,
                const CommandIo& io) {
    const std::vector<CLI::App*> commands = app.get_subcommands();
    if (commands.empty()) {
        const std::string word = CommandWord(args);
        if (!word.empty() && dynamic_cast<const CLI::RequiredError*>(&error) != nullptr) {
            return Refuse(io, "", fmt::format("unknown command '{}' (see --help)", word));
        }
        return Refuse(io, "", OneLine(error.what()) + " (see --help)");
    }
    return Refuse(io, commands.back()->get_name(), OneLine(error.what()) + " (see --help)");
}

int Parse(CLI::App& app, const std::vector<std::string>& args, const CommandIo& io) {
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        OutputWriter out(io.Out);
        out.Write(app.help());
        return FinishOutput(out, io, "", 0);
    } catch (const CLI::CallForVersion&) {
        OutputWriter out(io.Out);
        out.Format("{}\n", kalvara::VersionText);
        return FinishOutput(out, io, "", 0);
    } catch (const CLI::ParseError& error) {
        return RefuseParse(app, error, args, io);
    }
    return -1;
}

} // namespace

int RunCli(const std::vector<std::string>& args, const CommandIo& io) {
    try {
        CLI::App app(Description, "kalvara-cli");
        app.footer(Footer);
        app.require_subcommand(1);
        Request request;
        app.add_option("--home", request.Home,
                       "program folder (settings file and calendars); otherwise $KALVARA_HOME "
                       "or the usual folders");
        app.set_version_flag("--version", kalvara::VersionText, "show the version");
        AddCommands(app, request);
        if (args.empty()) {
            fmt::print(io.Err, "{}", app.help());
            return BadInput;
        }
        if (EmptyHome(args)) {
            return Refuse(io, "", "--home needs a folder");
        }
        if (const int status = Parse(app, args, io); status >= 0) {
            return status;
        }
        if (app.count("--home") > 0 && request.Home.empty()) {
            return Refuse(io, "", "--home needs a folder");
        }
        // Notices of the layers below reach stderr as one line each.
        NoticesToStream notices(io.Err);
        return Dispatch(app.get_subcommands().front()->get_name(), request, io);
    } catch (const std::exception& error) {
        // Nothing below is meant to throw; should it, the user still gets one
        // line instead of an abort.
        return Refuse(io, "", OneLine(error.what()));
    }
}

} // namespace kalvara::cli
