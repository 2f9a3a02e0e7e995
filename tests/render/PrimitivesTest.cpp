#include "render/Primitives.h"

#include "PdfReadback.h"
#include "render/CalendarDocument.h"
#include "render/PdfDocument.h"

#include <cmath>

namespace kalvara {
namespace {

using namespace test;

std::vector<std::string> Paths(const std::vector<PdfPath>& paths) {
    std::vector<std::string> lines;
    for (const auto& path : paths) {
        std::string& line = lines.emplace_back();
        for (const auto& point : path.Points) {
            line += fmt::format("{},{} ", point.X, point.Y);
        }
        line += fmt::format("w{} {}", path.Width, path.Colour);
    }
    return lines;
}

// The layouts rely on the state each call leaves: a vertical rule takes the
// colour and width of the drawing before it.
TEST(Primitives, EachCallLeavesTheStateTheNextReliesOn) {
    PdfRunState state;
    PdfDocument document(PdfErrorHandler, &state);
    HPDF_Page page = HPDF_AddPage(document.Get());
    HPDF_Font font = HPDF_GetFont(document.Get(), "Helvetica", nullptr);
    HPDF_Page_SetHeight(page, 792);
    DrawText(page, "Centre", 100, 90, font, 9, AlignCenter);
    // A text object left open would make the path operators a libharu error.
    DrawText(page, "Nowhere", 100, 100, font, 12, static_cast<TextAlignment>(3));
    DrawHLine(page, 72, 720, 54, ColorRed, 0.7f);
    DrawVLine(page, 100, 100, 10, 50);
    DrawLine(page, 72, 54, 80, 576, 0.3f);
    DrawVLine(page, 140, 200, 0, 5);
    FillBox(page, {0, 0, 0.6f}, 89, 36, 540, 13, 0);
    DrawText(page, "After", 40, 100, font, 8, AlignLeft);
    DrawVLine(page, 40, 120, 0, 10);
    FillBox(page, ColorRed, 200, 36, 20, 10, 1);
    std::string bytes;
    ASSERT_TRUE(document.SaveToMemory(bytes) && state.ErrorCount == 0);
    const auto read = ReadPdfBytes(bytes).at(0);
    ASSERT_EQ(read.Texts.size(), 2u);
    const auto& centre = read.Texts[0];
    EXPECT_NEAR((centre.X + centre.Right) / 2, 100, 0.02);
    EXPECT_NEAR(centre.Y, 90, 0.01);
    EXPECT_GT(std::fabs(centre.X - std::round(centre.X)), 0.001) << "the shift is rounded";
    EXPECT_TRUE(read.Texts[1].Colour == "0 0 0" && std::fabs(read.Texts[1].X - 40) < 0.01);
    // A box covers the height above its bottom edge; without an outline its
    // border is in the fill colour, with one black.
    EXPECT_EQ(Paths(read.Fills),
              (std::vector<std::string>{"36,89 576,89 576,76 36,76 w0 0 0 0.6",
                                        "36,200 56,200 56,190 36,190 w0 1 0 0"}));
    EXPECT_EQ(Paths(read.Strokes),
              (std::vector<std::string>{
                  "72,54 720,54 w0.7 1 0 0", "100,90 100,140 w0.7 0 0 0", "72,54 80,576 w0.3 0 0 0",
                  "140,200 140,205 w0.3 0 0 0", "36,89 576,89 576,76 36,76 w0.6 0 0 0.6",
                  "40,120 40,130 w0.6 0 0 0", "36,200 56,200 56,190 36,190 w0.6 0 0 0"}));
}

} // namespace
} // namespace kalvara
