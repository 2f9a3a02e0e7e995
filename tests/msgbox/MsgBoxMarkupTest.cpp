// Reading the message box's mark-up: groups, letters, numbers, button lists
// and options, including mark-up that is broken.

#include "msgbox/MessageBoxMarkup.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace kalvara::msgbox {
namespace {

// Letters in either case; the visible text runs to the first brace.
TEST(MsgBoxMarkup, TextOptionsAndDefaults) {
    const TextMarkup text = ParseText("A PDF reader is missing.{f10,T4,w30.5}", true);
    EXPECT_EQ(text.text, "A PDF reader is missing.");
    EXPECT_EQ(text.font, 10);
    EXPECT_EQ(text.color, 4);
    EXPECT_DOUBLE_EQ(text.wrapWidth, 30.5);
    const TextMarkup check = ParseText("Don't ask again{w30}", false);
    EXPECT_DOUBLE_EQ(check.wrapWidth, 0); // the check box does not wrap
    const TextMarkup bare = ParseText("Plain|two lines", true);
    EXPECT_EQ(bare.text, "Plain|two lines");
    EXPECT_EQ(bare.font, 0);
    EXPECT_EQ(bare.color, -1);

    const TitleMarkup title = ParseTitle("Whoa, Tesvel!{b36,W40,h12}");
    EXPECT_EQ(title.caption, "Whoa, Tesvel!");
    EXPECT_EQ(title.background, 36);
    EXPECT_DOUBLE_EQ(title.minWidth, 40);
    EXPECT_DOUBLE_EQ(title.minHeight, 12);
    EXPECT_EQ(ParseTitle("Title").background, 750);
}

TEST(MsgBoxMarkup, BrokenGroupsNeverRunAway) {
    // Unclosed brace: the group runs to the end of the value.
    EXPECT_DOUBLE_EQ(ParseTitle("T{w30").minWidth, 30);
    // Text after the closing brace is not read as items.
    EXPECT_EQ(ParseText("x{f7}t9", true).color, -1);
    // Huge, negative and missing numbers stay bounded and sizes never go below 0.
    const TitleMarkup huge = ParseTitle("T{w99999999999999999999999,h-40}");
    EXPECT_LE(huge.minWidth, 500);
    EXPECT_GE(huge.minHeight, 0);
    const TextMarkup font = ParseText("x{f99999999999999999,t-99999999999}", true);
    EXPECT_LE(font.font, 1'000'000);
    EXPECT_GE(font.color, -1'000'000);
    // Unknown letters, empty items and letters without numbers are ignored.
    const TextMarkup odd = ParseText("x{q5,,z,f,  t3}", true);
    EXPECT_EQ(odd.font, 0);
    EXPECT_EQ(odd.color, 3);
    EXPECT_EQ(ParseText("{", true).text, "");
    EXPECT_EQ(ParseText("}", true).text, "}");
}

TEST(MsgBoxMarkup, DefaultGroupOverridesAndCount) {
    const auto buttons = ParseButtonList("*{G,f7}|&Yes|&No, Maybe Later");
    ASSERT_EQ(buttons.size(), 2u);
    EXPECT_EQ(buttons[0].caption, "&Yes");
    EXPECT_EQ(buttons[1].caption, "&No, Maybe Later");
    for (const ButtonMarkup& button : buttons) {
        EXPECT_EQ(button.style, ButtonStyle::Standard);
        EXPECT_EQ(button.font, 7);
        EXPECT_DOUBLE_EQ(button.width, 8.0);
        EXPECT_DOUBLE_EQ(button.height, 1.5);
        EXPECT_EQ(button.background, 750);
        EXPECT_EQ(button.textColor, 0);
    }

    const auto mixed = ParseButtonList("*{3,b36,w10}|One|Two{r,h2,t15,w4}||Three{E}|Four{c,g}");
    ASSERT_EQ(mixed.size(), 4u);
    EXPECT_EQ(mixed[0].style, ButtonStyle::ThreeD);
    EXPECT_DOUBLE_EQ(mixed[0].width, 10);
    EXPECT_EQ(mixed[0].background, 36);
    EXPECT_EQ(mixed[1].style, ButtonStyle::RoundRect);
    EXPECT_DOUBLE_EQ(mixed[1].width, 4);
    EXPECT_DOUBLE_EQ(mixed[1].height, 2);
    EXPECT_EQ(mixed[1].textColor, 15);
    EXPECT_EQ(mixed[1].background, 36);
    EXPECT_EQ(mixed[2].style, ButtonStyle::Ellipse);
    EXPECT_EQ(mixed[3].style, ButtonStyle::Standard); // the last shape letter wins

    const auto single = ParseButtonList("&OK{G,f7}");
    ASSERT_EQ(single.size(), 1u);
    EXPECT_EQ(single[0].caption, "&OK");
    EXPECT_EQ(single[0].style, ButtonStyle::Standard);
    EXPECT_EQ(ParseButtonList("Plain")[0].style, ButtonStyle::Color);
}

TEST(MsgBoxMarkup, ListsWithoutButtonsAndWithTooMany) {
    EXPECT_TRUE(ParseButtonList("").empty());
    EXPECT_TRUE(ParseButtonList("*{G,f7}").empty());
    EXPECT_TRUE(ParseButtonList("*{G}|||").empty());
    // "*{" counts only as the first item; later it is a caption.
    EXPECT_EQ(ParseButtonList("A|*{G}").size(), 2u);
    EXPECT_EQ(ParseButtonList("1|2|3|4|5|6|7|8|9|10|11|12").size(), 10u);
    // Negative sizes from a button's group never make a negative button.
    const auto negative = ParseButtonList("A{w-5,h-3}");
    EXPECT_DOUBLE_EQ(negative[0].width, 0);
    EXPECT_DOUBLE_EQ(negative[0].height, 0);
}

TEST(MsgBoxMarkup, OptionsAnywhereInEitherCase) {
    const BoxOptions options = ParseOptions("cjWl fRsS?");
    EXPECT_TRUE(options.centre);
    EXPECT_TRUE(options.justify);
    EXPECT_TRUE(options.equalWidths);
    EXPECT_TRUE(options.larger);
    EXPECT_EQ(options.pictureProperties, "FRS");
    const BoxOptions none = ParseOptions("xyz");
    EXPECT_FALSE(none.centre || none.justify || none.equalWidths || none.larger);
}

// Outside text keeps its braces and bars as text: the caller's own group
// after it still counts, and nothing in it starts a group or breaks a line.
TEST(MsgBoxMarkup, QuotedTextShowsLiterally) {
    const std::string hostile = "{W500,F99}Not|||Found}";
    const TextMarkup text = ParseText(QuoteMarkup(hostile) + " now.{f10,t4}", true);
    EXPECT_EQ(text.font, 10);
    EXPECT_EQ(text.color, 4);
    EXPECT_DOUBLE_EQ(text.wrapWidth, 0);
    EXPECT_EQ(text.text.find('|'), std::string::npos); // no line break
    std::string shown = text.text;
    std::replace(shown.begin(), shown.end(), QuotedBar, '|');
    EXPECT_EQ(shown, hostile + " now.");

    EXPECT_EQ(ParseTitle(QuoteMarkup("a{b|c") + "{w40}").caption, "a{b|c");
    // Line ends and other controls cannot break or hide text, and nobody can
    // smuggle in the quoting characters themselves.
    EXPECT_EQ(QuoteMarkup("one\r\ntwo\x1e\x1f\x7f"), "one  two   ");
    EXPECT_EQ(QuoteMarkup("plain text"), "plain text");
}

TEST(MsgBoxMarkup, VisibleCaptionDropsMnemonicMarks) {
    EXPECT_EQ(VisibleCaption("&No, Maybe Later"), "No, Maybe Later");
    EXPECT_EQ(VisibleCaption("Save && Exit"), "Save & Exit");
    EXPECT_EQ(VisibleCaption("Trailing&"), "Trailing");
}

} // namespace
} // namespace kalvara::msgbox
