// The message box on real widgets, offscreen: every way of answering it and
// the result each one gives, the notice, and the layout realised.

#include "core/Notice.h"
#include "gui/Gui.h"
#include "msgbox/MessageBox.h"

#include <QAbstractButton>
#include <QImage>
#include <QLabel>
#include <QScreen>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
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
        gui::InstallEntryPoints(gui::EntryPoints{
            [] {},
            [](const std::string& form) {
                if (form == Box) {
                    DesignMessageBoxForm(form);
                }
            },
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
        ASSERT_TRUE(gui::FormExists(Box));
        ASSERT_TRUE(QTest::qWaitForWindowActive(gui::FormWidget(Box)));
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

// Every box has a check box, unticked unless the initial value is negative.
int Answer(const std::string& buttons, int initialValue, const std::function<void()>& user) {
    return WhenUp(user, [&] {
        return ShowMessageBox("", "Question", "Text one{f10}", "Text two", "Remember{f7}", buttons,
                              "", initialValue, "C");
    });
}

void Click(int id) {
    auto* button = qobject_cast<QAbstractButton*>(gui::ControlWidget(Box, id));
    ASSERT_NE(button, nullptr) << id;
    QTest::mouseClick(button, Qt::LeftButton);
}

// A key typed where the focus is, as the keyboard would deliver it.
void Press(Qt::Key key) {
    QWidget* form = gui::FormWidget(Box);
    ASSERT_NE(form, nullptr);
    QWidget* focus = form->focusWidget();
    QTest::keyClick(focus != nullptr ? focus : form, key);
}

// The check box's tick is the answer's sign, whether the user ticked it or a
// negative initial value started it ticked. Enter presses the focused button;
// Escape and the close command answer 99.
TEST_F(MsgBoxDialog, EveryWayOfAnsweringGivesItsResult) {
    const auto escape = [] { Press(Qt::Key_Escape); };
    const auto close = [] { gui::FormWidget(Box)->close(); };
    const struct {
        std::string buttons;
        int initial;
        std::function<void()> user;
        int expected;
    } cases[] = {
        {ThreeButtons, 1, [] { Click(13); }, 3},
        {ThreeButtons, 1, [] { Click(CheckBoxId), Click(12); }, -2},
        {ThreeButtons, -1,
         [] {
             EXPECT_EQ(gui::GetCheck(Box, CheckBoxId), 1);
             Click(CheckBoxId), Click(12);
         },
         2},
        {"&OK{G,f7}", 1,
         [] {
             EXPECT_EQ(gui::GetFocusId(Box), 11);
             Press(Qt::Key_Return);
         },
         1},
        {ThreeButtons, -3, [] { Press(Qt::Key_Return); }, -3},
        {ThreeButtons, 1, [] { gui::SetFocus(Box, 12), Press(Qt::Key_Enter); }, 2},
        // Enter on the check box answers nothing; ticking it hands the focus
        // back to the button that had it.
        {ThreeButtons, 2,
         [] {
             gui::SetFocus(Box, CheckBoxId);
             Press(Qt::Key_Return);
             EXPECT_TRUE(gui::FormExists(Box));
             Click(CheckBoxId);
             EXPECT_EQ(gui::GetFocusId(Box), 12);
             Press(Qt::Key_Return);
         },
         -2},
        // Without buttons only Escape or closing leave the box; Enter does nothing.
        {"*{G,f7}", 1,
         [] {
             EXPECT_FALSE(gui::ControlExists(Box, 11));
             Press(Qt::Key_Return);
             Press(Qt::Key_Escape);
         },
         99},
        {ThreeButtons, -1, escape, -99},
        {ThreeButtons, 1, close, 99},
        {ThreeButtons, -2, close, -99},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.buttons + " " + std::to_string(c.initial) + " -> " +
                     std::to_string(c.expected));
        EXPECT_EQ(Answer(c.buttons, c.initial, c.user), c.expected);
        EXPECT_FALSE(gui::FormExists(Box));
    }
}

TEST_F(MsgBoxDialog, ButtonShapesPaintTheirColoursAndGIsAPlainButton) {
    std::vector<std::string> classes;
    std::vector<QRgb> pixels;
    const auto look = [&] {
        for (int id = 11; id <= 15; ++id) {
            QWidget* button = gui::ControlWidget(Box, id);
            classes.emplace_back(button->metaObject()->className());
            const QImage face = button->grab().toImage();
            pixels.push_back(face.pixel(face.width() / 2, 2)); // inside the top edge
            pixels.push_back(face.pixel(3, 3));                // inside the bevel
        }
        EXPECT_TRUE(gui::ControlWidget(Box, 15)->font().bold());
        Click(14);
    };
    EXPECT_EQ(Answer("*{b4,t15}|Three D{3}|Rounded{R}|Ellipse{E}|Colour|Plain{G,f7}", 1, look), 4);
    const std::string drawn = "kalvara::gui::OwnerDrawnButton";
    EXPECT_EQ(classes, (std::vector<std::string>{drawn, drawn, drawn, drawn, "QPushButton"}));
    // Between the edge and the caption, 3D and colour buttons show their
    // background, colour 4; rounded and elliptical faces are shaded, but still red.
    EXPECT_EQ(pixels[1] & 0xFFFFFF, 0x800000u);
    EXPECT_EQ(pixels[7] & 0xFFFFFF, 0x800000u);
    for (QRgb pixel : {pixels[2], pixels[4]}) {
        EXPECT_GT(qRed(pixel), qGreen(pixel) + 40);
    }
}

// Laid-out lines become the label's lines, and a long address wraps so that
// the box, padded at least as the style pads its own layouts, fits the screen.
TEST_F(MsgBoxDialog, TextsShowTheirLinesAndStayOnTheScreen) {
    const std::string address = "https://updates.example.org/" + std::string(272, 'x');
    const auto look = [&] {
        QWidget* form = gui::FormWidget(Box);
        const auto* text1 = qobject_cast<QLabel*>(gui::ControlWidget(Box, Text1Id));
        const auto* text2 = qobject_cast<QLabel*>(gui::ControlWidget(Box, Text2Id));
        ASSERT_TRUE(text1 != nullptr && text2 != nullptr);
        EXPECT_EQ(text1->text(), "The update could not\nbe read from");
        EXPECT_TRUE(text1->alignment() & Qt::AlignHCenter);
        EXPECT_GE(text1->width(),
                  gui::ColumnsToPixels(gui::MeasureText(10, "The update could not").width));
        EXPECT_GT(text2->text().count('\n'), 0);
        EXPECT_EQ(text2->text().remove('\n').toStdString(), address);
        const QRect room = form->screen()->availableGeometry();
        EXPECT_LE(form->frameGeometry().width(), room.width());
        EXPECT_LE(form->frameGeometry().height(), room.height());
        EXPECT_GE(text1->x() + 1, form->style()->pixelMetric(QStyle::PM_LayoutLeftMargin));
        EXPECT_GE(text1->y() + 1, form->style()->pixelMetric(QStyle::PM_LayoutTopMargin));
        for (const int id : {Text1Id, Text2Id, FirstButtonId}) {
            EXPECT_TRUE(form->rect().contains(gui::ControlWidget(Box, id)->geometry())) << id;
        }
        Press(Qt::Key_Escape);
    };
    WhenUp(look, [&] {
        return ShowMessageBox("", "Update Error", "The update could not|be read from{f10}", address,
                              "", "&OK{G,f7}", "", 1, "C");
    });
}

TEST_F(MsgBoxDialog, PictureShownWhenItExists) {
    QTemporaryDir folder;
    QImage icon(32, 32, QImage::Format_RGB32);
    icon.fill(Qt::blue);
    ASSERT_TRUE(icon.save(folder.filePath("warn.png")));
    gui::SetPictureFolder(folder.path().toStdString());
    for (const std::string picture : {"warn.png", "missing.png"}) {
        const auto look = [&] {
            EXPECT_EQ(gui::ControlExists(Box, PictureId), picture == "warn.png") << picture;
            Press(Qt::Key_Escape);
        };
        WhenUp(look, [&] { return ShowMessageBox("", "T", "Text", "", "", "OK", picture, 1, ""); });
    }
}

TEST_F(MsgBoxDialog, NoticeIsOneFocusedOkOverTheCurrentForm) {
    gui::CreateForm("KV", "", "Kalvara", 0, 0, 30, 10, "");
    InstallNoticeHook();
    WhenUp(
        [] {
            EXPECT_EQ(gui::GetText(Box, 0), "Drive Error");
            EXPECT_EQ(gui::GetText(Box, Text1Id),
                      "The drive letter is not specified or doesn't exist.");
            EXPECT_EQ(gui::GetFocusId(Box), 11);
            EXPECT_EQ(gui::FormWidget(Box)->parentWidget(), gui::FormWidget("KV"));
            EXPECT_FALSE(gui::ControlExists(Box, 12) || gui::ControlExists(Box, CheckBoxId));
            Press(Qt::Key_Return);
        },
        [] {
            kalvara::ShowNotice("Drive Error",
                                "The drive letter is not specified or doesn't exist.{f7}", "");
            return 0;
        });
    SetNoticeHook(nullptr);
    EXPECT_FALSE(gui::FormExists(Box));
    EXPECT_TRUE(gui::FormExists("KV"));
}

TEST_F(MsgBoxDialog, ASecondBoxWhileOneIsOpenAnswersAtOnce) {
    int inner = 0;
    EXPECT_EQ(Answer(ThreeButtons, 1,
                     [&] {
                         inner = ShowMessageBox("", "Again", "Nested", "", "", "OK", "", 1, "");
                         Click(11);
                     }),
              1);
    EXPECT_EQ(inner, ResultEscape);
}

} // namespace
} // namespace kalvara::msgbox
