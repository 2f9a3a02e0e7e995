#include "core/Notice.h"

#include "FileContents.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kalvara {
namespace {

TEST(Notice, MarkupIsStrippedForTheTerminalUnlessQuotedAndHooksNest) {
    // clang-format off
    const std::pair<std::string, std::string> cases[] = {
        {"Unable to create PDF object.{f11,t4}", "Unable to create PDF object."},
        {"Error number = 4119 [&H1017]|Detail number = 0 [&H0]{f11,t4}",
         "Error number = 4119 [&H1017]\nDetail number = 0 [&H0]"},
        {"|An error has occurred|{f7}", "An error has occurred"},
        {"unclosed {f7", "unclosed "},
        {"", ""},
        // Outside text, such as a path, neither starts a group nor breaks the line.
        {QuoteMarkup("/home/a{f7}|b/PDF") + "{f6}", "/home/a{f7}|b/PDF"}};
    // clang-format on
    for (const auto& [markup, plain] : cases) {
        EXPECT_EQ(StripMarkup(markup), plain) << markup;
    }
    EXPECT_EQ(PlainNotice("PDF Error", "A|B{f11}", ""), "PDF Error: A B");
    EXPECT_EQ(PlainNotice("T", "", "second{f6}"), "T: second");

    // A scoped hook gets every text and puts the previous hook back.
    std::vector<std::string> outer, inner;
    const ScopedNoticeHook outer_hook(test::RecordInto(outer));
    {
        const ScopedNoticeHook inner_hook(test::RecordInto(inner));
        ShowNotice("first", "a", "b");
    }
    ShowNotice("second", "", "c");
    EXPECT_THAT(inner, testing::ElementsAre("first: ab"));
    EXPECT_THAT(outer, testing::ElementsAre("second: c"));
}

} // namespace
} // namespace kalvara
