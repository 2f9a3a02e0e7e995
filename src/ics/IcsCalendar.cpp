#include "ics/IcsCalendar.h"

#include "engine/BroadcastYearTable.h"
#include "engine/CalendarNames.h"

#include <array>
#include <cstdlib>
#include <ctime>
#include <libical/ical.h>
#include <memory>
#include <string>

namespace kalvara {

namespace {

constexpr int FirstYear = 1920;
constexpr int LastYear = 9999;

// The events go before the calendar's last line.
constexpr const char* CalendarEnd = "END:VCALENDAR";

// U+00B7, the middle dot between the parts of a summary.
constexpr const char* Dot = " \u00b7 ";

struct ComponentFree {
    void operator()(icalcomponent* component) const { icalcomponent_free(component); }
};
using Component = std::unique_ptr<icalcomponent, ComponentFree>;

struct TextFree {
    void operator()(char* text) const { std::free(text); }
};

std::string TwoDigits(int number) {
    return (number < 10 ? "0" : "") + std::to_string(number);
}

// "DTSTART;VALUE=DATE:20261228" and the like. The line is parsed rather
// than built from an icaltimetype because libical takes years past 3000 for
// invalid there and writes them as zeros, though the format reaches 9999.
icalproperty* AllDay(const char* name, DayNumber day) {
    std::int32_t month = 0;
    std::int32_t day_of_month = 0;
    std::int32_t year = 0; // 1919..9999
    JulianToMDY(day, month, day_of_month, year);
    const std::string line = std::string(name) + ";VALUE=DATE:" + std::to_string(year) +
                             TwoDigits(month) + TwoDigits(day_of_month);
    return icalproperty_new_from_string(line.c_str());
}

std::string CalendarName(int first_year, int last_year) {
    std::string name = "Broadcast calendar " + std::to_string(first_year);
    if (last_year != first_year) {
        name += "\u2013" + std::to_string(last_year); // en dash
    }
    return name;
}

void AddXProperty(icalcomponent* component, const char* name, const std::string& value) {
    icalproperty* property = icalproperty_new_x(value.c_str());
    icalproperty_set_x_name(property, name);
    icalcomponent_add_property(component, property);
}

// One all-day event over [first, end): it blocks no time in the calendar.
void AddEvent(icalcomponent* calendar, const std::string& uid, const std::string& summary,
              DayNumber first, DayNumber end, const icaltimetype& stamp) {
    icalcomponent* event = icalcomponent_new(ICAL_VEVENT_COMPONENT);
    icalcomponent_add_property(event, icalproperty_new_uid(uid.c_str()));
    icalcomponent_add_property(event, icalproperty_new_dtstamp(stamp));
    icalcomponent_add_property(event, AllDay("DTSTART", first));
    icalcomponent_add_property(event, AllDay("DTEND", end));
    icalcomponent_add_property(event, icalproperty_new_summary(summary.c_str()));
    icalcomponent_add_property(event, icalproperty_new_transp(ICAL_TRANSP_TRANSPARENT));
    icalcomponent_add_component(calendar, event);
}

void AddWeeks(icalcomponent* calendar, const BroadcastYearTable& table, const icaltimetype& stamp) {
    for (std::int32_t month = 1; month <= 12; ++month) {
        for (DayNumber monday = table.First(month); monday < table.Last(month); monday += 7) {
            const int week = BroadcastWeekNumber(monday, table);
            const std::string key = std::to_string(table.Year) + TwoDigits(week);
            AddEvent(calendar, "broadcast-week-" + key + "@kalvara",
                     "Broadcast week " + std::to_string(week) + Dot +
                         QuarterWeekLabel(month, monday, table),
                     monday, monday + 7, stamp);
        }
    }
}

void AddMonths(icalcomponent* calendar, const BroadcastYearTable& table,
               const icaltimetype& stamp) {
    for (std::int32_t month = 1; month <= 12; ++month) {
        const std::string key = std::to_string(table.Year) + TwoDigits(month);
        AddEvent(calendar, "broadcast-month-" + key + "@kalvara",
                 std::string("Broadcast ") + MonthName(month) + " " + std::to_string(table.Year) +
                     Dot + std::to_string(table.WeekCount(month)) + " weeks",
                 table.First(month), table.Last(month) + 1, stamp);
    }
}

// The events of the batch as text, in order, after those already in `events`.
bool AppendEvents(icalcomponent* batch, std::string& events) {
    for (icalcomponent* event = icalcomponent_get_first_component(batch, ICAL_VEVENT_COMPONENT);
         event != nullptr; event = icalcomponent_get_next_component(batch, ICAL_VEVENT_COMPONENT)) {
        const std::unique_ptr<char, TextFree> text(icalcomponent_as_ical_string_r(event));
        if (!text) {
            return false;
        }
        events += text.get();
    }
    return true;
}

} // namespace

IcsResult BroadcastCalendarIcs(int first_year, int last_year, IcsContent content) {
    if (first_year < FirstYear || first_year > LastYear || last_year < FirstYear ||
        last_year > LastYear) {
        return {{}, "the years must lie from 1920 to 9999"};
    }
    if (last_year < first_year) {
        return {{},
                "the range ends (" + std::to_string(last_year) + ") before it starts (" +
                    std::to_string(first_year) + ")"};
    }
    const Component calendar(icalcomponent_new(ICAL_VCALENDAR_COMPONENT));
    if (!calendar) {
        return {{}, "the calendar could not be built"};
    }
    icalcomponent_add_property(calendar.get(), icalproperty_new_version("2.0"));
    icalcomponent_add_property(calendar.get(),
                               icalproperty_new_prodid("-//Kalvara//Broadcast calendar//EN"));
    icalcomponent_add_property(calendar.get(), icalproperty_new_calscale("GREGORIAN"));
    const std::string name = CalendarName(first_year, last_year);
    icalcomponent_add_property(calendar.get(), icalproperty_new_name(name.c_str()));
    // The name most calendar apps read.
    AddXProperty(calendar.get(), "X-WR-CALNAME", name);

    const icaltimetype stamp =
        icaltime_from_timet_with_zone(std::time(nullptr), 0, icaltimezone_get_utc_timezone());
    std::string events;
    BroadcastYearTable table;
    InitDaysInMonth(table);
    for (int year = first_year; year <= last_year; ++year) {
        BuildBroadcastYear(year, table);
        // A year's events at a time, written out and freed: the whole range
        // as one tree would take more than a gigabyte.
        const Component batch(icalcomponent_new(ICAL_VCALENDAR_COMPONENT));
        if (!batch) {
            return {{}, "the calendar could not be built"};
        }
        if (content != IcsContent::MonthsOnly) {
            AddWeeks(batch.get(), table, stamp);
        }
        if (content != IcsContent::WeeksOnly) {
            AddMonths(batch.get(), table, stamp);
        }
        if (!AppendEvents(batch.get(), events)) {
            return {{}, "the calendar could not be written out"};
        }
    }
    const std::unique_ptr<char, TextFree> text(icalcomponent_as_ical_string_r(calendar.get()));
    std::string whole = text ? std::string(text.get()) : std::string();
    const auto end = whole.rfind(CalendarEnd);
    if (end == std::string::npos) {
        return {{}, "the calendar could not be written out"};
    }
    whole.insert(end, events);
    return {std::move(whole), {}};
}

} // namespace kalvara
