#include "WhenShown.h"

#include "gui/Gui.h"

#include <QObject>
#include <QTimer>
#include <QWidget>

namespace kalvara::test {

WhenShown::WhenShown(std::string form, std::function<void()> action)
    : done_(std::make_shared<bool>(false)), alive_(std::make_shared<bool>(true)) {
    auto* timer = new QTimer;
    auto tries = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, timer,
                     [timer, tries, form, action, done = done_, alive = alive_] {
                         // About ten seconds at most.
                         if (!*alive || ++*tries > 2000) {
                             timer->deleteLater();
                             timer->stop();
                             return;
                         }
                         QWidget* window = gui::FormWidget(form);
                         if (window == nullptr || !window->isVisible()) {
                             return;
                         }
                         timer->stop();
                         timer->deleteLater();
                         *done = true;
                         action();
                     });
    timer->start(5);
}

WhenShown::~WhenShown() {
    *alive_ = false;
}

} // namespace kalvara::test
