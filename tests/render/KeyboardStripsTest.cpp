// The Keyboard strips page: nine identical twelve-month strips on landscape
// Legal, without title, footer or week numbers.

#include "PageExpect.h"
#include "RenderedCalendar.h"

#include <algorithm>
#include <array>
#include <gtest/gtest.h>
#include <tuple>

namespace kalvara {
namespace {

using namespace test;

constexpr TextStyle Label{Bold, 7};

CalendarSelection StripSelection(std::int32_t year, bool quarters = false) {
    CalendarSelection selection;
    selection.Style = CalendarStyle::KeyboardStrips;
    selection.StartYear = year;
    selection.Preferences = quarters ? ShowQuarters : 0;
    return selection;
}

double BlockX(int month) {
    return 29 + 79 * (month - 1);
}
double StripTop(int strip) {
    return 40 + 62 * (strip - 1);
}

// Text, x, baseline relative to the strip's top, font and size of every run
// in the strip, sorted, so that strips can be compared.
using RunKey = std::tuple<std::string, double, double, std::string, double>;
std::vector<RunKey> StripRuns(const PdfPageReadback& page, int strip) {
    std::vector<RunKey> runs;
    const double top = StripTop(strip);
    for (const auto& run : page.Texts) {
        if (run.Y >= top - 0.5 && run.Y < top + 61.5) {
            runs.emplace_back(run.Text, run.X, run.Y - top, run.Font, run.Size);
        }
    }
    std::sort(runs.begin(), runs.end());
    return runs;
}

TEST(KeyboardStrips, NineIdenticalStripsOfTheStartYear) {
    TempFolder folder;
    // The quarter preference must not bring in week numbers on this style.
    const auto rendered = RenderCalendar(StripSelection(2025, true), folder);
    ASSERT_TRUE(rendered.Result.Saved) << rendered.Result.Problem;
    ASSERT_EQ(rendered.Readback.Pages.size(), 1u);
    const auto& page = rendered.Readback.Pages[0];
    EXPECT_DOUBLE_EQ(page.Width, 1008);
    EXPECT_DOUBLE_EQ(page.Height, 612);

    // 2025: March, June, August and November have five weeks.
    const std::array<const char*, 13> labels = {
        "",     "January", "February",  "March*",  "April",     "May",     "June*",
        "July", "August*", "September", "October", "November*", "December"};
    for (int strip = 1; strip <= 9; ++strip) {
        const double top = StripTop(strip);
        for (int month = 1; month <= 12; ++month) {
            const double x = BlockX(month);
            SCOPED_TRACE("strip " + std::to_string(strip) + " month " + std::to_string(month));
            EXPECT_TRUE(HasText(page, labels[month], Anchor::Left, x, top, Label));
            EXPECT_TRUE(HasText(page, "2025", Anchor::Right, x + 70, top, Label));
            EXPECT_TRUE(HasText(page, "M", Anchor::Right, x + 10, top + 7, {Regular, 6}));
            EXPECT_TRUE(HasText(page, "W", Anchor::Right, x + 30, top + 7, {Regular, 6}));
            EXPECT_TRUE(HasText(page, "F", Anchor::Right, x + 50, top + 7, {Regular, 6}));
            EXPECT_TRUE(HasRule(page, x, top + 8, x + 70, top + 8, 0.1));
        }
    }
    for (int strip = 2; strip <= 9; ++strip) {
        EXPECT_EQ(StripRuns(page, strip), StripRuns(page, 1)) << "strip " << strip;
    }

    // The January block opens with Monday 30 December 2024 and still shows
    // 2025; December's dates are bold, January's regular.
    EXPECT_TRUE(HasText(page, "30", Anchor::Right, 39, 54, {Bold, 7}));
    EXPECT_TRUE(HasText(page, "31", Anchor::Right, 49, 54, {Bold, 7}));
    EXPECT_TRUE(HasText(page, "1", Anchor::Right, 59, 54, {Regular, 7}));
    EXPECT_TRUE(HasText(page, "5", Anchor::Right, 99, 54, {Regular, 7}));
    // In the lowest strip March's fifth week (24 to 30 March) stands at 578;
    // a four-week month stops a row higher.
    EXPECT_TRUE(HasText(page, "30", Anchor::Right, BlockX(3) + 70, 578, {Regular, 7}));
    EXPECT_TRUE(HasText(page, "27", Anchor::Right, BlockX(4) + 70, 571, {Bold, 7}));
    for (const auto* run : page.TextsOnBaseline(578)) {
        const bool five_week_block = Near(run->X, BlockX(3), 70) || Near(run->X, BlockX(6), 70) ||
                                     Near(run->X, BlockX(8), 70) || Near(run->X, BlockX(11), 70);
        EXPECT_TRUE(five_week_block) << Describe(*run);
    }

    // Nothing red, no week numbers, no footer.
    for (const auto& run : page.Texts) {
        EXPECT_TRUE(run.Colour.IsBlack()) << Describe(run);
    }
    EXPECT_EQ(page.FindText("Kalvara by Quennet/www.quennet.com"), nullptr);
    EXPECT_EQ(page.FindText("* denotes 5-week month"), nullptr);
}

} // namespace
} // namespace kalvara
