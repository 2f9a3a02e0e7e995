#include "gui/ButtonPainter.h"

#include <QPainter>
#include <QPainterPath>

namespace kalvara::gui {

namespace {

QPainterPath OutlineOf(ButtonShape shape, const QRectF& rect) {
    QPainterPath path;
    switch (shape) {
    case ButtonShape::RoundRect: {
        const qreal radius = std::min(rect.width(), rect.height()) / 3.0;
        path.addRoundedRect(rect, radius, radius);
        break;
    }
    case ButtonShape::Ellipse:
        path.addEllipse(rect);
        break;
    case ButtonShape::ThreeD:
    case ButtonShape::Color:
        path.addRect(rect);
        break;
    }
    return path;
}

} // namespace

void PaintButton(QPainter& painter, ButtonShape shape, const ButtonFace& face) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, shape != ButtonShape::ThreeD);
    const QRectF outer = QRectF(face.rect).adjusted(0.5, 0.5, -0.5, -0.5);
    const QPainterPath outline = OutlineOf(shape, outer);

    QColor fill = face.background;
    if (face.pressed) {
        fill = fill.darker(115);
    }
    if (shape == ButtonShape::ThreeD || shape == ButtonShape::Color) {
        painter.fillPath(outline, fill);
    } else {
        // Rounded and elliptical faces are lit from the top left.
        QLinearGradient gradient(outer.topLeft(), outer.bottomLeft());
        gradient.setColorAt(0.0, face.pressed ? fill.darker(110) : fill.lighter(125));
        gradient.setColorAt(1.0, face.pressed ? fill.lighter(110) : fill.darker(115));
        painter.fillPath(outline, gradient);
    }

    const QColor light = face.background.lighter(160);
    const QColor dark = face.background.darker(180);
    if (shape == ButtonShape::ThreeD) {
        // Raised bevel; sunken while pressed.
        const QColor topLeft = face.pressed ? dark : light;
        const QColor bottomRight = face.pressed ? light : dark;
        const QRect r = face.rect.adjusted(0, 0, -1, -1);
        for (int i = 0; i < 2; ++i) {
            const QRect b = r.adjusted(i, i, -i, -i);
            painter.setPen(topLeft);
            painter.drawLine(b.topLeft(), b.topRight());
            painter.drawLine(b.topLeft(), b.bottomLeft());
            painter.setPen(bottomRight);
            painter.drawLine(b.bottomLeft(), b.bottomRight());
            painter.drawLine(b.topRight(), b.bottomRight());
        }
    } else {
        painter.setPen(QPen(dark, 1.0));
        painter.drawPath(outline);
    }

    QRect textRect = face.rect;
    if (face.pressed) {
        textRect.translate(1, 1);
    }
    painter.setFont(face.font);
    QColor textColor = face.foreground;
    if (!face.enabled) {
        textColor = face.background.darker(150);
    }
    painter.setPen(textColor);
    painter.drawText(textRect, Qt::AlignCenter | Qt::TextShowMnemonic, face.text);

    if (face.focused && face.enabled) {
        QPen focusPen(textColor, 1.0, Qt::DotLine);
        painter.setPen(focusPen);
        painter.setBrush(Qt::NoBrush);
        const qreal inset = std::min(outer.width(), outer.height()) / 6.0 + 1.0;
        painter.drawPath(OutlineOf(shape, outer.adjusted(inset, inset, -inset, -inset)));
    }
    painter.restore();
}

} // namespace kalvara::gui
