// The broadcast calendar as iCalendar, parsed back and checked against the
// engine's tables.

#include "ics/IcsCalendar.h"

#include "engine/BroadcastYearTable.h"
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
    std::string Uid;
    std::string Summary;
    DayNumber First = 0; // DTSTART
    DayNumber End = 0;   // DTEND, the day after the last
    bool AllDay = false;
    bool Transparent = false;
};

struct ParsedCalendar {
    std::string Name;
    std::string Version;
    std::vector<Event> Events;
};

DayNumber DayOf(const icaltimetype& time) {
    return JulianDate(time.month, time.day, time.year);
}

ParsedCalendar Parse(const std::string& text) {
    std::unique_ptr<icalcomponent, void (*)(icalcomponent*)> calendar(
        icalparser_parse_string(text.c_str()), icalcomponent_free);
    ParsedCalendar parsed;
    if (!calendar || icalcomponent_isa(calendar.get()) != ICAL_VCALENDAR_COMPONENT) {
        ADD_FAILURE() << "libical does not read the calendar";
        return parsed;
    }
    if (icalproperty* version =
            icalcomponent_get_first_property(calendar.get(), ICAL_VERSION_PROPERTY)) {
        parsed.Version = icalproperty_get_version(version);
    }
    for (icalproperty* x = icalcomponent_get_first_property(calendar.get(), ICAL_X_PROPERTY); x;
         x = icalcomponent_get_next_property(calendar.get(), ICAL_X_PROPERTY)) {
        if (std::string(icalproperty_get_x_name(x)) == "X-WR-CALNAME") {
            parsed.Name = icalproperty_get_x(x);
        }
    }
    for (icalcomponent* event =
             icalcomponent_get_first_component(calendar.get(), ICAL_VEVENT_COMPONENT);
         event; event = icalcomponent_get_next_component(calendar.get(), ICAL_VEVENT_COMPONENT)) {
        Event e;
        e.Uid = icalcomponent_get_uid(event);
        e.Summary = icalcomponent_get_summary(event);
        const icaltimetype start = icalcomponent_get_dtstart(event);
        const icaltimetype end = icalcomponent_get_dtend(event);
        e.First = DayOf(start);
        e.End = DayOf(end);
        e.AllDay = start.is_date && end.is_date;
        icalproperty* transp = icalcomponent_get_first_property(event, ICAL_TRANSP_PROPERTY);
        e.Transparent = transp && icalproperty_get_transp(transp) == ICAL_TRANSP_TRANSPARENT;
        EXPECT_NE(icalcomponent_get_first_property(event, ICAL_DTSTAMP_PROPERTY), nullptr);
        parsed.Events.push_back(e);
    }
    return parsed;
}

const char* const Months[] = {"",        "January",  "February", "March",  "April",
                              "May",     "June",     "July",     "August", "September",
                              "October", "November", "December"};

TEST(IcsCalendar, EveryWeekAndMonthMatchesTheEngine) {
    const IcsResult ics = BroadcastCalendarIcs(2016, 2029, IcsContent::WeeksAndMonths);
    ASSERT_EQ(ics.Problem, "");
    const ParsedCalendar calendar = Parse(ics.Text);
    EXPECT_EQ(calendar.Version, "2.0");
    EXPECT_EQ(calendar.Name, "Broadcast calendar 2016\u20132029");

    std::map<DayNumber, const Event*> weeks;  // by Monday
    std::map<DayNumber, const Event*> months; // by first Monday
    for (const Event& event : calendar.Events) {
        EXPECT_TRUE(event.AllDay) << event.Uid;
        EXPECT_TRUE(event.Transparent) << event.Uid;
        EXPECT_EQ(DayOfWeek(event.First), Monday) << event.Uid;
        EXPECT_EQ(DayOfWeek(event.End), Monday) << event.Uid;
        (event.End - event.First == 7 ? weeks : months)[event.First] = &event;
    }
    BroadcastYearTable table;
    InitDaysInMonth(table);
    std::size_t expected_weeks = 0;
    for (int year = 2016; year <= 2029; ++year) {
        BuildBroadcastYear(year, table);
        for (int month = 1; month <= 12; ++month) {
            const Event* event = months[table.First(month)];
            ASSERT_NE(event, nullptr) << year << "-" << month;
            EXPECT_EQ(event->End, table.Last(month) + 1);
            EXPECT_EQ(event->Summary, std::string("Broadcast ") + Months[month] + " " +
                                          std::to_string(year) + " \u00b7 " +
                                          std::to_string(table.WeekCount(month)) + " weeks");
            for (DayNumber monday = table.First(month); monday < table.Last(month);
                 monday += 7, ++expected_weeks) {
                const Event* week = weeks[monday];
                ASSERT_NE(week, nullptr);
                EXPECT_EQ(week->Summary, "Broadcast week " +
                                             std::to_string(BroadcastWeekNumber(monday, table)) +
                                             " \u00b7 " + QuarterWeekLabel(month, monday, table));
            }
        }
    }
    EXPECT_EQ(weeks.size(), expected_weeks);
    EXPECT_EQ(months.size(), 14u * 12u);
    EXPECT_EQ(calendar.Events.size(), expected_weeks + 14u * 12u);
    // 2017 and 2028 end with a week 53; 2026's week 1 begins in December.
    EXPECT_EQ(weeks[JulianDate(12, 25, 2028)]->Summary, "Broadcast week 53 \u00b7 4Q14");
    EXPECT_EQ(weeks[JulianDate(12, 29, 2025)]->Uid, "broadcast-week-202601@kalvara");
}

