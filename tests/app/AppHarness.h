#pragma once
// The desktop program in the test process through its real dispatch, in a
// temporary folder; the reader, browser and update flow's messages are stand-ins.

#include "app/DesktopApp.h"
#include "core/SettingsStore.h"
#include "support/TempFolder.h"

#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kalvara::test {

// Settings under which the automatic update check is not due.
inline constexpr const char* NoUpdateCheck = "[Update]\nLastCheck=99999999\n";

class AppHarness {
public:
    explicit AppHarness(const std::string& settings = NoUpdateCheck);
    ~AppHarness();

    void Start();

    // Set before Start; the folder may be given by another name, such as a link.
    bool reader_found = true;
    bool after_update = false;
    std::string folder_given;
    // 0 declines the update flow's questions; "" cancels the export's save dialog.
    bool browser_starts = true;
    int update_answer = 0;
    std::string export_answer;

    // What the reader or browser opened, the update flow's titles, the export's names.
    std::vector<std::string> opened;
    std::vector<std::string> update_messages;
    std::vector<std::string> export_suggestions;
    // The program's own message boxes, answered with their first button.
    std::vector<std::string> message_titles;
    std::vector<std::string> message_texts;

    void StopAnsweringMessages() { message_timer_.stop(); }
    DesktopApp& App() { return *app_; }
    const std::string& ProgramFolder() const { return program_folder_; }
    std::string SettingsFile() const { return program_folder_ + "Zorv.ini"; }
    std::string OutputFolder() const { return program_folder_ + "PDF/"; }
    std::vector<std::string> Calendars() const;
    // "none" when the key is not in the settings file.
    std::string Setting(const char* section, const char* key) const {
        return ReadSetting(SettingsFile(), section, key, "none");
    }
    // The file name of the page the help shows; empty without help.
    std::string HelpPage();

private:
    TempFolder root_;
    std::string program_folder_;
    std::unique_ptr<DesktopApp> app_;
    QTimer message_timer_;
};

void Pump(int rounds = 5);
void Click(const std::string& form, int id);
void TriggerMenu(const std::string& form, int id);
// Replaces the field's text key by key, as a user would.
void Type(const std::string& form, int id, const std::string& text);
// The tooltip a control shows when the pointer rests on it; empty for none.
std::string TooltipOf(const std::string& form, int id);

// Runs `open`, which shows the modal form and returns once it is unloaded,
// doing `answer`, which must close it, as soon as the form is visible.
void InDialog(const std::string& form, const std::function<void()>& open,
              const std::function<void()>& answer);
// Opens the print range, Preferences and About dialogs from the main window in
// turn (after choosing the Month style, which the print range asks for) and
// runs `answer`, which must close the dialog, in each.
void InEveryDialog(const std::function<void(const std::string& form)>& answer);

// The settings line of a version address on loopback where nothing answers.
std::string ClosedVersionUrl();
std::string ReadFile(const std::string& path);
// Creates the file's folder too.
void WriteFile(const std::string& path, const std::string& text);

} // namespace kalvara::test
