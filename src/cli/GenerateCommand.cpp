#include "cli/GenerateCommand.h"

#include "cli/CliParsing.h"
#include "cli/OutputFile.h"
#include "core/NumberedCalendarFile.h"
#include "core/ProgramFolder.h"
#include "core/SettingsStore.h"
#include "render/CalendarDocument.h"

#include <algorithm>
#include <cctype>
#include <fmt/format.h>
#include <system_error>
#include <unistd.h>

namespace kalvara::cli {

namespace {

constexpr std::string_view Command = "generate";

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::optional<CalendarStyle> ParseStyle(const std::string& text) {
    static constexpr std::pair<std::string_view, CalendarStyle> Styles[] = {
        {"month", CalendarStyle::Month},
        {"quarter", CalendarStyle::Quarter},
        {"year", CalendarStyle::Year},
        {"3years", CalendarStyle::ThreeYears},
        {"strips", CalendarStyle::KeyboardStrips},
        {"planning", CalendarStyle::Planning}};
    const std::string word = Lower(text);
    for (const auto& [name, style] : Styles) {
        if (word == name || word == std::to_string(static_cast<int>(style))) {
            return style;
        }
    }
    return std::nullopt;
}

// The selection the words ask for, or the reason they do not make one.
std::string SelectionOf(const GenerateRequest& request, CalendarSelection& selection) {
    if (request.Style.empty()) {
        return "--style is required (month, quarter, year, 3years, strips or planning)";
    }
    const auto style = ParseStyle(request.Style);
    if (!style) {
        return fmt::format("unknown style '{}' (month, quarter, year, 3years, strips, planning "
                           "or 1 to 6)",
                           request.Style);
    }
    if (request.Year.empty()) {
        return "--year is required (1920 to 9999)";
    }
    const auto year = ParseYear(request.Year);
    if (!year) {
        return fmt::format("year '{}' is not a year from 1920 to 9999", request.Year);
    }
    std::int32_t period = AllPeriods;
    if (!request.Period.empty() && Lower(request.Period) != "all") {
        const auto month = ParseDigits(request.Period, 2);
        if (!month || *month < 1 || *month > 12) {
            return fmt::format("period '{}' is not a month from 1 to 12 or 'all'", request.Period);
        }
        period = *month;
    }
    selection.Style = *style;
    selection.StartYear = *year;
    selection.Period = period;
    return {};
}

void ApplyQuarters(std::optional<bool> quarters, CalendarSelection& selection) {
    if (!quarters) {
        return;
    }
    if (*quarters) {
        selection.Preferences |= ShowQuarters;
    } else {
        selection.Preferences &= static_cast<PreferenceSet>(~ShowQuarters);
    }
}

// What GenerateCalendar is told about where it writes.
GenerateEnvironment EnvironmentFor(const ProgramPaths& paths, const std::string& output) {
    GenerateEnvironment environment;
    environment.OutputPath = output;
    environment.TakeNumberedFile = [paths] {
        return TakeNumberedCalendarFile(paths.SettingsFile, paths.OutputFolder);
    };
    return environment;
}

// Why the numbered file cannot be written; empty when it can. Checked first
// so that a refused run does not use up a file number.
std::string OutputFolderProblem(const ProgramPaths& paths) {
    std::error_code error;
    std::string failed_level;
    if (!CreateFolders(paths.OutputFolder, error, failed_level)) {
        return "cannot create the folder " + paths.OutputFolder + ": " + error.message();
    }
    if (::access(paths.OutputFolder.c_str(), W_OK) != 0) {
        return "cannot write to the folder " + paths.OutputFolder;
    }
    return {};
}

// The document goes to standard output; no file and no file number.
int WriteToStandardOutput(const CalendarSelection& selection, const CommandIo& io) {
    BroadcastYearTable years;
    PdfRunState state;
    std::string bytes;
    if (!RenderCalendarDocument(selection, years, state, bytes)) {
        // Any PDF error notices have gone to stderr already.
        Refuse(io, Command, "no calendar was written");
        return NotWritten;
    }
    OutputWriter out(io.Out);
    out.Write(bytes);
    return FinishOutput(out, io, Command, 0);
}

} // namespace

int RunGenerateCommand(const GenerateRequest& request, const ProgramPaths& paths,
                       const CommandIo& io) {
    CalendarSelection selection;
    if (const std::string problem = SelectionOf(request, selection); !problem.empty()) {
        return Refuse(io, Command, problem);
    }
    const bool to_stdout = request.Output == StandardOutputName;
    if (!request.Output.empty() && !to_stdout) {
        if (const std::string problem = OutputFileProblem(request.Output); !problem.empty()) {
            return Refuse(io, Command, fmt::format("cannot write {}: {}", request.Output, problem));
        }
    }

    LoadPreferences(paths.SettingsFile, selection.Preferences);
    ApplyQuarters(request.Quarters, selection);
    if (to_stdout) {
        return WriteToStandardOutput(selection, io);
    }
    if (request.Output.empty()) {
        if (const std::string problem = OutputFolderProblem(paths); !problem.empty()) {
            return Refuse(io, Command, problem);
        }
    }

    BroadcastYearTable years;
    const std::string output =
        request.Output.empty() ? request.Output : FileBehindLinks(request.Output);
    const GenerateResult result = GenerateCalendar(selection, years, EnvironmentFor(paths, output));
    if (!result.Saved) {
        Refuse(io, Command,
               result.Problem.empty() ? std::string("no calendar was written") : result.Problem);
        return NotWritten;
    }
    OutputWriter out(io.Out);
    out.Format("{}\n", request.Output.empty() ? result.Path : request.Output);
    if (!result.NumberNotKept.empty()) {
        // The calendar is there and named, but the next run may take its
        // number again and replace it: that is a failure to report.
        const int status = FinishOutput(out, io, Command, NotWritten);
        Refuse(io, Command, result.NumberNotKept);
        return status;
    }
    return FinishOutput(out, io, Command, result.PdfErrorOccurred ? NotWritten : 0);
}

} // namespace kalvara::cli
