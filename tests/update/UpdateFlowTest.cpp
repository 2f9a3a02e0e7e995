// The update flow end to end, from the version file to the report after the
// restart: checks, the ten-day rule, downloads and what must be refused.

#include "ScriptedServer.h"
#include "UpdateFlowFixture.h"
#include "update/VersionFetch.h"
#include "update/VersionFile.h"

#include <QThread>
#include <cerrno>
#include <cstring>

namespace kalvara::update {
namespace {

using test::ReadFile;
using test::Strings;
using test::UpdateFlowTest;
using test::WriteFile;
namespace fs = std::filesystem;

TEST_F(UpdateFlowTest, UpToDateAnswersOnlyWhenAsked) {
    Publish("5.3.0.0");
    EXPECT_EQ(flow_->CheckFromMenu("KV"), 0);
    EXPECT_EQ(flow_->RunAutomaticCheck("KV", PrefUpdate), 0);
    // An older version on the server is no update either, even when its
    // digits joined together make a bigger number.
    Publish("5.2.10.0");
    EXPECT_EQ(flow_->CheckFromMenu("KV"), 0);
    EXPECT_EQ(Titles(), (Strings{"You Are Up To Date!", "You Are Up To Date!"}));
    EXPECT_EQ(messages_[0].text1,
              "Version 5.3.0.0 of Kalvara is the latest version available.{f10}");
}

TEST_F(UpdateFlowTest, MajorUpdateRunsTheInstallerWithItsOwnWindow) {
    Publish("5.4.0.0");
    answers_ = {1};
    EXPECT_EQ(flow_->CheckFromMenu("KV"), 1);
    flow_->RunInstaller();
    ASSERT_EQ(started_.size(), 1u);
    EXPECT_TRUE(started_[0].second.empty());
}

// The whole round of a minor update: found automatically, downloaded, run
// silently on close, and reported after the installer restarted the program
// with "/update".
TEST_F(UpdateFlowTest, MinorUpdateRunsSilentlyOnCloseAndIsReportedAfterTheRestart) {
    Publish("5.3.0.7");
    flow_ = MakeFlow(/*real_processes=*/true);
    answers_ = {1};
    ASSERT_EQ(flow_->RunAutomaticCheck("KV", PrefUpdate), 1);
    EXPECT_EQ(Titles(), Strings{"New Version Available"});
    EXPECT_EQ(messages_[0].text1, "Version 5.3.0.7 of Kalvara is available.{f10}");
    const fs::path installer = data_ / "updates" / "Setup.sh";
    EXPECT_EQ(ReadFile(installer), installer_);
    EXPECT_EQ(InstallRecord(), (Strings{installer.string(), "5.3.0.7", "1"}));
    EXPECT_FALSE(gui::FormExists(DownloadFormName));
    flow_->RunInstaller(); // runs only with its run bit, which a full download sets
    const fs::path marker = data_ / "updates" / "installed.txt";
    for (int tries = 0; tries < 500 && ReadFile(marker).empty(); ++tries) {
        QThread::msleep(20); // the detached installer writes it soon
    }
    EXPECT_EQ(ReadFile(marker), "2 /SP- /VERYSILENT\n");

    flow_ = MakeFlow(); // the restart
    messages_.clear();
    answers_ = {2};
    flow_->AfterUpdateStep("/update");
    flow_->AfterUpdateStep("/update"); // nothing left to report
    EXPECT_EQ(Titles(), Strings{"Update Process Complete"});
    EXPECT_EQ(messages_[0].text1,
              "Congratulations! Kalvara has been updated to version 5.3.0.7!{f10}");
    EXPECT_EQ(InstallRecord(), (Strings{"", "", "0"}));
    EXPECT_FALSE(fs::exists(installer));
}

TEST_F(UpdateFlowTest, AutomaticCheckWaitsTenDaysEvenAcrossARestart) {
    const DayNumber first = today_;
    EXPECT_EQ(flow_->AutomaticCheckDue(), 1);
    for (DayNumber day : {first, first + 1, first + 10}) {
        flow_ = MakeFlow();
        today_ = day;
        EXPECT_EQ(flow_->AutomaticCheckDue(), 0) << day - first;
    }
    flow_ = MakeFlow();
    today_ = first + 11;
    EXPECT_EQ(flow_->AutomaticCheckDue(), 1);
    EXPECT_EQ(Setting("LastCheck"), std::to_string(first + 21));
}

TEST_F(UpdateFlowTest, AutomaticCheckRunsOnlyWithThePreferenceOnAndADeclineDownloadsNothing) {
    Publish("5.3.0.1");
    answers_ = {2};
    EXPECT_EQ(flow_->RunAutomaticCheck("KV", PreferenceSet{PrefShowTips | ShowQuarters}), 0);
    EXPECT_EQ(Setting("LastCheck", "none"), "none");
    EXPECT_EQ(flow_->RunAutomaticCheck("KV", PrefUpdate), 0);
    EXPECT_EQ(Titles(), Strings{"New Version Available"});
    ExpectNothingKept();
    flow_->RunInstaller();
    EXPECT_TRUE(started_.empty());
}

TEST_F(UpdateFlowTest, FailedInstallationIsReportedOnce) {
    WriteSetting(settings_, "Update", "Failed", "1");
    answers_ = {1};
    flow_->AfterUpdateStep("");
    flow_ = MakeFlow();
    flow_->AfterUpdateStep("");
    EXPECT_EQ(Titles(), Strings{"Update Process Failed"});
    EXPECT_EQ(opened_urls_, Strings{Url("/kalvara.html")}); // "&Go To Website"
    EXPECT_EQ(Setting("Failed"), "0");
}

TEST_F(UpdateFlowTest, UpdaterIniVersionIsReportedAndTheLeftoversTidied) {
    const std::string updater = (program_ / "Updater.ini").string();
    WriteSetting(updater, "Program", "NewVersion", "5.3.0.2");
    WriteSetting(settings_, "Update", "Failed", "1");
    WriteFile(program_ / "renewer.exe", "x");
    // An "Install" outside the program folder is never deleted.
    const fs::path outside = root_.Path() / "precious.txt";
    WriteFile(outside, "keep me");
    WriteSetting(settings_, "Update", "Install", outside.string());
    answers_ = {2};
    flow_->AfterUpdateStep("/update"); // no "NewVer": the updater's word counts
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].text1,
              "Congratulations! Kalvara has been updated to version 5.3.0.2!{f10}");
    EXPECT_EQ(ReadSetting(updater, "Program", "NewVersion", "none"), "");
    EXPECT_EQ(Setting("Failed"), "0");
    EXPECT_FALSE(fs::exists(program_ / "renewer.exe"));
    EXPECT_EQ(ReadFile(outside), "keep me");
}

