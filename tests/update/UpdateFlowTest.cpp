// The update flow end to end, from the version file to the report after the
// restart, and what it refuses to trust.

#include "UpdateFlowFixture.h"
#include "core/Notice.h"
#include "update/VersionFetch.h"
#include "update/VersionFile.h"

#include <QThread>
#include <cerrno>
#include <cstring>

namespace kalvara::update {
namespace {

using namespace test;

// An automatic check runs every ten days and silently (App.UpdateSteps turns
// its preference off); an installer that does not start is told.
TEST_F(UpdateFlowTest, OnlyANewerVersionIsOfferedAndAMajorOneRunsWithItsWindow) {
    Publish("5.3.0.1");
    answers_ = {2};
    EXPECT_EQ(flow_->RunAutomaticCheck("KV", PrefUpdate), 0);
    EXPECT_EQ(Titles(), Strings{"New Version Available"});
    ExpectNothingKept();
    // Not even when its digits joined together make a bigger number.
    for (const char* version : {"5.3.0.0", "5.2.10.0"}) {
        Publish(version);
        EXPECT_EQ(CheckFromMenu({}), 0);
        EXPECT_EQ(Titles(), Strings{"You Are Up To Date!"});
    }
    messages_.clear();
    today_ += 10;
    flow_ = MakeFlow();
    EXPECT_EQ(flow_->AutomaticCheckDue(), 0);
    EXPECT_EQ(Setting("LastCheck"), std::to_string(today_));
    today_ += 1;
    EXPECT_EQ(flow_->RunAutomaticCheck("KV", PrefUpdate), 0);
    EXPECT_EQ(Setting("LastCheck"), std::to_string(today_ + 10)); // it ran, and said nothing
    EXPECT_TRUE(messages_.empty());

    Publish("5.4.0.0");
    EXPECT_EQ(CheckFromMenu({1}), 1);
    flow_->RunInstaller();
    EXPECT_THAT(started_, ElementsAre(Pair(_, IsEmpty())));
    services_.start_process = [](auto&&...) { return false; };
    flow_ = MakeFlow();
    EXPECT_EQ(CheckFromMenu({1}), 1);
    flow_->RunInstaller();
    EXPECT_EQ(Titles(), (Strings{"New Version Available", "Update Error"}));
}

// Run silently on close, reported after the installer restarted the program
// with "/update"; "&See What's New" opens the update information.
TEST_F(UpdateFlowTest, MinorUpdateRunsSilentlyOnCloseAndIsReportedAfterTheRestart) {
    Publish("5.3.0.7");
    services_.start_process = nullptr;
    flow_ = MakeFlow();
    answers_ = {1};
    ASSERT_EQ(flow_->RunAutomaticCheck("KV", PrefUpdate), 1);
    EXPECT_EQ(Titles(), Strings{"New Version Available"});
    EXPECT_EQ(messages_[0].text1, "Version 5.3.0.7 of Kalvara is available.{f10}");
    const fs::path installer = data_ / "updates" / "Setup.sh";
    EXPECT_EQ(ReadFile(installer), installer_);
    // "Failed" until the restart says otherwise.
    EXPECT_EQ(Setting("Install") + "|" + Setting("NewVer") + "|" + Setting("Failed"),
              installer.string() + "|5.3.0.7|1");
    EXPECT_FALSE(gui::FormExists(DownloadFormName));
    flow_->RunInstaller(); // runs only with its run bit, which a full download sets
    const fs::path marker = data_ / "updates" / "installed.txt";
    for (int tries = 0; tries < 500 && ReadFile(marker).empty(); ++tries) {
        QThread::msleep(20); // the detached installer writes it soon
    }
    EXPECT_EQ(ReadFile(marker), "2 /SP- /VERYSILENT\n");

    Strings shown;
    const auto clicker = ClickThrough(shown); // on a new flow: the restart
    flow_->AfterUpdateStep("/update");        // returns once "WN" is unloaded
    flow_->AfterUpdateStep("/update");        // nothing left to report
    EXPECT_THAT(shown, ElementsAre("Update Process Complete|Congratulations! Kalvara has been "
                                   "updated to version 5.3.0.7!",
                                   "Update Information"));
    EXPECT_EQ(Setting("Install") + Setting("NewVer") + Setting("Failed"), "0");
    EXPECT_FALSE(fs::exists(installer));
}

// A failed installation is reported once; without "NewVer" the updater's
// word counts. "Install" outside the program's updates is never deleted.
TEST_F(UpdateFlowTest, AfterTheRestartTheOutcomeIsReportedOnceAndLeftoversTidied) {
    WriteSetting(settings_, "Update", "Failed", "1");
    answers_ = {1, 2};
    flow_->AfterUpdateStep("");
    flow_ = MakeFlow();
    flow_->AfterUpdateStep("");
    EXPECT_EQ(Titles(), Strings{"Update Process Failed"});
    EXPECT_EQ(opened_urls_, Strings{Url("/kalvara.html")}); // "&Go To Website"

    const std::string updater = (program_ / "Updater.ini").string();
    WriteSetting(updater, "Program", "NewVersion", "5.3.0.2");
    WriteSetting(settings_, "Update", "Failed", "1");
    WriteFile(program_ / "renewer.exe", "x");
    WriteFile(root_.Path() / "precious.txt", "keep me");
    WriteSetting(settings_, "Update", "Install", (root_.Path() / "precious.txt").string());
    flow_->AfterUpdateStep("/update");
    ASSERT_EQ(messages_.size(), 2u);
    EXPECT_EQ(messages_[1].text1,
              "Congratulations! Kalvara has been updated to version 5.3.0.2!{f10}");
    EXPECT_EQ(ReadSetting(updater, "Program", "NewVersion", "none") + Setting("Failed"), "0");
    EXPECT_FALSE(fs::exists(program_ / "renewer.exe"));
    EXPECT_EQ(ReadFile(root_.Path() / "precious.txt"), "keep me");
}

// An answer other than 200, a redirect even to the signed installer, with its
// words quoted, a refused installer name, an unreachable host, whose error the
// client shows on the download window, and a linked folder.
TEST_F(UpdateFlowTest, FailedDownloadLeavesNothingAndBringsTheWindowBack) {
    const std::string reason = "{W500,F99}Moved|||x}";
    ScriptedServer redirect(
        {{"HTTP/1.0 302 " + reason + "\r\nLocation: " + Url("/files/Setup.sh") + "\r\n\r\n"}});
    for (const auto& [first_line, parent, text1] :
         std::vector<std::tuple<std::string, std::string, std::string>>{
             {host_ + " /files/Missing.sh Setup.sh", "KV", "404"},
             {redirect.Host() + " /Setup.sh Setup.sh", "KV", "302 " + QuoteMarkup(reason)},
             {host_ + " /files/Setup.sh ../evil.sh", "KV", "\"../evil.sh\" is not acceptable."},
             {"127.0.0.1:1 /Setup.sh Setup.sh", DownloadFormName, "Unable to find web host"}}) {
        SCOPED_TRACE(first_line);
        Publish("5.3.0.1", first_line);
        EXPECT_EQ(CheckFromMenu({1}), 0);
        EXPECT_EQ(Titles(), (Strings{"New Version Available", "Download Error"}));
        EXPECT_EQ(messages_.back().parent, parent);
        EXPECT_THAT(messages_.back().text1, HasSubstr(text1));
        ExpectNothingKept();
    }
    EXPECT_FALSE(fs::exists(root_.Path() / "evil.sh"));

    // A link in the updates folder's place would send the download elsewhere.
    fs::remove(data_ / "updates"); // left empty by the downloads above
    fs::create_directories(root_.Path() / "elsewhere");
    fs::create_directory_symlink(root_.Path() / "elsewhere", data_ / "updates");
    Publish("5.3.0.1");
    EXPECT_EQ(CheckFromMenu({1}), 0);
    EXPECT_EQ(Titles(), (Strings{"New Version Available", "Download Error"}));
    EXPECT_THAT(messages_[1].text1, HasSubstr("is not a folder of its own"));
    ExpectNothingKept();
}

// "&Cancel" and the window's close command both stop a download that the
// server has stopped feeding, and the main window comes back.
TEST_F(UpdateFlowTest, CancelOrCloseInTheDownloadWindowStopsASilentServer) {
    for (const bool close_window : {false, true}) {
        SCOPED_TRACE(close_window ? "close" : "cancel");
        ScriptedServer stalled(
            {{"HTTP/1.0 200 OK\r\nContent-Length: 100000\r\n\r\n" + std::string(1000, 'x'),
              Then::Stall}});
        Publish("5.3.0.1", stalled.Host() + " /Setup.sh Setup.sh");
        flow_->Client().SetStallLimit(std::chrono::milliseconds(5000)); // a safety net only
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (QWidget* cancel = gui::ControlWidget(DownloadFormName, DownloadCancelId)) {
                poll.stop();
                close_window ? void(gui::FormWidget(DownloadFormName)->close())
                             : QTest::mouseClick(cancel, Qt::LeftButton);
            }
        });
        poll.start(20);
        EXPECT_EQ(CheckFromMenu({1}), 0);
        EXPECT_EQ(messages_.size(), 1u); // a cancel needs no message
        ExpectNothingKept();
    }
}

