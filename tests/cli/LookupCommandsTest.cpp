// The commands that look dates up: months, weeks, week, month, quarter and
// date, held against the rules in plain words and the engine's tables.

#include "CommandRunner.h"
#include "engine/CalendarNames.h"

#include <chrono>
#include <fmt/format.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using kalvara::testing::Lines;
using kalvara::testing::RunCli;
using kalvara::testing::Split;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

std::vector<std::string> Csv(std::vector<std::string> words) {
    words.insert(words.end(), {"--format", "csv"});
    return Lines(RunCli(words).out);
}

// The rows' values are checked with the CSV; here the text and JSON around
// them. `week` prints a week as `weeks` prints it.
TEST(Tables, TextAndJsonLayouts) {
    const auto months = RunCli({"months", "2017"}).out;
    EXPECT_TRUE(months.starts_with("Broadcast year 2017\nMonth      First       Last        Weeks\n"
                                   "January    2016-12-26  2017-01-29  5 *\n"));
    EXPECT_THAT(months, HasSubstr("\nSeptember  2017-08-28  2017-09-24  4\n"));
    EXPECT_TRUE(months.ends_with("2017-12-31  5 *\n\n* 5-week month\n"));
    const auto week = RunCli({"week", "201753"}).out;
    EXPECT_EQ(week, "Week  Monday      Sunday      Month      Quarter  Key\n"
                    "  53  2017-12-25  2017-12-31  December   4Q14     201753\n");
    EXPECT_TRUE(RunCli({"weeks", "2017"}).out.ends_with(Lines(week)[1] + "\n"));

    const auto months_json = RunCli({"months", "2025", "2026", "--format=json"}).out;
    EXPECT_TRUE(months_json.starts_with(
        "[\n  {\"year\": 2025, \"month\": 1, \"name\": \"January\", \"first\": \"2024-12-30\", "
        "\"last\": \"2025-01-26\", \"weeks\": 4, \"month_first\": \"2024-12-30\", "
        "\"month_last\": \"2025-01-26\", \"quarter\": 1},\n"));
    const auto week_json = RunCli({"week", "201753", "--format", "json"}).out;
    EXPECT_EQ(week_json, "{\"year\": 2017, \"week\": 53, \"monday\": \"2017-12-25\", \"sunday\": "
                         "\"2017-12-31\", \"month\": 12, \"quarter_label\": \"4Q14\", "
                         "\"week_key\": \"201753\", \"quarter\": 4}\n");
    EXPECT_TRUE(
        RunCli({"weeks", "2017", "--format", "json"}).out.ends_with("  " + week_json + "]\n"));
    EXPECT_TRUE(
        RunCli({"quarter", "2026", "1", "--format", "json"})
            .out.starts_with("{\"year\": 2026, \"quarter\": 1, \"quarter_first\": "
                             "\"2025-12-29\", \"quarter_last\": \"2026-03-29\", "
                             "\"weeks\": 13, \"rows\": [\n  {\"year\": 2026, \"week\": 1,"));
}

