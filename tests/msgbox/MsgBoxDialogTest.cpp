// The message box on real widgets, offscreen: every way of answering it and
// the result each one gives, the notice, and the layout realised.

#include "engine/Notice.h"
#include "gui/Gui.h"
#include "msgbox/MessageBox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace kalvara::msgbox {
namespace {

const std::string Box = MessageBoxFormName;

class MsgBoxDialog : public ::testing::Test {
protected:
    MsgBoxDialog() {
        gui::ResetForTesting();
        gui::InstallEntryPoints(gui::EntryPoints{
            [] {},
            [](const std::string& form) {
                if (form == MessageBoxFormName) {
                    DesignMessageBoxForm(form);
                }
            },
            [this](const std::string& form, int id, int code, int& value, int& cancel) {
                codes.push_back(code);
                if (form == MessageBoxFormName) {
                    MessageBoxEvent(form, id, code, value, cancel);
                }
            }});
        gui::DefineFont(7, "Segoe UI", 9, " BV");
        gui::DefineFont(10, "Segoe UI", 10, "BV");
    }
    ~MsgBoxDialog() override { gui::ResetForTesting(); }

    // Shows a box and, once it is up, does what the user would.
    int Answer(const std::string& buttons, int initialValue, const std::string& checkText,
               const std::function<void()>& user, const std::string& options = "C") {
        QTimer::singleShot(0, [user] {
            ASSERT_TRUE(gui::FormExists(Box));
            ASSERT_TRUE(QTest::qWaitForWindowActive(gui::FormWidget(Box)));
            user();
        });
        GuardAgainstHanging();
        return ShowMessageBox("", "Question", "Text one{f10}", "Text two", checkText, buttons, "",
                              initialValue, options);
    }

    // A box that no action answered would wait for ever; fail instead.
    static void GuardAgainstHanging() {
        QTimer::singleShot(30000, [] {
            if (gui::FormExists(Box)) {
                ADD_FAILURE() << "the box was still open";
                gui::UnloadForm(Box);
            }
        });
    }

