#include "gui/RtfTextDocument.h"

#include "rtf/RtfReader.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>
#include <gtest/gtest.h>
#include <random>
#include <string>

namespace kalvara::gui {
namespace {

QTextCharFormat FormatAt(QTextDocument& document, int position) {
    QTextCursor cursor(&document);
    cursor.setPosition(position + 1);
    return cursor.charFormat();
}

TEST(GuiRtfTextDocument, ParagraphsBecomeBlocksWithTheirFormatsAndLineBreaksStayInside) {
    QTextDocument document;
    FillTextDocument(ReadRtf(R"({\rtf1\qc\sa300 {\b B}{\i I}{\ul U}{\fs40 S}\line two\par)"
                             R"(\pard\li720\fi-360 x\par})"),
                     document);
    ASSERT_EQ(document.blockCount(), 2);
    EXPECT_EQ(document.firstBlock().text(), QString("BIUS") + QChar(QChar::LineSeparator) + "two");
    EXPECT_EQ(document.firstBlock().blockFormat().alignment() & Qt::AlignHorizontal_Mask,
              Qt::AlignHCenter);
    EXPECT_DOUBLE_EQ(document.firstBlock().blockFormat().bottomMargin(), 20.0);
    EXPECT_EQ(FormatAt(document, 0).fontWeight(), QFont::Bold);
    EXPECT_TRUE(FormatAt(document, 1).fontItalic());
    EXPECT_FALSE(FormatAt(document, 1).fontWeight() == QFont::Bold);
    EXPECT_TRUE(FormatAt(document, 2).fontUnderline());
    EXPECT_DOUBLE_EQ(FormatAt(document, 3).fontPointSize(), 20.0);
    EXPECT_DOUBLE_EQ(document.lastBlock().blockFormat().leftMargin(), 48.0);
    EXPECT_DOUBLE_EQ(document.lastBlock().blockFormat().textIndent(), -24.0);
}

TEST(GuiRtfTextDocument, HangingIndentLinesTheTextUpAfterTheBullet) {
    QTextDocument document;
    document.setTextWidth(200);
    FillTextDocument(ReadRtf(R"({\rtf1\pard\li360\fi-240 \bullet\tab )"
                             R"(enough words here to wrap onto a second line at least\par})"),
                     document);
    document.documentLayout(); // lays the document out
    const QTextLayout* layout = document.firstBlock().layout();
    ASSERT_GE(layout->lineCount(), 2);
    EXPECT_DOUBLE_EQ(layout->lineAt(0).x(), 8.0); // 120 twips
    EXPECT_DOUBLE_EQ(layout->lineAt(1).x(), 24.0);
    EXPECT_DOUBLE_EQ(layout->lineAt(0).cursorToX(2), layout->lineAt(1).x());
}

// The box's old text goes and it scrolls to the top; whatever the input, it
// shows exactly the reader's text.
TEST(GuiRtfTextDocument, ShowsTheReadersTextInPlaceOfTheOld) {
    QTextEdit box;
    box.setPlainText("old text");
    ShowRtf(box, R"({\rtf1 new\par text})");
    EXPECT_EQ(box.toPlainText(), "new\ntext");
    EXPECT_EQ(box.textCursor().position(), 0);
    ShowRtf(box, "");
    EXPECT_EQ(box.toPlainText(), "");

    std::mt19937 random(8617);
    for (int round = 0; round < 50; ++round) {
        std::string input = "{\\rtf1 ";
        for (int i = 0; i < 500; ++i) {
            input += static_cast<char>(random());
        }
        ShowRtf(box, input);
        QString shown = box.document()->toRawText();
        shown.replace(QChar(QChar::ParagraphSeparator), '\n')
            .replace(QChar(QChar::LineSeparator), '\n');
        EXPECT_EQ(shown.toStdString(), RtfPlainText(ReadRtf(input)));
    }
}

} // namespace
} // namespace kalvara::gui
