// The Quarter page: three broadcast months on portrait Letter.

#include "PageExpect.h"
#include "render/MonthBlocks.h"

#include <array>
#include <gtest/gtest.h>

namespace kalvara {
namespace {

using namespace test;

constexpr std::array<double, 9> Positions = {0, 78, 150, 214, 278, 342, 406, 470, 534};
constexpr TextStyle DateRegular{Regular, 18};
constexpr TextStyle DateBold{Bold, 18};
constexpr TextStyle WeekLabel{BoldOblique, 13, true};

// The frame, header and title of one block whose top reference is top.
void ExpectBlock(const PdfPageReadback& page, const std::string& title, double top, int weeks) {
    EXPECT_TRUE(HasText(page, title, Anchor::Centre, 306, top, {Bold, 18}));
    EXPECT_TRUE(HasRule(page, 72, top + 4, 540, top + 4, 0.3)) << title;
    EXPECT_TRUE(HasText(page, "Wk#", Anchor::Left, 78, top + 17, {BoldOblique, 10, true}));
    const std::array<const char*, 8> days = {"", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    for (std::size_t c = 1; c <= 7; ++c) {
        EXPECT_TRUE(HasText(page, days[c], Anchor::Right, Positions[c + 1], top + 17, {Bold, 12}));
    }
    EXPECT_TRUE(HasRule(page, 77, top + 19, 535, top + 19, 0.1)) << title;
    const double bottom = top + 31 + 31 * weeks;
    EXPECT_TRUE(HasRule(page, 72, bottom, 540, bottom, 0.3)) << title;
    EXPECT_TRUE(HasRule(page, 72, top + 4, 72, bottom, 0.3)) << title;
    EXPECT_TRUE(HasRule(page, 540, top + 4, 540, bottom, 0.3)) << title;
}

void ExpectPageFrame(const PdfPageReadback& page) {
    EXPECT_DOUBLE_EQ(page.Width, 612);
    EXPECT_DOUBLE_EQ(page.Height, 792);
    EXPECT_TRUE(HasRule(page, 72, 26, 540, 26, 0.5));
    EXPECT_TRUE(HasRule(page, 72, 41, 540, 41, 0.5));
    EXPECT_TRUE(HasText(page, "S T A N D A R D  B R O A D C A S T  C A L E N D A R", Anchor::Centre,
                        306, 39, {Bold, 16}));
    EXPECT_TRUE(HasText(page, "* denotes 5-week month", Anchor::Left, 72, 748, {Regular, 9}));
    EXPECT_TRUE(HasText(page, CreditLine, Anchor::Right, 540, 748, {Regular, 9}));
}

TEST(QuarterCalendar, RunIntoTheNextYearWithQuarters) {
    BroadcastYearTable years;
    const auto pages =
        RenderPages(Selection(CalendarStyle::Quarter, 2025, 11, ShowQuarters), 1, &years);
    const auto& page = pages.at(0);
    ExpectPageFrame(page);
    ExpectBlock(page, "*November 2025*", 75, 5);
    ExpectBlock(page, "December 2025", 300, 4);
    ExpectBlock(page, "January 2026", 525, 4);

    // With quarters the labels move right to 122; "Wk#" stays at 78.
    EXPECT_TRUE(HasText(page, "44/4Q05", Anchor::Right, 122, 125, WeekLabel));
    // 27 October: an even month, bold.
    EXPECT_TRUE(HasText(page, "27", Anchor::Right, Positions[2], 125, DateBold));
    EXPECT_TRUE(HasText(page, "52/4Q13", Anchor::Right, 122, 300 + 19 + 124, WeekLabel));
    // January 2026 counts its weeks from its own year: 1/1Q01 on 29 December.
    EXPECT_TRUE(HasText(page, "1/1Q01", Anchor::Right, 122, 575, WeekLabel));
    EXPECT_TRUE(HasText(page, "29", Anchor::Right, Positions[2], 575, DateBold));
    EXPECT_TRUE(HasText(page, "4/1Q04", Anchor::Right, 122, 668, WeekLabel));
    // The run leaves the table built for the next year.
    EXPECT_EQ(years.Year, 2026);
}

TEST(QuarterCalendar, AllFourQuartersShareTheFirstPageGeometry) {
    const auto pages = RenderPages(Selection(CalendarStyle::Quarter, 2025), 4);
    ASSERT_EQ(pages.size(), 4u);
    const std::array<const char*, 4> first_blocks = {"January 2025", "April 2025", "July 2025",
                                                     "October 2025"};
    for (std::size_t i = 0; i < 4; ++i) {
        ExpectPageFrame(pages[i]);
        EXPECT_TRUE(HasText(pages[i], first_blocks[i], Anchor::Centre, 306, 75, {Bold, 18}));
    }
    // Block tops stay at 75, 300 and 525 whatever the week counts.
    ExpectBlock(pages[0], "January 2025", 75, 4);
    ExpectBlock(pages[0], "February 2025", 300, 4);
    ExpectBlock(pages[0], "*March 2025*", 525, 5);
    // The third block's frame ends at 711.
    EXPECT_TRUE(HasRule(pages[0], 72, 711, 540, 711, 0.3));

    // First week line of January: 30, 31 December bold, 1..5 January regular.
    EXPECT_TRUE(HasText(pages[0], "1", Anchor::Right, 94, 125, WeekLabel));
    EXPECT_TRUE(HasText(pages[0], "30", Anchor::Right, Positions[2], 125, DateBold));
    EXPECT_TRUE(HasText(pages[0], "31", Anchor::Right, Positions[3], 125, DateBold));
    for (std::size_t day = 1; day <= 5; ++day) {
        EXPECT_TRUE(HasText(pages[0], std::to_string(day), Anchor::Right, Positions[day + 3], 125,
                            DateRegular));
    }
    // Last week line of March, week 13 at 525 + 19 + 155.
    EXPECT_TRUE(HasText(pages[0], "13", Anchor::Right, 94, 699, WeekLabel));
    EXPECT_TRUE(HasText(pages[0], "30", Anchor::Right, Positions[8], 699, DateRegular));
    // The fourth page ends with December 2025, still in 2025.
    EXPECT_NE(pages[3].FindText("December 2025"), nullptr);
    EXPECT_TRUE(HasText(pages[3], "52", Anchor::Right, 94, 525 + 19 + 124, WeekLabel));
}

} // namespace
} // namespace kalvara
