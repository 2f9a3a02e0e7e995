// A message taller than the screen: its texts scroll in one box, and the
// check box and the buttons stay on the screen below it.

#include "msgbox/MessageBoxLayout.h"

#include <gtest/gtest.h>

namespace kalvara::msgbox {
namespace {

// On a screen of 80 by 30 character cells, every character one cell.
MessageBoxLayout OnSmallScreen(MessageBoxRequest request) {
    request.buttons = "&OK";
    request.maxWidth = 80;
    request.maxHeight = 30;
    return ComputeMessageBoxLayout(request, [](int, const std::string& line) {
        return LineExtent{static_cast<double>(line.size()), 1.0};
    });
}

std::string ManyLines(const std::string& word, int count) {
    std::string text = word + "0";
    for (int i = 1; i < count; ++i) {
        text += "|" + word + std::to_string(i);
    }
    return text;
}

TEST(MessageBoxScroll, TextsTallerThanTheScreenScrollAndTheButtonsStayInView) {
    const MessageBoxLayout layout = OnSmallScreen({.title = "Too Much",
                                                   .text1 = ManyLines("first", 60),
                                                   .text2 = ManyLines("second", 60),
                                                   .checkText = "Don't show again"});
    EXPECT_TRUE(layout.scrollTexts);
    EXPECT_LE(layout.height, 30.0);
    // Both texts, every line, with a blank line between them.
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
}

TEST(MessageBoxScroll, ATextThatFitsIsNotScrolled) {
    const MessageBoxLayout layout =
        OnSmallScreen({.text1 = ManyLines("line", 10), .text2 = "and one more"});
    EXPECT_FALSE(layout.scrollTexts);
    EXPECT_TRUE(layout.text2.present);
    EXPECT_EQ(layout.text1.lines.size(), 10u);
}

} // namespace
} // namespace kalvara::msgbox
