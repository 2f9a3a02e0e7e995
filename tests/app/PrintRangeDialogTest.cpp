// The print range dialog opened by Generate for the Month and Quarter styles.

#include "app/PrintRangeDialog.h"

#include "AppHarness.h"
#include "app/HelpViewer.h"
#include "app/MainWindow.h"
#include "core/SettingsStore.h"
#include "gui/Gui.h"

#include <QApplication>
#include <QTest>
#include <QUrl>
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
    std::string Setting(const char* section, const char* key) {
        return ReadSetting(harness_.SettingsFile(), section, key, "none");
    }

    AppHarness harness_;
};

int EnabledMonths() {
    int enabled = 0;
    for (int month = 1; month <= 12; ++month) {
        enabled += gui::IsEnabled(PrintRangeFormName, MonthRadioId(month)) ? 1 : 0;
    }
    return enabled;
}

TEST_F(PrintRange, WordingFollowsTheStyleAndCancelOrCloseStoresNothing) {
    // The caption, the two choices and the label under them; then the dialog
    // is left with "&Cancel", or with the window's own close command, which
    // is a cancel too and never a print.
    const std::vector<std::tuple<int, std::vector<std::string>, std::function<void()>>> cases{
        {1,
         {"Select Month of 2015 to Print", "Select a Single Month to Print", "Print All 12 Months",
          "Print each month of 2015 on a separate sheet of paper."},
         [] {
             Click(PrintRangeFormName, MonthRadioId(3));
             Click(PrintRangeFormName, RangeCancelId);
         }},
        {2,
         {"Print Three Months of 2015", "Print 3 Months Starting with", "Print All 4 Quarters",
          "Print all four quarters of 2015 on separate sheets."},
         [] {
             Click(PrintRangeFormName, AllChoiceId);
             gui::FormWidget(PrintRangeFormName)->close();
         }}};
    for (const auto& [style, wording, leave] : cases) {
        std::vector<std::string> texts;
        bool single_and_january = false;
        Generate(style, [&] {
            for (int id : {0, SingleChoiceId, AllChoiceId, RangeLabelId}) {
                texts.push_back(gui::GetText(PrintRangeFormName, id));
            }
            single_and_january = gui::GetCheck(PrintRangeFormName, SingleChoiceId) != 0 &&
                                 gui::GetCheck(PrintRangeFormName, MonthRadioId(1)) != 0;
            leave();
        });
        EXPECT_EQ(texts, wording);
        EXPECT_TRUE(single_and_january);
        EXPECT_EQ(Period(), 0);
    }
    EXPECT_TRUE(harness_.Calendars().empty());
    EXPECT_TRUE(harness_.opened.empty());
    EXPECT_EQ(Setting("Last", "Year"), "none");
    EXPECT_EQ(Setting("PDF", "Number"), "none");
}

TEST_F(PrintRange, OkRightAwayPrintsJanuaryAndEachMonthButtonGivesItsMonth) {
    Generate(1, [] { Click(PrintRangeFormName, RangeOkId); });
    EXPECT_EQ(Period(), 1);
    EXPECT_EQ(harness_.Calendars(), std::vector<std::string>{"001Calendar.PDF"});
    EXPECT_EQ(Setting("Last", "Year"), "2015");
    EXPECT_EQ(Setting("Last", "Style"), "1");

    std::vector<int> periods;
    Generate(1, [&periods, this] {
        for (int month = 12; month >= 1; --month) {
            Click(PrintRangeFormName, MonthRadioId(month));
            periods.push_back(Period());
        }
        Click(PrintRangeFormName, RangeCancelId);
    });
    EXPECT_EQ(periods, (std::vector<int>{12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1}));
}

TEST_F(PrintRange, AllChoiceDisablesTheMonthsAndSingleChoiceRestoresTheMonth) {
    std::vector<int> seen; // period and enabled months after All, then after Single
    Generate(2, [&] {
        Click(PrintRangeFormName, MonthRadioId(3));
        Click(PrintRangeFormName, AllChoiceId);
        seen = {Period(), EnabledMonths()};
        Click(PrintRangeFormName, SingleChoiceId);
        seen.insert(seen.end(), {Period(), EnabledMonths()});
        Click(PrintRangeFormName, RangeOkId);
    });
    EXPECT_EQ(seen, (std::vector<int>{13, 0, 3, 12}));
    EXPECT_EQ(Period(), 3);
    EXPECT_EQ(harness_.Calendars().size(), 1u);
    EXPECT_EQ(Setting("Last", "Style"), "2");
}

TEST_F(PrintRange, HelpButtonOpensTopic20AboveTheDialog) {
    bool help_takes_input = false;
    bool dialog_takes_input_again = false;
    Generate(1, [&, this] {
        Click(PrintRangeFormName, RangeHelpId);
        // The dialog blocks every window but a modal one shown above it.
        HelpViewer* help = harness_.App().Help();
        help_takes_input = help != nullptr && QApplication::activeModalWidget() == help;
        if (help != nullptr) {
            help->close();
        }
        dialog_takes_input_again =
            QApplication::activeModalWidget() == gui::FormWidget(PrintRangeFormName);
        // F1 uses the topic the dialog claimed when it became active.
        harness_.App().SetHelpContext(HelpTopicPrintRange);
        QTest::keyClick(gui::FormWidget(PrintRangeFormName), Qt::Key_F1);
        Click(PrintRangeFormName, RangeCancelId);
    });
    ASSERT_NE(harness_.App().Help(), nullptr);
    EXPECT_TRUE(harness_.App().Help()->CurrentPage().toString().endsWith("topic20.html"));
    EXPECT_TRUE(help_takes_input);
    EXPECT_TRUE(dialog_takes_input_again);
    // Over the main window the help blocks nothing.
    harness_.App().ShowHelp(HelpViewer::DisplayContents, 0);
    EXPECT_EQ(harness_.App().Help()->windowModality(), Qt::NonModal);
}

} // namespace
} // namespace kalvara::test
