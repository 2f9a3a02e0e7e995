#include "gui/Form.h"

#include "gui/GuiContext.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QToolTip>
#include <algorithm>
#include <utility>

namespace kalvara::gui {

namespace {

// Key codes as the windows expect them: the Windows virtual-key numbering.
int KeyCodeOf(const QKeyEvent& key) {
    const int k = key.key();
    if (k >= Qt::Key_A && k <= Qt::Key_Z) {
        return 'A' + (k - Qt::Key_A);
    }
    if (k >= Qt::Key_0 && k <= Qt::Key_9) {
        return '0' + (k - Qt::Key_0);
    }
    if (k >= Qt::Key_F1 && k <= Qt::Key_F24) {
        return 112 + (k - Qt::Key_F1);
    }
    switch (k) {
    case Qt::Key_Backspace:
        return KeyBackspace;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return KeyTab;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return KeyEnter;
    case Qt::Key_Escape:
        return KeyEscape;
    case Qt::Key_Space:
        return KeySpace;
    case Qt::Key_PageUp:
        return 33;
    case Qt::Key_PageDown:
        return 34;
    case Qt::Key_End:
        return 35;
    case Qt::Key_Home:
        return 36;
    case Qt::Key_Left:
        return 37;
    case Qt::Key_Up:
        return 38;
    case Qt::Key_Right:
        return 39;
    case Qt::Key_Down:
        return 40;
    case Qt::Key_Insert:
        return 45;
    case Qt::Key_Delete:
        return 46;
    default:
        return 0;
    }
}

// Breaks a tooltip at blanks so that no line is much wider than `columns`.
QString WrapTooltip(const QString& text, int columns) {
    if (columns <= 0) {
        return text;
    }
    QString wrapped;
    int lineLength = 0;
    for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (lineLength > 0 && lineLength + 1 + word.size() > columns) {
            wrapped += QLatin1Char('\n');
            lineLength = 0;
        } else if (lineLength > 0) {
            wrapped += QLatin1Char(' ');
            ++lineLength;
        }
        wrapped += word;
        lineLength += static_cast<int>(word.size());
    }
    return wrapped;
}

} // namespace

Form::Form(std::string name, QWidget* parent, bool modal)
    : QMainWindow(parent, parent != nullptr ? Qt::Dialog : Qt::Window), name_(std::move(name)),
      modal_(modal), client_(new QWidget(this)) {
    setCentralWidget(client_);
    setAttribute(Qt::WA_DeleteOnClose, false);
    setObjectName(QString::fromStdString(name_));
    if (modal_) {
        setWindowModality(Qt::ApplicationModal);
    }
    installEventFilter(this);
}

void Form::SetClientSize(QSize size) {
    clientSize_ = size.expandedTo(QSize(1, 1));
    ApplyClientSize();
}

void Form::ApplyClientSize() {
    if (!clientSize_.isValid()) {
        return;
    }
    client_->setFixedSize(clientSize_);
    if (layout() != nullptr) {
        layout()->activate();
    }
    setFixedSize(sizeHint().expandedTo(clientSize_));
}

void Form::AddControl(int id, QWidget* widget, ControlKind kind, int layer) {
    if (auto old = controls_.find(id);
        old != controls_.end() && old->second.widget != nullptr && old->second.widget != widget) {
        old->second.widget->deleteLater();
    }
    controls_[id] = Control{widget, kind, layer};
    widget->setProperty("kalvaraId", id);
    widget->installEventFilter(this);
    for (QWidget* child : widget->findChildren<QWidget*>()) {
        child->installEventFilter(this);
    }
    if (kind != ControlKind::StatusBar) {
        widget->setVisible(layer == 0 || layer == displayedLayer_);
    }
}

const Form::Control* Form::FindControl(int id) const {
    const auto found = controls_.find(id);
    if (found == controls_.end() || found->second.widget == nullptr) {
        return nullptr;
    }
    return &found->second;
}

int Form::IdOf(const QWidget* widget) const {
    for (const QWidget* w = widget; w != nullptr && w != this; w = w->parentWidget()) {
        const QVariant id = w->property("kalvaraId");
        if (id.isValid()) {
            const auto found = controls_.find(id.toInt());
            if (found != controls_.end() && found->second.widget == w) {
                return id.toInt();
            }
        }
    }
    return 0;
}

void Form::ShowLayer(int layer) {
    displayedLayer_ = layer;
    for (const auto& [id, control] : controls_) {
        if (control.widget != nullptr && control.layer != 0) {
            control.widget->setVisible(control.layer == layer);
        }
    }
}

