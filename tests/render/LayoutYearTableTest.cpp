// The 3 Years and Keyboard strips layouts read their months from the
// program's year table; called with a table left at another year they must
// still print the selected one.

#include "PageExpect.h"
#include "render/Layouts.h"
#include "render/PdfDocument.h"
#include "support/TempFolder.h"

#include <fstream>
#include <gtest/gtest.h>

namespace kalvara {
namespace {

using namespace test;

// Runs one layout straight on a fresh document and reads the page back.
PdfReadback DrawDirectly(void (*layout)(DocumentContext&), const CalendarSelection& selection,
                         BroadcastYearTable& years, const TempFolder& folder) {
    PdfDocument document(nullptr, nullptr);
    DocumentContext context(selection, years);
    context.Pdf = document.Get();
    context.FontRegular = HPDF_GetFont(context.Pdf, "Helvetica", nullptr);
    context.FontBold = HPDF_GetFont(context.Pdf, "Helvetica-Bold", nullptr);
    context.FontBoldOblique = HPDF_GetFont(context.Pdf, "Helvetica-BoldOblique", nullptr);
    layout(context);
    std::string bytes;
    EXPECT_TRUE(document.SaveToMemory(bytes));
    const std::string path = folder.File("direct.pdf");
    std::ofstream(path, std::ios::binary) << bytes;
    return ReadPdfTrace(path);
}

TEST(LayoutYearTable, StaleTableStillPrintsTheSelectedYear) {
    TempFolder folder;
    BroadcastYearTable years;
    CalendarSelection selection;
    selection.StartYear = 2023;

    BuildBroadcastYear(1990, years);
    selection.Style = CalendarStyle::ThreeYears;
    const auto three_years = DrawDirectly(DrawThreeYearCalendar, selection, years, folder);
    ASSERT_EQ(three_years.Pages.size(), 1u) << three_years.Error;
    // Week 1 of 2023 opens on Monday 26 December 2022 and the year has 53 weeks.
    EXPECT_TRUE(HasText(three_years.Pages[0], "26", Anchor::Right, 84, 70, {Bold, 9}));
    EXPECT_TRUE(
        HasText(three_years.Pages[0], "53", Anchor::Right, 68, 747, {BoldOblique, 8, true}));

    BuildBroadcastYear(1990, years);
    selection.Style = CalendarStyle::KeyboardStrips;
    const auto strips = DrawDirectly(DrawKeyboardStrips, selection, years, folder);
    ASSERT_EQ(strips.Pages.size(), 1u) << strips.Error;
    EXPECT_EQ(strips.Pages[0].FindTexts("January*").size(), 9u);
    EXPECT_TRUE(HasText(strips.Pages[0], "26", Anchor::Right, 39, 54, {Bold, 7}));
}

} // namespace
} // namespace kalvara
