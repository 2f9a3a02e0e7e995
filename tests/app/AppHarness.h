#pragma once
// Runs the desktop program in the test process, offscreen, through the real
// entry points and dispatch, in a temporary program folder with its own
// runtime and XDG folders. The PDF reader is a stand-in that records what it
// was asked to open; nothing is ever shown on a real desktop.

#include "TestEnvironment.h"
#include "WhenShown.h"
#include "app/DesktopApp.h"

#include <QString>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QAbstractButton;
class QWidget;

namespace kalvara::test {

class AppHarness {
public:
    AppHarness();
    ~AppHarness();

    // Without a reader the program warns at start and disables printing.
    void SetPdfReaderFound(bool found) { reader_found_ = found; }
    // Start as the installer restarts the program: with "/update".
    void SetAfterUpdate(bool after_update) { after_update_ = after_update; }
    // Hand the program another name of its folder, such as a link to it.
    void SetProgramFolderGiven(std::string folder) { folder_given_ = std::move(folder); }

    // Runs the start-up: InitialiseGui, the main window's loading and start
    // steps, and the events they post.
    void Start();

    DesktopApp& App() { return *app_; }
    const std::string& ProgramFolder() const { return program_folder_; }
    std::string SettingsFile() const { return program_folder_ + "Zorv.ini"; }
    std::string OutputFolder() const { return program_folder_ + "PDF/"; }
    const std::vector<std::string>& OpenedFiles() const { return opened_; }
    // Titles of the update flow's messages, answered with the last button
    // offered; the programs it started; the pages it opened.
    const std::vector<std::string>& UpdateMessages() const { return update_messages_; }
    const std::vector<std::string>& StartedPrograms() const { return started_; }
    // The calendars in the output folder.
    std::vector<std::string> Calendars() const;

private:
    TempFolder root_;
    std::string program_folder_;
    std::string folder_given_;
    bool reader_found_ = true;
    bool after_update_ = false;
    std::vector<std::string> opened_;
    std::vector<std::string> update_messages_;
    std::vector<std::string> started_;
    std::unique_ptr<DesktopApp> app_;
};

// Runs pending events a few rounds.
void Pump(int rounds = 5);

// A control's widget, as a button.
QAbstractButton* Button(const std::string& form, int id);
void Click(const std::string& form, int id);

// Triggers the menu item `id` of a form.
void TriggerMenu(const std::string& form, int id);

// The tooltip a control shows when the pointer rests on it; empty for none.
QString TooltipOf(const std::string& form, int id);

} // namespace kalvara::test
