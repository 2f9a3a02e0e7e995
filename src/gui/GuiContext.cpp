#include "gui/GuiContext.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFontMetricsF>
#include <QLabel>
#include <QMenu>
#include <QRegularExpression>
#include <cmath>
#include <cstdio>
#include <exception>

namespace kalvara::gui {

namespace {

// The classic sixteen-colour palette that colour numbers 0 to 15 start as.
constexpr int kClassicPalette[16][3] = {
    {0, 0, 0},     {0, 0, 128},     {0, 128, 0},     {0, 128, 128},  {128, 0, 0}, {128, 0, 128},
    {128, 128, 0}, {192, 192, 192}, {128, 128, 128}, {0, 0, 255},    {0, 255, 0}, {0, 255, 255},
    {255, 0, 0},   {255, 0, 255},   {255, 255, 0},   {255, 255, 255}};

void ApplyColors(QWidget* widget, ControlKind kind, const std::optional<QColor>& foreground,
                 const std::optional<QColor>& background) {
    if (!foreground && !background) {
        return;
    }
    QPalette palette = widget->palette();
    if (foreground) {
        for (QPalette::ColorRole role :
             {QPalette::WindowText, QPalette::ButtonText, QPalette::Text}) {
            palette.setColor(QPalette::Active, role, *foreground);
            palette.setColor(QPalette::Inactive, role, *foreground);
        }
    }
    if (background) {
        for (QPalette::ColorRole role : {QPalette::Window, QPalette::Button, QPalette::Base}) {
            palette.setColor(role, *background);
        }
        // Labels and the like paint no background of their own.
        if (kind == ControlKind::Label || kind == ControlKind::Picture ||
            kind == ControlKind::CheckBox || kind == ControlKind::Radio) {
            widget->setAutoFillBackground(true);
        }
    }
    widget->setPalette(palette);
}

// With autosize on, a control too narrow for its text grows to the right,
// though never past the client area. It never shrinks: the windows lay
// their controls out for the size they give.
void GrowToFitText(QWidget* widget, ControlKind kind) {
    int needed = 0;
    const QFontMetrics metrics(widget->font());
    switch (kind) {
    case ControlKind::Button:
    case ControlKind::OwnerDrawnButton: {
        auto* button = static_cast<QAbstractButton*>(widget);
        QString text = button->text();
        text.remove(QRegularExpression(QStringLiteral("&(?!&)")));
        needed = metrics.horizontalAdvance(text) + 2 * metrics.averageCharWidth();
        break;
    }
    case ControlKind::CheckBox:
    case ControlKind::Radio:
        needed = widget->sizeHint().width();
        break;
    case ControlKind::Label: {
        auto* label = static_cast<QLabel*>(widget);
        if (!label->wordWrap()) {
            needed = metrics.horizontalAdvance(label->text());
        }
        break;
    }
    default:
        return;
    }
    const QWidget* client = widget->parentWidget();
    const int room =
        client != nullptr && client->width() > 0 ? client->width() - widget->x() : needed;
    const int width = std::min(needed, std::max(widget->width(), room));
    if (width > widget->width()) {
        widget->resize(width, widget->height());
    }
}

} // namespace

GuiContext::GuiContext() {
    ResetAll();
}

GuiContext& GuiContext::Instance() {
    static GuiContext context;
    return context;
}

int GuiContext::Dispatch(const std::string& form, int id, int code, int value,
                         const std::string& text) {
    int cancel = 0;
    if (!entry.dispatchEvent) {
        return cancel;
    }
    eventStack.push_back(form);
    std::string previousText = std::exchange(eventText, text);
    try {
        entry.dispatchEvent(form, id, code, value, cancel);
    } catch (const std::exception& error) {
        // An event handler must not take the message loop down with it.
        std::fprintf(stderr, "kalvara: event %d of %s/%d failed: %s\n", code, form.c_str(), id,
                     error.what());
    } catch (...) {
        std::fprintf(stderr, "kalvara: event %d of %s/%d failed\n", code, form.c_str(), id);
    }
    eventText = std::move(previousText);
    eventStack.pop_back();
    return cancel;
}

Form* GuiContext::FindForm(const std::string& name) const {
    const auto found = forms.find(name);
    if (found == forms.end() || found->second == nullptr || found->second->unloading) {
        return nullptr;
    }
    return found->second;
}

Form* GuiContext::Designing() const {
    if (designStack.empty()) {
        return nullptr;
    }
    Form* form = designStack.back();
    return form != nullptr && !form->unloading ? form : nullptr;
}

QWidget* GuiContext::FindControl(const std::string& form, int id) const {
    Form* owner = FindForm(form);
    if (owner == nullptr) {
        return nullptr;
    }
    if (id == 0) {
        return owner;
    }
    const Form::Control* control = owner->FindControl(id);
    return control != nullptr ? control->widget.data() : nullptr;
}

void GuiContext::Unload(const std::string& name, bool reportClose) {
    Form* form = FindForm(name);
    if (form == nullptr) {
        return;
    }
    if (reportClose) {
        Dispatch(name, 0, EventClose);
        // The handler may have unloaded it already.
        if (FindForm(name) != form) {
            return;
        }
    }
    // Forms owned by this one go with it: they would otherwise vanish with
    // their owner's window unannounced, and a modal one would wait for ever.
    std::vector<std::string> children;
    for (const auto& [childName, child] : forms) {
        if (child != nullptr && child != form && child->parentWidget() == form) {
            children.push_back(childName);
        }
    }
    for (const std::string& child : children) {
        Unload(child, true);
    }
    if (FindForm(name) != form) {
        return;
    }
    form->unloading = true;
    forms.erase(name);
    std::erase(creationOrder, name);
    for (const auto& [number, menu] : form->savedMenus) {
        menus.erase(menu);
    }
    menus.erase(form->menuBarHandle);
    form->hide();
    if (form->modalLoop != nullptr) {
        form->modalLoop->quit();
    }
    // Deleted once the event being handled has returned: the handler may
    // still be running inside one of the form's widgets.
    form->deleteLater();
    if (forms.empty() && mainLoop != nullptr) {
        mainLoop->quit();
    }
}

void GuiContext::UnloadAll() {
    // Newest first, so that child forms go before their parents.
    while (!creationOrder.empty()) {
        const std::string name = creationOrder.back();
        if (FindForm(name) == nullptr) {
            std::erase(creationOrder, name);
            forms.erase(name);
            continue;
        }
        Unload(name, true);
    }
    forms.clear();
}

QFont GuiContext::FontOf(int number) const {
    const auto found = fonts.find(number);
    return found != fonts.end() ? found->second : QApplication::font();
}

std::optional<QColor> GuiContext::ColorOf(int number) const {
    const auto found = colors.find(number);
    if (found == colors.end()) {
        return std::nullopt;
    }
    return found->second;
}

double GuiContext::ColumnPixels() {
    if (columnPixels_ <= 0) {
        // The average over the letters, as dialog units are measured: the
        // font's own average-width figure is often far below what words take.
        // The windows were laid out for a narrower face than the desktop
        // fonts here (DejaVu Sans sets ordinary text a good tenth wider), so
        // a cell is five quarters of that average: their texts then stay
        // inside the controls and frames drawn for them.
        constexpr double CellPerLetter = 1.25;
        const QFontMetricsF metrics(QApplication::font());
        const QString letters =
            QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
        columnPixels_ =
            std::max(1.0, CellPerLetter * metrics.horizontalAdvance(letters) / letters.size());
        rowPixels_ = std::max(1.0, metrics.lineSpacing());
    }
    return columnPixels_;
}

double GuiContext::RowPixels() {
    ColumnPixels();
    return rowPixels_;
}

bool GuiContext::Place(int id, double column, double row, double width, double height,
                       QWidget* widget, ControlKind kind, const std::string& properties) {
    Form* form = Designing();
    if (form == nullptr) {
        delete widget;
        return false;
    }
    const bool positioned = kind != ControlKind::StatusBar; // the window lays it out
    if (positioned) {
        widget->setParent(form->Client());
    }
    const auto toPixels = [](double units, double unit) {
        if (!std::isfinite(units)) {
            return 0;
        }
        return static_cast<int>(std::lround(std::clamp(units, -10000.0, 10000.0) * unit));
    };
    const double cw = ColumnPixels();
    const double rh = RowPixels();
    const int left = toPixels(column, cw);
    const int top = toPixels(row, rh);
    const int right = toPixels(column + std::max(0.0, width), cw);
    const int bottom = toPixels(row + std::max(0.0, height), rh);
    if (positioned) {
        widget->setGeometry(left, top, std::max(0, right - left), std::max(0, bottom - top));
    }
    widget->setFont(currentFont.value_or(QApplication::font()));
    ApplyColors(widget, kind, ColorOf(foreground), ColorOf(background));

    const bool tabStop = properties.find('T') != std::string::npos;
    if (widget->focusPolicy() != Qt::NoFocus && kind != ControlKind::TextField &&
        kind != ControlKind::RichText) {
        widget->setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::ClickFocus);
    }
    form->AddControl(id, widget, kind, layer);

