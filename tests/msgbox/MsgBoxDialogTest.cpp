#include "core/Notice.h"
#include "gui/Gui.h"
#include "msgbox/MessageBox.h"

#include <QImage>
#include <QLabel>
#include <QScreen>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace kalvara::msgbox {
namespace {

const std::string Box = MessageBoxFormName;
const std::string ThreeButtons = "*{G,f7}|&Yes|&No|&Cancel";

class MsgBoxDialog : public ::testing::Test {
protected:
    MsgBoxDialog() {
        gui::ResetForTesting();
        // The box designs nothing while it is not open, so the owner form
        // created before it needs no design of its own.
        gui::InstallEntryPoints(gui::EntryPoints{
            [] {}, DesignMessageBoxForm,
            [](const std::string& form, int id, int code, int& value, int& cancel) {
                if (form == Box) {
                    MessageBoxEvent(form, id, code, value, cancel);
                }
            }});
        gui::DefineFont(7, "Segoe UI", 9, " BV");
        gui::DefineFont(10, "Segoe UI", 10, "BV");
    }
    ~MsgBoxDialog() override { gui::ResetForTesting(); }
};

// Runs `show` and, once its box is up, does what the user would. A box that
// no action answered would wait for ever: it fails instead.
int WhenUp(const std::function<void()>& user, const std::function<int()>& show) {
    QTimer::singleShot(0, [user] {
        ASSERT_TRUE(gui::FormExists(Box) && QTest::qWaitForWindowActive(gui::FormWidget(Box)));
        user();
    });
    QTimer::singleShot(30000, [] {
        if (gui::FormExists(Box)) {
            ADD_FAILURE() << "the box was still open";
            gui::UnloadForm(Box);
        }
    });
    return show();
}

void Click(int id) {
    QWidget* control = gui::ControlWidget(Box, id);
    ASSERT_NE(control, nullptr) << id;
    QTest::mouseClick(control, Qt::LeftButton);
}

void Press(Qt::Key key) {
    QWidget* form = gui::FormWidget(Box);
    ASSERT_NE(form, nullptr);
    QTest::keyClick(form->focusWidget() != nullptr ? form->focusWidget() : form, key);
}

// Every box has a check box, whose tick is the answer's sign, whether the user
// ticked it or a negative initial value started it ticked, and names a picture
// that does not exist, which is left out. Enter presses the focused button;
// Escape and the close command answer 99.
TEST_F(MsgBoxDialog, EveryWayOfAnsweringGivesItsResult) {
    const struct {
        std::string buttons;
        int initial;
        std::function<void()> user;
        int expected;
    } cases[] = {
        // clang-format off
        {ThreeButtons, 1, [] { EXPECT_FALSE(gui::ControlExists(Box, PictureId)); Click(13); }, 3},
        {ThreeButtons, 1, [] { Click(CheckBoxId), Click(12); }, -2},
        {ThreeButtons, -1, [] { EXPECT_EQ(gui::GetCheck(Box, CheckBoxId), 1); Click(CheckBoxId), Click(12); }, 2},
        {ThreeButtons, -3, [] { Press(Qt::Key_Return); }, -3},
        // Enter on the check box answers nothing; ticking it hands the focus
        // back to the button that had it.
        {ThreeButtons, 2, [] {
             gui::SetFocus(Box, CheckBoxId), Press(Qt::Key_Return), Click(CheckBoxId);
             EXPECT_EQ(gui::GetFocusId(Box), 12);
             Press(Qt::Key_Enter);
         }, -2},
        // Without buttons only Escape or closing leave the box; Enter does nothing.
        {"*{G,f7}", 1, [] { EXPECT_FALSE(gui::ControlExists(Box, 11)); Press(Qt::Key_Return), Press(Qt::Key_Escape); }, 99},
        {ThreeButtons, -1, [] { Press(Qt::Key_Escape); }, -99},
        {ThreeButtons, -2, [] { gui::FormWidget(Box)->close(); }, -99},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        const auto show = [&] {
            return ShowMessageBox("", "Question", "Text one{f10}", "Text two", "Remember{f7}",
                                  c.buttons, "missing.png", c.initial, "C");
        };
        EXPECT_EQ(WhenUp(c.user, show), c.expected);
        EXPECT_FALSE(gui::FormExists(Box));
    }
}

// Laid-out lines become the label's lines, and a long address wraps so that
// the box, padded at least as the style pads its own layouts, fits the screen.
TEST_F(MsgBoxDialog, TextsAndPictureShowAndStayOnTheScreen) {
    QTemporaryDir folder;
    QImage icon(32, 32, QImage::Format_RGB32);
    icon.fill(Qt::blue);
    ASSERT_TRUE(icon.save(folder.filePath("warn.png")));
    gui::SetPictureFolder(folder.path().toStdString());
    const std::string address = "https://updates.example.org/" + std::string(272, 'x');
    const auto look = [&] {
        QWidget* form = gui::FormWidget(Box);
        const auto* text1 = qobject_cast<QLabel*>(gui::ControlWidget(Box, Text1Id));
        const auto* text2 = qobject_cast<QLabel*>(gui::ControlWidget(Box, Text2Id));
        ASSERT_TRUE(text1 != nullptr && text2 != nullptr && gui::ControlExists(Box, PictureId));
        EXPECT_EQ(text1->text(), "The update could not\nbe read from");
        EXPECT_TRUE(text1->alignment() & Qt::AlignHCenter);
        EXPECT_GE(text1->width(),
                  gui::ColumnsToPixels(gui::MeasureText(10, "The update could not").width));
        EXPECT_EQ(text2->text().remove('\n').toStdString(), address);
        const QSize frame = form->frameGeometry().size();
        EXPECT_EQ(frame.boundedTo(form->screen()->availableGeometry().size()), frame);
        const QWidget* picture = gui::ControlWidget(Box, PictureId);
        EXPECT_GE(picture->x() + 1, form->style()->pixelMetric(QStyle::PM_LayoutLeftMargin));
        EXPECT_GE(picture->y() + 1, form->style()->pixelMetric(QStyle::PM_LayoutTopMargin));
        EXPECT_LE(picture->geometry().right(), text1->x());
        for (const int id : {Text1Id, Text2Id, FirstButtonId}) {
            EXPECT_TRUE(form->rect().contains(gui::ControlWidget(Box, id)->geometry())) << id;
        }
        Press(Qt::Key_Escape);
    };
    WhenUp(look, [&] {
        return ShowMessageBox("", "Update Error", "The update could not|be read from{f10}", address,
                              "", "&OK{G,f7}", "warn.png", 1, "C");
    });
}

// Through the program's hook, as every part of the program shows its notices.
TEST_F(MsgBoxDialog, NoticeIsOneFocusedOkOverTheCurrentFormAndAnotherBoxAnswersAtOnce) {
    gui::CreateForm("KV", "", "Kalvara", 0, 0, 30, 10, "");
    InstallNoticeHook();
    int nested = 0;
    const auto look = [&] {
        EXPECT_EQ(gui::GetText(Box, 0), "Drive Error");
        EXPECT_EQ(gui::GetText(Box, Text1Id), "No drive.");
        EXPECT_EQ(gui::FormWidget(Box)->parentWidget(), gui::FormWidget("KV"));
        EXPECT_FALSE(gui::ControlExists(Box, 12) || gui::ControlExists(Box, CheckBoxId));
        // Only one box at a time: the second leaves the first in place.
        nested = ShowMessageBox("", "Again", "Nested", "", "", "OK", "", 1, "");
        EXPECT_EQ(gui::GetFocusId(Box), 11);
        Press(Qt::Key_Return);
    };
    WhenUp(look, [] { return kalvara::ShowNotice("Drive Error", "No drive.{f7}", ""), 0; });
    SetNoticeHook(nullptr);
    EXPECT_EQ(nested, ResultEscape);
    EXPECT_TRUE(!gui::FormExists(Box) && gui::FormExists("KV"));
}

// A bar quoted from outside text stays a bar.
TEST_F(MsgBoxDialog, ATextTallerThanTheScreenScrollsWithItsButtonsOnTheScreen) {
    std::string text;
    for (int i = 0; i < 200; ++i) {
        text += (i == 0 ? "line " : "|line ") + std::to_string(i);
    }
    text += "|" + QuoteMarkup("a|b");
    const auto look = [] {
        const auto* scroll = qobject_cast<QTextBrowser*>(gui::ControlWidget(Box, Text1Id));
        ASSERT_NE(scroll, nullptr);
        const QString shown = scroll->toPlainText();
        EXPECT_TRUE(shown.startsWith("line 0\nline 1\n")) << shown.left(40).toStdString();
        EXPECT_TRUE(shown.endsWith("line 199\na|b\n\nthe end")) << shown.right(40).toStdString();
        const QRect room = gui::FormWidget(Box)->screen()->availableGeometry();
        QWidget* ok = gui::ControlWidget(Box, FirstButtonId);
        EXPECT_TRUE(room.contains(QRect(ok->mapToGlobal(QPoint()), ok->size())));
        Click(FirstButtonId);
    };
    const auto show = [&] {
        return ShowMessageBox("", "Long", text, "the end", "", "&OK", "", 1, "");
    };
    EXPECT_EQ(WhenUp(look, show), 1);
}

} // namespace
} // namespace kalvara::msgbox
