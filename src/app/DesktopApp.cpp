#include "app/DesktopApp.h"

#include "about/AboutBox.h"
#include "app/ExportDialog.h"
#include "app/HelpViewer.h"
#include "app/MainWindow.h"
#include "app/PdfReaderProbe.h"
#include "app/PreferencesDialog.h"
#include "app/PrintRangeDialog.h"
#include "app/SingleInstance.h"
#include "core/Notice.h"
#include "core/OutputFolderCleanup.h"
#include "msgbox/MessageBox.h"
#include "update/UpdateFlow.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QIcon>
#include <QUrl>
#include <QWidget>
#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <iostream>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace kalvara {

namespace {

constexpr const char* PictureFolderName = "Graphics";

// The style samples and the program icon, by resource name, with the file
// below the data folders that provides each.
struct PictureResource {
    const char* name;
    const char* file;
};
constexpr std::array<PictureResource, 7> PictureResources{{
    {"$CALMONTH", "Graphics/calmonth.bmp"},
    {"$CALQUARTER", "Graphics/calquarter.bmp"},
    {"$CALYEAR", "Graphics/calyear.bmp"},
    {"$CALTHREEYR", "Graphics/calthreeyr.bmp"},
    {"$CALSTRIP", "Graphics/calstrip.bmp"},
    {"$CALPLANNER", "Graphics/calplanner.bmp"},
    {"$AAPROGRAM", "kalvara.png"},
}};

std::string FolderWithoutSlash(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/') {
        folder.pop_back();
    }
    return folder;
}

// Makes the output folder and writes the reader probe into it. Returns why
// calendars cannot be saved there, in the system's words; empty when they can.
std::string PrepareOutputFolder(const std::string& folder) {
    std::error_code error;
    std::string failed_level;
    if (!CreateFolders(folder, error, failed_level)) {
        return error.message();
    }
    errno = 0;
    if (!WriteProbeFile(folder)) {
        return errno != 0 ? std::string(std::strerror(errno))
                          : std::string("something that is not a file of Kalvara's is in the way");
    }
    return {};
}

} // namespace

DesktopApp::DesktopApp(DesktopOptions options)
    : options_(std::move(options)), paths_(options_.paths),
      main_window_(std::make_unique<MainWindow>(*this)),
      print_range_(std::make_unique<PrintRangeDialog>(*this)),
      preferences_(std::make_unique<PreferencesDialog>(*this)),
      export_dialog_(std::make_unique<ExportDialog>(*this)) {
    if (!options_.update_services.open_url) {
        options_.update_services.open_url = [this](const std::string& url) { OpenWebPage(url); };
    }
}

DesktopApp::~DesktopApp() = default;

gui::EntryPoints DesktopApp::EntryPoints() {
    gui::EntryPoints entry_points;
    entry_points.initialiseGui = [this] { InitialiseGui(); };
    entry_points.designForm = [this](const std::string& form) { DesignForm(form); };
    entry_points.dispatchEvent = [this](const std::string& form, int id, int code, int& value,
                                        int& cancel) {
        DispatchEvent(form, id, code, value, cancel);
    };
    return entry_points;
}

void DesktopApp::InitialiseGui() {
    msgbox::InstallNoticeHook();
    DefinePictures();
    gui::AllowEvents(gui::EventClass::Command, true);
    gui::AllowEvents(gui::EventClass::Notify, true);
    gui::AllowEvents(gui::EventClass::Key, true);
    gui::AllowEvents(gui::EventClass::MouseMove, true);
    gui::AllowEvents(gui::EventClass::Cursor, true);

    gui::DefineFont(6, "Segoe UI", 9, " L+V");
    gui::DefineFont(7, "Segoe UI", 9, " BV");
    gui::DefineFont(8, "Segoe UI", 12, " BV");
    gui::DefineFont(9, "Wingdings", 16, "L+SV");
    gui::DefineSystemColor(32, 4);
    gui::DefineSystemColor(33, 5);
    gui::DefineSystemColor(34, 15);
    gui::DefineSystemColor(35, 24);
    gui::DefineColor(36, 255, 111, 185);
    gui::DefineColor(37, 159, 171, 20);
    gui::DefineColor(38, 255, 167, 71);
    gui::DefineColor(39, 207, 170, 210);
    gui::DefineColor(40, 227, 213, 28);
    gui::DefineColor(41, 67, 137, 188);
    gui::DefineColor(42, 183, 106, 108);
    gui::DefineColor(43, 137, 68, 221);

    if (InitialiseApplication()) {
        main_window_->Open();
    }
}

