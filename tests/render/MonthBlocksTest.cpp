// The shared month blocks, drawn on a page of their own.

#include "render/MonthBlocks.h"

#include "PageExpect.h"
#include "render/CalendarDocument.h"
#include "render/PdfDocument.h"
#include "render/Primitives.h"
#include "support/TempFolder.h"

#include <fstream>
#include <gtest/gtest.h>

namespace kalvara {
namespace {

using namespace test;

constexpr ColumnOffsets YearOffsets = {0, 13, 40, 67, 94, 121, 148, 175};

class MonthBlocks : public ::testing::Test {
protected:
    MonthBlocks() : context_(selection_, years_) {
        context_.Pdf = document_.Get();
        context_.FontRegular = HPDF_GetFont(document_.Get(), "Helvetica", nullptr);
        context_.FontBold = HPDF_GetFont(document_.Get(), "Helvetica-Bold", nullptr);
        context_.FontBoldOblique = HPDF_GetFont(document_.Get(), "Helvetica-BoldOblique", nullptr);
        context_.Page = HPDF_AddPage(document_.Get());
        HPDF_Page_SetSize(context_.Page, HPDF_PAGE_SIZE_LETTER, HPDF_PAGE_PORTRAIT);
    }

    PdfPageReadback ReadBack() {
        std::string bytes;
        EXPECT_TRUE(document_.SaveToMemory(bytes));
        const std::string path = folder_.File("blocks.pdf");
        std::ofstream(path, std::ios::binary) << bytes;
        const auto readback = ReadPdfTrace(path);
        EXPECT_EQ(readback.Pages.size(), 1u);
        return readback.Pages.empty() ? PdfPageReadback{} : readback.Pages[0];
    }

    TempFolder folder_;
    PdfRunState state_;
    PdfDocument document_{PdfErrorHandler, &state_};
    CalendarSelection selection_;
    BroadcastYearTable years_;
    DocumentContext context_;
};

TEST_F(MonthBlocks, WeekdayHeaderRulesAndNames) {
    WeekdayHeader(context_, 54, 200, YearOffsets, 8);
    const auto page = ReadBack();
    EXPECT_TRUE(HasRule(page, 54, 194, 229, 194, 0.1));
    EXPECT_TRUE(HasRule(page, 54, 201, 229, 201, 0.1));
    const char* names[] = {"Mo", "Tu", "We", "Th", "Fr", "Sa", "Su"};
    for (std::size_t i = 0; i < 7; ++i) {
        EXPECT_TRUE(
            HasText(page, names[i], Anchor::Right, 54 + YearOffsets[i + 1], 200, {BoldOblique, 8}));
    }
}

TEST_F(MonthBlocks, WeekRowAcrossNewYearInTheYearStyle) {
    selection_.Style = CalendarStyle::Year;
    selection_.Preferences = ShowQuarters;
    BuildBroadcastYear(2026, years_);
    const DayNumber monday = JulianDate(12, 29, 2025);
    EXPECT_EQ(WeekRow(monday, context_, 54, 300, YearOffsets, 12, 280), monday + 7);
    const auto page = ReadBack();
    // December is even: bold; January odd: regular.
    EXPECT_TRUE(HasText(page, "29", Anchor::Right, 67, 300, {Bold, 12}));
    EXPECT_TRUE(HasText(page, "31", Anchor::Right, 121, 300, {Bold, 12}));
    EXPECT_TRUE(HasText(page, "1", Anchor::Right, 148, 300, {Regular, 12}));
    EXPECT_TRUE(HasText(page, "4", Anchor::Right, 229, 300, {Regular, 12}));
    // The label is red, bold-oblique and one point smaller.
    EXPECT_TRUE(HasText(page, "1-1Q01", Anchor::Right, 280, 300, {BoldOblique, 11, true}));
    EXPECT_EQ(page.Texts.size(), 8u);
}

TEST_F(MonthBlocks, WeekRowLabelsWeek53WithItsQuarter) {
    selection_.Style = CalendarStyle::ThreeYears;
    selection_.Preferences = ShowQuarters;
    BuildBroadcastYear(2017, years_);
    WeekRow(JulianDate(12, 25, 2017), context_, 76, 400, {0, 8, 24, 40, 56, 72, 88, 104}, 9, 68);
    selection_.Preferences = 0;
    WeekRow(JulianDate(12, 25, 2017), context_, 76, 420, {0, 8, 24, 40, 56, 72, 88, 104}, 9, 68);
    const auto page = ReadBack();
    EXPECT_TRUE(HasText(page, "53-4Q14", Anchor::Right, 68, 400, {BoldOblique, 8, true}));
    EXPECT_TRUE(HasText(page, "53", Anchor::Right, 68, 420, {BoldOblique, 8, true}));
}

TEST_F(MonthBlocks, WeekRowOfKeyboardStripsHasNoLabelAndLeavesTextBlack) {
    selection_.Style = CalendarStyle::KeyboardStrips;
    selection_.Preferences = ShowQuarters;
    BuildBroadcastYear(2025, years_);
    const DayNumber monday = JulianDate(3, 3, 2025);
    EXPECT_EQ(WeekRow(monday, context_, 29, 100, {0, 10, 20, 30, 40, 50, 60, 70}, 7, 0),
              monday + 7);
    selection_.Style = CalendarStyle::Year;
    WeekRow(monday, context_, 29, 200, YearOffsets, 12, 280);
    DrawText(context_.Page, "after", 300, 300, context_.FontRegular, 8, AlignLeft);
    const auto page = ReadBack();
    EXPECT_EQ(page.TextsOnBaseline(100).size(), 7u);
    EXPECT_TRUE(HasText(page, "9", Anchor::Right, 99, 100, {Regular, 7}));
    EXPECT_TRUE(page.FindText("after")->Colour.IsBlack());
}

} // namespace
} // namespace kalvara
