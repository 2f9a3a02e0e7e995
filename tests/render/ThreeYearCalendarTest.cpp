// The 3 Years page: three broadcast years in columns on portrait Letter.

#include "PageExpect.h"
#include "render/Layouts.h"
#include "render/MonthBlocks.h"

#include <array>
#include <gtest/gtest.h>

namespace kalvara {
namespace {

using namespace test;

constexpr TextStyle MonthTitle{Bold, 9};
constexpr TextStyle WeekLabel{BoldOblique, 8, true};

TEST(ThreeYearCalendar, EachColumnPrintsItsOwnYear) {
    const auto pages =
        RenderPages(Selection(CalendarStyle::ThreeYears, 2023, AllPeriods, ShowQuarters), 1);
    const auto& page = pages.at(0);
    EXPECT_DOUBLE_EQ(page.Width, 612);
    EXPECT_DOUBLE_EQ(page.Height, 792);

    EXPECT_TRUE(HasRule(page, 152, 19, 460, 19, 0.7));
    EXPECT_TRUE(HasRule(page, 152, 32, 460, 32, 0.7));
    EXPECT_TRUE(HasText(page, "THREE YEAR STANDARD BROADCAST CALENDAR", Anchor::Centre, 306, 30,
                        {Bold, 12}));
    EXPECT_TRUE(HasText(page, "* denotes 5-week month", Anchor::Left, 72, 760, {Regular, 7}));
    EXPECT_TRUE(HasText(page, CreditLine, Anchor::Right, 540, 760, {Regular, 7}));

    struct Column {
        double Center;
        const char* Year;
        const char* January; // five weeks in 2023 only
        int Weeks;           // 53 in 2023, so that column ends lower
        const char* LastLabel;
    };
    const std::array<Column, 3> columns = {{{126, "2023", "*January*", 53, "53-4Q14"},
                                            {306, "2024", "January", 52, "52-4Q13"},
                                            {486, "2025", "January", 52, "52-4Q13"}}};
    for (const auto& column : columns) {
        SCOPED_TRACE(column.Year);
        const double block = column.Center - 50;
        EXPECT_TRUE(
            HasText(page, column.Year, Anchor::Centre, column.Center, 46, {Bold, 14, true}));
        EXPECT_TRUE(HasText(page, column.January, Anchor::Centre, column.Center, 55, MonthTitle));
        EXPECT_TRUE(HasText(page, "Wk#", Anchor::Right, block - 8, 55, {Bold, 8, true}));
        EXPECT_TRUE(HasText(page, "Mo", Anchor::Right, block + 8, 61, {BoldOblique, 6}));
        EXPECT_TRUE(HasText(page, "Su", Anchor::Right, block + 104, 61, {BoldOblique, 6}));
        EXPECT_TRUE(HasRule(page, block, 62, block + 104, 62, 0.2));

        // Every week once, numbered from 1 at the column's own year start and
        // placed in its own year's quarters; the last row at 270 + 9 x weeks.
        std::vector<const PdfTextRun*> labels;
        for (const auto& run : page.Texts) {
            if (run.Colour.IsRed() && run.Font == BoldOblique && Near(run.Right, block - 8, 0.02)) {
                labels.push_back(&run);
            }
        }
        ASSERT_EQ(labels.size(), static_cast<std::size_t>(column.Weeks));
        for (std::size_t i = 0; i < labels.size(); ++i) {
            EXPECT_EQ(labels[i]->Text.rfind(std::to_string(i + 1) + "-", 0), 0u)
                << Describe(*labels[i]);
        }
        EXPECT_TRUE(HasText(page, "1-1Q01", Anchor::Right, block - 8, 70, WeekLabel));
        EXPECT_TRUE(HasText(page, column.LastLabel, Anchor::Right, block - 8,
                            270 + 9 * column.Weeks, WeekLabel));
    }

    // The weeks under each heading are that year's: 2023 opens on Monday
    // 26 December 2022 (bold, December), 2024 on Monday 1 January itself.
    EXPECT_TRUE(HasText(page, "26", Anchor::Right, 84, 70, {Bold, 9}));
    EXPECT_TRUE(HasText(page, "1", Anchor::Right, 180, 70, {Regular, 9}));
    EXPECT_TRUE(HasText(page, "1", Anchor::Right, 264, 70, {Regular, 9}));
    // Month titles follow the height of the month above: 55 + 64 after a
    // five-week January, 55 + 55 after a four-week one.
    EXPECT_TRUE(HasText(page, "February", Anchor::Centre, 126, 119, MonthTitle));
    EXPECT_TRUE(HasText(page, "February", Anchor::Centre, 306, 110, MonthTitle));
    EXPECT_TRUE(HasText(page, "2-1Q02", Anchor::Right, 68, 79, WeekLabel));
    EXPECT_TRUE(HasText(page, "14-2Q01", Anchor::Right, 248, 55 + 55 + 64 + 55 + 15, WeekLabel));
}

// The 3 Years and Keyboard strips layouts read their months from the
// program's year table; called with a table left at another year they must
// still print the selected one.
using LayoutYearTable = DirectDrawing;

TEST_F(LayoutYearTable, StaleTableStillPrintsTheSelectedYear) {
    selection_.StartYear = 2023;
    BuildBroadcastYear(1990, years_);
    selection_.Style = CalendarStyle::ThreeYears;
    DrawThreeYearCalendar(context_);
    BuildBroadcastYear(1990, years_);
    selection_.Style = CalendarStyle::KeyboardStrips;
    DrawKeyboardStrips(context_);
    const auto pages = ReadBack(2);
    // Week 1 of 2023 opens on Monday 26 December 2022 and the year has 53 weeks.
    EXPECT_TRUE(HasText(pages.at(0), "26", Anchor::Right, 84, 70, {Bold, 9}));
    EXPECT_TRUE(HasText(pages.at(0), "53", Anchor::Right, 68, 747, {BoldOblique, 8, true}));
    EXPECT_EQ(pages.at(1).FindTexts("January*").size(), 9u);
    EXPECT_TRUE(HasText(pages.at(1), "26", Anchor::Right, 39, 54, {Bold, 7}));
}

} // namespace
} // namespace kalvara
