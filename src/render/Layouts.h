#pragma once
// One layout per calendar style. Each call adds exactly one page to the
// context's document, sets its size and draws it. The context's table must be
// built for the selection's StartYear before the first call of a document.

#include "render/DocumentContext.h"

#include <cstdint>

namespace kalvara {

// One broadcast month (1..12) on a landscape Letter page.
void DrawMonthCalendar(DocumentContext& context, std::int32_t month);

// Three consecutive broadcast months from first_month (1..12) on a portrait
// Letter page; a run past December goes on into the next year and leaves the
// table built for it.
void DrawQuarterCalendar(DocumentContext& context, std::int32_t first_month);

// The twelve months of StartYear on a portrait Letter page.
void DrawYearCalendar(DocumentContext& context);

// StartYear and the two years after it, one column each, on a portrait Letter
// page. Leaves the table built for StartYear + 3.
void DrawThreeYearCalendar(DocumentContext& context);

// Nine identical twelve-month strips on a landscape Legal page.
void DrawKeyboardStrips(DocumentContext& context);

// One row per broadcast week of StartYear on a portrait Letter page.
void DrawPlanningCalendar(DocumentContext& context);

} // namespace kalvara
