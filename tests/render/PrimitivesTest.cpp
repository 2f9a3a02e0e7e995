// The drawing primitives: top-down coordinates, alignment and the graphics
// state each one leaves for the next, as mutool reads them back.

#include "render/Primitives.h"

#include "PdfReadback.h"
#include "render/CalendarDocument.h"
#include "render/PdfDocument.h"
#include "support/TempFolder.h"

#include <cmath>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>

namespace kalvara {
namespace {

using test::Near;

// One page of the given height, drawn by draw, saved and read back.
class PrimitivesPage : public ::testing::Test {
protected:
    test::PdfPageReadback Draw(float width, float height,
                               const std::function<void(HPDF_Page, HPDF_Font, HPDF_Font)>& draw) {
        PdfDocument document(PdfErrorHandler, &state_);
        HPDF_Page page = HPDF_AddPage(document.Get());
        HPDF_Page_SetWidth(page, width);
        HPDF_Page_SetHeight(page, height);
        HPDF_Font regular = HPDF_GetFont(document.Get(), "Helvetica", nullptr);
        HPDF_Font bold = HPDF_GetFont(document.Get(), "Helvetica-Bold", nullptr);
        draw(page, regular, bold);
        std::string bytes;
        EXPECT_TRUE(document.SaveToMemory(bytes));
        const std::string path = folder_.File("page.pdf");
        std::ofstream(path, std::ios::binary) << bytes;
        auto readback = test::ReadPdfTrace(path);
        EXPECT_EQ(readback.Error, "");
        EXPECT_EQ(readback.Pages.size(), 1u);
        return readback.Pages.empty() ? test::PdfPageReadback{} : readback.Pages.front();
    }

