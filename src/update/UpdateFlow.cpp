#include "update/UpdateFlow.h"

#include "core/Notice.h"
#include "core/ProgramFolder.h"
#include "core/SettingsStore.h"
#include "engine/DateText.h"
#include "gui/Gui.h"
#include "kalvara/Version.h"
#include "msgbox/MessageBoxMarkup.h"
#include "update/HttpSyntax.h"
#include "update/SignatureCheck.h"
#include "update/VersionFetch.h"
#include "update/VersionFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/stat.h>

namespace kalvara::update {

namespace fs = std::filesystem;

namespace {

constexpr const char* Section = "Update";
constexpr const char* ProductName = "Kalvara";

// True when path names an entry directly inside folder (links resolved), so
// that a settings file edited by hand cannot make us delete anything else.
bool IsDirectlyInFolder(const fs::path& path, const std::string& folder) {
    std::error_code error;
    const fs::path parent = fs::canonical(path.parent_path(), error);
    if (error) {
        return false;
    }
    const fs::path base = fs::canonical(folder, error);
    return !error && parent == base;
}

bool IsRegularFile(const fs::path& path) {
    std::error_code error;
    return fs::is_regular_file(fs::symlink_status(path, error));
}

bool Exists(const fs::path& path) {
    std::error_code error;
    return fs::exists(fs::symlink_status(path, error));
}

void RemoveFile(const fs::path& path) {
    std::error_code error;
    const auto status = fs::symlink_status(path, error);
    if (!error && fs::exists(status) && !fs::is_directory(status)) {
        fs::remove(path, error);
    }
}

// The signature file: at most MaxSignatureBytes (more is no signature).
std::string ReadSignatureFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string text(MaxSignatureBytes + 1, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));
    return text;
}

