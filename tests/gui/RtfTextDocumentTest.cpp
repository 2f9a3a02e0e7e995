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
#include <utility>

namespace kalvara::gui {
namespace {

QTextCharFormat FormatAt(QTextDocument& document, int position) {
    QTextCursor cursor(&document);
    cursor.setPosition(position + 1);
    return cursor.charFormat();
}

// The hanging indent lines the text up after its bullet.
TEST(GuiRtfTextDocument, ParagraphsBecomeBlocksWithTheirFormatsAndIndents) {
    QTextDocument document;
    document.setTextWidth(200);
    FillTextDocument(ReadRtf(R"({\rtf1\qc\sa300 {\b B}{\i I}{\ul U}{\fs40 S}\line two\par)"
                             R"(\pard\li720\fi-360 x\par\pard\li360\fi-240 \bullet\tab )"
                             R"(enough words here to wrap onto a second line at least\par})"),
                     document);
    ASSERT_EQ(document.blockCount(), 3);
    const QTextBlock first = document.firstBlock();
    EXPECT_EQ(first.text(), QString("BIUS") + QChar(QChar::LineSeparator) + "two");
    EXPECT_EQ(first.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_DOUBLE_EQ(first.blockFormat().bottomMargin(), 20.0);
    EXPECT_EQ(FormatAt(document, 0).fontWeight(), QFont::Bold);
    EXPECT_TRUE(FormatAt(document, 1).fontItalic());
    EXPECT_FALSE(FormatAt(document, 1).fontWeight() == QFont::Bold);
    EXPECT_TRUE(FormatAt(document, 2).fontUnderline());
    EXPECT_DOUBLE_EQ(FormatAt(document, 3).fontPointSize(), 20.0);
    const QTextBlockFormat second = first.next().blockFormat();
    EXPECT_EQ(std::pair(second.leftMargin(), second.textIndent()), std::pair(48.0, -24.0));

    document.documentLayout(); // lays the document out
    const QTextLayout* bullet = document.lastBlock().layout();
    ASSERT_GE(bullet->lineCount(), 2);
    EXPECT_DOUBLE_EQ(bullet->lineAt(0).x(), 8.0); // 120 twips
    EXPECT_DOUBLE_EQ(bullet->lineAt(1).x(), 24.0);
    EXPECT_DOUBLE_EQ(bullet->lineAt(0).cursorToX(2), bullet->lineAt(1).x());
}

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