    PdfRunState state_;
    test::TempFolder folder_;
};

TEST_F(PrimitivesPage, ToPdfYAsksThePageHeightAndRoundsHalvesToEven) {
    Draw(612, 792, [](HPDF_Page page, HPDF_Font, HPDF_Font) {
        EXPECT_EQ(ToPdfY(page, 54), 738);
        EXPECT_EQ(ToPdfY(page, -10), 802);
        HPDF_Page_SetHeight(page, 612);
        EXPECT_EQ(ToPdfY(page, 54), 558);
        HPDF_Page_SetHeight(page, 612.5f);
        EXPECT_EQ(ToPdfY(page, 0), 612);
        HPDF_Page_SetHeight(page, 613.5f);
        EXPECT_EQ(ToPdfY(page, 0), 614);
    });
}

TEST_F(PrimitivesPage, TextBaselineAndAlignment) {
    const auto page = Draw(612, 792, [](HPDF_Page page, HPDF_Font regular, HPDF_Font bold) {
        DrawText(page, "Left", 100, 54, regular, 12, AlignLeft);
        DrawText(page, "Right", 100, 70, bold, 20, AlignRight);
        DrawText(page, "Centre", 100, 90, regular, 9, AlignCenter);
        SetFillColor(page, ColorRed);
        DrawText(page, "Red", 300, 100, bold, 14, AlignLeft);
        SetFillColor(page, ColorBlack);
        DrawText(page, "Black", 300, 120, bold, 14, AlignLeft);
    });
    const auto* left = page.FindText("Left");
    ASSERT_NE(left, nullptr);
    EXPECT_TRUE(Near(left->X, 100));
    EXPECT_TRUE(Near(left->Y, 54));
    EXPECT_EQ(left->Font, "Helvetica");
    EXPECT_TRUE(Near(left->Size, 12));

    const auto* right = page.FindText("Right");
    ASSERT_NE(right, nullptr);
    EXPECT_TRUE(Near(right->Right, 100)) << right->Right;
    EXPECT_EQ(right->Font, "Helvetica-Bold");
    EXPECT_TRUE(Near(right->Size, 20));

    const auto* centre = page.FindText("Centre");
    ASSERT_NE(centre, nullptr);
    EXPECT_TRUE(Near(centre->Center(), 100)) << centre->Center();
    // The shifted x is not rounded to whole points.
    EXPECT_FALSE(Near(centre->X, std::round(centre->X), 0.001)) << centre->X;

    ASSERT_NE(page.FindText("Red"), nullptr);
    EXPECT_TRUE(page.FindText("Red")->Colour.IsRed());
    ASSERT_NE(page.FindText("Black"), nullptr);
    EXPECT_TRUE(page.FindText("Black")->Colour.IsBlack());
}

TEST_F(PrimitivesPage, UnknownAlignmentDrawsNothingAndClosesItsTextObject) {
    const auto page = Draw(612, 792, [](HPDF_Page page, HPDF_Font regular, HPDF_Font) {
        DrawText(page, "Nowhere", 100, 100, regular, 12, static_cast<TextAlignment>(3));
        // Path operators inside an open text object would be a libharu error.
        DrawLine(page, 10, 10, 20, 20, 1.0f);
    });
    EXPECT_EQ(state_.ErrorCount, 0);
    EXPECT_TRUE(page.Texts.empty());
    EXPECT_EQ(page.Strokes.size(), 1u);
}

TEST_F(PrimitivesPage, RulesRunTopDownAndLeaveTheStrokeBlack) {
    const auto page = Draw(612, 792, [](HPDF_Page page, HPDF_Font, HPDF_Font) {
        DrawHLine(page, 72, 720, 54, ColorRed, 0.7f);
        DrawVLine(page, 100, 100, 0, 50);
        DrawVLine(page, 120, 100, 10, 50);
        DrawLine(page, 72, 54, 80, 576, 0.3f);
        DrawVLine(page, 140, 200, 0, 5);
    });
    ASSERT_EQ(page.Strokes.size(), 5u);
    const auto& hline = page.Strokes[0];
    EXPECT_TRUE(hline.Colour.IsRed());
    EXPECT_TRUE(Near(hline.Width, 0.7));
    EXPECT_TRUE(Near(hline.Points[0].X, 72) && Near(hline.Points[1].X, 720));
    EXPECT_TRUE(Near(hline.Points[0].Y, 54) && Near(hline.Points[1].Y, 54));

    // The vertical rule takes the colour the red rule left behind: black, at
    // the same width.
    const auto& vline = page.Strokes[1];
    EXPECT_TRUE(vline.Colour.IsBlack());
    EXPECT_TRUE(Near(vline.Width, 0.7));
    EXPECT_TRUE(Near(vline.Points[0].Y, 100) && Near(vline.Points[1].Y, 150));
    const auto& offset_line = page.Strokes[2];
    EXPECT_TRUE(Near(offset_line.Points[0].Y, 90) && Near(offset_line.Points[1].Y, 140));

    const auto& line = page.Strokes[3];
    EXPECT_TRUE(Near(line.Points[0].X, 72) && Near(line.Points[0].Y, 54));
    EXPECT_TRUE(Near(line.Points[1].X, 80) && Near(line.Points[1].Y, 576));
    EXPECT_TRUE(Near(line.Width, 0.3));
    EXPECT_TRUE(Near(page.Strokes[4].Width, 0.3));
}

TEST_F(PrimitivesPage, FillBoxCoversAboveItsBottomEdgeAndResetsColours) {
    const RgbColor blue{0, 0, 0.6f};
    const auto page = Draw(612, 792, [&](HPDF_Page page, HPDF_Font regular, HPDF_Font) {
        FillBox(page, blue, 89, 36, 540, 13, 0);
        DrawText(page, "After", 40, 100, regular, 8, AlignLeft);
        DrawVLine(page, 40, 120, 0, 10);
        FillBox(page, ColorRed, 200, 36, 20, 10, 1);
    });
    ASSERT_EQ(page.Fills.size(), 2u);
    const auto& box = page.Fills[0];
    EXPECT_TRUE(box.Colour.Is(0, 0, 0.6));
    EXPECT_TRUE(Near(box.Left(), 36) && Near(box.Right(), 576));
    EXPECT_TRUE(Near(box.Top(), 76) && Near(box.Bottom(), 89));

    ASSERT_EQ(page.Strokes.size(), 3u);
    // Not outlined: the border is in the fill colour, 0.6 wide.
    EXPECT_TRUE(page.Strokes[0].Colour.Is(0, 0, 0.6));
    EXPECT_TRUE(Near(page.Strokes[0].Width, 0.6));
    // Afterwards text and strokes are black, at 0.6.
    EXPECT_TRUE(page.FindText("After")->Colour.IsBlack());
    EXPECT_TRUE(page.Strokes[1].Colour.IsBlack());
    EXPECT_TRUE(Near(page.Strokes[1].Width, 0.6));
    // Outlined: a black border round a red box.
    EXPECT_TRUE(page.Fills[1].Colour.IsRed());
    EXPECT_TRUE(page.Strokes[2].Colour.IsBlack());
}

} // namespace
} // namespace kalvara
