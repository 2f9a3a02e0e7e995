// The Planning page: one row per broadcast week with budget and notes columns.

#include "PageExpect.h"
#include "RenderedCalendar.h"

#include <algorithm>
#include <array>
#include <gtest/gtest.h>
#include <ostream>
#include <tuple>
#include <vector>

namespace kalvara {
namespace {

using namespace test;

constexpr TextStyle RowBold{Bold, 9};
constexpr TextStyle RowRegular{Regular, 9};
constexpr TextStyle Footer{Regular, 8};
constexpr std::array<double, 12> ColumnRules = {36,  58,  137, 154, 171, 188,
                                                205, 222, 239, 256, 319, 576};
constexpr std::array<const char*, 13> MonthNames = {
    "",     "January", "February",  "March",   "April",    "May",     "June",
    "July", "August",  "September", "October", "November", "December"};

// The quarter preference is on: this page's week numbers never carry it,
// which ExpectTable sees as plain numbers.
CalendarSelection PlanningSelection(std::int32_t year) {
    CalendarSelection selection;
    selection.Style = CalendarStyle::Planning;
    selection.StartYear = year;
    selection.Period = 7; // ignored by this style
    selection.Preferences = ShowQuarters;
    return selection;
}

double RowY(int row) {
    return 100 + 11 * (row - 1);
}

// Right edge of the date in day column 1 (Monday) .. 7 (Sunday).
double DateX(int weekday) {
    return 151 + 17 * (weekday - 1);
}

// The month's label: starred on both sides when the month has five weeks.
std::string MonthLabel(std::size_t month, const std::vector<std::size_t>& five_week_months) {
    const std::string marker =
        std::find(five_week_months.begin(), five_week_months.end(), month) != five_week_months.end()
            ? "*"
            : "";
    return marker + MonthNames[month] + marker;
}

// The frame of a page of rows rows: week numbers, twelve month labels with
// eleven month rules, row rules, column rules and the footer below them.
void ExpectTable(const PdfPageReadback& page, int rows,
                 const std::vector<std::size_t>& five_week_months) {
    for (int row = 1; row <= rows; ++row) {
        EXPECT_TRUE(HasText(page, std::to_string(row), Anchor::Right, 51, RowY(row) - 2, RowBold));
        EXPECT_TRUE(HasRule(page, 36, RowY(row) + 1, 58, RowY(row) + 1, 0.6));
        EXPECT_TRUE(HasRule(page, 137, RowY(row) + 1, 576, RowY(row) + 1, 0.6));
    }
    EXPECT_EQ(page.FindText(std::to_string(rows + 1)), nullptr);

    int labels = 0;
    int month_rules = 0;
    for (const auto& run : page.Texts) {
        if (Near(run.X, 60) && run.Font == Bold && Near(run.Size, 9)) {
            ++labels;
            EXPECT_EQ(run.Text, MonthLabel(static_cast<std::size_t>(labels), five_week_months))
                << Describe(run);
            // Every month but the first gets a heavy rule on the line above it.
            if (labels > 1) {
                EXPECT_TRUE(HasRule(page, 36, run.Y - 8, 576, run.Y - 8, 1.2)) << Describe(run);
            }
        }
    }
    for (const auto& stroke : page.Strokes) {
        month_rules += Near(stroke.Width, 1.2, 0.001) ? 1 : 0;
    }
    EXPECT_EQ(labels, 12);
    EXPECT_EQ(month_rules, 11);

    const double closing = RowY(rows) + 1;
    // The closing rule lies over the last row's rules; the twelve column rules
    // run from the header bar down to it.
    EXPECT_EQ(page.HorizontalRulesAt(closing).size(), 3u);
    for (const double x : ColumnRules) {
        EXPECT_TRUE(HasRule(page, x, 89, x, closing, 0.6)) << "x " << x;
    }
    EXPECT_TRUE(HasText(page,
                        "Broadcast Calendar: Standard Billing Week; Monday thru Sunday -- "
                        "Standard Billing Month; Ending on Last Sunday",
                        Anchor::Centre, 306, RowY(rows) + 26, Footer));
    EXPECT_TRUE(
        HasText(page, "* Denotes 5-week month", Anchor::Centre, 306, RowY(rows) + 45, Footer));
    EXPECT_TRUE(HasText(page, "Kalvara by Quennet/www.quennet.com", Anchor::Centre, 306,
                        RowY(rows) + 64, Footer));
}

struct PlanningYear {
    std::int32_t Year;
    int Rows;
    DayNumber FirstMonday;
    std::vector<std::size_t> FiveWeekMonths;
};

// Names the case by its year in test listings.
void PrintTo(const PlanningYear& year, std::ostream* out) {
    *out << year.Year;
}

class PlanningCalendar : public ::testing::TestWithParam<PlanningYear> {};

TEST_P(PlanningCalendar, OneRowPerBroadcastWeek) {
    const PlanningYear& year = GetParam();
    TempFolder folder;
    const auto rendered = RenderCalendar(PlanningSelection(year.Year), folder);
    ASSERT_TRUE(rendered.Result.Saved) << rendered.Result.Problem;
    ASSERT_EQ(rendered.Readback.Pages.size(), 1u);
    const auto& page = rendered.Readback.Pages[0];
    EXPECT_DOUBLE_EQ(page.Width, 612);
    EXPECT_DOUBLE_EQ(page.Height, 792);

    EXPECT_TRUE(HasText(page, "BROADCAST CALENDAR " + std::to_string(year.Year), Anchor::Centre,
                        306, 49, {Bold, 28}));
    EXPECT_TRUE(HasRule(page, 36, 65, 576, 65, 0.6));

    // The header bar: dark blue from 76 to 89 with white bold headings.
    ASSERT_FALSE(page.Fills.empty());
    const auto& bar = page.Fills.front();
    EXPECT_TRUE(bar.Colour.Is(0, 0, 0.6));
    EXPECT_TRUE(Near(bar.Left(), 36) && Near(bar.Right(), 576));
    EXPECT_TRUE(Near(bar.Top(), 76) && Near(bar.Bottom(), 89));
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
    EXPECT_EQ(page.TextsOnBaseline(86).size(), 10u);

    // Every date of every row up to the last Sunday of December, regular in
    // odd calendar months and bold in even ones, so a week that crosses a
    // month shows both weights.
    for (int row = 1; row <= year.Rows; ++row) {
        for (int weekday = 1; weekday <= 7; ++weekday) {
            std::int32_t month = 0;
            std::int32_t day = 0;
            std::int32_t calendar_year = 0;
            JulianToMDY(year.FirstMonday + 7 * (row - 1) + weekday - 1, month, day, calendar_year);
            EXPECT_TRUE(HasText(page, std::to_string(day), Anchor::Right, DateX(weekday),
                                RowY(row) - 2, month % 2 == 0 ? RowBold : RowRegular))
                << "row " << row;
        }
    }
    EXPECT_TRUE(HasText(page, MonthLabel(1, year.FiveWeekMonths), Anchor::Left, 60, 98, RowBold));
    ExpectTable(page, year.Rows, year.FiveWeekMonths);
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
