#pragma once
// An INI file as the lines it is made of. Lookups follow the classic profile
// functions (section and key names without regard to case, the first match
// wins); a change rewrites the one line of the key, or adds one, and leaves
// every other byte as it was: comments, blank lines, lines without "=",
// unknown sections and keys, NUL bytes and line endings.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kalvara {

class IniDocument {
public:
    explicit IniDocument(std::string_view text);

    // The text after "=" on the key's line (a CR before the line break is not
    // part of it), or nothing when the section or key is missing.
    std::optional<std::string_view> Find(std::string_view section, std::string_view key) const;

    // Sets the key's value. The key keeps its line and its spelling in the
    // file; a new key goes after the last key of its section, a new section
    // at the end, one blank line below the text before it. Names and value
    // must be representable (see CanHold*); the caller checks.
    void Set(std::string_view section, std::string_view key, std::string_view value);

    std::string Text() const;

    // Whether a name or value survives a write and a read unchanged: no line
    // breaks, no "]" in a section name, no "=" in a key, and no key that would
    // read as a section header or a comment.
    static bool CanHoldSection(std::string_view name);
    static bool CanHoldKey(std::string_view name);
    static bool CanHoldValue(std::string_view value);

private:
    std::optional<std::size_t> FindKeyLine(std::string_view section, std::string_view key) const;
    std::optional<std::size_t> FindSectionLine(std::string_view section) const;
    void InsertLine(std::size_t index, std::string text);

    std::vector<std::string> lines_; // without their "\n"
    bool ends_with_line_break_ = false;
    bool crlf_ = false; // new lines end the way the file's first line does
};

} // namespace kalvara