// A re-import updates what an earlier one added instead of doubling it.
TEST(IcsCalendar, UidsAreUniqueAndStableAcrossRunsAndRanges) {
    const auto uids = [](int first, int last) {
        std::vector<std::string> list;
        for (const Event& event :
             Parse(BroadcastCalendarIcs(first, last, IcsContent::WeeksAndMonths).Text).Events) {
            list.push_back(event.Uid);
        }
        return list;
    };
    const auto run1 = uids(2025, 2027);
    EXPECT_EQ(run1, uids(2025, 2027));
    EXPECT_EQ(std::set<std::string>(run1.begin(), run1.end()).size(), run1.size());
    const auto year2026 = uids(2026, 2026);
    const std::set<std::string> all(run1.begin(), run1.end());
    for (const std::string& uid : year2026) {
        EXPECT_TRUE(all.count(uid)) << uid;
    }
}

TEST(IcsCalendar, WeeksOrMonthsAlone) {
    const auto weeks = Parse(BroadcastCalendarIcs(2028, 2028, IcsContent::WeeksOnly).Text);
    EXPECT_EQ(weeks.Events.size(), 53u);
    EXPECT_EQ(weeks.Name, "Broadcast calendar 2028");
    const auto months = Parse(BroadcastCalendarIcs(1920, 1921, IcsContent::MonthsOnly).Text);
    EXPECT_EQ(months.Events.size(), 24u);
    EXPECT_EQ(months.Events.front().Uid, "broadcast-month-192001@kalvara");
}

TEST(IcsCalendar, RefusesYearsOutsideTheRange) {
    for (const auto& [first, last] : std::vector<std::pair<int, int>>{
             {1919, 2026}, {2026, 10000}, {2027, 2026}, {0, 0}, {-5, 2026}}) {
        const IcsResult ics = BroadcastCalendarIcs(first, last, IcsContent::WeeksAndMonths);
        EXPECT_EQ(ics.Text, "") << first << ".." << last;
        EXPECT_FALSE(ics.Problem.empty());
        EXPECT_EQ(ics.Problem.find('\n'), std::string::npos);
    }
}

// A second client library, as calendar apps written in Python use it. The
// system interpreter, where Debian installs the module.
TEST(IcsCalendar, PythonIcalendarReadsIt) {
    if (std::system("/usr/bin/python3 -c 'import icalendar' >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "python3-icalendar is not installed";
    }
    test::TempFolder folder;
    const std::string file = folder / "broadcast.ics";
    std::ofstream(file, std::ios::binary)
        << BroadcastCalendarIcs(2028, 2028, IcsContent::WeeksAndMonths).Text;
    const std::string script =
        "import icalendar, sys\n"
        "cal = icalendar.Calendar.from_ical(open(sys.argv[1], 'rb').read())\n"
        "events = list(cal.walk('VEVENT'))\n"
        "last = [e for e in events if str(e['UID']) == 'broadcast-week-202853@kalvara'][0]\n"
        "print(len(events), cal['X-WR-CALNAME'], last.decoded('DTSTART'), "
        "last.decoded('DTEND'), last['TRANSP'])\n";
    std::ofstream(folder / "read.py") << script;
    const std::string command = "/usr/bin/python3 '" + (folder / "read.py") + "' '" + file + "'";
    std::FILE* pipe = ::popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    char line[256] = {};
    const bool got = std::fgets(line, sizeof line, pipe) != nullptr;
    EXPECT_EQ(::pclose(pipe), 0);
    ASSERT_TRUE(got);
    EXPECT_EQ(std::string(line), "65 Broadcast calendar 2028 2028-12-25 2029-01-01 TRANSPARENT\n");
}

} // namespace
} // namespace kalvara
