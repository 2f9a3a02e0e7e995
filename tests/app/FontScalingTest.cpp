// At desktop fonts from 7 to 14 points every caption fits its control, every
// control stays inside its frame and every window fits a common screen.

#include "AppHarness.h"
#include "about/AboutBox.h"
#include "app/MainWindow.h"
#include "app/PreferencesDialog.h"
#include "app/PrintRangeDialog.h"
#include "gui/Gui.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QTest>
#include <gtest/gtest.h>

namespace kalvara::test {
namespace {

// The captions that are cut off, then the controls that stand across a
// frame's border or its title instead of inside the box the style draws.
std::vector<std::string> LayoutFaults(const QWidget* window) {
    std::vector<std::string> faults;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(window)) {
            continue;
        }
        QString text;
        bool fits = true;
        if (auto* label = qobject_cast<QLabel*>(widget);
            label != nullptr && !label->text().isEmpty() && label->textFormat() != Qt::RichText) {
            text = label->text();
            const QRect room = label->contentsRect();
            fits = label->wordWrap()
                       ? label->heightForWidth(room.width()) <= room.height() + 1
                       : label->fontMetrics().horizontalAdvance(label->text()) <= room.width() + 1;
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget);
                   button != nullptr && !button->text().isEmpty()) {
            text = button->text();
            const QString shown = QString(text).remove('&');
            // Check boxes and option buttons need their mark beside the text.
            const bool marked = qobject_cast<QCheckBox*>(button) != nullptr ||
                                qobject_cast<QRadioButton*>(button) != nullptr;
            const int needed = marked ? button->sizeHint().width()
                                      : button->fontMetrics().horizontalAdvance(shown) + 4;
            // The ink of the letters, not the line with its leading, must fit.
            fits = needed <= button->width() &&
                   button->fontMetrics().tightBoundingRect(shown).height() <= button->height();
        }
        if (!fits) {
            faults.push_back("cut off: " + text.toStdString());
        }
    }
    for (const QGroupBox* frame : window->findChildren<QGroupBox*>()) {
        QStyleOptionGroupBox option;
        option.initFrom(frame);
        option.text = frame->title();
        option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        const QStyle* style = frame->style();
        const QRect box =
            style->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxFrame, frame);
        const QRect title =
            style->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, frame);
        const QRect inside(frame->mapTo(window, box.topLeft()), box.size());
        const int titleBottom = frame->mapTo(window, title.bottomLeft()).y();
        for (const QWidget* control :
             frame->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            const QRect own(control->mapTo(window, QPoint()), control->size());
            if (control == frame || !control->isVisibleTo(window) || !own.intersects(inside)) {
                continue;
            }
            // A frame without a title may have an option button on its top
            // line for a heading, as the print range dialog's two choices.
            const bool heading = frame->title().isEmpty() && own.top() <= inside.top() &&
                                 own.bottom() >= inside.top();
            if (!heading && (!inside.contains(own) || own.top() <= titleBottom)) {
                faults.push_back(control->metaObject()->className() + std::string(" across ") +
                                 frame->title().toStdString());
            }
        }
    }
    return faults;
}

void ExpectFits(const std::string& form) {
    const QWidget* window = gui::FormWidget(form);
    ASSERT_NE(window, nullptr) << form;
    EXPECT_EQ(LayoutFaults(window), std::vector<std::string>{}) << form;
    // 1,280 x 720 less a panel: the smallest screen the program is used on.
    EXPECT_LE(window->frameGeometry().width(), 1280) << form;
    EXPECT_LE(window->frameGeometry().height(), 680) << form;
}

class FontScaling : public ::testing::TestWithParam<int> {
protected:
    void TearDown() override { QApplication::setFont(saved_); }
    const QFont saved_ = QApplication::font();
};

TEST_P(FontScaling, EveryCaptionFitsInEveryForm) {
    QFont desktop = saved_;
    desktop.setPointSize(GetParam());
    QApplication::setFont(desktop);
    AppHarness harness;
    harness.Start();
    ExpectFits(MainFormName);
    // The captions grow with the desktop font, not just the cells.
    const QWidget* generate = gui::ControlWidget(MainFormName, GenerateButtonId);
    ASSERT_NE(generate, nullptr);
    EXPECT_NEAR(generate->font().pointSizeF(), GetParam(), 0.6);

    InEveryDialog([](const std::string& form) {
        ExpectFits(form);
        QTest::keyClick(gui::FormWidget(form), Qt::Key_Escape);
    });
}

INSTANTIATE_TEST_SUITE_P(DesktopPoints, FontScaling, ::testing::Values(7, 9, 11, 14),
                         [](const auto& info) { return std::to_string(info.param) + "pt"; });

} // namespace
} // namespace kalvara::test
