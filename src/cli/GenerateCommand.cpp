#include "cli/GenerateCommand.h"

#include "core/ProgramFolder.h"
#include "core/SettingsStore.h"
#include "render/CalendarDocument.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace kalvara::cli {

namespace {

constexpr std::int32_t FirstYear = 1920;
constexpr std::int32_t LastYear = 9999;

int Refuse(const std::string& message) {
    std::fprintf(stderr, "kalvara-cli: generate: %s\n", message.c_str());
    return 2;
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// Whole decimal numbers only: "2025" but not "2025x", "+5" or " 7".
std::optional<std::int32_t> WholeNumber(const std::string& text) {
    if (text.empty() || text.size() > 9 ||
        !std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); })) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(std::stol(text));
}

std::optional<CalendarStyle> ParseStyle(const std::string& text) {
    const std::string word = Lower(text);
    if (word == "month" || word == "1") {
        return CalendarStyle::Month;
    }
    if (word == "quarter" || word == "2") {
        return CalendarStyle::Quarter;
    }
    if (word == "year" || word == "3") {
        return CalendarStyle::Year;
    }
    if (word == "3years" || word == "4") {
        return CalendarStyle::ThreeYears;
    }
    if (word == "strips" || word == "5") {
        return CalendarStyle::KeyboardStrips;
    }
    if (word == "planning" || word == "6") {
        return CalendarStyle::Planning;
    }
    return std::nullopt;
}

struct GenerateArguments {
    std::string style;
    std::string year;
    std::string period;
    std::string output;
    std::optional<bool> quarters;
};

// Options take their value as the next word or after "=" ("--year=2025").
std::string ParseArguments(const std::vector<std::string>& args, GenerateArguments& parsed) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--quarters") {
            parsed.quarters = true;
            continue;
        }
        if (arg == "--no-quarters") {
            parsed.quarters = false;
            continue;
        }
        std::string name = arg;
        std::optional<std::string> value;
        const auto equals = arg.find('=');
        if (arg.rfind("--", 0) == 0 && equals != std::string::npos) {
            name = arg.substr(0, equals);
            value = arg.substr(equals + 1);
        }
        std::string* target = nullptr;
        if (name == "--style") {
            target = &parsed.style;
        } else if (name == "--year") {
            target = &parsed.year;
        } else if (name == "--period") {
            target = &parsed.period;
        } else if (name == "-o" || name == "--output") {
            target = &parsed.output;
        } else if (!arg.empty() && arg[0] == '-') {
            return "unknown option '" + arg + "' (see --help)";
        } else {
            return "unexpected argument '" + arg + "' (see --help)";
        }
        if (!value) {
            if (i + 1 >= args.size()) {
                return name + " needs a value";
            }
            value = args[++i];
        }
        if (value->empty()) {
            return name + " needs a value";
        }
        *target = *value;
    }
    return {};
}

// Why a file named with -o cannot be written, so that a mistyped path is
// refused as bad input before anything is drawn; empty when it can.
std::string OutputFileProblem(const std::string& path) {
    struct stat target {};
    if (::stat(path.c_str(), &target) == 0 && S_ISDIR(target.st_mode)) {
        return "cannot write " + path + ": it is a folder";
    }
    const auto slash = path.rfind('/');
    const std::string folder =
        slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        return "cannot write " + path + ": there is no folder " + folder;
    }
    if (::access(folder.c_str(), W_OK) != 0) {
        return "cannot write " + path + ": the folder " + folder + " is not writable";
    }
    return {};
}

} // namespace

int RunGenerateCommand(const std::vector<std::string>& args, const ProgramPaths& paths) {
    GenerateArguments parsed;
    if (const std::string error = ParseArguments(args, parsed); !error.empty()) {
        return Refuse(error);
    }
    if (parsed.style.empty()) {
        return Refuse("--style is required (month, quarter, year, 3years, strips or planning)");
    }
    const auto style = ParseStyle(parsed.style);
    if (!style) {
        return Refuse("unknown style '" + parsed.style +
                      "' (month, quarter, year, 3years, strips, planning or 1 to 6)");
    }
    if (parsed.year.empty()) {
        return Refuse("--year is required (1920 to 9999)");
    }
    const auto year = WholeNumber(parsed.year);
    if (!year || *year < FirstYear || *year > LastYear) {
        return Refuse("year '" + parsed.year + "' is not a year from 1920 to 9999");
    }
    std::int32_t period = AllPeriods;
    if (!parsed.period.empty() && Lower(parsed.period) != "all") {
        const auto month = WholeNumber(parsed.period);
        if (!month || *month < 1 || *month > 12) {
            return Refuse("period '" + parsed.period + "' is not a month from 1 to 12 or 'all'");
        }
        period = *month;
    }

    CalendarSelection selection;
    selection.Style = *style;
    selection.StartYear = *year;
    selection.Period = period;
    LoadPreferences(paths.SettingsFile, selection.Preferences);
    if (parsed.quarters) {
        if (*parsed.quarters) {
            selection.Preferences |= ShowQuarters;
        } else {
            selection.Preferences &= static_cast<PreferenceSet>(~ShowQuarters);
        }
    }

    GenerateEnvironment environment;
    environment.OutputPath = parsed.output;
    environment.TakeNumberedFile = [&paths] {
        return TakeNumberedCalendarFile(paths.SettingsFile, paths.OutputFolder);
    };
    if (parsed.output.empty()) {
        std::error_code error;
        std::string failed_level;
        if (!CreateFolders(paths.OutputFolder, error, failed_level)) {
            return Refuse("cannot create the folder " + paths.OutputFolder + ": " +
                          error.message());
        }
        // Checked first so that a refused run does not use up a file number.
        if (::access(paths.OutputFolder.c_str(), W_OK) != 0) {
            return Refuse("cannot write to the folder " + paths.OutputFolder);
        }
    } else if (const std::string problem = OutputFileProblem(parsed.output); !problem.empty()) {
        return Refuse(problem);
    }

    BroadcastYearTable years;
    const GenerateResult result = GenerateCalendar(selection, years, environment);
    if (!result.Saved) {
        // Any PDF error notices have gone to stderr already.
        std::fprintf(stderr, "kalvara-cli: generate: %s\n",
                     result.Problem.empty() ? "no calendar was written" : result.Problem.c_str());
        return 1;
    }
    std::printf("%s\n", result.Path.c_str());
    if (!result.NumberNotKept.empty()) {
        std::fprintf(stderr, "kalvara-cli: generate: %s\n", result.NumberNotKept.c_str());
        return 1;
    }
    return result.PdfErrorOccurred ? 1 : 0;
}

} // namespace kalvara::cli
