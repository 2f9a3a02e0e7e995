#include "rtf/RtfReader.h"

#include <bit>
#include <gtest/gtest.h>
#include <random>
#include <string>

namespace kalvara {
namespace {

std::string Text(std::string_view rtf) {
    return RtfPlainText(ReadRtf(rtf));
}

using namespace std::string_literals;

TEST(GuiRtfReader, PlainText) {
    const std::pair<std::string, std::string> cases[] = {
        // Paragraphs, line breaks, source line ends, one space after a control word.
        {R"({\rtf1\ansi First\par Second\line still second\par})", "First\nSecond\nstill second"},
        {"{\\rtf1 one\r\ntwo\\par  three}", "onetwo\n three"},
        {"{\\rtf1 a\\\nb}", "a\nb"}, // a backslash before a line end is the old \par
        {R"({\rtf1 a\par b})", "a\nb"},
        // Escapes: Windows-1252, symbols, raw high bytes.
        {R"({\rtf1 caf\'e9 \'97 \'80})", "caf\u00e9 \u2014 \u20ac"},
        {R"({\rtf1 \{braces\} and \\})", "{braces} and \\"},
        {R"({\rtf1 a\~b\_c\-d})", "a\u00a0b\u2011cd"},
        {R"({\rtf1 \emdash\endash\bullet\lquote\rquote\ldblquote\rdblquote})",
         "\u2014\u2013\u2022\u2018\u2019\u201c\u201d"},
        {"{\\rtf1 \x93q\x94}", "\u201cq\u201d"},
        // \uN drops its \ucN fallback characters, \ucN scoped to its group and
        // the fallback ending at a group boundary; negative values are 16-bit
        // numbers written signed; surrogate pairs join, lone halves are replaced.
        {R"({\rtf1 \u8212?x})", "\u2014x"},
        {R"({\rtf1\uc2 \u8212\'97\'97x})", "\u2014x"},
        {R"({\rtf1\uc0 \u8212 x})", "\u2014x"},
        {R"({\rtf1 {\uc3 a}\u8212?b})", "a\u2014b"},
        {R"({\rtf1\uc5 \u8212{x}})", "\u2014x"},
        {R"({\rtf1 \u-4064?})", "\uf020"},
        {R"({\rtf1 \u-10179?\u-8704?})", "\U0001F600"},
        {R"({\rtf1 \u-10179?z})", "\ufffdz"},
        {R"({\rtf1 \u-8704?})", "\ufffd"},
        // Destinations without body text are skipped.
        {R"({\rtf1\ansi\deff0{\fonttbl{\f0\fswiss Arial;}{\f1 Times;}})"
         R"({\colortbl;\red255\green0\blue0;}{\stylesheet{\s0 Normal;}})"
         R"({\info{\title Secret}{\author Someone}}{\*\generator Writer 1.0;})"
         R"({\*\unknowndest hidden {\b also hidden}}{\pict\pngblip 89504e47}Body)"
         R"({\field{\*\fldinst HYPERLINK "x"}{\fldrslt link}}\par})",
         "Bodylink"},
        {R"({\rtf1 a\*b})", "ab"}, // "*" marks a destination only at a group's start
        {"{\\rtf1 a\\bin4 }{\\\0b}"s, "ab"},
        {"{\\rtf1 a\0b\x01\x7f\tc\\tab d\\'09e}"s, "ab\tc\td\te"},
        {"just some words", "just some words"},
        // Malformed: unbalanced braces, truncated escapes, overlong words.
        {R"(}}}{\rtf1 a}}} b)", "a b"},
        {R"({\rtf1 {\b a{{{)", "a"},
        {"{\\rtf1 a\\", "a"},
        {"{\\rtf1 a\\'", "a"},
        {"{\\rtf1 a\\'4", "a"},
        {"{\\rtf1 a\\'4x", "ax"},
        {"{\\rtf1 a\\'zz", "azz"},
        {"{\\rtf1 a\\u", "a"},
        {"{\\rtf1 a\\u-", "a"},
        {"{\\rtf1 a\\bin", "a"},
        {"{\\rtf1 a\\bin99999 xyz", "a"},
        {"{\\rtf1 \\" + std::string(5000, 'b') + " x}", "x"},
        // Out-of-range characters; at most 16 fallback characters go.
        {R"({\rtf1 \u99999999999999999?x})", "\ufffdx"},
        {R"({\rtf1\uc99999999999 \u8212 abcdefghijklmnopqrstuvwxyz})", "\u2014qrstuvwxyz"},
        {R"({\rtf1 \u0?x})", "x"},
        // Control characters reach no run, by whatever escape they come; tab
        // and line break are text.
        {R"({\rtf1 a\u8?b\u13?c\u127?d\u133?e\u9?f\u10?g})", "abcde\tf\ng"},
        {R"({\rtf1 a\'08b\'0dc\'7fd\'0ae\'85})", "abcd\ne\u2026"},
    };
    for (const auto& [rtf, text] : cases) {
        EXPECT_EQ(Text(rtf), text) << rtf.substr(0, 80);
    }
}

TEST(GuiRtfReader, ParagraphsAndRuns) {
    const RtfDocument document = ReadRtf(R"({\rtf1\ansi First\par Second\line still second\par})");
    ASSERT_EQ(document.paragraphs.size(), 2u);
    ASSERT_EQ(document.paragraphs[1].runs.size(), 1u);
    EXPECT_EQ(document.paragraphs[1].runs[0].text, "Second\nstill second");
    EXPECT_EQ(ReadRtf(R"({\rtf1 a\par})").paragraphs.size(), 1u);
    EXPECT_TRUE(ReadRtf("").paragraphs.empty());
}

TEST(GuiRtfReader, CharacterFormatFollowsGroupsAndPlainResetsIt) {
    const auto runs = [](std::string_view rtf) {
        std::vector<std::pair<std::string, RtfCharFormat>> found;
        const RtfDocument document = ReadRtf(rtf);
        for (const RtfRun& run : document.paragraphs.at(0).runs) {
            found.emplace_back(run.text, run.format);
        }
        return found;
    };
    const RtfCharFormat plain;
    const RtfCharFormat bold{true, false, false, RtfDefaultHalfPoints};
    EXPECT_EQ(runs(R"({\rtf1 a{\b\i\ul\fs32 b}c\b d\b0 e\ul f\ulnone g})"),
              (std::vector<std::pair<std::string, RtfCharFormat>>{
                  {"a", plain},
                  {"b", {true, true, true, 32}},
                  {"c", plain},
                  {"d", bold},
                  {"e", plain},
                  {"f", {false, false, true, RtfDefaultHalfPoints}},
                  {"g", plain}}));
    EXPECT_EQ(runs(R"({\rtf1\b\i\fs40 x\plain y})").at(1).second, plain);
}

TEST(GuiRtfReader, ParagraphFormatIsTakenAtTheParagraphEnd) {
    const RtfDocument document =
        ReadRtf(R"({\rtf1\qc\sa120 Title\par\pard\li360\fi-360\qj Body\par\pard Plain\par})");
    ASSERT_EQ(document.paragraphs.size(), 3u);
    EXPECT_EQ(document.paragraphs[0].format,
              (RtfParagraphFormat{RtfAlignment::Center, 0, 0, 0, 120}));
    EXPECT_EQ(document.paragraphs[1].format,
              (RtfParagraphFormat{RtfAlignment::Justify, 360, -360, 0, 0}));
    EXPECT_EQ(document.paragraphs[2].format, RtfParagraphFormat{});
}

TEST(GuiRtfReader, ClampsHugeAndNegativeNumbers) {
    const RtfDocument document =
        ReadRtf(R"({\rtf1\fs999999999999999999999999\li-5\fi-99999999999\sb99999999999999 a\par)"
                R"(\pard\fs-4 b\par\fs0 c})");
    ASSERT_EQ(document.paragraphs.size(), 3u);
    EXPECT_EQ(document.paragraphs[0].runs.at(0).format.halfPoints, RtfMaxHalfPoints);
    EXPECT_EQ(document.paragraphs[0].format.leftIndent, 0);
    EXPECT_EQ(document.paragraphs[0].format.firstLineIndent, -RtfMaxIndent);
    EXPECT_EQ(document.paragraphs[0].format.spaceBefore, RtfMaxSpacing);
    EXPECT_EQ(document.paragraphs[1].runs.at(0).format.halfPoints, RtfDefaultHalfPoints);
    EXPECT_EQ(document.paragraphs[2].runs.at(0).format.halfPoints, RtfDefaultHalfPoints);
    // A closing brace too many must not drop the document's own state.
    EXPECT_EQ(ReadRtf(R"({\rtf1\fs30 }}x)").paragraphs.at(0).runs.at(0).format.halfPoints,
              RtfDefaultHalfPoints);
}

TEST(GuiRtfReader, DeepNestingDropsOnlyTheTooDeepGroups) {
    const int depth = 100000;
    std::string rtf = "{\\rtf1 top";
    for (int i = 0; i < depth; ++i) {
        rtf += "{\\b ";
    }
    const RtfDocument document = ReadRtf(rtf + "deep" + std::string(depth, '}') + " after}");
    EXPECT_EQ(RtfPlainText(document), "top after");
    EXPECT_FALSE(document.paragraphs.at(0).runs.back().format.bold);
    // Text inside the deepest group still allowed is kept.
    EXPECT_EQ(Text("{\\rtf1" + std::string(RtfMaxGroupDepth - 1, '{') + "ok"), "ok");
}

TEST(GuiRtfReader, RtfIsKnownByItsHeader) {
    EXPECT_TRUE(LooksLikeRtf("{\\rtf1\\ansi hello}"));
    EXPECT_TRUE(LooksLikeRtf(" \r\n{\\rtf1}"));
    EXPECT_FALSE(LooksLikeRtf("plain {\\rtf1}"));
    EXPECT_FALSE(LooksLikeRtf(""));
}

// Every output must be well-formed UTF-8 without control characters but tab
// and line end, whatever the input, since it goes straight into the text
// widget; sizes and indents stay in their ranges.
bool IsValidUtf8(const std::string& text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int ones = std::countl_one(lead); // 0: ASCII, 1: a continuation byte
        const int length = ones == 0 ? 1 : ones;
        if (ones == 1 || ones > 4 || i + length > text.size()) {
            return false;
        }
        char32_t code = lead & (0xFF >> (ones + 1));
        for (int k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) {
                return false;
            }
            code = (code << 6) | (next & 0x3F);
        }
        if ((code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF ||
            (code < 0x20 && code != '\t' && code != '\n')) {
            return false;
        }
        i += length;
    }
    return true;
}

TEST(GuiRtfReader, RandomBytesAndTokenSoupGiveSaneDocuments) {
    // Mostly RTF syntax, so that the reader's deeper paths are exercised.
    const std::string tokens[] = {
        "{",           "}",          "\\",     "\\par ",   "\\line",  "\\b",
        "\\b0",        "\\i ",       "\\ul",   "\\ulnone", "\\fs",    "\\fs-",
        "99999999999", "-",          "\\'",    "\\'e",     "\\'e9",   "\\u",
        "\\u-",        "\\uc",       "\\uc3",  "\\bin",    "\\bin3 ", "\\*",
        "{\\*",        "{\\fonttbl", "\\pard", "\\li",     "\\fi-",   "\\qc",
        "text",        " ",          "\r\n",   "\x93",     "\x81",    std::string(1, '\0'),
        "\\u-10179",   "\\u-8704",   "?",      "\\plain",  "\\~",     "\\\n",
        "\\u8",        "\\u13",      "\\u155", "\\'0d",    "\\'1b",   "\\u127",
    };
    std::mt19937 random(5300);
    for (int round = 0; round < 800; ++round) {
        std::string input;
        if (round % 8 < 3) { // random bytes
            input.resize(random() % 2001);
            for (char& c : input) {
                c = static_cast<char>(random());
            }
        } else {
            for (int i = static_cast<int>(random() % 401); i > 0; --i) {
                input += tokens[random() % std::size(tokens)];
            }
        }
        for (const RtfParagraph& paragraph : ReadRtf(input).paragraphs) {
            EXPECT_GE(paragraph.format.leftIndent, 0);
            EXPECT_LE(paragraph.format.leftIndent, RtfMaxIndent);
            for (const RtfRun& run : paragraph.runs) {
                ASSERT_TRUE(IsValidUtf8(run.text));
                for (const char c : run.text) {
                    const auto byte = static_cast<unsigned char>(c);
                    EXPECT_TRUE(byte >= 0x20 || c == '\t' || c == '\n') << int(byte);
                    EXPECT_NE(byte, 0x7F);
                }
                // C1 controls are U+0080..U+009F, encoded as C2 80..C2 9F.
                for (std::size_t i = 0; i + 1 < run.text.size(); ++i) {
                    const auto lead = static_cast<unsigned char>(run.text[i]);
                    const auto next = static_cast<unsigned char>(run.text[i + 1]);
                    EXPECT_FALSE(lead == 0xC2 && next < 0xA0) << int(next);
                }
                EXPECT_GE(run.format.halfPoints, 1);
                EXPECT_LE(run.format.halfPoints, RtfMaxHalfPoints);
            }
        }
    }
}

} // namespace
} // namespace kalvara
