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
    if (!entry_.dispatchEvent) {
        return cancel;
    }
    eventStack_.push_back(form);
    std::string previousText = std::exchange(eventText_, text);
    try {
        entry_.dispatchEvent(form, id, code, value, cancel);
    } catch (const std::exception& error) {
        // An event handler must not take the message loop down with it.
        std::fprintf(stderr, "kalvara: event %d of %s/%d failed: %s\n", code, form.c_str(), id,
                     error.what());
    } catch (...) {
        std::fprintf(stderr, "kalvara: event %d of %s/%d failed\n", code, form.c_str(), id);
    }
    eventText_ = std::move(previousText);
    eventStack_.pop_back();
    return cancel;
}

void GuiContext::RunInitialise() {
    if (!entry_.initialiseGui) {
        return;
    }
    try {
        entry_.initialiseGui();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "kalvara: start-up failed: %s\n", error.what());
    }
}

void GuiContext::RunMainLoop() {
    if (forms_.empty()) {
        return;
    }
    QEventLoop loop;
    mainLoop_ = &loop;
    loop.exec();
    mainLoop_ = nullptr;
}

std::optional<std::string> GuiContext::EventForm() const {
    if (eventStack_.empty()) {
        return std::nullopt;
    }
    return eventStack_.back();
}

void GuiContext::AddForm(const std::string& name, Form* form) {
    forms_[name] = form;
    creationOrder_.push_back(name);
}

std::string GuiContext::NewestForm() const {
    for (auto name = creationOrder_.rbegin(); name != creationOrder_.rend(); ++name) {
        if (FindForm(*name) != nullptr) {
            return *name;
        }
    }
    return {};
}

void GuiContext::Design(Form* form) {
    // The design settings are per form: a form created while another is
    // being designed must not leave its settings behind.
    const int foreground = foreground_;
    const int background = background_;
    const std::optional<QFont> font = currentFont_;
    const std::string autoSize = autoSize_;
    const int layer = layer_;
    const bool loadingEvents = loadingEvents_;
    ResetDesignSettings();

    const std::string name = form->Name();
    designStack_.push_back(form);
    eventStack_.push_back(name);
    if (entry_.designForm) {
        try {
            entry_.designForm(name);
        } catch (const std::exception& error) {
            std::fprintf(stderr, "kalvara: design of %s failed: %s\n", name.c_str(), error.what());
        }
    }
    eventStack_.pop_back();
    designStack_.pop_back();

    foreground_ = foreground;
    background_ = background;
    currentFont_ = font;
    autoSize_ = autoSize;
    layer_ = layer;
    loadingEvents_ = loadingEvents;
}

void GuiContext::SetColors(int foreground, int background) {
    foreground_ = foreground;
    background_ = background;
}

std::optional<std::string> GuiContext::PictureResource(const std::string& name) const {
    const auto found = pictureResources_.find(name);
    if (found == pictureResources_.end()) {
        return std::nullopt;
    }
    return found->second;
}

const QPixmap* GuiContext::Picture(int handle) const {
    const auto found = pictures_.find(handle);
    return found != pictures_.end() ? &found->second : nullptr;
}

int GuiContext::PictureAt(const std::string& canonicalPath) const {
    const auto found = pictureByPath_.find(canonicalPath);
    return found != pictureByPath_.end() ? found->second : 0;
}

int GuiContext::KeepPicture(const std::string& canonicalPath, const QPixmap& pixmap) {
    const int handle = nextPicture_++;
    pictures_[handle] = pixmap;
    pictureByPath_[canonicalPath] = handle;
    return handle;
}

int GuiContext::RegisterMenu(QWidget* menu) {
    const int handle = nextMenu_++;
    menus_[handle] = menu;
    return handle;
}

QWidget* GuiContext::MenuOf(int handle) const {
    const auto found = menus_.find(handle);
    return found != menus_.end() ? found->second.data() : nullptr;
}

std::string GuiContext::AskTooltip(const std::string& form, int id) {
    tooltipText_ = std::string();
    Dispatch(form, id, EventTooltip);
    return std::exchange(tooltipText_, std::nullopt).value_or(std::string());
}

void GuiContext::AnswerTooltip(const std::string& text) {
    if (tooltipText_) {
        tooltipText_ = text;
    }
}

bool GuiContext::AskOwnerDraw(const std::string& form, int id, QPainter& painter, QWidget* button) {
    // A paint inside another paint (the program painting while it paints)
    // falls back to the plain face rather than nesting painters.
    if (drawPainter_ != nullptr) {
        return false;
    }
    drawPainter_ = &painter;
    drawButton_ = button;
    drawDone_ = false;
    Dispatch(form, id, EventOwnerDraw);
    const bool drawn = drawDone_;
    drawPainter_ = nullptr;
    drawButton_ = nullptr;
    drawDone_ = false;
    return drawn;
}

