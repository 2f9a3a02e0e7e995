#include "gui/Gui.h"

#include "gui/ButtonPainter.h"
#include "gui/Form.h"
#include "gui/GuiContext.h"
#include "gui/OwnerDrawnButton.h"
#include "rtf/RtfReader.h"
#include "gui/RtfTextDocument.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QTextBrowser>
#include <QTimer>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <memory>

namespace kalvara::gui {

namespace {

GuiContext& Context() {
    return GuiContext::Instance();
}

bool HasApplication() {
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}

bool Has(const std::string& properties, char letter) {
    return properties.find(letter) != std::string::npos;
}

QString ToQt(const std::string& text) {
    return QString::fromStdString(text);
}

std::string FromQt(const QString& text) {
    return text.toStdString();
}

// "|" breaks lines in the texts the windows give; U+001F is a bar that the
// message box quoted from outside text, shown as "|" without a break.
QString Lines(const std::string& text) {
    return ToQt(text)
        .replace(QLatin1Char('|'), QLatin1Char('\n'))
        .replace(QChar(0x1f), QLatin1Char('|'));
}

// The number inside "[n]" in a property string, or 0.
int BracketNumber(const std::string& properties) {
    const auto open = properties.find('[');
    const auto close = properties.find(']', open == std::string::npos ? 0 : open);
    if (open == std::string::npos || close == std::string::npos) {
        return 0;
    }
    int number = 0;
    const char* first = properties.data() + open + 1;
    const char* last = properties.data() + close;
    const auto [end, error] = std::from_chars(first, last, number);
    if (error != std::errc() || end != last || number < 0) {
        return 0;
    }
    return number;
}

QFont MakeFont(const std::string& face, double pointSize, const std::string& properties) {
    QFont font = QApplication::font();
    const QString family = ToQt(face);
    // A face this machine lacks keeps the desktop's UI font.
    if (!family.isEmpty() && QFontDatabase::hasFamily(family)) {
        font.setFamily(family);
    }
    if (std::isfinite(pointSize) && pointSize > 0) {
        font.setPointSizeF(std::clamp(pointSize, 1.0, 400.0));
    }
    std::string upper = properties;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    font.setBold(Has(upper, 'B'));
    font.setItalic(Has(upper, 'I'));
    font.setUnderline(Has(upper, 'U'));
    return font;
}

QColor SystemColor(int index) {
    const QPalette palette = QApplication::palette();
    switch (index) {
    case 4: // menu
        return palette.color(QPalette::Window);
    case 5: // window
        return palette.color(QPalette::Base);
    case 8: // window text
        return palette.color(QPalette::Text);
    case 13: // highlight
        return palette.color(QPalette::Highlight);
    case 14: // highlighted text
        return palette.color(QPalette::HighlightedText);
    case 15: // button face
        return palette.color(QPalette::Button);
    case 18: // button text
        return palette.color(QPalette::ButtonText);
    case 23: // tooltip text
        return palette.color(QPalette::ToolTipText);
    case 24: // tooltip background
        return palette.color(QPalette::ToolTipBase);
    default:
        return palette.color(QPalette::Window);
    }
}

Form* FormOf(const std::string& name) {
    return Context().FindForm(name);
}

template <typename Widget> Widget* ControlAs(const std::string& form, int id) {
    return qobject_cast<Widget*>(Context().FindControl(form, id));
}

// Reports the click of a button-like control to its form.
void ReportClicks(QAbstractButton* button, int id) {
    QObject::connect(button, &QAbstractButton::clicked, button, [button, id] {
        if (auto* form = qobject_cast<Form*>(button->window());
            form != nullptr && !form->unloading) {
            Context().Dispatch(form->Name(), id, EventClick);
        }
    });
}

void ShowPicture(QLabel* label, int picture) {
    const auto found = Context().pictures.find(picture);
    if (found == Context().pictures.end()) {
        label->clear();
        return;
    }
    const std::string properties = label->property("kalvaraPicture").toString().toStdString();
    QPixmap pixmap = found->second;
    if (Has(properties, 'F') && !label->size().isEmpty()) {
        pixmap = pixmap.scaled(label->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    label->setPixmap(pixmap);
}

int PictureFromText(const std::string& text) {
    if (text.size() > 1 && text[0] == '#') {
        int handle = 0;
        const auto [end, error] =
            std::from_chars(text.data() + 1, text.data() + text.size(), handle);
        if (error == std::errc() && end == text.data() + text.size()) {
            return Context().pictures.count(handle) != 0 ? handle : 0;
        }
    }
    return text.empty() ? 0 : LoadPicture(text);
}

void FillStatusBar(QStatusBar* bar, const std::vector<int>& widths) {
    for (QLabel* part : bar->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly)) {
        bar->removeWidget(part);
        delete part;
    }
    for (int width : widths) {
        auto* part = new QLabel(bar);
        part->setFont(bar->font());
        bar->addWidget(part, std::max(1, width));
        part->show();
    }
}

QLabel* StatusBarPart(QStatusBar* bar, int part) {
    const QList<QLabel*> parts = bar->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly);
    if (part < 1 || part > parts.size()) {
        return nullptr;
    }
    return parts[part - 1];
}

void SetPartText(QLabel* label, const std::string& text) {
    QString shown = ToQt(text);
    // A leading tab centres the text in its part.
    if (shown.startsWith(QLatin1Char('\t'))) {
        shown.remove(0, 1);
        label->setAlignment(Qt::AlignCenter);
    } else {
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
    label->setText(shown);
}

Form* FormOfMenu(QWidget* menu) {
    for (QWidget* w = menu; w != nullptr; w = w->parentWidget()) {
        if (auto* form = qobject_cast<Form*>(w)) {
            return form;
        }
    }
    return nullptr;
}

void AddMenuItemTo(QWidget* menu, int id, const std::string& caption) {
    QAction* action = nullptr;
    if (caption == "-") {
        action = new QAction(menu);
        action->setSeparator(true);
    } else {
        action = new QAction(ToQt(caption), menu);
        QObject::connect(action, &QAction::triggered, menu, [menu, id, caption] {
            Form* form = FormOfMenu(menu);
            if (form != nullptr && !form->unloading) {
                Context().Dispatch(form->Name(), id, EventClick, 0, caption);
            }
        });
        QObject::connect(action, &QAction::hovered, menu, [menu, id, caption] {
            Form* form = FormOfMenu(menu);
            if (form != nullptr && !form->unloading) {
                Context().Dispatch(form->Name(), id, EventMenuSelect, 0, caption);
            }
        });
    }
    action->setData(id);
    menu->addAction(action);
}

int RegisterMenu(QWidget* menu) {
    GuiContext& context = Context();
    const int handle = context.nextMenu++;
    context.menus[handle] = menu;
    return handle;
}

QWidget* MenuOf(int handle) {
    const auto found = Context().menus.find(handle);
    return found != Context().menus.end() ? found->second.data() : nullptr;
}

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

// The design settings are per form: a form created while another is being
// designed must not leave its settings behind.
struct DesignSettings {
    int foreground;
    int background;
    std::optional<QFont> font;
    std::string autoSize;
    int layer;
    bool loadingEvents;
};

DesignSettings SaveDesignSettings() {
    const GuiContext& c = Context();
    return {c.foreground, c.background, c.currentFont, c.autoSize, c.layer, c.loadingEvents};
}

void RestoreDesignSettings(const DesignSettings& saved) {
    GuiContext& c = Context();
    c.foreground = saved.foreground;
    c.background = saved.background;
    c.currentFont = saved.font;
    c.autoSize = saved.autoSize;
    c.layer = saved.layer;
    c.loadingEvents = saved.loadingEvents;
}

void PaintOwnerDrawn(ButtonShape shape, int background, int foreground, int font) {
    GuiContext& c = Context();
    auto* button = qobject_cast<QAbstractButton*>(c.drawButton);
    if (c.drawPainter == nullptr || button == nullptr) {
        return;
    }
    ButtonFace face;
    face.rect = button->rect();
    face.text = button->text();
    face.background = c.ColorOf(background).value_or(button->palette().color(QPalette::Button));
    face.foreground = c.ColorOf(foreground).value_or(button->palette().color(QPalette::ButtonText));
    face.font = font > 0 ? c.FontOf(font) : button->font();
    face.pressed = button->isDown();
    face.focused = button->hasFocus();
    face.enabled = button->isEnabled();
    PaintButton(*c.drawPainter, shape, face);
    c.drawDone = true;
}

} // namespace

// ---------------------------------------------------------------------------
// Entry points and the run call

int Run(int& argc, char** argv, EntryPoints entryPoints) {
    std::unique_ptr<QApplication> application;
    if (QCoreApplication::instance() == nullptr) {
        application = std::make_unique<QApplication>(argc, argv);
    }
    GuiContext& c = Context();
    InstallEntryPoints(std::move(entryPoints));
    c.arguments.clear();
    for (int i = 1; i < argc; ++i) {
        c.arguments.emplace_back(argv[i] != nullptr ? argv[i] : "");
    }
    QApplication::setQuitOnLastWindowClosed(false);
    if (c.entry.initialiseGui) {
        try {
            c.entry.initialiseGui();
        } catch (const std::exception& error) {
            std::fprintf(stderr, "kalvara: start-up failed: %s\n", error.what());
        }
    }
    if (!c.forms.empty()) {
        QEventLoop loop;
        c.mainLoop = &loop;
        loop.exec();
        c.mainLoop = nullptr;
    }
    c.Dispatch(AppFormName, 0, EventClose);
    c.UnloadAll();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    if (application != nullptr) {
        // Pictures and fonts cannot outlive the application they were made in.
        c.ResetAll();
    }
    return 0;
}

void InstallEntryPoints(EntryPoints entryPoints) {
    Context().entry = std::move(entryPoints);
}

void ResetForTesting() {
    GuiContext& c = Context();
    c.UnloadAll();
    if (QCoreApplication::instance() != nullptr) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    c.ResetAll();
    c.entry = {};
    c.arguments.clear();
    c.eventStack.clear();
    c.designStack.clear();
}

std::vector<std::string> CommandLineArguments() {
    return Context().arguments;
}

std::string ProgramFolder() {
    if (QCoreApplication::instance() == nullptr) {
        return {};
    }
    return FromQt(QDir::toNativeSeparators(QCoreApplication::applicationDirPath()));
}

void AllowEvents(EventClass eventClass, bool on) {
    if (eventClass == EventClass::Key) {
        Context().keyEventsEverywhere = on;
    }
}

void AllowFormKeyEvents(const std::string& form) {
    if (Form* target = FormOf(form)) {
        target->keyEvents = true;
    }
}

// ---------------------------------------------------------------------------
// Numbered fonts and colours

void DefineFont(int number, const std::string& face, double pointSize,
                const std::string& properties) {
    if (!HasApplication()) {
        return;
    }
    Context().fonts[number] = MakeFont(face, pointSize, properties);
}

void DefineSystemColor(int number, int systemColorIndex) {
    if (!HasApplication()) {
        return;
    }
    Context().colors[number] = SystemColor(systemColorIndex);
}

void DefineColor(int number, int red, int green, int blue) {
    Context().colors[number] =
        QColor(std::clamp(red, 0, 255), std::clamp(green, 0, 255), std::clamp(blue, 0, 255));
}

int ColorValue(int number) {
    const auto color = Context().ColorOf(number);
    return color ? static_cast<int>(color->rgb() & 0xFFFFFFu) : -1;
}

void SetColors(int foreground, int background) {
    Context().foreground = foreground;
    Context().background = background;
}

void UseFont(int number) {
    if (!HasApplication()) {
        return;
    }
    Context().currentFont = Context().FontOf(number);
}

void UseInlineFont(const std::string& face, double pointSize, const std::string& properties) {
    if (!HasApplication()) {
        return;
    }
    Context().currentFont = MakeFont(face, pointSize, properties);
}

void UseAutoSize(const std::string& properties) {
    Context().autoSize = properties;
}

TextExtent MeasureText(int fontNumber, const std::string& text) {
    if (!HasApplication()) {
        // Without a desktop, one character is one column.
        return {static_cast<double>(QString::fromStdString(text).size()), 1.0};
    }
    GuiContext& c = Context();
    const QFontMetricsF metrics(c.FontOf(std::max(0, fontNumber)));
    return {metrics.horizontalAdvance(ToQt(text)) / c.ColumnPixels(),
            metrics.lineSpacing() / c.RowPixels()};
}

double PixelsToColumns(int pixels) {
    return HasApplication() ? pixels / Context().ColumnPixels() : pixels / 8.0;
}

double PixelsToRows(int pixels) {
    return HasApplication() ? pixels / Context().RowPixels() : pixels / 16.0;
}

int ColumnsToPixels(double columns) {
    if (!std::isfinite(columns)) {
        return 0;
    }
    const double unit = HasApplication() ? Context().ColumnPixels() : 8.0;
    return static_cast<int>(std::lround(std::clamp(columns, -10000.0, 10000.0) * unit));
}

int RowsToPixels(double rows) {
    if (!std::isfinite(rows)) {
        return 0;
    }
    const double unit = HasApplication() ? Context().RowPixels() : 16.0;
    return static_cast<int>(std::lround(std::clamp(rows, -10000.0, 10000.0) * unit));
}

// ---------------------------------------------------------------------------
// Forms

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