    std::vector<int> codes;
};

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

const std::string ThreeButtons = "*{G,f7}|&Yes|&No|&Cancel";

TEST_F(MsgBoxDialog, EachButtonAnswersWithItsNumber) {
    for (int n = 1; n <= 3; ++n) {
        EXPECT_EQ(Answer(ThreeButtons, 1, "", [n] { Click(10 + n); }), n);
        EXPECT_FALSE(gui::FormExists(Box));
    }
}

// The check box's tick is the answer's sign, whether the user ticked it or
// a negative initial value started it ticked and the user took it away.
TEST_F(MsgBoxDialog, TickedCheckBoxNegatesTheAnswer) {
    EXPECT_EQ(Answer(ThreeButtons, 1, "Don't ask again{f7}",
                     [] {
                         Click(CheckBoxId);
                         Click(12);
                     }),
              -2);
    bool tickedAtStart = false;
    EXPECT_EQ(Answer(ThreeButtons, -1, "Don't ask again",
                     [&] {
                         tickedAtStart = gui::GetCheck(Box, CheckBoxId) == 1;
                         Click(CheckBoxId); // untick
                         Click(12);
                     }),
              2);
    EXPECT_TRUE(tickedAtStart);
}

TEST_F(MsgBoxDialog, EnterPressesTheFocusedButton) {
    int focused = 0;
    EXPECT_EQ(Answer("&OK{G,f7}", 1, "",
                     [&] {
                         focused = gui::GetFocusId(Box);
                         Press(Qt::Key_Return);
                     }),
              1);
    EXPECT_EQ(focused, 11);
    EXPECT_EQ(Answer(ThreeButtons, 2, "", [] { Press(Qt::Key_Enter); }), 2);
    EXPECT_EQ(Answer(ThreeButtons, -3, "Remember", [] { Press(Qt::Key_Return); }), -3);
    EXPECT_EQ(Answer(ThreeButtons, 1, "",
                     [] {
                         gui::SetFocus(Box, 13);
                         Press(Qt::Key_Return);
                     }),
              3);
}

TEST_F(MsgBoxDialog, EscapeAndTheCloseCommandAnswer99NegatedWhenTicked) {
    // Without buttons only these leave the box; Enter does nothing.
    bool noButton = false;
    EXPECT_EQ(Answer("*{G,f7}", 1, "",
                     [&] {
                         noButton = !gui::ControlExists(Box, 11);
                         Press(Qt::Key_Return);
                         Press(Qt::Key_Escape);
                     }),
              99);
    EXPECT_TRUE(noButton);
    EXPECT_EQ(Answer(ThreeButtons, -1, "Remember", [] { Press(Qt::Key_Escape); }), -99);
    EXPECT_EQ(Answer(ThreeButtons, 1, "", [] { gui::FormWidget(Box)->close(); }), 99);
    EXPECT_EQ(Answer(ThreeButtons, -2, "Remember", [] { gui::FormWidget(Box)->close(); }), -99);
}

// Enter on the check box answers nothing; ticking it hands the focus back
// to the button that had it, so that Enter then answers with that button.
TEST_F(MsgBoxDialog, CheckBoxTakesNoAnswerAndHandsTheFocusBack) {
    bool openAfterEnterOnIt = false;
    int focusAfterTick = 0;
    EXPECT_EQ(Answer(ThreeButtons, 2, "Remember",
                     [&] {
                         gui::SetFocus(Box, CheckBoxId);
                         Press(Qt::Key_Return);
                         openAfterEnterOnIt = gui::FormExists(Box);
                         Click(CheckBoxId);
                         focusAfterTick = gui::GetFocusId(Box);
                         Press(Qt::Key_Return);
                     }),
              -2);
    EXPECT_TRUE(openAfterEnterOnIt);
    EXPECT_EQ(focusAfterTick, 12);
}

TEST_F(MsgBoxDialog, ButtonShapesPaintTheirColoursAndGIsAPlainButton) {
    std::vector<std::string> classes;
    std::vector<QRgb> pixels;
    bool standardBold = false;
    const int result =
        Answer("*{b4,t15}|Three D{3}|Rounded{R}|Ellipse{E}|Colour|Plain{G,f7}", 1, "", [&] {
            for (int id = 11; id <= 15; ++id) {
                QWidget* button = gui::ControlWidget(Box, id);
                classes.emplace_back(button->metaObject()->className());
                const QImage face = button->grab().toImage();
                pixels.push_back(face.pixel(face.width() / 2, 2)); // inside the top edge
                pixels.push_back(face.pixel(3, 3));                // inside the bevel
            }
            standardBold = gui::ControlWidget(Box, 15)->font().bold();
            Click(14);
        });
    EXPECT_EQ(result, 4);
    const std::string drawn = "kalvara::gui::OwnerDrawnButton";
    EXPECT_EQ(classes, (std::vector<std::string>{drawn, drawn, drawn, drawn, "QPushButton"}));
    EXPECT_TRUE(standardBold);
    // Between the edge and the caption, 3D and colour buttons show their
    // background, colour 4.
    EXPECT_EQ(pixels[1] & 0xFFFFFF, 0x800000u);
    EXPECT_EQ(pixels[7] & 0xFFFFFF, 0x800000u);
    // Rounded and elliptical faces are shaded, but still red.
    for (QRgb pixel : {pixels[2], pixels[4]}) {
        EXPECT_GT(qRed(pixel), qGreen(pixel) + 40);
    }
    EXPECT_NE(std::find(codes.begin(), codes.end(), gui::EventOwnerDraw), codes.end());
}

TEST_F(MsgBoxDialog, TextsAreLaidOutAsMeasured) {
    QString first;
    QString wrapped;
    Qt::Alignment centred;
    int formWidth = 0;
    QTimer::singleShot(0, [&] {
        first = qobject_cast<QLabel*>(gui::ControlWidget(Box, Text1Id))->text();
        wrapped = qobject_cast<QLabel*>(gui::ControlWidget(Box, Text2Id))->text();
        centred = qobject_cast<QLabel*>(gui::ControlWidget(Box, Text1Id))->alignment();
        formWidth = gui::FormWidget(Box)->width();
        Press(Qt::Key_Escape);
    });
    GuardAgainstHanging();
    ShowMessageBox("", "Layout", "first|a second, longer line{f10}", "one two three four{w4}", "",
                   "OK", "", 1, "C");
    EXPECT_EQ(first, "first\na second, longer line");
    EXPECT_EQ(wrapped, "one\ntwo\nthree\nfour");
    EXPECT_TRUE(centred & Qt::AlignHCenter);
    EXPECT_GT(formWidth, gui::ColumnsToPixels(gui::MeasureText(10, "a second, longer line").width));
}

TEST_F(MsgBoxDialog, PictureShownWhenItExists) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QImage icon(32, 32, QImage::Format_RGB32);
    icon.fill(Qt::blue);
    ASSERT_TRUE(icon.save(folder.filePath("warn.png")));
    gui::SetPictureFolder(folder.path().toStdString());
    bool shown = false;
    QTimer::singleShot(0, [&] {
        shown = gui::ControlExists(Box, PictureId);
        Press(Qt::Key_Escape);
    });
    GuardAgainstHanging();
    ShowMessageBox("", "Picture", "Text", "", "", "OK", "warn.png", 1, "");
    EXPECT_TRUE(shown);
    QTimer::singleShot(0, [&] {
        shown = gui::ControlExists(Box, PictureId);
        Press(Qt::Key_Escape);
    });
    GuardAgainstHanging();
    ShowMessageBox("", "Picture", "Text", "", "", "OK", "missing.png", 1, "");
    EXPECT_FALSE(shown);
}

