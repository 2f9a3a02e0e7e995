#pragma once
// A push button that the program paints: every paint asks the program through
// EventOwnerDraw, and the program answers with one of the Draw...Button calls.
// When it draws nothing, the button paints itself as a plain push button.

#include <QPushButton>
#include <string>

namespace kalvara::gui {

class OwnerDrawnButton : public QPushButton {
    Q_OBJECT

public:
    OwnerDrawnButton(const QString& text, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace kalvara::gui
