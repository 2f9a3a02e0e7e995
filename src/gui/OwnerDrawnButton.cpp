#include "gui/OwnerDrawnButton.h"

#include "gui/Form.h"
#include "gui/GuiContext.h"

#include <QPainter>

namespace kalvara::gui {

OwnerDrawnButton::OwnerDrawnButton(const QString& text, QWidget* parent)
    : QPushButton(text, parent) {}

void OwnerDrawnButton::paintEvent(QPaintEvent* event) {
    auto* form = qobject_cast<Form*>(window());
    const int id = form != nullptr ? form->IdOf(this) : 0;
    if (id != 0 && !form->unloading) {
        QPainter painter(this);
        if (GuiContext::Instance().AskOwnerDraw(form->Name(), id, painter, this)) {
            return;
        }
    }
    // Left unpainted by the program: the plain face.
    QPushButton::paintEvent(event);
}

} // namespace kalvara::gui
