#include "gui/RichTextFormat.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <vector>

namespace kalvara::gui {

namespace {

// Unicode code points of the Windows-1252 bytes 0x80 to 0x9F; the rest of the
// code page equals Latin-1. Unassigned bytes map to U+FFFD.
constexpr std::array<char32_t, 32> kCp1252High = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x110000) {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

char32_t FromCp1252(unsigned char byte) {
    if (byte >= 0x80 && byte < 0xA0) {
        return kCp1252High[byte - 0x80];
    }
    return byte;
}

struct GroupState {
    bool skip = false; // a destination whose text is not shown
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int unicodeSkip = 1; // \ucN: characters that stand in after a \uN
};

bool IsSkippedDestination(std::string_view word) {
    static constexpr std::array<std::string_view, 16> kSkipped = {
        "fonttbl", "colortbl", "stylesheet", "info",     "pict",    "header",
        "footer",  "headerl",  "headerr",    "footerl",  "footerr", "listtable",
        "object",  "xe",       "themedata",  "datastore"};
    for (std::string_view skipped : kSkipped) {
        if (word == skipped) {
            return true;
        }
    }
    return false;
}

class RtfTranslator {
public:
    explicit RtfTranslator(std::string_view rtf) : rtf_(rtf) {}

    std::string Translate() {
        while (pos_ < rtf_.size()) {
            const char c = rtf_[pos_++];
            if (c == '{') {
                stack_.push_back(state_);
            } else if (c == '}') {
                if (!stack_.empty()) {
                    SetState(stack_.back());
                    stack_.pop_back();
                }
            } else if (c == '\\') {
                ControlSequence();
            } else if (c == '\r' || c == '\n') {
                continue;
            } else {
                Text(static_cast<unsigned char>(c));
            }
        }
        SetState(GroupState{});
        CloseParagraph();
        return out_;
    }

private:
    void ControlSequence() {
        if (pos_ >= rtf_.size()) {
            return;
        }
        const char c = rtf_[pos_];
        if (std::isalpha(static_cast<unsigned char>(c)) == 0) {
            ++pos_;
            ControlSymbol(c);
            return;
        }
        const std::size_t start = pos_;
        while (pos_ < rtf_.size() && std::isalpha(static_cast<unsigned char>(rtf_[pos_])) != 0) {
            ++pos_;
        }
        const std::string_view word = rtf_.substr(start, pos_ - start);
        bool hasParameter = false;
        long parameter = 0;
        bool negative = false;
        if (pos_ < rtf_.size() && rtf_[pos_] == '-') {
            negative = true;
            ++pos_;
        }
        while (pos_ < rtf_.size() && std::isdigit(static_cast<unsigned char>(rtf_[pos_])) != 0) {
            hasParameter = true;
            if (parameter < 1'000'000'000L) { // longer numbers are nonsense; keep them bounded
                parameter = parameter * 10 + (rtf_[pos_] - '0');
            }
            ++pos_;
        }
        if (negative) {
            parameter = -parameter;
        }
        if (pos_ < rtf_.size() && rtf_[pos_] == ' ') {
            ++pos_;
        }
        ControlWord(word, hasParameter, parameter);
    }

    void ControlSymbol(char c) {
        switch (c) {
        case '\\':
        case '{':
        case '}':
            Text(static_cast<unsigned char>(c));
            break;
        case '~':
            Character(0xA0);
            break;
        case '_':
            Character(0x2011);
            break;
        case '*':
            state_.skip = true;
            break;
        case '\'':
            if (pos_ + 2 <= rtf_.size()) {
                const std::string hex(rtf_.substr(pos_, 2));
                pos_ += 2;
                if (std::isxdigit(static_cast<unsigned char>(hex[0])) != 0 &&
                    std::isxdigit(static_cast<unsigned char>(hex[1])) != 0) {
                    Character(FromCp1252(static_cast<unsigned char>(std::stoi(hex, nullptr, 16))));
                }
            } else {
                pos_ = rtf_.size();
            }
            break;
        case '\r':
        case '\n':
            Paragraph();
            break;
        default:
            break;
        }
    }

    void ControlWord(std::string_view word, bool hasParameter, long parameter) {
        const bool on = !hasParameter || parameter != 0;
        if (IsSkippedDestination(word)) {
            state_.skip = true;
        } else if (word == "par") {
            Paragraph();
        } else if (word == "line") {
            Raw("<br/>");
        } else if (word == "tab") {
            Raw("&emsp;&emsp;");
        } else if (word == "b") {
            Format(&GroupState::bold, on);
        } else if (word == "i") {
            Format(&GroupState::italic, on);
        } else if (word == "ul") {
            Format(&GroupState::underline, on);
        } else if (word == "ulnone") {
            Format(&GroupState::underline, false);
        } else if (word == "plain") {
            GroupState plain;
            plain.skip = state_.skip;
            plain.unicodeSkip = state_.unicodeSkip;
            SetState(plain);
        } else if (word == "pard") {
            alignment_ = "left";
        } else if (word == "qc") {
            alignment_ = "center";
        } else if (word == "qr") {
            alignment_ = "right";
        } else if (word == "qj") {
            alignment_ = "justify";
        } else if (word == "ql") {
            alignment_ = "left";
        } else if (word == "uc" && hasParameter) {
            state_.unicodeSkip = parameter < 0 ? 0 : static_cast<int>(std::min(parameter, 8L));
        } else if (word == "u" && hasParameter) {
            long code = parameter < 0 ? parameter + 65536 : parameter;
            if (code < 0 || code > 0x10FFFF) {
                code = 0xFFFD;
            }
            Character(static_cast<char32_t>(code));
            SkipStandIns(state_.unicodeSkip);
        } else if (word == "emdash") {
            Character(0x2014);
        } else if (word == "endash") {
            Character(0x2013);
        } else if (word == "bullet") {
            Character(0x2022);
        } else if (word == "lquote") {
            Character(0x2018);
        } else if (word == "rquote") {
            Character(0x2019);
        } else if (word == "ldblquote") {
            Character(0x201C);
        } else if (word == "rdblquote") {
            Character(0x201D);
        }
    }

    // After \uN the writer puts N stand-in characters for readers without
    // Unicode; each is a plain character or one \'hh escape.
    void SkipStandIns(int count) {
        for (int i = 0; i < count && pos_ < rtf_.size(); ++i) {
            if (rtf_[pos_] == '\\' && pos_ + 1 < rtf_.size() && rtf_[pos_ + 1] == '\'') {
                pos_ = std::min(rtf_.size(), pos_ + 4);
            } else if (rtf_[pos_] == '{' || rtf_[pos_] == '}' || rtf_[pos_] == '\\') {
                return;
            } else {
                ++pos_;
            }
        }
    }

    void Format(bool GroupState::*flag, bool on) {
        GroupState next = state_;
        next.*flag = on;
        SetState(next);
    }

    // Moves the open inline formatting from the current state to `next`.
    void SetState(const GroupState& next) {
        if (open_.bold != next.bold || open_.italic != next.italic ||
            open_.underline != next.underline) {
            CloseSpan();
        }
        state_ = next;
    }

    void CloseSpan() {
        if (spanOpen_) {
            out_ += "</span>";
            spanOpen_ = false;
        }
        open_ = GroupState{};
    }

    void OpenSpanIfNeeded() {
        if (spanOpen_ || (!state_.bold && !state_.italic && !state_.underline)) {
            return;
        }
        out_ += "<span style=\"";
        if (state_.bold) {
            out_ += "font-weight:bold;";
        }
        if (state_.italic) {
            out_ += "font-style:italic;";
        }
        if (state_.underline) {
            out_ += "text-decoration:underline;";
        }
        out_ += "\">";
        spanOpen_ = true;
        open_ = state_;
    }

    void OpenParagraphIfNeeded() {
        if (!paragraphOpen_) {
            out_ += "<p style=\"margin:0;text-align:" + alignment_ + "\">";
            paragraphOpen_ = true;
        }
    }

    void CloseParagraph() {
        if (paragraphOpen_) {
            CloseSpan();
            out_ += "</p>";
            paragraphOpen_ = false;
        }
    }

    void Paragraph() {
        if (state_.skip) {
            return;
        }
        if (!paragraphOpen_) {
            // An empty paragraph still takes a line.
            OpenParagraphIfNeeded();
            out_ += "&nbsp;";
        }
        CloseParagraph();
    }

    void Raw(std::string_view html) {
        if (state_.skip) {
            return;
        }
        OpenParagraphIfNeeded();
        out_ += html;
    }

    void Text(unsigned char byte) { Character(FromCp1252(byte)); }

    void Character(char32_t c) {
        if (state_.skip) {
            return;
        }
        OpenParagraphIfNeeded();
        OpenSpanIfNeeded();
        switch (c) {
        case '<':
            out_ += "&lt;";
            break;
        case '>':
            out_ += "&gt;";
            break;
        case '&':
            out_ += "&amp;";
            break;
        case '"':
            out_ += "&quot;";
            break;
        default:
            AppendUtf8(out_, c);
        }
    }

    std::string_view rtf_;
    std::size_t pos_ = 0;
    std::string out_;
    GroupState state_;
    GroupState open_;
    std::vector<GroupState> stack_;
    std::string alignment_ = "left";
    bool spanOpen_ = false;
    bool paragraphOpen_ = false;
};

} // namespace

bool LooksLikeRtf(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    return first != std::string_view::npos && text.substr(first).starts_with("{\\rtf");
}

std::string RtfToHtml(std::string_view rtf) {
    return RtfTranslator(rtf).Translate();
}

} // namespace kalvara::gui
