// What makes an update trustworthy: only an installer signed by the trusted
// key is kept and run, no name from the server can reach the program's or the
// user's files, the server's words are shown as text, and a copy without an
// update server (or updated by its package manager) stays quiet.

#include "ScriptedServer.h"
#include "UpdateFlowFixture.h"
#include "msgbox/MessageBoxMarkup.h"

#include <QLabel>
#include <QTest>
#include <QTimer>
#include <algorithm>

namespace kalvara::update {
namespace {

using test::ReadFile;
using test::UpdateFlowTest;
using test::WriteFile;
namespace fs = std::filesystem;

// A text block as the message box shows it: its visible text, quoted bars
// drawn as bars.
std::string Shown(const std::string& text) {
    std::string shown = msgbox::ParseText(text, true).text;
    std::replace(shown.begin(), shown.end(), QuotedBar, '|');
    return shown;
}

class UpdateTrustTest : public UpdateFlowTest {
protected:
    // Runs a manual check that the user accepts and expects the refusal of an
    // unverified installer: the box, nothing kept, the main window back.
    void ExpectRefused(const std::string& what) {
        SCOPED_TRACE(what);
        messages_.clear();
        opened_urls_.clear();
        const std::string settings_before = ReadFile(settings_);
        answers_ = {1, 1};
        EXPECT_EQ(flow_->CheckFromMenu("KV"), 0);
        ASSERT_EQ(messages_.size(), 2u);
        EXPECT_EQ(messages_[1].parent, "KV");
        EXPECT_EQ(messages_[1].title, "Update Not Verified");
        EXPECT_EQ(messages_[1].text1,
                  "The downloaded update could not be verified and has been deleted.{f10,t4}");
        EXPECT_EQ(messages_[1].text2,
                  "You can download the latest version of Kalvara from our web site.{f6}");
        EXPECT_EQ(messages_[1].buttons, "*{G,f7}|&Visit Web Site|&Close");
        EXPECT_EQ(opened_urls_, std::vector<std::string>{Url("/kalvara.html")});
        EXPECT_TRUE(UpdatesFolderEmpty());
        EXPECT_EQ(ReadFile(settings_), settings_before);
        EXPECT_FALSE(flow_->InstallerDownloaded());
        flow_->RunInstaller();
        EXPECT_TRUE(started_.empty());
        EXPECT_FALSE(gui::FormExists(DownloadFormName));
        EXPECT_TRUE(gui::FormWidget("KV")->isVisible());
    }

