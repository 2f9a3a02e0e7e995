// What makes an update trustworthy: only an installer signed by the trusted
// key is kept and run, no name from the server can reach the program's or the
// user's files, the server's words are shown as text, and a copy without an
// update server (or updated by its package manager) stays quiet.

#include "ScriptedServer.h"
#include "UpdateFlowFixture.h"
#include "msgbox/MessageBoxMarkup.h"

#include <algorithm>

namespace kalvara::update {
namespace {

using namespace test;

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
    // unverified installer: nothing kept, no setting touched, nothing run.
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

    fs::path Signature() const { return www_ / "files" / "Setup.sh.minisig"; }
};

// Each way a signature can fail to hold is a verdict of its own in the
// signature tests; here one of each way it reaches the flow.
TEST_F(UpdateTrustTest, UnverifiedInstallersAreRefused) {
    Publish("5.3.0.1", "", /*sign=*/false); // the server answers 404
    ExpectRefused("unsigned");
    Publish("5.3.0.1");
    WriteFile(www_ / "files" / "Setup.sh", installer_ + "rm -rf \"$HOME\"\n");
    ExpectRefused("tampered");
    Publish("5.3.0.1");
    const std::string good = ReadFile(Signature());
    WriteFile(Signature(), good + std::string(5000, '\n'));
    ExpectRefused("larger than 4 KiB");
    // The key is the settings file's (a mirror's) or the built-in one; with
    // neither, nothing verifies.
    WriteFile(Signature(), good);
    WriteSetting(settings_, "Update", "PublicKey", "");
    EXPECT_EQ(flow_->PublicKey(), DefaultPublicKey);
    if (std::string(DefaultPublicKey).empty()) {
        ExpectRefused("no key");
    }
}

// Kalvara's own files and the user's keep their contents whatever the
// installer is called: downloads stay in the updates folder, and a link put
// there would send them into whatever folder it names.
TEST_F(UpdateTrustTest, InstallerNamesOfTheProgramsFilesAreHarmlessAndALinkIsRefused) {
    WriteFile(program_ / "PDF" / "001Calendar.PDF", "mine");
    WriteSetting(settings_, "Last", "Year", "2026");
    for (const std::string name : {"Zorv.ini", "PDF", "001Calendar.PDF"}) {
        SCOPED_TRACE(name);
        Publish("5.3.0.1", host_ + " /files/Setup.sh " + name);
        flow_ = MakeFlow();
        EXPECT_EQ(CheckFromMenu({1}), 1);
        EXPECT_EQ(ReadFile(data_ / "updates" / name), installer_);
        EXPECT_EQ(ReadSetting(settings_, "Last", "Year", "") +
                      ReadFile(program_ / "PDF" / "001Calendar.PDF"),
                  "2026mine");
    }
    fs::remove_all(data_ / "updates");
    fs::create_directories(root_.Path() / "elsewhere");
    fs::create_directory_symlink(root_.Path() / "elsewhere", data_ / "updates");
    flow_ = MakeFlow();
    EXPECT_EQ(CheckFromMenu({1}), 0);
    EXPECT_EQ(Titles(), (Strings{"New Version Available", "Download Error"}));
    EXPECT_THAT(messages_[1].text1, HasSubstr("is not a folder of its own"));
    EXPECT_TRUE(fs::is_empty(root_.Path() / "elsewhere"));
    EXPECT_FALSE(flow_->InstallerDownloaded());
}

// A reason phrase full of mark-up, through the real message box: its label
// shows it on one line, braces and bars as they stand.
TEST_F(UpdateTrustTest, ServerWordsAreShownLiterally) {
    const std::string reason = "{W500,F99}Gone|||x}";
    ScriptedServer server({{"HTTP/1.0 410 " + reason + "\r\n\r\n"}});
    Publish("5.3.0.1", server.Host() + " /Setup.sh Setup.sh");
    services_.show_message_box = nullptr;
    flow_ = MakeFlow();
    Strings shown;
    const auto clicker = ClickThrough(shown); // "&Yes", then "&OK"
    EXPECT_EQ(flow_->CheckFromMenu("KV"), 0);
    EXPECT_THAT(shown, ElementsAre(_, "Download Error|The server answered 410 " + reason +
                                          " for \"" + server.Host() + "/Setup.sh\"."));
}

// A copy built without an update server makes no check at its first start
// and the menu says how to set one; a package-managed copy never checks.
TEST_F(UpdateTrustTest, WithoutAnUpdateServerOrUpdaterNothingIsChecked) {
    Publish("5.4.0.0");
    WriteSetting(settings_, "Update", "VersionUrl", "");
    EXPECT_EQ(flow_->VersionUrl(), DefaultVersionUrl);
    if (std::string(DefaultVersionUrl).empty()) {
        EXPECT_EQ(flow_->RunAutomaticCheck("KV", PrefUpdate), 0);
        EXPECT_EQ(Setting("LastCheck", "none"), "none");
        EXPECT_EQ(CheckFromMenu({}), 0);
        EXPECT_EQ(Titles(), Strings{"No Update Server Set"});
        EXPECT_EQ(Shown(messages_[0].text2),
                  "To check for updates, set VersionUrl in section [Update] of \"" + settings_ +
                      "\" to the https address of the version file.");
    }
    WriteSetting(settings_, "Update", "VersionUrl", Url("/ZorvVersion.txt"));
    flow_->SetSelfUpdating(false);
    EXPECT_EQ(flow_->RunAutomaticCheck("KV", PrefUpdate), 0);
    EXPECT_EQ(CheckFromMenu({}), 0);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(Shown(messages_[0].text1),
              "This copy of Kalvara is updated by the system's package manager.");
    ExpectNothingKept();
}

} // namespace
} // namespace kalvara::update
