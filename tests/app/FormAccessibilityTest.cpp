// Every form as a screen reader meets it: each control the keyboard can reach
// has the role its behaviour calls for and a name, and Tab walks the controls
// in reading order.

#include "AppHarness.h"
#include "about/AboutBox.h"
#include "app/HelpViewer.h"
#include "app/MainWindow.h"
#include "app/PreferencesDialog.h"
#include "app/PrintRangeDialog.h"
#include "gui/Gui.h"
#include "msgbox/MessageBox.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

namespace kalvara::test {
namespace {

// The role a control must report for what it does; std::nullopt where any
// role Qt gives it is right (panes, lists, tabs).
std::optional<QAccessible::Role> ExpectedRole(const QWidget* widget) {
    if (qobject_cast<const QRadioButton*>(widget) != nullptr) {
        return QAccessible::RadioButton;
    }
    if (qobject_cast<const QCheckBox*>(widget) != nullptr) {
        return QAccessible::CheckBox;
    }
    if (qobject_cast<const QPushButton*>(widget) != nullptr) {
        return QAccessible::Button;
    }
    if (qobject_cast<const QLineEdit*>(widget) != nullptr) {
        return QAccessible::EditableText;
    }
    return std::nullopt;
}

bool Reachable(const QWidget* widget, const QWidget* window) {
    return widget->isVisibleTo(window) && widget->isEnabled() &&
           (widget->focusPolicy() & Qt::TabFocus) != 0;
}

// Each reachable control's role and name, as "Class: problem" for the faults.
std::vector<std::string> AccessibilityFaults(QWidget* window) {
    std::vector<std::string> faults;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (!Reachable(widget, window)) {
            continue;
        }
        QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(widget);
        const std::string what = widget->metaObject()->className();
        if (reader == nullptr) {
            faults.push_back(what + ": nothing for a reader");
            continue;
        }
        if (const auto role = ExpectedRole(widget); role && reader->role() != *role) {
            faults.push_back(what + ": role " + std::to_string(reader->role()));
        }
        if (reader->text(QAccessible::Name).trimmed().isEmpty()) {
            faults.push_back(what + ": no name");
        }
    }
    return faults;
}

// The controls Tab reaches from the first, in the order it reaches them.
std::vector<QWidget*> TabWalk(QWidget* window) {
    std::vector<QWidget*> walk;
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window)) {
        return walk;
    }
    QWidget* start = QApplication::focusWidget();
    if (start == nullptr || start->window() != window) {
        return walk;
    }
    for (QWidget* at = start; walk.size() < 64;) {
        walk.push_back(at);
        QTest::keyClick(at, Qt::Key_Tab);
        at = QApplication::focusWidget();
        // Focus leaving the window (another window taking the activation)
        // ends the walk as well.
        if (at == nullptr || at == start || at->window() != window ||
            std::find(walk.begin(), walk.end(), at) != walk.end()) {
            break;
        }
    }
    return walk;
}

// The form's controls read as a page is: line by line, left to right. Option
// buttons of one group are one stop for Tab, so only the checked one counts.
void ExpectTabFollowsReadingOrder(const std::string& form) {
    QWidget* window = gui::FormWidget(form);
    ASSERT_NE(window, nullptr) << form;
    const std::vector<QWidget*> walk = TabWalk(window);
    // Another window taking the activation part-way (a loaded machine) cuts
    // the walk short: then only the order of what it reached is judged.
    const bool complete = !walk.empty() && QApplication::focusWidget() == walk.front();
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        const auto* radio = qobject_cast<QRadioButton*>(widget);
        if (complete && Reachable(widget, window) && (radio == nullptr || radio->isChecked())) {
            EXPECT_NE(std::find(walk.begin(), walk.end(), widget), walk.end())
                << form << ": Tab never reaches " << widget->metaObject()->className() << " "
                << widget->accessibleName().toStdString();
        }
    }
    // The walk starts anywhere; from its top-left control on, it reads on.
    const auto first = std::min_element(walk.begin(), walk.end(), [window](QWidget* a, QWidget* b) {
        const QPoint pa = a->mapTo(window, QPoint());
        const QPoint pb = b->mapTo(window, QPoint());
        return std::pair(pa.y(), pa.x()) < std::pair(pb.y(), pb.x());
    });
    std::vector<QWidget*> fromTop(first, walk.end());
    fromTop.insert(fromTop.end(), walk.begin(), first);
    for (std::size_t i = 1; i < fromTop.size(); ++i) {
        const QRect before(fromTop[i - 1]->mapTo(window, QPoint()), fromTop[i - 1]->size());
        const QRect after(fromTop[i]->mapTo(window, QPoint()), fromTop[i]->size());
        const bool sameLine = before.top() < after.bottom() && after.top() < before.bottom();
        EXPECT_TRUE(sameLine ? before.left() < after.left() : before.top() < after.top())
            << form << ": Tab goes from " << fromTop[i - 1]->accessibleName().toStdString()
            << " back to " << fromTop[i]->accessibleName().toStdString();
    }
}