    if (loadingEvents) {
        loadString.reset();
        const QPointer<QWidget> guard(widget);
        Dispatch(form->Name(), id, EventControlLoading);
        if (guard == nullptr || form->FindControl(id) == nullptr ||
            form->FindControl(id)->widget != widget) {
            return false;
        }
        // UseFont during the loading event picks this control's font.
        widget->setFont(currentFont.value_or(QApplication::font()));
        if (loadString) {
            const QString text = QString::fromStdString(*loadString);
            if (auto* label = qobject_cast<QLabel*>(widget)) {
                label->setText(QString(text)
                                   .replace(QLatin1Char('|'), QLatin1Char('\n'))
                                   .replace(QChar(0x1f), QLatin1Char('|')));
            } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
                button->setText(text);
            }
            loadString.reset();
        }
    }

    if (!autoSize.empty()) {
        GrowToFitText(widget, kind);
    }
    return true;
}

void GuiContext::ResetDesignSettings() {
    foreground = -1;
    background = -1;
    currentFont.reset();
    autoSize.clear();
    layer = 0;
    loadingEvents = false;
}

void GuiContext::ResetAll() {
    ResetDesignSettings();
    pendingMainMenu.reset();
    loadString.reset();
    fonts.clear();
    colors.clear();
    for (int i = 0; i < 16; ++i) {
        colors[i] = QColor(kClassicPalette[i][0], kClassicPalette[i][1], kClassicPalette[i][2]);
    }
    pictureFolder.clear();
    pictureResources.clear();
    pictures.clear();
    pictureByPath.clear();
    nextPicture = 1;
    for (auto& [handle, menu] : menus) {
        // Popups that were never hung below a menu have no owner.
        if (menu != nullptr && menu->parent() == nullptr) {
            delete menu.data();
        }
    }
    menus.clear();
    nextMenu = 1;
    keyEventsEverywhere = false;
    tooltipWrapColumns = 0;
    tooltipText.reset();
    eventText.clear();
    columnPixels_ = 0;
    rowPixels_ = 0;
}

} // namespace kalvara::gui
