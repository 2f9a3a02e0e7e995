// A message taller than the screen: its texts scroll in one box, and the
// check box and the buttons stay on the screen below it.

#include "msgbox/MessageBoxLayout.h"

#include <gtest/gtest.h>

namespace kalvara::msgbox {
namespace {

MessageBoxLayout LayOut(const MessageBoxRequest& request) {
    return ComputeMessageBoxLayout(request, [](int, const std::string& line) {
        return LineExtent{static_cast<double>(line.size()), 1.0};
    });
}

std::string ManyLines(const std::string& word, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += (i == 0 ? "" : "|") + word + std::to_string(i);
    }
    return text;
}

TEST(MessageBoxScroll, TextsTallerThanTheScreenScrollAndTheButtonsStayInView) {
    MessageBoxRequest request;
    request.title = "Too Much";
    request.text1 = ManyLines("first", 60);
    request.text2 = ManyLines("second", 60);
    request.checkText = "Don't show again";
    request.buttons = "&OK";
    request.maxWidth = 80;
    request.maxHeight = 30;
    const MessageBoxLayout layout = LayOut(request);
    EXPECT_TRUE(layout.scrollTexts);
    EXPECT_LE(layout.height, 30.0);
    // Both texts, every line, with a blank line between them.
    EXPECT_FALSE(layout.text2.present);
    ASSERT_EQ(layout.text1.lines.size(), 121u);
    EXPECT_EQ(layout.text1.lines[60], "");
    EXPECT_EQ(layout.text1.lines.back(), "second59");
    EXPECT_GE(layout.text1.box.height, 3.0);
    const Box& text = layout.text1.box;
    EXPECT_LE(text.row + text.height, layout.check.box.row);
    ASSERT_EQ(layout.buttons.size(), 1u);
    EXPECT_LE(layout.check.box.row + layout.check.box.height, layout.buttons[0].box.row);
    EXPECT_LE(layout.buttons[0].box.row + layout.buttons[0].box.height, layout.height);
}

TEST(MessageBoxScroll, ATextThatFitsIsNotScrolled) {
    MessageBoxRequest request;
    request.text1 = ManyLines("line", 10);
    request.text2 = "and one more";
    request.buttons = "&OK";
    request.maxWidth = 80;
    request.maxHeight = 30;
    const MessageBoxLayout layout = LayOut(request);
    EXPECT_FALSE(layout.scrollTexts);
    EXPECT_TRUE(layout.text2.present);
    EXPECT_EQ(layout.text1.lines.size(), 10u);
}

} // namespace
} // namespace kalvara::msgbox