    // Form colours from SetColors, then a fresh start for the controls.
    if (const auto fg = c.ColorOf(c.foreground)) {
        QPalette palette = form->palette();
        palette.setColor(QPalette::WindowText, *fg);
        form->setPalette(palette);
    }
    if (const auto bg = c.ColorOf(c.background)) {
        QPalette palette = form->Client()->palette();
        palette.setColor(QPalette::Window, *bg);
        form->Client()->setPalette(palette);
        form->Client()->setAutoFillBackground(true);
    }
    if (c.pendingMainMenu) {
        QMenuBar* bar = form->menuBar();
        AddMenuItemTo(bar, c.pendingMainMenu->first, c.pendingMainMenu->second);
        form->menuBarHandle = RegisterMenu(bar);
        c.pendingMainMenu.reset();
    }
    c.forms[name] = form;
    c.creationOrder.push_back(name);
    form->SetClientSize(
        QSize(std::max(1, ColumnsToPixels(width)), std::max(1, RowsToPixels(height))));
    PositionForm(form, column, row, false);

    const DesignSettings saved = SaveDesignSettings();
    c.ResetDesignSettings();
    c.designStack.push_back(form);
    c.eventStack.push_back(name);
    if (c.entry.designForm) {
        try {
            c.entry.designForm(name);
        } catch (const std::exception& error) {
            std::fprintf(stderr, "kalvara: design of %s failed: %s\n", name.c_str(), error.what());
        }
    }
    c.eventStack.pop_back();
    c.designStack.pop_back();
    RestoreDesignSettings(saved);

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
    if (!c.eventStack.empty()) {
        return c.eventStack.back();
    }
    if (HasApplication()) {
        if (auto* active = qobject_cast<Form*>(QApplication::activeWindow());
            active != nullptr && !active->unloading) {
            return active->Name();
        }
    }
    for (auto name = c.creationOrder.rbegin(); name != c.creationOrder.rend(); ++name) {
        if (c.FindForm(*name) != nullptr) {
            return *name;
        }
    }
    return {};
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

// ---------------------------------------------------------------------------
// Controls

void AddLabel(int id, double column, double row, double width, double height,
              const std::string& text, const std::string& properties) {
    auto* label = new QLabel(Lines(text));
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    Qt::Alignment horizontal = Qt::AlignLeft;
    if (Has(properties, 'C')) {
        horizontal = Qt::AlignHCenter;
    } else if (Has(properties, 'R')) {
        horizontal = Qt::AlignRight;
    }
    label->setAlignment(horizontal | Qt::AlignTop);
    Context().Place(id, column, row, width, height, label, ControlKind::Label, properties);
}

void AddTextField(int id, double column, double row, double width, double height,
                  const std::string& text, const std::string& properties) {
    auto* field = new QLineEdit(ToQt(text));
    if (Has(properties, 'C')) {
        field->setAlignment(Qt::AlignCenter);
    }
    if (const int limit = BracketNumber(properties); limit > 0) {
        field->setMaxLength(limit);
    }
    if (Has(properties, 'P')) {
        field->setEchoMode(QLineEdit::Password);
    }
    if (Has(properties, 'R')) {
        field->setReadOnly(true);
    }
    if (!Context().Place(id, column, row, width, height, field, ControlKind::TextField,
                         properties)) {
        return;
    }
    QObject::connect(field, &QLineEdit::textChanged, field, [field, id](const QString& now) {
        if (auto* form = qobject_cast<Form*>(field->window());
            form != nullptr && !form->unloading) {
            Context().Dispatch(form->Name(), id, EventChange, 0, FromQt(now));
        }
    });
}

void AddButton(int id, double column, double row, double width, double height,
               const std::string& text, const std::string& properties) {
    auto* button = new QPushButton(ToQt(text));
    button->setAutoDefault(false);
    if (Context().Place(id, column, row, width, height, button, ControlKind::Button, properties)) {
        ReportClicks(button, id);
    }
}

void AddOwnerDrawnButton(int id, double column, double row, double width, double height,
                         const std::string& text, const std::string& properties) {
    auto* button = new OwnerDrawnButton(ToQt(text), nullptr);
    button->setAutoDefault(false);
    if (Context().Place(id, column, row, width, height, button, ControlKind::OwnerDrawnButton,
                        properties)) {
        ReportClicks(button, id);
    }
}

void AddCheckBox(int id, double column, double row, double width, double height,
                 const std::string& text, const std::string& properties) {
    auto* box = new QCheckBox(ToQt(text));
    if (Context().Place(id, column, row, width, height, box, ControlKind::CheckBox, properties)) {
        ReportClicks(box, id);
    }
}

void AddRadio(int id, double column, double row, double width, double height,
              const std::string& text, const std::string& properties) {
    auto* radio = new QRadioButton(ToQt(text));
    radio->setAutoExclusive(false);
    Form* form = Context().Designing();
    if (!Context().Place(id, column, row, width, height, radio, ControlKind::Radio, properties)) {
        return;
    }
    form->RadioGroup(Has(properties, 'G'))->addButton(radio);
    ReportClicks(radio, id);
}

void AddFrame(int id, double column, double row, double width, double height,
              const std::string& text, const std::string& properties) {
    auto* frame = new QGroupBox(ToQt(text));
    frame->setFocusPolicy(Qt::NoFocus);
    if (Context().Place(id, column, row, width, height, frame, ControlKind::Frame, properties)) {
        // Frames surround controls made before them too.
        frame->lower();
    }
}

void AddPicture(int id, double column, double row, double width, double height,
                const std::string& picture, const std::string& properties) {
    auto* label = new QLabel;
    label->setProperty("kalvaraPicture", ToQt(properties));
    label->setAlignment(Has(properties, 'C') ? Qt::AlignCenter : (Qt::AlignLeft | Qt::AlignTop));
    label->setScaledContents(Has(properties, 'S'));
    if (Has(properties, 'R')) {
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    }
    if (Context().Place(id, column, row, width, height, label, ControlKind::Picture, properties)) {
        ShowPicture(label, PictureFromText(picture));
    }
}

void AddProgressBar(int id, double column, double row, double width, double height,
                    const std::string& /*text*/, const std::string& properties) {
    auto* bar = new QProgressBar;
    bar->setRange(0, 100);
    bar->setValue(0);
    bar->setTextVisible(false);
    Context().Place(id, column, row, width, height, bar, ControlKind::ProgressBar, properties);
}

void AddRichText(int id, double column, double row, double width, double height,
                 const std::string& text, const std::string& properties) {
    auto* box = new QTextBrowser;
    box->setReadOnly(true);
    box->setOpenLinks(false);
    if (Context().Place(id, column, row, width, height, box, ControlKind::RichText, properties)) {
        if (Form* form = Context().Designing()) {
            SetRichText(form->Name(), id, text);
        }
    }
}

void AddStatusBar(int id, const std::string& text, const std::string& properties) {
    Form* form = Context().Designing();
    if (form == nullptr) {
        return;
    }
    QStatusBar* bar = form->statusBar();
    bar->setSizeGripEnabled(false);
    if (!Context().Place(id, 0, 0, 0, 0, bar, ControlKind::StatusBar, properties)) {
        return;
    }
    // Place puts controls in the client area; the status bar goes back below it.
    form->setStatusBar(bar);
    FillStatusBar(bar, {100});
    if (QLabel* part = StatusBarPart(bar, 1)) {
        SetPartText(part, text);
    }
}

void SetLayer(int layer) {
    Context().layer = std::max(0, layer);
}

void DisplayLayer(const std::string& form, int layer) {
    if (Form* target = FormOf(form)) {
        target->ShowLayer(layer);
    }
}

void AllowLoadingEvents(bool on) {
    Context().loadingEvents = on;
}

void SetLoadString(const std::string& text) {
    Context().loadString = text;
}

// ---------------------------------------------------------------------------
// Control state

std::string GetText(const std::string& form, int id) {
    QWidget* widget = Context().FindControl(form, id);
    if (widget == nullptr) {
        return {};
    }
    if (id == 0) {
        return FromQt(widget->windowTitle());
    }
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        return FromQt(QString(label->text()).replace(QLatin1Char('\n'), QLatin1Char('|')));
    }
    if (auto* field = qobject_cast<QLineEdit*>(widget)) {
        return FromQt(field->text());
    }
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        return FromQt(button->text());
    }
    if (auto* frame = qobject_cast<QGroupBox*>(widget)) {
        return FromQt(frame->title());
    }
    if (auto* box = qobject_cast<QTextBrowser*>(widget)) {
        return FromQt(box->toPlainText());
    }
    if (auto* bar = qobject_cast<QStatusBar*>(widget)) {
        QLabel* part = StatusBarPart(bar, 1);
        return part != nullptr ? FromQt(part->text()) : std::string();
    }
    if (auto* progress = qobject_cast<QProgressBar*>(widget)) {
        return std::to_string(progress->value());
    }
    return {};
}

