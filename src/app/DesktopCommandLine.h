#pragma once
// The command line of the desktop program.

#include <string>
#include <vector>

namespace kalvara {

struct DesktopCommandLine {
    enum class Action { Run, Help, Version, Error };
    Action action = Action::Run;
    std::string home;          // --home DIR: the program folder
    bool after_update = false; // "/update" as the first argument
    std::string error;         // what was wrong, for Action::Error
};

// args are the words after the program name. "/update" counts only as the
// first of them, written exactly so (the installer passes it that way).
DesktopCommandLine ParseDesktopCommandLine(const std::vector<std::string>& args);

// The text of --help.
std::string DesktopUsage();

// True when a window can be shown: a display is set (DISPLAY or
// WAYLAND_DISPLAY) or a Qt platform is chosen (QT_QPA_PLATFORM) that needs
// none of them ("xcb" needs DISPLAY, "wayland" WAYLAND_DISPLAY).
bool HasDisplay();

// What the program says when there is no display.
std::string NoDisplayMessage();

} // namespace kalvara
