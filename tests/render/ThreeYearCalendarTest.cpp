// The 3 Years page: three broadcast years in columns on portrait Letter.

#include "PageExpect.h"
#include "RenderedCalendar.h"

#include <array>
#include <gtest/gtest.h>

namespace kalvara {
namespace {

using namespace test;

constexpr TextStyle MonthTitle{Bold, 9};
constexpr TextStyle WeekLabel{BoldOblique, 8, true};
constexpr std::array<double, 3> Centers = {126, 306, 486};

CalendarSelection ThreeYearSelection(std::int32_t year, bool quarters = false) {
    CalendarSelection selection;
    selection.Style = CalendarStyle::ThreeYears;
    selection.StartYear = year;
    selection.Preferences = quarters ? ShowQuarters : 0;
    return selection;
}

// Red week labels right-aligned at the column's week-number x.
std::vector<const PdfTextRun*> WeekLabels(const PdfPageReadback& page, double column_center) {
    std::vector<const PdfTextRun*> labels;
    for (const auto& run : page.Texts) {
        if (run.Colour.IsRed() && run.Font == BoldOblique &&
            Near(run.Right, column_center - 58, 0.02)) {
            labels.push_back(&run);
        }
    }
    return labels;
}

TEST(ThreeYearCalendar, StartingInAFiftyThreeWeekYear) {
    TempFolder folder;
    const auto rendered = RenderCalendar(ThreeYearSelection(2023), folder);
    ASSERT_TRUE(rendered.Result.Saved) << rendered.Result.Problem;
    ASSERT_EQ(rendered.Readback.Pages.size(), 1u);
    const auto& page = rendered.Readback.Pages[0];
    EXPECT_DOUBLE_EQ(page.Width, 612);
    EXPECT_DOUBLE_EQ(page.Height, 792);

    EXPECT_TRUE(HasRule(page, 152, 19, 460, 19, 0.7));
    EXPECT_TRUE(HasRule(page, 152, 32, 460, 32, 0.7));
    EXPECT_TRUE(HasText(page, "THREE YEAR STANDARD BROADCAST CALENDAR", Anchor::Centre, 306, 30,
                        {Bold, 12}));
    EXPECT_TRUE(HasText(page, "* denotes 5-week month", Anchor::Left, 72, 760, {Regular, 7}));
    EXPECT_TRUE(
        HasText(page, "Kalvara by Quennet/www.quennet.com", Anchor::Right, 540, 760, {Regular, 7}));

    const std::array<const char*, 3> years = {"2023", "2024", "2025"};
    const std::array<const char*, 3> januaries = {"*January*", "January", "January"};
    // 2023 has 53 weeks, 2024 and 2025 have 52: the columns end at different heights.
    const std::array<int, 3> week_counts = {53, 52, 52};
    for (std::size_t column = 0; column < 3; ++column) {
        const double center = Centers[column];
        const double block = center - 50;
        SCOPED_TRACE(years[column]);
        EXPECT_TRUE(HasText(page, years[column], Anchor::Centre, center, 46, {Bold, 14, true}));
        EXPECT_TRUE(HasText(page, januaries[column], Anchor::Centre, center, 55, MonthTitle));
        EXPECT_TRUE(HasText(page, "Wk#", Anchor::Right, block - 8, 55, {Bold, 8, true}));
        EXPECT_TRUE(HasText(page, "Mo", Anchor::Right, block + 8, 61, {BoldOblique, 6}));
        EXPECT_TRUE(HasText(page, "Su", Anchor::Right, block + 104, 61, {BoldOblique, 6}));
        EXPECT_TRUE(HasRule(page, block, 62, block + 104, 62, 0.2));

        // Every week once, numbered from 1 at the column's own year start,
        // nine points apart within a month; the last row at 270 + 9 x weeks.
        const auto labels = WeekLabels(page, center);
        ASSERT_EQ(labels.size(), static_cast<std::size_t>(week_counts[column]));
        for (std::size_t i = 0; i < labels.size(); ++i) {
            EXPECT_EQ(labels[i]->Text, std::to_string(i + 1));
        }
        EXPECT_TRUE(Near(labels.front()->Y, 70));
        EXPECT_TRUE(Near(labels.back()->Y, 270 + 9 * week_counts[column]));
    }

    // The weeks under each heading are that year's: 2023 opens on Monday
    // 26 December 2022 (bold, December), 2024 on Monday 1 January itself.
    EXPECT_TRUE(HasText(page, "26", Anchor::Right, 84, 70, {Bold, 9}));
    EXPECT_TRUE(HasText(page, "1", Anchor::Right, 180, 70, {Regular, 9}));
    EXPECT_TRUE(HasText(page, "1", Anchor::Right, 264, 70, {Regular, 9}));
    EXPECT_TRUE(HasText(page, "7", Anchor::Right, 360, 70, {Regular, 9}));
    // February 2023 follows a five-week January: 55 + 64.
    EXPECT_TRUE(HasText(page, "February", Anchor::Centre, 126, 119, MonthTitle));
    EXPECT_TRUE(HasText(page, "February", Anchor::Centre, 306, 110, MonthTitle));
    // Broadcast December 2023 ends on Sunday 31 December, on the last row.
    EXPECT_TRUE(HasText(page, "31", Anchor::Right, 180, 747, {Bold, 9}));

    // The table is left at the year after the last column.
    EXPECT_EQ(rendered.Years.Year, 2026);
}

TEST(ThreeYearCalendar, QuarterDesignationFollowsThePreference) {
    TempFolder folder;
    const auto with = RenderCalendar(ThreeYearSelection(2025, true), folder, "with.pdf");
    const auto without = RenderCalendar(ThreeYearSelection(2025, false), folder, "without.pdf");
    ASSERT_TRUE(with.Result.Saved && without.Result.Saved);
    const auto& quarters = with.Readback.Pages.at(0);
    const auto& plain = without.Readback.Pages.at(0);

    EXPECT_TRUE(HasText(quarters, "1-1Q01", Anchor::Right, 68, 70, WeekLabel));
    EXPECT_TRUE(HasText(quarters, "14-2Q01", Anchor::Right, 68, 55 + 55 + 64 + 55 + 15, WeekLabel));
    EXPECT_TRUE(HasText(quarters, "1-1Q01", Anchor::Right, 248, 70, WeekLabel));
    // 2027's fourth quarter: October 4 + November 5 + December 4 weeks.
    EXPECT_TRUE(HasText(quarters, "52-4Q13", Anchor::Right, 428, 738, WeekLabel));
    EXPECT_TRUE(HasText(plain, "52", Anchor::Right, 428, 738, WeekLabel));
    for (const auto* label : WeekLabels(plain, 486)) {
        EXPECT_EQ(label->Text.find('Q'), std::string::npos) << Describe(*label);
    }
}

} // namespace
} // namespace kalvara
