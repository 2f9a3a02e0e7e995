// The main window through the real dispatch: start-up, the year field, the
// style buttons, Generate and what it remembers.

#include "app/MainWindow.h"

#include "AppHarness.h"
#include "about/AboutBox.h"
#include "app/HelpViewer.h"
#include "app/PrintRangeDialog.h"
#include "app/SettingsStore.h"
#include "engine/DateText.h"
#include "gui/Gui.h"
#include "msgbox/MessageBox.h"

#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

namespace kalvara::test {
namespace {

QLineEdit* YearField() {
    return qobject_cast<QLineEdit*>(gui::ControlWidget(MainFormName, YearFieldId));
}

void TypeYear(const QString& text) {
    QLineEdit* field = YearField();
    ASSERT_NE(field, nullptr);
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, text);
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

TEST(MainWindow, StartsWithTheRememberedChoiceElseThisYearAndYear) {
    const std::string today = TodayText();
    const std::string this_year = today.substr(today.size() - 4);
    struct Case {
        std::string settings;
        std::string year;
        int style;
    };
    // A remembered style outside 1..6 would select no button and print
    // nothing: it falls back to Year.
    for (const Case& start :
         std::vector<Case>{{"", this_year, 3},
                           {"[Last]\nYear= 1998 \nStyle=5\n", "1998", 5},
                           {"[Last]\nStyle=5\n[Preferences]\nStyle=0\n", this_year, 3},
                           {"[Last]\nStyle=7\n", this_year, 3},
                           {"[Last]\nStyle=banana\n", this_year, 3}}) {
        AppHarness harness;
        WriteFile(harness.SettingsFile(), "[Update]\nLastCheck=99999999\n" + start.settings);
        harness.Start();
        EXPECT_EQ(gui::GetText(MainFormName, YearFieldId), start.year) << start.settings;
        EXPECT_EQ(CheckedStyle(), start.style) << start.settings;
        EXPECT_EQ(static_cast<int>(harness.App().Selection().Style), start.style);
        EXPECT_EQ(YearField()->cursorPosition(), 4);
    }
}

TEST(MainWindow, StyleButtonsChooseTheStyleAndItsSample) {
    AppHarness harness;
    harness.Start();
    const auto preview = [] {
        auto* label = qobject_cast<QLabel*>(gui::ControlWidget(MainFormName, PreviewPictureId));
        return label != nullptr ? label->pixmap().size() : QSize();
    };
    EXPECT_EQ(preview(), QSize(152, 172));
    const std::vector<std::pair<int, QSize>> samples{{1, {226, 172}}, {6, {149, 172}},
                                                     {2, {150, 172}}, {4, {138, 172}},
                                                     {5, {226, 137}}, {3, {152, 172}}};
    for (const auto& [style, size] : samples) {
        Click(MainFormName, StyleRadioId(style));
        EXPECT_EQ(static_cast<int>(harness.App().Selection().Style), style);
        EXPECT_EQ(CheckedStyle(), style);
        EXPECT_EQ(preview(), size) << style;
    }
    // The status bar's second part names the version.
    bool version_shown = false;
    for (QWidget* child : gui::ControlWidget(MainFormName, StatusBarId)->findChildren<QWidget*>()) {
        version_shown |= child->property("text").toString().contains("Version: 5.3.0.0");
    }
    EXPECT_TRUE(version_shown);
}

TEST(MainWindow, ShortYearDisablesGenerateUntilFourCharacters) {
    AppHarness harness;
    harness.Start();
    TypeYear("202");
    EXPECT_FALSE(gui::IsEnabled(MainFormName, GenerateButtonId));
    TypeYear("20256");
    EXPECT_EQ(gui::GetText(MainFormName, YearFieldId), "2025");
    EXPECT_TRUE(gui::IsEnabled(MainFormName, GenerateButtonId));
}

TEST(MainWindow, Year1919IsRefusedAnd1920Printed) {
    AppHarness harness;
    harness.Start();
    TypeYear("1919");
    std::string notice;
    {
        WhenShown answer(msgbox::MessageBoxFormName, [&notice] {
            notice = gui::GetText(msgbox::MessageBoxFormName, 0) + "|" +
                     gui::GetText(msgbox::MessageBoxFormName, msgbox::Text1Id);
            Click(msgbox::MessageBoxFormName, msgbox::FirstButtonId);
        });
        Click(MainFormName, GenerateButtonId);
        EXPECT_TRUE(answer.Done());
    }
    EXPECT_EQ(notice.rfind("Whoa, Tesvel!|", 0), 0u) << notice;
    EXPECT_NE(notice.find("Radio broadcasting didn't begin until 1920."), std::string::npos);
    EXPECT_TRUE(harness.Calendars().empty());
    EXPECT_EQ(Last(harness, "Year"), "none");

    TypeYear("1920");
    Click(MainFormName, GenerateButtonId);
    EXPECT_EQ(harness.Calendars(), std::vector<std::string>{"001Calendar.PDF"});
    EXPECT_EQ(Last(harness, "Year"), "1920");
}

TEST(MainWindow, StylesWithoutRangePrintDirectlyAndAreRemembered) {
    AppHarness harness;
    harness.Start();
    TypeYear("2015");
    for (int style : {3, 4, 5, 6}) {
        Click(MainFormName, StyleRadioId(style));
        Click(MainFormName, GenerateButtonId);
        EXPECT_FALSE(gui::FormExists(PrintRangeFormName));
        EXPECT_EQ(Last(harness, "Style"), std::to_string(style));
    }
    EXPECT_EQ(Last(harness, "Year"), "2015");
    EXPECT_EQ(harness.Calendars().size(), 4u);
    ASSERT_EQ(harness.OpenedFiles().size(), 4u);
    EXPECT_EQ(harness.OpenedFiles()[0], harness.OutputFolder() + "001Calendar.PDF");
}

TEST(MainWindow, NoPdfReaderWarnsAndDisablesPrintingUntilTheYearIsEdited) {
    AppHarness harness;
    harness.SetPdfReaderFound(false);
    std::string title;
    WhenShown answer(msgbox::MessageBoxFormName, [&title] {
        title = gui::GetText(msgbox::MessageBoxFormName, 0);
        // "&Get Help on This Problem"
        Click(msgbox::MessageBoxFormName, msgbox::FirstButtonId);
    });
    harness.Start();
    EXPECT_TRUE(answer.Done());
    EXPECT_EQ(title, "Print Functions Have Been Disabled");
    EXPECT_FALSE(gui::IsEnabled(MainFormName, GenerateButtonId));
    ASSERT_NE(harness.App().Help(), nullptr);
    EXPECT_TRUE(harness.App().Help()->CurrentPage().toString().endsWith("topic45.html"));

    TypeYear("2020");
    EXPECT_TRUE(gui::IsEnabled(MainFormName, GenerateButtonId));
    // Without a reader the calendar is saved but not opened.
    Click(MainFormName, GenerateButtonId);
    EXPECT_EQ(harness.Calendars().size(), 1u);
    EXPECT_TRUE(harness.OpenedFiles().empty());
}

TEST(MainWindow, HelpButtonF1MenuAndAboutBox) {
    AppHarness harness;
    harness.Start();
    Click(MainFormName, HelpButtonId);
    ASSERT_NE(harness.App().Help(), nullptr);
    EXPECT_TRUE(harness.App().Help()->CurrentPage().toString().endsWith("topic10.html"));
    TriggerMenu(MainFormName, MenuHelpContents);
    EXPECT_EQ(harness.App().Help()->CurrentTab(), 0);
    // F1 opens the topic of the form that claimed help last.
    harness.App().Help()->ShowHelp(HelpViewer::DisplayTopic, 25);
    harness.App().SetHelpContext(HelpTopicMainWindow);
    QTest::keyClick(gui::FormWidget(MainFormName), Qt::Key_F1);
    EXPECT_TRUE(harness.App().Help()->CurrentPage().toString().endsWith("topic10.html"));

    WhenShown about(AboutFormName, [] { Click(AboutFormName, AboutCloseButtonId); });
    TriggerMenu(MainFormName, MenuAbout);
    EXPECT_TRUE(about.Done());
    EXPECT_TRUE(gui::FormExists(MainFormName));
}

TEST(MainWindow, ExitButtonAndMenuCloseTheWindowAndItsHelp) {
    for (bool by_menu : {false, true}) {
        AppHarness harness;
        harness.Start();
        Click(MainFormName, HelpButtonId);
        ASSERT_NE(harness.App().Help(), nullptr);
        if (by_menu) {
            TriggerMenu(MainFormName, MenuExit);
        } else {
            Click(MainFormName, ExitButtonId);
        }
        Pump();
        EXPECT_FALSE(gui::FormExists(MainFormName));
        EXPECT_FALSE(harness.App().Help()->isVisible());
    }
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

} // namespace
} // namespace kalvara::test