void SetText(const std::string& form, int id, const std::string& text) {
    QWidget* widget = Context().FindControl(form, id);
    if (widget == nullptr) {
        return;
    }
    if (id == 0) {
        widget->setWindowTitle(ToQt(text));
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(Lines(text));
    } else if (auto* field = qobject_cast<QLineEdit*>(widget)) {
        field->setText(ToQt(text));
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setText(ToQt(text));
    } else if (auto* frame = qobject_cast<QGroupBox*>(widget)) {
        frame->setTitle(ToQt(text));
    } else if (qobject_cast<QTextBrowser*>(widget) != nullptr) {
        SetRichText(form, id, text);
    } else if (qobject_cast<QStatusBar*>(widget) != nullptr) {
        SetStatusBarText(form, id, 1, text);
    }
}

int GetCheck(const std::string& form, int id) {
    auto* button = ControlAs<QAbstractButton>(form, id);
    return button != nullptr && button->isCheckable() && button->isChecked() ? 1 : 0;
}

void SetCheck(const std::string& form, int id, int state) {
    auto* button = ControlAs<QAbstractButton>(form, id);
    if (button == nullptr || !button->isCheckable()) {
        return;
    }
    QButtonGroup* group = button->group();
    if (state == 0 && group != nullptr && group->exclusive()) {
        // An exclusive group refuses to uncheck its checked button.
        group->setExclusive(false);
        button->setChecked(false);
        group->setExclusive(true);
        return;
    }
    button->setChecked(state != 0);
}

