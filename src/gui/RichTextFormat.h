#pragma once
// Reading rich text format for the read-only rich text box. Qt shows HTML, not
// RTF, so the box translates: paragraphs, line breaks, tabs, bold, italic,
// underline, paragraph alignment and special characters (\'hh in the
// Windows-1252 code page, \uN) survive; tables, pictures, fonts, colours and
// every other control word are dropped. Malformed input (unbalanced braces,
// cut-off escapes) yields whatever text could be read, never an error.

#include <string>
#include <string_view>

namespace kalvara::gui {

// True when the text starts with "{\rtf" (blanks before it allowed).
bool LooksLikeRtf(std::string_view text);

// The RTF document as an HTML fragment in UTF-8.
std::string RtfToHtml(std::string_view rtf);

} // namespace kalvara::gui