TEST_F(UpdateFlowTest, SeeWhatsNewOpensTheUpdateInformationWindow) {
    WriteSetting(settings_, "Update", "NewVer", "5.3.0.3");
    flow_ = MakeFlow(false, /*real_message_box=*/true);
    Strings shown;
    const auto clicker = ClickThrough(shown);
    flow_->AfterUpdateStep("/update"); // returns once "WN" is unloaded
    EXPECT_EQ(shown, (Strings{"Update Process Complete|Congratulations! Kalvara has been updated "
                              "to version 5.3.0.3!",
                              "Update Information"}));
    EXPECT_FALSE(gui::FormExists(msgbox::MessageBoxFormName));
    EXPECT_FALSE(gui::FormExists(WhatsNewFormName));
}

// Refused installer names, an answer other than 200 and an unreachable host.
TEST_F(UpdateFlowTest, FailedDownloadLeavesNothingAndBringsTheWindowBack) {
    struct Case {
        std::string first_line, parent, text1;
    };
    std::vector<Case> cases = {
        {host_ + " /files/Missing.sh Setup.sh", "KV", "404"},
        // The client's own error is shown on the download window.
        {"127.0.0.1:1 /Setup.sh Setup.sh", DownloadFormName, "Unable to find web host"},
    };
    for (const char* name : {"../evil.sh", "sub/evil.sh", "..\\evil.sh", ".profile", "..", ""}) {
        cases.push_back({host_ + " /files/Setup.sh " + name, "KV", "is not acceptable"});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.first_line);
        messages_.clear();
        Publish("5.3.0.1", c.first_line);
        answers_ = {1};
        EXPECT_EQ(flow_->CheckFromMenu("KV"), 0);
        EXPECT_EQ(Titles(), (Strings{"New Version Available", "Download Error"}));
        EXPECT_EQ(messages_.back().parent, c.parent);
        EXPECT_NE(messages_.back().text1.find(c.text1), std::string::npos);
        EXPECT_EQ(Setting("Failed", "none"), "none");
        ExpectNothingKept();
    }
    EXPECT_FALSE(fs::exists(root_.Path() / "evil.sh"));
    EXPECT_FALSE(fs::exists(program_ / ".profile"));
}

// "&Cancel" and the window's close command both stop a download that the
// server has stopped feeding, and the main window comes back.
TEST_F(UpdateFlowTest, CancelOrCloseInTheDownloadWindowStopsASilentServer) {
    for (const bool close_window : {false, true}) {
        SCOPED_TRACE(close_window ? "close" : "cancel");
        const std::string head = "HTTP/1.0 200 OK\r\nContent-Length: 100000\r\n\r\n";
        test::ScriptedServer stalled({{{head, std::string(1000, 'x')}, false, true}});
        Publish("5.3.0.1", stalled.Host() + " /Setup.sh Setup.sh");
        messages_.clear();
        answers_ = {1};
        flow_->Client().SetStallLimit(std::chrono::milliseconds(5000)); // a safety net only
        std::string caption;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (QWidget* cancel = gui::ControlWidget(DownloadFormName, DownloadCancelId)) {
                poll.stop();
                caption = gui::GetText(DownloadFormName, 0);
                if (close_window) {
                    gui::FormWidget(DownloadFormName)->close();
                } else {
                    QTest::mouseClick(cancel, Qt::LeftButton);
                }
            }
        });
        poll.start(20);
        EXPECT_EQ(flow_->CheckFromMenu("KV"), 0);
        EXPECT_EQ(caption, "Updating...");
        EXPECT_EQ(messages_.size(), 1u); // a cancel needs no message
        ExpectNothingKept();
    }
}

