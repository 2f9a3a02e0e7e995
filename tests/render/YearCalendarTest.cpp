// The Year page: twelve months in two columns on portrait Letter.

#include "PageExpect.h"
#include "render/MonthBlocks.h"

#include <algorithm>
#include <array>
#include <gtest/gtest.h>

namespace kalvara {
namespace {

using namespace test;

constexpr TextStyle DateRegular{Regular, 12};
constexpr TextStyle DateBold{Bold, 12};
constexpr TextStyle WeekLabel{BoldOblique, 11, true};
constexpr TextStyle Heading{Bold, 12};
constexpr std::array<const char*, 7> WeekdayAbbreviations = {"Mo", "Tu", "We", "Th",
                                                             "Fr", "Sa", "Su"};

// Day columns of a block: right edges at block x + 13 + 27 (i - 1).
double DayX(double block_x, int weekday) {
    return block_x + 13 + 27 * (weekday - 1);
}

TEST(YearCalendar, FiftyTwoWeekYear) {
    // The period is ignored by this style.
    const auto pages = RenderPages(Selection(CalendarStyle::Year, 2025, 5), 1);
    const auto& page = pages.at(0);
    EXPECT_DOUBLE_EQ(page.Width, 612);
    EXPECT_DOUBLE_EQ(page.Height, 792);

    EXPECT_TRUE(HasRule(page, 154, 49, 458, 49, 0.7));
    EXPECT_TRUE(HasRule(page, 154, 61, 458, 61, 0.7));
    EXPECT_TRUE(HasText(page, "S T A N D A R D  B R O A D C A S T  C A L E N D A R", Anchor::Centre,
                        306, 60, {Bold, 12}));
    EXPECT_TRUE(HasText(page, "2025", Anchor::Centre, 306, 96, {Bold, 40, true}));
    EXPECT_EQ(page.FindTexts("Wk").size(), 2u);
    EXPECT_TRUE(HasText(page, "Wk", Anchor::Right, 280, 139, {BoldOblique, 11}));
    EXPECT_TRUE(HasText(page, "Wk", Anchor::Right, 345, 139, {BoldOblique, 11}));

    // Pair references 126, 217, 321, 425, 516, 620 from row counts 4, 5, 5, 4, 5, 5.
    const std::array<const char*, 13> headings = {
        "",     "January", "February",  "March*",  "April",     "May",     "June*",
        "July", "August*", "September", "October", "November*", "December"};
    const std::array<double, 7> pairs = {0, 126, 217, 321, 425, 516, 620};
    for (std::size_t k = 1; k <= 6; ++k) {
        EXPECT_TRUE(HasText(page, headings[k], Anchor::Left, 54, pairs[k] + 15, Heading));
        EXPECT_TRUE(HasText(page, "2025", Anchor::Right, 229, pairs[k] + 15, Heading));
        EXPECT_TRUE(HasText(page, headings[k + 6], Anchor::Left, 378, pairs[k] + 15, Heading));
        EXPECT_TRUE(HasText(page, "2025", Anchor::Right, 553, pairs[k] + 15, Heading));
        // Weekday headers of both blocks, with their two thin rules.
        for (const double x : {54.0, 378.0}) {
            for (int weekday = 1; weekday <= 7; ++weekday) {
                EXPECT_TRUE(HasText(page, WeekdayAbbreviations[weekday - 1], Anchor::Right,
                                    DayX(x, weekday), pairs[k] + 26, {BoldOblique, 8}));
            }
            EXPECT_TRUE(HasRule(page, x, pairs[k] + 20, x + 175, pairs[k] + 20, 0.1));
            EXPECT_TRUE(HasRule(page, x, pairs[k] + 27, x + 175, pairs[k] + 27, 0.1));
        }
    }

    // January's first row: 30 31 bold (December), 1..5 regular, week 1.
    EXPECT_TRUE(HasText(page, "30", Anchor::Right, DayX(54, 1), 165, DateBold));
    EXPECT_TRUE(HasText(page, "31", Anchor::Right, DayX(54, 2), 165, DateBold));
    for (int day = 1; day <= 5; ++day) {
        EXPECT_TRUE(
            HasText(page, std::to_string(day), Anchor::Right, DayX(54, day + 2), 165, DateRegular));
    }
    EXPECT_TRUE(HasText(page, "1", Anchor::Right, 280, 165, WeekLabel));
    // July's first row (30 June to 6 July) in the right column, week 27.
    EXPECT_TRUE(HasText(page, "30", Anchor::Right, DayX(378, 1), 165, DateBold));
    EXPECT_TRUE(HasText(page, "6", Anchor::Right, DayX(378, 7), 165, DateRegular));
    EXPECT_TRUE(HasText(page, "27", Anchor::Right, 345, 165, WeekLabel));

    // Pair 2: February has 4 weeks, August 5; the left fifth line stays empty.
    EXPECT_TRUE(HasText(page, "35", Anchor::Right, 345, 217 + 39 + 52, WeekLabel));
    EXPECT_EQ(page.CountOnBaseline(217 + 39 + 52), 8u);
    // The last week row: June's fifth week (23 to 29 June) at 711, week 26.
    EXPECT_TRUE(HasText(page, "26", Anchor::Right, 280, 711, WeekLabel));
    EXPECT_TRUE(HasText(page, "29", Anchor::Right, DayX(54, 7), 711, DateBold));
    // December's last week is 52, ending on 28 December.
    EXPECT_TRUE(HasText(page, "52", Anchor::Right, 345, 620 + 39 + 39, WeekLabel));

    EXPECT_TRUE(HasText(page, "* denotes 5-week month", Anchor::Left, 54, 748, {Regular, 7}));
    EXPECT_TRUE(HasText(page, CreditLine, Anchor::Right, 540, 748, {Regular, 7}));
}

TEST(YearCalendar, FiftyThreeWeekYearWithQuarters) {
    const auto pages = RenderPages(Selection(CalendarStyle::Year, 2023, 5, ShowQuarters), 1);
    const auto& page = pages.at(0);

    EXPECT_TRUE(HasText(page, "January*", Anchor::Left, 54, 141, Heading));
    EXPECT_TRUE(HasText(page, "July*", Anchor::Left, 378, 141, Heading));
    // Pairs of 5, 4, 4, 5, 4 and 5 rows: the last pair starts at 607.
    EXPECT_TRUE(HasText(page, "December*", Anchor::Left, 378, 622, Heading));
    // Monday 26 December 2022 opens week 1; the right column's labels move to
    // 363 while its "Wk" stays at 345.
    EXPECT_TRUE(HasText(page, "26", Anchor::Right, DayX(54, 1), 165, DateBold));
    EXPECT_TRUE(HasText(page, "1-1Q01", Anchor::Right, 280, 165, WeekLabel));
    EXPECT_TRUE(HasText(page, "27-3Q01", Anchor::Right, 363, 165, WeekLabel));
    EXPECT_TRUE(HasText(page, "Wk", Anchor::Right, 345, 139, {BoldOblique, 11}));

    // December: 5 weeks ending Sunday 31 December in week 53 (4Q14).
    EXPECT_TRUE(HasText(page, "53-4Q14", Anchor::Right, 363, 698, WeekLabel));
    EXPECT_TRUE(HasText(page, "31", Anchor::Right, DayX(378, 7), 698, DateBold));
}

// Across the accepted range: every week labelled once in order, every day of
// the broadcast year printed once, and everything above the footer.
TEST(YearCalendar, EveryWeekOfYearsAcrossTheRange) {
    for (const std::int32_t year :
         {1920, 1947, 1976, 1999, 2000, 2004, 2015, 2020, 2026, 2100, 2400, 5000, 9998, 9999}) {
        const auto pages = RenderPages(Selection(CalendarStyle::Year, year), 1);
        ASSERT_EQ(pages.size(), 1u) << year;
        const auto& page = pages[0];
        BroadcastYearTable table;
        BuildBroadcastYear(year, table);
        const std::int32_t weeks = (table.Last(12) - table.First(1) + 1) / 7; // 52 or 53

        std::vector<int> labels;
        int dates = 0;
        double lowest = 0;
        for (const auto& run : page.Texts) {
            if (run.Colour.IsRed() && run.Font == BoldOblique) {
                labels.push_back(std::stoi(run.Text));
            } else if (Near(run.Size, 12) && run.Font != BoldOblique &&
                       run.Text.find_first_not_of("0123456789") == std::string::npos) {
                ++dates;
                lowest = std::max(lowest, run.Y);
            }
        }
        // Labels come left column then right column per row; sorted they must
        // be 1..weeks exactly.
        std::sort(labels.begin(), labels.end());
        ASSERT_EQ(labels.size(), static_cast<std::size_t>(weeks)) << year;
        for (std::size_t i = 0; i < labels.size(); ++i) {
            EXPECT_EQ(labels[i], static_cast<int>(i) + 1) << year;
        }
        // Twelve year numbers beside the headings are digits of size 12 too.
        EXPECT_EQ(dates, 7 * weeks + 12) << year;
        EXPECT_LE(lowest, 737) << year;
        for (std::int32_t month = 1; month <= 12; ++month) {
            const std::string heading =
                std::string(MonthName(month)) + (table.WeekCount(month) == 5 ? "*" : "");
            EXPECT_NE(page.FindText(heading), nullptr) << year << " " << heading;
        }
    }
}

} // namespace
} // namespace kalvara
