// The Month page: one broadcast month on landscape Letter.

#include "PageExpect.h"
#include "render/MonthBlocks.h"

#include <array>
#include <gtest/gtest.h>

namespace kalvara {
namespace {

using namespace test;

constexpr std::array<double, 9> Edges = {0, 72, 165, 257, 350, 442, 535, 627, 720};
constexpr TextStyle DateRegular{Regular, 20};
constexpr TextStyle DateBold{Bold, 20};
constexpr TextStyle WeekLabel{Bold, 14, true};

void ExpectGrid(const PdfPageReadback& page, const std::vector<double>& row_tops) {
    EXPECT_TRUE(HasRule(page, 72, 54, 720, 54, 0.3));
    for (std::size_t i = 1; i <= 8; ++i) {
        EXPECT_TRUE(HasRule(page, Edges[i], 54, Edges[i], 576, 0.3)) << "edge " << i;
    }
    for (const double top : row_tops) {
        EXPECT_TRUE(HasRule(page, 72, top, 720, top, 0.3)) << "row rule " << top;
    }
    EXPECT_TRUE(HasRule(page, 72, 576, 720, 576, 0.3));
    EXPECT_EQ(page.Strokes.size(), 1 + 8 + row_tops.size() + 1);

    const std::array<const char*, 8> days = {"",         "Monday", "Tuesday",  "Wednesday",
                                             "Thursday", "Friday", "Saturday", "Sunday"};
    const std::array<double, 8> centres = {0, 118, 211, 303, 396, 488, 581, 673};
    for (std::size_t c = 1; c <= 7; ++c) {
        EXPECT_TRUE(HasText(page, days[c], Anchor::Centre, centres[c], 67, {Bold, 14}));
    }
    EXPECT_TRUE(HasText(page, "STANDARD BROADCAST CALENDAR", Anchor::Centre, 396, 51, {Bold, 12}));
    EXPECT_TRUE(HasText(page, CreditLine, Anchor::Right, 720, 583, {Regular, 8}));
}

TEST(MonthCalendar, FourWeekMonthWithoutQuarters) {
    const auto pages = RenderPages(Selection(CalendarStyle::Month, 2025, 1), 1);
    const auto& page = pages.at(0);
    EXPECT_DOUBLE_EQ(page.Width, 792);
    EXPECT_DOUBLE_EQ(page.Height, 612);

    EXPECT_TRUE(HasText(page, "January 2025", Anchor::Centre, 396, 36, {Bold, 20}));
    EXPECT_EQ(page.FindText("* denotes 5-week month"), nullptr);
    ExpectGrid(page, {70, 196, 322, 448});

    // 30 December 2024 to 5 January 2025: December (even) bold, January regular.
    EXPECT_TRUE(HasText(page, "30", Anchor::Right, Edges[2] - 3, 90, DateBold));
    EXPECT_TRUE(HasText(page, "31", Anchor::Right, Edges[3] - 3, 90, DateBold));
    for (int day = 1; day <= 5; ++day) {
        EXPECT_TRUE(HasText(page, std::to_string(day), Anchor::Right,
                            Edges[static_cast<std::size_t>(day) + 3] - 3, 90, DateRegular));
    }
    // Last row: 20 to 26 January.
    EXPECT_TRUE(HasText(page, "26", Anchor::Right, 717, 468, DateRegular));

    const std::array<double, 4> label_baselines = {194, 320, 446, 572};
    for (std::size_t r = 0; r < 4; ++r) {
        EXPECT_TRUE(
            HasText(page, std::to_string(r + 1), Anchor::Left, 74, label_baselines[r], WeekLabel));
    }
    // Title, subtitle, 7 names, 28 dates, 4 labels, credit line.
    EXPECT_EQ(page.Texts.size(), 2u + 7 + 28 + 4 + 1);
}

TEST(MonthCalendar, FiveWeekMonthWithQuarters) {
    const auto pages = RenderPages(Selection(CalendarStyle::Month, 2025, 3, ShowQuarters), 1);
    const auto& page = pages.at(0);

    EXPECT_TRUE(HasText(page, "March 2025*", Anchor::Centre, 396, 36, {Bold, 20}));
    EXPECT_TRUE(HasText(page, "* denotes 5-week month", Anchor::Left, 72, 583, {Regular, 8}));
    ExpectGrid(page, {70, 171, 272, 373, 474});

    // 24 to 28 February bold, 1 and 2 March regular.
    for (int day = 24; day <= 28; ++day) {
        EXPECT_TRUE(HasText(page, std::to_string(day), Anchor::Right,
                            Edges[static_cast<std::size_t>(day) - 22] - 3, 90, DateBold));
    }
    EXPECT_TRUE(HasText(page, "1", Anchor::Right, 624, 90, DateRegular));
    EXPECT_TRUE(HasText(page, "2", Anchor::Right, 717, 90, DateRegular));
    // One date per row at the row's baseline: the Mondays 3, 10, 17, 24 March.
    EXPECT_TRUE(HasText(page, "3", Anchor::Right, 162, 190, DateRegular));
    EXPECT_TRUE(HasText(page, "10", Anchor::Right, 162, 292, DateRegular));
    EXPECT_TRUE(HasText(page, "17", Anchor::Right, 162, 392, DateRegular));
    EXPECT_TRUE(HasText(page, "30", Anchor::Right, 717, 494, DateRegular));

    const std::array<const char*, 5> labels = {"9/1Q09", "10/1Q10", "11/1Q11", "12/1Q12",
                                               "13/1Q13"};
    const std::array<double, 5> label_baselines = {169, 270, 371, 472, 573};
    for (std::size_t r = 0; r < 5; ++r) {
        EXPECT_TRUE(HasText(page, labels[r], Anchor::Left, 74, label_baselines[r], WeekLabel));
    }
}

TEST(MonthCalendar, AllTwelveMonthsOfA53WeekYear) {
    const auto pages = RenderPages(Selection(CalendarStyle::Month, 2023), 12);
    ASSERT_EQ(pages.size(), 12u);
    const std::array<const char*, 12> titles = {"January 2023*", "February 2023", "March 2023",
                                                "April 2023*",   "May 2023",      "June 2023",
                                                "July 2023*",    "August 2023",   "September 2023",
                                                "October 2023*", "November 2023", "December 2023*"};
    for (std::size_t i = 0; i < 12; ++i) {
        EXPECT_DOUBLE_EQ(pages[i].Width, 792) << i;
        EXPECT_TRUE(HasText(pages[i], titles[i], Anchor::Centre, 396, 36, {Bold, 20}));
        // Every page repeats the whole header.
        EXPECT_TRUE(
            HasText(pages[i], "STANDARD BROADCAST CALENDAR", Anchor::Centre, 396, 51, {Bold, 12}));
        // Five weeks: one more row rule.
        const bool five_weeks = std::string(titles[i]).back() == '*';
        EXPECT_EQ(pages[i].Strokes.size(), five_weeks ? 15u : 14u) << titles[i];
    }
    // January starts on Monday 26 December 2022 with week 1; December ends on
    // Sunday 31 December with week 53.
    EXPECT_TRUE(HasText(pages[0], "26", Anchor::Right, 162, 90, DateBold));
    EXPECT_TRUE(HasText(pages[0], "1", Anchor::Left, 74, 169, WeekLabel));
    EXPECT_TRUE(HasText(pages[11], "53", Anchor::Left, 74, 573, WeekLabel));
    EXPECT_TRUE(HasText(pages[11], "31", Anchor::Right, 717, 494, DateBold));
}

} // namespace
} // namespace kalvara
