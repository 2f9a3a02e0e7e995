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

std::string Tip(const std::string& form, int id) {
    return TooltipOf(form, id).toStdString();
}

std::string ThisYear() {
    const std::string today = TodayText();
    return today.substr(today.size() - 4);
}

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

TEST(MainWindow, FirstStartShowsThisYearAndYearStyle) {
    AppHarness harness;
    // Nothing but the date of the next update check, which keeps the test
    // off the network: no preferences, no last choice.
    WriteFile(harness.SettingsFile(), "[Update]\nLastCheck=99999999\n");
    harness.Start();

    ASSERT_TRUE(gui::FormExists(MainFormName));
    EXPECT_EQ(gui::GetText(MainFormName, 0), "Kalvara");
    EXPECT_EQ(gui::GetText(MainFormName, YearFieldId), ThisYear());
    EXPECT_EQ(CheckedStyle(), 3);
    EXPECT_EQ(harness.App().Selection().Style, CalendarStyle::Year);
    EXPECT_EQ(YearField()->cursorPosition(), 4);
    EXPECT_TRUE(gui::IsEnabled(MainFormName, GenerateButtonId));
    // The defaults of the switches: tooltips on, quarters off, style remembered.
    const PreferenceSet preferences = harness.App().Selection().Preferences;
    EXPECT_NE(preferences & PrefShowTips, 0);
    EXPECT_EQ(preferences & ShowQuarters, 0);
    EXPECT_NE(preferences & RememberStyle, 0);
    EXPECT_NE(preferences & PrefUpdate, 0);
}

TEST(MainWindow, StatusBarCarriesTheVersion) {
    AppHarness harness;
    harness.Start();
    QWidget* bar = gui::ControlWidget(MainFormName, StatusBarId);
    ASSERT_NE(bar, nullptr);
    // Below the controls, across the window.
    EXPECT_TRUE(bar->isVisible());
    EXPECT_GT(bar->height(), 0);
    EXPECT_EQ(bar->width(), gui::FormWidget(MainFormName)->width());
    bool found = false;
    for (QWidget* child : bar->findChildren<QWidget*>()) {
        if (child->property("text").toString().contains("Version: 5.3.0.0")) {
            found = true;
        }
    }
    EXPECT_TRUE(found);
}

TEST(MainWindow, RemembersTheLastStyleOnlyWhenAskedTo) {
    {
        AppHarness harness;
        WriteFile(harness.SettingsFile(), "[Update]\nLastCheck=99999999\n[Last]\nYear= 1998 \n"
                                          "Style=5\n");
        harness.Start();
        EXPECT_EQ(CheckedStyle(), 5);
        EXPECT_EQ(harness.App().Selection().Style, CalendarStyle::KeyboardStrips);
        EXPECT_EQ(gui::GetText(MainFormName, YearFieldId), "1998");
    }
    {
        AppHarness harness;
        WriteFile(harness.SettingsFile(), "[Update]\nLastCheck=99999999\n[Last]\nStyle=5\n"
                                          "[Preferences]\nStyle=0\n");
        harness.Start();
        EXPECT_EQ(CheckedStyle(), 3);
    }
}

TEST(MainWindow, ADamagedRememberedStyleFallsBackToYear) {
    for (const char* stored : {"0", "7", "-2", "banana"}) {
        AppHarness harness;
        WriteFile(harness.SettingsFile(),
                  std::string("[Update]\nLastCheck=99999999\n[Last]\nStyle=") + stored + "\n");
        harness.Start();
        EXPECT_EQ(CheckedStyle(), 3) << stored;
        EXPECT_EQ(harness.App().Selection().Style, CalendarStyle::Year) << stored;
    }
}

TEST(MainWindow, StyleButtonsChooseTheStyle) {
    AppHarness harness;
    harness.Start();
    for (int style : {1, 6, 2, 4, 5, 3}) {
        Click(MainFormName, StyleRadioId(style));
        EXPECT_EQ(static_cast<int>(harness.App().Selection().Style), style);
        EXPECT_EQ(CheckedStyle(), style);
    }
}

// The preview's picture, or a null one.
QPixmap Preview() {
    auto* label = qobject_cast<QLabel*>(gui::ControlWidget(MainFormName, PreviewPictureId));
    return label != nullptr ? label->pixmap() : QPixmap();
}

