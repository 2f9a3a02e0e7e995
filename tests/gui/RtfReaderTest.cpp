#include "gui/RtfReader.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <random>
#include <string>

namespace kalvara {
namespace {

std::string Text(std::string_view rtf) {
    return RtfPlainText(ReadRtf(rtf));
}

// --- Text and paragraphs -------------------------------------------------

TEST(GuiRtfReader, SplitsParagraphsAndKeepsLineBreaksInside) {
    const RtfDocument document = ReadRtf(R"({\rtf1\ansi First\par Second\line still second\par})");
    ASSERT_EQ(document.paragraphs.size(), 2u);
    EXPECT_EQ(Text(R"({\rtf1\ansi First\par Second\line still second\par})"),
              "First\nSecond\nstill second");
    ASSERT_EQ(document.paragraphs[1].runs.size(), 1u);
    EXPECT_EQ(document.paragraphs[1].runs[0].text, "Second\nstill second");
}

TEST(GuiRtfReader, IgnoresSourceLineEndsAndTakesOneSpaceAfterAControlWord) {
    EXPECT_EQ(Text("{\\rtf1 one\r\ntwo\\par  three}"), "onetwo\n three");
    // A backslash before a line end is the old spelling of \par.
    EXPECT_EQ(Text("{\\rtf1 a\\\nb}"), "a\nb");
}

TEST(GuiRtfReader, LastParagraphWithoutParIsKept) {
    EXPECT_EQ(Text(R"({\rtf1 a\par b})"), "a\nb");
    EXPECT_EQ(ReadRtf(R"({\rtf1 a\par})").paragraphs.size(), 1u);
}

TEST(GuiRtfReader, DecodesEscapesAsWindows1252AndUnicode) {
    EXPECT_EQ(Text(R"({\rtf1 caf\'e9 \'97 \'80})"), "caf\u00e9 \u2014 \u20ac");
    EXPECT_EQ(Text(R"({\rtf1 \{braces\} and \\})"), "{braces} and \\");
    EXPECT_EQ(Text(R"({\rtf1 a\~b\_c\-d})"), "a\u00a0b\u2011cd");
    EXPECT_EQ(Text(R"({\rtf1 \emdash\endash\bullet\lquote\rquote\ldblquote\rdblquote})"),
              "\u2014\u2013\u2022\u2018\u2019\u201c\u201d");
    // Raw bytes above 127 are Windows-1252 too.
    EXPECT_EQ(Text("{\\rtf1 \x93q\x94}"), "\u201cq\u201d");
}

TEST(GuiRtfReader, UnicodeEscapesDropTheirFallbackCharacters) {
    EXPECT_EQ(Text(R"({\rtf1 \u8212?x})"), "\u2014x");
    EXPECT_EQ(Text(R"({\rtf1\uc2 \u8212\'97\'97x})"), "\u2014x");
    EXPECT_EQ(Text(R"({\rtf1\uc0 \u8212 x})"), "\u2014x");
    // Negative values are 16-bit numbers written signed.
    EXPECT_EQ(Text(R"({\rtf1 \u-4064?})"), "\uf020");
    // A surrogate pair becomes one character; a lone half is replaced.
    EXPECT_EQ(Text(R"({\rtf1 \u-10179?\u-8704?})"), "\U0001F600");
    EXPECT_EQ(Text(R"({\rtf1 \u-10179?z})"), "\ufffdz");
    EXPECT_EQ(Text(R"({\rtf1 \u-8704?})"), "\ufffd");
    // \ucN is scoped to its group.
    EXPECT_EQ(Text(R"({\rtf1 {\uc3 a}\u8212?b})"), "a\u2014b");
    // The fallback ends at a group boundary.
    EXPECT_EQ(Text(R"({\rtf1\uc5 \u8212{x}})"), "\u2014x");
}

// --- Formatting ------------------------------------------------------------

TEST(GuiRtfReader, CharacterFormatFollowsGroups) {
    const RtfDocument document = ReadRtf(R"({\rtf1 a{\b\i\ul\fs32 b}c\b d\b0 e\ul f\ulnone g})");
    ASSERT_EQ(document.paragraphs.size(), 1u);
    const auto& runs = document.paragraphs[0].runs;
    ASSERT_EQ(runs.size(), 7u);
    EXPECT_EQ(runs[0].text, "a");
    EXPECT_EQ(runs[0].format, RtfCharFormat{});
    EXPECT_EQ(runs[1].text, "b");
    EXPECT_TRUE(runs[1].format.bold && runs[1].format.italic && runs[1].format.underline);
    EXPECT_EQ(runs[1].format.halfPoints, 32);
    EXPECT_EQ(runs[2].text, "c");
    EXPECT_EQ(runs[2].format, RtfCharFormat{});
    EXPECT_EQ(runs[3].text, "d");
    EXPECT_TRUE(runs[3].format.bold);
    EXPECT_EQ(runs[4].text, "e");
    EXPECT_EQ(runs[4].format, RtfCharFormat{});
    EXPECT_EQ(runs[5].text, "f");
    EXPECT_TRUE(runs[5].format.underline);
    EXPECT_EQ(runs[6].text, "g");
    EXPECT_EQ(runs[6].format, RtfCharFormat{});
}

TEST(GuiRtfReader, PlainResetsCharacterFormat) {
    const RtfDocument document = ReadRtf(R"({\rtf1\b\i\fs40 x\plain y})");
    const auto& runs = document.paragraphs.at(0).runs;
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[1].format, RtfCharFormat{});
}

TEST(GuiRtfReader, ParagraphFormatIsTakenAtTheParagraphEnd) {
    const RtfDocument document =
        ReadRtf(R"({\rtf1\qc\sa120 Title\par\pard\li360\fi-360\qj Body\par\pard Plain\par})");
    ASSERT_EQ(document.paragraphs.size(), 3u);
    EXPECT_EQ(document.paragraphs[0].format.alignment, RtfAlignment::Center);
    EXPECT_EQ(document.paragraphs[0].format.spaceAfter, 120);
    EXPECT_EQ(document.paragraphs[1].format.alignment, RtfAlignment::Justify);
    EXPECT_EQ(document.paragraphs[1].format.leftIndent, 360);
    EXPECT_EQ(document.paragraphs[1].format.firstLineIndent, -360);
    EXPECT_EQ(document.paragraphs[2].format, RtfParagraphFormat{});
}

TEST(GuiRtfReader, SkipsDestinationsWithoutBodyText) {
    const std::string rtf =
        R"({\rtf1\ansi\deff0{\fonttbl{\f0\fswiss Arial;}{\f1 Times;}})"
        R"({\colortbl;\red255\green0\blue0;}{\stylesheet{\s0 Normal;}})"
        R"({\info{\title Secret}{\author Someone}}{\*\generator Writer 1.0;})"
        R"({\*\unknowndest hidden {\b also hidden}}{\pict\pngblip 89504e47}Body)"
        R"({\field{\*\fldinst HYPERLINK "x"}{\fldrslt link}}\par})";
    EXPECT_EQ(Text(rtf), "Bodylink");
}

TEST(GuiRtfReader, StarOnlyMarksADestinationAtTheStartOfAGroup) {
    EXPECT_EQ(Text(R"({\rtf1 a\*b})"), "ab");
}

TEST(GuiRtfReader, BinarySkipsExactlyItsBytes) {
    const std::string rtf = std::string("{\\rtf1 a\\bin4 ") + std::string("}{\\\0", 4) + "b}";
    EXPECT_EQ(Text(rtf), "ab");
}

// --- Malformed input -------------------------------------------------------

TEST(GuiRtfReader, SurvivesUnbalancedBraces) {
    EXPECT_EQ(Text(R"(}}}{\rtf1 a}}} b)"), "a b");
    EXPECT_EQ(Text(R"({\rtf1 {\b a{{{)"), "a");
    // A closing brace too many must not drop the document's own state.
    const RtfDocument document = ReadRtf(R"({\rtf1\fs30 }}x)");
    EXPECT_EQ(document.paragraphs.at(0).runs.at(0).format.halfPoints, RtfDefaultHalfPoints);
}

TEST(GuiRtfReader, SurvivesTruncatedEscapes) {
    EXPECT_EQ(Text("{\\rtf1 a\\"), "a");
    EXPECT_EQ(Text("{\\rtf1 a\\'"), "a");
    EXPECT_EQ(Text("{\\rtf1 a\\'4"), "a");
    EXPECT_EQ(Text("{\\rtf1 a\\'4x"), "ax");
    EXPECT_EQ(Text("{\\rtf1 a\\'zz"), "azz");
    EXPECT_EQ(Text("{\\rtf1 a\\u"), "a");
    EXPECT_EQ(Text("{\\rtf1 a\\u-"), "a");
    EXPECT_EQ(Text("{\\rtf1 a\\bin"), "a");
    EXPECT_EQ(Text("{\\rtf1 a\\bin99999 xyz"), "a");
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
    // Out-of-range characters and absurd skip counts.
    EXPECT_EQ(Text(R"({\rtf1 \u99999999999999999?x})"), "\ufffdx");
    // No writer needs more than a few fallback characters; at most 16 go.
    EXPECT_EQ(Text(R"({\rtf1\uc99999999999 \u8212 abcdefghijklmnopqrstuvwxyz})"),
              "\u2014qrstuvwxyz");
    EXPECT_EQ(Text(R"({\rtf1 \u0?x})"), "x");
}

TEST(GuiRtfReader, OverlongControlWordsAreIgnored) {
    EXPECT_EQ(Text("{\\rtf1 \\" + std::string(5000, 'b') + " x}"), "x");
}

TEST(GuiRtfReader, DeepNestingDropsOnlyTheTooDeepGroups) {
    const int depth = 100000;
    std::string rtf = "{\\rtf1 top";
    for (int i = 0; i < depth; ++i) {
        rtf += "{\\b ";
    }
    rtf += "deep";
    for (int i = 0; i < depth; ++i) {
        rtf += "}";
    }
    rtf += " after}";
    const RtfDocument document = ReadRtf(rtf);
    EXPECT_EQ(RtfPlainText(document), "top after");
    EXPECT_FALSE(document.paragraphs.at(0).runs.back().format.bold);

    // Text inside the deepest group still allowed is kept.
    std::string allowed = "{\\rtf1";
    for (int i = 1; i < RtfMaxGroupDepth; ++i) {
        allowed += "{";
    }
    allowed += "ok";
    EXPECT_EQ(Text(allowed), "ok");
}

TEST(GuiRtfReader, DropsControlCharactersAndKeepsTabs) {
    EXPECT_EQ(Text(std::string("{\\rtf1 a\0b\x01\x7f\tc\\tab d\\'09e}", 27)), "ab\tc\td\te");
}

TEST(GuiRtfReader, RtfIsKnownByItsHeaderAndOtherTextReadsAsPlainText) {
    EXPECT_TRUE(LooksLikeRtf("{\\rtf1\\ansi hello}"));
    EXPECT_TRUE(LooksLikeRtf(" \r\n{\\rtf1}"));
    EXPECT_FALSE(LooksLikeRtf("plain {\\rtf1}"));
    EXPECT_FALSE(LooksLikeRtf(""));
    EXPECT_EQ(Text("just some words"), "just some words");
    EXPECT_TRUE(ReadRtf("").paragraphs.empty());
}

// Every output must be well-formed UTF-8 whatever the input, since it goes
// straight into the text widget.
bool IsValidUtf8(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto byte = static_cast<unsigned char>(text[i]);
        int length = 0;
        char32_t code = 0;
        if (byte < 0x80) {
            length = 1;
            code = byte;
        } else if ((byte & 0xE0) == 0xC0) {
            length = 2;
            code = byte & 0x1F;
        } else if ((byte & 0xF0) == 0xE0) {
            length = 3;
            code = byte & 0x0F;
        } else if ((byte & 0xF8) == 0xF0) {
            length = 4;
            code = byte & 0x07;
        } else {
            return false;
        }
        if (i + length > text.size()) {
            return false;
        }
        for (int k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) {
                return false;
            }
            code = (code << 6) | (next & 0x3F);
        }
        if ((code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) {
            return false;
        }
        if (code < 0x20 && code != '\t' && code != '\n') {
            return false;
        }
        i += length;
    }
    return true;
}

