// Rich text format as the About box's history shows it.

#include "gui/RichTextFormat.h"

#include <gtest/gtest.h>

namespace kalvara::gui {
namespace {

TEST(GuiRichText, RecognisesRtfByItsHeader) {
    EXPECT_TRUE(LooksLikeRtf("{\\rtf1\\ansi hello}"));
    EXPECT_TRUE(LooksLikeRtf("  \n{\\rtf1}"));
    EXPECT_FALSE(LooksLikeRtf("plain {\\rtf1}"));
    EXPECT_FALSE(LooksLikeRtf(""));
}

TEST(GuiRichText, KeepsTextParagraphsAndEmphasisDropsTables) {
    const std::string html = RtfToHtml("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}"
                                       "{\\colortbl;\\red255\\green0\\blue0;}"
                                       "\\qc\\b Version 5.3\\b0\\par\\pard Fixed \\i printing\\i0."
                                       "\\par}");
    EXPECT_EQ(html.find("Arial"), std::string::npos);
    EXPECT_EQ(html.find("red255"), std::string::npos);
    EXPECT_NE(html.find("text-align:center\"><span style=\"font-weight:bold;\">Version 5.3</span>"),
              std::string::npos);
    EXPECT_NE(html.find("text-align:left\">Fixed <span style=\"font-style:italic;\">printing"),
              std::string::npos);
}

TEST(GuiRichText, SpecialCharactersBecomeUnicode) {
    // \'97 is the em dash of Windows-1252, \u8212 the same by number with a
    // stand-in that must not show, \'e9 is e acute.
    const std::string html = RtfToHtml("{\\rtf1 a\\'97b\\u8212?c caf\\'e9 <&> \\{x\\}}");
    EXPECT_NE(html.find("a\xE2\x80\x94"
                        "b\xE2\x80\x94"
                        "c"),
              std::string::npos);
    EXPECT_NE(html.find("caf\xC3\xA9"), std::string::npos);
    EXPECT_NE(html.find("&lt;&amp;&gt;"), std::string::npos);
    EXPECT_NE(html.find("{x}"), std::string::npos);
}

TEST(GuiRichText, MalformedInputYieldsWhatCanBeRead) {
    EXPECT_NE(RtfToHtml("{\\rtf1 open {{{ text").find("text"), std::string::npos);
    EXPECT_NE(RtfToHtml("{\\rtf1 closed }}}}} more").find("more"), std::string::npos);
    EXPECT_NO_THROW(RtfToHtml("{\\rtf1 cut \\'4"));
    EXPECT_NO_THROW(RtfToHtml("{\\rtf1 \\u99999999999999999 \\uc-5 \\'zz \\"));
    EXPECT_NO_THROW(RtfToHtml(std::string(100000, '{')));
}

} // namespace
} // namespace kalvara::gui
