#include "engine/DateText.h"

#include "core/DateNotice.h"
#include "core/Notice.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// Collects the notices shown while it lives.
class NoticeRecorder {
public:
    std::vector<std::string> notices;

private:
    kalvara::ScopedNoticeHook hook_{
        [this](const std::string& title, const std::string& text1, const std::string&) {
            notices.push_back(title + "|" + text1);
        }};
};

TEST(NumericValue, ReadsTheLeadingNumber) {
    EXPECT_EQ(kalvara::NumericValue("1"), 1.0);
    EXPECT_EQ(kalvara::NumericValue("  1998  "), 1998.0);
    EXPECT_EQ(kalvara::NumericValue("-1"), -1.0);
    EXPECT_EQ(kalvara::NumericValue("12abc"), 12.0);
    EXPECT_EQ(kalvara::NumericValue("2.5x"), 2.5);
    EXPECT_EQ(kalvara::NumericValue("yes"), 0.0);
    EXPECT_EQ(kalvara::NumericValue(""), 0.0);
    EXPECT_EQ(kalvara::NumericValue("-"), 0.0);
    EXPECT_EQ(kalvara::NumericValue("."), 0.0);
}

TEST(NumericValue, RoundsHalvesToEvenAndSaturates) {
    EXPECT_EQ(kalvara::IntegerValue("2.5"), 2);
    EXPECT_EQ(kalvara::IntegerValue("3.5"), 4);
    EXPECT_EQ(kalvara::IntegerValue("-0.5"), 0);
    EXPECT_EQ(kalvara::IntegerValue("99999999999999999999"), 2147483647);
    EXPECT_EQ(kalvara::IntegerValue("-99999999999999999999"), -2147483647 - 1);
}

TEST(Date2JulianDate, OrdersAgree) {
    NoticeRecorder recorder;
    std::string mdy = "MDY";
    std::string ymd = "YMD";
    const auto expected = kalvara::JulianDate(12, 31, 2025);
    EXPECT_EQ(kalvara::Date2JulianDate("12/31/2025", mdy), expected);
    EXPECT_EQ(kalvara::Date2JulianDate("2025-12-31", ymd), expected);
    EXPECT_EQ(kalvara::Date2JulianDate("2025/12/31", ymd), expected);
    EXPECT_TRUE(recorder.notices.empty());
}

TEST(Date2JulianDate, EmptyTextIsTodayInMonthDayYearOrder) {
    NoticeRecorder recorder;
    std::string order = "YMD";
    const auto today = kalvara::Date2JulianDate("", order);
    EXPECT_EQ(order, "MDY");
    std::string mdy = "MDY";
    EXPECT_EQ(today, kalvara::Date2JulianDate(kalvara::TodayText(), mdy));
    EXPECT_GT(today, kalvara::JulianDate(1, 1, 2020));
}

TEST(Date2JulianDate, FieldsHaveNoRangeLimits) {
    std::string order = "MDY";
    EXPECT_EQ(kalvara::Date2JulianDate("02-30-2026", order), kalvara::JulianDate(3, 2, 2026));
}

TEST(Date2JulianDate, InvalidTextShowsOneNoticeAndGivesZero) {
    const std::vector<std::string> invalid = {
        "00-10-2025", "10-00-2025", "10-10",           "garbage",
        "-",          "10-10-0",    "99999999999-1-1", "1-1-99999999999999999999"};
    for (const std::string& text : invalid) {
        NoticeRecorder recorder;
        std::string order = "MDY";
        EXPECT_EQ(kalvara::Date2JulianDate(text, order), 0) << text;
        ASSERT_EQ(recorder.notices.size(), 1u) << text;
        EXPECT_EQ(recorder.notices[0],
                  "Invalid Date|Date values in Date2JulianDate are invalid.{f6}");
    }
}

} // namespace
