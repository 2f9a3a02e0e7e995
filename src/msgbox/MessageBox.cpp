#include "msgbox/MessageBox.h"

#include "core/Notice.h"
#include "gui/Gui.h"
#include "msgbox/MessageBoxLayout.h"

#include <QApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>

namespace kalvara::msgbox {

namespace {

// What one open box keeps between its call, its design and its events. The
// box is modal and single, so one record under its form's name serves.
struct OpenBox {
    std::string picture;
    MessageBoxRequest request;
    int result = 0;
    int lastFocusedButton = 0;
    std::map<int, ButtonMarkup> buttons; // by control id
};

OpenBox* FindOpenBox() {
    return gui::FindFormRecord<OpenBox>(MessageBoxFormName);
}

// The answer with the check box folded in as its sign.
int Signed(const std::string& form, int answer) {
    return gui::GetCheck(form, CheckBoxId) != 0 ? -answer : answer;
}

bool IsButtonId(int id) {
    return id >= FirstButtonId && id < FirstButtonId + MaxButtons;
}

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string joined;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        joined += (i == 0 ? "" : "|") + lines[i];
    }
    return joined;
}

std::string WithNewlines(std::string text) {
    for (char& c : text) {
        if (c == '|') {
            c = '\n';
        }
    }
    return text;
}

// The room on the screen the box will open on, less a margin for the window
// frame and so that the box never touches the screen's edges.
void BoundToScreen(MessageBoxRequest& request) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (const QWidget* active = QApplication::activeWindow(); active != nullptr) {
        screen = active->screen();
    }
    if (screen == nullptr) {
        return;
    }
    const QRect room = screen->availableGeometry();
    constexpr int kScreenMarginPixels = 48;
    request.maxWidth = gui::PixelsToColumns(std::max(0, room.width() - kScreenMarginPixels));
    request.maxHeight = gui::PixelsToRows(std::max(0, room.height() - kScreenMarginPixels));
}

// The padding the platform style gives its own dialogs, so a box sits among
// the desktop's windows as one of them.
void PadAsTheStyle(MessageBoxRequest& request) {
    const QStyle* style = QApplication::style();
    if (style == nullptr) {
        return;
    }
    const int sides = std::max(style->pixelMetric(QStyle::PM_LayoutLeftMargin),
                               style->pixelMetric(QStyle::PM_LayoutRightMargin));
    const int ends = std::max(style->pixelMetric(QStyle::PM_LayoutTopMargin),
                              style->pixelMetric(QStyle::PM_LayoutBottomMargin));
    request.paddingColumns = gui::PixelsToColumns(sides);
    request.paddingRows = gui::PixelsToRows(ends);
}

} // namespace

int ShowMessageBox(const std::string& parent, const std::string& title, const std::string& text1,
                   const std::string& text2, const std::string& checkText,
                   const std::string& buttons, const std::string& picture, int initialValue,
                   const std::string& options) {
    if (FindOpenBox() != nullptr ||
        qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
        // No desktop to ask, or a box already waiting for its answer: the
        // message still reaches the user, and the caller sees no button.
        std::fprintf(stderr, "%s\n", PlainNotice(title, text1, text2).c_str());
        return ResultEscape;
    }
    OpenBox& box = gui::FormRecord<OpenBox>(MessageBoxFormName);
    box.picture = picture;
    box.request = {title, text1, text2, checkText, buttons, options, initialValue, 0, 0};
    box.result = initialValue;

    gui::DefineSystemColor(ButtonFaceColor, 15);
    gui::SetColors(-1, ParseTitle(title).background);
    gui::CreateForm(MessageBoxFormName, parent, ParseTitle(title).caption, 0, 0, 20, 20, "CMR");
    gui::SetColors(-1, -1);

    int result = box.result;
    gui::DropFormRecord(MessageBoxFormName);
    if (result == ResultNoAnswer || result == 0) {
        // Unloaded from outside before any answer: as good as closed.
        result = ResultEscape;
    }
    return result;
}

void ShowNotice(const std::string& title, const std::string& text1, const std::string& text2) {
    ShowMessageBox(gui::CurrentForm(), title, text1, text2, "", "&OK{G,f7}", "", 1, "C");
}

void InstallNoticeHook() {
    SetNoticeHook([](const std::string& title, const std::string& text1, const std::string& text2) {
        ShowNotice(title, text1, text2);
    });
}