TEST_F(MsgBoxDialog, NoticeIsOneFocusedOkOverTheCurrentForm) {
    gui::CreateForm("KV", "", "Kalvara", 0, 0, 30, 10, "");
    InstallNoticeHook();
    std::string caption;
    std::string text;
    int focus = 0;
    bool overMain = false;
    bool onlyOneButton = false;
    QTimer::singleShot(0, [&] {
        caption = gui::GetText(Box, 0);
        text = gui::GetText(Box, Text1Id);
        focus = gui::GetFocusId(Box);
        overMain = gui::FormWidget(Box)->parentWidget() == gui::FormWidget("KV");
        onlyOneButton = gui::ControlExists(Box, 11) && !gui::ControlExists(Box, 12) &&
                        !gui::ControlExists(Box, CheckBoxId);
        Press(Qt::Key_Return);
    });
    GuardAgainstHanging();
    kalvara::ShowNotice("Drive Error", "The drive letter is not specified or doesn't exist.{f7}",
                        "");
    SetNoticeHook(nullptr);
    EXPECT_EQ(caption, "Drive Error");
    EXPECT_EQ(text, "The drive letter is not specified or doesn't exist.");
    EXPECT_EQ(focus, 11);
    EXPECT_TRUE(overMain);
    EXPECT_TRUE(onlyOneButton);
    EXPECT_FALSE(gui::FormExists(Box));
    EXPECT_TRUE(gui::FormExists("KV"));
}

TEST_F(MsgBoxDialog, ASecondBoxWhileOneIsOpenAnswersAtOnce) {
    int inner = 0;
    EXPECT_EQ(Answer(ThreeButtons, 1, "",
                     [&] {
                         inner = ShowMessageBox("", "Again", "Nested", "", "", "OK", "", 1, "");
                         Click(11);
                     }),
              1);
    EXPECT_EQ(inner, ResultEscape);
}

} // namespace
} // namespace kalvara::msgbox
