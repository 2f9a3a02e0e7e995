// kalvara: the desktop program.

#include "app/DesktopApp.h"
#include "app/DesktopCommandLine.h"
#include "core/ProgramFolder.h"
#include "gui/Gui.h"
#include "kalvara/Version.h"

#include <QApplication>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    using kalvara::DesktopCommandLine;
    const std::vector<std::string> args(argv + 1, argv + argc);
    const DesktopCommandLine command_line = kalvara::ParseDesktopCommandLine(args);
    switch (command_line.action) {
    case DesktopCommandLine::Action::Help:
        std::cout << kalvara::DesktopUsage();
        return 0;
    case DesktopCommandLine::Action::Version:
        std::cout << "kalvara " << kalvara::VersionText << "\n";
        return 0;
    case DesktopCommandLine::Action::Error:
        std::cerr << "kalvara: " << command_line.error << "\n"
                  << "Try 'kalvara --help' for more information.\n";
        return 2;
    case DesktopCommandLine::Action::Run:
        break;
    }
    if (!kalvara::HasDisplay()) {
        std::cerr << kalvara::NoDisplayMessage();
        return 1;
    }

    const kalvara::FolderResolution folders =
        kalvara::ResolveProgramPaths(kalvara::ProcessFolderSources(command_line.home));
    if (!folders.Error.empty()) {
        std::cerr << "kalvara: " << folders.Error << "\n";
        return 1;
    }

    // The application object outlives the program object, whose help window
    // and single-instance socket are Qt objects.
    QApplication application(argc, argv);
    kalvara::DesktopOptions options;
    options.paths = folders.Paths;
    options.after_update = command_line.after_update;
    kalvara::DesktopApp app(options);
    return kalvara::gui::Run(argc, argv, app.EntryPoints());
}
