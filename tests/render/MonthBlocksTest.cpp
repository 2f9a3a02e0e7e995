// The shared month blocks, drawn on a page of their own, and the layouts that
// read their months from the program's year table.

#include "render/MonthBlocks.h"

#include "PageExpect.h"
#include "RenderedCalendar.h"
#include "render/Layouts.h"
#include "render/Primitives.h"

#include <gtest/gtest.h>

namespace kalvara {
namespace {

using namespace test;
using MonthBlocks = DirectDrawing;

constexpr ColumnOffsets YearOffsets = {0, 13, 40, 67, 94, 121, 148, 175};
constexpr ColumnOffsets ThreeYearOffsets = {0, 8, 24, 40, 56, 72, 88, 104};

TEST_F(MonthBlocks, WeekdayHeaderRulesAndNames) {
    AddPage();
    WeekdayHeader(context_, 54, 200, YearOffsets, 8);
    const auto page = ReadBack().at(0);
    EXPECT_TRUE(HasRule(page, 54, 194, 229, 194, 0.1));
    EXPECT_TRUE(HasRule(page, 54, 201, 229, 201, 0.1));
    const char* names[] = {"Mo", "Tu", "We", "Th", "Fr", "Sa", "Su"};
    for (std::size_t i = 0; i < 7; ++i) {
        EXPECT_TRUE(
            HasText(page, names[i], Anchor::Right, 54 + YearOffsets[i + 1], 200, {BoldOblique, 8}));
    }
}

TEST_F(MonthBlocks, WeekRowAcrossNewYearInTheYearStyle) {
    AddPage();
    selection_.Style = CalendarStyle::Year;
    selection_.Preferences = ShowQuarters;
    BuildBroadcastYear(2026, years_);
    const DayNumber monday = JulianDate(12, 29, 2025);
    EXPECT_EQ(WeekRow(monday, context_, 54, 300, YearOffsets, 12, 280), monday + 7);
    const auto page = ReadBack().at(0);
    // December is even: bold; January odd: regular.
    EXPECT_TRUE(HasText(page, "29", Anchor::Right, 67, 300, {Bold, 12}));
    EXPECT_TRUE(HasText(page, "31", Anchor::Right, 121, 300, {Bold, 12}));
    EXPECT_TRUE(HasText(page, "1", Anchor::Right, 148, 300, {Regular, 12}));
    EXPECT_TRUE(HasText(page, "4", Anchor::Right, 229, 300, {Regular, 12}));
    // The label is red, bold-oblique and one point smaller.
    EXPECT_TRUE(HasText(page, "1-1Q01", Anchor::Right, 280, 300, {BoldOblique, 11, true}));
    EXPECT_EQ(page.Texts.size(), 8u);
}

TEST_F(MonthBlocks, WeekRowLabelsWeek53WithItsQuarter) {
    AddPage();
    selection_.Style = CalendarStyle::ThreeYears;
    selection_.Preferences = ShowQuarters;
    BuildBroadcastYear(2017, years_);
    WeekRow(JulianDate(12, 25, 2017), context_, 76, 400, ThreeYearOffsets, 9, 68);
    selection_.Preferences = 0;
    WeekRow(JulianDate(12, 25, 2017), context_, 76, 420, ThreeYearOffsets, 9, 68);
    const auto page = ReadBack().at(0);
    EXPECT_TRUE(HasText(page, "53-4Q14", Anchor::Right, 68, 400, {BoldOblique, 8, true}));
    EXPECT_TRUE(HasText(page, "53", Anchor::Right, 68, 420, {BoldOblique, 8, true}));
}

TEST_F(MonthBlocks, WeekRowOfKeyboardStripsHasNoLabelAndLeavesTextBlack) {
    AddPage();
    selection_.Style = CalendarStyle::KeyboardStrips;
    selection_.Preferences = ShowQuarters;
    BuildBroadcastYear(2025, years_);
    const DayNumber monday = JulianDate(3, 3, 2025);
    EXPECT_EQ(WeekRow(monday, context_, 29, 100, {0, 10, 20, 30, 40, 50, 60, 70}, 7, 0),
              monday + 7);
    selection_.Style = CalendarStyle::Year;
    WeekRow(monday, context_, 29, 200, YearOffsets, 12, 280);
    DrawText(context_.Page, "after", 300, 300, context_.FontRegular, 8, AlignLeft);
    const auto page = ReadBack().at(0);
    EXPECT_EQ(page.CountOnBaseline(100), 7u);
    EXPECT_TRUE(HasText(page, "9", Anchor::Right, 99, 100, {Regular, 7}));
    EXPECT_TRUE(page.FindText("after")->Colour.IsBlack());
}

// Called with a table left at another year, the 3 Years and Keyboard strips
// layouts must still print the selected one.
TEST_F(MonthBlocks, LayoutsGivenAStaleTableStillPrintTheSelectedYear) {
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
