// The program history is a file anyone can replace. Whatever bytes it holds,
// the reader gives a document whose runs are valid UTF-8 without stray
// control characters and whose sizes and indents stay in their ranges.

#include "FuzzSupport.h"
#include "rtf/RtfReader.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

using kalvara::fuzz::Require;

// Well-formed UTF-8: no stray continuation bytes, no overlong forms, no
// surrogates, nothing beyond U+10FFFF.
bool IsValidUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        char32_t code = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            code = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            code = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            code = lead & 0x07;
        } else {
            return false;
        }
        if (i + length > text.size()) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) {
                return false;
            }
            code = (code << 6) | (next & 0x3F);
        }
        const char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < smallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            return false;
        }
        i += length;
    }
    return true;
}

bool HoldsOnlyTabAndLineBreak(std::string_view text) {
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && c != '\t' && c != '\n') || byte == 0x7F) {
            return false;
        }
    }
    return true;
}

bool InRange(int value, int lowest, int highest) {
    return value >= lowest && value <= highest;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input = kalvara::fuzz::AsText(data, size);
    (void)kalvara::LooksLikeRtf(input);
    const kalvara::RtfDocument document = kalvara::ReadRtf(input);
    for (const kalvara::RtfParagraph& paragraph : document.paragraphs) {
        const kalvara::RtfParagraphFormat& format = paragraph.format;
        Require(InRange(format.leftIndent, 0, kalvara::RtfMaxIndent), "left indent in range");
        Require(InRange(format.firstLineIndent, -kalvara::RtfMaxIndent, kalvara::RtfMaxIndent),
                "first-line indent in range");
        Require(InRange(format.spaceBefore, 0, kalvara::RtfMaxSpacing), "space before in range");
        Require(InRange(format.spaceAfter, 0, kalvara::RtfMaxSpacing), "space after in range");
        for (const kalvara::RtfRun& run : paragraph.runs) {
            Require(IsValidUtf8(run.text), "a run is valid UTF-8");
            Require(HoldsOnlyTabAndLineBreak(run.text), "a run holds no other control character");
            Require(InRange(run.format.halfPoints, 1, kalvara::RtfMaxHalfPoints),
                    "font size in range");
        }
    }
    const std::string plain = kalvara::RtfPlainText(document);
    Require(IsValidUtf8(plain), "the plain text is valid UTF-8");
    return 0;
}
