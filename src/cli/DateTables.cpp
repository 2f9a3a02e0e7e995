#include "cli/DateTables.h"

#include "engine/BroadcastYearTable.h"

#include <array>
#include <charconv>
#include <cstdio>

namespace kalvara::cli {

namespace {

constexpr std::array<const char*, 13> MonthNames = {
    "",     "January", "February",  "March",   "April",    "May",     "June",
    "July", "August",  "September", "October", "November", "December"};

constexpr std::int32_t FirstYear = 1920;
constexpr std::int32_t LastYear = 9999;

std::optional<std::int32_t> ParseDigits(std::string_view text, std::size_t min_digits,
                                        std::size_t max_digits) {
    if (text.size() < min_digits || text.size() > max_digits) {
        return std::nullopt;
    }
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::optional<DayNumber> MakeDate(std::optional<std::int32_t> year,
                                  std::optional<std::int32_t> month,
                                  std::optional<std::int32_t> day) {
    if (!year || !month || !day || *year < 1 || *month < 1 || *month > 12 || *day < 1) {
        return std::nullopt;
    }
    const DayNumber number = JulianDate(*month, *day, *year);
    std::int32_t m = 0;
    std::int32_t d = 0;
    std::int32_t y = 0;
    JulianToMDY(number, m, d, y);
    if (m != *month || d != *day || y != *year) {
        return std::nullopt; // 30 February and the like
    }
    return number;
}

void Append(std::string& out, const char* format, auto... values) {
    char line[256];
    const int length = std::snprintf(line, sizeof line, format, values...);
    out.append(line, static_cast<std::size_t>(length));
}

// The CSV header or the opening bracket of the JSON array.
void BeginTable(std::string& out, OutputFormat format, const char* csv_header) {
    if (format == OutputFormat::Csv) {
        out += csv_header;
    } else if (format == OutputFormat::Json) {
        out += "[\n";
    }
}

// The heading of one year in the text table, after a blank line between years.
void BeginYear(std::string& out, OutputFormat format, std::int32_t year, bool first_year,
               const char* column_heads) {
    if (format == OutputFormat::Text) {
        Append(out, "%sBroadcast year %d\n", first_year ? "" : "\n", year);
        out += column_heads;
    }
}

const char* FiveWeekMark(std::int32_t weeks) {
    return weeks == 5 ? " *" : "";
}

} // namespace

std::optional<OutputFormat> ParseOutputFormat(std::string_view text) {
    if (text == "text") {
        return OutputFormat::Text;
    }
    if (text == "csv") {
        return OutputFormat::Csv;
    }
    if (text == "json") {
        return OutputFormat::Json;
    }
    return std::nullopt;
}

std::optional<std::int32_t> ParseYear(std::string_view text) {
    const auto year = ParseDigits(text, 1, 4);
    if (!year || *year < FirstYear || *year > LastYear) {
        return std::nullopt;
    }
    return year;
}

std::optional<DayNumber> ParseDate(std::string_view text) {
    if (text.size() == 10 && text[4] == '-' && text[7] == '-') {
        return MakeDate(ParseDigits(text.substr(0, 4), 4, 4), ParseDigits(text.substr(5, 2), 2, 2),
                        ParseDigits(text.substr(8, 2), 2, 2));
    }
    const auto first_slash = text.find('/');
    const auto second_slash = text.find('/', first_slash + 1);
    if (first_slash == std::string_view::npos || second_slash == std::string_view::npos) {
        return std::nullopt;
    }
    return MakeDate(
        ParseDigits(text.substr(second_slash + 1), 4, 4),
        ParseDigits(text.substr(0, first_slash), 1, 2),
        ParseDigits(text.substr(first_slash + 1, second_slash - first_slash - 1), 1, 2));
}

std::string IsoDate(DayNumber day) {
    std::int32_t m = 0;
    std::int32_t d = 0;
    std::int32_t y = 0;
    JulianToMDY(day, m, d, y);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", y, m, d);
    return text;
}

std::string MonthsTable(std::int32_t first_year, std::int32_t last_year, OutputFormat format) {
    std::string out;
    BroadcastYearTable table;
    InitDaysInMonth(table);
    BeginTable(out, format, "year,month,name,first,last,weeks\n");
    for (std::int32_t year = first_year; year <= last_year; ++year) {
        BuildBroadcastYear(year, table);
        BeginYear(out, format, year, year == first_year,
                  "Month      First       Last        Weeks\n");
        for (std::int32_t month = 1; month <= 12; ++month) {
            const std::string first = IsoDate(table.First(month));
            const std::string last = IsoDate(table.Last(month));
            const std::int32_t weeks = table.WeekCount(month);
            switch (format) {
            case OutputFormat::Text:
                Append(out, "%-10s %s  %s  %d%s\n", MonthNames[month], first.c_str(), last.c_str(),
                       weeks, FiveWeekMark(weeks));
                break;
            case OutputFormat::Csv:
                Append(out, "%d,%d,%s,%s,%s,%d\n", year, month, MonthNames[month], first.c_str(),
                       last.c_str(), weeks);
                break;
            case OutputFormat::Json:
                Append(out,
                       "  {\"year\": %d, \"month\": %d, \"name\": \"%s\", \"first\": \"%s\", "
                       "\"last\": \"%s\", \"weeks\": %d}%s\n",
                       year, month, MonthNames[month], first.c_str(), last.c_str(), weeks,
                       (year == last_year && month == 12) ? "" : ",");
                break;
            }
        }
    }
    if (format == OutputFormat::Text) {
        out += "\n* 5-week month\n";
    } else if (format == OutputFormat::Json) {
        out += "]\n";
    }
    return out;
}

std::string WeeksTable(std::int32_t first_year, std::int32_t last_year, OutputFormat format) {
    std::string out;
    out.reserve(static_cast<std::size_t>(last_year - first_year + 1) * 53 * 40);
    BroadcastYearTable table;
    InitDaysInMonth(table);
    BeginTable(out, format, "year,week,monday,sunday,month,quarter_label\n");
    for (std::int32_t year = first_year; year <= last_year; ++year) {
        BuildBroadcastYear(year, table);
        BeginYear(out, format, year, year == first_year,
                  "Week  Monday      Sunday      Month      Quarter\n");
        for (std::int32_t month = 1; month <= 12; ++month) {
            for (DayNumber monday = table.First(month); monday < table.Last(month); monday += 7) {
                const std::int32_t week = BroadcastWeekNumber(monday, table);
                const std::string label = QuarterWeekLabel(month, monday, table);
                const std::string first = IsoDate(monday);
                const std::string last = IsoDate(monday + 6);
                const bool final_row =
                    year == last_year && month == 12 && monday + 7 > table.Last(12);
                switch (format) {
                case OutputFormat::Text:
                    Append(out, "%4d  %s  %s  %-9s  %s\n", week, first.c_str(), last.c_str(),
                           MonthNames[month], label.c_str());
                    break;
                case OutputFormat::Csv:
                    Append(out, "%d,%d,%s,%s,%d,%s\n", year, week, first.c_str(), last.c_str(),
                           month, label.c_str());
                    break;
                case OutputFormat::Json:
                    Append(out,
                           "  {\"year\": %d, \"week\": %d, \"monday\": \"%s\", \"sunday\": \"%s\", "
                           "\"month\": %d, \"quarter_label\": \"%s\"}%s\n",
                           year, week, first.c_str(), last.c_str(), month, label.c_str(),
                           final_row ? "" : ",");
                    break;
                }
            }
        }
    }
    if (format == OutputFormat::Json) {
        out += "]\n";
    }
    return out;
}

std::string DateReport(DayNumber day, OutputFormat format) {
    std::int32_t year = 0;
    const std::int32_t month = BroadcastMonthOf(day, year);
    BroadcastYearTable table;
    InitDaysInMonth(table);
    BuildBroadcastYear(year, table);
    const DayNumber monday = WeekdayOnOrBefore(day, Monday);
    const std::int32_t week = BroadcastWeekNumber(monday, table);
    const std::string label = QuarterWeekLabel(month, monday, table);
    const std::string date = IsoDate(day);
    const std::string week_first = IsoDate(monday);
    const std::string week_last = IsoDate(monday + 6);
    const std::string month_first = IsoDate(table.First(month));
    const std::string month_last = IsoDate(table.Last(month));
    const std::int32_t weeks = table.WeekCount(month);

    std::string out;
    if (format == OutputFormat::Json) {
        Append(out, "{\"date\": \"%s\", \"broadcast_year\": %d, \"month\": %d, ", date.c_str(),
               year, month);
        Append(out, "\"name\": \"%s\", \"week\": %d, \"quarter_label\": \"%s\", ",
               MonthNames[month], week, label.c_str());
        Append(out, "\"monday\": \"%s\", \"sunday\": \"%s\", ", week_first.c_str(),
               week_last.c_str());
        Append(out, "\"month_first\": \"%s\", \"month_last\": \"%s\", \"month_weeks\": %d}\n",
               month_first.c_str(), month_last.c_str(), weeks);
        return out;
    }
    Append(out, "Date            %s\n", date.c_str());
    Append(out, "Broadcast year  %d\n", year);
    Append(out, "Month           %d %s (%d weeks%s)\n", month, MonthNames[month], weeks,
           weeks == 5 ? ", *" : "");
    Append(out, "Week            %d (%s)\n", week, label.c_str());
    Append(out, "Week runs       %s to %s\n", week_first.c_str(), week_last.c_str());
    Append(out, "Month runs      %s to %s\n", month_first.c_str(), month_last.c_str());
    return out;
}

} // namespace kalvara::cli
