#include "gui/Gui.h"
#include "gui/GuiInternal.h"

#include <QEventLoop>
#include <QMenuBar>
#include <QScreen>
#include <cstdio>

namespace kalvara::gui {

using namespace detail;

namespace {

void PositionForm(Form* form, double column, double row, bool centred) {
    QWidget* parent = form->parentWidget();
    const QSize size = form->frameGeometry().size().expandedTo(form->size());
    if (centred) {
        QRect area;
        if (parent != nullptr && parent->isVisible()) {
            area = parent->frameGeometry();
        } else if (QScreen* screen = QGuiApplication::primaryScreen()) {
            area = screen->availableGeometry();
        }
        if (area.isValid()) {
            form->move(area.center() - QPoint(size.width() / 2, size.height() / 2));
        }
        return;
    }
    QPoint origin;
    if (parent != nullptr) {
        origin = parent->geometry().topLeft();
    }
    form->move(origin + QPoint(ColumnsToPixels(column), RowsToPixels(row)));
}

} // namespace

void CreateForm(const std::string& name, const std::string& parent, const std::string& caption,
                double column, double row, double width, double height,
                const std::string& properties) {
    if (!HasApplication()) {
        std::fprintf(stderr, "kalvara: no desktop to show \"%s\" on\n", caption.c_str());
        return;
    }
    GuiContext& c = Context();
    if (c.FindForm(name) != nullptr) {
        c.Unload(name, true);
    }
    const bool modal = Has(properties, 'M');
    const bool centred = Has(properties, 'C');
    QPointer<Form> form = new Form(name, c.FindForm(parent), modal);
    form->setWindowTitle(ToQt(caption));
    form->setProperty("kalvaraCentred", centred);
    // A form keeps the size its design gives it, so maximising could only
    // stretch its frame around the same controls: the title bar offers no
    // such button. The other buttons are named explicitly so that the window
    // manager is told exactly this set.
    form->setWindowFlags((form->windowFlags() | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) &
                         ~Qt::WindowMaximizeButtonHint);

    // Form colours from SetColors, then a fresh start for the controls.
    if (const auto fg = c.NextForeground()) {
        QPalette palette = form->palette();
        palette.setColor(QPalette::WindowText, *fg);
        form->setPalette(palette);
    }
    if (const auto bg = c.NextBackground()) {
        QPalette palette = form->Client()->palette();
        palette.setColor(QPalette::Window, *bg);
        form->Client()->setPalette(palette);
        form->Client()->setAutoFillBackground(true);
    }
    if (const auto mainMenu = c.TakePendingMainMenu()) {
        QMenuBar* bar = form->menuBar();
        AddMenuItemTo(bar, mainMenu->first, mainMenu->second);
        form->menuBarHandle = c.RegisterMenu(bar);
    }
    c.AddForm(name, form);
    form->SetClientSize(
        QSize(std::max(1, ColumnsToPixels(width)), std::max(1, RowsToPixels(height))));
    PositionForm(form, column, row, false);

    c.Design(form);

    if (form == nullptr || c.FindForm(name) != form) {
        return;
    }
    c.Dispatch(name, 0, EventFormLoading);
    if (form == nullptr || c.FindForm(name) != form) {
        return;
    }
    form->ApplyClientSize();
    form->FitTextsIntoFreeRoom();
    if (centred) {
        PositionForm(form, column, row, true);
    }
    form->show();
    c.Dispatch(name, 0, EventFormLoaded);
    if (modal && form != nullptr && c.FindForm(name) == form) {
        QEventLoop loop;
        form->modalLoop = &loop;
        loop.exec(QEventLoop::DialogExec);
    }
}

void ResizeForm(const std::string& name, double column, double row, double width, double height) {
    Form* form = FormOf(name);
    if (form == nullptr) {
        return;
    }
    form->SetClientSize(
        QSize(std::max(1, ColumnsToPixels(width)), std::max(1, RowsToPixels(height))));
    PositionForm(form, column, row, form->property("kalvaraCentred").toBool() && form->isVisible());
}

void UnloadForm(const std::string& name) {
    Context().Unload(name, true);
}

void HideForm(const std::string& name) {
    if (Form* form = FormOf(name)) {
        form->hide();
    }
}

void ShowForm(const std::string& name) {
    if (Form* form = FormOf(name)) {
        form->show();
    }
}

std::string CurrentForm() {
    GuiContext& c = Context();
    if (auto handling = c.EventForm()) {
        return *handling;
    }
    if (HasApplication()) {
        if (auto* active = qobject_cast<Form*>(QApplication::activeWindow());
            active != nullptr && !active->unloading) {
            return active->Name();
        }
    }
    return c.NewestForm();
}

bool FormExists(const std::string& name) {
    return FormOf(name) != nullptr;
}

QWidget* FormWidget(const std::string& name) {
    return FormOf(name);
}

QWidget* ControlWidget(const std::string& form, int id) {
    return Context().FindControl(form, id);
}

void SetUserData(const std::string& form, int number, int value) {
    if (Form* target = FormOf(form)) {
        target->userData[number] = value;
    }
}

int GetUserData(const std::string& form, int number) {
    Form* target = FormOf(form);
    if (target == nullptr) {
        return 0;
    }
    const auto found = target->userData.find(number);
    return found != target->userData.end() ? found->second : 0;
}

} // namespace kalvara::gui
