#include "gui/GuiInternal.h"

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QStatusBar>
#include <charconv>

namespace kalvara::gui::detail {

namespace {

Form* FormOfMenu(QWidget* menu) {
    for (QWidget* w = menu; w != nullptr; w = w->parentWidget()) {
        if (auto* form = qobject_cast<Form*>(w)) {
            return form;
        }
    }
    return nullptr;
}

} // namespace

int BracketNumber(const std::string& properties) {
    const auto open = properties.find('[');
    const auto close = properties.find(']', open == std::string::npos ? 0 : open);
    if (open == std::string::npos || close == std::string::npos) {
        return 0;
    }
    int number = 0;
    const char* first = properties.data() + open + 1;
    const char* last = properties.data() + close;
    const auto [end, error] = std::from_chars(first, last, number);
    if (error != std::errc() || end != last || number < 0) {
        return 0;
    }
    return number;
}

void ReportClicks(QAbstractButton* button, int id) {
    QObject::connect(button, &QAbstractButton::clicked, button, [button, id] {
        if (auto* form = qobject_cast<Form*>(button->window());
            form != nullptr && !form->unloading) {
            Context().Dispatch(form->Name(), id, EventClick);
        }
    });
}

void ShowPicture(QLabel* label, int picture) {
    const QPixmap* found = Context().Picture(picture);
    if (found == nullptr) {
        label->clear();
        return;
    }
    const std::string properties = label->property("kalvaraPicture").toString().toStdString();
    QPixmap pixmap = *found;
    const QSize room = label->contentsRect().size();
    // A picture larger than its area would be shown cut off at its edges:
    // it is shrunk to fit whole instead, as F scales every picture.
    const bool tooLarge = room.isValid() && !label->hasScaledContents() &&
                          (pixmap.width() > room.width() || pixmap.height() > room.height());
    if ((Has(properties, 'F') || tooLarge) && !room.isEmpty()) {
        pixmap = pixmap.scaled(room, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    label->setPixmap(pixmap);
}

void FillStatusBar(QStatusBar* bar, const std::vector<int>& widths) {
    for (QLabel* part : bar->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly)) {
        bar->removeWidget(part);
        delete part;
    }
    for (int width : widths) {
        auto* part = new QLabel(bar);
        part->setFont(bar->font());
        bar->addWidget(part, std::max(1, width));
        part->show();
    }
}

QLabel* StatusBarPart(QStatusBar* bar, int part) {
    const QList<QLabel*> parts = bar->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly);
    if (part < 1 || part > parts.size()) {
        return nullptr;
    }
    return parts[part - 1];
}

void SetPartText(QLabel* label, const std::string& text) {
    QString shown = ToQt(text);
    // A leading tab centres the text in its part.
    if (shown.startsWith(QLatin1Char('\t'))) {
        shown.remove(0, 1);
        label->setAlignment(Qt::AlignCenter);
    } else {
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
    label->setText(shown);
}

void AddMenuItemTo(QWidget* menu, int id, const std::string& caption) {
    QAction* action = nullptr;
    if (caption == "-") {
        action = new QAction(menu);
        action->setSeparator(true);
    } else {
        action = new QAction(ToQt(caption), menu);
        QObject::connect(action, &QAction::triggered, menu, [menu, id, caption] {
            Form* form = FormOfMenu(menu);
            if (form != nullptr && !form->unloading) {
                Context().Dispatch(form->Name(), id, EventClick, 0, caption);
            }
        });
        QObject::connect(action, &QAction::hovered, menu, [menu, id, caption] {
            Form* form = FormOfMenu(menu);
            if (form != nullptr && !form->unloading) {
                Context().Dispatch(form->Name(), id, EventMenuSelect, 0, caption);
            }
        });
    }
    action->setData(id);
    menu->addAction(action);
}

} // namespace kalvara::gui::detail
