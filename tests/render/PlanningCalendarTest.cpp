// The Planning page: one row per broadcast week with budget and notes columns.

#include "PageExpect.h"
#include "render/MonthBlocks.h"

#include <algorithm>
#include <array>
#include <gtest/gtest.h>
#include <tuple>
#include <vector>

namespace kalvara {
namespace {

using namespace test;

constexpr TextStyle RowBold{Bold, 9};
constexpr TextStyle RowRegular{Regular, 9};
constexpr TextStyle Footer{Regular, 8};

double RowY(int row) {
    return 100 + 11 * (row - 1);
}

struct PlanningYear {
    std::int32_t Year;
    int Rows;
    DayNumber FirstMonday;
    std::vector<std::int32_t> FiveWeekMonths;
};

class PlanningCalendar : public ::testing::TestWithParam<PlanningYear> {};

TEST_P(PlanningCalendar, OneRowPerBroadcastWeek) {
    const PlanningYear& year = GetParam();
    // The period is ignored by this style, and its week numbers never carry
    // the quarter.
    const auto pages =
        RenderPages(Selection(CalendarStyle::Planning, year.Year, 7, ShowQuarters), 1);
    const auto& page = pages.at(0);
    EXPECT_DOUBLE_EQ(page.Width, 612);
    EXPECT_DOUBLE_EQ(page.Height, 792);

    EXPECT_TRUE(HasText(page, "BROADCAST CALENDAR " + std::to_string(year.Year), Anchor::Centre,
                        306, 49, {Bold, 28}));
    EXPECT_TRUE(HasRule(page, 36, 65, 576, 65, 0.6));

    // The header bar: dark blue from 76 to 89 with white bold headings.
    ASSERT_FALSE(page.Fills.empty());
    const auto& bar = page.Fills.front();
    EXPECT_TRUE(bar.Colour.Is(0, 0, 0.6));
    EXPECT_TRUE(Near(bar.Left, 36) && Near(bar.Right, 576));
    EXPECT_TRUE(Near(bar.Top, 76) && Near(bar.Bottom, 89));
    const std::array<std::tuple<const char*, Anchor, double>, 6> headers = {{
        {"WK", Anchor::Right, 51},
        {"MONTH", Anchor::Left, 60},
        {"M", Anchor::Centre, 146},
        {"W", Anchor::Centre, 180},
        {"F", Anchor::Centre, 214},
        {"BUDGET", Anchor::Right, 307},
    }};
    for (const auto& [text, anchor, x] : headers) {
        const auto* run = page.FindText(text);
        ASSERT_NE(run, nullptr) << text;
        EXPECT_TRUE(Near(AnchorX(*run, anchor), x, 0.02)) << Describe(*run);
        EXPECT_TRUE(Near(run->Y, 86) && run->Font == Bold && Near(run->Size, 8)) << Describe(*run);
        EXPECT_TRUE(run->Colour.Is(1, 1, 1)) << Describe(*run);
    }
    EXPECT_EQ(page.CountOnBaseline(86), 10u);

    // Every row up to the last Sunday of December: the week number, the
    // dates, regular in odd calendar months and bold in even ones (so a week
    // that crosses a month shows both weights), and the rules under it.
    for (int row = 1; row <= year.Rows; ++row) {
        EXPECT_TRUE(HasText(page, std::to_string(row), Anchor::Right, 51, RowY(row) - 2, RowBold));
        for (int weekday = 1; weekday <= 7; ++weekday) {
            std::int32_t month = 0;
            std::int32_t day = 0;
            std::int32_t calendar_year = 0;
            JulianToMDY(year.FirstMonday + 7 * (row - 1) + weekday - 1, month, day, calendar_year);
            EXPECT_TRUE(HasText(page, std::to_string(day), Anchor::Right, 151 + 17 * (weekday - 1),
                                RowY(row) - 2, month % 2 == 0 ? RowBold : RowRegular))
                << "row " << row;
        }
        EXPECT_TRUE(HasRule(page, 36, RowY(row) + 1, 58, RowY(row) + 1, 0.6));
        EXPECT_TRUE(HasRule(page, 137, RowY(row) + 1, 576, RowY(row) + 1, 0.6));
    }
    EXPECT_EQ(page.FindText(std::to_string(year.Rows + 1)), nullptr);

    // Twelve month labels, starred on both sides for five weeks; every month
    // but the first gets a heavy rule on the line above it.
    std::int32_t labels = 0;
    for (const auto& run : page.Texts) {
        if (Near(run.X, 60) && run.Font == Bold && Near(run.Size, 9)) {
            ++labels;
            const auto& five = year.FiveWeekMonths;
            const std::string marker =
                std::find(five.begin(), five.end(), labels) != five.end() ? "*" : "";
            EXPECT_EQ(run.Text, marker + MonthName(labels) + marker) << Describe(run);
            EXPECT_TRUE(labels > 1 ? HasRule(page, 36, run.Y - 8, 576, run.Y - 8, 1.2)
                                   : Near(run.Y, 98))
                << Describe(run);
        }
    }
    EXPECT_EQ(labels, 12);
    EXPECT_EQ(std::count_if(page.Strokes.begin(), page.Strokes.end(),
                            [](const auto& stroke) { return Near(stroke.Width, 1.2, 0.001); }),
              11);

    // The closing rule lies over the last row's rules; the twelve column rules
    // run from the header bar down to it.
    const double closing = RowY(year.Rows) + 1;
    EXPECT_EQ(std::count_if(page.Strokes.begin(), page.Strokes.end(),
                            [closing](const auto& stroke) {
                                return stroke.IsHorizontal() && Near(stroke.Points[0].Y, closing);
                            }),
              3);
    for (const double x : {36, 58, 137, 154, 171, 188, 205, 222, 239, 256, 319, 576}) {
        EXPECT_TRUE(HasRule(page, x, 89, x, closing, 0.6)) << "x " << x;
    }
    EXPECT_TRUE(HasText(page,
                        "Broadcast Calendar: Standard Billing Week; Monday thru Sunday -- "
                        "Standard Billing Month; Ending on Last Sunday",
                        Anchor::Centre, 306, closing + 25, Footer));
    EXPECT_TRUE(HasText(page, "* Denotes 5-week month", Anchor::Centre, 306, closing + 44, Footer));
    EXPECT_TRUE(HasText(page, CreditLine, Anchor::Centre, 306, closing + 63, Footer));
}

// 53 rows when 1 January is a Sunday (2023; 2012, a leap year) or a leap
// year's 1 January is a Saturday (2000): the footer moves 11 points down.
INSTANTIATE_TEST_SUITE_P(
    Years, PlanningCalendar,
    ::testing::Values(PlanningYear{2025, 52, JulianDate(12, 30, 2024), {3, 6, 8, 11}},
                      PlanningYear{2023, 53, JulianDate(12, 26, 2022), {1, 4, 7, 10, 12}},
                      PlanningYear{2012, 53, JulianDate(12, 26, 2011), {1, 4, 7, 9, 12}},
                      PlanningYear{2000, 53, JulianDate(12, 27, 1999), {1, 4, 7, 10, 12}}),
    [](const auto& info) { return std::to_string(info.param.Year); });

} // namespace
} // namespace kalvara
