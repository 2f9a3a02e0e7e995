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

// Reads PDF bytes back through a file of their own.
inline std::vector<PdfPageReadback> ReadBackBytes(const std::string& bytes) {
    TempFolder folder;
    const std::string path = folder.File("calendar.pdf");
    std::ofstream(path, std::ios::binary) << bytes;
    auto readback = ReadPdfTrace(path);
    EXPECT_EQ(readback.Error, "");
    return readback.Pages;
}

// The selection's document as the driver draws it.
inline std::vector<PdfPageReadback> RenderPages(const CalendarSelection& selection) {
    BroadcastYearTable years;
    PdfRunState state;
    std::string bytes;
    EXPECT_TRUE(RenderCalendarDocument(selection, years, state, bytes));
    return ReadBackBytes(bytes);
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
        return ReadBackBytes(bytes);
    }

    PdfRunState state_;
    PdfDocument document_{PdfErrorHandler, &state_};
    CalendarSelection selection_;
    BroadcastYearTable years_;
    DocumentContext context_;
};

} // namespace kalvara::test
