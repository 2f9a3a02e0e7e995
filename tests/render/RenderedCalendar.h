#pragma once
// Calendars produced through the document driver, and drawing calls made
// straight on a document of the test's own, each read back with mutool.

#include "PdfReadback.h"
#include "render/CalendarDocument.h"
#include "render/DocumentContext.h"
#include "render/PdfDocument.h"
#include "support/TempFolder.h"

#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kalvara::test {

inline CalendarSelection Selection(CalendarStyle style, std::int32_t year,
                                   std::int32_t period = AllPeriods,
                                   PreferenceSet preferences = 0) {
    CalendarSelection selection;
    selection.Style = style;
    selection.StartYear = year;
    selection.Period = period;
    selection.Preferences = preferences;
    return selection;
}

// Writes the selection to a file of its own (the file number is not touched)
// and reads it back; the test fails unless that gives `pages` pages. years is
// left as the run left it.
inline std::vector<PdfPageReadback> RenderPages(const CalendarSelection& selection,
                                                std::size_t pages,
                                                BroadcastYearTable* years = nullptr) {
    TempFolder folder;
    BroadcastYearTable own_years;
    GenerateEnvironment environment;
    environment.SettingsFile = folder.File("Zorv.ini");
    environment.OutputFolder = folder.File("PDF/");
    environment.OutputPath = folder.File("calendar.pdf");
    const auto result = GenerateCalendar(selection, years ? *years : own_years, environment);
    EXPECT_TRUE(result.Saved) << result.Problem;
    auto readback = ReadPdfTrace(environment.OutputPath);
    EXPECT_EQ(readback.Pages.size(), pages) << readback.Error;
    return readback.Pages;
}

class DirectDrawing : public ::testing::Test {
protected:
    DirectDrawing() : context_(selection_, years_) {
        context_.Pdf = document_.Get();
        context_.FontRegular = HPDF_GetFont(document_.Get(), "Helvetica", nullptr);
        context_.FontBold = HPDF_GetFont(document_.Get(), "Helvetica-Bold", nullptr);
        context_.FontBoldOblique = HPDF_GetFont(document_.Get(), "Helvetica-BoldOblique", nullptr);
    }

    HPDF_Page AddPage(float width = 612, float height = 792) {
        context_.Page = HPDF_AddPage(document_.Get());
        HPDF_Page_SetWidth(context_.Page, width);
        HPDF_Page_SetHeight(context_.Page, height);
        return context_.Page;
    }

    std::vector<PdfPageReadback> ReadBack(std::size_t pages = 1) {
        std::string bytes;
        EXPECT_TRUE(document_.SaveToMemory(bytes));
        EXPECT_EQ(state_.ErrorCount, 0);
        const std::string path = folder_.File("direct.pdf");
        std::ofstream(path, std::ios::binary) << bytes;
        auto readback = ReadPdfTrace(path);
        EXPECT_EQ(readback.Pages.size(), pages) << readback.Error;
        return readback.Pages;
    }

    TempFolder folder_;
    PdfRunState state_;
    PdfDocument document_{PdfErrorHandler, &state_};
    CalendarSelection selection_;
    BroadcastYearTable years_;
    DocumentContext context_;
};

} // namespace kalvara::test
