#include "cli/PeriodTables.h"

#include "cli/WeekRows.h"
#include "engine/BroadcastYearTable.h"

#include <string_view>

namespace kalvara::cli {

namespace {

BroadcastYearTable BuiltYear(std::int32_t year) {
    BroadcastYearTable table;
    InitDaysInMonth(table);
    BuildBroadcastYear(year, table);
    return table;
}

// A run of broadcast months, first_month..last_month of the year, with the
// names its own columns and fields carry.
struct Period {
    std::int32_t FirstMonth = 0;
    std::int32_t LastMonth = 0;
    std::string_view FirstField; // "month_first" or "quarter_first"
    std::string_view LastField;
};

// The week rows of the period: text rows under their heading, CSV rows with
// the period's own columns after the week's, or a JSON array field "rows".
void WriteRows(OutputWriter& out, const BroadcastYearTable& table, const Period& period,
               OutputFormat format) {
    const std::string first = IsoDate(table.First(period.FirstMonth));
    const std::string last = IsoDate(table.Last(period.LastMonth));
    const std::int32_t weeks =
        (table.Last(period.LastMonth) - table.First(period.FirstMonth) + 1) / 7;
    if (format == OutputFormat::Text) {
        out.Write("\n");
        out.Write(WeekTextHeading);
    } else if (format == OutputFormat::Csv) {
        out.Format("{},{},{},weeks\n", WeekCsvColumns, period.FirstField, period.LastField);
    } else {
        out.Write(", \"rows\": [\n");
    }
    for (std::int32_t month = period.FirstMonth; month <= period.LastMonth; ++month) {
        for (DayNumber monday = table.First(month); monday < table.Last(month); monday += 7) {
            if (format == OutputFormat::Json) {
                out.Write("  ");
            }
            WriteWeekRow(out, MakeWeekRow(monday, month, table), format);
            if (format == OutputFormat::Csv) {
                out.Format(",{},{},{}", first, last, weeks);
            }
            const bool final_row = month == period.LastMonth && monday + 7 > table.Last(month);
            out.Write(format == OutputFormat::Json && !final_row ? ",\n" : "\n");
        }
    }
    if (format == OutputFormat::Json) {
        out.Write("]}\n");
    }
}

} // namespace

void WriteWeekLookup(OutputWriter& out, std::int32_t year, std::int32_t week, OutputFormat format) {
    const BroadcastYearTable table = BuiltYear(year);
    const DayNumber monday = table.First(1) + 7 * (week - 1);
    std::int32_t month = 1;
    while (month < 12 && monday > table.Last(month)) {
        ++month;
    }
    if (format == OutputFormat::Text) {
        out.Write(WeekTextHeading);
    } else if (format == OutputFormat::Csv) {
        out.Format("{}\n", WeekCsvColumns);
    }
    WriteWeekRow(out, MakeWeekRow(monday, month, table), format);
    out.Write("\n");
}

void WriteMonthLookup(OutputWriter& out, std::int32_t year, std::int32_t month,
                      OutputFormat format) {
    const BroadcastYearTable table = BuiltYear(year);
    const std::int32_t weeks = table.WeekCount(month);
    const std::int32_t quarter = (month + 2) / 3;
    const std::string first = IsoDate(table.First(month));
    const std::string last = IsoDate(table.Last(month));
    if (format == OutputFormat::Text) {
        out.Format("Broadcast month  {} {} ({} weeks{})\n", MonthName(month), year, weeks,
                   weeks == 5 ? ", *" : "");
        out.Format("Quarter          {}\n", quarter);
        out.Format("Month runs       {} to {}\n", first, last);
    } else if (format == OutputFormat::Json) {
        out.Format("{{\"year\": {}, \"month\": {}, \"name\": \"{}\", \"quarter\": {}, "
                   "\"month_first\": \"{}\", \"month_last\": \"{}\", \"weeks\": {}",
                   year, month, MonthName(month), quarter, first, last, weeks);
    }
    WriteRows(out, table, {month, month, "month_first", "month_last"}, format);
}

void WriteQuarterLookup(OutputWriter& out, std::int32_t year, std::int32_t quarter,
                        OutputFormat format) {
    const BroadcastYearTable table = BuiltYear(year);
    const std::int32_t first_month = 3 * quarter - 2;
    const std::int32_t last_month = 3 * quarter;
    const std::int32_t weeks = (table.Last(last_month) - table.First(first_month) + 1) / 7;
    const std::string first = IsoDate(table.First(first_month));
    const std::string last = IsoDate(table.Last(last_month));
    if (format == OutputFormat::Text) {
        out.Format("Broadcast quarter  {} of {} ({} weeks)\n", quarter, year, weeks);
        out.Format("Months             {}, {}, {}\n", MonthName(first_month),
                   MonthName(first_month + 1), MonthName(last_month));
        out.Format("Quarter runs       {} to {}\n", first, last);
    } else if (format == OutputFormat::Json) {
        out.Format("{{\"year\": {}, \"quarter\": {}, \"quarter_first\": \"{}\", "
                   "\"quarter_last\": \"{}\", \"weeks\": {}",
                   year, quarter, first, last, weeks);
    }
    WriteRows(out, table, {first_month, last_month, "quarter_first", "quarter_last"}, format);
}

} // namespace kalvara::cli
