#include "engine/DateText.h"
#include "render/Layouts.h"
#include "render/MonthBlocks.h"
#include "render/PageSetup.h"
#include "render/Primitives.h"

#include <array>

namespace kalvara {

namespace {

// Vertical extent of the grid: the day names sit between GridTop and the first
// row rule at RowsTop; the rows fill RowsTop..GridBottom.
constexpr std::int32_t GridTop = 54;
constexpr std::int32_t RowsTop = 70;
constexpr std::int32_t GridBottom = 576;
constexpr std::int32_t FooterY = 583;
constexpr float RuleWidth = 0.3f;

// x of the eight vertical rules, 72..720. The step is kept in single
// precision and accumulated, so the edges come out exactly as they always
// have (165, 257, 350, ...), not as an exact division would place them.
std::array<std::int32_t, 9> ColumnEdges() {
    std::array<std::int32_t, 9> edges{}; // entries 1..8
    const float step = 648.0f / 7.0f;
    float x = 72.0f;
    for (std::size_t i = 1; i <= 7; ++i) {
        edges[i] = RoundHalfEven(x);
        x += step;
    }
    edges[8] = 720;
    return edges;
}

} // namespace

void DrawMonthCalendar(DocumentContext& context, std::int32_t month) {
    HPDF_Page page = StartLayoutPage(context, {HPDF_PAGE_SIZE_LETTER, HPDF_PAGE_LANDSCAPE, 72, 720,
                                               GeometryRule::FirstPageDecides});

    const auto edges = ColumnEdges();
    const BroadcastYearTable& years = context.Years;
    const std::int32_t weeks = years.WeekCount(month);                // 4 or 5
    const float row_height = 506.0f / static_cast<float>(weeks);      // 126.5 or 101.2
    const std::int32_t label_drop = RoundHalfEven(row_height - 2.0f); // 124 or 99
    std::array<std::int32_t, 6> row_tops{};                           // entries 1..weeks
    row_tops[1] = RowsTop;
    for (std::int32_t r = 1; r < weeks; ++r) {
        const auto row = static_cast<std::size_t>(r);
        row_tops[row + 1] = RoundHalfEven(static_cast<float>(row_tops[row]) + row_height);
    }

    const std::int32_t center = context.CenterX;
    const std::string title = MonthName(month) + " " + std::to_string(context.Selection.StartYear) +
                              FiveWeekMarker(weeks);
    DrawText(page, title, center, 36, context.FontBold, 20, AlignCenter);
    DrawText(page, "STANDARD BROADCAST CALENDAR", center, 51, context.FontBold, 12, AlignCenter);

    DrawHLine(page, edges[1], edges[8], GridTop, ColorBlack, RuleWidth);
    for (std::size_t i = 1; i <= 8; ++i) {
        DrawLine(page, edges[i], GridTop, edges[i], GridBottom, RuleWidth);
    }
    for (std::size_t c = 1; c <= 7; ++c) {
        const std::int32_t name_x = edges[c] + (edges[c + 1] - edges[c]) / 2;
        DrawText(page, WeekdayName(static_cast<std::int32_t>(c)), name_x, 67, context.FontBold, 14,
                 AlignCenter);
    }
    for (std::int32_t r = 1; r <= weeks; ++r) {
        DrawHLine(page, edges[1], edges[8], row_tops[static_cast<std::size_t>(r)], ColorBlack,
                  RuleWidth);
    }
    DrawHLine(page, edges[1], edges[8], GridBottom, ColorBlack, RuleWidth);

    DayNumber day_number = years.First(month);
    for (std::int32_t r = 1; r <= weeks; ++r) {
        const std::int32_t top = row_tops[static_cast<std::size_t>(r)];
        const std::int32_t date_y = RoundHalfEven(static_cast<float>(top) + 19.5f);
        for (std::size_t c = 1; c <= 7; ++c) {
            std::int32_t calendar_month = 0; // 1..12
            std::int32_t day = 0;            // 1..31
            std::int32_t year = 0;
            JulianToMDY(day_number, calendar_month, day, year);
            DrawText(page, std::to_string(day), edges[c + 1] - 3, date_y,
                     DayFont(context, calendar_month), 20, AlignRight);
            if (c == 1) {
                const std::string label = WeekLabel(context, month, day_number, PageWeekSeparator);
                SetFillColor(page, ColorRed);
                DrawText(page, label, edges[1] + 2, top + label_drop, context.FontBold, 14,
                         AlignLeft);
                SetFillColor(page, ColorBlack);
            }
            ++day_number;
        }
    }

    // The grid spans the content edges, so the footer lines up with it.
    DrawFooter(context, FooterY, 8, weeks == 5);
}

} // namespace kalvara
