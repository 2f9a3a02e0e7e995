// The 3 Years and Keyboard strips layouts read their months from the
// program's year table; called with a table left at another year they must
// still print the selected one.

#include "PageExpect.h"
#include "RenderedCalendar.h"
#include "render/Layouts.h"

#include <gtest/gtest.h>

namespace kalvara {
namespace {

using namespace test;
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