void DesignMessageBoxForm(const std::string& form) {
    OpenBox* open = FindOpenBox();
    if (open == nullptr) {
        return;
    }
    OpenBox& box = *open;
    const int picture = box.picture.empty() ? 0 : gui::LoadPicture(box.picture);
    if (picture != 0) {
        const gui::PictureSize size = gui::GetPictureSize(picture);
        box.request.pictureColumns = gui::PixelsToColumns(size.width) + 2;
        box.request.pictureRows = gui::PixelsToRows(size.height);
    }
    BoundToScreen(box.request);
    PadAsTheStyle(box.request);
    const MessageBoxLayout layout =
        ComputeMessageBoxLayout(box.request, [](int font, const std::string& line) {
            const gui::TextExtent extent = gui::MeasureText(font, line);
            return LineExtent{extent.width, extent.height};
        });

    gui::ResizeForm(form, 0, 0, layout.width, layout.height);

    if (layout.showPicture && picture != 0) {
        gui::AddPicture(PictureId, layout.picture.column, layout.picture.row, layout.picture.width,
                        layout.picture.height, "#" + std::to_string(picture),
                        layout.pictureProperties);
    }
    const std::string alignment = layout.centreTexts ? "C" : "L";
    const std::pair<int, const TextBlockLayout*> texts[] = {{Text1Id, &layout.text1},
                                                            {Text2Id, &layout.text2}};
    for (const auto& [id, block] : texts) {
        if (!block->present) {
            continue;
        }
        gui::SetColors(block->color, layout.background);
        gui::UseFont(block->font);
        if (layout.scrollTexts) {
            gui::AddRichText(id, block->box.column, block->box.row, block->box.width,
                             block->box.height, "", "");
            std::string text;
            for (std::string line : block->lines) {
                std::replace(line.begin(), line.end(), QuotedBar, '|');
                text += (text.empty() ? "" : "\n") + line;
            }
            gui::SetRichText(form, id, text);
            gui::SetAccessibleName(form, id, "Message");
            continue;
        }
        gui::AddLabel(id, block->box.column, block->box.row, block->box.width, block->box.height,
                      JoinLines(block->lines), alignment);
    }
    // A screen reader reads the message as the box's description, as it
    // does for the desktop's own message boxes, the lines run together.
    std::string description;
    for (const auto& [id, block] : texts) {
        if (!block->present) {
            continue;
        }
        for (const std::string& line : block->lines) {
            description += (description.empty() || line.empty() ? "" : " ") + line;
        }
    }
    gui::SetAccessibleDescription(form, 0, description);
    if (layout.check.present) {
        gui::SetColors(layout.check.color, layout.background);
        gui::UseFont(layout.check.font);
        gui::AddCheckBox(CheckBoxId, layout.check.box.column, layout.check.box.row,
                         layout.check.box.width, layout.check.box.height,
                         WithNewlines(JoinLines(layout.check.lines)), "T");
        gui::SetCheck(form, CheckBoxId, layout.checkTicked ? 1 : 0);
    }
    for (const ButtonLayout& button : layout.buttons) {
        gui::SetColors(-1, -1);
        gui::UseFont(button.markup.font);
        if (button.markup.style == ButtonStyle::Standard) {
            gui::AddButton(button.id, button.box.column, button.box.row, button.box.width,
                           button.box.height, button.markup.caption, "TA");
        } else {
            gui::AddOwnerDrawnButton(button.id, button.box.column, button.box.row, button.box.width,
                                     button.box.height, button.markup.caption, "TA");
        }
        box.buttons[button.id] = button.markup;
    }
    gui::SetColors(-1, -1);
    gui::AllowFormKeyEvents(form);
}

void MessageBoxEvent(const std::string& form, int id, int code, int& value, int& cancel) {
    OpenBox* open = FindOpenBox();
    if (open == nullptr) {
        return;
    }
    OpenBox& box = *open;
    if (id == 0 && code == gui::EventFormLoaded) {
        const long long focus = std::llabs(static_cast<long long>(box.result));
        if (focus > 0 && focus < 11 && gui::ControlExists(form, static_cast<int>(focus) + 10)) {
            gui::SetFocus(form, static_cast<int>(focus) + 10);
            // Its focus event may come only once the window is active; the
            // check box must be able to hand the focus back before that.
            box.lastFocusedButton = static_cast<int>(focus);
        }
        box.result = ResultNoAnswer;
        return;
    }
    if (code == gui::EventKey && value == gui::KeyEscape) {
        box.result = Signed(form, ResultEscape);
        cancel = 1;
        gui::UnloadForm(form);
        return;
    }
    if (code == gui::EventKey && value == gui::KeyEnter) {
        const int focus = gui::GetFocusId(form);
        if (IsButtonId(focus)) {
            box.result = Signed(form, focus - 10);
            cancel = 1;
            gui::UnloadForm(form);
        }
        return;
    }
    if (id == 0 && code == gui::EventClose) {
        if (box.result == ResultNoAnswer) {
            box.result = Signed(form, ResultEscape);
        }
        return;
    }
    if (code == gui::EventClick && IsButtonId(id)) {
        box.result = Signed(form, id - 10);
        gui::UnloadForm(form);
        return;
    }
    if (code == gui::EventClick && id == CheckBoxId) {
        if (box.lastFocusedButton != 0) {
            gui::SetFocus(form, box.lastFocusedButton + 10);
        }
        return;
    }
    if (code == gui::EventFocus && IsButtonId(id)) {
        box.lastFocusedButton = id - 10;
        return;
    }
    if (code == gui::EventOwnerDraw && IsButtonId(id)) {
        const auto found = box.buttons.find(id);
        if (found == box.buttons.end()) {
            return;
        }
        const ButtonMarkup& button = found->second;
        switch (button.style) {
        case ButtonStyle::ThreeD:
            gui::Draw3DButton(button.background, button.textColor, button.font);
            break;
        case ButtonStyle::RoundRect:
            gui::Draw3DButtonRoundRect(button.background, button.textColor, button.font);
            break;
        case ButtonStyle::Ellipse:
            gui::Draw3DButtonEllipse(button.background, button.textColor, button.font);
            break;
        case ButtonStyle::Standard:
        case ButtonStyle::Color:
            gui::DrawColorButton(button.background, button.textColor, button.font);
            break;
        }
    }
}

} // namespace kalvara::msgbox
