#include "gui/Gui.h"
#include "gui/GuiInternal.h"

#include <QAction>
#include <QMenu>

namespace kalvara::gui {

using namespace detail;

void DefineMainMenu(int id, const std::string& caption) {
    Context().SetPendingMainMenu(id, caption);
}

int GetMenu(const std::string& form, int n) {
    Form* target = FormOf(form);
    if (target == nullptr) {
        return 0;
    }
    if (n == 0) {
        return target->menuBarHandle;
    }
    const auto found = target->savedMenus.find(n);
    return found != target->savedMenus.end() ? found->second : 0;
}

int DefineSubMenu(int id, const std::string& caption) {
    if (!HasApplication()) {
        return 0;
    }
    auto* popup = new QMenu;
    AddMenuItemTo(popup, id, caption);
    return Context().RegisterMenu(popup);
}

void AddMenuItem(int menu, int id, const std::string& caption) {
    if (QWidget* target = Context().MenuOf(menu)) {
        AddMenuItemTo(target, id, caption);
    }
}

void SaveMenu(const std::string& form, int n, int menu) {
    Form* target = FormOf(form);
    if (target != nullptr && n != 0 && Context().MenuOf(menu) != nullptr) {
        target->savedMenus[n] = menu;
        // The menu bar may be kept too; only a popup needs an owner.
        if (auto* popup = qobject_cast<QMenu*>(Context().MenuOf(menu));
            popup != nullptr && popup->parent() == nullptr) {
            // The form owns the popups it keeps.
            popup->setParent(target, popup->windowFlags());
        }
    }
}

void SetSubMenu(int menu, int itemId, int popup) {
    QWidget* target = Context().MenuOf(menu);
    auto* sub = qobject_cast<QMenu*>(Context().MenuOf(popup));
    if (target == nullptr || sub == nullptr || target == sub) {
        return;
    }
    for (QAction* action : target->actions()) {
        if (!action->isSeparator() && action->data().toInt() == itemId) {
            if (sub->parent() == nullptr || sub->parentWidget() != target->window()) {
                sub->setParent(target->window(), sub->windowFlags());
            }
            action->setMenu(sub);
            return;
        }
    }
}

} // namespace kalvara::gui
