#pragma once
// Helpers shared by the files that realise Gui.h. Not for use outside the
// layer.

#include "gui/Form.h"
#include "gui/GuiContext.h"

#include <QApplication>
#include <QString>
#include <string>
#include <vector>

class QAbstractButton;
class QLabel;
class QStatusBar;

namespace kalvara::gui::detail {

inline GuiContext& Context() {
    return GuiContext::Instance();
}

inline bool HasApplication() {
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}

inline bool Has(const std::string& properties, char letter) {
    return properties.find(letter) != std::string::npos;
}

inline QString ToQt(const std::string& text) {
    return QString::fromStdString(text);
}

inline std::string FromQt(const QString& text) {
    return text.toStdString();
}

// "|" breaks lines in the texts the windows give; U+001F is a bar that the message box quoted from
// outside text, shown as
// "|" without a break.
inline QString Lines(const std::string& text) {
    return ToQt(text)
        .replace(QLatin1Char('|'), QLatin1Char('\n'))
        .replace(QChar(0x1f), QLatin1Char('|'));
}

inline Form* FormOf(const std::string& name) {
    return Context().FindForm(name);
}

template <typename Widget> Widget* ControlAs(const std::string& form, int id) {
    return qobject_cast<Widget*>(Context().FindControl(form, id));
}

// The number inside "[n]" in a property string, or 0.
int BracketNumber(const std::string& properties);

// Reports the click of a button-like control to its form.
void ReportClicks(QAbstractButton* button, int id);

// Shows picture `picture` in a picture control, fitted when its properties
// ask for it; an unknown handle clears the control.
void ShowPicture(QLabel* label, int picture);

// Status bars: parts as labels, widths in per cent of the bar.
void FillStatusBar(QStatusBar* bar, const std::vector<int>& widths);
QLabel* StatusBarPart(QStatusBar* bar, int part);
void SetPartText(QLabel* label, const std::string& text);

// Appends an item to a menu bar or popup; "-" is a separator.
void AddMenuItemTo(QWidget* menu, int id, const std::string& caption);

} // namespace kalvara::gui::detail
