#include "core/IniDocument.h"

#include "core/TextHelpers.h"

#include <algorithm>

namespace kalvara {

namespace {

std::string_view WithoutCarriageReturn(std::string_view line) {
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    return line;
}

bool SameName(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
        return lower(x) == lower(y);
    });
}

bool HasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

// "[name]" with blanks allowed around the name and before the bracket.
std::optional<std::string_view> SectionNameOf(std::string_view line) {
    const std::string_view text = TrimSpacesAndTabs(WithoutCarriageReturn(line));
    if (text.empty() || text.front() != '[') {
        return std::nullopt;
    }
    const auto close = text.find(']');
    if (close == std::string_view::npos) {
        return std::nullopt;
    }
    return TrimSpacesAndTabs(text.substr(1, close - 1));
}

struct KeyLine {
    std::string_view Key;
    std::size_t EqualsAt = 0;
};

// "key=value"; comments and lines that look like section headers are not keys.
std::optional<KeyLine> KeyLineOf(std::string_view line) {
    const std::string_view text = WithoutCarriageReturn(line);
    const std::string_view start = TrimSpacesAndTabs(text);
    if (start.empty() || start.front() == ';' || start.front() == '#' || start.front() == '[') {
        return std::nullopt;
    }
    const auto equals = text.find('=');
    if (equals == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view key = TrimSpacesAndTabs(text.substr(0, equals));
    if (key.empty()) {
        return std::nullopt;
    }
    return KeyLine{key, equals};
}

bool IsBlankLine(std::string_view line) {
    return TrimSpacesAndTabs(WithoutCarriageReturn(line)).empty();
}

} // namespace

IniDocument::IniDocument(std::string_view text) {
    std::size_t start = 0;
    while (start < text.size()) {
        const auto end = text.find('\n', start);
        if (end == std::string_view::npos) {
            lines_.emplace_back(text.substr(start));
            break;
        }
        lines_.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    ends_with_line_break_ = !text.empty() && text.back() == '\n';
    crlf_ = !lines_.empty() && lines_.front().ends_with('\r');
}

std::optional<std::size_t> IniDocument::FindKeyLine(std::string_view section,
                                                    std::string_view key) const {
    bool inside = false;
    for (std::size_t index = 0; index < lines_.size(); ++index) {
        if (const auto name = SectionNameOf(lines_[index])) {
            inside = SameName(*name, section);
        } else if (inside) {
            const auto line = KeyLineOf(lines_[index]);
            if (line && SameName(line->Key, key)) {
                return index;
            }
        }
    }
    return std::nullopt;
}

std::optional<std::size_t> IniDocument::FindSectionLine(std::string_view section) const {
    for (std::size_t index = 0; index < lines_.size(); ++index) {
        const auto name = SectionNameOf(lines_[index]);
        if (name && SameName(*name, section)) {
            return index;
        }
    }
    return std::nullopt;
}

std::optional<std::string_view> IniDocument::Find(std::string_view section,
                                                  std::string_view key) const {
    const auto index = FindKeyLine(section, key);
    if (!index) {
        return std::nullopt;
    }
    const std::string_view line = WithoutCarriageReturn(lines_[*index]);
    return line.substr(KeyLineOf(line)->EqualsAt + 1);
}

void IniDocument::InsertLine(std::size_t index, std::string text) {
    if (crlf_) {
        text += '\r';
    }
    if (index == lines_.size()) {
        // The line before it gets its break back, in the file's own style.
        if (!ends_with_line_break_ && crlf_ && !lines_.empty() && !lines_.back().ends_with('\r')) {
            lines_.back() += '\r';
        }
        ends_with_line_break_ = true;
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(index), std::move(text));
}

void IniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
    if (const auto index = FindKeyLine(section, key)) {
        std::string& line = lines_[*index];
        const bool had_cr = line.ends_with('\r');
        line.resize(KeyLineOf(line)->EqualsAt + 1);
        line.append(value);
        if (had_cr) {
            line += '\r';
        }
        return;
    }
    const std::string key_line = std::string(key) + "=" + std::string(value);
    if (const auto header = FindSectionLine(section)) {
        // After the section's last key, so that a comment or a blank line
        // that leads into the next section stays where it is.
        std::size_t after = *header;
        for (std::size_t index = *header + 1;
             index < lines_.size() && !SectionNameOf(lines_[index]); ++index) {
            if (KeyLineOf(lines_[index])) {
                after = index;
            }
        }
        InsertLine(after + 1, key_line);
        return;
    }
    if (!lines_.empty() && !IsBlankLine(lines_.back())) {
        InsertLine(lines_.size(), "");
    }
    InsertLine(lines_.size(), "[" + std::string(section) + "]");
    InsertLine(lines_.size(), key_line);
}

std::string IniDocument::Text() const {
    std::string text;
    for (std::size_t index = 0; index < lines_.size(); ++index) {
        if (index > 0) {
            text += '\n';
        }
        text += lines_[index];
    }
    if (ends_with_line_break_) {
        text += '\n';
    }
    return text;
}

bool IniDocument::CanHoldSection(std::string_view name) {
    return !name.empty() && !HasLineBreak(name) && name.find(']') == std::string_view::npos &&
           TrimSpacesAndTabs(name) == name;
}

bool IniDocument::CanHoldKey(std::string_view name) {
    return !name.empty() && !HasLineBreak(name) && name.find('=') == std::string_view::npos &&
           TrimSpacesAndTabs(name) == name && name.front() != ';' && name.front() != '#' &&
           name.front() != '[';
}

bool IniDocument::CanHoldValue(std::string_view value) {
    return !HasLineBreak(value);
}

} // namespace kalvara