// Outside text for a plain label: its bars cannot break the line.
std::string OneLine(const std::string& text) {
    std::string quoted = QuoteMarkup(text);
    std::replace(quoted.begin(), quoted.end(), QuotedBrace, '{');
    return quoted;
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

std::string ProgramVersion() {
    return VersionText;
}

UpdateFlow::UpdateFlow(std::string settings_file, std::string program_folder,
                       std::string data_folder, UpdateServices services)
    : settings_file_(std::move(settings_file)), program_folder_(std::move(program_folder)),
      updates_folder_(std::move(data_folder)),
      services_(DesktopUpdateServices(std::move(services))) {
    for (std::string* folder : {&program_folder_, &updates_folder_}) {
        if (!folder->empty() && folder->back() != '/') {
            *folder += '/';
        }
    }
    updates_folder_ += UpdatesFolderName;
    updates_folder_ += '/';
}

std::string UpdateFlow::VersionUrl() const {
    const std::string url = ReadSetting(settings_file_, Section, "VersionUrl", DefaultVersionUrl);
    return url.empty() ? DefaultVersionUrl : url;
}

std::string UpdateFlow::PublicKey() const {
    const std::string key = ReadSetting(settings_file_, Section, "PublicKey", DefaultPublicKey);
    return key.empty() ? DefaultPublicKey : key;
}

std::string UpdateFlow::ProductPage() const {
    const std::string url = ReadSetting(settings_file_, Section, "ProductPage", DefaultProductPage);
    return url.empty() ? DefaultProductPage : url;
}

int UpdateFlow::Ask(const std::string& parent, const std::string& title, const std::string& text1,
                    const std::string& text2, const std::string& buttons, int initial_value) {
    return services_.show_message_box(parent, title, text1, text2, "", buttons, "", initial_value,
                                      "C");
}

void UpdateFlow::ShowDownloadError(const std::string& text1, const std::string& text2) {
    Ask(gui::CurrentForm(), "Download Error", text1, text2, "&OK{G,f7}");
}

// --- Checking ----------------------------------------------------------------

int UpdateFlow::AutomaticCheckDue() {
    const double next_check = NumericValue(ReadSetting(settings_file_, Section, "LastCheck", "0"));
    const DayNumber today = services_.today();
    if (today > next_check) {
        WriteSetting(settings_file_, Section, "LastCheck", std::to_string(today + 10));
        return 1;
    }
    return 0;
}

int UpdateFlow::RunAutomaticCheck(const std::string& parent_form, PreferenceSet preferences) {
    // Without a server there is nothing to ask, and a first start stays quiet.
    if (!self_updating_ || VersionUrl().empty() || (preferences & PrefUpdate) == 0 ||
        AutomaticCheckDue() == 0) {
        return 0;
    }
    return CheckForUpdate(parent_form, ProgramVersion(), VersionUrl(), 0);
}

int UpdateFlow::CheckFromMenu(const std::string& parent_form) {
    if (!self_updating_) {
        Ask(parent_form, "Updated by the Package Manager",
            std::string("This copy of ") + ProductName +
                " is updated by the system's package manager.{f10}",
            "Newer versions arrive with the system's software updates.{f6}", "&OK{G,f7}");
        return 0;
    }
    if (VersionUrl().empty()) {
        Ask(parent_form, "No Update Server Set",
            std::string("No update server is set for this copy of ") + ProductName + ".{f10}",
            "To check for updates, set VersionUrl in section [Update] of \"" +
                QuoteMarkup(settings_file_) + "\" to the https address of the version file.{f6}",
            "&OK{G,f7}");
        return 0;
    }
    return CheckForUpdate(parent_form, ProgramVersion(), VersionUrl(), 1);
}

void UpdateFlow::ReportCheckFailure(const std::string& parent, const std::string& text1,
                                    const std::string& request_text, int manual) {
    const std::string title = "Unable to Complete Update Check";
    if (manual == 1) {
        const int answer =
            Ask(parent, title, text1,
                request_text + "|You can visit our web site to download the latest version of " +
                    ProductName + ".{f6}",
                "*{G,f7}|&Visit Web Site|&No, Thanks, I'm Good");
        if (answer == 1) {
            services_.open_url(ProductPage());
        }
    } else {
        Ask(gui::CurrentForm(), title, text1,
            "|Unable to determine if a program update is available at this time.{f6}", "&OK{G,f7}");
    }
}

int UpdateFlow::CheckForUpdate(const std::string& parent_form, const std::string& current_version,
                               const std::string& version_url, int manual) {
    if (checking_) {
        return 0; // one check at a time
    }
    checking_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{checking_};

    cancel_ = false;
    const VersionFetch fetched = FetchVersionFile(version_url);
    if (!fetched.ok) {
        ReportCheckFailure(
            parent_form,
            QuoteMarkup(fetched.error_text) + " (Error " + std::to_string(fetched.error_number) +
                ") has occurred accessing the network.{f10}",
            "The version file \"" + QuoteMarkup(version_url) + "\" could not be read.", manual);
        return 0;
    }
    // An empty answer tells nothing; asked from the menu, the user still
    // gets one, below.
    if (fetched.text.empty() && manual != 1) {
        return 0;
    }

    const auto file = ParseVersionFile(fetched.text);
    const auto offered = file ? ParseVersion(file->version_text) : std::nullopt;
    const auto current = ParseVersion(current_version);
    if (!offered || !current) {
        ReportCheckFailure(parent_form, "The version file does not name a version.{f10}",
                           "The version file \"" + QuoteMarkup(version_url) +
                               "\" is not in the expected form.",
                           manual);
        return 0;
    }

    if (IsNewer(*offered, *current)) {
        const int answer =
            Ask(parent_form, "New Version Available",
                "Version " + QuoteMarkup(file->version_text) + " of " + ProductName +
                    " is available.{f10}",
                "Would you like to download it now?{f6}", "*{G,f7}|&Yes|&No, Maybe Later");
        if (answer != 1) {
            return 0;
        }
    } else {
        if (manual == 1) {
            Ask(parent_form, "You Are Up To Date!",
                "Version " + QuoteMarkup(current_version) + " of " + ProductName +
                    " is the latest version available.{f10}",
                "Thank you for checking!{f6}", "&OK{G,f7}");
        }
        return 0;
    }

    // The first line decides where the installer comes from and where it
    // lands; both are checked before anything touches the disk.
    if (!SplitHostPort(file->download_host) || !IsSafeRequestPath(file->download_path)) {
        ShowDownloadError("The download address \"" +
                              QuoteMarkup(file->download_host + file->download_path) +
                              "\" is not valid.{f10,t4}",
                          "The update is unable to continue.{f7}");
        return 0;
    }
    if (!IsPlainFileName(file->installer_name)) {
        ShowDownloadError("The installer name \"" + QuoteMarkup(file->installer_name) +
                              "\" is not acceptable.{f10,t4}",
                          "The update is unable to continue.{f7}");
        return 0;
    }
    const bool major = IsMajorUpdate(*offered, *current);
    if (!MakeUpdatesFolder()) {
        return 0;
    }
    // The name is plain, so this deletes nothing outside the updates folder.
    installer_path_ = updates_folder_ + file->installer_name;
    new_version_ = file->version_text;
    RemoveFile(installer_path_);

    if (Download(parent_form, file->download_host, file->download_path) == 0) {
        return 0;
    }
    major_update_ = major;
    return 1;
}

bool UpdateFlow::MakeUpdatesFolder() {
    const std::string folder = updates_folder_.substr(0, updates_folder_.size() - 1);
    std::error_code ignored; // the data folder is ours; mkdir below tells what failed
    fs::create_directories(fs::path(folder).parent_path(), ignored);
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        ShowDownloadError("The folder \"" + QuoteMarkup(folder) +
                              "\" for downloads could not be created: " +
                              QuoteMarkup(std::strerror(errno)) + ".{f10,t4}",
                          "The update is unable to continue.{f7}");
        return false;
    }
    // A link put in its place would send the download elsewhere.
    struct stat info {};
    if (::lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        ShowDownloadError("\"" + QuoteMarkup(folder) + "\" is not a folder of its own.{f10,t4}",
                          "The update is unable to continue.{f7}");
        return false;
    }
    return true;
}

