#pragma once
// Runs the desktop program in the test process, offscreen, through the real
// entry points and dispatch, in a temporary program folder with its own
// runtime and XDG folders. The PDF reader is a stand-in that records what it
// was asked to open; nothing is ever shown on a real desktop.

#include "app/DesktopApp.h"

#include <QString>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QAbstractButton;
class QWidget;

namespace kalvara::test {

// A folder below the system's temporary folder, removed with everything in it.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// Points HOME, XDG_RUNTIME_DIR and the XDG folders below `root`.
void IsolateEnvironment(const TempFolder& root);

// The text of a file, empty when it cannot be read.
std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& text);

class AppHarness {
public:
    AppHarness();
    ~AppHarness();

    // Without a reader the program warns at start and disables printing.
    void SetPdfReaderFound(bool found) { reader_found_ = found; }
    // Start as the installer restarts the program: with "/update".
    void SetAfterUpdate(bool after_update) { after_update_ = after_update; }

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

// While a call that opens a modal form runs, does `action` once the form is
// shown. Give up after a while so that a form that never shows cannot hang
// the test; `Done()` tells whether the action ran.
class WhenShown {
public:
    WhenShown(std::string form, std::function<void()> action);
    ~WhenShown();
    bool Done() const { return *done_; }

private:
    std::shared_ptr<bool> done_;
    std::shared_ptr<bool> alive_;
};

// The tooltip a control shows when the pointer rests on it; empty for none.
QString TooltipOf(const std::string& form, int id);

} // namespace kalvara::test
