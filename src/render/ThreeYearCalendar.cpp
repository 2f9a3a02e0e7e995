// Three broadcast years side by side on portrait Letter: one column per year,
// each stacking its twelve months from top to bottom.

#include "render/Layouts.h"
#include "render/MonthBlocks.h"
#include "render/PageSetup.h"
#include "render/Primitives.h"

#include <array>
#include <string>

namespace kalvara {

namespace {

constexpr std::int32_t ColumnCount = 3;
constexpr std::array<std::int32_t, ColumnCount> ColumnCenters = {126, 306, 486};
// A month block starts 50 left of its column's centre and is 104 wide.
constexpr std::int32_t CenterToBlock = 50;
constexpr std::int32_t BlockWidth = 104;
// The red week numbers end just left of Monday's column.
constexpr std::int32_t BlockToWeekNumber = 8;

constexpr std::int32_t TitleRuleTopY = 19;
constexpr std::int32_t TitleRuleBottomY = 32;
constexpr std::int32_t TitleY = 30;
constexpr std::int32_t YearHeadingY = 46;
constexpr std::int32_t FirstMonthY = 55;
constexpr std::int32_t FooterY = 760;

// Name to weekday header, header to each week row, last week to next name:
// a month block is 19 + 9 x weeks high (55 for four weeks, 64 for five).
constexpr std::int32_t NameToHeader = 6;
constexpr std::int32_t RowPitch = 9;
constexpr std::int32_t AfterLastRow = 13;

constexpr std::int32_t DaySize = 9;

// Draws one year's twelve months down the column; years must hold that year.
void DrawYearColumn(DocumentContext& context, std::int32_t year, std::int32_t center,
                    const ColumnOffsets& offsets) {
    HPDF_Page page = context.Page;
    const std::int32_t block_x = center - CenterToBlock;
    const std::int32_t week_number_x = block_x - BlockToWeekNumber;

    SetFillColor(page, ColorRed);
    DrawText(page, std::to_string(year), center, YearHeadingY, context.FontBold, 14, AlignCenter);
    SetFillColor(page, ColorBlack);

    std::int32_t y = FirstMonthY;
    for (std::int32_t month = 1; month <= 12; ++month) {
        const std::int32_t weeks = context.Years.WeekCount(month); // 4 or 5
        const std::string marker = FiveWeekMarker(weeks);
        DrawText(page, marker + MonthName(month) + marker, center, y, context.FontBold, 9,
                 AlignCenter);
        if (month == 1) {
            SetFillColor(page, ColorRed);
            DrawText(page, "Wk#", week_number_x, y, context.FontBold, 8, AlignRight);
            SetFillColor(page, ColorBlack);
        }

        y += NameToHeader;
        DrawHLine(page, block_x, block_x + BlockWidth, y + 1, ColorBlack, 0.2f);
        for (std::int32_t weekday = 1; weekday <= 7; ++weekday) {
            DrawText(page, WeekdayName(weekday).substr(0, 2),
                     block_x + offsets[static_cast<std::size_t>(weekday)], y,
                     context.FontBoldOblique, 6, AlignRight);
        }

        DayNumber monday = context.Years.First(month);
        for (std::int32_t week = 1; week <= weeks; ++week) {
            y += RowPitch;
            monday = WeekRow(monday, context, block_x, y, offsets, DaySize, week_number_x);
        }
        y += AfterLastRow;
    }
}

} // namespace

void DrawThreeYearCalendar(DocumentContext& context) {
    HPDF_Page page = StartLayoutPage(
        context, {HPDF_PAGE_SIZE_LETTER, HPDF_PAGE_PORTRAIT, 72, 540, GeometryRule::EveryPage});

    const ColumnOffsets offsets = {0, 8, 24, 40, 56, 72, 88, 104};

    DrawHLine(page, context.LeftEdge + 80, context.RightEdge - 80, TitleRuleTopY, ColorBlack, 0.7f);
    DrawHLine(page, context.LeftEdge + 80, context.RightEdge - 80, TitleRuleBottomY, ColorBlack,
              0.7f);
    DrawText(page, "THREE YEAR STANDARD BROADCAST CALENDAR", context.CenterX, TitleY,
             context.FontBold, 12, AlignCenter);

    std::int32_t year = context.Selection.StartYear;
    // The driver builds the start year; a table left at another year would
    // put the wrong weeks under the first heading.
    if (context.Years.Year != year) {
        BuildBroadcastYear(year, context.Years);
    }
    for (const std::int32_t center : ColumnCenters) {
        DrawYearColumn(context, year, center, offsets);
        // The next column reads its own months and counts its weeks from its
        // own start.
        ++year;
        BuildBroadcastYear(year, context.Years);
    }

    DrawFooter(context, FooterY, 7, true);
}

} // namespace kalvara
