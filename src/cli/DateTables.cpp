#include "cli/DateTables.h"

#include "cli/WeekRows.h"
#include "engine/BroadcastYearTable.h"

namespace kalvara::cli {

namespace {

// The CSV header or the opening bracket of the JSON array.
void BeginTable(OutputWriter& out, OutputFormat format, std::string_view csv_header) {
    if (format == OutputFormat::Csv) {
        out.Write(csv_header);
    } else if (format == OutputFormat::Json) {
        out.Write("[\n");
    }
}

// The heading of one year in the text table, after a blank line between years.
void BeginYear(OutputWriter& out, OutputFormat format, std::int32_t year, bool first_year,
               std::string_view column_heads) {
    if (format == OutputFormat::Text) {
        out.Format("{}Broadcast year {}\n", first_year ? "" : "\n", year);
        out.Write(column_heads);
    }
}

std::string_view FiveWeekMark(std::int32_t weeks) {
    return weeks == 5 ? " *" : "";
}

} // namespace

void WriteMonthsTable(OutputWriter& out, std::int32_t first_year, std::int32_t last_year,
                      OutputFormat format) {
    BroadcastYearTable table;
    InitDaysInMonth(table);
    BeginTable(out, format, "year,month,name,first,last,weeks,month_first,month_last,quarter\n");
    for (std::int32_t year = first_year; year <= last_year; ++year) {
        BuildBroadcastYear(year, table);
        BeginYear(out, format, year, year == first_year,
                  "Month      First       Last        Weeks\n");
        for (std::int32_t month = 1; month <= 12; ++month) {
            const std::string first = IsoDate(table.First(month));
            const std::string last = IsoDate(table.Last(month));
            const std::int32_t weeks = table.WeekCount(month);
            const std::int32_t quarter = (month + 2) / 3;
            const std::string_view name = MonthName(month);
            switch (format) {
            case OutputFormat::Text:
                out.Format("{:<10} {}  {}  {}{}\n", name, first, last, weeks, FiveWeekMark(weeks));
                break;
            case OutputFormat::Csv:
                out.Format("{},{},{},{},{},{},{},{},{}\n", year, month, name, first, last, weeks,
                           first, last, quarter);
                break;
            case OutputFormat::Json:
                out.Format("  {{\"year\": {}, \"month\": {}, \"name\": \"{}\", \"first\": \"{}\", "
                           "\"last\": \"{}\", \"weeks\": {}, \"month_first\": \"{}\", "
                           "\"month_last\": \"{}\", \"quarter\": {}}}{}\n",
                           year, month, name, first, last, weeks, first, last, quarter,
                           (year == last_year && month == 12) ? "" : ",");
                break;
            }
        }
    }
    if (format == OutputFormat::Text) {
        out.Write("\n* 5-week month\n");
    } else if (format == OutputFormat::Json) {
        out.Write("]\n");
    }
}

void WriteWeeksTable(OutputWriter& out, std::int32_t first_year, std::int32_t last_year,
                     OutputFormat format) {
    BroadcastYearTable table;
    InitDaysInMonth(table);
    if (format == OutputFormat::Csv) {
        out.Format("{}\n", WeekCsvColumns);
    } else if (format == OutputFormat::Json) {
        out.Write("[\n");
    }
    for (std::int32_t year = first_year; year <= last_year; ++year) {
        BuildBroadcastYear(year, table);
        BeginYear(out, format, year, year == first_year, WeekTextHeading);
        for (std::int32_t month = 1; month <= 12; ++month) {
            for (DayNumber monday = table.First(month); monday < table.Last(month); monday += 7) {
                if (format == OutputFormat::Json) {
                    out.Write("  ");
                }
                WriteWeekRow(out, MakeWeekRow(monday, month, table), format);
                const bool final_row =
                    year == last_year && month == 12 && monday + 7 > table.Last(12);
                out.Write(format == OutputFormat::Json && !final_row ? ",\n" : "\n");
            }
        }
    }
    if (format == OutputFormat::Json) {
        out.Write("]\n");
    }
}

} // namespace kalvara::cli
