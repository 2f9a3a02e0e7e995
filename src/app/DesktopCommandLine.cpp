#include "app/DesktopCommandLine.h"

#include <cstdlib>

namespace kalvara {

namespace {

bool IsSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

} // namespace

DesktopCommandLine ParseDesktopCommandLine(const std::vector<std::string>& args) {
    DesktopCommandLine result;
    auto fail = [&result](std::string message) {
        result.action = DesktopCommandLine::Action::Error;
        result.error = std::move(message);
        return result;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (i == 0 && arg == "/update") {
            result.after_update = true;
        } else if (arg == "--help" || arg == "-h") {
            result.action = DesktopCommandLine::Action::Help;
            return result;
        } else if (arg == "--version") {
            result.action = DesktopCommandLine::Action::Version;
            return result;
        } else if (arg == "--home") {
            if (i + 1 >= args.size() || args[i + 1].empty()) {
                return fail("--home needs a folder");
            }
            result.home = args[++i];
        } else if (arg.rfind("--home=", 0) == 0) {
            result.home = arg.substr(7);
            if (result.home.empty()) {
                return fail("--home needs a folder");
            }
        } else {
            return fail("unknown argument: " + arg);
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
           "  --help       print this help and exit\n"
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
