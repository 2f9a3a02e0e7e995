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

// Writes the selection to a file of its own and reads it back.
inline std::vector<PdfPageReadback> RenderPages(const CalendarSelection& selection) {
    TempFolder folder;
    BroadcastYearTable years;
    GenerateEnvironment environment;
    environment.OutputPath = folder.File("calendar.pdf");
    const auto result = GenerateCalendar(selection, years, environment);
    EXPECT_TRUE(result.Saved) << result.Problem;
    auto readback = ReadPdfTrace(environment.OutputPath);
    EXPECT_EQ(readback.Error, "");
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

    HPDF_Page AddPage() {
        context_.Page = HPDF_AddPage(document_.Get());
        return context_.Page;
    }

    std::vector<PdfPageReadback> ReadBack() {
        std::string bytes;
        EXPECT_TRUE(document_.SaveToMemory(bytes));
        EXPECT_EQ(state_.ErrorCount, 0);
        const std::string path = folder_.File("direct.pdf");
        std::ofstream(path, std::ios::binary) << bytes;
        auto readback = ReadPdfTrace(path);
        EXPECT_EQ(readback.Error, "");
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