void ExpectReadable(const std::string& form) {
    QWidget* window = gui::FormWidget(form);
    ASSERT_NE(window, nullptr) << form;
    EXPECT_EQ(AccessibilityFaults(window), std::vector<std::string>{}) << form;
    ExpectTabFollowsReadingOrder(form);
}

class FormAccessibility : public ::testing::Test {
protected:
    void SetUp() override {
        QAccessible::setActive(true);
        harness_.Start();
    }
    void TearDown() override { QAccessible::setActive(false); }

    AppHarness harness_;
};

TEST_F(FormAccessibility, MainWindowNamesItsFieldByItsCaptionAndDescribesThePreview) {
    ExpectReadable(MainFormName);
    const QWidget* year = gui::ControlWidget(MainFormName, YearFieldId);
    EXPECT_EQ(year->accessibleName(), "Calendar starting year:");
    for (int style = 1; style <= 6; ++style) {
        QAccessibleInterface* radio = QAccessible::queryAccessibleInterface(
            gui::ControlWidget(MainFormName, StyleRadioId(style)));
        EXPECT_EQ(radio->role(), QAccessible::RadioButton);
    }
    Click(MainFormName, StyleRadioId(3));
    const QString preview =
        gui::ControlWidget(MainFormName, PreviewPictureId)->accessibleDescription();
    EXPECT_EQ(preview, "Preview of the Year calendar");
    // A tooltip is also what the reader says about the control.
    const std::string tip = TooltipOf(MainFormName, StyleRadioId(2));
    EXPECT_FALSE(tip.empty());
    EXPECT_EQ(
        gui::ControlWidget(MainFormName, StyleRadioId(2))->accessibleDescription().toStdString(),
        tip);
}

TEST_F(FormAccessibility, EveryDialogIsReadableAndWalkedByTab) {
    Click(MainFormName, StyleRadioId(1));
    EXPECT_TRUE(OpenAndAnswer(
        PrintRangeFormName, [] { Click(MainFormName, GenerateButtonId); },
        [] {
            ExpectReadable(PrintRangeFormName);
            QTest::keyClick(gui::FormWidget(PrintRangeFormName), Qt::Key_Escape);
        }));
    EXPECT_TRUE(OpenAndAnswer(
        PreferencesFormName, [] { TriggerMenu(MainFormName, MenuPreferences); },
        [] {
            ExpectReadable(PreferencesFormName);
            // The description follows the state the tooltip describes.
            QWidget* close = gui::ControlWidget(PreferencesFormName, CloseButtonId);
            const QString before = close->accessibleDescription();
            Click(PreferencesFormName, ShowQuartersBoxId);
            close->setFocus();
            Pump();
            EXPECT_NE(close->accessibleDescription(), before);
            QTest::keyClick(gui::FormWidget(PreferencesFormName), Qt::Key_Escape);
        }));
    EXPECT_TRUE(OpenAndAnswer(
        AboutFormName, [] { TriggerMenu(MainFormName, MenuAbout); },
        [] {
            ExpectReadable(AboutFormName);
            Click(AboutFormName, AboutPageButtonId); // the history page
            ExpectReadable(AboutFormName);
            QTest::keyClick(gui::FormWidget(AboutFormName), Qt::Key_Escape);
        }));
}

TEST_F(FormAccessibility, MessageBoxIsDescribedByItsTextsAndMarksFocusOnDrawnButtons) {
    bool drawnButtonFocused = false;
    harness_.StopAnsweringMessages();
    EXPECT_TRUE(OpenAndAnswer(
        msgbox::MessageBoxFormName,
        [] {
            msgbox::ShowMessageBox(MainFormName, "Check Failed", "The first line.",
                                   "The second line.", "", "&Retry{R}|&Cancel{E}", "", 1, "");
        },
        [&] {
            QWidget* box = gui::FormWidget(msgbox::MessageBoxFormName);
            EXPECT_EQ(box->accessibleDescription(), "The first line. The second line.");
            EXPECT_EQ(AccessibilityFaults(box), std::vector<std::string>{});
            auto* cancel =
                gui::ControlWidget(msgbox::MessageBoxFormName, msgbox::FirstButtonId + 1);
            // The program paints these faces; the focus must still show.
            const QImage unfocused = cancel->grab().toImage();
            cancel->setFocus();
            drawnButtonFocused = cancel->hasFocus() && cancel->grab().toImage() != unfocused;
            Click(msgbox::MessageBoxFormName, msgbox::FirstButtonId + 1);
        }));
    EXPECT_TRUE(drawnButtonFocused);
}

TEST_F(FormAccessibility, HelpWindowControlsHaveNames) {
    TriggerMenu(MainFormName, MenuHelpContents);
    HelpViewer* help = harness_.App().Help();
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(AccessibilityFaults(help), std::vector<std::string>{});
}

} // namespace
} // namespace kalvara::test
