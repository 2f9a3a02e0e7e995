#include "rtf/RtfReader.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <random>
#include <string>

// The fuzz target's entry point: aborts when a document lacks a property it must have.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace kalvara {
namespace {

using namespace std::string_literals;

std::string Text(std::string_view rtf) {
    return RtfPlainText(ReadRtf(rtf));
}

// Each run as " text/" then the letters B, I and U of its styles and its
// size in half-points; paragraphs apart by " |".
std::string Runs(std::string_view rtf) {
    std::string described;
    for (const RtfParagraph& paragraph : ReadRtf(rtf).paragraphs) {
        described += described.empty() ? "" : " |";
        for (const RtfRun& run : paragraph.runs) {
            const RtfCharFormat& format = run.format;
            described += " " + run.text + "/" + (format.bold ? "B" : "") +
                         (format.italic ? "I" : "") + (format.underline ? "U" : "") +
                         std::to_string(format.halfPoints);
        }
    }
    return described;
}

TEST(GuiRtfReader, PlainTextOfEscapesDestinationsAndMalformedInput) {
    const std::pair<std::string, std::string> cases[] = {
        // Source line ends, one space after a control word.
        {"{\\rtf1 one\r\ntwo\\par  three}", "onetwo\n three"},
        {"{\\rtf1 a\\\nb}", "a\nb"}, // a backslash before a line end is the old \par
        // Escapes: Windows-1252 in hex digits of either case, symbols, raw high bytes.
        {R"({\rtf1 caf\'E9 \'97 \'80})", "caf\u00e9 \u2014 \u20ac"},
        {R"({\rtf1 \{braces\} and \\})", "{braces} and \\"},
        {R"({\rtf1 a\~b\_c\-d})", "a\u00a0b\u2011cd"},
        {R"({\rtf1 \emdash\endash\bullet\lquote\rquote\ldblquote\rdblquote})",
         "\u2014\u2013\u2022\u2018\u2019\u201c\u201d"},
        {"{\\rtf1 \x93q\x94}", "\u201cq\u201d"},
        // \uN drops its \ucN fallback, \ucN scoped to its group; negative values
        // are 16-bit numbers written signed; lone surrogate halves are replaced.
        {R"({\rtf1 \u8212?x})", "\u2014x"},
        {R"({\rtf1\uc2 \u8212\'97\'97x})", "\u2014x"},
        {R"({\rtf1\uc0 \u8212 x})", "\u2014x"},
        {R"({\rtf1 {\uc3 a}\u8212?b})", "a\u2014b"},
        {R"({\rtf1\uc5 \u8212{x}})", "\u2014x"},
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
        {"{\\rtf1 a\\'4x", "ax"},
        {"{\\rtf1 \\" + std::string(5000, 'b') + " x}", "x"},
        // Out-of-range characters; at most 16 fallback characters go.
        {R"({\rtf1 \u99999999999999999?x})", "\ufffdx"},
        {R"({\rtf1\uc99999999999 \u8212 abcdefghijklmnopqrstuvwxyz})", "\u2014qrstuvwxyz"},
        {R"({\rtf1 \u0?x})", "x"},
        // Control characters reach no run, by whatever escape; tab and line break are text.
        {R"({\rtf1 a\u8?b\u13?c\u127?d\u133?e\u9?f\u10?g})", "abcde\tf\ng"},
        {R"({\rtf1 a\'08b\'0dc\'7fd\'0ae\'85})", "abcd\ne\u2026"},
    };
    for (const auto& [rtf, text] : cases) {
        EXPECT_EQ(Text(rtf), text) << rtf.substr(0, 80);
    }
    for (const char* truncated : {"\\", "\\'", "\\'4", "\\u", "\\u-", "\\bin", "\\bin99999 xyz"}) {
        EXPECT_EQ(Text("{\\rtf1 a"s + truncated), "a") << truncated;
    }
    EXPECT_TRUE(LooksLikeRtf(" \r\n{\\rtf1}"));
    EXPECT_FALSE(LooksLikeRtf("plain {\\rtf1}"));
    EXPECT_FALSE(LooksLikeRtf(""));
}

TEST(GuiRtfReader, ParagraphsHoldRunsOfOneCharacterFormat) {
    EXPECT_EQ(Runs(R"({\rtf1\ansi First\par Second\line still second\par})"),
              " First/24 | Second\nstill second/24");
    EXPECT_EQ(Runs(R"({\rtf1 a{\b\i\ul\fs32 b}c\b d\b0 e\ul f\ulnone g\par})"),
              " a/24 b/BIU32 c/24 d/B24 e/24 f/U24 g/24");
    EXPECT_EQ(Runs(R"({\rtf1\b\i\fs40 x\plain y})"), " x/BI40 y/24");
    EXPECT_EQ(Runs(""), "");
}

// A paragraph's format is the one in force at its end; numbers out of range
// are held at the nearest limit.
TEST(GuiRtfReader, ParagraphFormatsAreTakenAtTheParagraphEndAndClamped) {
    const std::string rtf =
        R"({\rtf1\qc\sa120 Title\par\pard\li360\fi-360\qj Body\par\pard Plain\par)"
        R"(\fs999999999999999999999999\li-5\fi-99999999999\sb99999999999999 a)"
        R"(\par\pard\fs-4 b\par\fs0 c})";
    EXPECT_EQ(Runs(rtf), " Title/24 | Body/24 | Plain/24 | a/" + std::to_string(RtfMaxHalfPoints) +
                             " | b/24 | c/24");
    const auto paragraphs = ReadRtf(rtf).paragraphs;
    ASSERT_EQ(paragraphs.size(), 6u);
    EXPECT_EQ(paragraphs[0].format, (RtfParagraphFormat{RtfAlignment::Center, 0, 0, 0, 120}));
    EXPECT_EQ(paragraphs[1].format, (RtfParagraphFormat{RtfAlignment::Justify, 360, -360, 0, 0}));
    EXPECT_EQ(paragraphs[2].format, RtfParagraphFormat{});
    EXPECT_EQ(paragraphs[3].format,
              (RtfParagraphFormat{RtfAlignment::Left, 0, -RtfMaxIndent, RtfMaxSpacing, 0}));
    // A closing brace too many must not drop the document's own state.
    EXPECT_EQ(Runs(R"({\rtf1\fs30 }}x)"), " x/24");
}

TEST(GuiRtfReader, DeepNestingDropsOnlyTheTooDeepGroups) {
    const int depth = 100000;
    std::string rtf = "{\\rtf1 top";
    for (int i = 0; i < depth; ++i) {
        rtf += "{\\b ";
    }
    EXPECT_EQ(Runs(rtf + "deep" + std::string(depth, '}') + " after}"), " top after/24");
    // Text inside the deepest group still allowed is kept.
    EXPECT_EQ(Text("{\\rtf1" + std::string(RtfMaxGroupDepth - 1, '{') + "ok"), "ok");
}

// Random bytes and, mostly, RTF syntax, so that the reader's deeper paths are reached.
TEST(GuiRtfReader, RandomBytesAndTokenSoupGiveSaneDocuments) {
    const std::string tokens[] = {
        "{",           "}",          "\\",     "\\par ",   "\\line",  "\\b",
        "\\b0",        "\\i ",       "\\ul",   "\\ulnone", "\\fs",    "\\fs-",
        "99999999999", "-",          "\\'",    "\\'e",     "\\'e9",   "\\u",
        "\\u-",        "\\uc",       "\\uc3",  "\\bin",    "\\bin3 ", "\\*",
        "{\\*",        "{\\fonttbl", "\\pard", "\\li",     "\\fi-",   "\\qc",
        "text",        " ",          "\r\n",   "\x93",     "\x81",    std::string(1, '\0'),
        "\\u-10179",   "\\u-8704",   "?",      "\\plain",  "\\~",     "\\\n",
        "\\u8",        "\\u13",      "\\u155", "\\'0d",    "\\'1b",   "\\u127"};
    std::mt19937 random(5300);
    for (int round = 0; round < 800; ++round) {
        std::string input;
        if (round % 8 < 3) {
            input.resize(random() % 2001);
            for (char& c : input) {
                c = static_cast<char>(random());
            }
        } else {
            for (int i = static_cast<int>(random() % 401); i > 0; --i) {
                input += tokens[random() % std::size(tokens)];
            }
        }
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
        // C1 controls, U+0080..U+009F, are encoded as C2 80..C2 9F.
        const std::string text = Text(input);
        for (std::size_t i = 0; i + 1 < text.size(); ++i) {
            ASSERT_FALSE(text[i] == '\xC2' && static_cast<unsigned char>(text[i + 1]) < 0xA0);
        }
    }
}

} // namespace
} // namespace kalvara