// A 404 is told in plain words and as the number, a failed connection by the
// system's errno; only the menu's check offers the web site.
TEST_F(UpdateFlowTest, UnreadableVersionFileIsReported) {
    EXPECT_EQ(CheckFromMenu({1}), 0);
    EXPECT_EQ(messages_[0].text1, "The server answered 404 File not found (Error 404) has "
                                  "occurred accessing the network.{f10}");
    EXPECT_EQ(opened_urls_, Strings{Url("/kalvara.html")});
    EXPECT_EQ(flow_->RunAutomaticCheck("KV", PrefUpdate), 0);
    for (const char* text : {"<html>hello</html>\n", ""}) {
        WriteFile(www_ / "ZorvVersion.txt", text);
        EXPECT_EQ(CheckFromMenu({}), 0);
        EXPECT_EQ(Titles(), Strings{"Unable to Complete Update Check"}) << text;
    }
    WriteSetting(settings_, "Update", "VersionUrl", "http://127.0.0.1:1/ZorvVersion.txt");
    EXPECT_EQ(CheckFromMenu({}), 0);
    EXPECT_THAT(messages_[0].text1, StartsWith(std::string(std::strerror(ECONNREFUSED)) +
                                               " (Error " + std::to_string(ECONNREFUSED) + ")"));
    EXPECT_EQ(opened_urls_.size(), 1u);
}

