#include "gui/ButtonPainter.h"
#include "gui/Gui.h"
#include "gui/GuiInternal.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QEventLoop>
#include <QShortcut>
#include <QTimer>

namespace kalvara::gui {

using namespace detail;

namespace {

void PaintOwnerDrawn(ButtonShape shape, int background, int foreground, int font) {
    GuiContext& c = Context();
    auto* button = qobject_cast<QAbstractButton*>(c.DrawButton());
    if (c.DrawPainter() == nullptr || button == nullptr) {
        return;
    }
    ButtonFace face;
    face.rect = button->rect();
    face.text = button->text();
    face.background = c.ColorOf(background).value_or(button->palette().color(QPalette::Button));
    face.foreground = c.ColorOf(foreground).value_or(button->palette().color(QPalette::ButtonText));
    face.font = font > 0 ? c.FontOf(font) : button->font();
    face.pressed = button->isDown();
    face.focused = button->hasFocus();
    face.enabled = button->isEnabled();
    PaintButton(*c.DrawPainter(), shape, face);
    c.MarkDrawn();
}

} // namespace

void DefineAccelerators(const std::string& form, const std::string& accelerators) {
    Form* target = FormOf(form);
    if (target == nullptr) {
        return;
    }
    const QStringList parts = ToQt(accelerators).split(QLatin1Char(','));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QKeySequence key = QKeySequence::fromString(parts[i].trimmed());
        bool isNumber = false;
        const int id = parts[i + 1].trimmed().toInt(&isNumber);
        if (key.isEmpty() || !isNumber) {
            continue;
        }
        for (QShortcut* old : target->findChildren<QShortcut*>()) {
            if (old->key() == key) {
                delete old;
            }
        }
        auto* shortcut = new QShortcut(key, target);
        shortcut->setContext(Qt::WindowShortcut);
        QObject::connect(shortcut, &QShortcut::activated, target, [target, id] {
            if (!target->unloading) {
                Context().Dispatch(target->Name(), id, EventClick);
            }
        });
    }
}

void SetFormKeys(const std::string& form, std::vector<int> defaultIds, int cancelId) {
    if (Form* target = FormOf(form)) {
        target->SetKeys(std::move(defaultIds), cancelId);
    }
}

void AddTooltip(const std::string& form, int id) {
    if (QWidget* widget = Context().FindControl(form, id); widget != nullptr && id != 0) {
        widget->setProperty("kalvaraTooltip", true);
    }
}

void SetTooltip(const std::string& text) {
    Context().AnswerTooltip(text);
}

void DefineTooltipProperties(int /*foreground*/, int /*background*/,
                             const std::string& properties) {
    Context().SetTooltipWrapColumns(BracketNumber(properties));
}

void PostEvent(const std::string& form, int id, int value) {
    if (QCoreApplication::instance() == nullptr) {
        return;
    }
    QTimer::singleShot(0, QCoreApplication::instance(), [form, id, value] {
        if (FormOf(form) != nullptr) {
            Context().Dispatch(form, id, EventPosted, value);
        }
    });
}

void DoEvents() {
    if (QCoreApplication::instance() != nullptr) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
}

std::string EventText() {
    return Context().EventText();
}

// ---------------------------------------------------------------------------
// Painting owner-drawn buttons

void Draw3DButton(int background, int foreground, int font) {
    PaintOwnerDrawn(ButtonShape::ThreeD, background, foreground, font);
}

void Draw3DButtonRoundRect(int background, int foreground, int font) {
    PaintOwnerDrawn(ButtonShape::RoundRect, background, foreground, font);
}

void Draw3DButtonEllipse(int background, int foreground, int font) {
    PaintOwnerDrawn(ButtonShape::Ellipse, background, foreground, font);
}

void DrawColorButton(int background, int foreground, int font) {
    PaintOwnerDrawn(ButtonShape::Color, background, foreground, font);
}

} // namespace kalvara::gui
