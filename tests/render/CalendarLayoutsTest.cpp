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
    std::string Name;
    CalendarSelection Selection;
    std::size_t Pages;
    std::string Paper; // width x height in points
    PrintedMonths Printed;
};

LayoutCase Case(std::string name, CalendarStyle style, std::int32_t period, bool quarters,
                std::size_t pages, std::string paper, PrintedMonths printed) {
    CalendarSelection selection;
    selection.Style = style;
    selection.StartYear = printed.Year;
    selection.Period = period;
    selection.Preferences = quarters ? ShowQuarters : 0;
    return {std::move(name), selection, pages, std::move(paper), printed};
}

void PrintTo(const LayoutCase& layout, std::ostream* out) {
    *out << layout.Name;
}

class CalendarLayouts : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(CalendarLayouts, PrintEveryWeekOnTidyPages) {
    const auto pages = RenderPages(GetParam().Selection);
    ASSERT_EQ(pages.size(), GetParam().Pages);
    for (const auto& page : pages) {
        EXPECT_EQ(std::to_string(int(page.Width)) + "x" + std::to_string(int(page.Height)),
                  GetParam().Paper);
    }
    ExpectPrintedMonths(pages, GetParam().Printed);
}

constexpr auto Month = CalendarStyle::Month;
constexpr auto Quarter = CalendarStyle::Quarter;
constexpr auto Year = CalendarStyle::Year;
constexpr auto Planning = CalendarStyle::Planning;
constexpr auto All = AllPeriods;

// 2023 and 2012 have 53 weeks because 1 January is a Sunday, 2000 because a
// leap year starts on a Saturday. Year, Planning and Keyboard strips ignore
// the period; Planning and Keyboard strips ignore the quarter preference.
INSTANTIATE_TEST_SUITE_P(
    Styles, CalendarLayouts,
    ::testing::Values(
        Case("MonthOfFourWeeks", Month, 1, false, 1, "792x612", {2025, 1, 1, "N Y*"}),
        Case("MonthOfFiveWeeksWithQuarters", Month, 3, true, 1, "792x612",
             {2025, 3, 1, "N Y*", '/'}),
        Case("AllMonthsOf53Weeks", Month, All, false, 12, "792x612", {2023, 1, 12, "N Y*"}),
        Case("QuarterIntoTheNextYear", Quarter, 11, true, 1, "612x792",
             {2025, 11, 3, "*N Y*", '/'}),
        Case("AllQuarters", Quarter, All, false, 4, "612x792", {2025, 1, 12, "*N Y*"}),
        Case("YearOf52Weeks", Year, 5, false, 1, "612x792", {2025, 1, 12, "N*"}),
        Case("YearOf53WeeksWithQuarters", Year, 5, true, 1, "612x792", {2023, 1, 12, "N*", '-'}),
        Case("FirstYear", Year, All, false, 1, "612x792", {1920, 1, 12, "N*"}),
        Case("LeapYearFromASaturday", Year, All, false, 1, "612x792", {2000, 1, 12, "N*"}),
        Case("CenturyWithoutLeapDay", Year, All, false, 1, "612x792", {2100, 1, 12, "N*"}),
        Case("LastYear", Year, All, false, 1, "612x792", {9999, 1, 12, "N*"}),
        Case("ThreeYearsEachCountedFromItsOwnStart", CalendarStyle::ThreeYears, All, true, 1,
             "612x792", {2023, 1, 36, "*N*", '-'}),
        Case("NineKeyboardStripsWithoutLabelsOrFooter", CalendarStyle::KeyboardStrips, All, true, 1,
             "1008x612", {2025, 1, 12, "N*", 0, false, false, 9}),
        Case("PlanningOf52Weeks", Planning, 7, true, 1, "612x792", {2025, 1, 12, "*N*"}),
        Case("PlanningOf53Weeks", Planning, All, false, 1, "612x792", {2023, 1, 12, "*N*"}),
        Case("PlanningOfALeapYearOf53Weeks", Planning, All, false, 1, "612x792",
             {2012, 1, 12, "*N*"}),
        Case("PlanningFromASaturday", Planning, All, false, 1, "612x792", {2000, 1, 12, "*N*"})),
    [](const auto& info) { return info.param.Name; });

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