std::any* GuiContext::FindFormRecord(const std::string& form) {
    const auto found = records_.find(form);
    return found != records_.end() ? &found->second : nullptr;
}

void GuiContext::ResetForTesting() {
    UnloadAll();
    if (QCoreApplication::instance() != nullptr) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    ResetAll();
    records_.clear();
    entry_ = {};
    arguments_.clear();
    eventStack_.clear();
    designStack_.clear();
}

Form* GuiContext::FindForm(const std::string& name) const {
    const auto found = forms_.find(name);
    if (found == forms_.end() || found->second == nullptr || found->second->unloading) {
        return nullptr;
    }
    return found->second;
}

Form* GuiContext::Designing() const {
    if (designStack_.empty()) {
        return nullptr;
    }
    Form* form = designStack_.back();
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
    for (const auto& [childName, child] : forms_) {
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
    forms_.erase(name);
    std::erase(creationOrder_, name);
    for (const auto& [number, menu] : form->savedMenus) {
        menus_.erase(menu);
    }
    menus_.erase(form->menuBarHandle);
    form->hide();
    if (form->modalLoop != nullptr) {
        form->modalLoop->quit();
    }
    // Deleted once the event being handled has returned: the handler may
    // still be running inside one of the form's widgets.
    form->deleteLater();
    if (forms_.empty() && mainLoop_ != nullptr) {
        mainLoop_->quit();
    }
}

void GuiContext::UnloadAll() {
    // Newest first, so that child forms go before their parents.
    while (!creationOrder_.empty()) {
        const std::string name = creationOrder_.back();
        if (FindForm(name) == nullptr) {
            std::erase(creationOrder_, name);
            forms_.erase(name);
            continue;
        }
        Unload(name, true);
    }
    forms_.clear();
}

QFont GuiContext::FontOf(int number) const {
    const auto found = fonts_.find(number);
    return found != fonts_.end() ? found->second : QApplication::font();
}

std::optional<QColor> GuiContext::ColorOf(int number) const {
    const auto found = colors_.find(number);
    if (found == colors_.end()) {
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
    widget->setFont(currentFont_.value_or(QApplication::font()));
    ApplyColors(widget, kind, ColorOf(foreground_), ColorOf(background_));

    const bool tabStop = properties.find('T') != std::string::npos;
    if (widget->focusPolicy() != Qt::NoFocus && kind != ControlKind::TextField &&
        kind != ControlKind::RichText) {
        widget->setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::ClickFocus);
    }
    form->AddControl(id, widget, kind, layer_);

    if (loadingEvents_) {
        loadString_.reset();
        const QPointer<QWidget> guard(widget);
        Dispatch(form->Name(), id, EventControlLoading);
        if (guard == nullptr || form->FindControl(id) == nullptr ||
            form->FindControl(id)->widget != widget) {
            return false;
        }
        // UseFont during the loading event picks this control's font.
        widget->setFont(currentFont_.value_or(QApplication::font()));
        if (loadString_) {
            const QString text = QString::fromStdString(*loadString_);
            if (auto* label = qobject_cast<QLabel*>(widget)) {
                label->setText(QString(text)
                                   .replace(QLatin1Char('|'), QLatin1Char('\n'))
                                   .replace(QChar(0x1f), QLatin1Char('|')));
            } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
                button->setText(text);
            }
            loadString_.reset();
        }
    }

    if (!autoSize_.empty()) {
        GrowToFitText(widget, kind);
    }
    return true;
}

void GuiContext::ResetDesignSettings() {
    foreground_ = -1;
    background_ = -1;
    currentFont_.reset();
    autoSize_.clear();
    layer_ = 0;
    loadingEvents_ = false;
}

void GuiContext::ResetAll() {
    ResetDesignSettings();
    pendingMainMenu_.reset();
    loadString_.reset();
    fonts_.clear();
    // The desktop font may have changed since the cells were measured.
    columnPixels_ = 0;
    rowPixels_ = 0;
    colors_.clear();
    for (int i = 0; i < 16; ++i) {
        colors_[i] = QColor(kClassicPalette[i][0], kClassicPalette[i][1], kClassicPalette[i][2]);
    }
    pictureFolder_.clear();
    pictureResources_.clear();
    pictures_.clear();
    pictureByPath_.clear();
    nextPicture_ = 1;
    for (auto& [handle, menu] : menus_) {
        // Popups that were never hung below a menu have no owner.
        if (menu != nullptr && menu->parent() == nullptr) {
            delete menu.data();
        }
    }
    menus_.clear();
    nextMenu_ = 1;
    keyEventsEverywhere_ = false;
    tooltipWrapColumns_ = 0;
    tooltipText_.reset();
    eventText_.clear();
    columnPixels_ = 0;
    rowPixels_ = 0;
}

} // namespace kalvara::gui
