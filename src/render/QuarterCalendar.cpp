#include "render/Layouts.h"
#include "render/MonthBlocks.h"
#include "render/PageSetup.h"
#include "render/Primitives.h"

#include <array>

namespace kalvara {

namespace {

// Entry 1: left x of the week column; entries 2..8: right edges of the
// Monday..Sunday columns.
constexpr std::array<std::int32_t, 9> Positions = {0, 78, 150, 214, 278, 342, 406, 470, 534};
constexpr std::array<const char*, 8> DayNames = {"",    "Mon", "Tue", "Wed",
                                                 "Thu", "Fri", "Sat", "Sun"};
constexpr std::int32_t FooterY = 748;
constexpr std::int32_t LinePitch = 31;

} // namespace

void DrawQuarterCalendar(DocumentContext& context, std::int32_t first_month) {
    HPDF_Page page = StartLayoutPage(context, {HPDF_PAGE_SIZE_LETTER, HPDF_PAGE_PORTRAIT, 72, 540,
                                               GeometryRule::FirstPageDecides});
    const std::int32_t left = context.LeftEdge;
    const std::int32_t right = context.RightEdge;
    const std::int32_t center = context.CenterX;
    const bool quarters = context.Selection.QuartersShown();
    // Longer labels ("13/1Q13") need room to the right of the plain number.
    const std::int32_t label_x = Positions[1] + (quarters ? 44 : 16);

    std::int32_t year = context.Selection.StartYear;
    std::int32_t month = first_month;

    DrawHLine(page, left, right, 26, ColorBlack, 0.5f);
    DrawText(page, "S T A N D A R D  B R O A D C A S T  C A L E N D A R", center, 39,
             context.FontBold, 16, AlignCenter);
    DrawHLine(page, left, right, 41, ColorBlack, 0.5f);

    for (std::int32_t block = 1; block <= 3; ++block) {
        BroadcastYearTable& years = context.Years;
        const std::int32_t top = 75 + 225 * (block - 1);
        const std::int32_t weeks = years.WeekCount(month); // 4 or 5
        const std::string marker = FiveWeekMarker(weeks);
        DrawText(page, marker + MonthName(month) + " " + std::to_string(year) + marker, center, top,
                 context.FontBold, 18, AlignCenter);
        DrawHLine(page, left, right, top + 4, ColorBlack, 0.3f);

        SetFillColor(page, ColorRed);
        DrawText(page, "Wk#", Positions[1], top + 17, context.FontBoldOblique, 10, AlignLeft);
        SetFillColor(page, ColorBlack);
        for (std::size_t c = 1; c <= 7; ++c) {
            DrawText(page, DayNames[c], Positions[c + 1], top + 17, context.FontBold, 12,
                     AlignRight);
        }
        DrawHLine(page, left + 5, right - 5, top + 19, ColorBlack, 0.1f);

        DayNumber day_number = years.First(month);
        for (std::int32_t line = 1; line <= weeks; ++line) {
            const std::int32_t y = top + 19 + LinePitch * line;
            for (std::size_t c = 1; c <= 7; ++c) {
                std::int32_t calendar_month = 0; // 1..12
                std::int32_t day = 0;            // 1..31
                std::int32_t calendar_year = 0;
                JulianToMDY(day_number, calendar_month, day, calendar_year);
                if (c == 1) {
                    const std::string label =
                        WeekLabel(context, month, day_number, PageWeekSeparator);
                    SetFillColor(page, ColorRed);
                    DrawText(page, label, label_x, y, context.FontBoldOblique, 13, AlignRight);
                    SetFillColor(page, ColorBlack);
                }
                DrawText(page, std::to_string(day), Positions[c + 1], y,
                         DayFont(context, calendar_month), 18, AlignRight);
                ++day_number;
            }
        }

        const std::int32_t bottom = top + 31 + LinePitch * weeks;
        DrawHLine(page, left, right, bottom, ColorBlack, 0.3f);
        DrawLine(page, left, top + 4, left, bottom, 0.3f);
        DrawLine(page, right, top + 4, right, bottom, 0.3f);

        // A run past December goes on with the next year's months, dates and
        // week numbers.
        ++month;
        if (month > 12) {
            month = 1;
            ++year;
            BuildBroadcastYear(year, years);
        }
    }

    DrawFooter(context, FooterY, 9, true);
}

} // namespace kalvara