void EnableControl(const std::string& form, int id) {
    if (QWidget* widget = Context().FindControl(form, id)) {
        widget->setEnabled(true);
    }
}

void DisableControl(const std::string& form, int id) {
    if (QWidget* widget = Context().FindControl(form, id)) {
        widget->setEnabled(false);
    }
}

bool IsEnabled(const std::string& form, int id) {
    QWidget* widget = Context().FindControl(form, id);
    return widget != nullptr && widget->isEnabled();
}

bool ControlExists(const std::string& form, int id) {
    return id != 0 && Context().FindControl(form, id) != nullptr;
}

void SetFocus(const std::string& form, int id) {
    QWidget* widget = Context().FindControl(form, id);
    if (widget != nullptr && id != 0) {
        widget->setFocus(Qt::OtherFocusReason);
    }
}

int GetFocusId(const std::string& form) {
    Form* target = FormOf(form);
    return target != nullptr ? target->IdOf(target->focusWidget()) : 0;
}

void SetSelection(const std::string& form, int id, int start, int end) {
    auto* field = ControlAs<QLineEdit>(form, id);
    if (field == nullptr) {
        return;
    }
    const int length = static_cast<int>(field->text().size());
    start = std::clamp(start, 0, length);
    end = std::clamp(end, 0, length);
    if (start == end) {
        field->setCursorPosition(start);
    } else {
        field->setSelection(start, end - start);
    }
}

