// Reading the message box's mark-up, broken mark-up included.

#include "msgbox/MessageBoxMarkup.h"

#include <gtest/gtest.h>
#include <sstream>

namespace kalvara::msgbox {
namespace {

// What was read, as "text fFONT tCOLOUR wWRAP" or "caption bCOLOUR WIDTHxHEIGHT".
std::string Text(std::string_view value, bool wraps = true) {
    const TextMarkup t = ParseText(value, wraps);
    return (std::ostringstream() << t.text << " f" << t.font << " t" << t.color << " w"
                                 << t.wrapWidth)
        .str();
}
std::string Title(std::string_view value) {
    const TitleMarkup t = ParseTitle(value);
    return (std::ostringstream() << t.caption << " b" << t.background << ' ' << t.minWidth << 'x'
                                 << t.minHeight)
        .str();
}

TEST(MsgBoxMarkup, GroupsReadInEitherCaseAndBrokenOnesNeverRunAway) {
    EXPECT_EQ(Text("A PDF reader is missing.{f10,T4,w30.5}"),
              "A PDF reader is missing. f10 t4 w30.5");
    EXPECT_EQ(Text("Don't ask again{w30}", false), "Don't ask again f0 t-1 w0"); // no wrapping
    EXPECT_EQ(Text("Plain|two lines"), "Plain|two lines f0 t-1 w0");
    EXPECT_EQ(Text("x{f7}t9"), "x f7 t-1 w0");        // nothing after the "}" is read
    EXPECT_EQ(Text("x{q5,,z,f,  t3}"), "x f0 t3 w0"); // unknown, empty and bare items
    EXPECT_EQ(Text("{"), " f0 t-1 w0");
    EXPECT_EQ(Text("}"), "} f0 t-1 w0");
    EXPECT_EQ(Title("Whoa, Tesvel!{b36,W40,h12}"), "Whoa, Tesvel! b36 40x12");
    EXPECT_EQ(Title("Title"), "Title b750 0x0");
    EXPECT_EQ(Title("T{w30"), "T b750 30x0"); // unclosed

    // Huge and negative numbers stay bounded; sizes never go below 0.
    const TitleMarkup huge = ParseTitle("T{w99999999999999999999999,h-40}");
    EXPECT_TRUE(huge.minWidth <= 500 && huge.minHeight >= 0);
    const TextMarkup font = ParseText("x{f99999999999999999,t-99999999999}", true);
    EXPECT_TRUE(font.font <= 1'000'000 && font.color >= -1'000'000);
}

// Each button as "caption widthxheight font background text-colour shape":
// defaults, then its own group, where the last shape letter wins.
TEST(MsgBoxMarkup, ButtonListDefaultsThenOwnGroupsAtMostTen) {
    std::vector<std::string> buttons;
    for (const ButtonMarkup& b : ParseButtonList("*{G,b36,w10,f7}|One|Two{r,h2,t15,w4}||Three{3}|"
                                                 "Four{e,c,f9}|Five, Later|Six{w-5,h-3}")) {
        buttons.push_back((std::ostringstream()
                           << b.caption << ' ' << b.width << 'x' << b.height << " f" << b.font
                           << " b" << b.background << " t" << b.textColor << ' '
                           << "G3REC"[static_cast<int>(b.style)])
                              .str());
    }
    EXPECT_EQ(buttons,
              (std::vector<std::string>{"One 10x1.5 f7 b36 t0 G", "Two 4x2 f7 b36 t15 R",
                                        "Three 10x1.5 f7 b36 t0 3", "Four 10x1.5 f9 b36 t0 C",
                                        "Five, Later 10x1.5 f7 b36 t0 G", "Six 0x0 f7 b36 t0 G"}));
    // Empty items are no buttons, and "*{" sets defaults only as the first item.
    // clang-format off
    for (const auto& [list, count] : {std::pair{"", 0}, {"*{G,f7}", 0}, {"*{G}|||", 0}, {"A|*{G}", 2},
                                      {"1|2|3|4|5|6|7|8|9|10|11|12", 10}}) {
        // clang-format on
        EXPECT_EQ(ParseButtonList(list).size(), static_cast<std::size_t>(count)) << list;
    }
}

TEST(MsgBoxMarkup, OptionsAnywhereInEitherCaseAndCaptionsWithoutMnemonicMarks) {
    const BoxOptions options = ParseOptions("cjWl fRsS?");
    EXPECT_TRUE(options.centre && options.justify && options.equalWidths && options.larger);
    EXPECT_EQ(options.pictureProperties, "FRS");
    EXPECT_EQ(VisibleCaption("&No, Maybe Later"), "No, Maybe Later");
    EXPECT_EQ(VisibleCaption("Save && Exit"), "Save & Exit");
    EXPECT_EQ(VisibleCaption("Trailing&"), "Trailing");
}

// Outside text keeps its braces and bars as text: the caller's own group
// after it still counts, and nothing in it starts a group or breaks a line.
TEST(MsgBoxMarkup, QuotedTextShowsLiterally) {
    const std::string hostile = "{W500,F99}Not|||Found}";
    const TextMarkup text = ParseText(QuoteMarkup(hostile) + " now.{f10,t4}", true);
    EXPECT_TRUE(text.font == 10 && text.color == 4 && text.wrapWidth == 0);
    EXPECT_EQ(text.text, "{W500,F99}Not" + std::string(3, QuotedBar) + "Found} now.");
    EXPECT_EQ(ParseTitle(QuoteMarkup("a{b|c") + "{w40}").caption, "a{b|c");
    // Line ends and controls cannot break or hide text, nor smuggle in the
    // quoting characters themselves.
    EXPECT_EQ(QuoteMarkup("one\r\ntwo\x1e\x1f\x7f"), "one  two   ");
}

} // namespace
} // namespace kalvara::msgbox
