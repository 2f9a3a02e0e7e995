#pragma once
// Blocks shared by the small-calendar layouts (Year, 3 Years, Keyboard
// strips), the names they print and the footer texts of every style.

#include "engine/CalendarNames.h"
#include "config/UpdateConfig.h"
#include "engine/CivilDate.h"
#include "render/DocumentContext.h"

#include <array>
#include <cstdint>
#include <string>

namespace kalvara {

// Entries 1..7 (Monday..Sunday, entry 0 unused): x of the right edge of each
// day column relative to the block's left x. Day names and numbers are
// right-aligned on these edges; WeekdayHeader's rules end at entry 7.
using ColumnOffsets = std::array<std::int32_t, 8>;

inline constexpr const char* FiveWeekLegend = "* denotes 5-week month";
// The Planning page writes it with a capital D.
inline constexpr const char* FiveWeekLegendPlanning = "* Denotes 5-week month";
// The credit line on every page that has a footer. It names the same site as
// the product page the update messages open.
inline constexpr const char* CreditLine = "Kalvara by Quennet/" KALVARA_MAKER_SITE;

// "*" for a five-week broadcast month, else empty.
std::string FiveWeekMarker(std::int32_t weeks);

// What joins a week number to its place in the quarter: "14-2Q01" in the
// week rows of the small calendars, "14/2Q01" on Month and Quarter pages.
inline constexpr char WeekRowSeparator = '-';
inline constexpr char PageWeekSeparator = '/';

// The week's number counted in the context's table, followed by the separator
// and the quarter designation when the selection shows quarters.
// broadcast_month is the week's broadcast month.
std::string WeekLabel(const DocumentContext& context, std::int32_t broadcast_month,
                      DayNumber monday, char separator);

// Days are bold in even calendar months and regular in odd ones, so that a
// week or month running across two calendar months shows where one ends.
HPDF_Font DayFont(const DocumentContext& context, std::int32_t calendar_month);

// The footer: the five-week legend on the left edge when with_legend, and the
// credit line on the right edge, both at y in the regular font.
void DrawFooter(DocumentContext& context, std::int32_t y, std::int32_t size, bool with_legend);

// The row of two-letter day names (Mo .. Su, bold-oblique, right-aligned on
// the offsets) between two 0.1 rules at y - 6 and y + 1, over a month grid.
void WeekdayHeader(DocumentContext& context, std::int32_t x, std::int32_t y,
                   const ColumnOffsets& offsets, std::int32_t size);

// One broadcast week from monday: seven day numbers, bold in even calendar
// months and regular in odd ones. For the Year and ThreeYears styles also the
// red week label right-aligned at week_number_x, one point smaller, with the
// quarter designation ("14-2Q01") when the selection shows quarters; the
// context's table must hold the week's year. Returns monday + 7.
DayNumber WeekRow(DayNumber monday, DocumentContext& context, std::int32_t x, std::int32_t y,
                  const ColumnOffsets& offsets, std::int32_t size, std::int32_t week_number_x);

} // namespace kalvara
