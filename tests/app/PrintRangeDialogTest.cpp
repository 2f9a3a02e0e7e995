// The print range dialog opened by Generate for the Month and Quarter styles.

#include "app/PrintRangeDialog.h"

#include "AppHarness.h"
#include "app/HelpViewer.h"
#include "app/MainWindow.h"
#include "gui/Gui.h"

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace kalvara::test {
namespace {

class PrintRange : public ::testing::Test {
protected:
    void SetUp() override {
        harness_.Start();
        gui::SetText(MainFormName, YearFieldId, "2015");
    }

    // Presses Generate with the style and does `steps` in the dialog.
    void Generate(int style, const std::function<void()>& steps) {
        Click(MainFormName, StyleRadioId(style));
        EXPECT_TRUE(OpenAndAnswer(
            PrintRangeFormName, [] { Click(MainFormName, GenerateButtonId); }, steps));
        EXPECT_FALSE(gui::FormExists(PrintRangeFormName));
    }

    int Period() { return harness_.App().Selection().Period; }

    AppHarness harness_;
};

TEST_F(PrintRange, WordingFollowsTheStyleAndCancelOrCloseStoresNothing) {
    // The caption, the two choices and the label under them.
    const std::vector<std::vector<std::string>> wordings{
        {"Select Month of 2015 to Print", "Select a Single Month to Print", "Print All 12 Months",
         "Print each month of 2015 on a separate sheet of paper."},
        {"Print Three Months of 2015", "Print 3 Months Starting with", "Print All 4 Quarters",
         "Print all four quarters of 2015 on separate sheets."}};
    for (int style : {1, 2}) {
        std::vector<std::string> texts;
        Generate(style, [&] {
            for (int id : {0, SingleChoiceId, AllChoiceId, RangeLabelId}) {
                texts.push_back(gui::GetText(PrintRangeFormName, id));
            }
            EXPECT_NE(gui::GetCheck(PrintRangeFormName, SingleChoiceId), 0);
            EXPECT_NE(gui::GetCheck(PrintRangeFormName, MonthRadioId(1)), 0);
            // Left with "&Cancel", or with the window's own close command,
            // which is a cancel too and never a print.
            if (style == 1) {
                Click(PrintRangeFormName, MonthRadioId(3));
                Click(PrintRangeFormName, RangeCancelId);
            } else {
                Click(PrintRangeFormName, AllChoiceId);
                gui::FormWidget(PrintRangeFormName)->close();
            }
        });
        EXPECT_EQ(texts, wordings[style - 1]);
        EXPECT_EQ(Period(), 0);
    }
    EXPECT_TRUE(harness_.Calendars().empty());
    EXPECT_TRUE(harness_.opened.empty());
    EXPECT_EQ(harness_.Setting("Last", "Year"), "none");
    EXPECT_EQ(harness_.Setting("PDF", "Number"), "none");
}

TEST_F(PrintRange, OkRightAwayPrintsJanuaryEachMonthButtonGivesItsMonthAndAllTakesThemAway) {
    Generate(1, [] { Click(PrintRangeFormName, RangeOkId); });
    EXPECT_EQ(Period(), 1);
    EXPECT_EQ(harness_.Calendars(), std::vector<std::string>{"001Calendar.PDF"});
    EXPECT_EQ(harness_.Setting("Last", "Year"), "2015");
    EXPECT_EQ(harness_.Setting("Last", "Style"), "1");
    const auto enabled_months = [] {
        int enabled = 0;
        for (int month = 1; month <= 12; ++month) {
            enabled += gui::IsEnabled(PrintRangeFormName, MonthRadioId(month)) ? 1 : 0;
        }
        return enabled;
    };
    Generate(2, [&, this] {
        for (int month : {12, 11, 10, 9, 8, 7, 6, 5, 4, 2, 1, 3}) {
            Click(PrintRangeFormName, MonthRadioId(month));
            EXPECT_EQ(Period(), month);
        }
        Click(PrintRangeFormName, AllChoiceId);
        EXPECT_EQ(Period(), 13);
        EXPECT_EQ(enabled_months(), 0);
        // The single choice brings back the month it had.
        Click(PrintRangeFormName, SingleChoiceId);
        EXPECT_EQ(Period(), 3);
        EXPECT_EQ(enabled_months(), 12);
        Click(PrintRangeFormName, RangeOkId);
    });
    EXPECT_EQ(harness_.Calendars().size(), 2u);
    EXPECT_EQ(harness_.Setting("Last", "Style"), "2");
}

// The dialog blocks every window but a modal one shown above it; over the
// main window the help blocks nothing.
TEST_F(PrintRange, HelpOpensItsTopicAboveTheDialogAndF1FollowsTheDialog) {
    Generate(1, [this] {
        Click(PrintRangeFormName, RangeHelpId);
        // Checked without returning early, which would leave the dialog open.
        HelpViewer* help = harness_.App().Help();
        EXPECT_TRUE(help != nullptr && QApplication::activeModalWidget() == help);
        if (help != nullptr) {
            help->close();
        }
        EXPECT_EQ(QApplication::activeModalWidget(), gui::FormWidget(PrintRangeFormName));
        harness_.App().SetHelpContext(HelpTopicPrintRange);
        QTest::keyClick(gui::FormWidget(PrintRangeFormName), Qt::Key_F1);
        Click(PrintRangeFormName, RangeCancelId);
    });
    EXPECT_EQ(harness_.HelpPage(), "topic20.html");
    harness_.App().ShowHelp(HelpViewer::DisplayContents, 0);
    EXPECT_EQ(harness_.App().Help()->windowModality(), Qt::NonModal);
}

} // namespace
} // namespace kalvara::test