// The signature beside the installer on the same host, as text; empty when
// there is none (the server answered otherwise, or it is too large).
std::string UpdateFlow::FetchSignature(const std::string& host, const std::string& path) {
    const std::string signature_path = installer_path_ + ".minisig";
    // Its failures are told as one: the update is not verified.
    int result = 0;
    {
        const ScopedNoticeHook quiet(
            [](const std::string&, const std::string&, const std::string&) {});
        client_.SetBodyLimit(MaxSignatureBytes);
        result = client_.Download(host, path + ".minisig", 1, "", "", signature_path);
        client_.SetBodyLimit(MaxBodyBytes);
    }
    std::string text;
    if (result == DownloadStored) {
        text = ReadSignatureFile(signature_path);
    }
    RemoveFile(signature_path);
    return text;
}

void UpdateFlow::ReportNotVerified(const std::string& parent_form) {
    const int answer =
        Ask(parent_form.empty() ? gui::CurrentForm() : parent_form, "Update Not Verified",
            "The downloaded update could not be verified and has been deleted.{f10,t4}",
            "You can download the latest version of Kalvara from our web site.{f6}",
            "*{G,f7}|&Visit Web Site|&Close");
    if (answer == 1) {
        services_.open_url(ProductPage());
    }
}

int UpdateFlow::Download(const std::string& parent_form, const std::string& host,
                         const std::string& path) {
    gui::DoEvents();
    if (!parent_form.empty()) {
        gui::HideForm(parent_form);
    }
    gui::CreateForm(DownloadFormName, "", "Updating...", 0, 0, 41.5, 6.875, "C");

    client_.SetCallbacks({[](std::uint64_t received, std::uint64_t expected) {
                              if (expected > 0) {
                                  gui::SetProgress(DownloadFormName, DownloadProgressId,
                                                   static_cast<int>(received * 100 / expected));
                              }
                          },
                          [] { gui::DoEvents(); }, [this] { return cancel_; }});
    // The client's own errors ("Unable to find web host ...") belong to the
    // download window: it is the one on screen while the main window hides.
    downloading_ = true;
    int result = 0;
    {
        const ScopedNoticeHook on_download_window(
            [this](const std::string& title, const std::string& text1, const std::string& text2) {
                services_.show_message_box(DownloadFormName, title, text1, text2, "", "&OK{G,f7}",
                                           "", 1, "C");
            });
        result = client_.Download(host, path, 1, "", "", installer_path_);
    }
    bool stored = result == DownloadStored && !cancel_;
    SignatureVerdict verdict = SignatureVerdict::Malformed;
    if (stored) {
        const std::string signature = FetchSignature(host, path);
        verdict = cancel_ ? SignatureVerdict::Malformed
                          : CheckFileSignature(installer_path_, signature, PublicKey());
    }
    downloading_ = false;
    const bool verified = stored && verdict == SignatureVerdict::Valid;
    if (verified) {
        // Only a complete, verified download may be run.
        std::error_code error;
        fs::permissions(installer_path_, fs::perms::owner_all, fs::perm_options::replace, error);
        stored = !error;
    }
    gui::UnloadForm(DownloadFormName);

    if (verified && stored) {
        WriteSetting(settings_file_, Section, "Install", installer_path_);
        WriteSetting(settings_file_, Section, "NewVer", new_version_);
        WriteSetting(settings_file_, Section, "Failed", "1");
        installer_downloaded_ = true;
        return 1;
    }

    RemoveFile(installer_path_);
    if (!parent_form.empty()) {
        gui::ShowForm(parent_form);
    }
    if (result > 0) {
        std::string answer = std::to_string(result);
        if (!client_.StatusReason().empty()) {
            answer += " " + client_.StatusReason();
        }
        ShowDownloadError("The server answered " + QuoteMarkup(answer) + " for \"" +
                              QuoteMarkup(host + path) + "\".{f10,t4}",
                          "The update is unable to continue.{f7}");
    } else if (result == DownloadStored && !cancel_ && !verified) {
        ReportNotVerified(parent_form);
    } else if (result == DownloadStored && !cancel_) {
        ShowDownloadError("The installer \"" + QuoteMarkup(installer_path_) +
                              "\" could not be made runnable.{f10,t4}",
                          "The update is unable to continue.{f7}");
    }
    return 0;
}

