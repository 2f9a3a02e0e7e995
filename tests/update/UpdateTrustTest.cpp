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

using test::ReadFile;
using test::Strings;
using test::WriteFile;

// A text block as the message box shows it: its visible text, quoted bars
// drawn as bars.
std::string Shown(const std::string& text) {
    std::string shown = msgbox::ParseText(text, true).text;
    std::replace(shown.begin(), shown.end(), QuotedBar, '|');
    return shown;
}

class UpdateTrustTest : public test::UpdateFlowTest {
protected:
    // Runs a manual check that the user accepts and expects the refusal of an
    // unverified installer: nothing kept, no setting touched, nothing run.
    void ExpectRefused(const std::string& what) {
        SCOPED_TRACE(what);
        messages_.clear();
        opened_urls_.clear();
        const std::string settings_before = ReadFile(settings_);
        answers_ = {1, 1};
        EXPECT_EQ(flow_->CheckFromMenu("KV"), 0);
        EXPECT_EQ(Titles(), (Strings{"New Version Available", "Update Not Verified"}));
        EXPECT_EQ(messages_.back().parent, "KV");
        EXPECT_EQ(opened_urls_, Strings{Url("/kalvara.html")}); // "&Visit Web Site"
        EXPECT_EQ(ReadFile(settings_), settings_before);
        ExpectNothingKept();
        flow_->RunInstaller();
        EXPECT_TRUE(started_.empty());
    }

    std::filesystem::path Signature() const { return www_ / "files" / "Setup.sh.minisig"; }
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
    WriteFile(Signature(), good.substr(0, good.size() / 2));
    ExpectRefused("truncated");
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
    const Strings files = {"PDF/001Calendar.PDF", "History.rtf", "Updater.ini"};
    for (const auto& file : files) {
        WriteFile(program_ / file, "mine: " + file);
    }
    WriteSetting(settings_, "Last", "Year", "2026");
    for (const std::string name : {"Zorv.ini", "Updater.ini", "PDF", "History.rtf"}) {
        SCOPED_TRACE(name);
        Publish("5.3.0.1", host_ + " /files/Setup.sh " + name);
        flow_ = MakeFlow();
        answers_ = {1};
        EXPECT_EQ(flow_->CheckFromMenu("KV"), 1);
        EXPECT_EQ(ReadFile(data_ / "updates" / name), installer_);
        EXPECT_EQ(ReadSetting(settings_, "Last", "Year", ""), "2026");
        for (const auto& file : files) {
            EXPECT_EQ(ReadFile(program_ / file), "mine: " + file);
        }
    }
}

// A link put where the updates folder goes would send the download into
// whatever folder it names.
TEST_F(UpdateTrustTest, LinkInPlaceOfTheUpdatesFolderIsRefused) {
    const auto elsewhere = root_.Path() / "elsewhere";
    std::filesystem::create_directories(elsewhere);
    std::filesystem::create_directories(data_);
    std::filesystem::create_directory_symlink(elsewhere, data_ / "updates");
    Publish("5.3.0.1");
    answers_ = {1};
    EXPECT_EQ(flow_->CheckFromMenu("KV"), 0);
    EXPECT_EQ(Titles(), (Strings{"New Version Available", "Download Error"}));
    EXPECT_NE(messages_[1].text1.find("is not a folder of its own"), std::string::npos);
    ExpectNothingKept();
}

// A reason phrase full of mark-up, through the real message box: its label
// shows it on one line, braces and bars as they stand.
TEST_F(UpdateTrustTest, ServerWordsAreShownLiterally) {
    const std::string reason = "{W500,F99}Gone|||x}";
    test::ScriptedServer server({{{"HTTP/1.0 410 " + reason + "\r\n\r\n"}}});
    Publish("5.3.0.1", server.Host() + " /Setup.sh Setup.sh");
    flow_ = MakeFlow(false, /*real_message_box=*/true);
    Strings shown;
    const auto clicker = ClickThrough(shown); // "&Yes", then "&OK"
    EXPECT_EQ(flow_->CheckFromMenu("KV"), 0);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1], "Download Error|The server answered 410 " + reason + " for \"" +
                            server.Host() + "/Setup.sh\".");
}

// A copy built without an update server makes no check at its first start
// and the menu says how to set one; a package-managed copy never checks.
TEST_F(UpdateTrustTest, WithoutAnUpdateServerOrUpdaterNothingIsChecked) {
    Publish("5.4.0.0");
    if (std::string(DefaultVersionUrl).empty()) {
        WriteSetting(settings_, "Update", "VersionUrl", "");
        EXPECT_EQ(flow_->RunAutomaticCheck("KV", PrefUpdate), 0);
        EXPECT_EQ(Setting("LastCheck", "none"), "none");
        EXPECT_EQ(flow_->CheckFromMenu("KV"), 0);
        EXPECT_EQ(Titles(), Strings{"No Update Server Set"});
        EXPECT_EQ(Shown(messages_[0].text2),
                  "To check for updates, set VersionUrl in section [Update] of \"" + settings_ +
                      "\" to the https address of the version file.");
        WriteSetting(settings_, "Update", "VersionUrl", Url("/ZorvVersion.txt"));
    }
    messages_.clear();
    flow_->SetSelfUpdating(false);
    EXPECT_EQ(flow_->RunAutomaticCheck("KV", PrefUpdate), 0);
    EXPECT_EQ(flow_->CheckFromMenu("KV"), 0);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(Shown(messages_[0].text1),
              "This copy of Kalvara is updated by the system's package manager.");
    ExpectNothingKept();
}

} // namespace
} // namespace kalvara::update
