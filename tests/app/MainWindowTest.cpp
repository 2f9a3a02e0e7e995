// The main window through the real dispatch: start-up, the year field, the
// style buttons, Generate and what it remembers, help, closing, and its calls
// into the update flow. Every update address is on loopback, and the flow's
// messages are answered by the harness.

#include "app/MainWindow.h"

#include "AppHarness.h"
#include "about/AboutBox.h"
#include "app/HelpViewer.h"
#include "app/PrintRangeDialog.h"
#include "core/SettingsStore.h"
#include "engine/DateText.h"
#include "gui/Gui.h"
#include "msgbox/MessageBox.h"
#include "update/UpdateFlow.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTcpServer>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

namespace kalvara::test {
namespace {

QLineEdit* YearField() {
    return qobject_cast<QLineEdit*>(gui::ControlWidget(MainFormName, YearFieldId));
}

void TypeYear(const QString& text) {
    YearField()->selectAll();
    QTest::keyClick(YearField(), Qt::Key_Backspace);
    QTest::keyClicks(YearField(), text);
}

int CheckedStyle() {
    int checked = 0;
    for (int style = 1; style <= 6; ++style) {
        if (gui::GetCheck(MainFormName, StyleRadioId(style)) != 0) {
            EXPECT_EQ(checked, 0) << "two styles checked";
            checked = style;
        }
    }
    return checked;
}

std::string Last(const AppHarness& harness, const char* key) {
    return ReadSetting(harness.SettingsFile(), "Last", key, "none");
}

bool HelpShows(AppHarness& harness, const char* page) {
    return harness.App().Help() != nullptr &&
           harness.App().Help()->CurrentPage().toString().endsWith(page);
}

TEST(MainWindow, StartsWithTheRememberedChoiceElseThisYearAndYear) {
    const std::string today = TodayText();
    const std::string this_year = today.substr(today.size() - 4);
    // A remembered style outside 1..6 would select no button and print
    // nothing: it falls back to Year.
    for (const auto& [settings, year, style] :
         std::vector<std::tuple<std::string, std::string, int>>{
             {"", this_year, 3},
             {"[Last]\nYear= 1998 \nStyle=5\n", "1998", 5},
             {"[Last]\nStyle=5\n[Preferences]\nStyle=0\n", this_year, 3},
             {"[Last]\nStyle=7\n", this_year, 3},
             {"[Last]\nStyle=banana\n", this_year, 3}}) {
        AppHarness harness(NoUpdateCheck + settings);
        harness.Start();
        EXPECT_EQ(gui::GetText(MainFormName, YearFieldId), year) << settings;
        EXPECT_EQ(CheckedStyle(), style) << settings;
        EXPECT_EQ(static_cast<int>(harness.App().Selection().Style), style);
        EXPECT_EQ(YearField()->cursorPosition(), 4);
    }
}

TEST(MainWindow, StyleButtonsChooseTheStyleAndItsSample) {
    AppHarness harness;
    harness.Start();
    const auto* label = qobject_cast<QLabel*>(gui::ControlWidget(MainFormName, PreviewPictureId));
    ASSERT_NE(label, nullptr);
    // Each sample is shown whole: inside the picture area, at its own shape.
    const auto expectWhole = [label](QSize sample, int style) {
        const QSize shown = label->pixmap().size();
        EXPECT_LE(shown.width(), label->contentsRect().width()) << style;
        EXPECT_LE(shown.height(), label->contentsRect().height()) << style;
        EXPECT_GE(shown.height(), std::min(sample.height(), label->contentsRect().height()) - 1)
            << style;
        EXPECT_NEAR(static_cast<double>(shown.width()) / shown.height(),
                    static_cast<double>(sample.width()) / sample.height(), 0.02)
            << style;
    };
    expectWhole({152, 172}, 0);
    const std::vector<std::pair<int, QSize>> samples{{1, {226, 172}}, {6, {149, 172}},
                                                     {2, {150, 172}}, {4, {138, 172}},
                                                     {5, {226, 137}}, {3, {152, 172}}};
    for (const auto& [style, size] : samples) {
        Click(MainFormName, StyleRadioId(style));
        EXPECT_EQ(static_cast<int>(harness.App().Selection().Style), style);
        EXPECT_EQ(CheckedStyle(), style);
        expectWhole(size, style);
    }
}

TEST(MainWindow, GenerateNeedsFourCharactersRefuses1919AndPrintsOtherStylesDirectly) {
    AppHarness harness;
    harness.Start();
    TypeYear("191");
    EXPECT_FALSE(gui::IsEnabled(MainFormName, GenerateButtonId));
    TypeYear("19195");
    EXPECT_EQ(gui::GetText(MainFormName, YearFieldId), "1919");
    EXPECT_TRUE(gui::IsEnabled(MainFormName, GenerateButtonId));
    std::string notice;
    EXPECT_TRUE(OpenAndAnswer(
        msgbox::MessageBoxFormName, [] { Click(MainFormName, GenerateButtonId); },
        [&notice] {
            notice = gui::GetText(msgbox::MessageBoxFormName, 0) + "|" +
                     gui::GetText(msgbox::MessageBoxFormName, msgbox::Text1Id);
            Click(msgbox::MessageBoxFormName, msgbox::FirstButtonId);
        }));
    EXPECT_EQ(notice.rfind("Whoa, Tesvel!|", 0), 0u) << notice;
    EXPECT_NE(notice.find("Radio broadcasting didn't begin until 1920."), std::string::npos);
    EXPECT_TRUE(harness.Calendars().empty());
    EXPECT_EQ(Last(harness, "Year"), "none");

    TypeYear("1920");
    for (int style : {3, 4, 5, 6}) {
        Click(MainFormName, StyleRadioId(style));
        Click(MainFormName, GenerateButtonId);
        EXPECT_FALSE(gui::FormExists(PrintRangeFormName));
        EXPECT_EQ(Last(harness, "Style"), std::to_string(style));
    }
    EXPECT_EQ(Last(harness, "Year"), "1920");
    EXPECT_EQ(harness.Calendars().size(), 4u);
    ASSERT_EQ(harness.opened.size(), 4u);
    EXPECT_EQ(harness.opened[0], harness.OutputFolder() + "001Calendar.PDF");
}

TEST(MainWindow, NoPdfReaderWarnsAndDisablesPrintingUntilTheYearIsEdited) {
    AppHarness harness;
    harness.reader_found = false;
    std::string title;
    EXPECT_TRUE(OpenAndAnswer(
        msgbox::MessageBoxFormName, [&harness] { harness.Start(); },
        [&title] {
            title = gui::GetText(msgbox::MessageBoxFormName, 0);
            // "&Get Help on This Problem"
            Click(msgbox::MessageBoxFormName, msgbox::FirstButtonId);
        }));
    EXPECT_EQ(title, "Print Functions Have Been Disabled");
    EXPECT_FALSE(gui::IsEnabled(MainFormName, GenerateButtonId));
    EXPECT_TRUE(HelpShows(harness, "topic45.html"));

    TypeYear("2020");
    EXPECT_TRUE(gui::IsEnabled(MainFormName, GenerateButtonId));
    // Without a reader the calendar is saved, not opened, and the user is
    // told where it is and that it will not stay there.
    MessageRecorder messages;
    Click(MainFormName, GenerateButtonId);
    EXPECT_EQ(harness.Calendars(), std::vector<std::string>{"001Calendar.PDF"});
    EXPECT_TRUE(harness.opened.empty());
    ASSERT_EQ(messages.Titles(), std::vector<std::string>{"Calendar Saved"});
    EXPECT_NE(messages.Messages()[0].Text1.find(harness.OutputFolder() + "001Calendar.PDF"),
              std::string::npos)
        << messages.Messages()[0].Text1;
    EXPECT_NE(messages.Messages()[0].Text2.find("empties this folder at its next start"),
              std::string::npos);
    EXPECT_EQ(Last(harness, "Year"), "2020");
}

TEST(MainWindow, HelpButtonF1MenuAboutBoxHelpCommandsAndExit) {
    AppHarness harness;
    harness.Start();
    // Commands other than contents, index and topic do nothing.
    harness.App().ShowHelp(3, 10);
    harness.App().ShowHelp(0, 10);
    EXPECT_EQ(harness.App().Help(), nullptr);
    harness.App().ShowHelp(HelpViewer::DisplayIndex, 0);
    ASSERT_NE(harness.App().Help(), nullptr);
    EXPECT_EQ(harness.App().Help()->CurrentTab(), 1);
    EXPECT_TRUE(harness.App().Help()->isVisible());
    // A topic that is not installed explains itself instead of failing.
    harness.App().ShowHelp(HelpViewer::DisplayTopic, 12345);
    EXPECT_TRUE(harness.App().Help()->CurrentPage().isEmpty());
    // Topics 10, 20 and 45 are opened by the tests; 25 is the preferences'.
    EXPECT_FALSE(harness.App().Help()->TopicFile(25).isEmpty());

    Click(MainFormName, HelpButtonId);
    EXPECT_TRUE(HelpShows(harness, "topic10.html"));
    TriggerMenu(MainFormName, MenuHelpContents);
    EXPECT_EQ(harness.App().Help()->CurrentTab(), 0);
    // F1 opens the topic of the form that claimed help last.
    harness.App().ShowHelp(HelpViewer::DisplayTopic, 25);
    harness.App().SetHelpContext(HelpTopicMainWindow);
    QTest::keyClick(gui::FormWidget(MainFormName), Qt::Key_F1);
    EXPECT_TRUE(HelpShows(harness, "topic10.html"));

    EXPECT_TRUE(OpenAndAnswer(
        AboutFormName, [] { TriggerMenu(MainFormName, MenuAbout); },
        [] { Click(AboutFormName, AboutCloseButtonId); }));
    EXPECT_TRUE(gui::FormExists(MainFormName));
    // The help belongs to the main window and closes with it.
    Click(MainFormName, ExitButtonId);
    Pump();
    EXPECT_FALSE(gui::FormExists(MainFormName));
    EXPECT_FALSE(harness.App().Help()->isVisible());
}

// Every window on the screen, whichever part of the program made it.
int VisibleWindowsWithoutIcon() {
    int missing = 0;
    for (const QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && window->windowIcon().isNull()) {
            ADD_FAILURE() << "no icon: " << window->windowTitle().toStdString();
            ++missing;
        }
    }
    return missing;
}

TEST(MainWindow, EveryWindowCarriesTheProgramIcon) {
    AppHarness harness;
    harness.Start();
    EXPECT_EQ(QGuiApplication::desktopFileName(), DesktopFileName);
    harness.App().ShowHelp(HelpViewer::DisplayIndex, 0);
    ASSERT_NE(harness.App().Help(), nullptr);
    EXPECT_TRUE(harness.App().Help()->isVisible());
    EXPECT_EQ(VisibleWindowsWithoutIcon(), 0);

    int missing = -1;
    EXPECT_TRUE(OpenAndAnswer(
        AboutFormName, [] { TriggerMenu(MainFormName, MenuAbout); },
        [&] {
            missing = VisibleWindowsWithoutIcon();
            Click(AboutFormName, AboutCloseButtonId);
        }));
    EXPECT_EQ(missing, 0);
    missing = -1;
    EXPECT_TRUE(OpenAndAnswer(
        msgbox::MessageBoxFormName, [] { msgbox::ShowNotice("Notice", "Text one", ""); },
        [&] {
            missing = VisibleWindowsWithoutIcon();
            gui::UnloadForm(msgbox::MessageBoxFormName);
        }));
    EXPECT_EQ(missing, 0);
}

TEST(MainWindow, HelpOpensOverTheWindowNamedAfterItsPageAndWalksBackAndForward) {
    AppHarness harness;
    harness.Start();
    Click(MainFormName, HelpButtonId);
    HelpViewer* help = harness.App().Help();
    ASSERT_NE(help, nullptr);
    ASSERT_TRUE(HelpShows(harness, "topic10.html"));
    EXPECT_TRUE(help->windowTitle().startsWith(QString::fromUtf8("Kalvara Help \u2014 ")))
        << help->windowTitle().toStdString();
    const QRect screen = help->screen()->availableGeometry();
    EXPECT_TRUE(screen.contains(help->frameGeometry()));
    if (screen.contains(gui::FormWidget(MainFormName)->frameGeometry()) &&
        help->frameGeometry().width() < screen.width() &&
        help->frameGeometry().height() < screen.height()) {
        const QPoint offset = help->frameGeometry().center() -
                              gui::FormWidget(MainFormName)->frameGeometry().center();
        EXPECT_LE(offset.manhattanLength(), 4) << offset.x() << "," << offset.y();
    }

    EXPECT_FALSE(help->BackButton()->isEnabled());
    harness.App().ShowHelp(HelpViewer::DisplayTopic, 25);
    ASSERT_FALSE(HelpShows(harness, "topic10.html"));
    ASSERT_TRUE(help->BackButton()->isEnabled());
    QTest::mouseClick(help->BackButton(), Qt::LeftButton);
    EXPECT_TRUE(HelpShows(harness, "topic10.html"));
    ASSERT_TRUE(help->ForwardButton()->isEnabled());
    QTest::mouseClick(help->ForwardButton(), Qt::LeftButton);
    EXPECT_FALSE(HelpShows(harness, "topic10.html"));
    EXPECT_FALSE(help->ForwardButton()->isEnabled());
}

TEST(MainWindow, UnknownFormsAndLibraryNamesChangeNothing) {
    AppHarness harness;
    harness.Start();
    for (const char* form : {"{APP}", "{MSGBOX}", "kv", ""}) {
        for (int code : {0, 1, 87, 130}) {
            int value = 1;
            int cancel = 0;
            harness.App().DispatchEvent(form, 0, code, value, cancel);
            harness.App().DispatchEvent(form, GenerateButtonId, code, value, cancel);
            EXPECT_EQ(cancel, 0);
        }
    }
    EXPECT_TRUE(gui::FormExists(MainFormName));
    EXPECT_EQ(harness.App().Selection().Style, CalendarStyle::Year);
    EXPECT_TRUE(harness.Calendars().empty());
}

// A version address on loopback where nothing answers.
std::string ClosedVersionUrl() {
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    return "VersionUrl=http://127.0.0.1:" + std::to_string(server.serverPort()) +
           "/ZorvVersion.txt\n";
}

TEST(UpdateSteps, AfterAnInstallationTheOutcomeIsReportedOnce) {
    // Restarted by the installer with "/update": confirmed; without: failed.
    for (bool after_update : {true, false}) {
        AppHarness harness(std::string(NoUpdateCheck) + "NewVer=5.3.1.0\nFailed=1\n");
        harness.after_update = after_update;
        harness.Start();
        EXPECT_EQ(harness.update_messages,
                  std::vector<std::string>{after_update ? "Update Process Complete"
                                                        : "Update Process Failed"});
        EXPECT_EQ(ReadSetting(harness.SettingsFile(), "Update", "Failed", "x"), "0");
        EXPECT_TRUE(gui::FormExists(MainFormName));
    }
}

TEST(UpdateSteps, AutomaticCheckRunsWhenDueAndOnlyWithTheAlertSwitch) {
    for (bool alert : {true, false}) {
        AppHarness harness("[Update]\nLastCheck=0\n" + ClosedVersionUrl() +
                           (alert ? "" : "[Preferences]\nUpdate=0\n"));
        harness.Start();
        EXPECT_EQ(harness.update_messages.size(), alert ? 1u : 0u);
        if (alert) {
            EXPECT_EQ(harness.update_messages[0], "Unable to Complete Update Check");
            EXPECT_NE(ReadSetting(harness.SettingsFile(), "Update", "LastCheck", "0"), "0");
            EXPECT_TRUE(gui::FormExists(MainFormName));
        }
    }
}

// A fresh program folder in a copy built without an update server: the
// first start opens the main window and nothing else.
TEST(UpdateSteps, FirstStartWithoutAnUpdateServerShowsOnlyTheMainWindow) {
    if (!std::string(update::DefaultVersionUrl).empty()) {
        GTEST_SKIP() << "built with an update server";
    }
    AppHarness harness("");
    harness.Start();
    EXPECT_TRUE(harness.update_messages.empty());
    std::vector<QWidget*> shown;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible()) {
            shown.push_back(widget);
        }
    }
    EXPECT_EQ(shown, std::vector<QWidget*>{gui::FormWidget(MainFormName)});
}

TEST(UpdateSteps, MenuCheckAlwaysAnswersAndKeepsTheWindow) {
    AppHarness harness(NoUpdateCheck + ClosedVersionUrl());
    harness.Start();
    ASSERT_TRUE(harness.update_messages.empty());
    TriggerMenu(MainFormName, MenuCheckForUpdate);
    EXPECT_EQ(harness.update_messages, std::vector<std::string>{"Unable to Complete Update Check"});
    EXPECT_TRUE(gui::FormExists(MainFormName));
    // Closing without a downloaded installer starts nothing.
    TriggerMenu(MainFormName, MenuExit);
    Pump();
    EXPECT_FALSE(gui::FormExists(MainFormName));
    EXPECT_TRUE(harness.started.empty());
}

} // namespace
} // namespace kalvara::test
