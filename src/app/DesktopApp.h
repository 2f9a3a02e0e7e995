#pragma once
// The desktop program as one object: the program-wide state (the current
// selection, the broadcast year table, the paths, whether a PDF reader was
// found, the help topic) and the three entry points that the window layer
// calls. Every window gets this object by reference; nothing else is global.

#include "core/CalendarSelection.h"
#include "core/ProgramFolder.h"
#include "engine/BroadcastYearTable.h"
#include "gui/Gui.h"
#include "render/CalendarDocument.h"
#include "update/UpdateServices.h"

#include <functional>
#include <memory>
#include <string>

namespace kalvara {

class ExportDialog;
class HelpViewer;
class MainWindow;
class PreferencesDialog;
class PrintRangeDialog;
class SingleInstance;
namespace update {
class UpdateFlow;
}

struct DesktopOptions {
    // Where the settings file, the calendars and the update data live, as
    // ResolveProgramPaths worked them out.
    ProgramPaths paths;
    // The first command-line argument was "/update".
    bool after_update = false;
    // Opens a saved calendar in the PDF reader. Empty: the desktop's opener.
    std::function<void(const std::string& path)> open_file;
    // Finds the PDF reader's program; empty text when there is none. Empty:
    // asks the desktop (PdfReaderProbe).
    std::function<std::string()> find_pdf_reader;
    // Opens a web page in the desktop's browser; false when none could be
    // started. Empty: the desktop's URL handler.
    std::function<bool(const std::string& url)> open_web_page;
    // The save dialog of the calendar export: given a suggested file name,
    // the path the user chose, empty when cancelled. Empty: the desktop's
    // file dialog.
    std::function<std::string(const std::string& suggested_name)> choose_export_file;
    // What the update flow asks of the desktop (message box, browser,
    // starting the installer, today); members left empty take the desktop's.
    update::UpdateServices update_services;
};

// Help command ids and topics shared by the windows.
inline constexpr int HelpCommand = 911;
inline constexpr int HelpTopicMainWindow = 10;
inline constexpr int HelpTopicPrintRange = 20;
inline constexpr int HelpTopicPreferences = 25;
inline constexpr int HelpTopicExport = 30;
inline constexpr int HelpTopicNoPdfReader = 45;

// The accelerator text that binds F1 to the help command.
inline constexpr const char* HelpAccelerator = "F1,911";

// The single-instance name and the main window's title.
inline constexpr const char* InstanceName = "ZORV5";
inline constexpr const char* ProgramTitle = "Kalvara";
// The launcher entry the desktop matches running windows with.
inline constexpr const char* DesktopFileName = "com.kalvara.kalvara";

class DesktopApp {
public:
    explicit DesktopApp(DesktopOptions options);
    ~DesktopApp();

    DesktopApp(const DesktopApp&) = delete;
    DesktopApp& operator=(const DesktopApp&) = delete;

    // The entry points for gui::Run or gui::InstallEntryPoints, bound to
    // this object, which must outlive the loop.
    gui::EntryPoints EntryPoints();

    // Called once before any form exists: fonts, colours, one instance, the
    // folders, the PDF reader probe; then the main window opens. With another
    // instance running it only brings that one forward and opens nothing.
    void InitialiseGui();
    void DesignForm(const std::string& form);
    void DispatchEvent(const std::string& form, int id, int code, int& value, int& cancel);

    // Opens the help window: command 1 contents, 2 index, 15 the topic.
    // Other commands do nothing.
    void ShowHelp(int command, int topic);

    // Produces the calendar of the current selection and opens it.
    GenerateResult Generate();

    CalendarSelection& Selection() { return selection_; }
    BroadcastYearTable& Years() { return years_; }
    const ProgramPaths& Paths() const { return paths_; }
    bool AfterUpdate() const { return options_.after_update; }
    bool PdfReaderFound() const { return pdf_reader_found_; }
    // Why no calendar can be saved in the output folder (it could not be
    // made or written at start), in the system's words; empty when one can.
    const std::string& OutputFolderProblem() const { return output_folder_problem_; }
    const std::string& PdfReaderPath() const { return pdf_reader_path_; }
    int HelpContext() const { return help_context_; }
    void SetHelpContext(int topic) { help_context_ = topic; }
    int ProgramIcon() const { return program_icon_; }

    MainWindow& Main() { return *main_window_; }
    PrintRangeDialog& PrintRange() { return *print_range_; }
    PreferencesDialog& Preferences() { return *preferences_; }
    ExportDialog& Export() { return *export_dialog_; }

    // Opens a web page; without a browser a notice shows the address to copy.
    void OpenWebPage(const std::string& url);
    // The export's save dialog (or the stand-in of the options).
    std::string ChooseExportFile(const std::string& suggested_name);

    // The update flow; exists once start-up went through.
    update::UpdateFlow* Updates() const { return update_flow_.get(); }

    // The help window once help has been asked for, else nullptr.
    HelpViewer* Help() const { return help_viewer_.get(); }
    // The single-instance guard once start-up claimed it, else nullptr.
    SingleInstance* Instance() const { return single_instance_.get(); }

private:
    bool InitialiseApplication();
    void DefinePictures();
    void ProbePdfReader();
    void BringMainWindowForward();

    DesktopOptions options_;
    ProgramPaths paths_;
    CalendarSelection selection_;
    BroadcastYearTable years_;
    bool pdf_reader_found_ = false;
    std::string output_folder_problem_;
    std::string pdf_reader_path_;
    int help_context_ = 0;
    int program_icon_ = 0;
    std::unique_ptr<SingleInstance> single_instance_;
    std::unique_ptr<HelpViewer> help_viewer_;
    std::unique_ptr<update::UpdateFlow> update_flow_;
    std::unique_ptr<MainWindow> main_window_;
    std::unique_ptr<PrintRangeDialog> print_range_;
    std::unique_ptr<PreferencesDialog> preferences_;
    std::unique_ptr<ExportDialog> export_dialog_;
};

} // namespace kalvara
