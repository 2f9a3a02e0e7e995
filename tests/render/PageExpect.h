#pragma once
// Calendars produced through the document driver, and drawing calls made
// straight on a document of the test's own, each read back with mutool; and
// assertions on the pages: a text with its anchor, baseline, font, size and
// colour, a rule with its end points, width and colour.

#include "PdfReadback.h"
#include "render/CalendarDocument.h"
#include "render/DocumentContext.h"
#include "render/PdfDocument.h"
#include "support/TempFolder.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace kalvara::test {

enum class Anchor { Left, Right, Centre };

struct TextStyle {
    std::string_view Font;
    double Size = 0;
    bool Red = false;
};

inline constexpr std::string_view Regular = "Helvetica";
inline constexpr std::string_view Bold = "Helvetica-Bold";
inline constexpr std::string_view BoldOblique = "Helvetica-BoldOblique";

inline double AnchorX(const PdfTextRun& run, Anchor anchor) {
    return anchor == Anchor::Left ? run.X : anchor == Anchor::Right ? run.Right : run.Center();
}

inline std::string Describe(const PdfTextRun& run) {
    std::ostringstream out;
    out << "'" << run.Text << "' " << run.Font << " " << run.Size << " at x " << run.X << ".."
        << run.Right << " y " << run.Y << " colour " << run.Colour.Red << "," << run.Colour.Green
        << "," << run.Colour.Blue;
    return out.str();
}

// Exactly one run of the text is anchored at (x, y), in the style given.
inline ::testing::AssertionResult HasText(const PdfPageReadback& page, std::string_view text,
                                          Anchor anchor, double x, double y,
                                          const TextStyle& style) {
    const PdfTextRun* match = nullptr;
    int matches = 0;
    std::ostringstream runs;
    for (const PdfTextRun* run : page.FindTexts(text)) {
        runs << "\n  " << Describe(*run);
        if (Near(run->Y, y) && Near(AnchorX(*run, anchor), x, 0.02)) {
            match = run;
            ++matches;
        }
    }
    if (matches != 1) {
        return ::testing::AssertionFailure()
               << matches << " runs of '" << text << "' anchored at " << x << ", " << y
               << "; runs of that text:" << runs.str();
    }
    if (match->Font != style.Font || !Near(match->Size, style.Size) ||
        !(style.Red ? match->Colour.IsRed() : match->Colour.IsBlack())) {
        return ::testing::AssertionFailure()
               << "wrong style: " << Describe(*match) << "; wanted " << style.Font << " "
               << style.Size << (style.Red ? " red" : " black");
    }
    return ::testing::AssertionSuccess();
}

// Exactly one two-point stroke runs from (x1, y1) to (x2, y2), black unless
// red, of the width given.
inline ::testing::AssertionResult HasRule(const PdfPageReadback& page, double x1, double y1,
                                          double x2, double y2, double width, bool red = false) {
    int matches = 0;
    for (const auto& stroke : page.Strokes) {
        if (stroke.Points.size() != 2 || !Near(stroke.Points[0].X, x1) ||
            !Near(stroke.Points[0].Y, y1) || !Near(stroke.Points[1].X, x2) ||
            !Near(stroke.Points[1].Y, y2)) {
            continue;
        }
        ++matches;
        if (!Near(stroke.Width, width, 0.001) ||
            !(red ? stroke.Colour.IsRed() : stroke.Colour.IsBlack())) {
            return ::testing::AssertionFailure()
                   << "rule from " << x1 << "," << y1 << " has width " << stroke.Width << " colour "
                   << stroke.Colour.Red << "," << stroke.Colour.Green << "," << stroke.Colour.Blue;
        }
    }
    if (matches != 1) {
        return ::testing::AssertionFailure()
               << matches << " rules from " << x1 << "," << y1 << " to " << x2 << "," << y2;
    }
    return ::testing::AssertionSuccess();
}

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
