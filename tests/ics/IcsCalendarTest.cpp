// The broadcast calendar as iCalendar, parsed back with libical and Python's
// icalendar and checked against the engine's tables.

#include "ics/IcsCalendar.h"

#include "engine/BroadcastYearTable.h"
#include "engine/CalendarNames.h"
#include "support/TempFolder.h"

#include <cstdlib>
#include <fmt/core.h>
#include <fstream>
#include <gtest/gtest.h>
#include <libical/ical.h>
#include <map>
#include <memory>

namespace kalvara {
namespace {

// "UID SUMMARY" by first day and DTEND (the day after the last), a pair no two events share.
using Events = std::map<std::pair<DayNumber, DayNumber>, std::string>;

Events Parse(const std::string& text) {
    const std::unique_ptr<icalcomponent, void (*)(icalcomponent*)> calendar(
        icalparser_parse_string(text.c_str()), icalcomponent_free);
    EXPECT_TRUE(calendar) << "libical does not read the calendar";
    Events events;
    for (icalcomponent* e =
             calendar ? icalcomponent_get_first_component(calendar.get(), ICAL_VEVENT_COMPONENT)
                      : nullptr;
         e; e = icalcomponent_get_next_component(calendar.get(), ICAL_VEVENT_COMPONENT)) {
        const icaltimetype start = icalcomponent_get_dtstart(e), end = icalcomponent_get_dtend(e);
        icalproperty* transp = icalcomponent_get_first_property(e, ICAL_TRANSP_PROPERTY);
        const std::string uid = icalcomponent_get_uid(e);
        EXPECT_TRUE(start.is_date && end.is_date && transp &&
                    icalproperty_get_transp(transp) == ICAL_TRANSP_TRANSPARENT &&
                    icalcomponent_get_first_property(e, ICAL_DTSTAMP_PROPERTY))
            << uid;
        const std::pair days(JulianDate(start.month, start.day, start.year),
                             JulianDate(end.month, end.day, end.year));
        EXPECT_TRUE(events.emplace(days, uid + " " + icalcomponent_get_summary(e)).second) << uid;
    }
    return events;
}

// A week or month is known by its broadcast year and number, so that a
// re-import updates what an earlier one added instead of doubling it.
Events Expected(int first, int last, IcsContent content) {
    BroadcastYearTable table;
    InitDaysInMonth(table);
    Events events;
    for (int year = first; year <= last; ++year) {
        BuildBroadcastYear(year, table);
        for (int month = 1; month <= 12; ++month) {
            if (content != IcsContent::WeeksOnly) {
                events[{table.First(month), table.Last(month) + 1}] =
                    fmt::format("broadcast-month-{}{:02}@kalvara Broadcast {} {} \u00b7 {} weeks",
                                year, month, MonthName(month), year, table.WeekCount(month));
            }
            for (DayNumber monday = table.First(month);
                 content != IcsContent::MonthsOnly && monday < table.Last(month); monday += 7) {
                const int week = BroadcastWeekNumber(monday, table);
                events[{monday, monday + 7}] =
                    fmt::format("broadcast-week-{}{:02}@kalvara Broadcast week {} \u00b7 {}", year,
                                week, week, QuarterWeekLabel(month, monday, table));
            }
        }
    }
    return events;
}

// 2026's week 1 begins in December 2025; 2017 and 2023 have 53 weeks. Years
// outside 1920..9999, or reversed, are refused in one line.
TEST(IcsCalendar, EveryWeekAndMonthMatchesTheEngineAndOnlyValidRangesAreWritten) {
    // clang-format off
    for (const auto& [first, last, content, name] : std::vector<std::tuple<int, int, IcsContent, std::string>>{
             {2016, 2029, IcsContent::WeeksAndMonths, "Broadcast calendar 2016\u20132029"},
             {2026, 2026, IcsContent::WeeksOnly, "Broadcast calendar 2026"},
             {1920, 1920, IcsContent::MonthsOnly, "Broadcast calendar 1920"},
             // Past 3000, where libical's own date values give out.
             {2999, 3001, IcsContent::WeeksAndMonths, "Broadcast calendar 2999\u20133001"},
             {9999, 9999, IcsContent::WeeksOnly, "Broadcast calendar 9999"}}) {
        // clang-format on
        SCOPED_TRACE(name);
        const IcsResult ics = BroadcastCalendarIcs(first, last, content);
        ASSERT_EQ(ics.Problem, "");
        EXPECT_TRUE(ics.Text.find("\r\nVERSION:2.0\r\n") != std::string::npos &&
                    ics.Text.find("\r\nX-WR-CALNAME:" + name + "\r\n") != std::string::npos);
        EXPECT_EQ(Parse(ics.Text), Expected(first, last, content));
    }
    for (const auto& [first, last] : std::vector<std::pair<int, int>>{
             {1919, 2026}, {2026, 10000}, {2027, 2026}, {0, 0}, {-5, 2026}}) {
        const IcsResult ics = BroadcastCalendarIcs(first, last, IcsContent::WeeksAndMonths);
        EXPECT_EQ(ics.Text, "") << first << ".." << last;
        EXPECT_TRUE(!ics.Problem.empty() && ics.Problem.find('\n') == std::string::npos);
    }
}

// A second client library, Python's, run by the system interpreter Debian installs it for.
TEST(IcsCalendar, PythonIcalendarReadsIt) {
    test::TempFolder folder;
    std::ofstream(folder / "broadcast.ics", std::ios::binary)
        << BroadcastCalendarIcs(2028, 2028, IcsContent::WeeksAndMonths).Text;
    const std::string python = "/usr/bin/python3 - '" + (folder / "broadcast.ics") + R"(' <<'END'
import icalendar, sys
cal = icalendar.Calendar.from_ical(open(sys.argv[1], 'rb').read())
e = [e for e in cal.walk('VEVENT') if e['UID'] == 'broadcast-week-202853@kalvara'][0]
got = f"{len(cal.walk('VEVENT'))} {cal['X-WR-CALNAME']} {e.decoded('DTSTART')} {e.decoded('DTEND')} {e['TRANSP']}"
assert got == '65 Broadcast calendar 2028 2028-12-25 2029-01-01 TRANSPARENT', got
END)";
    EXPECT_EQ(std::system(python.c_str()), 0);
}

} // namespace
} // namespace kalvara