    fs::path Signature() const { return www_ / "files" / "Setup.sh.minisig"; }
};

TEST_F(UpdateTrustTest, UnverifiedInstallersAreRefused) {
    Publish("5.3.0.1", "", /*sign=*/false); // the server answers 404
    ExpectRefused("unsigned");

    Publish("5.3.0.1");
    WriteFile(www_ / "files" / "Setup.sh", installer_ + "rm -rf \"$HOME\"\n");
    ExpectRefused("tampered");

    const test::MinisignKeys stranger(root_.Path() / "keys", "stranger");
    ASSERT_TRUE(stranger.Ok());
    Publish("5.3.0.1", "", false);
    ASSERT_TRUE(stranger.Sign(www_ / "files" / "Setup.sh"));
    ExpectRefused("foreign key");

    Publish("5.3.0.1");
    const std::string good = ReadFile(Signature());
    WriteFile(Signature(), good.substr(0, good.size() / 2));
    ExpectRefused("truncated");
    WriteFile(Signature(), "this is not a signature\n");
    ExpectRefused("garbage");
    WriteFile(Signature(), good + std::string(5000, '\n'));
    ExpectRefused("larger than 4 KiB");

    // The key is the settings file's (a mirror's) or the built-in one; with
    // neither, nothing verifies.
    WriteFile(Signature(), good);
    WriteSetting(settings_, "Update", "PublicKey", "");
    if (std::string(DefaultPublicKey).empty()) {
        ExpectRefused("no key");
    }
}

// Kalvara's own files and the user's keep their contents whatever the
// installer is called: downloads stay in the updates folder.
TEST_F(UpdateTrustTest, InstallerNamesOfTheProgramsFilesAreHarmless) {
    WriteFile(program_ / "PDF" / "001Calendar.PDF", "calendar");
    WriteFile(program_ / "History.rtf", "{\\rtf1 history}");
    WriteFile(program_ / "Updater.ini", "[Program]\nNewVersion=\n");
    WriteSetting(settings_, "Last", "Year", "2026");
    for (const std::string name : {"Zorv.ini", "Updater.ini", "PDF", "History.rtf"}) {
        SCOPED_TRACE(name);
        Publish("5.3.0.1", Host() + " /files/Setup.sh " + name);
        flow_ = MakeFlow();
        answers_ = {1};
        EXPECT_EQ(flow_->CheckFromMenu("KV"), 1);
        EXPECT_EQ(ReadFile(data_ / "updates" / name), installer_);
        EXPECT_EQ(ReadSetting(settings_, "Last", "Year", ""), "2026");
        EXPECT_EQ(ReadFile(program_ / "PDF" / "001Calendar.PDF"), "calendar");
        EXPECT_EQ(ReadFile(program_ / "History.rtf"), "{\\rtf1 history}");
        EXPECT_EQ(ReadFile(program_ / "Updater.ini"), "[Program]\nNewVersion=\n");
    }
}

TEST_F(UpdateTrustTest, EncodedInstallerIsRefusedWithNoFile) {
    test::ScriptedServer server({{{"HTTP/1.0 200 OK\r\nContent-Encoding: gzip\r\nContent-Length: "
                                   "4\r\n\r\n\x1f\x8b\x08x"}}});
    Publish("5.3.0.1", server.Host() + " /Setup.sh Setup.sh");
    answers_ = {1};
    EXPECT_EQ(flow_->CheckFromMenu("KV"), 0);
    ASSERT_EQ(messages_.size(), 2u);
    EXPECT_EQ(messages_[1].title, "Download Error");
    EXPECT_NE(messages_[1].text2.find("in an encoding Kalvara does not accept"), std::string::npos);
    EXPECT_TRUE(UpdatesFolderEmpty());
    EXPECT_EQ(Setting("Install"), "");
}

// A reason phrase full of mark-up, through the real message
// box: its label shows it on one line, braces and bars as they stand.
TEST_F(UpdateTrustTest, ServerWordsAreShownLiterally) {
    const std::string reason = "{W500,F99}Gone|||x}";
    test::ScriptedServer server({{{"HTTP/1.0 410 " + reason + "\r\n\r\n"}}});
    Publish("5.3.0.1", server.Host() + " /Setup.sh Setup.sh");
    flow_ = MakeFlow(false, /*real_message_box=*/true);
    std::vector<std::string> labels;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* button = gui::ControlWidget(msgbox::MessageBoxFormName, msgbox::FirstButtonId);
        if (button == nullptr) {
            return;
        }
        const auto* label =
            qobject_cast<QLabel*>(gui::ControlWidget(msgbox::MessageBoxFormName, msgbox::Text1Id));
        labels.push_back(label ? label->text().toStdString() : "");
        QTest::mouseClick(button, Qt::LeftButton); // "&Yes", then "&OK"
    });
    poll.start(20);
    EXPECT_EQ(flow_->CheckFromMenu("KV"), 0);
    poll.stop();
    ASSERT_EQ(labels.size(), 2u);
    EXPECT_EQ(labels[1],
              "The server answered 410 " + reason + " for \"" + server.Host() + "/Setup.sh\".");
}

// A copy built without an update server makes no check at its first start
// and the menu says how to set one; a package-managed copy never checks.
TEST_F(UpdateTrustTest, WithoutAnUpdateServerOrUpdaterNothingIsChecked) {
    Publish("5.4.0.0");
    if (std::string(DefaultVersionUrl).empty()) {
        WriteSetting(settings_, "Update", "VersionUrl", "");
        EXPECT_EQ(flow_->RunAutomaticCheck("KV", PrefUpdate), 0);
        EXPECT_TRUE(messages_.empty());
        EXPECT_EQ(Setting("LastCheck", "none"), "none");
        EXPECT_EQ(flow_->CheckFromMenu("KV"), 0);
        ASSERT_EQ(messages_.size(), 1u);
        EXPECT_EQ(messages_[0].title, "No Update Server Set");
        EXPECT_EQ(Shown(messages_[0].text2),
                  "To check for updates, set VersionUrl in section [Update] of \"" + settings_ +
                      "\" to the https address of the version file.");
        WriteSetting(settings_, "Update", "VersionUrl", Url("/ZorvVersion.txt"));
    }
    messages_.clear();
    flow_->SetSelfUpdating(false);
    EXPECT_EQ(flow_->RunAutomaticCheck("KV", PrefUpdate), 0);
    EXPECT_TRUE(messages_.empty());
    EXPECT_EQ(flow_->CheckFromMenu("KV"), 0);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(Shown(messages_[0].text1),
              "This copy of Kalvara is updated by the system's package manager.");
    EXPECT_TRUE(UpdatesFolderEmpty());
}

} // namespace
} // namespace kalvara::update
