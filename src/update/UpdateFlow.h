#pragma once
// Program updates as the main window sees them: the automatic check when the
// window has been shown, the check from the menu, running a downloaded
// installer when the window closes, and the report after the installer has
// restarted the program. The download window "ZD" and the "WN" window with
// the update information belong to this flow; the program's DesignForm and
// DispatchEvent hand them over.
//
// One UpdateFlow lives for the whole run (the program owns it): it keeps the
// open download connection and remembers whether an installer is waiting.
// Everything else it keeps in the settings file, section "Update": "LastCheck",
// "Install", "NewVer", "Failed", and "VersionUrl", "ProductPage" and
// "PublicKey" when an organisation points the program at its own mirror.
//
// Only an installer whose minisign signature (the download path + ".minisig"
// on the same host) verifies against the trusted key is ever kept, recorded
// or run. Downloads land in the "updates" folder of the data folder, so no
// name the server gives can meet a file of the program's or the user's.

#include "config/UpdateConfig.h"
#include "core/Preferences.h"
#include "update/HttpClient.h"
#include "update/UpdateServices.h"

#include <string>

namespace kalvara::update {

inline constexpr const char* DownloadFormName = "ZD";
inline constexpr const char* WhatsNewFormName = "WN";

// As built: empty when no update server is set (then no check runs).
inline constexpr const char* DefaultVersionUrl = KALVARA_UPDATE_URL;
// The maker's site also names the credit line printed on the calendars.
inline constexpr const char* DefaultProductPage = "https://" KALVARA_MAKER_SITE "/kalvara.html";
// The minisign key that signs installers, as built; empty: none is trusted.
inline constexpr const char* DefaultPublicKey = KALVARA_UPDATE_PUBLIC_KEY;
// Where downloads go, inside the data folder.
inline constexpr const char* UpdatesFolderName = "updates";

// Controls of the download window.
inline constexpr int DownloadProgressId = 100;
inline constexpr int DownloadCancelId = 105;
inline constexpr int DownloadFrameId = 110;
// Controls of the update information window.
inline constexpr int WhatsNewLabelId = 100;
inline constexpr int WhatsNewTextId = 105;
inline constexpr int WhatsNewCloseId = 110;

// "5.3.0.0".
std::string ProgramVersion();

class UpdateFlow {
public:
    // settings_file: the program's "Zorv.ini"; program_folder: where
    // "Updater.ini" and "renewer.exe" live; data_folder: the folder whose
    // "updates" folder receives the installer.
    UpdateFlow(std::string settings_file, std::string program_folder, std::string data_folder,
               UpdateServices services = DesktopUpdateServices());

    // The addresses and the key in use: the settings file's or the built-in.
    std::string VersionUrl() const;
    std::string ProductPage() const;
    std::string PublicKey() const;
    std::string UpdatesFolder() const { return updates_folder_; }

    // False for a copy that the system's package manager updates (built with
    // KALVARA_UPDATER OFF): then no check ever runs.
    bool SelfUpdating() const { return self_updating_; }
    void SetSelfUpdating(bool self_updating) { self_updating_ = self_updating; }

    // --- Calls of the main window ---

    // Start step, once the main window is visible: when the preference
    // "Alert me when program is updated" (PrefUpdate) is on, an update
    // server is set and a check is due, checks for an update without being
    // asked. Returns 1 when an
    // installer was downloaded: the main window then unloads itself.
    int RunAutomaticCheck(const std::string& parent_form, PreferenceSet preferences);

    // "Check for Program &Update": always answers; checks when an update
    // server is set and the program updates itself. Returns
    // 1 when an installer was downloaded: the main window then unloads itself.
    int CheckFromMenu(const std::string& parent_form);

    // Start step after the PDF reader check: reports the outcome of an
    // earlier installation (first_argument is the command line's first
    // argument, "/update" after the installer ran) and tidies up.
    void AfterUpdateStep(const std::string& first_argument);

    // On the main window's EventClose: starts the downloaded installer, if any.
    void RunInstaller();

    // --- The steps underneath ---

    // 1 when an automatic check should run now; then "LastCheck" is moved ten
    // days ahead. 0 otherwise.
    int AutomaticCheckDue();

    // Fetches the version file, asks, downloads. manual 1 from the menu, 0
    // automatic. 1 when an installer was downloaded, else 0.
    int CheckForUpdate(const std::string& parent_form, const std::string& current_version,
                       const std::string& version_url, int manual);

    // --- Forms "ZD" and "WN" ---

    static bool OwnsForm(const std::string& form);
    void DesignForm(const std::string& form);
    void DispatchEvent(const std::string& form, int id, int code, int& value, int& cancel);

    // --- State of this run ---

    bool InstallerDownloaded() const { return installer_downloaded_; }
    bool MajorUpdate() const { return major_update_; }
    const std::string& InstallerPath() const { return installer_path_; }
    HttpClient& Client() { return client_; }

private:
    int Ask(const std::string& parent, const std::string& title, const std::string& text1,
            const std::string& text2, const std::string& buttons, int initial_value = 1);
    void ShowDownloadError(const std::string& text1, const std::string& text2);
    void ReportCheckFailure(const std::string& parent, const std::string& error_text,
                            const std::string& request_text, int manual);
    int Download(const std::string& parent_form, const std::string& host, const std::string& path);
    std::string FetchSignature(const std::string& host, const std::string& path);
    void ReportNotVerified(const std::string& parent_form);
    bool MakeUpdatesFolder();
    void ShowWhatsNew(const std::string& version);
    std::string UpdaterVersion();
    void TidyUp();

    std::string settings_file_;
    std::string program_folder_;
    std::string updates_folder_;
    UpdateServices services_;
    bool self_updating_ = KALVARA_UPDATER_ENABLED != 0;
    HttpClient client_;
    bool checking_ = false;
    bool cancel_ = false;
    bool downloading_ = false;
    bool installer_downloaded_ = false;
    bool major_update_ = false;
    std::string installer_path_;
    std::string new_version_;
    std::string whats_new_version_;
};

} // namespace kalvara::update
