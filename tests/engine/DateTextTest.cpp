#include "engine/DateText.h"

#include "core/DateNotice.h"
#include "core/Notice.h"

#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace {

TEST(NumericValue, ReadsTheLeadingNumberAndRoundsHalvesToEven) {
    // clang-format off
    const struct {
        const char* text;
        double value;
        std::int32_t integer;
    } cases[] = {
        {"  1998  ", 1998, 1998}, {"-1", -1, -1}, {"12abc", 12, 12}, {"2.5x", 2.5, 2},
        {"3.5", 3.5, 4}, {"-0.5", -0.5, 0}, {"yes", 0, 0}, {"", 0, 0}, {"-", 0, 0}, {".", 0, 0},
        {"99999999999999999999", 1e20, 2147483647},
        {"-99999999999999999999", -1e20, -2147483647 - 1}};
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_DOUBLE_EQ(kalvara::NumericValue(c.text), c.value);
        EXPECT_EQ(kalvara::IntegerValue(c.text), c.integer);
    }
}

// No range limits on the fields (30 February is 2 March); text that is no date
// gives 0 and one notice; no text is today, in month-day-year order.
TEST(Date2JulianDate, ReadsDatesAndTellsOnceAboutInvalidOnes) {
    std::vector<std::string> notices;
    const kalvara::ScopedNoticeHook hook(
        [&](auto& title, auto& text, auto&) { notices.push_back(title + "|" + text); });
    const auto read = [](const std::string& text, std::string order) {
        return kalvara::Date2JulianDate(text, order);
    };
    for (const auto& [text, order] :
         {std::pair{"12/31/2025", "MDY"}, {"2025-12-31", "YMD"}, {"2025/12/31", "YMD"}}) {
        EXPECT_EQ(read(text, order), kalvara::JulianDate(12, 31, 2025)) << text;
    }
    EXPECT_EQ(read("02-30-2026", "MDY"), kalvara::JulianDate(3, 2, 2026));
    EXPECT_TRUE(notices.empty());
    const std::vector<std::string> once{
        "Invalid Date|Date values in Date2JulianDate are invalid.{f6}"};
    for (const std::string text : {"00-10-2025", "10-00-2025", "10-10", "garbage", "-", "10-10-0",
                                   "99999999999-1-1", "1-1-99999999999999999999"}) {
        EXPECT_EQ(read(text, "MDY"), 0) << text;
        EXPECT_EQ(std::exchange(notices, {}), once) << text;
    }
    std::string order = "YMD";
    const auto today = kalvara::Date2JulianDate("", order);
    EXPECT_EQ(order, "MDY");
    EXPECT_EQ(today, read(kalvara::TodayText(), order));
    EXPECT_GT(today, kalvara::JulianDate(1, 1, 2020));
}

} // namespace
