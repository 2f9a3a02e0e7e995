// week, month, quarter and batch date, checked against the engine's tables.

#include "CommandRunner.h"
#include "engine/BroadcastYearTable.h"
#include "engine/CalendarNames.h"

#include <fmt/format.h>
#include <gtest/gtest.h>

namespace {

using kalvara::testing::Lines;
using kalvara::testing::RunInProcess;

std::string Iso(kalvara::DayNumber day) {
    std::int32_t m = 0, d = 0, y = 0;
    kalvara::JulianToMDY(day, m, d, y);
    return fmt::format("{:04}-{:02}-{:02}", y, m, d);
}

std::vector<std::string> Csv(const std::vector<std::string>& args) {
    auto words = args;
    words.insert(words.end(), {"--format", "csv"});
    return Lines(RunInProcess(words).out);
}

TEST(WeekCommand, KeysAtTheEndsOfTheYear) {
    // Week 1 of 2026 starts in December 2025; 2028 has a week 53.
    const std::vector<std::pair<std::string, std::string>> weeks = {
        {"202601", "2026,1,2025-12-29,2026-01-04,1,1Q01,202601,1"},
        {"2026-W01", "2026,1,2025-12-29,2026-01-04,1,1Q01,202601,1"},
        {"2026-w14", "2026,14,2026-03-30,2026-04-05,4,2Q01,202614,2"},
        {"202652", "2026,52,2026-12-21,2026-12-27,12,4Q13,202652,4"},
        {"202853", "2028,53,2028-12-25,2028-12-31,12,4Q14,202853,4"},
        {"192001", "1920,1,1919-12-29,1920-01-04,1,1Q01,192001,1"}};
    for (const auto& [key, row] : weeks) {
        EXPECT_EQ(Csv({"week", key}),
                  (std::vector<std::string>{
                      "year,week,monday,sunday,month,quarter_label,week_key,quarter", row}));
    }
    // The same row as `weeks` prints it, in text and JSON.
    const auto text = Lines(RunInProcess({"week", "202853"}).out);
    ASSERT_EQ(text.size(), 2u);
    EXPECT_EQ(text[1], Lines(RunInProcess({"weeks", "2028"}).out).back());
    const auto json = RunInProcess({"week", "202853", "--format", "json"}).out;
    EXPECT_NE(RunInProcess({"weeks", "2028", "--format", "json"}).out.find("  " + json),
              std::string::npos);
}

// A month's or quarter's rows are the weeks rows of its months with its
// bounds added; months agrees with the same bounds.
TEST(MonthAndQuarterCommands, MatchTheEngineAndTheWeekRows) {
    for (const int year : {1920, 2017, 2018, 2024, 2026, 2028, 9999}) {
        SCOPED_TRACE(year);
        kalvara::BroadcastYearTable table;
        kalvara::BuildBroadcastYear(year, table);
        const std::string y = std::to_string(year);
        const auto weeks = Csv({"weeks", y});
        const auto months = Csv({"months", y});
        ASSERT_EQ(months.size(), 13u);
        EXPECT_EQ(months[0], "year,month,name,first,last,weeks,month_first,month_last,quarter");
        // The rows of months first..last, from week_row on.
        const auto expect_period = [&](const std::string& command, int number, int first, int last,
                                       std::size_t week_row) {
            const int period_weeks = (table.Last(last) - table.First(first) + 1) / 7;
            const std::string bounds = fmt::format("{},{},{}", Iso(table.First(first)),
                                                   Iso(table.Last(last)), period_weeks);
            const auto lines = Csv({command, y, std::to_string(number)});
            EXPECT_EQ(lines.size(), period_weeks + 1u) << command << number;
            EXPECT_EQ(lines.at(0), weeks[0] + "," + command + "_first," + command + "_last,weeks");
            for (std::size_t i = 1; i < lines.size(); ++i) {
                EXPECT_EQ(lines[i], weeks.at(week_row++) + "," + bounds);
            }
            return bounds;
        };
        std::size_t week_row = 1;
        for (int month = 1; month <= 12; ++month) {
            const std::string bounds = expect_period("month", month, month, month, week_row);
            EXPECT_EQ(months[month],
                      fmt::format("{},{},{},{},{},{},{}", year, month, kalvara::MonthName(month),
                                  bounds, Iso(table.First(month)), Iso(table.Last(month)),
                                  (month + 2) / 3));
            if (month % 3 == 1) {
                expect_period("quarter", (month + 2) / 3, month, month + 2, week_row);
            }
            week_row += static_cast<std::size_t>(table.WeekCount(month));
        }
        EXPECT_EQ(week_row, weeks.size());
    }
    const auto quarter = Lines(RunInProcess({"quarter", "2026", "1", "--format", "json"}).out);
    ASSERT_EQ(quarter.size(), 13u + 2u);
    EXPECT_EQ(quarter[0], "{\"year\": 2026, \"quarter\": 1, \"quarter_first\": \"2025-12-29\", "
                          "\"quarter_last\": \"2026-03-29\", \"weeks\": 13, \"rows\": [");
    EXPECT_EQ(quarter[1],
              "  " + Lines(RunInProcess({"week", "202601", "--format", "json"}).out)[0] + ",");
    EXPECT_EQ(quarter.back(), "]}");
}

// Valid dates are answered in order; each invalid one gets its own line on
// stderr, and the status says something was refused.
TEST(DateCommand, AnswersEveryDateOfABatch) {
    const auto single = [](const char* date) { return Csv({"date", date}).at(1); };
    EXPECT_EQ(single("12/29/2025"), "2025-12-29,2026,1,January,1,202601,1,1Q01,2025-12-29,"
                                    "2026-01-04,2025-12-29,2026-01-25,4");
    auto result = RunInProcess({"date", "-", "--format", "csv"},
                               "2025-12-28\n12/29/2025\r\n\n2026-02-30\n2028-12-31\nnope\n");
    EXPECT_EQ(result.exit_status, 2);
    EXPECT_EQ(Lines(result.out),
              (std::vector<std::string>{Csv({"date", "2025-12-28"}).at(0), single("2025-12-28"),
                                        single("2025-12-29"), single("2028-12-31")}));
    EXPECT_EQ(result.err, "kalvara-cli: date: '2026-02-30' is not a date (use 2026-01-01 or "
                          "01/01/2026)\nkalvara-cli: date: 'nope' is not a date (use 2026-01-01 "
                          "or 01/01/2026)\n");

    // Arguments and standard input mixed, JSON one object a line.
    result =
        RunInProcess({"date", "2026-01-01", "-", "2017-12-31", "--format", "json"}, "2024-02-29\n");
    EXPECT_EQ(result.exit_status, 0) << result.err;
    const auto objects = Lines(result.out);
    ASSERT_EQ(objects.size(), 3u);
    EXPECT_EQ(objects[0].rfind("{\"date\": \"2026-01-01\"", 0), 0u);
    EXPECT_EQ(objects[1].rfind("{\"date\": \"2024-02-29\"", 0), 0u);
    EXPECT_EQ(objects[2].rfind("{\"date\": \"2017-12-31\"", 0), 0u);

    // Text reports are separated by one blank line.
    EXPECT_NE(RunInProcess({"date", "2026-01-01", "2026-01-02"})
                  .out.find("2026-01-25\n\nDate            2026-01-02\n"),
              std::string::npos);
}

} // namespace
