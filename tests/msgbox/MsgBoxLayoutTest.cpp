// The sizing of the message box, with a text measure where every character
// is one column wide (two in font 7) and every line one row high.

#include "msgbox/MessageBoxLayout.h"

#include <cmath>
#include <gtest/gtest.h>
#include <random>

namespace kalvara::msgbox {
namespace {

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

TEST(MsgBoxLayout, NoticeSizesToItsTextAndCentresItsButton) {
    // "Hello world" is 11 columns; "OK" in font 7 is 4 columns, so the button stays 8 wide.
    const MessageBoxLayout layout = LayOut({.title = "Drive Error",
                                            .text1 = "Hello world{f0}",
                                            .buttons = "&OK{G,f7}",
                                            .options = "C",
                                            .initialValue = 1});
    ASSERT_TRUE(layout.text1.present);
    EXPECT_FALSE(layout.text2.present || layout.check.present);
    ExpectBox(layout.text1.box, 1.0, 0.5, 12.0, 1.0); // 11 + 1 wide at margin 1, cursor 0.5
    // Form: 1 + 12 + 1 wide; 0.5 + 1 + 1.5 + 2 * 0.5 high.
    EXPECT_DOUBLE_EQ(layout.width, 14.0);
    EXPECT_DOUBLE_EQ(layout.height, 4.0);
    ASSERT_EQ(layout.buttons.size(), 1u);
    ExpectBox(layout.buttons[0].box, 1 + 12.0 / 2 - 8.0 / 2, 4 - 1.5 - 0.5, 8.0, 1.5);
}

TEST(MsgBoxLayout, ButtonRowLeftCentredOrJustified) {
    // Text block 32 + 1 wide, form 35; button row 8 + 1 + 8 = 17.
    MessageBoxRequest request{.text1 = "A fairly long first line of text",
                              .buttons = "*{G}|&Yes|&No"};
    const struct {
        std::string options;
        double first;
    } cases[] = {{"", 1.0}, {"c", 1.0 + 33.0 / 2 - 17.0 / 2}, {"CJ", 35.0 - 1.0 - 17.0}};
    for (const auto& [options, first] : cases) {
        request.options = options;
        const MessageBoxLayout layout = LayOut(request);
        EXPECT_DOUBLE_EQ(layout.width, 35.0);
        EXPECT_DOUBLE_EQ(layout.buttons[0].box.column, first) << options;
        EXPECT_DOUBLE_EQ(layout.buttons[1].box.column, first + 9.0) << options;
    }
}

TEST(MsgBoxLayout, ButtonsGrowToTheirCaptionsAndWEqualisesThem) {
    MessageBoxRequest request{.buttons = "*{G,f7}|&Get Help on This Problem|&Continue"};
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
    const MessageBoxLayout layout = LayOut({.buttons = "*{3,w10}|Tall{h3,e}|Low"});
    ASSERT_EQ(layout.buttons.size(), 2u);
    const Box& tall = layout.buttons[0].box;
    const Box& low = layout.buttons[1].box;
    EXPECT_DOUBLE_EQ(tall.width, 10.0);
    EXPECT_DOUBLE_EQ(tall.height, 3.0);
    EXPECT_DOUBLE_EQ(low.height, 1.5);
    EXPECT_DOUBLE_EQ(tall.row + tall.height, low.row + low.height);
    EXPECT_DOUBLE_EQ(layout.height, 0.5 + 3.0 + 1.0); // empty texts: cursor 0.5
}

TEST(MsgBoxLayout, LinesBreakAtBarsAndWrapAtWAndBlankTextsTakeNoRoom) {
    const MessageBoxLayout bars = LayOut({.text1 = "short|a much longer line"});
    EXPECT_EQ(bars.text1.lines, (std::vector<std::string>{"short", "a much longer line"}));
    EXPECT_DOUBLE_EQ(bars.text1.box.height, 2.0);
    EXPECT_DOUBLE_EQ(bars.width, 1.0 + 19.0 + 1.0); // the widest line decides

    const MessageBoxLayout wrapped =
        LayOut({.text1 = "aaa bbb ccc dddddddddddd{w7}", .text2 = "|An error has occurred"});
    EXPECT_EQ(wrapped.text1.lines, (std::vector<std::string>{"aaa bbb", "ccc", "dddddddddddd"}));
    EXPECT_DOUBLE_EQ(wrapped.text1.box.height, 3.0);
    // Text 2 starts right below text 1; its leading bar is an empty line.
    EXPECT_DOUBLE_EQ(wrapped.text2.box.row, 0.5 + 3.0);
    EXPECT_DOUBLE_EQ(wrapped.text2.box.height, 2.0);
    EXPECT_DOUBLE_EQ(wrapped.text1.box.width, wrapped.text2.box.width);

    const MessageBoxLayout blank = LayOut({.text1 = "   {f10}", .text2 = "Second"});
    EXPECT_FALSE(blank.text1.present);
    EXPECT_DOUBLE_EQ(blank.text2.box.row, 0.5);
}

std::string Joined(const std::vector<std::string>& lines, const std::string& between) {
    std::string text;
    for (const std::string& line : lines) {
        text += (text.empty() ? "" : between) + line;
    }
    return text;
}

TEST(MsgBoxLayout, ScreenBoundWrapsAtBlanksAndBreaksAnAddressWithoutLosingText) {
    // 1280 x 800 pixels less a margin, at 8 x 16 pixels a character unit.
    const std::string address = "https://updates.example.org/" + std::string(272, 'x');
    const MessageBoxRequest request{.title = "Update Error",
                                    .text1 = "The update could not be read from " + address,
                                    .text2 = address + "{f7}",
                                    .buttons = "&OK{G,f7}",
                                    .options = "C",
                                    .maxWidth = 154.0,
                                    .maxHeight = 47.0};
    const MessageBoxLayout layout = LayOut(request);
    EXPECT_LE(layout.width, 154.0);
    EXPECT_LE(layout.height, 47.0);
    for (const TextBlockLayout* block : {&layout.text1, &layout.text2}) {
        EXPECT_LE(block->box.column + block->box.width, layout.width);
        EXPECT_GT(block->lines.size(), 1u);
    }
    // Text 1 breaks at its blank first; the address itself is cut only where it must be.
    EXPECT_EQ(layout.text1.lines[0], "The update could not be read from");
    EXPECT_EQ(Joined({layout.text1.lines.begin() + 1, layout.text1.lines.end()}, ""), address);
    EXPECT_EQ(Joined(layout.text2.lines, ""), address);
    for (const std::string& line : layout.text2.lines) {
        EXPECT_LE(2.0 * static_cast<double>(line.size()),
                  154.0 - 2.0 - 1.0); // font 7 is twice as wide
    }

    // Texts that fit are left alone, and a W narrower than the bound still rules.
    const MessageBoxLayout fits =
        LayOut({.text1 = "aaa bbb ccc{w7}", .text2 = "short line", .maxWidth = 154.0});
    EXPECT_EQ(fits.text1.lines, (std::vector<std::string>{"aaa bbb", "ccc"}));
    EXPECT_EQ(fits.text2.lines, (std::vector<std::string>{"short line"}));
}

TEST(MsgBoxLayout, ScreenBoundLimitsTheTitleMinimumButNotAnUnusableBound) {
    const MessageBoxLayout capped =
        LayOut({.title = "Wide{w300,h200}", .text1 = "Hello", .maxWidth = 100, .maxHeight = 40});
    EXPECT_DOUBLE_EQ(capped.width, 100.0);
    EXPECT_DOUBLE_EQ(capped.height, 40.0);

    // A bound with no room for text is ignored rather than cutting every character apart.
    const MessageBoxLayout tiny = LayOut({.text1 = "Hello world", .maxWidth = 3});
    EXPECT_EQ(tiny.text1.lines, (std::vector<std::string>{"Hello world"}));

    // Several-byte characters are never cut in the middle.
    const std::string umlauts = "\xc3\xa4\xc3\xb6\xc3\xbc\xc3\xa4\xc3\xb6\xc3\xbc\xc3\xa4\xc3\xb6";
    const MessageBoxLayout utf8 = LayOut({.text1 = umlauts, .maxWidth = 10});
    EXPECT_EQ(Joined(utf8.text1.lines, ""), umlauts);
    for (const std::string& line : utf8.text1.lines) {
        EXPECT_EQ(line.size() % 2, 0u) << line;
    }
}

TEST(MsgBoxLayout, CheckBoxSizeAndCentring) {
    // Text 20 + 1 wide; "Don't show" is 20 columns in font 7, + 3.
    MessageBoxRequest request{.text1 = "A text of twenty-one",
                              .checkText = "Don't show{f7}",
                              .options = "C",
                              .initialValue = -2};
    const MessageBoxLayout layout = LayOut(request);
    ASSERT_TRUE(layout.check.present);
    EXPECT_TRUE(layout.checkTicked);
    ExpectBox(layout.check.box, 1.0, 1.5, 23.0, 1.5); // already the widest: not moved
    EXPECT_DOUBLE_EQ(layout.width, 25.0);
    request.text1 = "A text that is much wider than the box";
    EXPECT_DOUBLE_EQ(LayOut(request).check.box.column, 1.0 + 39.0 / 2 - 23.0 / 2);
}

TEST(MsgBoxLayout, PaddingFollowsTheStyleAndLDoublesIt) {
    const MessageBoxLayout larger = LayOut({.text1 = "Text", .buttons = "OK", .options = "L"});
    EXPECT_DOUBLE_EQ(larger.text1.box.column, 2.0);
    EXPECT_DOUBLE_EQ(larger.text1.box.row, 1.0);
    EXPECT_DOUBLE_EQ(larger.width, 2.0 + 8.0 + 2.0);
    EXPECT_DOUBLE_EQ(larger.height, 1.0 + 1.0 + 1.5 + 2.0);

    MessageBoxRequest styled{
        .text1 = "Text", .buttons = "OK", .paddingColumns = 1.5, .paddingRows = 0.75};
    const MessageBoxLayout plain = LayOut(styled);
    EXPECT_DOUBLE_EQ(plain.text1.box.column, 1.5);
    EXPECT_DOUBLE_EQ(plain.text1.box.row, 0.75);
    EXPECT_DOUBLE_EQ(plain.width, 1.5 + 8.0 + 1.5);
    EXPECT_DOUBLE_EQ(plain.buttons[0].box.row + 1.5 + 0.75, plain.height);
    styled.options = "L";
    EXPECT_DOUBLE_EQ(LayOut(styled).text1.box.column, 3.0);

    // A metric no style would give falls back or is held in bounds.
    styled = {.text1 = "Text", .paddingColumns = std::nan(""), .paddingRows = 1e9};
    EXPECT_DOUBLE_EQ(LayOut(styled).text1.box.column, 1.0);
    EXPECT_DOUBLE_EQ(LayOut(styled).text1.box.row, 5.0);
}

TEST(MsgBoxLayout, TitleMinimumSizeWidensAndCentresVertically) {
    const MessageBoxLayout layout =
        LayOut({.title = "Title{w40,h12}", .text1 = "Text", .buttons = "OK", .options = "J"});
    EXPECT_DOUBLE_EQ(layout.width, 40.0);
    EXPECT_DOUBLE_EQ(layout.height, 12.0);
    // Natural height 0.5 + 1 + 1.5 + 1 = 4: the text moves down by 4.
    ExpectBox(layout.text1.box, 1.0, 0.5 + 4.0, 38.0, 1.0);
    EXPECT_DOUBLE_EQ(layout.buttons[0].box.row, 12.0 - 1.5 - 0.5);
    EXPECT_DOUBLE_EQ(layout.buttons[0].box.column, 40.0 - 1.0 - 8.0);
}

TEST(MsgBoxLayout, PictureTakesTheLeftColumn) {
    MessageBoxRequest request{.text1 = "Text", .pictureColumns = 6.0, .pictureRows = 5.0};
    const MessageBoxLayout layout = LayOut(request);
    EXPECT_TRUE(layout.showPicture);
    EXPECT_DOUBLE_EQ(layout.picture.column, 1.0);
    EXPECT_DOUBLE_EQ(layout.picture.row, 0.5);
    EXPECT_DOUBLE_EQ(layout.text1.box.column, 7.0);
    EXPECT_DOUBLE_EQ(layout.height, 6.0); // 5 + 2 * 0.5
    request.pictureColumns = 2.0;         // a picture no wider than its padding
    EXPECT_FALSE(LayOut(request).showPicture);
}

TEST(MsgBoxLayout, ArbitraryMarkupNeverGivesNegativeSizes) {
    const std::string alphabet = "{}|,*&wWhHfFtTbBgG3rReEcCjJlL0123456789.-+ abc";
    std::mt19937 random(20240601);
    const auto text = [&] {
        std::string s(random() % 41, ' ');
        for (char& c : s) {
            c = alphabet[random() % alphabet.size()];
        }
        return s;
    };
    const auto sane = [](const Box& box) {
        return std::isfinite(box.column + box.row + box.width + box.height) && box.column >= 0 &&
               box.row >= 0 && box.width >= 0 && box.height >= 0;
    };
    for (int round = 0; round < 2000; ++round) {
        const MessageBoxRequest request{
            text(), text(), text(), text(), text(), text(), static_cast<int>(random())};
        const MessageBoxLayout layout = LayOut(request);
        ASSERT_TRUE(std::isfinite(layout.width) && std::isfinite(layout.height));
        ASSERT_GE(layout.width, 0) << request.title;
        ASSERT_GE(layout.height, 0);
        ASSERT_LE(layout.buttons.size(), 10u);
        for (const TextBlockLayout* block : {&layout.text1, &layout.text2, &layout.check}) {
            ASSERT_TRUE(sane(block->box)) << request.text1;
        }
        for (const ButtonLayout& button : layout.buttons) {
            ASSERT_TRUE(sane(button.box)) << request.buttons << " / " << request.options;
            ASSERT_LE(button.box.column + button.box.width, layout.width + 1e-9);
        }
    }
}

} // namespace
} // namespace kalvara::msgbox