TEST(MainWindow, PreviewShowsTheSampleOfTheChosenStyle) {
    AppHarness harness;
    harness.Start();
    // Year is chosen at the first start: its sample, 152 x 172 pixels.
    EXPECT_EQ(Preview().size(), QSize(152, 172));
    Click(MainFormName, StyleRadioId(1));
    EXPECT_EQ(Preview().size(), QSize(226, 172));
    Click(MainFormName, StyleRadioId(2));
    EXPECT_EQ(Preview().size(), QSize(150, 172));
    EXPECT_NE(gui::LoadPicture("$AAPROGRAM"), 0);
}

TEST(MainWindow, ShortYearDisablesGenerateUntilFourCharacters) {
    AppHarness harness;
    harness.Start();
    TypeYear("20");
    EXPECT_FALSE(gui::IsEnabled(MainFormName, GenerateButtonId));
    TypeYear("202");
    EXPECT_FALSE(gui::IsEnabled(MainFormName, GenerateButtonId));
    TypeYear("2025");
    EXPECT_TRUE(gui::IsEnabled(MainFormName, GenerateButtonId));
    // The field takes four characters at most.
    TypeYear("20256");
    EXPECT_EQ(gui::GetText(MainFormName, YearFieldId), "2025");
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
    EXPECT_NE(notice.find("Whoa, Tesvel!"), std::string::npos) << notice;
    EXPECT_NE(notice.find("Radio broadcasting didn't begin until 1920."), std::string::npos)
        << notice;
    EXPECT_TRUE(harness.Calendars().empty());
    EXPECT_EQ(ReadSetting(harness.SettingsFile(), "Last", "Year", "none"), "none");

    TypeYear("1920");
    Click(MainFormName, GenerateButtonId);
    EXPECT_EQ(harness.Calendars(), std::vector<std::string>{"001Calendar.PDF"});
    EXPECT_EQ(ReadSetting(harness.SettingsFile(), "Last", "Year", ""), "1920");
}

TEST(MainWindow, YearStylePrintsDirectlyAndRemembersYearAndStyle) {
    AppHarness harness;
    harness.Start();
    TypeYear("2015");
    Click(MainFormName, StyleRadioId(4));
    Click(MainFormName, StyleRadioId(3));
    Click(MainFormName, GenerateButtonId);
    EXPECT_FALSE(gui::FormExists(PrintRangeFormName));
    ASSERT_EQ(harness.Calendars(), std::vector<std::string>{"001Calendar.PDF"});
    ASSERT_EQ(harness.OpenedFiles().size(), 1u);
    EXPECT_EQ(harness.OpenedFiles()[0], harness.OutputFolder() + "001Calendar.PDF");
    EXPECT_EQ(ReadSetting(harness.SettingsFile(), "Last", "Year", ""), "2015");
    EXPECT_EQ(ReadSetting(harness.SettingsFile(), "Last", "Style", ""), "3");
    EXPECT_EQ(ReadSetting(harness.SettingsFile(), "PDF", "Number", ""), "1");

    // Every other style that needs no range prints the same way.
    for (int style : {4, 5, 6}) {
        Click(MainFormName, StyleRadioId(style));
        Click(MainFormName, GenerateButtonId);
        EXPECT_EQ(ReadSetting(harness.SettingsFile(), "Last", "Style", ""), std::to_string(style));
    }
    EXPECT_EQ(harness.Calendars().size(), 4u);
    EXPECT_EQ(harness.OpenedFiles().size(), 4u);
}

TEST(MainWindow, TooltipsFollowTheShowTipsSwitch) {
    AppHarness harness;
    harness.Start();
    EXPECT_EQ(Tip(MainFormName, StyleRadioId(3)),
              "Print a 12-month calendar of the selected year on a single page");
    EXPECT_EQ(Tip(MainFormName, StyleRadioId(5)),
              "Print a 12-month strip suitable for positioning above a computer keyboard");
    harness.App().Selection().Preferences &= static_cast<PreferenceSet>(~PrefShowTips);
    EXPECT_EQ(Tip(MainFormName, StyleRadioId(3)), "");
    EXPECT_EQ(StyleTooltip(6),
              "Print a 52-Planning calendar with columns for weekly budget and notes");
    EXPECT_EQ(StyleTooltip(0), "");
}

