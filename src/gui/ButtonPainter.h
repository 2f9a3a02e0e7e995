#pragma once
// The faces of owner-drawn buttons: 3D, rounded rectangle, ellipse and the
// flat colour button. Each shows whether the button is pressed, has the
// focus, or is disabled.

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

class QPainter;

namespace kalvara::gui {

enum class ButtonShape { ThreeD, RoundRect, Ellipse, Color };

struct ButtonFace {
    QRect rect;
    QString text; // with "&" marking the mnemonic
    QColor background;
    QColor foreground;
    QFont font;
    bool pressed = false;
    bool focused = false;
    bool enabled = true;
};

void PaintButton(QPainter& painter, ButtonShape shape, const ButtonFace& face);

} // namespace kalvara::gui
