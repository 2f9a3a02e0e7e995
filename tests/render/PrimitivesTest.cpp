// The drawing primitives: top-down coordinates, alignment and the graphics
// state each one leaves for the next, as mutool reads them back.

#include "render/Primitives.h"

#include "PageExpect.h"

#include <cmath>
#include <gtest/gtest.h>

namespace kalvara {
namespace {

using namespace test;
using Primitives = DirectDrawing;

TEST_F(Primitives, ToPdfYAsksThePageHeightAndRoundsHalvesToEven) {
    const HPDF_Page page = AddPage();
    EXPECT_EQ(ToPdfY(page, 54), 738);
    EXPECT_EQ(ToPdfY(page, -10), 802);
    HPDF_Page_SetHeight(page, 612);
    EXPECT_EQ(ToPdfY(page, 54), 558);
    HPDF_Page_SetHeight(page, 612.5f);
    EXPECT_EQ(ToPdfY(page, 0), 612);
    HPDF_Page_SetHeight(page, 613.5f);
    EXPECT_EQ(ToPdfY(page, 0), 614);
}

// The layouts' tests place every alignment and colour; what they cannot see
// is how the shift is computed and what an unknown alignment does.
TEST_F(Primitives, CentredTextKeepsItsFractionAndUnknownAlignmentDrawsNothing) {
    const HPDF_Page page = AddPage();
    DrawText(page, "Centre", 100, 90, context_.FontRegular, 9, AlignCenter);
    // Path operators inside a text object left open would be a libharu error.
    DrawText(page, "Nowhere", 100, 100, context_.FontRegular, 12, static_cast<TextAlignment>(3));
    DrawLine(page, 10, 10, 20, 20, 1.0f);
    const auto read = ReadBack().at(0);
    EXPECT_TRUE(HasText(read, "Centre", Anchor::Centre, 100, 90, {Regular, 9}));
    // The shifted x is not rounded to whole points.
    const double centre_x = read.FindText("Centre")->X;
    EXPECT_FALSE(Near(centre_x, std::round(centre_x), 0.001)) << centre_x;
    EXPECT_EQ(read.Texts.size(), 1u);
    EXPECT_EQ(read.Strokes.size(), 1u);
}

TEST_F(Primitives, RulesRunTopDownAndLeaveTheStrokeBlack) {
    const HPDF_Page page = AddPage();
    DrawHLine(page, 72, 720, 54, ColorRed, 0.7f);
    // The vertical rules take the colour the red rule left behind: black, at
    // the same width.
    DrawVLine(page, 100, 100, 0, 50);
    DrawVLine(page, 120, 100, 10, 50);
    DrawLine(page, 72, 54, 80, 576, 0.3f);
    DrawVLine(page, 140, 200, 0, 5);
    const auto read = ReadBack().at(0);
    EXPECT_EQ(read.Strokes.size(), 5u);
    EXPECT_TRUE(HasRule(read, 72, 54, 720, 54, 0.7, true));
    EXPECT_TRUE(HasRule(read, 100, 100, 100, 150, 0.7));
    EXPECT_TRUE(HasRule(read, 120, 90, 120, 140, 0.7));
    EXPECT_TRUE(HasRule(read, 72, 54, 80, 576, 0.3));
    EXPECT_TRUE(HasRule(read, 140, 200, 140, 205, 0.3));
}

TEST_F(Primitives, FillBoxCoversAboveItsBottomEdgeAndResetsColours) {
    const HPDF_Page page = AddPage();
    FillBox(page, {0, 0, 0.6f}, 89, 36, 540, 13, 0);
    DrawText(page, "After", 40, 100, context_.FontRegular, 8, AlignLeft);
    DrawVLine(page, 40, 120, 0, 10);
    FillBox(page, ColorRed, 200, 36, 20, 10, 1);
    const auto read = ReadBack().at(0);
    ASSERT_EQ(read.Fills.size(), 2u);
    const auto& box = read.Fills[0];
    EXPECT_TRUE(box.Colour.Is(0, 0, 0.6));
    EXPECT_TRUE(Near(box.Left, 36) && Near(box.Right, 576));
    EXPECT_TRUE(Near(box.Top, 76) && Near(box.Bottom, 89));

    ASSERT_EQ(read.Strokes.size(), 3u);
    // Not outlined: the border is in the fill colour, 0.6 wide.
    EXPECT_TRUE(read.Strokes[0].Colour.Is(0, 0, 0.6));
    EXPECT_TRUE(Near(read.Strokes[0].Width, 0.6));
    // Afterwards text and strokes are black, at 0.6.
    EXPECT_TRUE(HasText(read, "After", Anchor::Left, 40, 100, {Regular, 8}));
    EXPECT_TRUE(HasRule(read, 40, 120, 40, 130, 0.6));
    // Outlined: a black border round a red box.
    EXPECT_TRUE(read.Fills[1].Colour.IsRed());
    EXPECT_TRUE(read.Strokes[2].Colour.IsBlack());
}

} // namespace
} // namespace kalvara
