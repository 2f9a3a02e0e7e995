// The Keyboard strips page: nine identical twelve-month strips on landscape
// Legal, without title, footer or week numbers.

#include "PageExpect.h"

#include <algorithm>
#include <array>
#include <gtest/gtest.h>
#include <tuple>

namespace kalvara {
namespace {

using namespace test;

constexpr TextStyle Label{Bold, 7};

double BlockX(int month) {
    return 29 + 79 * (month - 1);
}
double StripTop(int strip) {
    return 40 + 62 * (strip - 1);
}

// Every run and rule of a strip relative to its top, sorted, so that strips
// can be compared.
using Mark = std::tuple<std::string, double, double, std::string, double>;
std::vector<Mark> StripMarks(const PdfPageReadback& page, int strip) {
    std::vector<Mark> marks;
    const double top = StripTop(strip);
    const auto inside = [top](double y) { return y >= top - 0.5 && y < top + 61.5; };
    for (const auto& run : page.Texts) {
        if (inside(run.Y)) {
            marks.emplace_back(run.Text, run.X, run.Y - top, run.Font, run.Size);
        }
    }
    for (const auto& stroke : page.Strokes) {
        if (stroke.IsHorizontal() && inside(stroke.Points[0].Y)) {
            marks.emplace_back("rule", stroke.Points[0].X, stroke.Points[0].Y - top, "",
                               stroke.Points[1].X - stroke.Points[0].X);
        }
    }
    std::sort(marks.begin(), marks.end());
    return marks;
}

TEST(KeyboardStrips, NineIdenticalStripsOfTheStartYear) {
    // The quarter preference must not bring in week numbers on this style.
    const auto pages =
        RenderPages(Selection(CalendarStyle::KeyboardStrips, 2025, AllPeriods, ShowQuarters), 1);
    const auto& page = pages.at(0);
    EXPECT_DOUBLE_EQ(page.Width, 1008);
    EXPECT_DOUBLE_EQ(page.Height, 612);

    // 2025: March, June, August and November have five weeks, starred after
    // the name only.
    const std::array<const char*, 13> labels = {
        "",     "January", "February",  "March*",  "April",     "May",     "June*",
        "July", "August*", "September", "October", "November*", "December"};
    for (int month = 1; month <= 12; ++month) {
        const double x = BlockX(month);
        SCOPED_TRACE(labels[month]);
        EXPECT_TRUE(HasText(page, labels[month], Anchor::Left, x, 40, Label));
        EXPECT_TRUE(HasText(page, "2025", Anchor::Right, x + 70, 40, Label));
        EXPECT_TRUE(HasText(page, "M", Anchor::Right, x + 10, 47, {Regular, 6}));
        EXPECT_TRUE(HasText(page, "F", Anchor::Right, x + 50, 47, {Regular, 6}));
        EXPECT_TRUE(HasRule(page, x, 48, x + 70, 48, 0.1));
    }
    ASSERT_FALSE(StripMarks(page, 1).empty());
    for (int strip = 2; strip <= 9; ++strip) {
        EXPECT_EQ(StripMarks(page, strip), StripMarks(page, 1)) << "strip " << strip;
    }

    // The January block opens with Monday 30 December 2024 and still shows
    // 2025; December's dates are bold, January's regular.
    EXPECT_TRUE(HasText(page, "30", Anchor::Right, 39, 54, {Bold, 7}));
    EXPECT_TRUE(HasText(page, "1", Anchor::Right, 59, 54, {Regular, 7}));
    // In the lowest strip March's fifth week (24 to 30 March) stands at 578;
    // a four-week month stops a row higher.
    EXPECT_TRUE(HasText(page, "30", Anchor::Right, BlockX(3) + 70, 578, {Regular, 7}));
    EXPECT_TRUE(HasText(page, "27", Anchor::Right, BlockX(4) + 70, 571, {Bold, 7}));
    EXPECT_EQ(page.CountOnBaseline(578), 4u * 7u);

    // Nothing red, no week numbers, no footer.
    for (const auto& run : page.Texts) {
        EXPECT_TRUE(run.Colour.IsBlack()) << Describe(run);
    }
    EXPECT_EQ(page.Texts.size(), 9u * (12u * 9u + 52u * 7u));
}

} // namespace
} // namespace kalvara