void ExpectSane(const RtfDocument& document) {
    for (const RtfParagraph& paragraph : document.paragraphs) {
        EXPECT_GE(paragraph.format.leftIndent, 0);
        EXPECT_LE(paragraph.format.leftIndent, RtfMaxIndent);
        for (const RtfRun& run : paragraph.runs) {
            ASSERT_TRUE(IsValidUtf8(run.text));
            EXPECT_GE(run.format.halfPoints, 1);
            EXPECT_LE(run.format.halfPoints, RtfMaxHalfPoints);
        }
    }
}

TEST(GuiRtfReader, RandomBytesGiveSaneDocuments) {
    std::mt19937 random(20170806);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> length(0, 2000);
    for (int round = 0; round < 300; ++round) {
        std::string input(static_cast<std::size_t>(length(random)), '\0');
        for (char& c : input) {
            c = static_cast<char>(byte(random));
        }
        ExpectSane(ReadRtf(input));
    }
}

TEST(GuiRtfReader, RandomRtfTokenSoupGivesSaneDocuments) {
    // Mostly RTF syntax, so that the reader's deeper paths are exercised.
    const std::string tokens[] = {
        "{",           "}",          "\\",     "\\par ",   "\\line",  "\\b",
        "\\b0",        "\\i ",       "\\ul",   "\\ulnone", "\\fs",    "\\fs-",
        "99999999999", "-",          "\\'",    "\\'e",     "\\'e9",   "\\u",
        "\\u-",        "\\uc",       "\\uc3",  "\\bin",    "\\bin3 ", "\\*",
        "{\\*",        "{\\fonttbl", "\\pard", "\\li",     "\\fi-",   "\\qc",
        "text",        " ",          "\r\n",   "\x93",     "\x81",    std::string(1, '\0'),
        "\\u-10179",   "\\u-8704",   "?",      "\\plain",  "\\~",     "\\\n",
    };
    std::mt19937 random(5300);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(tokens) - 1);
    std::uniform_int_distribution<int> length(0, 400);
    for (int round = 0; round < 500; ++round) {
        std::string input;
        const int count = length(random);
        for (int i = 0; i < count; ++i) {
            input += tokens[pick(random)];
        }
        ExpectSane(ReadRtf(input));
    }
}

} // namespace
} // namespace kalvara
