// The windows at desktop fonts from 7 to 14 points: the program's own fonts
// follow the desktop's, so every caption still fits its control and every
// window fits a common screen.

#include "AppHarness.h"
#include "about/AboutBox.h"
#include "app/MainWindow.h"
#include "app/PreferencesDialog.h"
#include "app/PrintRangeDialog.h"
#include "gui/Gui.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace kalvara::test {
namespace {

// The captions of the form that are cut off, and the form itself when it is
// larger than 1,280 x 720 less a panel, the smallest screen it is used on.
std::vector<std::string> Clipped(const std::string& form) {
    QWidget* window = gui::FormWidget(form);
    if (window == nullptr) {
        return {"no form " + form};
    }
    std::vector<std::string> clipped;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        auto* label = qobject_cast<QLabel*>(widget);
        auto* button = qobject_cast<QAbstractButton*>(widget);
        const QString text = label != nullptr    ? label->text()
                             : button != nullptr ? QString(button->text()).remove('&')
                                                 : QString();
        if (text.isEmpty() || !widget->isVisibleTo(window) ||
            (label != nullptr && label->textFormat() == Qt::RichText)) {
            continue;
        }
        const QRect room = label != nullptr ? label->contentsRect() : widget->rect();
        // Check boxes and option buttons need their mark beside the text; the
        // ink of the letters, not the line with its leading, must fit.
        const int needed = button == nullptr ? widget->fontMetrics().horizontalAdvance(text) - 1
                           : qobject_cast<QPushButton*>(button) != nullptr
                               ? button->fontMetrics().horizontalAdvance(text) + 4
                               : button->sizeHint().width();
        const bool fits =
            label != nullptr && label->wordWrap()
                ? label->heightForWidth(room.width()) <= room.height() + 1
                : needed <= room.width() &&
                      widget->fontMetrics().tightBoundingRect(text).height() <= room.height();
        if (!fits) {
            clipped.push_back(text.toStdString());
        }
    }
    if (window->frameGeometry().width() > 1280 || window->frameGeometry().height() > 680) {
        clipped.push_back(form);
    }
    return clipped;
}

TEST(FontScaling, EveryCaptionFitsInEveryFormAtDesktopFontsFrom7To14Points) {
    const QFont saved = QApplication::font();
    for (int points : {7, 9, 11, 14}) {
        SCOPED_TRACE(points);
        QFont desktop = saved;
        desktop.setPointSize(points);
        QApplication::setFont(desktop);
        AppHarness harness;
        harness.Start();
        EXPECT_EQ(Clipped(MainFormName), std::vector<std::string>{});
        // The captions grow with the desktop font, not just the cells.
        EXPECT_NEAR(gui::ControlWidget(MainFormName, GenerateButtonId)->font().pointSizeF(), points,
                    0.6);
        Click(MainFormName, StyleRadioId(1));
        for (const auto& [form, open] : std::vector<std::pair<std::string, std::function<void()>>>{
                 {PrintRangeFormName, [] { Click(MainFormName, GenerateButtonId); }},
                 {PreferencesFormName, [] { TriggerMenu(MainFormName, MenuPreferences); }},
                 {AboutFormName, [] { TriggerMenu(MainFormName, MenuAbout); }}}) {
            EXPECT_TRUE(OpenAndAnswer(form, open, [name = form] {
                EXPECT_EQ(Clipped(name), std::vector<std::string>{});
                QTest::keyClick(gui::FormWidget(name), Qt::Key_Escape);
            })) << form;
        }
    }
    QApplication::setFont(saved);
}

} // namespace
} // namespace kalvara::test
