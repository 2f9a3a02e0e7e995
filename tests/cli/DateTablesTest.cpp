// kalvara-cli's months, weeks and date commands, and its command line as a
// whole, run as a user runs them.

#include "CommandRunner.h"

#include <chrono>
#include <fmt/format.h>
#include <gtest/gtest.h>

namespace {

using kalvara::testing::Lines;
using kalvara::testing::RunCli;
using kalvara::testing::RunInProcess;

// The rows' dates are checked against the engine with the CSV; here the layout.
TEST(MonthsCommand, TextMarksFiveWeekMonths) {
    const auto result = RunCli({"months", "2017"});
    EXPECT_EQ(result.exit_status, 0);
    EXPECT_EQ(result.err, "");
    const auto lines = Lines(result.out);
    ASSERT_EQ(lines.size(), 16u);
    EXPECT_EQ(lines[0], "Broadcast year 2017");
    EXPECT_EQ(lines[1], "Month      First       Last        Weeks");
    EXPECT_EQ(lines[2], "January    2016-12-26  2017-01-29  5 *");
    EXPECT_EQ(lines[10], "September  2017-08-28  2017-09-24  4");
    EXPECT_EQ(lines[14], "");
    EXPECT_EQ(lines[15], "* 5-week month");
}

TEST(MonthsCommand, JsonRangeIsOneArray) {
    const auto out = RunCli({"months", "2025", "2026", "--format=json"}).out;
    EXPECT_EQ(out.substr(0, 2), "[\n");
    EXPECT_EQ(out.substr(out.size() - 4), "}\n]\n");
    EXPECT_NE(out.find("{\"year\": 2025, \"month\": 1, \"name\": \"January\", \"first\": "
                       "\"2024-12-30\", \"last\": \"2025-01-26\", \"weeks\": 4, \"month_first\": "
                       "\"2024-12-30\", \"month_last\": \"2025-01-26\", \"quarter\": 1},"),
              std::string::npos);
    EXPECT_EQ(kalvara::testing::CountOf(out, "},"), 23u); // 24 objects
}

TEST(WeeksCommand, JsonAndTextOfA53WeekYear) {
    EXPECT_NE(RunCli({"weeks", "2017", "--format", "json"})
                  .out.find("  {\"year\": 2017, \"week\": 53, \"monday\": \"2017-12-25\", "
                            "\"sunday\": \"2017-12-31\", \"month\": 12, \"quarter_label\": "
                            "\"4Q14\", \"week_key\": \"201753\", \"quarter\": 4}\n]\n"),
              std::string::npos);
    EXPECT_NE(RunCli({"weeks", "2017"})
                  .out.find("  53  2017-12-25  2017-12-31  December   4Q14  "
                            "   201753\n"),
              std::string::npos);
}

// Every week of 1920..2300 as a script reads it, against the rules in plain
// words worked out with <chrono>: a week belongs to the month and year of its
// Sunday, and months end on their last Sunday.
TEST(WeeksCommand, EveryWeekFrom1920To2300IsRight) {
    using namespace std::chrono;
    const auto on_or_before = [](sys_days date, weekday wanted) {
        while (weekday{date} != wanted) {
            date -= days{1};
        }
        return date;
    };
    const auto month_start = [&](year y, unsigned m) {
        return m == 1 ? on_or_before(y / January / 1, Monday)
                      : on_or_before(y / month{m - 1} / last, Sunday) + days{1};
    };
    const auto iso = [](year_month_day d) {
        return fmt::format("{:04}-{:02}-{:02}", static_cast<int>(d.year()),
                           static_cast<unsigned>(d.month()), static_cast<unsigned>(d.day()));
    };
    const auto result = RunCli({"weeks", "1920", "2300", "--format", "csv"});
    ASSERT_EQ(result.exit_status, 0);
    const auto lines = Lines(result.out);
    ASSERT_EQ(lines.at(0), "year,week,monday,sunday,month,quarter_label,week_key,quarter");

    const sys_days end = on_or_before(year{2300} / December / last, Sunday) + days{1};
    sys_days monday = month_start(year{1920}, 1);
    std::size_t row = 1;
    for (; monday < end && row < lines.size(); monday += days{7}, ++row) {
        const year_month_day sunday{monday + days{6}};
        const int y = static_cast<int>(sunday.year());
        const unsigned m = static_cast<unsigned>(sunday.month()), quarter = (m + 2) / 3;
        const auto week = (monday - month_start(sunday.year(), 1)).count() / 7 + 1;
        const auto quarter_week =
            (monday - month_start(sunday.year(), 3 * quarter - 2)).count() / 7 + 1;
        ASSERT_EQ(lines[row],
                  fmt::format("{},{},{},{},{},{}Q{:02},{}{:02},{}", y, week, iso(monday),
                              iso(sunday), m, quarter, quarter_week, y, week, quarter));
    }
    // Week after week without a gap, through the last Sunday of December 2300.
    EXPECT_EQ(monday, end);
    EXPECT_EQ(row, lines.size());
}

TEST(DateCommand, ReportsWhereADateFalls) {
    auto result = RunCli({"date", "2017-12-31", "--format", "json"});
    EXPECT_EQ(result.exit_status, 0);
    EXPECT_EQ(
        result.out,
        "{\"date\": \"2017-12-31\", \"broadcast_year\": 2017, \"month\": 12, \"name\": "
        "\"December\", \"week\": 53, \"quarter_label\": \"4Q14\", \"monday\": \"2017-12-25\", "
        "\"sunday\": \"2017-12-31\", \"month_first\": \"2017-11-27\", \"month_last\": "
        "\"2017-12-31\", \"month_weeks\": 5, \"year\": 2017, \"week_key\": \"201753\", "
        "\"quarter\": 4, \"weeks\": 5}\n");

    // US order, and a day before 1 January that already belongs to the next year.
    EXPECT_EQ(RunCli({"date", "12/30/2025"}).out, "Date            2025-12-30\n"
                                                  "Broadcast year  2026\n"
                                                  "Month           1 January (4 weeks)\n"
                                                  "Week            1 (1Q01)\n"
                                                  "Week key        202601\n"
                                                  "Week runs       2025-12-29 to 2026-01-04\n"
                                                  "Month runs      2025-12-29 to 2026-01-25\n");
    // No date is today.
    EXPECT_NE(RunCli({"date"}).out.find("Broadcast year"), std::string::npos);
}

TEST(Cli, RefusesBadInputWithOneLineAndStatus2) {
    // Years out of range, reversed or surplus; formats and options that do not
    // exist; dates in broadcast December 1919 and broadcast year 10000; weeks
    // that do not exist and keys that are not keys.
    // clang-format off
    const std::vector<std::string> bad = {
        "months 1919", "months 10000", "months 2026x", "months ''", "months", "months 2020 2021 2022",
        "weeks 2026 2025", "weeks -5", "weeks 2026 --format xml", "weeks 2026 --format",
        "weeks 2026 --verbose", "fly", "--bogus months 2026", "--home", "--home= months 2026",
        "date 2026-02-30", "date 13/01/2026", "date yesterday", "date 2026-01-01 --format xml",
        "date 1919-12-28", "date 9999-12-31",
        "week 202653", "week 2026-W53", "week 202600", "week 202854", "week 191953",
        "week 2026W14", "week 2026-14", "week 2026-W1", "week +20261", "week",
        "month 2026 0", "month 2026 13", "month 2026", "month 1919 1", "month 2026 4 5",
        "quarter 2026 5", "quarter 2026 -1", "quarter 2026 1 --format xml",
        "ics", "ics 1919", "ics 2026 2025", "ics 2026 2027 2028", "ics 2026 --weeks --months",
        "ics 2026 --days", "ics 2026 -o ''"};
    // clang-format on
    for (const std::string& line : bad) {
        SCOPED_TRACE(line);
        const auto result = RunCli(kalvara::testing::Words(line));
        EXPECT_EQ(result.exit_status, 2);
        EXPECT_EQ(result.out, "");
        // One line: non-empty, and its only line break at the end.
        EXPECT_TRUE(!result.err.empty() && result.err.find('\n') == result.err.size() - 1)
            << result.err;
    }
}

TEST(Cli, HelpAndVersion) {
    auto result = RunCli({"--version"});
    EXPECT_EQ(result.exit_status, 0);
    EXPECT_EQ(result.out, "5.3.0.0\n");
    for (const std::string command :
         {"", "months ", "weeks ", "week ", "month ", "quarter ", "date ", "generate ", "ics "}) {
        result = RunInProcess(kalvara::testing::Words(command + "--help"));
        EXPECT_EQ(result.exit_status, 0) << command;
        EXPECT_NE(result.out.find("\nUsage: kalvara-cli " + command), std::string::npos);
    }
    // After "--" a word that looks like an option is an argument.
    result = RunInProcess({"date", "--format", "csv", "--", "--help"});
    EXPECT_EQ(result.exit_status, 2);
    EXPECT_EQ(result.err, "kalvara-cli: date: '--help' is not a date (use 2026-01-01 or "
                          "01/01/2026)\n");
    result = RunCli({});
    EXPECT_EQ(result.exit_status, 2);
    EXPECT_EQ(result.out, "");
}

} // namespace
