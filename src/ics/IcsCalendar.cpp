#include "ics/IcsCalendar.h"

namespace kalvara {

IcsResult BroadcastCalendarIcs(int, int, IcsContent) {
    return {{}, "not built yet"};
}

} // namespace kalvara
