// The broadcast calendar as iCalendar, parsed back with libical and Python's
// icalendar and checked against the engine's tables.

#include "ics/IcsCalendar.h"

#include "engine/BroadcastYearTable.h"
#include "engine/CalendarNames.h"
#include "support/TempFolder.h"

#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <libical/ical.h>
#include <map>
#include <memory>
#include <set>

namespace kalvara {
namespace {

struct Event {
    std::string Uid, Summary;
};

// By first day and end day (DTEND, the day after the last), which no two
// events share; each event all-day, transparent and stamped.
using Events = std::map<std::pair<DayNumber, DayNumber>, Event>;

// header gets VERSION and X-WR-CALNAME.
Events Parse(const std::string& text, std::string* header = nullptr) {
    const std::unique_ptr<icalcomponent, void (*)(icalcomponent*)> calendar(
        icalparser_parse_string(text.c_str()), icalcomponent_free);
    Events events;
    if (!calendar || icalcomponent_isa(calendar.get()) != ICAL_VCALENDAR_COMPONENT) {
        ADD_FAILURE() << "libical does not read the calendar";
        return events;
    }
    if (header) {
        icalproperty* name = icalcomponent_get_first_property(calendar.get(), ICAL_X_PROPERTY);
        *header = icalproperty_get_version(
                      icalcomponent_get_first_property(calendar.get(), ICAL_VERSION_PROPERTY)) +
                  std::string(" ") + icalproperty_get_x_name(name) + " " + icalproperty_get_x(name);
    }
    for (icalcomponent* e =
             icalcomponent_get_first_component(calendar.get(), ICAL_VEVENT_COMPONENT);
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
        EXPECT_TRUE(events.emplace(days, Event{uid, icalcomponent_get_summary(e)}).second) << uid;
    }
    return events;
}

TEST(IcsCalendar, EveryWeekAndMonthMatchesTheEngine) {
    const IcsResult ics = BroadcastCalendarIcs(2016, 2029, IcsContent::WeeksAndMonths);
    ASSERT_EQ(ics.Problem, "");
    std::string header;
    Events events = Parse(ics.Text, &header);
    EXPECT_EQ(header, "2.0 X-WR-CALNAME Broadcast calendar 2016\u20132029");
    BroadcastYearTable table;
    InitDaysInMonth(table);
    std::size_t expected = 0;
    for (int year = 2016; year <= 2029; ++year) {
        BuildBroadcastYear(year, table);
        for (int month = 1; month <= 12; ++month, ++expected) {
            EXPECT_EQ(events[std::pair(table.First(month), table.Last(month) + 1)].Summary,
                      "Broadcast " + MonthName(month) + " " + std::to_string(year) + " \u00b7 " +
                          std::to_string(table.WeekCount(month)) + " weeks");
            for (DayNumber monday = table.First(month); monday < table.Last(month);
                 monday += 7, ++expected) {
                EXPECT_EQ(events[std::pair(monday, monday + 7)].Summary,
                          "Broadcast week " + std::to_string(BroadcastWeekNumber(monday, table)) +
                              " \u00b7 " + QuarterWeekLabel(month, monday, table));
            }
        }
    }
    EXPECT_EQ(events.size(), expected);
    // A week is known by its year and number: 2026's week 1 begins in December.
    const DayNumber monday = JulianDate(12, 29, 2025);
    EXPECT_EQ(events[std::pair(monday, monday + 7)].Uid, "broadcast-week-202601@kalvara");
}

// A re-import updates what an earlier one added instead of doubling it.
TEST(IcsCalendar, UidsAreUniqueAndStableAcrossRunsRangesAndContents) {
    const auto uids = [](int first, int last, IcsContent content) {
        std::vector<std::string> list;
        for (const auto& [days, event] : Parse(BroadcastCalendarIcs(first, last, content).Text)) {
            list.push_back(event.Uid);
        }
        return list;
    };
    const auto run = uids(2025, 2027, IcsContent::WeeksAndMonths);
    EXPECT_EQ(run, uids(2025, 2027, IcsContent::WeeksAndMonths));
    const std::set<std::string> all(run.begin(), run.end());
    EXPECT_EQ(all.size(), run.size());
    // Weeks or months alone: the same events, fewer of them.
    auto alone = uids(2026, 2026, IcsContent::WeeksOnly);
    EXPECT_EQ(alone.size(), 52u);
    alone.push_back(uids(2026, 2026, IcsContent::MonthsOnly).at(11));
    for (const auto& uid : alone) {
        EXPECT_TRUE(all.count(uid)) << uid;
    }
    EXPECT_EQ(alone.back(), "broadcast-month-202612@kalvara");
}

TEST(IcsCalendar, RefusesYearsOutsideTheRangeInOneLine) {
    for (const auto& [first, last] : std::vector<std::pair<int, int>>{
             {1919, 2026}, {2026, 10000}, {2027, 2026}, {0, 0}, {-5, 2026}}) {
        const IcsResult ics = BroadcastCalendarIcs(first, last, IcsContent::WeeksAndMonths);
        EXPECT_EQ(ics.Text, "") << first << ".." << last;
        EXPECT_TRUE(!ics.Problem.empty() && ics.Problem.find('\n') == std::string::npos);
    }
    EXPECT_EQ(BroadcastCalendarIcs(1920, 1920, IcsContent::MonthsOnly).Problem, "");
}

// A second client library, as calendar apps written in Python use it, from
// the system interpreter where Debian installs the module.
TEST(IcsCalendar, PythonIcalendarReadsIt) {
    test::TempFolder folder;
    std::ofstream(folder / "broadcast.ics", std::ios::binary)
        << BroadcastCalendarIcs(2028, 2028, IcsContent::WeeksAndMonths).Text;
    const std::string command =
        "/usr/bin/python3 - '" + (folder / "broadcast.ics") +
        "' <<'END'\n"
        "import icalendar, sys\n"
        "cal = icalendar.Calendar.from_ical(open(sys.argv[1], 'rb').read())\n"
        "events = list(cal.walk('VEVENT'))\n"
        "last = [e for e in events if str(e['UID']) == 'broadcast-week-202853@kalvara'][0]\n"
        "print(len(events), cal['X-WR-CALNAME'], last.decoded('DTSTART'), "
        "last.decoded('DTEND'), last['TRANSP'])\nEND";
    std::FILE* pipe = ::popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    char line[256] = {};
    EXPECT_NE(std::fgets(line, sizeof line, pipe), nullptr);
    EXPECT_EQ(::pclose(pipe), 0);
    EXPECT_STREQ(line, "65 Broadcast calendar 2028 2028-12-25 2029-01-01 TRANSPARENT\n");
}

} // namespace
} // namespace kalvara
