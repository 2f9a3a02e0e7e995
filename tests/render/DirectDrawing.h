#pragma once
// Drawing calls made straight on a document of the test's own, read back with
// mutool.

#include "PdfReadback.h"
#include "render/CalendarDocument.h"
#include "render/DocumentContext.h"
#include "render/PdfDocument.h"

namespace kalvara::test {

class DirectDrawing : public ::testing::Test {
protected:
    DirectDrawing() : context_(selection_, years_) {
        context_.Pdf = document_.Get();
        context_.FontRegular = HPDF_GetFont(document_.Get(), "Helvetica", nullptr);
        context_.FontBold = HPDF_GetFont(document_.Get(), "Helvetica-Bold", nullptr);
        context_.FontBoldOblique = HPDF_GetFont(document_.Get(), "Helvetica-BoldOblique", nullptr);
    }

    std::vector<PdfPage> ReadBack() {
        std::string bytes;
        EXPECT_TRUE(document_.SaveToMemory(bytes));
        EXPECT_EQ(state_.ErrorCount, 0);
        return ReadPdfBytes(bytes);
    }

    PdfRunState state_;
    PdfDocument document_{PdfErrorHandler, &state_};
    CalendarSelection selection_;
    BroadcastYearTable years_;
    DocumentContext context_;
};

} // namespace kalvara::test
