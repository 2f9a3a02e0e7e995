// week, month, quarter and batch date, checked against the engine's tables.

#include "CommandRunner.h"
#include "engine/BroadcastYearTable.h"

#include <gtest/gtest.h>
#include <sstream>

namespace {

using kalvara::testing::RunInProcess;

kalvara::BroadcastYearTable Year(int year) {
    kalvara::BroadcastYearTable table;
    kalvara::InitDaysInMonth(table);
    kalvara::BuildBroadcastYear(year, table);
    return table;
}

std::string Iso(kalvara::DayNumber day) {
    std::int32_t m = 0, d = 0, y = 0;
    kalvara::JulianToMDY(day, m, d, y);
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", y, m, d);
    return text;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

// The CSV rows of `weeks YEAR` whose month column is in [first, last].
std::vector<std::string> WeekRowsOf(int year, int first_month, int last_month) {
    std::vector<std::string> rows;
    const auto lines = Lines(RunInProcess({"weeks", std::to_string(year), "--format=csv"}).out);
    for (std::size_t i = 1; i < lines.size(); ++i) {
        std::istringstream fields(lines[i]);
        std::string field;
        for (int column = 0; column < 5; ++column) {
            std::getline(fields, field, ',');
        }
        const int month = std::stoi(field);
        if (month >= first_month && month <= last_month) {
            rows.push_back(lines[i]);
        }
    }
    return rows;
}

TEST(WeekCommand, KeysAtTheEndsOfTheYear) {
    // Week 1 of 2026 starts in December 2025; 2028 has a week 53.
    const std::vector<std::pair<std::string, std::string>> weeks = {
        {"202601", "2026,1,2025-12-29,2026-01-04,1,1Q01,202601,1"},
        {"2026-W01", "2026,1,2025-12-29,2026-01-04,1,1Q01,202601,1"},
        {"2026-w14", "2026,14,2026-03-30,2026-04-05,4,2Q01,202614,2"},
        {"202652", "2026,52,2026-12-21,2026-12-27,12,4Q13,202652,4"},
        {"202853", "2028,53,2028-12-25,2028-12-31,12,4Q14,202853,4"},
        {"192001", "1920,1,1919-12-29,1920-01-04,1,1Q01,192001,1"},
    };
    for (const auto& [key, row] : weeks) {
        const auto result = RunInProcess({"week", key, "--format", "csv"});
        EXPECT_EQ(result.exit_status, 0) << key << result.err;
        EXPECT_EQ(result.out,
                  "year,week,monday,sunday,month,quarter_label,week_key,quarter\n" + row + "\n")
            << key;
    }
    // The same row as `weeks` prints it, in text and JSON.
    const auto text = Lines(RunInProcess({"week", "202853"}).out);
    const auto table = Lines(RunInProcess({"weeks", "2028"}).out);
    ASSERT_EQ(text.size(), 2u);
    EXPECT_EQ(text[1], table.back());
    const auto json = RunInProcess({"week", "202853", "--format", "json"}).out;
    EXPECT_NE(RunInProcess({"weeks", "2028", "--format", "json"}).out.find("  " + json),
              std::string::npos);
}

TEST(MonthAndQuarterCommands, MatchTheEngineAndTheWeekRows) {
    for (const int year : {1920, 2017, 2018, 2024, 2026, 2028, 9999}) {
        const auto table = Year(year);
        for (int month = 1; month <= 12; ++month) {
            const auto lines = Lines(RunInProcess({"month", std::to_string(year),
                                                   std::to_string(month), "--format", "csv"})
                                         .out);
            ASSERT_FALSE(lines.empty());
            EXPECT_EQ(lines[0], "year,week,monday,sunday,month,quarter_label,week_key,quarter,"
                                "month_first,month_last,weeks");
            const std::string tail = "," + Iso(table.First(month)) + "," + Iso(table.Last(month)) +
                                     "," + std::to_string(table.WeekCount(month));
            const auto rows = WeekRowsOf(year, month, month);
            ASSERT_EQ(lines.size(), rows.size() + 1) << year << "-" << month;
            for (std::size_t i = 0; i < rows.size(); ++i) {
                EXPECT_EQ(lines[i + 1], rows[i] + tail);
            }
        }
        for (int quarter = 1; quarter <= 4; ++quarter) {
            const auto result = RunInProcess(
                {"quarter", std::to_string(year), std::to_string(quarter), "--format", "json"});
            const int first = 3 * quarter - 2;
            const int weeks = (table.Last(first + 2) - table.First(first) + 1) / 7;
            EXPECT_TRUE(weeks >= 12 && weeks <= 14);
            EXPECT_EQ(result.out.rfind("{\"year\": " + std::to_string(year) +
                                           ", \"quarter\": " + std::to_string(quarter) +
                                           ", \"quarter_first\": \"" + Iso(table.First(first)) +
                                           "\", \"quarter_last\": \"" + Iso(table.Last(first + 2)) +
                                           "\", \"weeks\": " + std::to_string(weeks) +
                                           ", \"rows\": [\n",
                                       0),
                      0u)
                << result.out;
            const auto rows = Lines(result.out);
            EXPECT_EQ(rows.size(), static_cast<std::size_t>(weeks) + 2);
            EXPECT_EQ(rows.back(), "]}");
        }
    }
}

// Valid dates are answered in order; each invalid one gets its own line on
// stderr, and the status says something was refused.
TEST(DateCommand, AnswersEveryDateOfABatch) {
    const auto single = [](const std::string& date) {
        return Lines(RunInProcess({"date", date, "--format", "csv"}).out).at(1);
    };
    auto result = RunInProcess({"date", "-", "--format", "csv"},
                               "2025-12-28\n12/29/2025\r\n\n2026-02-30\n2028-12-31\nnope\n");
    EXPECT_EQ(result.exit_status, 2);
    const auto lines = Lines(result.out);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].rfind("date,year,month,name,week,week_key,", 0), 0u);
    EXPECT_EQ(lines[1], single("2025-12-28"));
    EXPECT_EQ(lines[1].substr(0, 24), "2025-12-28,2025,12,Decem");
    EXPECT_EQ(lines[2], single("2025-12-29"));
    EXPECT_NE(lines[2].find(",202601,"), std::string::npos);
    EXPECT_NE(lines[3].find(",202853,"), std::string::npos);
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
    result = RunInProcess({"date", "2026-01-01", "2026-01-02"});
    EXPECT_NE(result.out.find("2026-01-25\n\nDate            2026-01-02\n"), std::string::npos);
}

} // namespace