// Every week of 1920..2300 as a script reads it, against the rules in plain
// words worked out with <chrono>: a week belongs to the month and year of its
// Sunday, and months end on their last Sunday.
TEST(WeeksCommand, EveryWeekFrom1920To2300IsRight) {
    using namespace std::chrono;
    const auto on_or_before = [](sys_days date, weekday wanted) {
        return date - (weekday{date} - wanted);
    };
    const auto month_start = [&](year y, unsigned m) {
        return m == 1 ? on_or_before(y / January / 1, Monday)
                      : on_or_before(y / month{m - 1} / last, Sunday) + days{1};
    };
    const auto iso = [](year_month_day d) {
        return fmt::format("{:04}-{:02}-{:02}", int(d.year()), unsigned(d.month()),
                           unsigned(d.day()));
    };
    const auto lines = Lines(RunCli({"weeks", "1920", "2300", "--format", "csv"}).out);
    ASSERT_EQ(lines.at(0), "year,week,monday,sunday,month,quarter_label,week_key,quarter");

    const sys_days end = on_or_before(year{2300} / December / last, Sunday) + days{1};
    sys_days monday = month_start(year{1920}, 1);
    std::size_t row = 1;
    for (; monday < end && row < lines.size(); monday += days{7}, ++row) {
        const year_month_day sunday{monday + days{6}};
        const int y = int(sunday.year());
        const unsigned m = unsigned(sunday.month()), quarter = (m + 2) / 3;
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

// A month's or quarter's rows are the weeks rows of its months, checked above,
// with its first Monday, last Sunday and week count added; months agrees.
// `week` finds the first and last rows by the key's other form (2028 has 53).
TEST(WeekMonthAndQuarterCommands, AreRowsOfWeeks) {
    for (const std::string year : {"1920", "2018", "2024", "2028", "9999"}) {
        SCOPED_TRACE(year);
        const auto weeks = Csv({"weeks", year}), months = Csv({"months", year});
        const std::string last = std::to_string(weeks.size() - 1);
        EXPECT_THAT(Csv({"week", year + "-W01"}), ElementsAre(weeks[0], weeks[1]));
        EXPECT_THAT(Csv({"week", year + "-w" + last}), ElementsAre(weeks[0], weeks.back()));
        ASSERT_EQ(months.size(), 13u);
        EXPECT_EQ(months[0], "year,month,name,first,last,weeks,month_first,month_last,quarter");
        // Months first..last: their week rows, and the bounds they print.
        const auto expect_period = [&](const std::string& command, int number, int first,
                                       int last) {
            std::vector<std::string> rows;
            for (std::size_t i = 1; i < weeks.size(); ++i) {
                const int month = std::stoi(Split(weeks[i], ',').at(4));
                if (month >= first && month <= last) {
                    rows.push_back(weeks[i]);
                }
            }
            const std::string first_last =
                Split(rows.at(0), ',').at(2) + "," + Split(rows.back(), ',').at(3);
            const auto lines = Csv({command, year, std::to_string(number)});
            EXPECT_EQ(lines.at(0), weeks[0] + "," + command + "_first," + command + "_last,weeks");
            EXPECT_EQ(lines.size(), rows.size() + 1) << command << number;
            for (std::size_t i = 1; i < lines.size() && i <= rows.size(); ++i) {
                EXPECT_EQ(lines[i],
                          rows[i - 1] + "," + first_last + "," + std::to_string(rows.size()));
            }
            return fmt::format("{},{},{}", first_last, rows.size(), first_last);
        };
        for (int month = 1; month <= 12; ++month) {
            if (month % 3 == 1) {
                expect_period("quarter", (month + 2) / 3, month, month + 2);
            }
            EXPECT_EQ(months[month],
                      fmt::format("{},{},{},{},{}", year, month, kalvara::MonthName(month),
                                  expect_period("month", month, month, month), (month + 2) / 3));
        }
    }
}

// Each date in order, from the arguments and from standard input; each invalid
// one gets its own line on stderr, and the status says something was refused.
TEST(DateCommand, AnswersEveryDateOfABatch) {
    const auto answer = [](const char* date) { return Csv({"date", date}).at(1); };
    const auto result = RunCli({"date", "12/29/2025", "-", "--format", "csv"},
                               {.input = "2025-12-28\n2026-02-30\n\n2017-12-31\r\nnope\n"});
    EXPECT_EQ(result.exit_status, 2);
    EXPECT_THAT(Lines(result.out),
                ElementsAre("date,year,month,name,week,week_key,quarter,quarter_label,monday,"
                            "sunday,month_first,month_last,weeks",
                            "2025-12-29,2026,1,January,1,202601,1,1Q01,2025-12-29,2026-01-04,"
                            "2025-12-29,2026-01-25,4",
                            answer("2025-12-28"), answer("2017-12-31")));
    EXPECT_THAT(Lines(result.err), ElementsAre(HasSubstr("'2026-02-30'"), HasSubstr("'nope'")));

    // JSON is one object a line, with the older names beside the new ones.
    const std::string object =
        "{\"date\": \"2017-12-31\", \"broadcast_year\": 2017, \"month\": 12, \"name\": "
        "\"December\", \"week\": 53, \"quarter_label\": \"4Q14\", \"monday\": \"2017-12-25\", "
        "\"sunday\": \"2017-12-31\", \"month_first\": \"2017-11-27\", \"month_last\": "
        "\"2017-12-31\", \"month_weeks\": 5, \"year\": 2017, \"week_key\": \"201753\", "
        "\"quarter\": 4, \"weeks\": 5}\n";
    EXPECT_EQ(RunCli({"date", "2017-12-31", "2017-12-31", "--format", "json"}).out,
              object + object);
    // Text reports are one blank line apart; no date is today.
    EXPECT_THAT(
        RunCli({"date", "2025-12-30", "2026-01-02"}).out,
        HasSubstr("Date            2025-12-30\nBroadcast year  2026\n"
                  "Month           1 January (4 weeks)\nWeek            1 (1Q01)\n"
                  "Week key        202601\nWeek runs       2025-12-29 to 2026-01-04\n"
                  "Month runs      2025-12-29 to 2026-01-25\n\nDate            2026-01-02\n"));
    EXPECT_THAT(RunCli({"date"}).out, HasSubstr("Broadcast year"));
}

} // namespace