void SetProgress(const std::string& form, int id, int value) {
    if (auto* bar = ControlAs<QProgressBar>(form, id)) {
        bar->setValue(std::clamp(value, bar->minimum(), bar->maximum()));
    }
}

void SetProgressRange(const std::string& form, int id, int minimum, int maximum) {
    if (auto* bar = ControlAs<QProgressBar>(form, id)) {
        bar->setRange(std::min(minimum, maximum), std::max(minimum, maximum));
    }
}

void SetRichText(const std::string& form, int id, const std::string& text) {
    auto* box = ControlAs<QTextBrowser>(form, id);
    if (box == nullptr) {
        return;
    }
    if (LooksLikeRtf(text)) {
        ShowRtf(*box, text);
        return;
    }
    QString plain = ToQt(text);
    if (const int limit = box->property("kalvaraLimit").toInt();
        limit > 0 && plain.size() > limit) {
        plain.truncate(limit);
    }
    box->setPlainText(plain);
}

void SetRichTextLimit(const std::string& form, int id, int characters) {
    if (auto* box = ControlAs<QTextBrowser>(form, id)) {
        box->setProperty("kalvaraLimit", std::max(0, characters));
    }
}

void SetStatusBarParts(const std::string& form, int id, const std::vector<int>& percentWidths) {
    auto* bar = ControlAs<QStatusBar>(form, id);
    if (bar == nullptr || percentWidths.empty()) {
        return;
    }
    FillStatusBar(bar, percentWidths);
}

