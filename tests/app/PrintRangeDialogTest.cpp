// The print range dialog opened by Generate for the Month and Quarter styles.

#include "app/PrintRangeDialog.h"

#include "AppHarness.h"
#include "app/HelpViewer.h"
#include "app/MainWindow.h"
#include "app/SettingsStore.h"
#include "gui/Gui.h"

#include <QLineEdit>
#include <QTest>
#include <QUrl>
#include <QWidget>
#include <gtest/gtest.h>

namespace kalvara::test {
namespace {

struct DialogLook {
    std::string caption;
    std::string single;
    std::string all;
    std::string label;
    bool single_checked = false;
    bool january_checked = false;
};

DialogLook Look() {
    DialogLook look;
    look.caption = gui::GetText(PrintRangeFormName, 0);
    look.single = gui::GetText(PrintRangeFormName, SingleChoiceId);
    look.all = gui::GetText(PrintRangeFormName, AllChoiceId);
    look.label = gui::GetText(PrintRangeFormName, RangeLabelId);
    look.single_checked = gui::GetCheck(PrintRangeFormName, SingleChoiceId) != 0;
    look.january_checked = gui::GetCheck(PrintRangeFormName, MonthRadioId(1)) != 0;
    return look;
}

class PrintRange : public ::testing::Test {
protected:
    void SetUp() override {
        harness_.Start();
        auto* field = qobject_cast<QLineEdit*>(gui::ControlWidget(MainFormName, YearFieldId));
        ASSERT_NE(field, nullptr);
        field->setText("2015");
    }

    // Presses Generate with the style and does `steps` in the dialog.
    void Generate(int style, const std::function<void()>& steps) {
        Click(MainFormName, StyleRadioId(style));
        WhenShown dialog(PrintRangeFormName, steps);
        Click(MainFormName, GenerateButtonId);
        EXPECT_TRUE(dialog.Done()) << "the print range dialog did not open";
        EXPECT_FALSE(gui::FormExists(PrintRangeFormName));
    }

    int Period() { return harness_.App().Selection().Period; }

    AppHarness harness_;
};

TEST_F(PrintRange, MonthStyleWordingAndStartState) {
    DialogLook look;
    Generate(1, [&look] {
        look = Look();
        Click(PrintRangeFormName, RangeCancelId);
    });
    EXPECT_EQ(look.caption, "Select Month of 2015 to Print");
    EXPECT_EQ(look.single, "Select a Single Month to Print");
    EXPECT_EQ(look.all, "Print All 12 Months");
    EXPECT_EQ(look.label, "Print each month of 2015 on a separate sheet of paper.");
    EXPECT_TRUE(look.single_checked);
    EXPECT_TRUE(look.january_checked);
}

TEST_F(PrintRange, QuarterStyleWording) {
    DialogLook look;
    Generate(2, [&look] {
        look = Look();
        Click(PrintRangeFormName, RangeCancelId);
    });
    EXPECT_EQ(look.caption, "Print Three Months of 2015");
    EXPECT_EQ(look.single, "Print 3 Months Starting with");
    EXPECT_EQ(look.all, "Print All 4 Quarters");
    EXPECT_EQ(look.label, "Print all four quarters of 2015 on separate sheets.");
}

TEST_F(PrintRange, CancelAndTheCloseButtonPrintNothingAndStoreNothing) {
    for (int style : {1, 2}) {
        Generate(style, [] {
            Click(PrintRangeFormName, MonthRadioId(3));
            Click(PrintRangeFormName, RangeCancelId);
        });
        EXPECT_EQ(Period(), 0);
        // The window's own close command is a cancel too, never a print.
        Generate(style, [] {
            Click(PrintRangeFormName, AllChoiceId);
            gui::FormWidget(PrintRangeFormName)->close();
        });
        EXPECT_EQ(Period(), 0);
    }
    EXPECT_TRUE(harness_.Calendars().empty());
    EXPECT_TRUE(harness_.OpenedFiles().empty());
    EXPECT_EQ(ReadSetting(harness_.SettingsFile(), "Last", "Year", "none"), "none");
    EXPECT_EQ(ReadSetting(harness_.SettingsFile(), "PDF", "Number", "none"), "none");
}

TEST_F(PrintRange, OkRightAwayPrintsJanuary) {
    Generate(1, [] { Click(PrintRangeFormName, RangeOkId); });
    EXPECT_EQ(Period(), 1);
    EXPECT_EQ(harness_.Calendars(), std::vector<std::string>{"001Calendar.PDF"});
    EXPECT_EQ(ReadSetting(harness_.SettingsFile(), "Last", "Year", ""), "2015");
    EXPECT_EQ(ReadSetting(harness_.SettingsFile(), "Last", "Style", ""), "1");
}

TEST_F(PrintRange, AllChoiceDisablesTheMonthsAndSingleChoiceRestoresTheMonth) {
    bool months_disabled = true;
    bool months_enabled = true;
    bool march_kept = false;
    int period_after_all = 0;
    Generate(2, [&] {
        Click(PrintRangeFormName, MonthRadioId(3));
        Click(PrintRangeFormName, AllChoiceId);
        period_after_all = Period();
        for (int month = 1; month <= 12; ++month) {
            months_disabled =
                months_disabled && !gui::IsEnabled(PrintRangeFormName, MonthRadioId(month));
        }
        Click(PrintRangeFormName, SingleChoiceId);
        for (int month = 1; month <= 12; ++month) {
            months_enabled =
                months_enabled && gui::IsEnabled(PrintRangeFormName, MonthRadioId(month));
        }
        march_kept = gui::GetCheck(PrintRangeFormName, MonthRadioId(3)) != 0;
        Click(PrintRangeFormName, RangeOkId);
    });
    EXPECT_EQ(period_after_all, 13);
    EXPECT_TRUE(months_disabled);
    EXPECT_TRUE(months_enabled);
    EXPECT_TRUE(march_kept);
    EXPECT_EQ(Period(), 3);
    EXPECT_EQ(harness_.Calendars().size(), 1u);
    EXPECT_EQ(ReadSetting(harness_.SettingsFile(), "Last", "Style", ""), "2");
}

TEST_F(PrintRange, EveryMonthButtonGivesItsMonthAndAllGives13) {
    for (int month = 1; month <= 12; ++month) {
        Generate(1, [month] {
            Click(PrintRangeFormName, MonthRadioId(month));
            Click(PrintRangeFormName, RangeCancelId);
        });
    }
    int seen = 0;
    Generate(1, [&seen, this] {
        Click(PrintRangeFormName, MonthRadioId(11));
        seen = Period();
        Click(PrintRangeFormName, AllChoiceId);
        Click(PrintRangeFormName, RangeOkId);
    });
    EXPECT_EQ(seen, 11);
    EXPECT_EQ(Period(), 13);
    EXPECT_EQ(harness_.Calendars().size(), 1u);
}

TEST_F(PrintRange, HelpButtonOpensTopic20) {
    Generate(1, [this] {
        Click(PrintRangeFormName, RangeHelpId);
        // F1 uses the topic the dialog claimed when it became active.
        harness_.App().SetHelpContext(HelpTopicPrintRange);
        QTest::keyClick(gui::FormWidget(PrintRangeFormName), Qt::Key_F1);
        Click(PrintRangeFormName, RangeCancelId);
    });
    ASSERT_NE(harness_.App().Help(), nullptr);
    EXPECT_TRUE(harness_.App().Help()->CurrentPage().toString().endsWith("topic20.html"));
}

} // namespace
} // namespace kalvara::test