void Form::FitTextsIntoFreeRoom() {
    for (const auto& [id, control] : controls_) {
        QWidget* widget = control.widget;
        if (widget == nullptr) {
            continue;
        }
        int needed = 0;
        if (control.kind == ControlKind::CheckBox || control.kind == ControlKind::Radio) {
            needed = widget->sizeHint().width();
        } else if (control.kind == ControlKind::Label) {
            auto* label = static_cast<QLabel*>(widget);
            const QFontMetrics metrics(label->font());
            const bool oneLine = label->height() < 2 * metrics.lineSpacing();
            if (!oneLine || !(label->alignment() & Qt::AlignLeft) || label->text().contains('\n')) {
                continue;
            }
            needed = metrics.horizontalAdvance(label->text()) + 2;
            if (needed > label->width()) {
                // One line high: show as much of the line as fits.
                label->setWordWrap(false);
            }
        } else {
            continue;
        }
        if (needed <= widget->width()) {
            continue;
        }
        const QRect own = widget->geometry();
        int limit = client_->width();
        for (const auto& [otherId, other] : controls_) {
            QWidget* neighbour = other.widget;
            if (otherId == id || neighbour == nullptr || other.kind == ControlKind::Frame ||
                other.kind == ControlKind::StatusBar ||
                (other.layer != 0 && control.layer != 0 && other.layer != control.layer)) {
                continue;
            }
            const QRect rect = neighbour->geometry();
            const bool besideIt = rect.top() < own.bottom() && rect.bottom() > own.top();
            if (besideIt && rect.left() > own.left() + own.width() / 2) {
                limit = std::min(limit, rect.left() - 2);
            }
        }
        const int width = std::min(needed, limit - own.left());
        if (width > own.width()) {
            widget->resize(width, own.height());
        }
        if (control.kind == ControlKind::Label && needed > widget->width() && needed > 0) {
            // Still too long: narrow the letters a little rather than lose words.
            QFont narrower = widget->font();
            narrower.setStretch(std::max(75, 100 * widget->width() / needed));
            widget->setFont(narrower);
        }
    }
}

QButtonGroup* Form::RadioGroup(bool startNew) {
    if (startNew || radioGroup_ == nullptr) {
        radioGroup_ = new QButtonGroup(this);
        radioGroup_->setExclusive(true);
        // The group is one stop for Tab, as in any dialog of option buttons,
        // and the stop follows the checked button so that Tab lands on the
        // current choice rather than on the group's first button.
        QButtonGroup* group = radioGroup_;
        connect(
            group, &QButtonGroup::buttonToggled, this, [group](QAbstractButton* checked, bool on) {
                const auto members = group->buttons();
                const bool tabStop =
                    std::any_of(members.begin(), members.end(), [](QAbstractButton* member) {
                        return (member->focusPolicy() & Qt::TabFocus) != 0;
                    });
                if (!on || !tabStop || !checked->isEnabled()) {
                    return;
                }
                for (QAbstractButton* member : members) {
                    member->setFocusPolicy(member == checked ? Qt::StrongFocus : Qt::ClickFocus);
                }
            });
    }
    return radioGroup_;
}

void Form::closeEvent(QCloseEvent* event) {
    // The close command of the window: the program may refuse it through the
    // cancel flag; otherwise the form is unloaded like any other.
    event->ignore();
    if (unloading) {
        return;
    }
    GuiContext& context = GuiContext::Instance();
    if (context.Dispatch(name_, 0, EventClose) != 0) {
        return;
    }
    context.Unload(name_, false);
}

void Form::ArrangeForKeyboardAndReaders() {
    std::vector<QWidget*> focusable;
    std::vector<const Control*> labels;
    std::vector<std::pair<QPointer<QWidget>, int>> withTooltip;
    for (const auto& [id, control] : controls_) {
        QWidget* widget = control.widget;
        if (widget == nullptr) {
            continue;
        }
        if (widget->property("kalvaraTooltip").toBool()) {
            withTooltip.emplace_back(widget, id);
        }
        if (control.kind == ControlKind::Label) {
            labels.push_back(&control);
        } else if (widget->focusPolicy() & Qt::TabFocus) {
            focusable.push_back(widget);
        }
    }
    // A screen reader reads a field by its caption: the label that ends
    // just before it on the same line.
    for (const auto& [id, control] : controls_) {
        if (control.kind != ControlKind::TextField || control.widget == nullptr ||
            !control.widget->accessibleName().isEmpty()) {
            continue;
        }
        const QRect field = control.widget->geometry();
        const QLabel* caption = nullptr;
        for (const Control* label : labels) {
            const QRect own = label->widget->geometry();
            const bool sameLine = own.top() < field.bottom() && field.top() < own.bottom();
            if (sameLine && own.left() < field.left() &&
                (caption == nullptr || own.left() > caption->geometry().left())) {
                caption = qobject_cast<const QLabel*>(label->widget.data());
            }
        }
        if (caption != nullptr) {
            control.widget->setAccessibleName(caption->text());
        }
    }
    // Tab follows reading order: by line, then left to right.
    std::stable_sort(focusable.begin(), focusable.end(), [](QWidget* a, QWidget* b) {
        const QRect ra = a->geometry();
        const QRect rb = b->geometry();
        const bool sameLine = ra.top() < rb.bottom() && rb.top() < ra.bottom();
        if (!sameLine) {
            return ra.top() < rb.top();
        }
        return ra.left() < rb.left();
    });
    for (std::size_t i = 1; i < focusable.size(); ++i) {
        QWidget::setTabOrder(focusable[i - 1], focusable[i]);
    }
    // A reader that walks the window, not only the focus, hears the tooltips
    // as descriptions too. Asked last: the program answers while we wait.
    for (const auto& [widget, id] : withTooltip) {
        DescribeByTooltip(widget, id);
    }
}

