// The main window through the real dispatch, and what the user is told when
// an output folder, a calendar file or a web browser fails.

#include "app/MainWindow.h"

#include "AppHarness.h"
#include "app/HelpViewer.h"
#include "app/PrintRangeDialog.h"
#include "engine/DateText.h"
#include "gui/Gui.h"
#include "update/UpdateFlow.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <gmock/gmock.h>

namespace kalvara::test {
namespace {

using ::testing::AllOf;
using ::testing::HasSubstr;

TEST(MainWindow, StartsWithTheRememberedChoiceElseThisYearAndYear) {
    const std::string this_year = TodayText().substr(TodayText().size() - 4);
    // A remembered style outside 1..6 would select no button and print
    // nothing: it falls back to Year, as it does when remembering is off.
    for (const auto& [settings, year, style] :
         std::vector<std::tuple<std::string, std::string, int>>{
             {"", this_year, 3},
             {"[Last]\nYear= 1998 \nStyle=5\n", "1998", 5},
             {"[Last]\nStyle=5\n[Preferences]\nStyle=0\n", this_year, 3},
             {"[Last]\nStyle=7\n", this_year, 3},
             {"[Last]\nStyle=banana\n", this_year, 3}}) {
        SCOPED_TRACE(settings);
        AppHarness harness(NoUpdateCheck + settings);
        harness.Start();
        EXPECT_EQ(gui::GetText(MainFormName, YearFieldId), year);
        EXPECT_EQ(gui::GetCheck(MainFormName, StyleRadioId(style)), 1);
        EXPECT_EQ(static_cast<int>(harness.App().Selection().Style), style);
    }
}

TEST(MainWindow, StylesShowSamplesGenerateRefuses1919OrPrintsAndHelpClosesWithTheWindow) {
    AppHarness harness;
    harness.Start();
    const auto* label = qobject_cast<QLabel*>(gui::ControlWidget(MainFormName, PreviewPictureId));
    ASSERT_NE(label, nullptr);
    std::vector<QImage> samples;
    for (int style : {1, 6, 2, 4, 5, 3}) {
        SCOPED_TRACE(style);
        Click(MainFormName, StyleRadioId(style));
        const QImage shown = label->pixmap().toImage();
        EXPECT_EQ(std::count(samples.begin(), samples.end(), shown), 0);
        samples.push_back(shown);
    }
    SCOPED_TRACE("the year");
    Type(MainFormName, YearFieldId, "191");
    EXPECT_FALSE(gui::IsEnabled(MainFormName, GenerateButtonId));
    Type(MainFormName, YearFieldId, "19195");
    EXPECT_EQ(gui::GetText(MainFormName, YearFieldId), "1919");
    Click(MainFormName, GenerateButtonId);
    EXPECT_EQ(harness.message_titles, std::vector<std::string>{"Whoa, Tesvel!"});
    EXPECT_EQ(harness.Setting("Last", "Year"), "none");
    EXPECT_TRUE(harness.Calendars().empty());
    SCOPED_TRACE("printing");
    Type(MainFormName, YearFieldId, "1920");
    for (int style : {3, 4, 5, 6}) {
        Click(MainFormName, StyleRadioId(style));
        Click(MainFormName, GenerateButtonId);
        EXPECT_FALSE(gui::FormExists(PrintRangeFormName));
        EXPECT_EQ(harness.Setting("Last", "Style"), std::to_string(style));
    }
    EXPECT_EQ(harness.Setting("Last", "Year"), "1920");
    EXPECT_EQ(harness.Calendars().size(), 4u);
    ASSERT_EQ(harness.opened.size(), 4u);
    EXPECT_EQ(harness.opened[0], harness.OutputFolder() + "001Calendar.PDF");

    SCOPED_TRACE("help: each way in, its history and F1");
    Click(MainFormName, HelpButtonId);
    HelpViewer* help = harness.App().Help();
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(harness.HelpPage(), "topic10.html");
    harness.App().ShowHelp(HelpViewer::DisplayTopic, HelpTopicPreferences);
    EXPECT_EQ(harness.HelpPage(), "topic25.html");
    QTest::mouseClick(help->BackButton(), Qt::LeftButton);
    EXPECT_EQ(harness.HelpPage(), "topic10.html");
    // A topic that is not installed explains itself instead of failing.
    harness.App().ShowHelp(HelpViewer::DisplayTopic, 12345);
    EXPECT_EQ(harness.HelpPage(), "");
    harness.App().ShowHelp(HelpViewer::DisplayIndex, 0);
    EXPECT_EQ(help->CurrentTab(), 1);
    TriggerMenu(MainFormName, MenuHelpContents);
    EXPECT_EQ(help->CurrentTab(), 0);
    EXPECT_EQ(harness.HelpPage(), "contents.html");
    // F1 opens the topic of the form that claimed help last.
    harness.App().SetHelpContext(HelpTopicMainWindow);
    QApplication::setActiveWindow(gui::FormWidget(MainFormName));
    QTest::keyClick(gui::FormWidget(MainFormName), Qt::Key_F1);
    EXPECT_EQ(harness.HelpPage(), "topic10.html");
    Click(MainFormName, ExitButtonId);
    Pump();
    EXPECT_FALSE(gui::FormExists(MainFormName));
    EXPECT_FALSE(help->isVisible());
}

TEST(MainWindow, NoPdfReaderWarnsAndDisablesPrintingUntilTheYearIsEdited) {
    AppHarness harness;
    harness.reader_found = false;
    harness.Start(); // answered with "&Get Help on This Problem"
    EXPECT_EQ(harness.message_titles,
              std::vector<std::string>{"Print Functions Have Been Disabled"});
    EXPECT_FALSE(gui::IsEnabled(MainFormName, GenerateButtonId));
    EXPECT_EQ(harness.HelpPage(), "topic45.html");
    Type(MainFormName, YearFieldId, "2020");
    // Without a reader the calendar is saved, and the user told where and for how long.
    Click(MainFormName, GenerateButtonId);
    EXPECT_EQ(harness.Calendars(), std::vector<std::string>{"001Calendar.PDF"});
    EXPECT_TRUE(harness.opened.empty());
    ASSERT_EQ(harness.message_titles.back(), "Calendar Saved");
    EXPECT_THAT(harness.message_texts.back(),
                AllOf(HasSubstr(harness.OutputFolder() + "001Calendar.PDF"),
                      HasSubstr("empties this folder at its next start")));
}

TEST(UpdateSteps, StartReportsAnInstallationsOutcomeAndChecksWhenDueWithTheAlertSwitch) {
    const std::string installed = std::string(NoUpdateCheck) + "NewVer=5.3.1.0\nFailed=1\n";
    const std::string due = "[Update]\nLastCheck=0\n" + ClosedVersionUrl();
    // An installation is confirmed only when the installer restarted with "/update".
    for (const auto& [settings, after_update, titles] :
         std::vector<std::tuple<std::string, bool, std::vector<std::string>>>{
             {installed, true, {"Update Process Complete"}},
             {installed, false, {"Update Process Failed"}},
             {due, false, {"Unable to Complete Update Check"}},
             {due + "[Preferences]\nUpdate=0\n", false, {}}}) {
        SCOPED_TRACE(settings);
        AppHarness harness(settings);
        harness.after_update = after_update;
        harness.Start();
        EXPECT_EQ(harness.update_messages, titles);
    }
    // Without an update server a fresh folder's first start shows the main
    // window, with the program's icon, and nothing else.
    if (std::string(update::DefaultVersionUrl).empty()) {
        AppHarness harness("");
        harness.Start();
        EXPECT_EQ(QGuiApplication::desktopFileName(), DesktopFileName);
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            EXPECT_EQ(widget->isVisible(), widget == gui::FormWidget(MainFormName));
            EXPECT_FALSE(widget->windowIcon().isNull());
        }
    }
}

TEST(OutputFolderProblem, IsToldWithItsReasonInsteadOfAMissingReaderAndKeepsGenerateOff) {
    AppHarness harness;
    // A file where the folder should be, under a name with the message box's
    // mark-up characters: not even root can make the folder.
    harness.folder_given = harness.ProgramFolder() + "odd{f7}|name/";
    WriteFile(harness.folder_given + "Zorv.ini", NoUpdateCheck);
    WriteFile(harness.folder_given + "PDF", "in the way");
    harness.Start();
    ASSERT_EQ(harness.message_titles, std::vector<std::string>{"Calendars Cannot Be Saved"});
    EXPECT_FALSE(harness.App().OutputFolderProblem().empty());
    EXPECT_THAT(harness.message_texts[0], AllOf(HasSubstr("odd{f7} name/PDF\""),
                                                HasSubstr(harness.App().OutputFolderProblem())));
    // Unlike after a missing reader, editing the year does not bring it back.
    Type(MainFormName, YearFieldId, "2025");
    EXPECT_FALSE(gui::IsEnabled(MainFormName, GenerateButtonId));
    EXPECT_EQ(ReadFile(harness.folder_given + "PDF"), "in the way");
}

// The menu's check always answers, here with "&Visit Web Site" after it failed.
TEST(NoWebBrowser, TheAddressIsShownToCopy) {
    const std::string page = "http://127.0.0.1/kalvara{x}|page.html";
    AppHarness harness(NoUpdateCheck + ClosedVersionUrl() + "ProductPage=" + page + "\n");
    harness.Start();
    harness.App().OpenWebPage(page);
    Pump();
    EXPECT_TRUE(harness.message_titles.empty()) << "a browser that starts needs no notice";
    harness.browser_starts = false;
    harness.update_answer = 1;
    TriggerMenu(MainFormName, MenuCheckForUpdate);
    EXPECT_EQ(harness.update_messages, std::vector<std::string>{"Unable to Complete Update Check"});
    EXPECT_EQ(harness.opened, std::vector<std::string>(2, page));
    ASSERT_EQ(harness.message_titles, std::vector<std::string>{"No Web Browser"});
    // The recorder reads every "|" as a line break.
    EXPECT_THAT(harness.message_texts[0], HasSubstr("http://127.0.0.1/kalvara{x} page.html"));
}

} // namespace
} // namespace kalvara::test
