#pragma once
// Reads the subset of the Rich Text Format that the program's history uses:
// groups, \par, \line, \tab, \b, \i, \ul, \ulnone, \fs, \plain, \pard, \ql,
// \qc, \qr, \qj, \li, \fi, \sb, \sa, \'hh (Windows-1252), \uN with \ucN,
// the typographic symbols (\emdash, \bullet, \lquote ...) and the control
// symbols \\ \{ \} \~ \_ \-. Other control words are ignored, and the
// destinations that hold no body text (font and colour tables, style sheet,
// document information, pictures, headers, fields' instructions, every
// "{\*...}" group) are skipped with all they contain.
//
// Any byte sequence is accepted: unbalanced braces, truncated escapes, huge
// or missing numbers, binary junk and deep nesting all give a document, never
// a failure. Work is linear in the input's length.

#include "rtf/RtfDocument.h"

#include <string_view>

namespace kalvara {

// Groups nested deeper than this are dropped with their contents.
inline constexpr int RtfMaxGroupDepth = 256;

// True when the text starts with "{\rtf", blanks and line ends before it
// allowed: the rich text box reads such text as RTF, any other as plain text.
bool LooksLikeRtf(std::string_view text);

RtfDocument ReadRtf(std::string_view rtf);

// The document's text without formatting: paragraphs joined by "\n". For
// tests and for plain-text fallbacks.
std::string RtfPlainText(const RtfDocument& document);

} // namespace kalvara
