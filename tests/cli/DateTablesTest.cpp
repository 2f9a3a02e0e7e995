// kalvara-cli's months, weeks and date commands, run as a user runs them.

#include "CommandRunner.h"

#include <chrono>
#include <gtest/gtest.h>
#include <sstream>

namespace {

using kalvara::testing::RunCli;
using kalvara::testing::RunInProcess;

TEST(MonthsCommand, CsvOf2026) {
    const auto result = RunCli({"months", "2026", "--format", "csv"});
    EXPECT_EQ(result.exit_status, 0);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out, "year,month,name,first,last,weeks,month_first,month_last,quarter\n"
                          "2026,1,January,2025-12-29,2026-01-25,4,2025-12-29,2026-01-25,1\n"
                          "2026,2,February,2026-01-26,2026-02-22,4,2026-01-26,2026-02-22,1\n"
                          "2026,3,March,2026-02-23,2026-03-29,5,2026-02-23,2026-03-29,1\n"
                          "2026,4,April,2026-03-30,2026-04-26,4,2026-03-30,2026-04-26,2\n"
                          "2026,5,May,2026-04-27,2026-05-31,5,2026-04-27,2026-05-31,2\n"
                          "2026,6,June,2026-06-01,2026-06-28,4,2026-06-01,2026-06-28,2\n"
                          "2026,7,July,2026-06-29,2026-07-26,4,2026-06-29,2026-07-26,3\n"
                          "2026,8,August,2026-07-27,2026-08-30,5,2026-07-27,2026-08-30,3\n"
                          "2026,9,September,2026-08-31,2026-09-27,4,2026-08-31,2026-09-27,3\n"
                          "2026,10,October,2026-09-28,2026-10-25,4,2026-09-28,2026-10-25,4\n"
                          "2026,11,November,2026-10-26,2026-11-29,5,2026-10-26,2026-11-29,4\n"
                          "2026,12,December,2026-11-30,2026-12-27,4,2026-11-30,2026-12-27,4\n");
}

TEST(MonthsCommand, TextOfA53WeekYear) {
    const auto result = RunCli({"months", "2017"});
    EXPECT_EQ(result.exit_status, 0);
    EXPECT_EQ(result.out, "Broadcast year 2017\n"
                          "Month      First       Last        Weeks\n"
                          "January    2016-12-26  2017-01-29  5 *\n"
                          "February   2017-01-30  2017-02-26  4\n"
                          "March      2017-02-27  2017-03-26  4\n"
                          "April      2017-03-27  2017-04-30  5 *\n"
                          "May        2017-05-01  2017-05-28  4\n"
                          "June       2017-05-29  2017-06-25  4\n"
                          "July       2017-06-26  2017-07-30  5 *\n"
                          "August     2017-07-31  2017-08-27  4\n"
                          "September  2017-08-28  2017-09-24  4\n"
                          "October    2017-09-25  2017-10-29  5 *\n"
                          "November   2017-10-30  2017-11-26  4\n"
                          "December   2017-11-27  2017-12-31  5 *\n"
                          "\n"
                          "* 5-week month\n");
}

TEST(MonthsCommand, JsonRangeIsOneArray) {
    const auto result = RunCli({"months", "2025", "2026", "--format=json"});
    EXPECT_EQ(result.exit_status, 0);
    EXPECT_EQ(result.out.substr(0, 2), "[\n");
    EXPECT_EQ(result.out.substr(result.out.size() - 4), "}\n]\n");
    EXPECT_NE(
        result.out.find("{\"year\": 2025, \"month\": 1, \"name\": \"January\", \"first\": "
                        "\"2024-12-30\", \"last\": \"2025-01-26\", \"weeks\": 4, \"month_first\": "
                        "\"2024-12-30\", \"month_last\": \"2025-01-26\", \"quarter\": 1},"),
        std::string::npos);
    // 24 objects, 23 of them followed by a comma.
    std::size_t commas = 0;
    for (std::size_t at = result.out.find("},"); at != std::string::npos;
         at = result.out.find("},", at + 1)) {
        ++commas;
    }
    EXPECT_EQ(commas, 23u);
}

