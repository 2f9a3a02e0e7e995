// The sizing of the message box, with a text measure where every character
// is one column wide (two in font 7) and every line one row high. Arbitrary
// mark-up is left to the MessageBoxFuzz corpus.

#include "msgbox/MessageBoxLayout.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numeric>

namespace kalvara::msgbox {
namespace {

using Lines = std::vector<std::string>;

MessageBoxLayout LayOut(const MessageBoxRequest& request) {
    return ComputeMessageBoxLayout(request, [](int font, const std::string& line) {
        return LineExtent{(font == 7 ? 2.0 : 1.0) * static_cast<double>(line.size()), 1.0};
    });
}

void ExpectBox(const Box& box, double column, double row, double width, double height) {
    EXPECT_DOUBLE_EQ(box.column, column);
    EXPECT_DOUBLE_EQ(box.row, row);
    EXPECT_DOUBLE_EQ(box.width, width);
    EXPECT_DOUBLE_EQ(box.height, height);
}

std::string Joined(Lines::const_iterator begin, Lines::const_iterator end) {
    return std::accumulate(begin, end, std::string());
}

// The text is 32 columns, its block 33 wide; the row is 8 + 1 + 8.
TEST(MsgBoxLayout, TextSizesTheBoxAndTheButtonRowSitsLeftCentredOrJustified) {
    MessageBoxRequest request{.text1 = "A fairly long first line of text{f0}",
                              .buttons = "*{G}|&Yes|&No"};
    for (const auto& [options, first] :
         {std::pair{"", 1.0}, {"c", 1.0 + 33.0 / 2 - 17.0 / 2}, {"CJ", 35.0 - 1.0 - 17.0}}) {
        SCOPED_TRACE(options);
        request.options = options;
        const MessageBoxLayout layout = LayOut(request);
        ExpectBox(layout.text1.box, 1.0, 0.5, 33.0, 1.0);
        EXPECT_FALSE(layout.text2.present || layout.check.present);
        EXPECT_DOUBLE_EQ(layout.width, 1.0 + 33.0 + 1.0);
        EXPECT_DOUBLE_EQ(layout.height, 0.5 + 1.0 + 1.5 + 2 * 0.5);
        ExpectBox(layout.buttons[0].box, first, 4.0 - 1.5 - 0.5, 8.0, 1.5);
        EXPECT_DOUBLE_EQ(layout.buttons[1].box.column, first + 9.0);
    }
}

TEST(MsgBoxLayout, ButtonsGrowToTheirCaptionsAlignAtTheBottomAndWEqualisesThem) {
    // "Get Help on This Problem" is 24 characters, 48 columns in font 7.
    MessageBoxRequest request{.buttons = "*{G,f7}|&Get Help on This Problem|&Continue{h3}"};
    const MessageBoxLayout layout = LayOut(request);
    ASSERT_EQ(layout.buttons.size(), 2u);
    const Box& help = layout.buttons[0].box;
    const Box& next = layout.buttons[1].box;
    EXPECT_DOUBLE_EQ(help.width, 49.0);
    EXPECT_DOUBLE_EQ(next.width, 17.0);
    EXPECT_DOUBLE_EQ(help.row + help.height, next.row + next.height);
    EXPECT_DOUBLE_EQ(layout.height, 0.5 + 3.0 + 1.0); // empty texts take no room
    request.options = "w";
    const MessageBoxLayout equal = LayOut(request);
    EXPECT_DOUBLE_EQ(equal.buttons[1].box.width, 49.0);
    EXPECT_DOUBLE_EQ(equal.buttons[1].box.column, 1.0 + 49.0 + 1.0);
}

TEST(MsgBoxLayout, LinesBreakAtBarsAndWrapAtWAndBlankTextsTakeNoRoom) {
    const MessageBoxLayout bars = LayOut({.text1 = "short|a much longer line"});
    EXPECT_EQ(bars.text1.lines, (Lines{"short", "a much longer line"}));
    EXPECT_DOUBLE_EQ(bars.text1.box.height, 2.0);
    EXPECT_DOUBLE_EQ(bars.width, 1.0 + 19.0 + 1.0); // the widest line decides

    const MessageBoxLayout wrapped =
        LayOut({.text1 = "aaa bbb ccc dddddddddddd{w7}", .text2 = "|An error has occurred"});
    EXPECT_EQ(wrapped.text1.lines, (Lines{"aaa bbb", "ccc", "dddddddddddd"}));
    // Text 2 starts right below text 1; its leading bar is an empty line.
    ExpectBox(wrapped.text2.box, 1.0, 0.5 + 3.0, wrapped.text1.box.width, 2.0);

    const MessageBoxLayout blank = LayOut({.text1 = "   {f10}", .text2 = "Second"});
    EXPECT_FALSE(blank.text1.present);
    EXPECT_DOUBLE_EQ(blank.text2.box.row, 0.5);
}

TEST(MsgBoxLayout, ScreenBoundWrapsAtBlanksAndBreaksAnAddressWithoutLosingText) {
    // 1280 x 800 pixels less a margin, at 8 x 16 pixels a character unit.
    const std::string address = "https://updates.example.org/" + std::string(272, 'x');
    const MessageBoxLayout layout = LayOut({.text1 = "The update could not be read from " + address,
                                            .text2 = address + "{f7}",
                                            .buttons = "&OK{G,f7}",
                                            .options = "C",
                                            .maxWidth = 154.0,
                                            .maxHeight = 47.0});
    EXPECT_TRUE(layout.width <= 154.0 && layout.height <= 47.0);
    // Text 1 breaks at its blank first; the address is cut only where it must be.
    EXPECT_EQ(layout.text1.lines[0], "The update could not be read from");
    EXPECT_EQ(Joined(layout.text1.lines.begin() + 1, layout.text1.lines.end()), address);
    EXPECT_EQ(Joined(layout.text2.lines.begin(), layout.text2.lines.end()), address);
    for (const std::string& line : layout.text2.lines) {
        EXPECT_LE(2.0 * static_cast<double>(line.size()), 154.0 - 2.0 - 1.0);
    }

    // Texts that fit are left alone, and a W narrower than the bound still rules.
    const MessageBoxLayout fits =
        LayOut({.text1 = "aaa bbb ccc{w7}", .text2 = "short line", .maxWidth = 154.0});
    EXPECT_EQ(fits.text1.lines, (Lines{"aaa bbb", "ccc"}));
    EXPECT_EQ(fits.text2.lines, (Lines{"short line"}));
}

TEST(MsgBoxLayout, UnusableScreenBoundIsIgnoredAndCharactersStayWhole) {
    // A bound with no room for text is ignored rather than cutting every character apart.
    EXPECT_EQ(LayOut({.text1 = "Hello world", .maxWidth = 3}).text1.lines, (Lines{"Hello world"}));

    // Several-byte characters are never cut in the middle.
    const std::string umlauts = "\xc3\xa4\xc3\xb6\xc3\xbc\xc3\xa4\xc3\xb6\xc3\xbc\xc3\xa4\xc3\xb6";
    const Lines lines = LayOut({.text1 = umlauts, .maxWidth = 10}).text1.lines;
    EXPECT_EQ(Joined(lines.begin(), lines.end()), umlauts);
    for (const std::string& line : lines) {
        EXPECT_EQ(line.size() % 2, 0u) << line;
    }
}

TEST(MsgBoxLayout, CheckBoxSizeAndCentring) {
    // Text 20 + 1 wide; "Don't show" is 20 columns in font 7, + 3.
    MessageBoxRequest request{
        .text1 = "A text of twenty-one", .checkText = "Don't show{f7}", .options = "C"};
    const MessageBoxLayout layout = LayOut(request);
    ExpectBox(layout.check.box, 1.0, 1.5, 23.0, 1.5); // already the widest: not moved
    EXPECT_DOUBLE_EQ(layout.width, 25.0);
    request.text1 = "A text that is much wider than the box";
    EXPECT_DOUBLE_EQ(LayOut(request).check.box.column, 1.0 + 39.0 / 2 - 23.0 / 2);
}

TEST(MsgBoxLayout, PaddingFollowsTheStyleAndLDoublesIt) {
    const MessageBoxLayout larger = LayOut({.text1 = "Text", .buttons = "OK", .options = "L"});
    ExpectBox(larger.text1.box, 2.0, 1.0, 8.0, 1.0);
    EXPECT_DOUBLE_EQ(larger.width, 2.0 + 8.0 + 2.0);
    EXPECT_DOUBLE_EQ(larger.height, 1.0 + 1.0 + 1.5 + 2.0);

    MessageBoxRequest styled{
        .text1 = "Text", .buttons = "OK", .paddingColumns = 1.5, .paddingRows = 0.75};
    const MessageBoxLayout plain = LayOut(styled);
    ExpectBox(plain.text1.box, 1.5, 0.75, 8.0, 1.0);
    EXPECT_DOUBLE_EQ(plain.width, 1.5 + 8.0 + 1.5);
    EXPECT_DOUBLE_EQ(plain.buttons[0].box.row + 1.5 + 0.75, plain.height);
    styled.options = "L";
    EXPECT_DOUBLE_EQ(LayOut(styled).text1.box.column, 3.0);

    // A metric no style would give falls back or is held in bounds.
    const MessageBoxLayout odd =
        LayOut({.text1 = "Text", .paddingColumns = std::nan(""), .paddingRows = 1e9});
    EXPECT_DOUBLE_EQ(odd.text1.box.column, 1.0);
    EXPECT_DOUBLE_EQ(odd.text1.box.row, 5.0);
}

TEST(MsgBoxLayout, TitleMinimumSizeWidensAndCentresVerticallyWithinTheScreenBound) {
    const MessageBoxLayout layout =
        LayOut({.title = "Title{w40,h12}", .text1 = "Text", .buttons = "OK", .options = "J"});
    EXPECT_DOUBLE_EQ(layout.width, 40.0);
    EXPECT_DOUBLE_EQ(layout.height, 12.0);
    // Natural height 0.5 + 1 + 1.5 + 1 = 4: the text moves down by 4.
    ExpectBox(layout.text1.box, 1.0, 0.5 + 4.0, 38.0, 1.0);
    ExpectBox(layout.buttons[0].box, 40.0 - 1.0 - 8.0, 12.0 - 1.5 - 0.5, 8.0, 1.5);
    // The screen bound wins over the title's minimum.
    const MessageBoxLayout capped =
        LayOut({.title = "Wide{w300,h200}", .text1 = "Hello", .maxWidth = 100, .maxHeight = 40});
    EXPECT_TRUE(capped.width == 100.0 && capped.height == 40.0);
}

TEST(MsgBoxLayout, PictureTakesTheLeftColumn) {
    MessageBoxRequest request{.text1 = "Text", .pictureColumns = 6.0, .pictureRows = 5.0};
    const MessageBoxLayout layout = LayOut(request);
    EXPECT_TRUE(layout.showPicture);
    ExpectBox(layout.picture, 1.0, 0.5, 6.0, 5.0);
    EXPECT_DOUBLE_EQ(layout.text1.box.column, 7.0);
    EXPECT_DOUBLE_EQ(layout.height, 5.0 + 2 * 0.5);
    request.pictureColumns = 2.0; // no wider than its own padding
    EXPECT_FALSE(LayOut(request).showPicture);
}

} // namespace
} // namespace kalvara::msgbox
