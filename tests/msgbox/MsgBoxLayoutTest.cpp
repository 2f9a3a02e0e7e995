// The sizing of the message box, with a text measure where every character is
// one column wide (two in font 7) and every line one row high.

#include "msgbox/MessageBoxLayout.h"

#include <array>
#include <cmath>
#include <gtest/gtest.h>
#include <numeric>

namespace kalvara::msgbox {
namespace {

using Lines = std::vector<std::string>;
using Edges = std::array<double, 4>; // column, row, width, height

MessageBoxLayout LayOut(const MessageBoxRequest& request) {
    return ComputeMessageBoxLayout(request, [](int font, const std::string& line) {
        return LineExtent{(font == 7 ? 2.0 : 1.0) * static_cast<double>(line.size()), 1.0};
    });
}

Edges Of(const Box& box) {
    return {box.column, box.row, box.width, box.height};
}

std::string Joined(const Lines& lines) {
    return std::accumulate(lines.begin(), lines.end(), std::string());
}

// Margin 1 and gap 0.5 unless the style or L change them; a text block is its
// widest line + 1 wide and runs across the content; buttons are 8 x 1.5 at
// least, 1 apart, at the bottom, and the height is gap + texts + row + 2 gaps.
// `other` is text 2's box, else the check box's, else the picture's.
TEST(MsgBoxLayout, BoxSizeAndWhereTheTextsTheCheckBoxThePictureAndTheLastButtonGo) {
    const std::string text32 = "A fairly long first line of text{f0}";
    const std::string yesNo = "*{G}|&Yes|&No";                                  // 8 + 1 + 8
    const std::string help = "*{G,f7}|&Continue{h3}|&Get Help on This Problem"; // 17 + 1 + 49
    const struct {
        MessageBoxRequest request;
        double width, height;
        Edges text1, lastButton; // all 0 when there is none
        Lines lines1 = {};
        Edges other = {};
    } cases[] = {
        // clang-format off
        // The row starts at the text's left, centred in it, or ends at the right margin.
        {{.text1 = text32, .buttons = yesNo}, 35, 4, {1, 0.5, 33, 1}, {10, 2, 8, 1.5}},
        {{.text1 = text32, .buttons = yesNo, .options = "c"}, 35, 4, {1, 0.5, 33, 1}, {18, 2, 8, 1.5}},
        {{.text1 = text32, .buttons = yesNo, .options = "CJ"}, 35, 4, {1, 0.5, 33, 1}, {26, 2, 8, 1.5}},
        // Buttons grow to their visible captions and align at the bottom; W equalises them.
        {{.buttons = help}, 69, 4.5, {}, {19, 2.5, 49, 1.5}},
        {{.buttons = help, .options = "w"}, 101, 4.5, {}, {51, 2.5, 49, 1.5}},
        // The widest line decides; a blank text takes no room; text 2 follows right below
        // text 1, its leading bar an empty line.
        {{.text1 = "short|a much longer line"}, 21, 3.5, {1, 0.5, 19, 2}, {}, {"short", "a much longer line"}},
        {{.text1 = "aaa bbb ccc dddddddddddd{w7}", .text2 = "|An error has occurred"}, 24, 6.5, {1, 0.5, 22, 3}, {},
         {"aaa bbb", "ccc", "dddddddddddd"}, {1, 3.5, 22, 2}},
        {{.text1 = "   {f10}", .text2 = "Second"}, 9, 2.5, {}, {}, {}, {1, 0.5, 7, 1}},
        // The check box: its text + 3 wide, its lines + 0.5 high; already the widest it
        // stays, in a wider box C centres it.
        {{.text1 = "A text of twenty-one", .checkText = "Don't show{f7}", .options = "C"}, 25, 4, {1, 0.5, 23, 1}, {}, {},
         {1, 1.5, 23, 1.5}},
        {{.text1 = "A text that is much wider than the box", .checkText = "Don't show{f7}", .options = "C"}, 41, 4,
         {1, 0.5, 39, 1}, {}, {}, {9, 1.5, 23, 1.5}},
        // L doubles the padding, the style's replaces it, a freak metric falls back or is held in bounds.
        {{.text1 = "Text", .buttons = "OK", .options = "L"}, 12, 5.5, {2, 1, 8, 1}, {2, 3, 8, 1.5}},
        {{.text1 = "Text", .buttons = "OK", .paddingColumns = 1.5, .paddingRows = 0.75}, 11, 4.75, {1.5, 0.75, 8, 1}, {1.5, 2.5, 8, 1.5}},
        {{.text1 = "Text", .buttons = "OK", .options = "L", .paddingColumns = 1.5, .paddingRows = 0.75}, 14, 7, {3, 1.5, 8, 1}, {3, 4, 8, 1.5}},
        {{.text1 = "Text", .paddingColumns = std::nan(""), .paddingRows = 1e9}, 7, 16, {1, 5, 5, 1}, {}},
        // The title's minimum size widens the content and centres it vertically, but not past the screen.
        {{.title = "Title{w40,h12}", .text1 = "Text", .buttons = "OK", .options = "J"}, 40, 12, {1, 4.5, 38, 1}, {31, 10, 8, 1.5}},
        {{.title = "Wide{w300,h200}", .text1 = "Hello", .maxWidth = 100, .maxHeight = 40}, 100, 40, {1, 19.25, 98, 1}, {}},
        // A picture takes the left column.
        {{.text1 = "Text", .pictureColumns = 6, .pictureRows = 5}, 13, 6, {7, 0.5, 5, 1}, {}, {}, {1, 0.5, 6, 5}},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        const MessageBoxLayout layout = LayOut(c.request);
        EXPECT_EQ(layout.width, c.width);
        EXPECT_EQ(layout.height, c.height);
        EXPECT_EQ(layout.text1.present ? Of(layout.text1.box) : Edges{}, c.text1);
        EXPECT_EQ(layout.buttons.empty() ? Edges{} : Of(layout.buttons.back().box), c.lastButton);
        if (!c.lines1.empty()) {
            EXPECT_EQ(layout.text1.lines, c.lines1);
        }
        const Edges other = layout.text2.present   ? Of(layout.text2.box)
                            : layout.check.present ? Of(layout.check.box)
                            : layout.showPicture   ? Of(layout.picture)
                                                   : Edges{};
        EXPECT_EQ(other, c.other);
    }
    // A picture no wider than its own padding is left out.
    EXPECT_FALSE(LayOut({.text1 = "Text", .pictureColumns = 2, .pictureRows = 5}).showPicture);
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
    EXPECT_EQ(Joined(layout.text1.lines), "The update could not be read from" + address);
    EXPECT_EQ(Joined(layout.text2.lines), address);
    for (const std::string& line : layout.text2.lines) {
        EXPECT_LE(2.0 * static_cast<double>(line.size()), 154.0 - 2.0 - 1.0);
    }

    // Texts that fit are left alone, and a W narrower than the bound still rules.
    const MessageBoxLayout fits =
        LayOut({.text1 = "aaa bbb ccc{w7}", .text2 = "short line", .maxWidth = 154.0});
    EXPECT_EQ(fits.text1.lines, (Lines{"aaa bbb", "ccc"}));
    EXPECT_EQ(fits.text2.lines, (Lines{"short line"}));

    // A bound with no room for text is ignored rather than cutting every character apart.
    EXPECT_EQ(LayOut({.text1 = "Hello world", .maxWidth = 3}).text1.lines, (Lines{"Hello world"}));
    // Several-byte characters are never cut in the middle.
    const std::string umlauts = "\xc3\xa4\xc3\xb6\xc3\xbc\xc3\xa4\xc3\xb6\xc3\xbc\xc3\xa4\xc3\xb6";
    const Lines lines = LayOut({.text1 = umlauts, .maxWidth = 10}).text1.lines;
    EXPECT_EQ(Joined(lines), umlauts);
    for (const std::string& line : lines) {
        EXPECT_EQ(line.size() % 2, 0u) << line;
    }
}

// A blank line goes between the texts in text 1's box.
TEST(MsgBoxLayout, TextsTallerThanTheScreenScrollAndTheButtonsStayInView) {
    std::string first = "first0", second = "second0";
    for (int i = 1; i < 60; ++i) {
        first += "|first" + std::to_string(i);
        second += "|second" + std::to_string(i);
    }
    const MessageBoxLayout layout = LayOut({.title = "Too Much",
                                            .text1 = first,
                                            .text2 = second,
                                            .checkText = "Don't show again",
                                            .buttons = "&OK",
                                            .maxWidth = 80,
                                            .maxHeight = 30});
    EXPECT_TRUE(layout.scrollTexts);
    EXPECT_LE(layout.height, 30.0);
    EXPECT_FALSE(layout.text2.present);
    ASSERT_EQ(layout.text1.lines.size(), 121u);
    EXPECT_EQ(layout.text1.lines[60], "");
    EXPECT_EQ(layout.text1.lines.back(), "second59");
    const Box& text = layout.text1.box;
    EXPECT_GE(text.height, 3.0);
    EXPECT_LE(text.row + text.height, layout.check.box.row);
    ASSERT_EQ(layout.buttons.size(), 1u);
    EXPECT_LE(layout.check.box.row + layout.check.box.height, layout.buttons[0].box.row);
    EXPECT_LE(layout.buttons[0].box.row + layout.buttons[0].box.height, layout.height);

    const MessageBoxLayout fits = LayOut({.text1 = "1|2|3|4|5|6|7|8|9|10",
                                          .text2 = "and one more",
                                          .maxWidth = 80,
                                          .maxHeight = 30});
    EXPECT_FALSE(fits.scrollTexts);
    EXPECT_TRUE(fits.text2.present);
}

} // namespace
} // namespace kalvara::msgbox