TEST(MainWindow, NoPdfReaderWarnsOnceAndDisablesPrinting) {
    AppHarness harness;
    harness.SetPdfReaderFound(false);
    std::string title;
    int buttons = 0;
    WhenShown answer(msgbox::MessageBoxFormName, [&] {
        title = gui::GetText(msgbox::MessageBoxFormName, 0);
        for (int id = msgbox::FirstButtonId; id < msgbox::FirstButtonId + 10; ++id) {
            buttons += gui::ControlExists(msgbox::MessageBoxFormName, id) ? 1 : 0;
        }
        // "&Get Help on This Problem"
        Click(msgbox::MessageBoxFormName, msgbox::FirstButtonId);
    });
    harness.Start();
    EXPECT_TRUE(answer.Done());
    EXPECT_EQ(title, "Print Functions Have Been Disabled");
    EXPECT_EQ(buttons, 2);
    EXPECT_FALSE(harness.App().PdfReaderFound());
    EXPECT_FALSE(gui::IsEnabled(MainFormName, GenerateButtonId));
    ASSERT_NE(harness.App().Help(), nullptr);
    EXPECT_TRUE(harness.App().Help()->CurrentPage().toString().endsWith("topic45.html"));

    // Editing the year brings the button back, as for a short year.
    TypeYear("2020");
    EXPECT_TRUE(gui::IsEnabled(MainFormName, GenerateButtonId));
    // Without a reader the calendar is saved but not opened.
    Click(MainFormName, GenerateButtonId);
    EXPECT_EQ(harness.Calendars().size(), 1u);
    EXPECT_TRUE(harness.OpenedFiles().empty());
}

TEST(MainWindow, HelpButtonF1AndMenuOpenTheirPages) {
    AppHarness harness;
    harness.Start();
    Click(MainFormName, HelpButtonId);
    ASSERT_NE(harness.App().Help(), nullptr);
    EXPECT_TRUE(harness.App().Help()->CurrentPage().toString().endsWith("topic10.html"));

    TriggerMenu(MainFormName, MenuHelpContents);
    EXPECT_EQ(harness.App().Help()->CurrentTab(), 0);

    // F1 while the main window is the active form.
    harness.App().SetHelpContext(10);
    QWidget* window = gui::FormWidget(MainFormName);
    harness.App().Help()->ShowHelp(HelpViewer::DisplayTopic, 25);
    QTest::keyClick(window, Qt::Key_F1);
    EXPECT_TRUE(harness.App().Help()->CurrentPage().toString().endsWith("topic10.html"));
}

TEST(MainWindow, AboutBoxPageButtonTogglesBackToTheFirstPage) {
    AppHarness harness;
    harness.Start();
    std::vector<std::string> captions;
    WhenShown about(AboutFormName, [&captions] {
        captions.push_back(gui::GetText(AboutFormName, 0));
        captions.push_back(gui::GetText(AboutFormName, AboutPageButtonId));
        Click(AboutFormName, AboutPageButtonId);
        captions.push_back(gui::GetText(AboutFormName, AboutPageButtonId));
        Click(AboutFormName, AboutPageButtonId);
        captions.push_back(gui::GetText(AboutFormName, AboutPageButtonId));
        Click(AboutFormName, AboutCloseButtonId);
    });
    TriggerMenu(MainFormName, MenuAbout);
    EXPECT_TRUE(about.Done());
    EXPECT_FALSE(gui::FormExists(AboutFormName));
    EXPECT_EQ(captions, (std::vector<std::string>{"About Kalvara", "&View Program History",
                                                  "&View Program Info", "&View Program History"}));
    EXPECT_TRUE(gui::FormExists(MainFormName));
}

TEST(MainWindow, ExitButtonAndMenuCloseTheWindow) {
    {
        AppHarness harness;
        harness.Start();
        Click(MainFormName, HelpButtonId);
        ASSERT_NE(harness.App().Help(), nullptr);
        Click(MainFormName, ExitButtonId);
        Pump();
        EXPECT_FALSE(gui::FormExists(MainFormName));
        // The help goes with the window it belongs to.
        EXPECT_FALSE(harness.App().Help()->isVisible());
    }
    {
        AppHarness harness;
        harness.Start();
        TriggerMenu(MainFormName, MenuExit);
        Pump();
        EXPECT_FALSE(gui::FormExists(MainFormName));
    }
}

TEST(MainWindow, UnknownFormsAndLibraryNamesChangeNothing) {
    AppHarness harness;
    harness.Start();
    const CalendarSelection before = harness.App().Selection();
    for (const char* form : {"{APP}", "{MSGBOX}", "XX", "kv", ""}) {
        for (int code : {0, 1, 86, 87, 130}) {
            int value = 1;
            int cancel = 0;
            harness.App().DispatchEvent(form, 0, code, value, cancel);
            harness.App().DispatchEvent(form, GenerateButtonId, code, value, cancel);
            EXPECT_EQ(cancel, 0);
        }
    }
    EXPECT_TRUE(gui::FormExists(MainFormName));
    EXPECT_EQ(harness.App().Selection().Style, before.Style);
    EXPECT_TRUE(harness.Calendars().empty());
}

} // namespace
} // namespace kalvara::test
