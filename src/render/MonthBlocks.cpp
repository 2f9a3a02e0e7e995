#include "render/MonthBlocks.h"

#include "render/Primitives.h"

namespace kalvara {

std::string FiveWeekMarker(std::int32_t weeks) {
    return weeks == 5 ? "*" : "";
}

std::string WeekLabel(const DocumentContext& context, std::int32_t broadcast_month,
                      DayNumber monday, char separator) {
    std::string label = std::to_string(BroadcastWeekNumber(monday, context.Years));
    if (context.Selection.QuartersShown()) {
        label += separator;
        label += QuarterWeekLabel(broadcast_month, monday, context.Years);
    }
    return label;
}

HPDF_Font DayFont(const DocumentContext& context, std::int32_t calendar_month) {
    return calendar_month % 2 == 0 ? context.FontBold : context.FontRegular;
}

void DrawFooter(DocumentContext& context, std::int32_t y, std::int32_t size, bool with_legend) {
    if (with_legend) {
        DrawText(context.Page, FiveWeekLegend, context.LeftEdge, y, context.FontRegular, size,
                 AlignLeft);
    }
    DrawText(context.Page, CreditLine, context.RightEdge, y, context.FontRegular, size, AlignRight);
}

void WeekdayHeader(DocumentContext& context, std::int32_t x, std::int32_t y,
                   const ColumnOffsets& offsets, std::int32_t size) {
    DrawHLine(context.Page, x, x + offsets[7], y - 6, ColorBlack, 0.1f);
    DrawHLine(context.Page, x, x + offsets[7], y + 1, ColorBlack, 0.1f);
    for (std::int32_t weekday = 1; weekday <= 7; ++weekday) {
        const auto column = static_cast<std::size_t>(weekday);
        DrawText(context.Page, WeekdayName(weekday).substr(0, 2), x + offsets[column], y,
                 context.FontBoldOblique, size, AlignRight);
    }
}

DayNumber WeekRow(DayNumber monday, DocumentContext& context, std::int32_t x, std::int32_t y,
                  const ColumnOffsets& offsets, std::int32_t size, std::int32_t week_number_x) {
    std::int32_t month = 0; // 1..12, calendar month of the day last drawn
    std::int32_t day = 0;   // 1..31
    std::int32_t year = 0;
    for (std::int32_t column = 1; column <= 7; ++column) {
        JulianToMDY(monday + column - 1, month, day, year);
        DrawText(context.Page, std::to_string(day), x + offsets[static_cast<std::size_t>(column)],
                 y, DayFont(context, month), size, AlignRight);
    }
    const CalendarStyle style = context.Selection.Style;
    if (style == CalendarStyle::Year || style == CalendarStyle::ThreeYears) {
        // month is now that of the week's Sunday, the week's broadcast month.
        const std::string label = WeekLabel(context, month, monday, WeekRowSeparator);
        SetFillColor(context.Page, ColorRed);
        DrawText(context.Page, label, week_number_x, y, context.FontBoldOblique, size - 1,
                 AlignRight);
        SetFillColor(context.Page, ColorBlack);
    }
    return monday + 7;
}

} // namespace kalvara
