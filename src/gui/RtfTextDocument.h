#pragma once
// Shows a document read by the RTF reader in Qt's rich-text widgets.

#include "rtf/RtfDocument.h"

#include <string_view>

class QTextDocument;
class QTextEdit;

namespace kalvara::gui {

// Replaces the contents of `target` with the document. Fonts keep the
// target's default family; sizes, indents and spacing are taken from the
// document, converted at 96 pixels per inch.
void FillTextDocument(const RtfDocument& document, QTextDocument& target);

// Reads `rtf` and shows it in the text box, scrolled to the top.
void ShowRtf(QTextEdit& box, std::string_view rtf);

} // namespace kalvara::gui
