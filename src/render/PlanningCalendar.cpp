// The planning sheet: one row per broadcast week of the year with its dates,
// and empty budget and notes columns that buyers fill in by hand.

#include "render/Layouts.h"
#include "render/MonthBlocks.h"
#include "render/PageSetup.h"
#include "render/Primitives.h"

#include <array>
#include <string>

namespace kalvara {

namespace {

constexpr RgbColor HeaderBlue{0.0f, 0.0f, 0.6f};
constexpr RgbColor White{1.0f, 1.0f, 1.0f};
constexpr float ThinRule = 0.6f;
constexpr float MonthRule = 1.2f;

// Text positions 0..9: week number, month label, Monday .. Sunday, budget.
constexpr std::array<std::int32_t, 10> TextX = {51, 60, 146, 163, 180, 197, 214, 231, 248, 315};
// Column rules 0..10, then the table's right edge.
constexpr std::array<std::int32_t, 12> RuleX = {36,  58,  137, 154, 171, 188,
                                                205, 222, 239, 256, 319, 576};
constexpr std::int32_t TableLeft = 36;
constexpr std::int32_t TableRight = 576;
constexpr std::int32_t WeekRuleRight = 58; // the month column is not ruled
constexpr std::int32_t DaysLeft = 137;
constexpr std::int32_t PageCenter = 306;
// Dates sit right-aligned a little right of the centred day letters.
constexpr std::int32_t DateShift = 5;
constexpr std::int32_t BudgetShift = 8;

constexpr std::int32_t TitleY = 49;
constexpr std::int32_t TitleRuleY = 65;
constexpr std::int32_t HeaderBarBottom = 89;
constexpr std::int32_t HeaderBarHeight = 13;
constexpr std::int32_t HeaderTextY = 86;
constexpr std::int32_t FirstRowY = 100;
constexpr std::int32_t RowPitch = 11;
constexpr std::int32_t LegendBelowLastRow = 26;
constexpr std::int32_t FooterPitch = 19;

constexpr std::int32_t HeaderSize = 8;
constexpr std::int32_t RowSize = 9;
constexpr std::int32_t FooterSize = 8;

constexpr const char* Legend = "Broadcast Calendar: Standard Billing Week; Monday thru Sunday -- "
                               "Standard Billing Month; Ending on Last Sunday";

void DrawColumnHeaders(DocumentContext& context) {
    HPDF_Page page = context.Page;
    FillBox(page, HeaderBlue, HeaderBarBottom, TableLeft, TableRight - TableLeft, HeaderBarHeight,
            0);
    SetFillColor(page, White);
    DrawText(page, "WK", TextX[0], HeaderTextY, context.FontBold, HeaderSize, AlignRight);
    DrawText(page, "MONTH", TextX[1], HeaderTextY, context.FontBold, HeaderSize, AlignLeft);
    const std::string letters = " MTWTFSS";
    for (std::size_t weekday = 1; weekday <= 7; ++weekday) {
        DrawText(page, letters.substr(weekday, 1), TextX[weekday + 1], HeaderTextY,
                 context.FontBold, HeaderSize, AlignCenter);
    }
    DrawText(page, "BUDGET", TextX[9] - BudgetShift, HeaderTextY, context.FontBold, HeaderSize,
             AlignRight);
    SetFillColor(page, ColorBlack);
}

// One week's row; draws the month label (and the rule above it) when the
// week opens a broadcast month. Returns the week's broadcast month.
std::int32_t DrawWeekRow(DocumentContext& context, std::int32_t week, DayNumber monday,
                         std::int32_t row_y, std::int32_t previous_month) {
    HPDF_Page page = context.Page;
    const std::int32_t text_y = row_y - 2;
    DrawText(page, std::to_string(week), TextX[0], text_y, context.FontBold, RowSize, AlignRight);

    std::int32_t broadcast_year = 0; // the Sunday's year; always the page's year here
    const std::int32_t month = BroadcastMonthOf(monday, broadcast_year);
    if (month != previous_month) {
        const std::string marker = FiveWeekMarker(BroadcastWeekCount(month, broadcast_year));
        DrawText(page, marker + MonthName(month) + marker, TextX[1], text_y, context.FontBold,
                 RowSize, AlignLeft);
        if (week != 1) {
            DrawHLine(page, TableLeft, TableRight, row_y - 10, ColorBlack, MonthRule);
        }
    }

    for (std::int32_t weekday = 1; weekday <= 7; ++weekday) {
        std::int32_t calendar_month = 0; // 1..12
        std::int32_t day = 0;            // 1..31
        std::int32_t year = 0;
        JulianToMDY(monday + weekday - 1, calendar_month, day, year);
        DrawText(page, std::to_string(day),
                 TextX[static_cast<std::size_t>(weekday) + 1] + DateShift, text_y,
                 DayFont(context, calendar_month), RowSize, AlignRight);
    }

    DrawHLine(page, TableLeft, WeekRuleRight, row_y + 1, ColorBlack, ThinRule);
    DrawHLine(page, DaysLeft, TableRight, row_y + 1, ColorBlack, ThinRule);
    return month;
}

} // namespace

void DrawPlanningCalendar(DocumentContext& context) {
    HPDF_Page page = StartLayoutPage(
        context, {HPDF_PAGE_SIZE_LETTER, HPDF_PAGE_PORTRAIT, 0, 0, GeometryRule::Untouched});

    const std::int32_t year = context.Selection.StartYear;
    // From the Monday that opens week 1 to the last Sunday of December: 52
    // rows, or 53 when 1 January is a Sunday, or a Saturday in a leap year.
    const DayNumber first_monday = WeekdayOnOrBefore(JulianDate(1, 1, year), Monday);
    const DayNumber last_sunday = WeekdayOnOrBefore(JulianDate(12, 31, year), Sunday);

    DrawText(page, "BROADCAST CALENDAR " + std::to_string(year), PageCenter, TitleY,
             context.FontBold, 28, AlignCenter);
    DrawHLine(page, TableLeft, TableRight, TitleRuleY, ColorBlack, ThinRule);
    DrawColumnHeaders(context);

    std::int32_t week = 1;
    std::int32_t month = 0;
    context.CursorY = FirstRowY;
    for (DayNumber monday = first_monday; monday <= last_sunday; monday += 7) {
        month = DrawWeekRow(context, week, monday, context.CursorY, month);
        ++week;
        context.CursorY += RowPitch;
    }
    const std::int32_t last_row_y = context.CursorY - RowPitch;

    DrawHLine(page, TableLeft, TableRight, last_row_y + 1, ColorBlack, ThinRule);
    // The closing rule left the stroke black and 0.6 wide for these.
    for (const std::int32_t x : RuleX) {
        DrawVLine(page, x, HeaderBarBottom, 0, last_row_y - HeaderBarBottom + 1);
    }

    context.CursorY = last_row_y + LegendBelowLastRow;
    DrawText(page, Legend, PageCenter, context.CursorY, context.FontRegular, FooterSize,
             AlignCenter);
    context.CursorY += FooterPitch;
    DrawText(page, FiveWeekLegendPlanning, PageCenter, context.CursorY, context.FontRegular,
             FooterSize, AlignCenter);
    context.CursorY += FooterPitch;
    DrawText(page, CreditLine, PageCenter, context.CursorY, context.FontRegular, FooterSize,
             AlignCenter);
}

} // namespace kalvara
