#include "support/FormReading.h"

#include "gui/Gui.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QButtonGroup>
#include <QRadioButton>
#include <QTest>
#include <algorithm>
#include <gtest/gtest.h>
#include <optional>

namespace kalvara::test {

namespace {

// The role a control must report for what it does; std::nullopt where any
// role Qt gives it is right (panes, lists, tabs).
std::optional<QAccessible::Role> ExpectedRole(const QWidget* widget) {
    const std::pair<const char*, QAccessible::Role> roles[] = {
        {"QRadioButton", QAccessible::RadioButton},
        {"QCheckBox", QAccessible::CheckBox},
        {"QPushButton", QAccessible::Button},
        {"QLineEdit", QAccessible::EditableText}};
    for (const auto& [type, role] : roles) {
        if (widget->inherits(type)) {
            return role;
        }
    }
    return std::nullopt;
}

bool Reachable(const QWidget* widget, const QWidget* window) {
    return widget->isVisibleTo(window) && widget->isEnabled() &&
           (widget->focusPolicy() & Qt::TabFocus) != 0;
}

// Option buttons of one group are one stop for Tab, and that stop is the
// checked one: Tab lands on the current choice.
bool MustBeReached(const QWidget* widget, const QWidget* window) {
    const auto* radio = qobject_cast<const QRadioButton*>(widget);
    if (radio == nullptr || radio->group() == nullptr) {
        return Reachable(widget, window);
    }
    return radio->isChecked() && radio->isVisibleTo(window) && radio->isEnabled() &&
           std::ranges::any_of(radio->group()->buttons(), [window](const QAbstractButton* member) {
               return Reachable(member, window);
           });
}

std::string NameOf(QWidget* widget) {
    QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(widget);
    return widget->metaObject()->className() + std::string(" ") +
           (reader ? reader->text(QAccessible::Name).toStdString() : "");
}

// The controls Tab reaches from the first, in the order it reaches them.
std::vector<QWidget*> TabWalk(QWidget* window) {
    std::vector<QWidget*> walk;
    window->activateWindow();
    // Focus outside the window (another window taking the activation) ends
    // the walk, or never starts it, as does coming back to a control reached.
    (void)QTest::qWaitForWindowActive(window);
    for (QWidget* at = QApplication::focusWidget();
         at != nullptr && at->window() == window && walk.size() < 64 &&
         std::find(walk.begin(), walk.end(), at) == walk.end();
         at = QApplication::focusWidget()) {
        walk.push_back(at);
        QTest::keyClick(at, Qt::Key_Tab);
    }
    return walk;
}

// The form's controls read as a page is: line by line, left to right.
void ExpectTabFollowsReadingOrder(const std::string& form, QWidget* window) {
    std::vector<QWidget*> walk = TabWalk(window);
    // Another window taking the activation part-way (a loaded machine) cuts
    // the walk short: then only the order of what it reached is judged.
    const bool complete = !walk.empty() && QApplication::focusWidget() == walk.front();
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (complete && MustBeReached(widget, window)) {
            EXPECT_NE(std::find(walk.begin(), walk.end(), widget), walk.end())
                << form << ": Tab never reaches " << NameOf(widget);
        }
    }
    // The walk starts anywhere; from its top-left control on, it reads on.
    const auto first = std::min_element(walk.begin(), walk.end(), [window](QWidget* a, QWidget* b) {
        const QPoint pa = a->mapTo(window, QPoint());
        const QPoint pb = b->mapTo(window, QPoint());
        return std::pair(pa.y(), pa.x()) < std::pair(pb.y(), pb.x());
    });
    std::rotate(walk.begin(), first, walk.end());
    for (std::size_t i = 1; i < walk.size(); ++i) {
        const QRect before(walk[i - 1]->mapTo(window, QPoint()), walk[i - 1]->size());
        const QRect after(walk[i]->mapTo(window, QPoint()), walk[i]->size());
        const bool sameLine = before.top() < after.bottom() && after.top() < before.bottom();
        EXPECT_TRUE(sameLine ? before.left() < after.left() : before.top() < after.top())
            << form << ": Tab goes from " << NameOf(walk[i - 1]) << " back to " << NameOf(walk[i]);
    }
}

} // namespace

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

void ExpectReadable(const std::string& form) {
    QWidget* window = gui::FormWidget(form);
    ASSERT_NE(window, nullptr) << form;
    EXPECT_EQ(AccessibilityFaults(window), std::vector<std::string>{}) << form;
    ExpectTabFollowsReadingOrder(form, window);
}

} // namespace kalvara::test
