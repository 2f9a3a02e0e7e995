#include "gui/RtfTextDocument.h"

#include "rtf/RtfReader.h"

#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextOption>

namespace kalvara::gui {

namespace {

// Qt lays text out in pixels; RTF measures in twips, 1440 to the inch.
double TwipsToPixels(int twips) {
    return twips / 15.0;
}

// RTF's tab stops stand half an inch apart unless a document says otherwise.
constexpr int RtfDefaultTabWidth = 720;

Qt::Alignment ToQt(RtfAlignment alignment) {
    switch (alignment) {
    case RtfAlignment::Center:
        return Qt::AlignHCenter;
    case RtfAlignment::Right:
        return Qt::AlignRight;
    case RtfAlignment::Justify:
        return Qt::AlignJustify;
    case RtfAlignment::Left:
        break;
    }
    return Qt::AlignLeft;
}

QTextBlockFormat ToQt(const RtfParagraphFormat& format) {
    QTextBlockFormat block;
    block.setAlignment(ToQt(format.alignment));
    block.setLeftMargin(TwipsToPixels(format.leftIndent));
    block.setTextIndent(TwipsToPixels(format.firstLineIndent));
    block.setTopMargin(TwipsToPixels(format.spaceBefore));
    block.setBottomMargin(TwipsToPixels(format.spaceAfter));
    // A hanging indent carries an implicit tab stop at the indent, so that
    // "\bullet\tab text" lines the text up with the lines below it. Qt
    // measures tab stops from where the first line starts.
    if (format.firstLineIndent < 0 && format.leftIndent > 0) {
        block.setTabPositions(
            {QTextOption::Tab(TwipsToPixels(-format.firstLineIndent), QTextOption::LeftTab)});
    }
    return block;
}

QTextCharFormat ToQt(const RtfCharFormat& format) {
    QTextCharFormat character;
    character.setFontWeight(format.bold ? QFont::Bold : QFont::Normal);
    character.setFontItalic(format.italic);
    character.setFontUnderline(format.underline);
    character.setFontPointSize(format.halfPoints / 2.0);
    return character;
}

// "\n" in a run is a line break inside the paragraph, which Qt writes as the
// Unicode line separator; a plain "\n" would start a new block.
QString RunText(const std::string& text) {
    QString converted = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    converted.replace(QLatin1Char('\n'), QChar(QChar::LineSeparator));
    return converted;
}

} // namespace

void FillTextDocument(const RtfDocument& document, QTextDocument& target) {
    target.clear();
    QTextOption option = target.defaultTextOption();
    option.setTabStopDistance(TwipsToPixels(RtfDefaultTabWidth));
    target.setDefaultTextOption(option);
    QTextCursor cursor(&target);
    cursor.beginEditBlock();
    bool first = true;
    for (const RtfParagraph& paragraph : document.paragraphs) {
        const QTextBlockFormat block = ToQt(paragraph.format);
        if (first) {
            cursor.setBlockFormat(block);
            first = false;
        } else {
            cursor.insertBlock(block);
        }
        for (const RtfRun& run : paragraph.runs) {
            cursor.insertText(RunText(run.text), ToQt(run.format));
        }
    }
    cursor.endEditBlock();
}

void ShowRtf(QTextEdit& box, std::string_view rtf) {
    FillTextDocument(ReadRtf(rtf), *box.document());
    box.moveCursor(QTextCursor::Start);
}

} // namespace kalvara::gui
