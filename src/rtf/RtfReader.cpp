#include "rtf/RtfReader.h"

#include "core/TextHelpers.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace kalvara {

namespace {

constexpr char32_t ReplacementCharacter = 0xFFFD;

// Windows-1252 differs from Latin-1 only in 0x80 .. 0x9F; the five holes map
// to the replacement character rather than to invisible C1 controls.
constexpr std::array<char32_t, 32> Cp1252High = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178,
};

char32_t FromCp1252(unsigned char byte) {
    if (byte >= 0x80 && byte < 0xA0) {
        return Cp1252High[byte - 0x80];
    }
    return byte;
}

void AppendUtf8(std::string& out, char32_t code) {
    if (code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        code = ReplacementCharacter;
    }
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Runs hold no control characters but tab and line break, wherever a
// character comes from: C0 controls, DEL and the C1 range all stand for
// nothing.
bool IsTextCharacter(char32_t code) {
    if (code == U'\t' || code == U'\n') {
        return true;
    }
    return code >= 0x20 && code != 0x7F && !(code >= 0x80 && code < 0xA0);
}

// RTF numbers are signed 16- or 32-bit; longer digit strings saturate here
// instead of overflowing, and every user of a number clamps it again.
constexpr std::int64_t ParameterLimit = 2'000'000'000;

// Groups whose contents are never body text.
constexpr std::string_view SkippedDestinations[] = {
    "fonttbl",      "colortbl",
    "stylesheet",   "info",
    "pict",         "object",
    "header",       "headerl",
    "headerr",      "headerf",
    "footer",       "footerl",
    "footerr",      "footerf",
    "footnote",     "fldinst",
    "listtable",    "listoverridetable",
    "rsidtbl",      "generator",
    "themedata",    "colorschememapping",
    "latentstyles", "datastore",
    "xmlnstbl",     "pn",
    "filetbl",      "revtbl",
    "bkmkstart",    "bkmkend",
    "xe",           "tc",
    "txe",          "private",
    "nonshppict",   "userprops",
    "docvar",       "comment",
    "annotation",
};

struct GroupState {
    RtfCharFormat character;
    RtfParagraphFormat paragraph;
    int unicodeSkip = 1; // fallback characters after \uN, from \ucN
    bool skipped = false;
};

class RtfParser {
public:
    explicit RtfParser(std::string_view input) : input_(input) {}

    RtfDocument Parse() {
        while (pos_ < input_.size()) {
            const char c = input_[pos_++];
            if (c == '{') {
                OpenGroup();
            } else if (c == '}') {
                CloseGroup();
            } else if (c == '\\') {
                ControlSequence();
            } else {
                LiteralByte(static_cast<unsigned char>(c));
            }
        }
        if (!paragraph_.runs.empty()) {
            EndParagraph();
        }
        return std::move(document_);
    }

private:
    GroupState& State() { return stack_.back(); }

    void OpenGroup() {
        pendingSkip_ = 0;
        FlushSurrogate();
        if (overflowDepth_ > 0 || stack_.size() > RtfMaxGroupDepth) {
            ++overflowDepth_;
            return;
        }
        stack_.push_back(stack_.back());
        groupJustOpened_ = true;
    }

    void CloseGroup() {
        pendingSkip_ = 0;
        FlushSurrogate();
        groupJustOpened_ = false;
        if (overflowDepth_ > 0) {
            --overflowDepth_;
            return;
        }
        // The outermost state is never popped: a stray "}" is ignored.
        if (stack_.size() > 1) {
            stack_.pop_back();
        }
    }

    bool Discarding() const { return overflowDepth_ > 0 || stack_.back().skipped; }

    void LiteralByte(unsigned char byte) {
        groupJustOpened_ = false;
        // Line ends in RTF source are formatting of the file, not text.
        if (byte == '\r' || byte == '\n') {
            return;
        }
        if (ConsumeFallback()) {
            return;
        }
        if (byte == '\t') {
            AppendText(U'\t');
        } else if (byte >= 0x20 && byte != 0x7F) {
            AppendText(FromCp1252(byte));
        }
    }

    // After \uN, the next \ucN characters are the fallback for readers
    // without Unicode and are dropped. True when this character was one.
    bool ConsumeFallback() {
        if (pendingSkip_ > 0) {
            --pendingSkip_;
            return true;
        }
        return false;
    }

    void ControlSequence() {
        const bool atGroupStart = groupJustOpened_;
        groupJustOpened_ = false;
        if (pos_ >= input_.size()) {
            return; // a lone backslash at the very end
        }
        const char c = input_[pos_];
        if (IsLetter(c)) {
            ControlWord(atGroupStart);
            return;
        }
        ++pos_;
        if (c == '\'') {
            HexEscape();
            return;
        }
        if (ConsumeFallback()) {
            return;
        }
        switch (c) {
        case '\\':
        case '{':
        case '}':
            AppendText(static_cast<char32_t>(c));
            break;
        case '~':
            AppendText(0x00A0);
            break;
        case '_':
            AppendText(0x2011);
            break;
        case '\r':
        case '\n':
            EndParagraph();
            break;
        case '*':
            // "{\*\dest ...}": a destination this reader need not know.
            if (atGroupStart) {
                State().skipped = true;
            }
            break;
        default:
            break; // \- (optional hyphen), \| \: and unknown symbols
        }
    }

    void HexEscape() {
        int value = 0;
        int digits = 0;
        while (digits < 2 && pos_ < input_.size()) {
            const int digit = HexDigitValue(input_[pos_]);
            if (digit < 0) {
                break;
            }
            value = value * 16 + digit;
            ++digits;
            ++pos_;
        }
        if (ConsumeFallback()) {
            return;
        }
        if (digits == 2) {
            const char32_t code = FromCp1252(static_cast<unsigned char>(value));
            if (IsTextCharacter(code)) {
                AppendText(code);
            }
        }
        // A truncated escape ("\'4" or "\'") stands for nothing.
    }

    void ControlWord(bool atGroupStart) {
        constexpr std::size_t MaxWordLength = 32;
        const std::size_t start = pos_;
        while (pos_ < input_.size() && IsLetter(input_[pos_])) {
            ++pos_;
        }
        const std::string_view word = input_.substr(start, pos_ - start);

        bool hasParameter = false;
        std::int64_t parameter = 0;
        bool negative = false;
        if (pos_ + 1 < input_.size() && input_[pos_] == '-' && IsDigit(input_[pos_ + 1])) {
            negative = true;
            ++pos_;
        }
        while (pos_ < input_.size() && IsDigit(input_[pos_])) {
            hasParameter = true;
            parameter = std::min(parameter * 10 + (input_[pos_] - '0'), ParameterLimit);
            ++pos_;
        }
        if (negative) {
            parameter = -parameter;
        }
        // One space after a control word belongs to it.
        if (pos_ < input_.size() && input_[pos_] == ' ') {
            ++pos_;
        }
        if (word.size() > MaxWordLength) {
            ConsumeFallback();
            return;
        }
        if (word == "bin") {
            // Raw bytes follow; they never count as fallback characters.
            const std::int64_t length = hasParameter && parameter > 0 ? parameter : 0;
            pos_ += static_cast<std::size_t>(
                std::min<std::int64_t>(length, static_cast<std::int64_t>(input_.size() - pos_)));
            return;
        }
        if (ConsumeFallback()) {
            return;
        }
        Apply(word, hasParameter, parameter, atGroupStart);
    }

    static int Clamp(std::int64_t value, int low, int high) {
        return static_cast<int>(std::clamp<std::int64_t>(value, low, high));
    }

    void Apply(std::string_view word, bool hasParameter, std::int64_t parameter,
               bool atGroupStart) {
        GroupState& state = State();
        const bool on = !hasParameter || parameter != 0;

        if (atGroupStart &&
            std::find(std::begin(SkippedDestinations), std::end(SkippedDestinations), word) !=
                std::end(SkippedDestinations)) {
            state.skipped = true;
            return;
        }

        // Character formatting.
        if (word == "b") {
            state.character.bold = on;
        } else if (word == "i") {
            state.character.italic = on;
        } else if (word == "ul") {
            state.character.underline = on;
        } else if (word == "ulnone") {
            state.character.underline = false;
        } else if (word == "fs") {
            state.character.halfPoints = hasParameter && parameter > 0
                                             ? Clamp(parameter, 1, RtfMaxHalfPoints)
                                             : RtfDefaultHalfPoints;
        } else if (word == "plain") {
            state.character = RtfCharFormat{};
        } else if (word == "uc") {
            state.unicodeSkip = hasParameter ? Clamp(parameter, 0, 16) : 1;
        }
        // Paragraph formatting.
        else if (word == "pard") {
            state.paragraph = RtfParagraphFormat{};
        } else if (word == "ql") {
            state.paragraph.alignment = RtfAlignment::Left;
        } else if (word == "qc") {
            state.paragraph.alignment = RtfAlignment::Center;
        } else if (word == "qr") {
            state.paragraph.alignment = RtfAlignment::Right;
        } else if (word == "qj") {
            state.paragraph.alignment = RtfAlignment::Justify;
        } else if (word == "li") {
            state.paragraph.leftIndent = Clamp(parameter, 0, RtfMaxIndent);
        } else if (word == "fi") {
            state.paragraph.firstLineIndent = Clamp(parameter, -RtfMaxIndent, RtfMaxIndent);
        } else if (word == "sb") {
            state.paragraph.spaceBefore = Clamp(parameter, 0, RtfMaxSpacing);
        } else if (word == "sa") {
            state.paragraph.spaceAfter = Clamp(parameter, 0, RtfMaxSpacing);
        }
        // Breaks and special characters.
        else if (word == "par" || word == "sect" || word == "page" || word == "row") {
            EndParagraph();
        } else if (word == "line") {
            AppendText(U'\n');
        } else if (word == "tab" || word == "cell") {
            AppendText(U'\t');
        } else if (word == "u") {
            UnicodeCharacter(parameter);
        } else if (word == "emdash") {
            AppendText(0x2014);
        } else if (word == "endash") {
            AppendText(0x2013);
        } else if (word == "bullet") {
            AppendText(0x2022);
        } else if (word == "lquote") {
            AppendText(0x2018);
        } else if (word == "rquote") {
            AppendText(0x2019);
        } else if (word == "ldblquote") {
            AppendText(0x201C);
        } else if (word == "rdblquote") {
            AppendText(0x201D);
        } else if (word == "emspace" || word == "enspace" || word == "qmspace") {
            AppendText(U' ');
        }
    }

    void UnicodeCharacter(std::int64_t parameter) {
        // Values above 32767 are written as negative 16-bit numbers.
        if (parameter < 0) {
            parameter += 65536;
        }
        const int skip = State().unicodeSkip;
        if (parameter < 0 || parameter > 0xFFFF) {
            AppendText(ReplacementCharacter);
        } else {
            const auto unit = static_cast<char32_t>(parameter);
            if (unit >= 0xD800 && unit <= 0xDBFF) {
                FlushSurrogate();
                if (!Discarding()) {
                    highSurrogate_ = unit;
                }
            } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
                if (highSurrogate_ != 0) {
                    const char32_t code =
                        0x10000 + ((highSurrogate_ - 0xD800) << 10) + (unit - 0xDC00);
                    highSurrogate_ = 0;
                    AppendText(code);
                } else {
                    AppendText(ReplacementCharacter);
                }
            } else if (IsTextCharacter(unit)) {
                AppendText(unit);
            }
        }
        pendingSkip_ = skip;
    }

    // A high surrogate not followed by its low half becomes one replacement
    // character.
    void FlushSurrogate() {
        if (highSurrogate_ != 0) {
            highSurrogate_ = 0;
            AppendRaw(ReplacementCharacter);
        }
    }

    void AppendText(char32_t code) {
        if (Discarding()) {
            return;
        }
        FlushSurrogate();
        AppendRaw(code);
    }

    void AppendRaw(char32_t code) {
        const RtfCharFormat& format = State().character;
        if (paragraph_.runs.empty() || !(paragraph_.runs.back().format == format)) {
            paragraph_.runs.push_back(RtfRun{{}, format});
        }
        AppendUtf8(paragraph_.runs.back().text, code);
    }

    void EndParagraph() {
        if (Discarding()) {
            return;
        }
        FlushSurrogate();
        paragraph_.format = State().paragraph;
        document_.paragraphs.push_back(std::move(paragraph_));
        paragraph_ = RtfParagraph{};
    }

    std::string_view input_;
    std::size_t pos_ = 0;
    std::vector<GroupState> stack_{GroupState{}};
    std::size_t overflowDepth_ = 0; // groups opened beyond RtfMaxGroupDepth
    int pendingSkip_ = 0;           // fallback characters still to drop after \uN
    char32_t highSurrogate_ = 0;
    bool groupJustOpened_ = false;
    RtfParagraph paragraph_;
    RtfDocument document_;
};

} // namespace

bool LooksLikeRtf(std::string_view text) {
    const auto start = text.find_first_not_of(" \t\r\n");
    return start != std::string_view::npos && text.substr(start).starts_with("{\\rtf");
}

RtfDocument ReadRtf(std::string_view rtf) {
    return RtfParser(rtf).Parse();
}

std::string RtfPlainText(const RtfDocument& document) {
    std::string text;
    for (std::size_t i = 0; i < document.paragraphs.size(); ++i) {
        if (i > 0) {
            text += '\n';
        }
        for (const RtfRun& run : document.paragraphs[i].runs) {
            text += run.text;
        }
    }
    return text;
}

} // namespace kalvara
