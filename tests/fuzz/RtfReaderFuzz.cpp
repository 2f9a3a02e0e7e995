// The history file anyone can replace, read whatever it holds.

#include "FuzzSupport.h"
#include "rtf/RtfReader.h"

#include <algorithm>
#include <iconv.h>
#include <memory>

namespace {

using kalvara::fuzz::Require;

// The C library's strict decoder refuses overlong forms, surrogates, code points
// beyond U+10FFFF and cut sequences.
bool IsValidUtf8(std::string_view text) {
    const auto close = [](iconv_t decoder) { iconv_close(decoder); };
    const std::unique_ptr<void, decltype(close)> decoder(iconv_open("UTF-32LE", "UTF-8"), close);
    Require(decoder.get() != reinterpret_cast<iconv_t>(-1), "the C library decodes UTF-8");
    std::string in(text);
    std::string out(4 * in.size(), '\0');
    char* from = in.data();
    char* to = out.data();
    std::size_t left = in.size();
    std::size_t room = out.size();
    return iconv(decoder.get(), &from, &left, &to, &room) != static_cast<std::size_t>(-1);
}

bool IsStrayControl(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (byte < 0x20 && c != '\t' && c != '\n') || byte == 0x7F;
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
            Require(std::ranges::none_of(run.text, IsStrayControl),
                    "a run holds no control character but tab and line break");
            Require(InRange(run.format.halfPoints, 1, kalvara::RtfMaxHalfPoints),
                    "font size in range");
        }
    }
    Require(IsValidUtf8(kalvara::RtfPlainText(document)), "the plain text is valid UTF-8");
    return 0;
}
