#include "render/MonthBlocks.h"

#include "render/Primitives.h"

#include <array>
#include <string_view>

namespace kalvara {

namespace {

constexpr std::array<std::string_view, 13> MonthNames = {
    "",     "January", "February",  "March",   "April",    "May",     "June",
    "July", "August",  "September", "October", "November", "December"};

constexpr std::array<std::string_view, 8> WeekdayNames = {
    "", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"};

} // namespace

std::string MonthName(std::int32_t month) {
    if (month < 1 || month > 12) {
        return {};
    }
    return std::string(MonthNames[static_cast<std::size_t>(month)]);
}

std::string WeekdayName(std::int32_t weekday) {
    if (weekday < 1 || weekday > 7) {
        return {};
    }
    return std::string(WeekdayNames[static_cast<std::size_t>(weekday)]);
}

std::string FiveWeekMarker(std::int32_t weeks) {
    return weeks == 5 ? "*" : "";
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
        // Alternate calendar months in alternate weights, so a broadcast month
        // that spans two of them shows where one ends.
        const HPDF_Font font = month % 2 == 0 ? context.FontBold : context.FontRegular;
        DrawText(context.Page, std::to_string(day), x + offsets[static_cast<std::size_t>(column)],
                 y, font, size, AlignRight);
    }
    const CalendarStyle style = context.Selection.Style;
    if (style == CalendarStyle::Year || style == CalendarStyle::ThreeYears) {
        // month is now that of the week's Sunday, the week's broadcast month.
        std::string label = std::to_string(BroadcastWeekNumber(monday, context.Years));
        if (context.Selection.QuartersShown()) {
            label += "-" + QuarterWeekLabel(month, monday, context.Years);
        }
        SetFillColor(context.Page, ColorRed);
        DrawText(context.Page, label, week_number_x, y, context.FontBoldOblique, size - 1,
                 AlignRight);
        SetFillColor(context.Page, ColorBlack);
    }
    return monday + 7;
}

} // namespace kalvara
