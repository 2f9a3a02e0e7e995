#include "app/DesktopCommandLine.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QStringList>
#include <cstdlib>

namespace kalvara {

namespace {

constexpr const char* UpdateArgument = "/update";
constexpr const char* HomeNeedsFolder = "--home needs a folder";

bool IsSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

// The word the user typed for an option the parser did not know, so that the
// message repeats it as written ("--frobnicate", not "frobnicate").
std::string AsTyped(const std::vector<std::string>& args, const QString& name) {
    for (const std::string& arg : args) {
        const QString word = QString::fromStdString(arg);
        if (word == "-" + name || word == "--" + name || word.startsWith("--" + name + "=")) {
            return arg;
        }
    }
    return (name.size() == 1 ? "-" : "--") + name.toStdString();
}

} // namespace

DesktopCommandLine ParseDesktopCommandLine(const std::vector<std::string>& args) {
    DesktopCommandLine result;
    auto fail = [&result](std::string message) {
        result.action = DesktopCommandLine::Action::Error;
        result.error = std::move(message);
        return result;
    };

    // The installer's "/update" is no option in the parser's sense: it counts
    // only as the very first word, exactly so, and is taken off before the
    // options are read.
    auto first = args.begin();
    if (first != args.end() && *first == UpdateArgument) {
        result.after_update = true;
        ++first;
    }
    QStringList words{QStringLiteral("kalvara")};
    for (auto arg = first; arg != args.end(); ++arg) {
        words << QString::fromStdString(*arg);
    }

    QCommandLineParser parser;
    const QCommandLineOption help(QStringList{"h", "help"});
    const QCommandLineOption version("version");
    const QCommandLineOption home(QStringLiteral("home"), QString(), QStringLiteral("DIR"));
    parser.addOption(help);
    parser.addOption(version);
    parser.addOption(home);

    const bool parsed = parser.parse(words);
    // --help and --version answer even beside a folder option, as before.
    if (parsed && parser.isSet(help)) {
        result.action = DesktopCommandLine::Action::Help;
        return result;
    }
    if (parsed && parser.isSet(version)) {
        result.action = DesktopCommandLine::Action::Version;
        return result;
    }
    if (!parser.unknownOptionNames().isEmpty()) {
        return fail("unknown argument: " + AsTyped(args, parser.unknownOptionNames().front()));
    }
    if (!parsed) {
        // The one option with a value is the only one that can miss it.
        return fail(HomeNeedsFolder);
    }
    if (!parser.positionalArguments().isEmpty()) {
        return fail("unknown argument: " + parser.positionalArguments().front().toStdString());
    }
    if (parser.isSet(home)) {
        const QStringList folders = parser.values(home);
        result.home = folders.back().toStdString();
        if (result.home.empty()) {
            return fail(HomeNeedsFolder);
        }
    }
    return result;
}

std::string DesktopUsage() {
    return "Usage: kalvara [/update] [--home DIR]\n"
           "Prints the broadcast calendar: pick a style and a starting year, press Generate,\n"
           "and the calendar opens as a PDF in your PDF reader.\n"
           "\n"
           "Options:\n"
           "  --home DIR   keep the settings (Zorv.ini) and calendars (PDF/) in DIR\n"
           "               (default: $KALVARA_HOME, the program's own folder when writable,\n"
           "               else ~/.local/share/kalvara)\n"
           "  --version    print the version and exit\n"
           "  -h, --help   print this help and exit\n"
           "  /update      as the first argument: the program was just updated\n"
           "\n"
           "Without a display, use kalvara-cli to write calendars from the command line.\n";
}

bool HasDisplay() {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    const std::string chosen = platform != nullptr ? platform : "";
    // Asking for X11 or Wayland by name still needs that display; Qt would
    // only abort without it.
    if (chosen.rfind("xcb", 0) == 0) {
        return IsSet("DISPLAY");
    }
    if (chosen.rfind("wayland", 0) == 0) {
        return IsSet("WAYLAND_DISPLAY");
    }
    return !chosen.empty() || IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY");
}

std::string NoDisplayMessage() {
    return "kalvara: no display to show the window on (neither DISPLAY nor WAYLAND_DISPLAY is "
           "set).\n"
           "Start it from a desktop session, or write calendars without one with kalvara-cli, "
           "for example:\n"
           "  kalvara-cli generate --style year --year 2025 -o calendar.pdf\n";
}

} // namespace kalvara
