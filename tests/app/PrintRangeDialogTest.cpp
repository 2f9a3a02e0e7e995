// The print range dialog opened by Generate for the Month and Quarter styles,
// walked as one session.

#include "app/PrintRangeDialog.h"

#include "AppHarness.h"
#include "app/HelpViewer.h"
#include "app/MainWindow.h"
#include "gui/Gui.h"

#include <QApplication>
#include <QWidget>
#include <gtest/gtest.h>

namespace kalvara::test {
namespace {

// Presses Generate with the style and does `steps` in the dialog.
void Generate(int style, const std::function<void()>& steps) {
    Click(MainFormName, StyleRadioId(style));
    EXPECT_TRUE(OpenAndAnswer(
        PrintRangeFormName, [] { Click(MainFormName, GenerateButtonId); }, steps));
    EXPECT_FALSE(gui::FormExists(PrintRangeFormName));
}

int EnabledMonths() {
    int enabled = 0;
    for (int month = 1; month <= 12; ++month) {
        enabled += gui::IsEnabled(PrintRangeFormName, MonthRadioId(month)) ? 1 : 0;
    }
    return enabled;
}

TEST(PrintRange, CancelOrCloseStoresNothingOkPrintsTheChosenPeriodAndHelpStaysAbove) {
    AppHarness harness;
    harness.Start();
    gui::SetText(MainFormName, YearFieldId, "2015");
    const auto period = [&harness] { return harness.App().Selection().Period; };
    // Left with "&Cancel", or with the window's own close command, which is
    // a cancel too and never a print.
    Generate(1, [] {
        EXPECT_EQ(gui::GetText(PrintRangeFormName, 0), "Select Month of 2015 to Print");
        EXPECT_NE(gui::GetCheck(PrintRangeFormName, SingleChoiceId), 0);
        EXPECT_NE(gui::GetCheck(PrintRangeFormName, MonthRadioId(1)), 0);
        Click(PrintRangeFormName, MonthRadioId(3));
        Click(PrintRangeFormName, RangeCancelId);
    });
    EXPECT_EQ(period(), 0);
    Generate(2, [] {
        EXPECT_EQ(gui::GetText(PrintRangeFormName, RangeLabelId),
                  "Print all four quarters of 2015 on separate sheets.");
        Click(PrintRangeFormName, AllChoiceId);
        gui::FormWidget(PrintRangeFormName)->close();
    });
    EXPECT_EQ(period(), 0);
    EXPECT_TRUE(harness.Calendars().empty());
    EXPECT_TRUE(harness.opened.empty());
    EXPECT_EQ(harness.Setting("Last", "Year"), "none");
    EXPECT_EQ(harness.Setting("PDF", "Number"), "none");

    SCOPED_TRACE("OK right away prints January");
    Generate(1, [] { Click(PrintRangeFormName, RangeOkId); });
    EXPECT_EQ(period(), 1);
    EXPECT_EQ(harness.Calendars(), std::vector<std::string>{"001Calendar.PDF"});
    EXPECT_EQ(harness.Setting("Last", "Year"), "2015");
    EXPECT_EQ(harness.Setting("Last", "Style"), "1");

    SCOPED_TRACE("each month, all quarters and back, and the help above the dialog");
    Generate(2, [&] {
        for (int month : {12, 11, 10, 9, 8, 7, 6, 5, 4, 2, 1, 3}) {
            Click(PrintRangeFormName, MonthRadioId(month));
            EXPECT_EQ(period(), month);
        }
        Click(PrintRangeFormName, AllChoiceId);
        EXPECT_EQ(period(), 13);
        EXPECT_EQ(EnabledMonths(), 0);
        // The single choice brings back the month it had.
        Click(PrintRangeFormName, SingleChoiceId);
        EXPECT_EQ(period(), 3);
        EXPECT_EQ(EnabledMonths(), 12);
        // The dialog blocks every window but a modal one shown above it.
        // Checked without returning early, which would leave the dialog open.
        Click(PrintRangeFormName, RangeHelpId);
        HelpViewer* help = harness.App().Help();
        EXPECT_TRUE(help != nullptr && QApplication::activeModalWidget() == help);
        if (help != nullptr) {
            help->close();
        }
        EXPECT_EQ(QApplication::activeModalWidget(), gui::FormWidget(PrintRangeFormName));
        // The topic F1 opens, claimed when the dialog becomes active.
        int value = 0;
        int cancel = 0;
        harness.App().DispatchEvent(PrintRangeFormName, 0, gui::EventHelpTopic, value, cancel);
        EXPECT_EQ(harness.App().HelpContext(), HelpTopicPrintRange);
        Click(PrintRangeFormName, RangeOkId);
    });
    EXPECT_EQ(harness.HelpPage(), "topic20.html");
    EXPECT_EQ(harness.Calendars().size(), 2u);
    EXPECT_EQ(harness.Setting("Last", "Style"), "2");
    // Over the main window the help blocks nothing.
    harness.App().ShowHelp(HelpViewer::DisplayContents, 0);
    EXPECT_EQ(harness.App().Help()->windowModality(), Qt::NonModal);
}

} // namespace
} // namespace kalvara::test
