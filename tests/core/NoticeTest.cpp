#include "core/Notice.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kalvara {
namespace {

TEST(Notice, MarkupIsStrippedForTheTerminal) {
    const std::pair<std::string, std::string> cases[] = {
        {"Unable to create PDF object.{f11,t4}", "Unable to create PDF object."},
        {"Error number = 4119 [&H1017]|Detail number = 0 [&H0]{f11,t4}",
         "Error number = 4119 [&H1017]\nDetail number = 0 [&H0]"},
        {"|An error has occurred|{f7}", "An error has occurred"},
        {"unclosed {f7", "unclosed "},
        {"", ""}};
    for (const auto& [markup, plain] : cases) {
        EXPECT_EQ(StripMarkup(markup), plain) << markup;
    }
    EXPECT_EQ(PlainNotice("PDF Error", "A|B{f11}", ""), "PDF Error: A B");
    EXPECT_EQ(PlainNotice("T", "", "second{f6}"), "T: second");
}

TEST(Notice, QuotedOutsideTextNeitherStartsAGroupNorBreaksTheLine) {
    const std::string literal = QuoteMarkup("/home/a{f7}|b/PDF");
    EXPECT_EQ(literal.find_first_of("{|"), std::string::npos);
    EXPECT_EQ(StripMarkup(literal + "{f6}"), "/home/a{f7}|b/PDF");
    EXPECT_EQ(QuoteMarkup("/plain/path"), "/plain/path");
}

TEST(Notice, AScopedHookGetsEveryTextAndPutsThePreviousHookBack) {
    std::vector<std::string> outer;
    std::vector<std::string> inner;
    const auto recorder = [](std::vector<std::string>& seen) {
        return
            [&seen](const std::string& title, const std::string& text1, const std::string& text2) {
                seen.push_back(title + "/" + text1 + "/" + text2);
            };
    };
    ScopedNoticeHook outer_hook(recorder(outer));
    {
        ScopedNoticeHook inner_hook(recorder(inner));
        ShowNotice("first", "a", "b");
    }
    ShowNotice("second", "", "c");
    EXPECT_EQ(inner, std::vector<std::string>{"first/a/b"});
    EXPECT_EQ(outer, std::vector<std::string>{"second//c"});
}

} // namespace
} // namespace kalvara
