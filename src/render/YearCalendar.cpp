#include "render/Layouts.h"
#include "render/MonthBlocks.h"
#include "render/PageSetup.h"
#include "render/Primitives.h"

#include <algorithm>
#include <array>

namespace kalvara {

namespace {

constexpr std::int32_t LeftBlockX = 54;
constexpr std::int32_t RightBlockX = 378;
constexpr std::int32_t LeftWeekNumberX = 280;
constexpr std::int32_t RightWeekNumberX = 345;
// Room for "14-2Q01" in the gap between the columns.
constexpr std::int32_t RightWeekNumberXWithQuarters = 363;
constexpr std::int32_t FirstPairY = 126;
constexpr std::int32_t RowPitch = 13;
constexpr std::int32_t FooterY = 748;

} // namespace

void DrawYearCalendar(DocumentContext& context) {
    HPDF_Page page = StartLayoutPage(
        context, {HPDF_PAGE_SIZE_LETTER, HPDF_PAGE_PORTRAIT, 54, 540, GeometryRule::EveryPage});

    ColumnOffsets offsets{};
    offsets[1] = 13;
    for (std::size_t i = 2; i <= 7; ++i) {
        offsets[i] = offsets[i - 1] + 27;
    }

    const std::int32_t center = context.CenterX;
    const std::string year_text = std::to_string(context.Selection.StartYear);
    DrawHLine(page, 154, 458, 49, ColorBlack, 0.7f);
    DrawHLine(page, 154, 458, 61, ColorBlack, 0.7f);
    DrawText(page, "S T A N D A R D  B R O A D C A S T  C A L E N D A R", center, 60,
             context.FontBold, 12, AlignCenter);
    SetFillColor(page, ColorRed);
    DrawText(page, year_text, center, 96, context.FontBold, 40, AlignCenter);
    SetFillColor(page, ColorBlack);

    const std::int32_t right_week_x =
        context.Selection.QuartersShown() ? RightWeekNumberXWithQuarters : RightWeekNumberX;
    const BroadcastYearTable& years = context.Years;
    std::int32_t pair_y = FirstPairY;
    for (std::int32_t k = 1; k <= 6; ++k) {
        const std::int32_t left_weeks = years.WeekCount(k);      // 4 or 5
        const std::int32_t right_weeks = years.WeekCount(k + 6); // 4 or 5
        const std::int32_t rows = std::max(left_weeks, right_weeks);

        const std::int32_t heading_y = pair_y + 15;
        DrawText(page, MonthName(k) + FiveWeekMarker(left_weeks), LeftBlockX, heading_y,
                 context.FontBold, 12, AlignLeft);
        DrawText(page, year_text, LeftBlockX + offsets[7], heading_y, context.FontBold, 12,
                 AlignRight);
        DrawText(page, MonthName(k + 6) + FiveWeekMarker(right_weeks), RightBlockX, heading_y,
                 context.FontBold, 12, AlignLeft);
        DrawText(page, year_text, RightBlockX + offsets[7], heading_y, context.FontBold, 12,
                 AlignRight);
        if (k == 1) {
            DrawText(page, "Wk", LeftWeekNumberX, pair_y + 13, context.FontBoldOblique, 11,
                     AlignRight);
            DrawText(page, "Wk", RightWeekNumberX, pair_y + 13, context.FontBoldOblique, 11,
                     AlignRight);
        }
        WeekdayHeader(context, LeftBlockX, pair_y + 26, offsets, 8);
        WeekdayHeader(context, RightBlockX, pair_y + 26, offsets, 8);

        DayNumber left_day = years.First(k);
        DayNumber right_day = years.First(k + 6);
        for (std::int32_t r = 1; r <= rows; ++r) {
            const std::int32_t y = pair_y + 39 + RowPitch * (r - 1);
            if (r <= left_weeks) {
                left_day = WeekRow(left_day, context, LeftBlockX, y, offsets, 12, LeftWeekNumberX);
            }
            if (r <= right_weeks) {
                right_day = WeekRow(right_day, context, RightBlockX, y, offsets, 12, right_week_x);
            }
        }
        pair_y += 39 + RowPitch * rows;
    }

    DrawFooter(context, FooterY, 7, true);
}

} // namespace kalvara
