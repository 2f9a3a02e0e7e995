// Every layout read back and held against the broadcast calendar itself: the
// weeks, their labels and weights, the month headings and the footer.

#include "PageExpect.h"
#include "PrintedCalendar.h"
#include "render/Layouts.h"

#include <gtest/gtest.h>

namespace kalvara {
namespace {

using namespace test;

struct LayoutCase {
    const char* Name;
    CalendarSelection Selection;
    std::size_t Pages;
    double Width, Height;
    PrintedMonths Printed;
};

class CalendarLayouts : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(CalendarLayouts, PrintEveryWeekOfTheirMonths) {
    const LayoutCase& layout = GetParam();
    const auto pages = RenderPages(layout.Selection);
    ASSERT_EQ(pages.size(), layout.Pages);
    for (const auto& page : pages) {
        EXPECT_DOUBLE_EQ(page.Width, layout.Width);
        EXPECT_DOUBLE_EQ(page.Height, layout.Height);
    }
    ExpectPrintedMonths(pages, layout.Printed);
}

constexpr auto Month = CalendarStyle::Month;
constexpr auto Quarter = CalendarStyle::Quarter;
constexpr auto Year = CalendarStyle::Year;
constexpr auto Planning = CalendarStyle::Planning;

// 2023 and 2012 have 53 weeks because 1 January is a Sunday, 2000 because a
// leap year starts on a Saturday. Year, Planning and Keyboard strips ignore
// the period; Planning and Keyboard strips ignore the quarter preference.
INSTANTIATE_TEST_SUITE_P(
    Styles, CalendarLayouts,
    ::testing::Values(
        LayoutCase{
            "MonthOfFourWeeks", Selection(Month, 2025, 1), 1, 792, 612, {2025, 1, 1, "N Y*"}},
        LayoutCase{"MonthOfFiveWeeksWithQuarters",
                   Selection(Month, 2025, 3, ShowQuarters),
                   1,
                   792,
                   612,
                   {2025, 3, 1, "N Y*", '/'}},
        LayoutCase{
            "AllMonthsOf53Weeks", Selection(Month, 2023), 12, 792, 612, {2023, 1, 12, "N Y*"}},
        LayoutCase{"QuarterIntoTheNextYear",
                   Selection(Quarter, 2025, 11, ShowQuarters),
                   1,
                   612,
                   792,
                   {2025, 11, 3, "*N Y*", '/'}},
        LayoutCase{"AllQuarters", Selection(Quarter, 2025), 4, 612, 792, {2025, 1, 12, "*N Y*"}},
        LayoutCase{"YearOf52Weeks", Selection(Year, 2025, 5), 1, 612, 792, {2025, 1, 12, "N*"}},
        LayoutCase{"YearOf53WeeksWithQuarters",
                   Selection(Year, 2023, 5, ShowQuarters),
                   1,
                   612,
                   792,
                   {2023, 1, 12, "N*", '-'}},
        LayoutCase{"FirstYear", Selection(Year, 1920), 1, 612, 792, {1920, 1, 12, "N*"}},
        LayoutCase{
            "LeapYearFromASaturday", Selection(Year, 2000), 1, 612, 792, {2000, 1, 12, "N*"}},
        LayoutCase{
            "CenturyWithoutLeapDay", Selection(Year, 2100), 1, 612, 792, {2100, 1, 12, "N*"}},
        LayoutCase{"LastYear", Selection(Year, 9999), 1, 612, 792, {9999, 1, 12, "N*"}},
        LayoutCase{"ThreeYearsEachCountedFromItsOwnStart",
                   Selection(CalendarStyle::ThreeYears, 2023, AllPeriods, ShowQuarters),
                   1,
                   612,
                   792,
                   {2023, 1, 36, "*N*", '-'}},
        LayoutCase{"NineKeyboardStripsWithoutLabelsOrFooter",
                   Selection(CalendarStyle::KeyboardStrips, 2025, AllPeriods, ShowQuarters),
                   1,
                   1008,
                   612,
                   {2025, 1, 12, "N*", 0, false, false, 9}},
        LayoutCase{"PlanningOf52Weeks",
                   Selection(Planning, 2025, 7, ShowQuarters),
                   1,
                   612,
                   792,
                   {2025, 1, 12, "*N*"}},
        LayoutCase{
            "PlanningOf53Weeks", Selection(Planning, 2023), 1, 612, 792, {2023, 1, 12, "*N*"}},
        LayoutCase{"PlanningOfALeapYearOf53Weeks",
                   Selection(Planning, 2012),
                   1,
                   612,
                   792,
                   {2012, 1, 12, "*N*"}},
        LayoutCase{
            "PlanningFromASaturday", Selection(Planning, 2000), 1, 612, 792, {2000, 1, 12, "*N*"}}),
    [](const auto& info) { return std::string(info.param.Name); });

// The 3 Years and Keyboard strips layouts read their months from the
// program's year table; handed a table left at another year they must still
// print the selected one. A quarter that runs past December, and the three
// years, leave the table built for the year after the last they print.
using LayoutYearTable = DirectDrawing;

TEST_F(LayoutYearTable, StaleTableStillPrintsTheSelectedYear) {
    selection_.StartYear = 2023;
    BuildBroadcastYear(2023, years_);
    selection_.Style = CalendarStyle::Quarter;
    DrawQuarterCalendar(context_, 12);
    EXPECT_EQ(years_.Year, 2024);
    BuildBroadcastYear(1990, years_);
    selection_.Style = CalendarStyle::ThreeYears;
    DrawThreeYearCalendar(context_);
    EXPECT_EQ(years_.Year, 2026);
    BuildBroadcastYear(1990, years_);
    selection_.Style = CalendarStyle::KeyboardStrips;
    DrawKeyboardStrips(context_);
    const auto pages = ReadBack();
    ASSERT_EQ(pages.size(), 3u);
    ExpectPrintedMonths({pages[0]}, {2023, 12, 3, "*N Y*"});
    ExpectPrintedMonths({pages[1]}, {2023, 1, 36, "*N*"});
    ExpectPrintedMonths({pages[2]}, {2023, 1, 12, "N*", 0, false, false, 9});
}

} // namespace
} // namespace kalvara
