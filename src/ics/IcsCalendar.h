#pragma once
// The broadcast weeks and months as an iCalendar (RFC 5545) file, for
// calendar apps.

#include <string>

namespace kalvara {

enum class IcsContent {
    WeeksAndMonths,
    WeeksOnly,
    MonthsOnly,
};

struct IcsResult {
    std::string Text;    // the whole calendar; empty when Problem is set
    std::string Problem; // one line saying why there is no calendar
};

// The events of the broadcast years first_year..last_year (1920..9999, the
// last not before the first).
IcsResult BroadcastCalendarIcs(int first_year, int last_year, IcsContent content);

} // namespace kalvara
