#include "cli/WeekRows.h"

#include "cli/RowText.h"

namespace kalvara::cli {

WeekRow MakeWeekRow(DayNumber monday, std::int32_t month, const BroadcastYearTable& table) {
    WeekRow row;
    row.Year = table.Year;
    row.Week = BroadcastWeekNumber(monday, table);
    row.Month = month;
    row.Quarter = (month + 2) / 3;
    row.Monday = monday;
    // QuarterWeekLabel's text, built without its general formatting: this
    // runs for every row of the longest tables.
    const std::int32_t quarter_week = (monday - table.First(3 * row.Quarter - 2)) / 7 + 1;
    row.QuarterLabel = {static_cast<char>('0' + row.Quarter), 'Q',
                        static_cast<char>('0' + quarter_week / 10),
                        static_cast<char>('0' + quarter_week % 10)};
    return row;
}

std::int32_t WeeksInYear(const BroadcastYearTable& table) {
    return (table.Last(12) - table.First(1) + 1) / 7;
}

void WriteWeekRow(OutputWriter& out, const WeekRow& row, OutputFormat format) {
    RowText text;
    switch (format) {
    case OutputFormat::Text:
        text.Padded(row.Week, 4).Text("  ").WeekDates(row.Monday, "  ");
        text.Text("  ").LeftAligned(MonthName(row.Month), 9).Text("  ");
        text.LeftAligned(row.QuarterLabel, 7).Text("  ").ZeroPadded(row.Year, 4);
        text.ZeroPadded(row.Week, 2);
        break;
    case OutputFormat::Csv:
        text.Number(row.Year).Text(",").Number(row.Week).Text(",").WeekDates(row.Monday, ",");
        text.Text(",").Number(row.Month).Text(",").Text(row.QuarterLabel);
        text.Text(",").ZeroPadded(row.Year, 4).ZeroPadded(row.Week, 2).Text(",");
        text.Number(row.Quarter);
        break;
    case OutputFormat::Json:
        text.Text("{\"year\": ").Number(row.Year).Text(", \"week\": ").Number(row.Week);
        text.Text(", \"monday\": \"").WeekDates(row.Monday, "\", \"sunday\": \"");
        text.Text("\", \"month\": ").Number(row.Month);
        text.Text(", \"quarter_label\": \"").Text(row.QuarterLabel).Text("\", \"week_key\": \"");
        text.ZeroPadded(row.Year, 4).ZeroPadded(row.Week, 2).Text("\", \"quarter\": ");
        text.Number(row.Quarter).Text("}");
        break;
    }
    out.Write(text.View());
}

} // namespace kalvara::cli
