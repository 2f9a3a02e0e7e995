#include "gui/Gui.h"
#include "gui/GuiInternal.h"
#include "gui/RtfTextDocument.h"
#include "rtf/RtfReader.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QStatusBar>
#include <QTextBrowser>
#include <algorithm>

namespace kalvara::gui {

using namespace detail;

std::string GetText(const std::string& form, int id) {
    QWidget* widget = Context().FindControl(form, id);
    if (widget == nullptr) {
        return {};
    }
    if (id == 0) {
        return FromQt(widget->windowTitle());
    }
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        return FromQt(QString(label->text()).replace(QLatin1Char('\n'), QLatin1Char('|')));
    }
    if (auto* field = qobject_cast<QLineEdit*>(widget)) {
        return FromQt(field->text());
    }
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        return FromQt(button->text());
    }
    if (auto* frame = qobject_cast<QGroupBox*>(widget)) {
        return FromQt(frame->title());
    }
    if (auto* box = qobject_cast<QTextBrowser*>(widget)) {
        return FromQt(box->toPlainText());
    }
    if (auto* bar = qobject_cast<QStatusBar*>(widget)) {
        QLabel* part = StatusBarPart(bar, 1);
        return part != nullptr ? FromQt(part->text()) : std::string();
    }
    if (auto* progress = qobject_cast<QProgressBar*>(widget)) {
        return std::to_string(progress->value());
    }
    return {};
}

void SetText(const std::string& form, int id, const std::string& text) {
    QWidget* widget = Context().FindControl(form, id);
    if (widget == nullptr) {
        return;
    }
    if (id == 0) {
        widget->setWindowTitle(ToQt(text));
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(Lines(text));
    } else if (auto* field = qobject_cast<QLineEdit*>(widget)) {
        field->setText(ToQt(text));
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setText(ToQt(text));
    } else if (auto* frame = qobject_cast<QGroupBox*>(widget)) {
        frame->setTitle(ToQt(text));
    } else if (qobject_cast<QTextBrowser*>(widget) != nullptr) {
        SetRichText(form, id, text);
    } else if (qobject_cast<QStatusBar*>(widget) != nullptr) {
        SetStatusBarText(form, id, 1, text);
    }
}

int GetCheck(const std::string& form, int id) {
    auto* button = ControlAs<QAbstractButton>(form, id);
    return button != nullptr && button->isCheckable() && button->isChecked() ? 1 : 0;
}

void SetCheck(const std::string& form, int id, int state) {
    auto* button = ControlAs<QAbstractButton>(form, id);
    if (button == nullptr || !button->isCheckable()) {
        return;
    }
    QButtonGroup* group = button->group();
    if (state == 0 && group != nullptr && group->exclusive()) {
        // An exclusive group refuses to uncheck its checked button.
        group->setExclusive(false);
        button->setChecked(false);
        group->setExclusive(true);
        return;
    }
    button->setChecked(state != 0);
}

void EnableControl(const std::string& form, int id) {
    if (QWidget* widget = Context().FindControl(form, id)) {
        widget->setEnabled(true);
    }
}

void DisableControl(const std::string& form, int id) {
    if (QWidget* widget = Context().FindControl(form, id)) {
        widget->setEnabled(false);
    }
}

bool IsEnabled(const std::string& form, int id) {
    QWidget* widget = Context().FindControl(form, id);
    return widget != nullptr && widget->isEnabled();
}

bool ControlExists(const std::string& form, int id) {
    return id != 0 && Context().FindControl(form, id) != nullptr;
}

void SetFocus(const std::string& form, int id) {
    QWidget* widget = Context().FindControl(form, id);
    if (widget != nullptr && id != 0) {
        widget->setFocus(Qt::OtherFocusReason);
    }
}

int GetFocusId(const std::string& form) {
    Form* target = FormOf(form);
    return target != nullptr ? target->IdOf(target->focusWidget()) : 0;
}

void SetSelection(const std::string& form, int id, int start, int end) {
    auto* field = ControlAs<QLineEdit>(form, id);
    if (field == nullptr) {
        return;
    }
    const int length = static_cast<int>(field->text().size());
    start = std::clamp(start, 0, length);
    end = std::clamp(end, 0, length);
    if (start == end) {
        field->setCursorPosition(start);
    } else {
        field->setSelection(start, end - start);
    }
}

void SetProgress(const std::string& form, int id, int value) {
    if (auto* bar = ControlAs<QProgressBar>(form, id)) {
        bar->setValue(std::clamp(value, bar->minimum(), bar->maximum()));
    }
}

void SetProgressRange(const std::string& form, int id, int minimum, int maximum) {
    if (auto* bar = ControlAs<QProgressBar>(form, id)) {
        bar->setRange(std::min(minimum, maximum), std::max(minimum, maximum));
    }
}

void SetRichText(const std::string& form, int id, const std::string& text) {
    auto* box = ControlAs<QTextBrowser>(form, id);
    if (box == nullptr) {
        return;
    }
    if (LooksLikeRtf(text)) {
        ShowRtf(*box, text);
        return;
    }
    QString plain = ToQt(text);
    if (const int limit = box->property("kalvaraLimit").toInt();
        limit > 0 && plain.size() > limit) {
        plain.truncate(limit);
    }
    box->setPlainText(plain);
}

void SetRichTextLimit(const std::string& form, int id, int characters) {
    if (auto* box = ControlAs<QTextBrowser>(form, id)) {
        box->setProperty("kalvaraLimit", std::max(0, characters));
    }
}

void SetStatusBarParts(const std::string& form, int id, const std::vector<int>& percentWidths) {
    auto* bar = ControlAs<QStatusBar>(form, id);
    if (bar == nullptr || percentWidths.empty()) {
        return;
    }
    FillStatusBar(bar, percentWidths);
}

void SetStatusBarText(const std::string& form, int id, int part, const std::string& text) {
    auto* bar = ControlAs<QStatusBar>(form, id);
    if (bar == nullptr) {
        return;
    }
    if (QLabel* label = StatusBarPart(bar, part)) {
        SetPartText(label, text);
    }
}

void SetAccessibleDescription(const std::string& form, int id, const std::string& text) {
    if (QWidget* control = Context().FindControl(form, id)) {
        control->setAccessibleDescription(QString::fromStdString(text));
        // The program's own words win over the tooltip from then on.
        control->setProperty("kalvaraOwnDescription", true);
    }
}

void SetAccessibleName(const std::string& form, int id, const std::string& text) {
    if (QWidget* control = Context().FindControl(form, id)) {
        control->setAccessibleName(QString::fromStdString(text));
    }
}

} // namespace kalvara::gui