void SetStatusBarText(const std::string& form, int id, int part, const std::string& text) {
    auto* bar = ControlAs<QStatusBar>(form, id);
    if (bar == nullptr) {
        return;
    }
    if (QLabel* label = StatusBarPart(bar, part)) {
        SetPartText(label, text);
    }
}

// ---------------------------------------------------------------------------
// Pictures and icons

void SetPictureFolder(const std::string& folder) {
    QString path = ToQt(folder);
    if (QDir::isRelativePath(path)) {
        path = QDir(ToQt(ProgramFolder())).filePath(path);
    }
    Context().pictureFolder = FromQt(path);
}

void DefinePictureResource(const std::string& name, const std::string& filePath) {
    Context().pictureResources[name] = filePath;
}

int LoadPicture(const std::string& name) {
    if (!HasApplication() || name.empty()) {
        return 0;
    }
    GuiContext& c = Context();
    std::string path;
    if (name[0] == '$') {
        const auto found = c.pictureResources.find(name.substr(1));
        if (found == c.pictureResources.end()) {
            return 0;
        }
        path = found->second;
    } else if (QDir::isAbsolutePath(ToQt(name))) {
        path = name;
    } else {
        const QString folder =
            c.pictureFolder.empty() ? ToQt(ProgramFolder()) : ToQt(c.pictureFolder);
        path = FromQt(QDir(folder).filePath(ToQt(name)));
    }
    const QString canonical = QFileInfo(ToQt(path)).absoluteFilePath();
    if (const auto known = c.pictureByPath.find(FromQt(canonical));
        known != c.pictureByPath.end()) {
        return known->second;
    }
    QPixmap pixmap;
    // Only a regular file: reading a FIFO put in a picture's place would
    // never return.
    if (!QFileInfo(canonical).isFile() || !pixmap.load(canonical)) {
        return 0;
    }
    const int handle = c.nextPicture++;
    c.pictures[handle] = pixmap;
    c.pictureByPath[FromQt(canonical)] = handle;
    return handle;
}