TEST(WeeksCommand, JsonAndTextOfA53WeekYear) {
    auto result = RunCli({"weeks", "2017", "--format", "json"});
    EXPECT_EQ(result.exit_status, 0);
    EXPECT_NE(result.out.find("  {\"year\": 2017, \"week\": 53, \"monday\": \"2017-12-25\", "
                              "\"sunday\": \"2017-12-31\", \"month\": 12, \"quarter_label\": "
                              "\"4Q14\", \"week_key\": \"201753\", \"quarter\": 4}\n]\n"),
              std::string::npos);
    result = RunCli({"weeks", "2017"});
    EXPECT_NE(result.out.find("  53  2017-12-25  2017-12-31  December   4Q14     201753\n"),
              std::string::npos);
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
    result = RunCli({"date", "12/30/2025"});
    EXPECT_EQ(result.exit_status, 0);
    EXPECT_EQ(result.out, "Date            2025-12-30\n"
                          "Broadcast year  2026\n"
                          "Month           1 January (4 weeks)\n"
                          "Week            1 (1Q01)\n"
                          "Week key        202601\n"
                          "Week runs       2025-12-29 to 2026-01-04\n"
                          "Month runs      2025-12-29 to 2026-01-25\n");

    result = RunCli({"date"});
    EXPECT_EQ(result.exit_status, 0);
    EXPECT_NE(result.out.find("Broadcast year"), std::string::npos);
}

TEST(Cli, RefusesBadInputWithOneLineAndStatus2) {
    const std::vector<std::vector<std::string>> bad = {
        {"months", "1919"},
        {"months", "10000"},
        {"months", "2026x"},
        {"months", ""},
        {"months"},
        {"months", "2020", "2021", "2022"},
        {"weeks", "2026", "2025"},
        {"weeks", "-5"},
        {"weeks", "2026", "--format", "xml"},
        {"weeks", "2026", "--format"},
        {"weeks", "2026", "--verbose"},
        {"date", "2026-02-30"},
        {"date", "13/01/2026"},
        {"date", "yesterday"},
        {"date", "2026-01-01", "--format", "xml"},
        {"date", "1919-12-28"}, // broadcast December 1919
        {"date", "9999-12-31"}, // broadcast year 10000
        {"fly"},
        {"--bogus", "months", "2026"},
        {"--home"},
        {"--home=", "months", "2026"},
        // Weeks that do not exist and keys that are not keys.
        {"week", "202653"},
        {"week", "2026-W53"},
        {"week", "202600"},
        {"week", "202854"},
        {"week", "191953"},
        {"week", "2026W14"},
        {"week", "2026-14"},
        {"week", "2026-W1"},
        {"week", "+20261"},
        {"week"},
        {"month", "2026", "0"},
        {"month", "2026", "13"},
        {"month", "2026"},
        {"month", "1919", "1"},
        {"month", "2026", "4", "5"},
        {"quarter", "2026", "5"},
        {"quarter", "2026", "-1"},
        {"quarter", "2026", "1", "--format", "xml"},
        {"ics"},
        {"ics", "1919"},
        {"ics", "2026", "2025"},
        {"ics", "2026", "2027", "2028"},
        {"ics", "2026", "--weeks", "--months"},
        {"ics", "2026", "--days"},
        {"ics", "2026", "-o", ""},
    };
    for (const auto& args : bad) {
        std::string joined;
        for (const auto& arg : args) {
            joined += arg + ' ';
        }
        const auto result = RunCli(args);
        EXPECT_EQ(result.exit_status, 2) << joined;
        EXPECT_EQ(result.out, "") << joined;
        ASSERT_FALSE(result.err.empty()) << joined;
        EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << joined << ": " << result.err;
    }
}

