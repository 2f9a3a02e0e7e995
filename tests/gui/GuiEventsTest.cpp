#include "EventRecorder.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QToolTip>
#include <utility>

namespace kalvara::gui {
namespace {

using GuiEvents = testing::EventRecorder;
using ::testing::Contains;
using ::testing::Each;
using ::testing::ElementsAre;

TEST_F(GuiEvents, PostedEventArrivesAfterTheCurrentEventOnlyWhileItsFormIsLoaded) {
    handlers["KV"] = [](int id, int code, int&, int&) {
        if (id == 0 && code == EventFormLoaded) {
            PostEvent("KV", 100, 7);
        }
    };
    Open("KV", 20, 8);
    EXPECT_TRUE(Of("KV", EventPosted).empty());
    DoEvents();
    EXPECT_THAT(ValuesOf("KV", EventPosted), ElementsAre(7));
    PostEvent("KV", 100, 8);
    UnloadForm("KV");
    DoEvents();
    EXPECT_THAT(ValuesOf("KV", EventPosted), ElementsAre(7));
}

TEST_F(GuiEvents, KeyEventsOnlyWhereAskedForReportedOnceAndCancellable) {
    Open("KV", 20, 8, [] { AddTextField(100, 1, 1, 8, 1.5, "", "T"); });
    QTest::keyClick(ControlWidget("KV", 100), Qt::Key_Escape);
    EXPECT_TRUE(Of("KV", EventKey).empty());

    handlers["DG"] = [](int, int code, int& value, int& cancel) {
        cancel = code == EventKey && value == 'X';
    };
    Open("DG", 20, 8, [] {
        AddButton(11, 1, 1, 8, 1.5, "&OK", "TA");
        AddTextField(100, 1, 3, 8, 1.5, "", "T");
        AllowFormKeyEvents("DG");
    });
    QTest::keyClick(ControlWidget("DG", 11), Qt::Key_Escape);
    QTest::keyClick(ControlWidget("DG", 11), Qt::Key_Return);
    QTest::keyClick(FormWidget("DG"), Qt::Key_F1);
    EXPECT_THAT(ValuesOf("DG", EventKey), ElementsAre(KeyEscape, KeyEnter, 112));
    EXPECT_EQ(IdsOf("DG", EventKey).front(), 11);
    QTest::keyClicks(ControlWidget("DG", 100), "axb"); // a cancelled key goes no further
    EXPECT_EQ(GetText("DG", 100), "ab");

    AllowEvents(EventClass::Key, true);
    QTest::keyClick(ControlWidget("KV", 100), Qt::Key_A);
    EXPECT_THAT(ValuesOf("KV", EventKey), ElementsAre('A'));

    // Shift, which has no key code, and A held with it reuse one address; the
    // A is not taken for Shift's press bubbling up.
    events.clear();
    QWidget* field = ControlWidget("DG", 100);
    QTest::keyPress(field, Qt::Key_Shift);
    QTest::keyPress(field, Qt::Key_A, Qt::ShiftModifier);
    QTest::keyRelease(field, Qt::Key_A, Qt::ShiftModifier);
    QTest::keyRelease(field, Qt::Key_Shift);
    EXPECT_THAT(ValuesOf("DG", EventKey), ElementsAre('A'));
}

TEST_F(GuiEvents, EnterAndEscapePressTheDeclaredButtons) {
    enum : int { Field = 100, Ok = 110, Close = 120, Other = 130, Disabled = 140 };
    struct Press {
        int id;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers = Qt::NoModifier;
    };
    struct Row {
        std::vector<int> defaults;
        int cancel;
        std::vector<Press> presses;
        std::vector<int> clicked;
        bool programTakesEnter = false;
    };
    constexpr auto Return = Qt::Key_Return, Escape = Qt::Key_Escape, Enter = Qt::Key_Enter;
    constexpr auto Keypad = Qt::KeypadModifier, Alt = Qt::AltModifier, Ctrl = Qt::ControlModifier;
    // clang-format off
    const Row rows[] = {
        // Enter: the focused button, else the first enabled default.
        {{Ok}, Close, {{Other, Return}, {Field, Return}, {Field, Enter, Keypad}}, {Other, Ok, Ok}},
        {{Disabled, Close}, Close, {{Field, Return}}, {Close}},
        // Escape: the cancel wherever the focus is.
        {{Ok}, Close, {{Ok, Escape}, {Field, Escape}}, {Close, Close}},
        // Without a cancel, or with modifiers, the keys do nothing.
        {{Ok}, 0, {{Field, Escape}, {Field, Return, Alt}, {Field, Return, Ctrl}}, {}},
        // The program's own key handling comes first.
        {{Ok}, Close, {{Field, Return}, {Field, Escape}}, {Close}, true},
        // Nothing declared: Space is not the only key for the focused button.
        {{}, 0, {{Ok, Return}}, {Ok}},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(&row - rows);
        events.clear();
        handlers["KD"] = [&](int, int code, int& value, int& cancel) {
            cancel = row.programTakesEnter && code == EventKey && value == KeyEnter;
        };
        Open("KD", 40, 8, [&] {
            AddTextField(Field, 1, 1, 10, 1.5, "", "T");
            double column = 1;
            for (int id : {Ok, Close, Other, Disabled}) {
                AddButton(id, std::exchange(column, column + 9), 4, 8, 1.5, "&Button", "T");
            }
            SetFormKeys("KD", row.defaults, row.cancel);
            AllowFormKeyEvents("KD");
        });
        DisableControl("KD", Disabled);
        for (const Press& press : row.presses) {
            SetFocus("KD", press.id);
            // Sent whole, without QTest's separate presses of the modifier keys.
            for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
                QKeyEvent key(type, press.key, press.modifiers);
                QApplication::sendEvent(ControlWidget("KD", press.id), &key);
            }
        }
        EXPECT_EQ(IdsOf("KD", EventClick), row.clicked);
    }
}

TEST_F(GuiEvents, TooltipTextIsAskedForWhenItIsAboutToShowAndWraps) {
    DefineTooltipProperties(-1, -1, "[10]");
    std::string answer = "one two three four five";
    handlers["KV"] = [&](int id, int code, int&, int&) {
        if (id == 120 && code == EventTooltip) {
            SetTooltip(answer);
        }
    };
    Open("KV", 20, 8, [] {
        AddRadio(120, 1, 1, 10, 1.25, "Year", "GT");
        AddRadio(125, 1, 3, 10, 1.25, "3 Years", "T");
    });
    AddTooltip("KV", 120);
    const auto hover = [](int id) {
        QWidget* widget = ControlWidget("KV", id);
        QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), widget->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(widget, &help);
    };
    // Focus asks too, for the reader's description; a hover asks again.
    const auto asked = [this] { return IdsOf("KV", EventTooltip).size(); };
    const std::size_t before = asked();
    hover(120);
    EXPECT_EQ(asked(), before + 1);
    EXPECT_EQ(QToolTip::text().toStdString(), "one two\nthree four\nfive");