PictureSize GetPictureSize(int picture) {
    const auto found = Context().pictures.find(picture);
    if (found == Context().pictures.end()) {
        return {};
    }
    return {found->second.width(), found->second.height()};
}

void SetImage(const std::string& form, int id, int picture) {
    if (auto* label = ControlAs<QLabel>(form, id)) {
        ShowPicture(label, picture);
    }
}

void SetFormIcon(const std::string& form, int picture) {
    Form* target = FormOf(form);
    const auto found = Context().pictures.find(picture);
    if (target != nullptr && found != Context().pictures.end()) {
        target->setWindowIcon(QIcon(found->second));
    }
}

// ---------------------------------------------------------------------------
// Menus

void DefineMainMenu(int id, const std::string& caption) {
    Context().pendingMainMenu = std::make_pair(id, caption);
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
    return RegisterMenu(popup);
}

void AddMenuItem(int menu, int id, const std::string& caption) {
    if (QWidget* target = MenuOf(menu)) {
        AddMenuItemTo(target, id, caption);
    }
}

void SaveMenu(const std::string& form, int n, int menu) {
    Form* target = FormOf(form);
    if (target != nullptr && n != 0 && MenuOf(menu) != nullptr) {
        target->savedMenus[n] = menu;
        // The menu bar may be kept too; only a popup needs an owner.
        if (auto* popup = qobject_cast<QMenu*>(MenuOf(menu));
            popup != nullptr && popup->parent() == nullptr) {
            // The form owns the popups it keeps.
            popup->setParent(target, popup->windowFlags());
        }
    }
}

