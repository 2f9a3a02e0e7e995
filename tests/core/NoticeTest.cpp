#include "core/Notice.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

TEST(StripMarkup, RemovesGroupsAndBreaksLines) {
    EXPECT_EQ(kalvara::StripMarkup("Unable to create PDF object.{f11,t4}"),
              "Unable to create PDF object.");
    EXPECT_EQ(kalvara::StripMarkup("Error number = 4119 [&H1017]|Detail number = 0 [&H0]{f11,t4}"),
              "Error number = 4119 [&H1017]\nDetail number = 0 [&H0]");
    EXPECT_EQ(kalvara::StripMarkup("|An error has occurred|{f7}"), "An error has occurred");
    EXPECT_EQ(kalvara::StripMarkup("unclosed {f7"), "unclosed ");
    EXPECT_EQ(kalvara::StripMarkup(""), "");
}

TEST(QuoteMarkup, OutsideTextNeitherStartsAGroupNorBreaksTheLine) {
    const std::string literal = kalvara::QuoteMarkup("/home/a{f7}|b/PDF");
    EXPECT_EQ(kalvara::StripMarkup(literal + "{f6}"), "/home/a{f7}|b/PDF");
    EXPECT_EQ(literal.find_first_of("{|"), std::string::npos);
    EXPECT_EQ(kalvara::QuoteMarkup("/plain/path"), "/plain/path");
}

TEST(PlainNotice, JoinsTitleAndTextsOnOneLine) {
    EXPECT_EQ(kalvara::PlainNotice("PDF Error", "A|B{f11}", ""), "PDF Error: A B");
    EXPECT_EQ(kalvara::PlainNotice("T", "", "second{f6}"), "T: second");
}

TEST(NoticeHook, ReplacesAndRestores) {
    std::string seen;
    auto previous = kalvara::SetNoticeHook(
        [&](const std::string& title, const std::string& text1, const std::string& text2) {
            seen = title + "/" + text1 + "/" + text2;
        });
    kalvara::ShowNotice("a", "b", "c");
    EXPECT_EQ(seen, "a/b/c");
    kalvara::SetNoticeHook(std::move(previous));
}

} // namespace

namespace {

TEST(ScopedNoticeHook, RestoresTheHookItReplaced) {
    std::vector<std::string> outer;
    std::vector<std::string> inner;
    kalvara::ScopedNoticeHook outer_hook(
        [&](const std::string& title, const std::string&, const std::string&) {
            outer.push_back(title);
        });
    {
        kalvara::ScopedNoticeHook inner_hook(
            [&](const std::string& title, const std::string&, const std::string&) {
                inner.push_back(title);
            });
        kalvara::ShowNotice("first", "", "");
    }
    kalvara::ShowNotice("second", "", "");
    EXPECT_EQ(inner, std::vector<std::string>{"first"});
    EXPECT_EQ(outer, std::vector<std::string>{"second"});
}

} // namespace