bool DesktopApp::InitialiseApplication() {
    single_instance_ = std::make_unique<SingleInstance>(
        InstanceName, QString::fromStdString(paths_.ProgramFolder));
    if (single_instance_->ActivateOtherInstance()) {
        single_instance_.reset();
        return false;
    }
    if (single_instance_->Claim()) {
        single_instance_->SetActivationHandler([this] { BringMainWindowForward(); });
    } else {
        // Guarding against a second start is a convenience; a runtime folder
        // that takes no socket must not keep the program from starting.
        std::cerr << "kalvara: cannot create " << single_instance_->SocketPath().toStdString()
                  << "; a second start will not find this one.\n";
        single_instance_.reset();
    }

    gui::DefineFont(10, "Segoe UI", 10, "BV");
    gui::DefineFont(11, "Segoe UI", 11, "BV");
    gui::DefineFont(12, "Segoe UI", 7, "L+V");
    gui::DefineSystemColor(70, 13);
    program_icon_ = gui::LoadPicture("$AAPROGRAM");
    // Every window, the help and the message boxes included, carries the
    // program's icon unless it sets its own; the desktop file name ties the
    // running program to its launcher entry, whose icon the desktop shows.
    const std::string icon_file = FindDataFile(paths_.ProgramFolder, "kalvara.png");
    if (!icon_file.empty()) {
        QApplication::setWindowIcon(QIcon(QString::fromStdString(icon_file)));
    }
    QGuiApplication::setDesktopFileName(DesktopFileName);

    // A folder that cannot be made or written is told once the window shows,
    // together with what it means for printing (MainWindow::Loaded).
    output_folder_problem_ = PrepareOutputFolder(paths_.OutputFolder);
    // The update flow keeps its downloads there; without it there is only no
    // update, which the flow reports itself.
    std::error_code data_error;
    std::string failed_level;
    CreateFolders(paths_.DataFolder, data_error, failed_level);
    gui::DefineTooltipProperties(-1, -1, "[40]");
    ProbePdfReader();
    ClearOutputFolder(paths_.OutputFolder);
    InitDaysInMonth(years_);
    update_flow_ = std::make_unique<update::UpdateFlow>(
        paths_.SettingsFile, FolderWithoutSlash(paths_.ProgramFolder), paths_.DataFolder,
        update::DesktopUpdateServices(options_.update_services));
    return true;
}

void DesktopApp::DefinePictures() {
    // Pictures named by file name come from the "Graphics" folder of the
    // data folders: the program folder's own, else the installed one.
    const std::string start_picture = FindDataFile(paths_.ProgramFolder, "Graphics/calyear.bmp");
    gui::SetPictureFolder(start_picture.empty() ? paths_.ProgramFolder + PictureFolderName
                                                : fs::path(start_picture).parent_path().string());
    for (const PictureResource& resource : PictureResources) {
        const std::string file = FindDataFile(paths_.ProgramFolder, resource.file);
        if (!file.empty()) {
            // Resources are defined by their name without the "$".
            gui::DefinePictureResource(std::string(resource.name).substr(1), file);
        }
    }
}

void DesktopApp::ProbePdfReader() {
    pdf_reader_found_ = false;
    pdf_reader_path_.clear();
    selection_.Preferences &= static_cast<PreferenceSet>(~PdfReaderFoundBit);

    // Calendars are written to the output folder; when it cannot take the
    // probe file, nothing could be printed, reader or not, and the user is
    // told that rather than that a reader is missing.
    if (!output_folder_problem_.empty()) {
        return;
    }
    std::string reader;
    if (options_.find_pdf_reader) {
        reader = options_.find_pdf_reader();
    } else {
        reader = PdfReaderProbe().FindReader().toStdString();
    }
    if (!reader.empty()) {
        pdf_reader_path_ = reader;
        pdf_reader_found_ = true;
        selection_.Preferences |= PdfReaderFoundBit;
    }
}