void SetSubMenu(int menu, int itemId, int popup) {
    QWidget* target = MenuOf(menu);
    auto* sub = qobject_cast<QMenu*>(MenuOf(popup));
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

// ---------------------------------------------------------------------------
// Events

void DefineAccelerators(const std::string& form, const std::string& accelerators) {
    Form* target = FormOf(form);
    if (target == nullptr) {
        return;
    }
    const QStringList parts = ToQt(accelerators).split(QLatin1Char(','));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QKeySequence key = QKeySequence::fromString(parts[i].trimmed());
        bool isNumber = false;
        const int id = parts[i + 1].trimmed().toInt(&isNumber);
        if (key.isEmpty() || !isNumber) {
            continue;
        }
        for (QShortcut* old : target->findChildren<QShortcut*>()) {
            if (old->key() == key) {
                delete old;
            }
        }
        auto* shortcut = new QShortcut(key, target);
        shortcut->setContext(Qt::WindowShortcut);
        QObject::connect(shortcut, &QShortcut::activated, target, [target, id] {
            if (!target->unloading) {
                Context().Dispatch(target->Name(), id, EventClick);
            }
        });
    }
}

void AddTooltip(const std::string& form, int id) {
    if (QWidget* widget = Context().FindControl(form, id); widget != nullptr && id != 0) {
        widget->setProperty("kalvaraTooltip", true);
    }
}

void SetTooltip(const std::string& text) {
    if (Context().tooltipText) {
        Context().tooltipText = text;
    }
}

void DefineTooltipProperties(int /*foreground*/, int /*background*/,
                             const std::string& properties) {
    Context().tooltipWrapColumns = BracketNumber(properties);
}

void PostEvent(const std::string& form, int id, int value) {
    if (QCoreApplication::instance() == nullptr) {
        return;
    }
    QTimer::singleShot(0, QCoreApplication::instance(), [form, id, value] {
        if (FormOf(form) != nullptr) {
            Context().Dispatch(form, id, EventPosted, value);
        }
    });
}

void DoEvents() {
    if (QCoreApplication::instance() != nullptr) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
}

std::string EventText() {
    return Context().eventText;
}

// ---------------------------------------------------------------------------
// Painting owner-drawn buttons

void Draw3DButton(int background, int foreground, int font) {
    PaintOwnerDrawn(ButtonShape::ThreeD, background, foreground, font);
}

void Draw3DButtonRoundRect(int background, int foreground, int font) {
    PaintOwnerDrawn(ButtonShape::RoundRect, background, foreground, font);
}

void Draw3DButtonEllipse(int background, int foreground, int font) {
    PaintOwnerDrawn(ButtonShape::Ellipse, background, foreground, font);
}

void DrawColorButton(int background, int foreground, int font) {
    PaintOwnerDrawn(ButtonShape::Color, background, foreground, font);
}

} // namespace kalvara::gui
