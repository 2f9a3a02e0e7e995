// The sizing of the message box, with a text measure where every character
// is one column wide (two in font 7) and every line one row high.

#include "msgbox/MessageBoxLayout.h"

#include <cmath>
#include <gtest/gtest.h>
#include <random>

namespace kalvara::msgbox {
namespace {

LineExtent FixedMeasure(int font, const std::string& line) {
    const double perCharacter = font == 7 ? 2.0 : 1.0;
    return {perCharacter * static_cast<double>(line.size()), 1.0};
}

MessageBoxLayout LayOut(MessageBoxRequest request) {
    return ComputeMessageBoxLayout(request, FixedMeasure);
}

TEST(MsgBoxLayout, NoticeSizesToItsTextAndCentresItsButton) {
    MessageBoxRequest request;
    request.title = "Drive Error";
    request.text1 = "Hello world{f0}"; // 11 columns
    request.buttons = "&OK{G,f7}";     // "OK" in font 7 is 4 columns: stays 8 wide
    request.initialValue = 1;
    request.options = "C";
    const MessageBoxLayout layout = LayOut(request);

    ASSERT_TRUE(layout.text1.present);
    EXPECT_FALSE(layout.text2.present || layout.check.present);
    // Block: 11 + 1 wide, one row, at the cursor 0.5 and the left margin 1.
    EXPECT_DOUBLE_EQ(layout.text1.box.column, 1.0);
    EXPECT_DOUBLE_EQ(layout.text1.box.row, 0.5);
    EXPECT_DOUBLE_EQ(layout.text1.box.width, 12.0);
    EXPECT_DOUBLE_EQ(layout.text1.box.height, 1.0);
    // Form: 1 + 12 + 1 wide; 0.5 + 1 + 1.5 + 2 * 0.5 high.
    EXPECT_DOUBLE_EQ(layout.width, 14.0);
    EXPECT_DOUBLE_EQ(layout.height, 4.0);
    ASSERT_EQ(layout.buttons.size(), 1u);
    const ButtonLayout& ok = layout.buttons[0];
    EXPECT_DOUBLE_EQ(ok.box.width, 8.0);
    EXPECT_DOUBLE_EQ(ok.box.row, 2.0);    // 4 - 1.5 - 0.5
    EXPECT_DOUBLE_EQ(ok.box.column, 3.0); // 1 + 12 / 2 - 8 / 2
}

TEST(MsgBoxLayout, ButtonRowLeftCentredOrJustified) {
    MessageBoxRequest request;
    request.text1 = "A fairly long first line of text"; // 32 columns, block 33
    request.buttons = "*{G}|&Yes|&No";                  // 8 + 1 + 8 = 17
    request.options = "";
    const MessageBoxLayout left = LayOut(request);
    EXPECT_DOUBLE_EQ(left.width, 35.0);
    EXPECT_DOUBLE_EQ(left.buttons[0].box.column, 1.0);
    EXPECT_DOUBLE_EQ(left.buttons[1].box.column, 10.0);

    request.options = "c";
    const MessageBoxLayout centred = LayOut(request);
    EXPECT_DOUBLE_EQ(centred.buttons[0].box.column, 1.0 + 33.0 / 2 - 17.0 / 2);

    request.options = "CJ"; // J takes precedence over C
    const MessageBoxLayout justified = LayOut(request);
    EXPECT_DOUBLE_EQ(justified.buttons[0].box.column, 35.0 - 1.0 - 17.0);
    EXPECT_DOUBLE_EQ(justified.buttons[1].box.column + justified.buttons[1].box.width, 34.0);
}

TEST(MsgBoxLayout, ButtonsGrowToTheirCaptionsAndWEqualisesThem) {
    MessageBoxRequest request;
    request.buttons = "*{G,f7}|&Get Help on This Problem|&Continue";
    const MessageBoxLayout layout = LayOut(request);
    ASSERT_EQ(layout.buttons.size(), 2u);
    // "Get Help on This Problem" is 24 characters, 48 columns in font 7.
    EXPECT_DOUBLE_EQ(layout.buttons[0].box.width, 49.0);
    EXPECT_DOUBLE_EQ(layout.buttons[1].box.width, 17.0);
    request.options = "w";
    const MessageBoxLayout equal = LayOut(request);
    EXPECT_DOUBLE_EQ(equal.buttons[1].box.width, 49.0);
    EXPECT_DOUBLE_EQ(equal.buttons[1].box.column, 1.0 + 49.0 + 1.0);
}

TEST(MsgBoxLayout, PerButtonOverridesAlignAtTheBottomOfTheRow) {
    MessageBoxRequest request;
    request.buttons = "*{3,w10}|Tall{h3,e}|Low";
    const MessageBoxLayout layout = LayOut(request);
    ASSERT_EQ(layout.buttons.size(), 2u);
    const Box& tall = layout.buttons[0].box;
    const Box& low = layout.buttons[1].box;
    EXPECT_DOUBLE_EQ(tall.width, 10.0);
    EXPECT_DOUBLE_EQ(tall.height, 3.0);
    EXPECT_DOUBLE_EQ(low.height, 1.5);
    EXPECT_DOUBLE_EQ(tall.row + tall.height, low.row + low.height);
    EXPECT_DOUBLE_EQ(layout.height, 0.5 + 3.0 + 1.0); // empty texts: cursor 0.5
}

TEST(MsgBoxLayout, LinesBreakAtBarsAndWrapAtW) {
    MessageBoxRequest request;
    request.text1 = "short|a much longer line";
    const MessageBoxLayout bars = LayOut(request);
    EXPECT_EQ(bars.text1.lines, (std::vector<std::string>{"short", "a much longer line"}));
    EXPECT_DOUBLE_EQ(bars.text1.box.height, 2.0);
    EXPECT_DOUBLE_EQ(bars.width, 1.0 + 19.0 + 1.0); // the widest line decides

    request.text1 = "aaa bbb ccc dddddddddddd{w7}";
    request.text2 = "|An error has occurred";
    const MessageBoxLayout wrapped = LayOut(request);
    EXPECT_EQ(wrapped.text1.lines, (std::vector<std::string>{"aaa bbb", "ccc", "dddddddddddd"}));
    EXPECT_DOUBLE_EQ(wrapped.text1.box.height, 3.0);
    // Text 2 starts right below text 1; its leading bar is an empty line.
    EXPECT_DOUBLE_EQ(wrapped.text2.box.row, 0.5 + 3.0);
    EXPECT_DOUBLE_EQ(wrapped.text2.box.height, 2.0);
    EXPECT_DOUBLE_EQ(wrapped.text1.box.width, wrapped.text2.box.width);
}

TEST(MsgBoxLayout, BlankTextsTakeNoRoom) {
    MessageBoxRequest request;
    request.text1 = "   {f10}";
    request.text2 = "Second";
    const MessageBoxLayout layout = LayOut(request);
    EXPECT_FALSE(layout.text1.present);
    EXPECT_DOUBLE_EQ(layout.text2.box.row, 0.5);
}

TEST(MsgBoxLayout, CheckBoxSizeAndCentring) {
    MessageBoxRequest request;
    request.text1 = "A text of twenty-one"; // 20 + 1
    request.checkText = "Don't show{f7}";   // 20 columns in font 7 + 3
    request.options = "C";
    request.initialValue = -2;
    const MessageBoxLayout layout = LayOut(request);
    ASSERT_TRUE(layout.check.present);
    EXPECT_TRUE(layout.checkTicked);
    EXPECT_DOUBLE_EQ(layout.check.box.width, 23.0);
    EXPECT_DOUBLE_EQ(layout.check.box.height, 1.5);
    EXPECT_DOUBLE_EQ(layout.check.box.row, 1.5);
    EXPECT_DOUBLE_EQ(layout.width, 25.0);
    EXPECT_DOUBLE_EQ(layout.check.box.column, 1.0); // already the widest
    request.text1 = "A text that is much wider than the box";
    const MessageBoxLayout wide = LayOut(request);
    EXPECT_DOUBLE_EQ(wide.check.box.column, 1.0 + 39.0 / 2 - 23.0 / 2);
}

TEST(MsgBoxLayout, LargerSpacingWithL) {
    MessageBoxRequest request;
    request.text1 = "Text";
    request.buttons = "OK";
    request.options = "L";
    const MessageBoxLayout layout = LayOut(request);
    EXPECT_DOUBLE_EQ(layout.text1.box.column, 2.0);
    EXPECT_DOUBLE_EQ(layout.text1.box.row, 1.0);
    EXPECT_DOUBLE_EQ(layout.width, 2.0 + 8.0 + 2.0);
    EXPECT_DOUBLE_EQ(layout.height, 1.0 + 1.0 + 1.5 + 2.0);
}

TEST(MsgBoxLayout, TitleMinimumSizeWidensAndCentresVertically) {
    MessageBoxRequest request;
    request.title = "Title{w40,h12}";
    request.text1 = "Text";
    request.buttons = "OK";
    request.options = "J";
    const MessageBoxLayout layout = LayOut(request);
    EXPECT_DOUBLE_EQ(layout.width, 40.0);
    EXPECT_DOUBLE_EQ(layout.text1.box.width, 38.0);
    EXPECT_DOUBLE_EQ(layout.height, 12.0);
    // Natural height 0.5 + 1 + 1.5 + 1 = 4: the text moves down by 4.
    EXPECT_DOUBLE_EQ(layout.text1.box.row, 0.5 + 4.0);
    EXPECT_DOUBLE_EQ(layout.buttons[0].box.row, 12.0 - 1.5 - 0.5);
    EXPECT_DOUBLE_EQ(layout.buttons[0].box.column, 40.0 - 1.0 - 8.0);
}

TEST(MsgBoxLayout, PictureTakesTheLeftColumn) {
    MessageBoxRequest request;
    request.text1 = "Text";
    request.pictureColumns = 6.0;
    request.pictureRows = 5.0;
    const MessageBoxLayout layout = LayOut(request);
    EXPECT_TRUE(layout.showPicture);
    EXPECT_DOUBLE_EQ(layout.picture.column, 1.0);
    EXPECT_DOUBLE_EQ(layout.picture.row, 0.5);
    EXPECT_DOUBLE_EQ(layout.text1.box.column, 7.0);
    EXPECT_DOUBLE_EQ(layout.height, 6.0); // 5 + 2 * 0.5
    request.pictureColumns = 2.0;         // a picture no wider than its padding
    EXPECT_FALSE(LayOut(request).showPicture);
}

bool IsSane(const Box& box) {
    return std::isfinite(box.column) && std::isfinite(box.row) && box.column >= 0 && box.row >= 0 &&
           box.width >= 0 && box.height >= 0 && std::isfinite(box.width) &&
           std::isfinite(box.height);
}

TEST(MsgBoxLayout, ArbitraryMarkupNeverGivesNegativeSizes) {
    const std::string alphabet = "{}|,*&wWhHfFtTbBgG3rReEcCjJlL0123456789.-+ abc";
    std::mt19937 random(20240601);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::uniform_int_distribution<int> length(0, 40);
    const auto text = [&] {
        std::string s;
        for (int n = length(random); n > 0; --n) {
            s += alphabet[pick(random)];
        }
        return s;
    };
    for (int round = 0; round < 2000; ++round) {
        MessageBoxRequest request;
        request.title = text();
        request.text1 = text();
        request.text2 = text();
        request.checkText = text();
        request.buttons = text();
        request.options = text();
        request.initialValue = static_cast<int>(random());
        const MessageBoxLayout layout = LayOut(request);
        ASSERT_GE(layout.width, 0) << request.title;
        ASSERT_GE(layout.height, 0);
        ASSERT_TRUE(std::isfinite(layout.width) && std::isfinite(layout.height));
        ASSERT_LE(layout.buttons.size(), 10u);
        for (const TextBlockLayout* block : {&layout.text1, &layout.text2, &layout.check}) {
            ASSERT_TRUE(IsSane(block->box)) << request.text1;
        }
        for (const ButtonLayout& button : layout.buttons) {
            ASSERT_TRUE(IsSane(button.box)) << request.buttons << " / " << request.options;
            ASSERT_LE(button.box.column + button.box.width, layout.width + 1e-9);
        }
    }
}

} // namespace
} // namespace kalvara::msgbox