// One of each way a failed signature reaches the flow.
TEST_F(UpdateFlowTest, UnverifiedInstallersAreRefused) {
    const fs::path signature = www_ / "files" / "Setup.sh.minisig";
    Publish("5.3.0.1", "", /*sign=*/false); // the server answers 404
    ExpectRefused("unsigned");
    Publish("5.3.0.1");
    WriteFile(www_ / "files" / "Setup.sh", installer_ + "rm -rf \"$HOME\"\n");
    ExpectRefused("tampered");
    Publish("5.3.0.1");
    const std::string good = ReadFile(signature);
    WriteFile(signature, good + std::string(5000, '\n'));
    ExpectRefused("larger than 4 KiB");
    // Without a mirror's key in the settings, the built-in one.
    WriteFile(signature, good);
    WriteSetting(settings_, "Update", "PublicKey", "");
    EXPECT_EQ(flow_->PublicKey(), DefaultPublicKey);
    if (std::string(DefaultPublicKey).empty()) {
        ExpectRefused("no key");
    }
}

// The menu says how to set a missing server.
TEST_F(UpdateFlowTest, WithoutAnUpdateServerOrUpdaterNothingIsChecked) {
    Publish("5.4.0.0");
    WriteSetting(settings_, "Update", "VersionUrl", "");
    EXPECT_EQ(flow_->VersionUrl(), DefaultVersionUrl);
    if (std::string(DefaultVersionUrl).empty()) {
        EXPECT_EQ(flow_->RunAutomaticCheck("KV", PrefUpdate), 0);
        EXPECT_EQ(Setting("LastCheck", "none"), "none");
        EXPECT_EQ(CheckFromMenu({}), 0);
        EXPECT_EQ(Titles(), Strings{"No Update Server Set"});
    }
    WriteSetting(settings_, "Update", "VersionUrl", Url("/ZorvVersion.txt"));
    flow_->SetSelfUpdating(false);
    EXPECT_EQ(flow_->RunAutomaticCheck("KV", PrefUpdate), 0);
    EXPECT_EQ(CheckFromMenu({}), 0);
    EXPECT_EQ(Titles(), Strings{"Updated by the Package Manager"});
    ExpectNothingKept();
}

TEST(UpdateVersionFile, FetchGivesUpAtItsLimit) {
    ScriptedServer silent({{"", Then::Stall}});
    const auto fetched = FetchVersionFile("http://" + silent.Host() + "/ZorvVersion.txt",
                                          std::chrono::milliseconds(300));
    EXPECT_FALSE(fetched.ok);
    EXPECT_FALSE(fetched.error_text.empty());
}

// Versions compare number by number, which joined digits or a decimal
// reading would get wrong; the first line names the download.
TEST(UpdateVersionFile, VersionsAndTheFirstLineAreReadStrictly) {
    const Version current = *ParseVersion("5.3.0.0");
    EXPECT_TRUE(IsNewer(*ParseVersion("5.3.0.10"), *ParseVersion("5.3.0.9")));
    EXPECT_TRUE(IsMajorUpdate(*ParseVersion("5.10.0.0"), current));
    EXPECT_TRUE(IsMajorUpdate(*ParseVersion("6.0.0.0"), current));
    EXPECT_FALSE(IsMajorUpdate(*ParseVersion("5.3.9.9"), current));
    for (const char* bad :
         {"", "5.3.0", "5.3.0.0.0", "5..0.0", "5.3.0.x", " 5.3.0.0", "5.3.0.1234567890"}) {
        EXPECT_FALSE(ParseVersion(bad)) << bad;
    }
    const auto file =
        ParseVersionFile("host.example:81 /dl/Setup.exe Setup.exe\r\nnotes\r\n5.3.1.0\r\n\r\n");
    ASSERT_TRUE(file);
    EXPECT_EQ(file->download_host + "|" + file->download_path + "|" + file->installer_name + "|" +
                  file->version_text,
              "host.example:81|/dl/Setup.exe|Setup.exe|5.3.1.0");
    EXPECT_FALSE(ParseVersionFile("\n \n"));
    EXPECT_TRUE(IsPlainFileName("Kalvara-5.3.1-setup.exe"));
    for (const char* bad : {"../evil.sh", "sub/evil.sh", "..\\evil.sh", ".profile", "..", "",
                            "a..b", "ctl\x01name"}) {
        EXPECT_FALSE(IsPlainFileName(bad)) << bad;
    }
}

} // namespace
} // namespace kalvara::update