bool Form::event(QEvent* event) {
    if (event->type() == QEvent::Show) {
        ArrangeForKeyboardAndReaders();
    }
    if (!unloading && event->type() == QEvent::WindowActivate) {
        GuiContext::Instance().Dispatch(name_, 0, EventHelpTopic);
    }
    return QMainWindow::event(event);
}

bool Form::eventFilter(QObject* watched, QEvent* event) {
    if (unloading) {
        return QMainWindow::eventFilter(watched, event);
    }
    switch (event->type()) {
    case QEvent::KeyPress:
        if (IsBubbling(watched, event)) {
            break;
        }
        reportedKeyEvent_ = event;
        reportedKeyTarget_ = watched;
        if (HandleKey(watched, event)) {
            return true;
        }
        break;
    case QEvent::KeyRelease:
        reportedKeyEvent_ = nullptr;
        reportedKeyTarget_ = nullptr;
        break;
    case QEvent::FocusIn:
        if (const int id = IdOf(qobject_cast<QWidget*>(watched)); id != 0) {
            // The tooltip may depend on the state, so it is asked again
            // before the screen reader announces the control.
            DescribeByTooltip(qobject_cast<QWidget*>(watched), id);
            GuiContext::Instance().Dispatch(name_, id, EventFocus);
        }
        break;
    case QEvent::ToolTip:
        return HandleTooltip(watched, event);
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

bool Form::IsBubbling(const QObject* watched, const QEvent* event) const {
    if (event != reportedKeyEvent_ || reportedKeyTarget_ == nullptr) {
        return false;
    }
    for (const QObject* below = reportedKeyTarget_->parent(); below != nullptr;
         below = below->parent()) {
        if (below == watched) {
            return true;
        }
    }
    return false;
}

bool Form::HandleKey(QObject* watched, QEvent* event) {
    GuiContext& context = GuiContext::Instance();
    const auto& key = *static_cast<QKeyEvent*>(event);
    const int code = KeyCodeOf(key);
    if (code != 0 && (keyEvents || context.KeyEventsEverywhere())) {
        // The control the key was typed into; on the form itself, the focused one.
        auto* target = qobject_cast<QWidget*>(watched);
        const QPointer<Form> self(this);
        const int id = IdOf(target != this ? target : focusWidget());
        if (context.Dispatch(name_, id, EventKey, code) != 0 || self == nullptr || unloading) {
            return true;
        }
    }
    return HandleDialogKey(key);
}

void Form::SetKeys(std::vector<int> defaultIds, int cancelId) {
    defaultIds_ = std::move(defaultIds);
    cancelId_ = cancelId;
}

bool Form::Press(int id) {
    const Control* control = FindControl(id);
    auto* button = control != nullptr ? qobject_cast<QAbstractButton*>(control->widget) : nullptr;
    if (button == nullptr || !button->isEnabled() || !button->isVisible()) {
        return false;
    }
    button->click();
    return true;
}

bool Form::HandleDialogKey(const QKeyEvent& key) {
    // Alt+Enter and the like are not dialog keys.
    if ((key.modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
        return false;
    }
    if (key.key() == Qt::Key_Escape) {
        return cancelId_ != 0 && Press(cancelId_);
    }
    if (key.key() != Qt::Key_Return && key.key() != Qt::Key_Enter) {
        return false;
    }
    const int focused = IdOf(focusWidget());
    if (const Control* control = FindControl(focused);
        control != nullptr &&
        (control->kind == ControlKind::Button || control->kind == ControlKind::OwnerDrawnButton)) {
        return Press(focused);
    }
    for (int id : defaultIds_) {
        if (Press(id)) {
            return true;
        }
    }
    return false;
}

void Form::DescribeByTooltip(QWidget* widget, int id) {
    if (widget == nullptr || !widget->property("kalvaraTooltip").toBool() ||
        widget->property("kalvaraOwnDescription").toBool()) {
        return;
    }
    const QPointer<QWidget> guard(widget);
    const QString text = QString::fromStdString(GuiContext::Instance().AskTooltip(name_, id));
    if (guard != nullptr && guard->accessibleDescription() != text) {
        guard->setAccessibleDescription(text);
    }
}

bool Form::HandleTooltip(QObject* watched, QEvent* event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    const int id = IdOf(widget);
    if (id == 0 || widget->property("kalvaraTooltip").toBool() == false) {
        return QMainWindow::eventFilter(watched, event);
    }
    GuiContext& context = GuiContext::Instance();
    const QString text = QString::fromStdString(context.AskTooltip(name_, id));
    const auto* help = static_cast<QHelpEvent*>(event);
    if (text.isEmpty()) {
        QToolTip::hideText();
    } else {
        QToolTip::showText(help->globalPos(), WrapTooltip(text, context.TooltipWrapColumns()),
                           widget);
    }
    return true;
}

} // namespace kalvara::gui