// --- Installing and after the restart -----------------------------------------

void UpdateFlow::RunInstaller() {
    if (!installer_downloaded_) {
        return;
    }
    installer_downloaded_ = false;
    std::vector<std::string> arguments;
    if (!major_update_) {
        arguments = {"/SP-", "/VERYSILENT"};
    }
    if (!services_.start_process(installer_path_, arguments)) {
        Ask(gui::CurrentForm(), "Update Error",
            "Unable to start the installer \"" + QuoteMarkup(installer_path_) + "\".{f10,t4}",
            "The update can be downloaded directly from our web site.{f6}", "&OK{G,f7}");
    }
}

std::string UpdateFlow::UpdaterVersion() {
    const std::string updater_file = program_folder_ + "Updater.ini";
    const std::string version = ReadSetting(updater_file, "Program", "NewVersion", "");
    if (!version.empty()) {
        WriteSetting(updater_file, "Program", "NewVersion", "");
    }
    return version;
}

void UpdateFlow::AfterUpdateStep(const std::string& first_argument) {
    std::string version;
    if (first_argument == "/update") {
        version = ReadSetting(settings_file_, Section, "NewVer", "");
        if (!version.empty()) {
            WriteSetting(settings_file_, Section, "NewVer", "");
        } else {
            version = UpdaterVersion();
        }
    } else {
        version = UpdaterVersion();
    }

    if (!version.empty()) {
        WriteSetting(settings_file_, Section, "Failed", "0");
        const int answer =
            Ask(gui::CurrentForm(), "Update Process Complete",
                std::string("Congratulations! ") + ProductName + " has been updated to version " +
                    QuoteMarkup(version) + "!{f10}",
                "", "*{G,f7}|&See What's New|&Don't Care");
        if (answer == 1 || answer == -1) {
            gui::DoEvents();
            ShowWhatsNew(version);
        }
    } else if (NumericValue(ReadSetting(settings_file_, Section, "Failed", "0")) != 0) {
        WriteSetting(settings_file_, Section, "Failed", "0");
        const int answer =
            Ask(gui::CurrentForm(), "Update Process Failed",
                "The program update failed to install correctly.{f10}",
                "This failure could be due to system settings or your anti-virus program.|"
                "The update can be downloaded directly from our web site.{f6}",
                "*{G,f7}|&Go To Website|&Continue Without Updating");
        if (answer == 1) {
            services_.open_url(ProductPage());
        }
    }
    TidyUp();
}

