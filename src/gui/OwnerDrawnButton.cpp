#include "gui/OwnerDrawnButton.h"

#include "gui/Form.h"
#include "gui/GuiContext.h"

#include <QPainter>

namespace kalvara::gui {

OwnerDrawnButton::OwnerDrawnButton(const QString& text, QWidget* parent)
    : QPushButton(text, parent) {}

void OwnerDrawnButton::paintEvent(QPaintEvent* event) {
    auto* form = qobject_cast<Form*>(window());
    GuiContext& context = GuiContext::Instance();
    const int id = form != nullptr ? form->IdOf(this) : 0;
    // A paint inside another paint (the program painting while it paints)
    // falls back to the plain face rather than nesting painters.
    if (id == 0 || form->unloading || context.drawPainter != nullptr) {
        QPushButton::paintEvent(event);
        return;
    }
    QPainter painter(this);
    context.drawPainter = &painter;
    context.drawButton = this;
    context.drawDone = false;
    context.Dispatch(form->Name(), id, EventOwnerDraw);
    const bool drawn = context.drawDone;
    context.drawPainter = nullptr;
    context.drawButton = nullptr;
    context.drawDone = false;
    if (!drawn) {
        painter.end();
        QPushButton::paintEvent(event);
    }
}

} // namespace kalvara::gui
