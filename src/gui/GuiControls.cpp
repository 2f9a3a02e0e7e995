#include "gui/Gui.h"
#include "gui/GuiInternal.h"
#include "gui/OwnerDrawnButton.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTextBrowser>
#include <charconv>

namespace kalvara::gui {

using namespace detail;

namespace {

int PictureFromText(const std::string& text) {
    if (text.size() > 1 && text[0] == '#') {
        int handle = 0;
        const auto [end, error] =
            std::from_chars(text.data() + 1, text.data() + text.size(), handle);
        if (error == std::errc() && end == text.data() + text.size()) {
            return Context().Picture(handle) != nullptr ? handle : 0;
        }
    }
    return text.empty() ? 0 : LoadPicture(text);
}

} // namespace

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
    // The form's exclusive group rules the buttons, not their parent; the
    // flag stays on so that readers announce them as radio buttons.
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
    Context().SetLayer(layer);
}

void DisplayLayer(const std::string& form, int layer) {
    if (Form* target = FormOf(form)) {
        target->ShowLayer(layer);
    }
}

void AllowLoadingEvents(bool on) {
    Context().SetLoadingEvents(on);
}

void SetLoadString(const std::string& text) {
    Context().SetLoadString(text);
}

} // namespace kalvara::gui
