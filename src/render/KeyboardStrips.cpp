// Nine identical strips of the start year's twelve broadcast months on a
// landscape Legal page, each small enough to cut out and lay above a keyboard.

#include "render/Layouts.h"
#include "render/MonthBlocks.h"
#include "render/PageSetup.h"
#include "render/Primitives.h"

#include <string>

namespace kalvara {

namespace {

constexpr std::int32_t StripCount = 9;
constexpr std::int32_t FirstStripTop = 40;
// 62 leaves the lowest strip (top 536) room for a five-week month: its last
// row stands at 578 on the 612-point page.
constexpr std::int32_t StripPitch = 62;
constexpr std::int32_t BlockPitch = 79;
constexpr std::int32_t BlockWidth = 70;
constexpr std::int32_t LinePitch = 7;
constexpr std::int32_t TextSize = 7;
constexpr std::int32_t WeekdaySize = 6;

constexpr const char* WeekdayLetters[8] = {"", "M", "T", "W", "T", "F", "S", "S"};

// One month block with its top (the baseline of its label) at top.
void DrawMonthBlock(DocumentContext& context, std::int32_t month, std::int32_t x, std::int32_t top,
                    const std::string& year_text, const ColumnOffsets& offsets) {
    HPDF_Page page = context.Page;
    const std::int32_t weeks = context.Years.WeekCount(month); // 4 or 5
    DrawText(page, MonthName(month) + FiveWeekMarker(weeks), x, top, context.FontBold, TextSize,
             AlignLeft);
    DrawText(page, year_text, x + BlockWidth, top, context.FontBold, TextSize, AlignRight);
    DrawHLine(page, x, x + BlockWidth, top + 8, ColorBlack, 0.1f);
    for (std::int32_t weekday = 1; weekday <= 7; ++weekday) {
        const auto column = static_cast<std::size_t>(weekday);
        DrawText(page, WeekdayLetters[column], x + offsets[column], top + LinePitch,
                 context.FontRegular, WeekdaySize, AlignRight);
    }
    DayNumber monday = context.Years.First(month);
    for (std::int32_t week = 1; week <= weeks; ++week) {
        // The strips carry no week numbers, so no week-number x is needed.
        monday =
            WeekRow(monday, context, x, top + LinePitch + LinePitch * week, offsets, TextSize, 0);
    }
}

} // namespace

void DrawKeyboardStrips(DocumentContext& context) {
    // The right edge is that of the last block: 29 + 11 x 79 + 70.
    StartLayoutPage(context, {HPDF_PAGE_SIZE_LEGAL, HPDF_PAGE_LANDSCAPE, 29,
                              29 + 11 * BlockPitch + BlockWidth, GeometryRule::EveryPage});

    const std::int32_t year = context.Selection.StartYear;
    // The driver builds the start year; never print another year's weeks
    // under this year's labels.
    if (context.Years.Year != year) {
        BuildBroadcastYear(year, context.Years);
    }
    const std::string year_text = std::to_string(year);
    const ColumnOffsets offsets = {0, 10, 20, 30, 40, 50, 60, 70};

    for (std::int32_t strip = 1; strip <= StripCount; ++strip) {
        const std::int32_t top = FirstStripTop + StripPitch * (strip - 1);
        for (std::int32_t month = 1; month <= 12; ++month) {
            const std::int32_t x = context.LeftEdge + BlockPitch * (month - 1);
            DrawMonthBlock(context, month, x, top, year_text, offsets);
        }
    }
}

} // namespace kalvara