void UpdateFlow::TidyUp() {
    const std::string install = ReadSetting(settings_file_, Section, "Install", "");
    if (!install.empty()) {
        const fs::path installer(install);
        if (IsRegularFile(installer) && IsDirectlyInFolder(installer, updates_folder_)) {
            RemoveFile(installer);
            gui::DoEvents();
        }
        if (!Exists(installer)) {
            WriteSetting(settings_file_, Section, "Install", "");
        }
    }
    const fs::path renewer = fs::path(program_folder_) / "renewer.exe";
    if (IsRegularFile(renewer)) {
        RemoveFile(renewer);
    }
}

// --- Forms "ZD" and "WN" ------------------------------------------------------

bool UpdateFlow::OwnsForm(const std::string& form) {
    return form == DownloadFormName || form == WhatsNewFormName;
}

void UpdateFlow::ShowWhatsNew(const std::string& version) {
    whats_new_version_ = version;
    gui::CreateForm(WhatsNewFormName, gui::CurrentForm(), "Update Information", 0, 0, 68.25, 24.75,
                    "CMR");
}

void UpdateFlow::DesignForm(const std::string& form) {
    if (form == DownloadFormName) {
        constexpr const char* Caption = "Downloading Program Update";
        gui::AddFrame(DownloadFrameId, 1, 0.5, 39.5, 3.75, Caption, "");
        gui::AddProgressBar(DownloadProgressId, 2.5, 1.875, 36.5, 1.25, "", "");
        // The bar has no caption of its own; a reader names it by its frame.
        gui::SetAccessibleName(DownloadFormName, DownloadProgressId, Caption);
        gui::AddButton(DownloadCancelId, 16.75, 4.875, 8, 1.5, "&Cancel", "T");
        gui::SetFormKeys(DownloadFormName, {}, DownloadCancelId);
    } else if (form == WhatsNewFormName) {
        gui::AddLabel(WhatsNewLabelId, 1, 0.5, 66.25, 1.25,
                      std::string(ProductName) + " has been updated to version " +
                          OneLine(whats_new_version_) + ".",
                      "L");
        gui::AddRichText(WhatsNewTextId, 1, 2, 66.25, 20, "", "");
        gui::SetAccessibleName(WhatsNewFormName, WhatsNewTextId, "Program history");
        gui::AddButton(WhatsNewCloseId, 30.125, 22.625, 8, 1.5, "&Close", "T");
        gui::SetFormKeys(WhatsNewFormName, {WhatsNewCloseId}, WhatsNewCloseId);
    }
}

void UpdateFlow::DispatchEvent(const std::string& form, int id, int code, int& /*value*/,
                               int& /*cancel*/) {
    if (form == DownloadFormName) {
        // Closing the window is as good as "&Cancel": nobody is left watching.
        if ((id == DownloadCancelId && code == gui::EventClick) ||
            (id == 0 && code == gui::EventClose)) {
            if (downloading_) {
                cancel_ = true;
            }
        }
    } else if (form == WhatsNewFormName) {
        if (id == 0 && code == gui::EventFormLoading) {
            const std::string history = FindDataFile(program_folder_, "History.rtf");
            gui::SetRichText(WhatsNewFormName, WhatsNewTextId,
                             history.empty() ? "The program history is not installed."
                                             : ReadWholeFile(history));
        } else if (id == WhatsNewCloseId && code == gui::EventClick) {
            gui::UnloadForm(WhatsNewFormName);
        }
    }
}

} // namespace kalvara::update
