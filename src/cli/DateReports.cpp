#include "cli/DateReports.h"

#include "cli/WeekRows.h"
#include "engine/BroadcastYearTable.h"

namespace kalvara::cli {

namespace {

struct DateFacts {
    std::int32_t Year = 0;
    std::int32_t Month = 0;
    std::int32_t Weeks = 0;
    std::string Date;
    std::string MonthFirst;
    std::string MonthLast;
    WeekRow Week;
};

DateFacts FactsOf(DayNumber day) {
    DateFacts facts;
    facts.Month = BroadcastMonthOf(day, facts.Year);
    BroadcastYearTable table;
    InitDaysInMonth(table);
    BuildBroadcastYear(facts.Year, table);
    facts.Weeks = table.WeekCount(facts.Month);
    facts.Date = IsoDate(day);
    facts.MonthFirst = IsoDate(table.First(facts.Month));
    facts.MonthLast = IsoDate(table.Last(facts.Month));
    facts.Week = MakeWeekRow(WeekdayOnOrBefore(day, Monday), facts.Month, table);
    return facts;
}

void WriteDateText(OutputWriter& out, const DateFacts& facts) {
    const WeekRow& week = facts.Week;
    out.Format("Date            {}\n", facts.Date);
    out.Format("Broadcast year  {}\n", facts.Year);
    out.Format("Month           {} {} ({} weeks{})\n", facts.Month, MonthName(facts.Month),
               facts.Weeks, facts.Weeks == 5 ? ", *" : "");
    out.Format("Week            {} ({})\n", week.Week, week.QuarterLabel);
    out.Format("Week key        {}\n", WeekKeyText(week.Year, week.Week));
    out.Format("Week runs       {} to {}\n", IsoDate(week.Monday), IsoDate(week.Monday + 6));
    out.Format("Month runs      {} to {}\n", facts.MonthFirst, facts.MonthLast);
}

void WriteDateCsv(OutputWriter& out, const DateFacts& facts) {
    const WeekRow& week = facts.Week;
    out.Format("{},{},{},{},{},{},{},{},{},{},{},{},{}\n", facts.Date, facts.Year, facts.Month,
               MonthName(facts.Month), week.Week, WeekKeyText(week.Year, week.Week), week.Quarter,
               week.QuarterLabel, IsoDate(week.Monday), IsoDate(week.Monday + 6), facts.MonthFirst,
               facts.MonthLast, facts.Weeks);
}

// "broadcast_year" and "month_weeks" were the first names of "year" and
// "weeks"; scripts read them, so both stay.
void WriteDateJson(OutputWriter& out, const DateFacts& facts) {
    const WeekRow& week = facts.Week;
    out.Format("{{\"date\": \"{}\", \"broadcast_year\": {}, \"month\": {}, \"name\": \"{}\", ",
               facts.Date, facts.Year, facts.Month, MonthName(facts.Month));
    out.Format("\"week\": {}, \"quarter_label\": \"{}\", \"monday\": \"{}\", \"sunday\": \"{}\", ",
               week.Week, week.QuarterLabel, IsoDate(week.Monday), IsoDate(week.Monday + 6));
    out.Format("\"month_first\": \"{}\", \"month_last\": \"{}\", \"month_weeks\": {}, ",
               facts.MonthFirst, facts.MonthLast, facts.Weeks);
    out.Format("\"year\": {}, \"week_key\": \"{}\", \"quarter\": {}, \"weeks\": {}}}\n", facts.Year,
               WeekKeyText(week.Year, week.Week), week.Quarter, facts.Weeks);
}

} // namespace

void DateReports::Write(DayNumber day) {
    const DateFacts facts = FactsOf(day);
    switch (format_) {
    case OutputFormat::Text:
        if (!first_) {
            out_.Write("\n");
        }
        WriteDateText(out_, facts);
        break;
    case OutputFormat::Csv:
        if (first_) {
            out_.Write("date,year,month,name,week,week_key,quarter,quarter_label,monday,sunday,"
                       "month_first,month_last,weeks\n");
        }
        WriteDateCsv(out_, facts);
        break;
    case OutputFormat::Json:
        WriteDateJson(out_, facts);
        break;
    }
    first_ = false;
}

} // namespace kalvara::cli
