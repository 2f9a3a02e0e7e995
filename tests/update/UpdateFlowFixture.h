#pragma once
// The update flow's test fixture: a real HTTP server (python3 -m http.server)
// on a loopback port serves the version file, the installer and its
// signature, made with a key pair generated for the test; the message box is
// answered by script, and the real GUI layer runs offscreen.

#include "MinisignKeys.h"
#include "core/SettingsStore.h"
#include "engine/CivilDate.h"
#include "gui/Gui.h"
#include "msgbox/MessageBox.h"
#include "support/TempFolder.h"
#include "update/UpdateFlow.h"

#include <QProcess>
#include <deque>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <memory>

namespace kalvara::update::test {

namespace fs = std::filesystem;

struct Message {
    std::string parent, title, text1, text2, buttons;
    int initial_value = 0;
    std::string options;
};

class UpdateFlowTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(program_);
        fs::create_directories(www_);
        // Port 0: the server takes a free port and names it once it listens.
        server_.setStandardErrorFile(QProcess::nullDevice());
        server_.start("python3", {"-u", "-m", "http.server", "0", "--bind", "127.0.0.1",
                                  "--directory", QString::fromStdString(www_.string())});
        std::string banner;
        while (banner.find(" port ") == std::string::npos && server_.waitForReadyRead(10000)) {
            banner += server_.readAll().toStdString();
        }
        ASSERT_NE(banner.find(" port "), std::string::npos) << "python3 -m http.server: " << banner;
        port_ = std::stoi(banner.substr(banner.find(" port ") + 6));

        WriteSetting(settings_, "Update", "VersionUrl", Url("/ZorvVersion.txt"));
        WriteSetting(settings_, "Update", "ProductPage", Url("/kalvara.html"));
        ASSERT_TRUE(keys_.Ok()) << "minisign -G failed";
        WriteSetting(settings_, "Update", "PublicKey", keys_.PublicLine());

        gui::InstallEntryPoints({[] {}, [this](const std::string& form) { Design(form); },
                                 [this](const std::string& form, int id, int code, int& value,
                                        int& cancel) { Dispatch(form, id, code, value, cancel); }});
        gui::CreateForm("KV", "", "Kalvara", 0, 0, 40, 10, "");
        flow_ = MakeFlow();
    }

    void TearDown() override {
        flow_.reset();
        gui::ResetForTesting();
        server_.kill();
        server_.waitForFinished(5000);
    }

    std::unique_ptr<UpdateFlow> MakeFlow(bool real_processes = false,
                                         bool real_message_box = false) {
        UpdateServices services;
        if (!real_message_box) {
            services.show_message_box = [this](const std::string& parent, const std::string& title,
                                               const std::string& text1, const std::string& text2,
                                               const std::string&, const std::string& buttons,
                                               const std::string&, int initial_value,
                                               const std::string& options) {
                messages_.push_back({parent, title, text1, text2, buttons, initial_value, options});
                if (answers_.empty()) {
                    return 99;
                }
                const int answer = answers_.front();
                answers_.pop_front();
                return answer;
            };
        }
        services.open_url = [this](const std::string& url) { opened_urls_.push_back(url); };
        if (!real_processes) {
            services.start_process = [this](const std::string& program,
                                            const std::vector<std::string>& arguments) {
                started_.emplace_back(program, arguments);
                return true;
            };
        }
        services.today = [this] { return today_; };
        return std::make_unique<UpdateFlow>(settings_, program_.string() + "/", data_.string(),
                                            services);
    }

    void Design(const std::string& form) {
        if (flow_ && UpdateFlow::OwnsForm(form)) {
            flow_->DesignForm(form);
        } else if (form == msgbox::MessageBoxFormName) {
            msgbox::DesignMessageBoxForm(form);
        }
    }
    void Dispatch(const std::string& form, int id, int code, int& value, int& cancel) {
        if (flow_ && UpdateFlow::OwnsForm(form)) {
            flow_->DispatchEvent(form, id, code, value, cancel);
        } else if (form == msgbox::MessageBoxFormName) {
            msgbox::MessageBoxEvent(form, id, code, value, cancel);
        }
    }

    std::string Url(const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(port_) + path;
    }
    std::string Host() const { return "127.0.0.1:" + std::to_string(port_); }

    // The version file and the installer, signed by the trusted key unless
    // a test says otherwise.
    void Publish(const std::string& version, const std::string& first_line = "", bool sign = true,
                 bool legacy = false) {
        WriteFile(www_ / "ZorvVersion.txt",
                  (first_line.empty() ? Host() + " /files/Setup.sh Setup.sh" : first_line) + "\n" +
                      version + "\n");
        WriteFile(www_ / "files" / "Setup.sh", installer_);
        fs::remove(www_ / "files" / "Setup.sh.minisig");
        if (sign) {
            ASSERT_TRUE(keys_.Sign(www_ / "files" / "Setup.sh", legacy));
        }
    }

    // Nothing of the download is left in the updates folder.
    bool UpdatesFolderEmpty() const {
        std::error_code error;
        return fs::is_empty(data_ / "updates", error) || !fs::exists(data_ / "updates");
    }

    std::string Setting(const std::string& key, const std::string& fallback = "") const {
        return ReadSetting(settings_, "Update", key, fallback);
    }

    kalvara::test::TempFolder root_;
    fs::path program_ = root_.Path() / "program", www_ = root_.Path() / "www";
    fs::path data_ = root_.Path() / "data";
    std::string settings_ = (program_ / "Zorv.ini").string();
    int port_ = 0;
    QProcess server_;
    std::unique_ptr<UpdateFlow> flow_;
    std::vector<Message> messages_;
    std::deque<int> answers_;
    std::vector<std::string> opened_urls_;
    std::vector<std::pair<std::string, std::vector<std::string>>> started_;
    DayNumber today_ = JulianDate(12, 6, 2026);
    // Records its argument count and arguments beside itself.
    std::string installer_ = "#!/bin/sh\necho \"$# $*\" > \"$(dirname \"$0\")/installed.txt\"\n";
    test::MinisignKeys keys_{root_.Path() / "keys", "maker"};
};

} // namespace kalvara::update::test
