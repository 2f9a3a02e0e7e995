#include "gui/OwnerDrawnButton.h"

#include "gui/Form.h"
#include "gui/GuiContext.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <algorithm>

namespace kalvara::gui {

OwnerDrawnButton::OwnerDrawnButton(const QString& text, QWidget* parent)
    : QPushButton(text, parent) {}

void OwnerDrawnButton::paintEvent(QPaintEvent* event) {
    auto* form = qobject_cast<Form*>(window());
    const int id = form != nullptr ? form->IdOf(this) : 0;
    if (id != 0 && !form->unloading) {
        QPainter painter(this);
        if (GuiContext::Instance().AskOwnerDraw(form->Name(), id, painter, this)) {
            // The program paints the face only: the keyboard focus is marked
            // as on every other button, inside the face's edge.
            if (hasFocus()) {
                QStyleOptionFocusRect focus;
                focus.initFrom(this);
                const int inset =
                    std::max(2, style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, this) / 2);
                focus.rect = rect().adjusted(inset, inset, -inset, -inset);
                style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
            }
            return;
        }
    }
    // Left unpainted by the program: the plain face.
    QPushButton::paintEvent(event);
}

} // namespace kalvara::gui
