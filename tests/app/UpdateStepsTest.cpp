// The main window's calls into the update flow: the start steps, the menu's
// check and the installer on close. Every address is on loopback, and the
// flow's messages are answered by the harness.

#include "AppHarness.h"
#include "app/MainWindow.h"
#include "app/SettingsStore.h"
#include "gui/Gui.h"

#include <QTcpServer>
#include <gtest/gtest.h>

namespace kalvara::test {
namespace {

// An address on loopback where nothing answers.
std::string ClosedLoopbackUrl() {
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    const quint16 port = server.serverPort();
    server.close();
    return "http://127.0.0.1:" + std::to_string(port) + "/ZorvVersion.txt";
}

TEST(UpdateSteps, AfterAnInstallationTheOutcomeIsReportedOnce) {
    // Restarted by the installer with "/update": confirmed; without: failed.
    for (bool after_update : {true, false}) {
        AppHarness harness;
        WriteFile(harness.SettingsFile(),
                  "[Update]\nLastCheck=99999999\nNewVer=5.3.1.0\nFailed=1\n");
        harness.SetAfterUpdate(after_update);
        harness.Start();
        EXPECT_EQ(harness.UpdateMessages(),
                  std::vector<std::string>{after_update ? "Update Process Complete"
                                                        : "Update Process Failed"});
        EXPECT_EQ(ReadSetting(harness.SettingsFile(), "Update", "Failed", "x"), "0");
        EXPECT_TRUE(gui::FormExists(MainFormName));
    }
}

TEST(UpdateSteps, AutomaticCheckRunsWhenDueAndOnlyWithTheAlertSwitch) {
    {
        AppHarness harness;
        WriteFile(harness.SettingsFile(),
                  "[Update]\nLastCheck=0\nVersionUrl=" + ClosedLoopbackUrl() + "\n");
        harness.Start();
        EXPECT_EQ(harness.UpdateMessages(),
                  std::vector<std::string>{"Unable to Complete Update Check"});
        EXPECT_NE(ReadSetting(harness.SettingsFile(), "Update", "LastCheck", "0"), "0");
        EXPECT_TRUE(gui::FormExists(MainFormName));
    }
    {
        AppHarness harness;
        WriteFile(harness.SettingsFile(), "[Update]\nLastCheck=0\nVersionUrl=" +
                                              ClosedLoopbackUrl() + "\n[Preferences]\nUpdate=0\n");
        harness.Start();
        EXPECT_TRUE(harness.UpdateMessages().empty());
    }
}

TEST(UpdateSteps, MenuCheckAlwaysAnswersAndKeepsTheWindow) {
    AppHarness harness;
    WriteFile(harness.SettingsFile(),
              "[Update]\nLastCheck=99999999\nVersionUrl=" + ClosedLoopbackUrl() + "\n");
    harness.Start();
    ASSERT_TRUE(harness.UpdateMessages().empty());
    TriggerMenu(MainFormName, MenuCheckForUpdate);
    EXPECT_EQ(harness.UpdateMessages(),
              std::vector<std::string>{"Unable to Complete Update Check"});
    EXPECT_TRUE(gui::FormExists(MainFormName));
    // Closing without a downloaded installer starts nothing.
    Click(MainFormName, ExitButtonId);
    Pump();
    EXPECT_TRUE(harness.StartedPrograms().empty());
}

} // namespace
} // namespace kalvara::test