    answer.clear(); // no text: the shown one goes
    hover(120);
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }));
    hover(125); // not registered: not asked
    EXPECT_GE(asked(), before + 2);
    EXPECT_THAT(IdsOf("KV", EventTooltip), Each(120));
}

TEST_F(GuiEvents, ActivationAcceleratorsAndFocusAreReported) {
    Open("DG", 20, 8, [] {
        AddButton(11, 1, 1, 8, 1.5, "&Yes", "TA");
        AddButton(12, 10, 1, 8, 1.5, "&No", "TA");
    });
    DefineAccelerators("DG", "F1,911");
    DefineAccelerators("DG", "F2,abc,,5,F3"); // malformed pairs are skipped
    QApplication::setActiveWindow(FormWidget("DG"));
    ASSERT_TRUE(QTest::qWaitForWindowActive(FormWidget("DG")));
    EXPECT_THAT(IdsOf("DG", EventHelpTopic), ElementsAre(0));
    QTest::keyClick(FormWidget("DG"), Qt::Key_F1);
    QTest::keyClick(FormWidget("DG"), Qt::Key_F2);
    EXPECT_THAT(IdsOf("DG", EventClick), ElementsAre(911));
    SetFocus("DG", 12);
    EXPECT_THAT(IdsOf("DG", EventFocus), Contains(12));
}

} // namespace
} // namespace kalvara::gui