void DesktopApp::BringMainWindowForward() {
    QWidget* window = gui::FormWidget(MainFormName);
    if (window == nullptr) {
        return;
    }
    if (window->isMinimized()) {
        window->showNormal();
    } else {
        window->show();
    }
    window->raise();
    window->activateWindow();
}

void DesktopApp::DesignForm(const std::string& form) {
    if (form == MainFormName) {
        main_window_->Design();
    } else if (form == AboutFormName) {
        DesignAboutBox(paths_.ProgramFolder);
    } else if (form == PrintRangeFormName) {
        print_range_->Design();
    } else if (form == PreferencesFormName) {
        preferences_->Design();
    } else if (form == ExportFormName) {
        export_dialog_->Design();
    } else if (form == msgbox::MessageBoxFormName) {
        msgbox::DesignMessageBoxForm(form);
    } else if (update::UpdateFlow::OwnsForm(form) && update_flow_) {
        update_flow_->DesignForm(form);
    }
}

void DesktopApp::DispatchEvent(const std::string& form, int id, int code, int& value, int& cancel) {
    if (form == MainFormName) {
        main_window_->Event(id, code, value, cancel);
        if (id == 0 && code == gui::EventClose && help_viewer_) {
            // The help belongs to the main window; it goes with it.
            help_viewer_->close();
        }
    } else if (form == AboutFormName) {
        AboutBoxEvent(id, code, value, cancel);
    } else if (form == PrintRangeFormName) {
        print_range_->Event(id, code, value, cancel);
    } else if (form == PreferencesFormName) {
        preferences_->Event(id, code, value, cancel);
    } else if (form == ExportFormName) {
        export_dialog_->Event(id, code, value, cancel);
    } else if (form == msgbox::MessageBoxFormName) {
        msgbox::MessageBoxEvent(form, id, code, value, cancel);
    } else if (update::UpdateFlow::OwnsForm(form) && update_flow_) {
        update_flow_->DispatchEvent(form, id, code, value, cancel);
    }
}

void DesktopApp::ShowHelp(int command, int topic) {
    if (command != HelpViewer::DisplayContents && command != HelpViewer::DisplayIndex &&
        command != HelpViewer::DisplayTopic) {
        return;
    }
    if (!help_viewer_) {
        help_viewer_ = std::make_unique<HelpViewer>(QString::fromStdString(paths_.ProgramFolder));
    }
    help_viewer_->ShowHelp(command, topic);
}

void DesktopApp::OpenWebPage(const std::string& url) {
    const bool started = options_.open_web_page
                             ? options_.open_web_page(url)
                             : QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
    if (!started) {
        msgbox::ShowNotice("No Web Browser",
                           "No web browser could be started to open the page.{f10,t4}",
                           "Copy this address into a browser:|" + QuoteMarkup(url) + "{f6}");
    }
}

std::string DesktopApp::ChooseExportFile(const std::string& suggested_name) {
    if (options_.choose_export_file) {
        return options_.choose_export_file(suggested_name);
    }
    QFileDialog dialog(gui::FormWidget(gui::CurrentForm()), "Export to Calendar",
                       QString::fromStdString(suggested_name),
                       "iCalendar files (*.ics);;All files (*)");
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix("ics");
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().front().toStdString();
}

GenerateResult DesktopApp::Generate() {
    GenerateEnvironment environment;
    environment.TakeNumberedFile = [this] {
        return TakeNumberedCalendarFile(paths_.SettingsFile, paths_.OutputFolder);
    };
    environment.PdfReaderPath = pdf_reader_path_;
    if (options_.open_file) {
        environment.OpenInReader = options_.open_file;
    } else {
        environment.OpenInReader = [](const std::string& path) {
            QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
        };
    }
    // A failing PDF library leaves the program in no state to go on printing.
    environment.AfterPdfError = [] { gui::UnloadForm(MainFormName); };
    return GenerateCalendar(selection_, years_, environment);
}

} // namespace kalvara