TEST(Cli, HelpAndVersion) {
    auto result = RunCli({"--version"});
    EXPECT_EQ(result.exit_status, 0);
    EXPECT_EQ(result.out, "5.3.0.0\n");
    result = RunCli({"--help"});
    EXPECT_EQ(result.exit_status, 0);
    EXPECT_NE(result.out.find("Usage: kalvara-cli"), std::string::npos);
    for (const std::string command :
         {"months", "weeks", "week", "month", "quarter", "date", "generate", "ics"}) {
        result = RunInProcess({command, "--help"});
        EXPECT_EQ(result.exit_status, 0) << command;
        EXPECT_NE(result.out.find("Usage: kalvara-cli " + command), std::string::npos)
            << result.out;
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

// Every week of 1920..2300 as a script reads it, checked against <chrono> and
// the rules in plain words.
TEST(WeeksCommand, EveryWeekFrom1920To2300IsRight) {
    using namespace std::chrono;
    const auto result = RunCli({"weeks", "1920", "2300", "--format", "csv"});
    ASSERT_EQ(result.exit_status, 0);
    std::istringstream lines(result.out);
    std::string line;
    std::getline(lines, line);
    ASSERT_EQ(line, "year,week,monday,sunday,month,quarter_label,week_key,quarter");

    const auto parse = [](const std::string& iso) {
        return sys_days{year_month_day{year{std::stoi(iso.substr(0, 4))},
                                       month{static_cast<unsigned>(std::stoi(iso.substr(5, 2)))},
                                       day{static_cast<unsigned>(std::stoi(iso.substr(8, 2)))}}};
    };
    const auto iso = [](sys_days date) {
        const year_month_day ymd{date};
        char text[16];
        std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(ymd.year()),
                      static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()));
        return std::string(text);
    };
    // Monday on or before 1 January: week 1 of the broadcast year.
    const auto year_start = [](int y) {
        sys_days date = year_month_day{year{y}, January, day{1}};
        while (weekday{date} != Monday) {
            date -= days{1};
        }
        return date;
    };
    const auto month_start = [&](int y, unsigned m) {
        if (m == 1) {
            return year_start(y);
        }
        sys_days date = year_month_day_last{year{y}, month_day_last{month{m - 1}}};
        while (weekday{date} != Sunday) {
            date -= days{1};
        }
        return date + days{1};
    };

    sys_days expected_monday = year_start(1920);
    std::size_t rows = 0;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string y, w, monday, sunday, m, label, key, quarter_text;
        std::getline(fields, y, ',');
        std::getline(fields, w, ',');
        std::getline(fields, monday, ',');
        std::getline(fields, sunday, ',');
        std::getline(fields, m, ',');
        std::getline(fields, label, ',');
        std::getline(fields, key, ',');
        std::getline(fields, quarter_text);
        ASSERT_EQ(monday, iso(expected_monday)) << line;
        ASSERT_EQ(sunday, iso(expected_monday + days{6})) << line;
        // The week belongs to the month and year of its Sunday.
        const year_month_day sunday_date{expected_monday + days{6}};
        ASSERT_EQ(std::stoi(y), static_cast<int>(sunday_date.year())) << line;
        ASSERT_EQ(std::stoi(m), static_cast<int>(static_cast<unsigned>(sunday_date.month())))
            << line;
        const int broadcast_year = std::stoi(y);
        ASSERT_EQ(std::stoi(w), (expected_monday - year_start(broadcast_year)).count() / 7 + 1)
            << line;
        const unsigned month_number = static_cast<unsigned>(std::stoi(m));
        const unsigned quarter = (month_number + 2) / 3;
        const auto quarter_week =
            (expected_monday - month_start(broadcast_year, 3 * quarter - 2)).count() / 7 + 1;
        char expected_label[16];
        std::snprintf(expected_label, sizeof expected_label, "%uQ%02d", quarter,
                      static_cast<int>(quarter_week));
        ASSERT_EQ(label, expected_label) << line;
        ASSERT_EQ(std::stoi(quarter_text), static_cast<int>(quarter)) << line;
        ASSERT_EQ(key, y + (w.size() == 1 ? "0" : "") + w) << line;
        ASSERT_EQ(parse(monday), expected_monday);
        expected_monday += days{7};
        ++rows;
    }
    // Through the last Sunday of December 2300, week after week without a gap.
    sys_days end = year_month_day_last{year{2300}, month_day_last{December}};
    while (weekday{end} != Sunday) {
        end -= days{1};
    }
    EXPECT_EQ(expected_monday, end + days{1});
    EXPECT_EQ(rows, static_cast<std::size_t>((end + days{1} - year_start(1920)).count() / 7));
}

} // namespace