TEST_F(UpdateFlowTest, UnreadableVersionFileIsReported) {
    // Nothing published: the server answers 404, told in plain words and as
    // the number; the menu's check offers the web site.
    answers_ = {1};
    EXPECT_EQ(flow_->CheckFromMenu("KV"), 0);
    EXPECT_EQ(messages_[0].text1, "The server answered 404 File not found (Error 404) has "
                                  "occurred accessing the network.{f10}");
    EXPECT_EQ(opened_urls_, Strings{Url("/kalvara.html")});
    // A failed connection is told by the system's errno.
    WriteSetting(settings_, "Update", "VersionUrl", "http://127.0.0.1:1/ZorvVersion.txt");
    EXPECT_EQ(flow_->CheckFromMenu("KV"), 0);
    EXPECT_EQ(messages_[1].text1, std::string(std::strerror(ECONNREFUSED)) + " (Error " +
                                      std::to_string(ECONNREFUSED) +
                                      ") has occurred accessing the network.{f10}");
    WriteSetting(settings_, "Update", "VersionUrl", Url("/ZorvVersion.txt"));
    // Automatic: a plain notice, and no web site is opened.
    EXPECT_EQ(flow_->RunAutomaticCheck("KV", PrefUpdate), 0);
    EXPECT_EQ(messages_[2].buttons, "&OK{G,f7}");
    // Not a version file at all; an empty one says nothing.
    WriteFile(www_ / "ZorvVersion.txt", "<html>hello</html>\n");
    EXPECT_EQ(flow_->CheckFromMenu("KV"), 0);
    WriteFile(www_ / "ZorvVersion.txt", "");
    EXPECT_EQ(flow_->CheckFromMenu("KV"), 0);
    EXPECT_EQ(Titles(), Strings(4, "Unable to Complete Update Check"));
    EXPECT_EQ(opened_urls_.size(), 1u);
}

TEST(UpdateVersionFile, FetchGivesUpAtItsLimit) {
    test::ScriptedServer silent({{{}, false, true}});
    const auto fetched = FetchVersionFile("http://" + silent.Host() + "/ZorvVersion.txt",
                                          std::chrono::milliseconds(300));
    EXPECT_FALSE(fetched.ok);
    EXPECT_FALSE(fetched.error_text.empty());
}

TEST_F(UpdateFlowTest, EmptyAddressesFallBackToTheBuiltIn) {
    for (const char* key : {"VersionUrl", "ProductPage", "PublicKey"}) {
        WriteSetting(settings_, "Update", key, "");
    }
    EXPECT_EQ(flow_->VersionUrl(), DefaultVersionUrl);
    EXPECT_EQ(flow_->ProductPage(), DefaultProductPage);
    EXPECT_EQ(flow_->PublicKey(), DefaultPublicKey);
}

// The flow tests above cover 5.3.0.1, 5.2.10.0 and 5.4; these are the
// numbers that joined digits or a decimal reading would get wrong.
TEST(UpdateVersionFile, VersionsCompareNumberByNumber) {
    const Version current = *ParseVersion("5.3.0.0");
    EXPECT_TRUE(IsNewer(*ParseVersion("5.3.0.10"), *ParseVersion("5.3.0.9")));
    EXPECT_TRUE(IsMajorUpdate(*ParseVersion("5.10.0.0"), current));
    EXPECT_TRUE(IsMajorUpdate(*ParseVersion("6.0.0.0"), current));
    EXPECT_FALSE(IsMajorUpdate(*ParseVersion("5.3.9.9"), current));
    for (const char* bad :
         {"", "5.3.0", "5.3.0.0.0", "5..0.0", "5.3.0.x", " 5.3.0.0", "5.3.0.1234567890"}) {
        EXPECT_FALSE(ParseVersion(bad)) << bad;
    }
}

TEST(UpdateVersionFile, FirstLineNamesTheDownloadAndTheLastTheVersion) {
    const auto file =
        ParseVersionFile("host.example:81 /dl/Setup.exe Setup.exe\r\nnotes\r\n5.3.1.0\r\n\r\n");
    ASSERT_TRUE(file);
    EXPECT_EQ(file->download_host + "|" + file->download_path + "|" + file->installer_name + "|" +
                  file->version_text,
              "host.example:81|/dl/Setup.exe|Setup.exe|5.3.1.0");
    EXPECT_FALSE(ParseVersionFile("\n \n"));
    EXPECT_TRUE(IsPlainFileName("Kalvara-5.3.1-setup.exe"));
    EXPECT_FALSE(IsPlainFileName("a..b"));
    EXPECT_FALSE(IsPlainFileName("ctl\x01name"));
}

} // namespace
} // namespace kalvara::update
