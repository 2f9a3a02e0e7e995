#pragma once
// A loopback server serves the version file and the installer, signed with a
// key pair made for the test; message boxes are answered by script.

#include "MinisignKeys.h"
#include "ScriptedServer.h"
#include "core/SettingsStore.h"
#include "gui/Gui.h"
#include "msgbox/MessageBox.h"
#include "support/TempFolder.h"
#include "update/UpdateFlow.h"

#include <QLabel>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <gmock/gmock.h>
#include <iterator>
#include <memory>

namespace kalvara::update::test {

namespace fs = std::filesystem;
using namespace ::testing;
using Strings = std::vector<std::string>;

struct Message {
    std::string parent, title, text1;
};

class UpdateFlowTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(program_);
        ASSERT_TRUE(keys_.Ok()) << "minisign -G failed";
        WriteSetting(settings_, "Update", "VersionUrl", Url("/ZorvVersion.txt"));
        WriteSetting(settings_, "Update", "ProductPage", Url("/kalvara.html"));
        WriteSetting(settings_, "Update", "PublicKey", keys_.PublicLine());
        gui::InstallEntryPoints(
            {[] {},
             [this](const std::string& form) {
                 if (flow_ && UpdateFlow::OwnsForm(form)) {
                     flow_->DesignForm(form);
                 } else if (form == msgbox::MessageBoxFormName) {
                     msgbox::DesignMessageBoxForm(form);
                 }
             },
             [this](const std::string& form, int id, int code, int& value, int& cancel) {
                 if (flow_ && UpdateFlow::OwnsForm(form)) {
                     flow_->DispatchEvent(form, id, code, value, cancel);
                 } else if (form == msgbox::MessageBoxFormName) {
                     msgbox::MessageBoxEvent(form, id, code, value, cancel);
                 }
             }});
        gui::CreateForm("KV", "", "Kalvara", 0, 0, 40, 10, "");
        flow_ = MakeFlow();
    }

    void TearDown() override {
        flow_.reset();
        gui::ResetForTesting();
    }

    // Tests that need the real processes empty their service.
    std::unique_ptr<UpdateFlow> MakeFlow() {
        return std::make_unique<UpdateFlow>(settings_, program_.string() + "/", data_.string(),
                                            services_);
    }

    int CheckFromMenu(std::vector<int> answers) {
        messages_.clear();
        answers_ = std::move(answers);
        return flow_->CheckFromMenu("KV");
    }

    std::string Url(const std::string& path) const { return "http://" + host_ + path; }

    void Publish(const std::string& version, const std::string& first_line = "", bool sign = true) {
        WriteFile(www_ / "ZorvVersion.txt",
                  (first_line.empty() ? host_ + " /files/Setup.sh Setup.sh" : first_line) + "\n" +
                      version + "\n");
        WriteFile(www_ / "files" / "Setup.sh", installer_);
        fs::remove(www_ / "files" / "Setup.sh.minisig");
        if (sign) {
            ASSERT_TRUE(keys_.Sign(www_ / "files" / "Setup.sh"));
        }
    }

    std::string Setting(const std::string& key, const std::string& fallback = "") const {
        return ReadSetting(settings_, "Update", key, fallback);
    }
    Strings Titles() const {
        Strings titles;
        std::ranges::transform(messages_, std::back_inserter(titles), &Message::title);
        return titles;
    }

    // After a download that did not end in a verified installer.
    void ExpectNothingKept() const {
        EXPECT_TRUE(!fs::exists(data_ / "updates") || fs::is_empty(data_ / "updates"));
        EXPECT_EQ(Setting("Install") + Setting("Failed"), "");
        EXPECT_FALSE(flow_->InstallerDownloaded());
        EXPECT_FALSE(gui::FormExists(DownloadFormName));
        EXPECT_TRUE(gui::FormWidget("KV")->isVisible());
    }

    // A manual check that the user accepts ends in the refusal of an
    // unverified installer: no setting touched, nothing run.
    void ExpectRefused(const std::string& what) {
        SCOPED_TRACE(what);
        opened_urls_.clear();
        const std::string settings_before = ReadFile(settings_);
        EXPECT_EQ(CheckFromMenu({1, 1}), 0);
        EXPECT_EQ(Titles(), (Strings{"New Version Available", "Update Not Verified"}));
        EXPECT_EQ(messages_.back().parent, "KV");
        EXPECT_EQ(opened_urls_, Strings{Url("/kalvara.html")}); // "&Visit Web Site"
        EXPECT_EQ(ReadFile(settings_), settings_before);
        ExpectNothingKept();
        flow_->RunInstaller();
        EXPECT_TRUE(started_.empty());
    }

    // A new flow with the real message boxes, whose first button is pressed,
    // as is the update information's Close; shown gets each caption, with
    // text 1 as the label shows it.
    std::unique_ptr<QTimer> ClickThrough(Strings& shown) {
        services_.show_message_box = nullptr;
        flow_ = MakeFlow();
        auto poll = std::make_unique<QTimer>();
        QObject::connect(poll.get(), &QTimer::timeout, [&shown] {
            using namespace msgbox;
            if (QWidget* button = gui::ControlWidget(MessageBoxFormName, FirstButtonId)) {
                const auto* label =
                    qobject_cast<QLabel*>(gui::ControlWidget(MessageBoxFormName, Text1Id));
                shown.push_back(gui::GetText(MessageBoxFormName, 0) + "|" +
                                (label ? label->text().toStdString() : ""));
                QTest::mouseClick(button, Qt::LeftButton);
            } else if (QWidget* close = gui::ControlWidget(WhatsNewFormName, WhatsNewCloseId)) {
                shown.push_back(gui::GetText(WhatsNewFormName, 0));
                QTest::mouseClick(close, Qt::LeftButton);
            }
        });
        poll->start(20);
        return poll;
    }

    kalvara::test::TempFolder root_;
    fs::path program_ = root_.Path() / "program", www_ = root_.Path() / "www";
    fs::path data_ = root_.Path() / "data";
    std::string settings_ = (program_ / "Zorv.ini").string();
    ScriptedServer server_{{}, www_};
    std::string host_ = server_.Host();
    std::unique_ptr<UpdateFlow> flow_;
    std::vector<Message> messages_;
    std::vector<int> answers_;
    Strings opened_urls_;
    std::vector<std::pair<std::string, Strings>> started_;
    DayNumber today_ = JulianDate(12, 6, 2026);
    // The n-th message box of messages_ gets answers_[n], 99 past their end.
    UpdateServices services_{[this](const std::string& parent, const std::string& title,
                                    const std::string& text1, auto&&...) {
                                 messages_.push_back({parent, title, text1});
                                 return messages_.size() <= answers_.size()
                                            ? answers_[messages_.size() - 1]
                                            : 99;
                             },
                             [this](const std::string& url) { opened_urls_.push_back(url); },
                             [this](const std::string& program, const Strings& arguments) {
                                 started_.emplace_back(program, arguments);
                                 return true;
                             },
                             [this] { return today_; }};
    // Records its argument count and arguments beside itself.
    std::string installer_ = "#!/bin/sh\necho \"$# $*\" > \"$(dirname \"$0\")/installed.txt\"\n";
    MinisignKeys keys_{root_.Path() / "keys", "maker"};
};

} // namespace kalvara::update::test
