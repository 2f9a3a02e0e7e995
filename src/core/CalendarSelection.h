#pragma once
// What to print: the style, which month or quarter, the year and the
// preference switches. The program keeps one of these; the main window, the
// print range dialog and the command line fill it in.

#include "core/Preferences.h"

#include <cstdint>

namespace kalvara {

// The numbers are stored in the settings file ("Last"/"Style") and used by the
// style buttons, so they never change.
enum class CalendarStyle : std::int32_t {
    Month = 1,
    Quarter = 2,
    Year = 3,
    ThreeYears = 4,
    KeyboardStrips = 5,
    Planning = 6,
};

// Period value for "all twelve months" (Month) or "all four quarters" (Quarter).
inline constexpr std::int32_t AllPeriods = 13;
// Period value left by a cancelled print range dialog; nothing is printed.
inline constexpr std::int32_t PeriodCancelled = 0;

struct CalendarSelection {
    CalendarStyle Style = CalendarStyle::Year;
    // Month: the month 1..12. Quarter: the first of its three months 1..12 (a
    // run may go on into the next year). AllPeriods or PeriodCancelled.
    std::int32_t Period = AllPeriods;
    // The year to print; the first of three for ThreeYears. At least 1920.
    std::int32_t StartYear = 0;
    // Bits of core/Preferences.h; only ShowQuarters matters to the layouts.
    PreferenceSet Preferences = 0;

    bool QuartersShown() const { return (Preferences & ShowQuarters) != 0; }
};

} // namespace kalvara
