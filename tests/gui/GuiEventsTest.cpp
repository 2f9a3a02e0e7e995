// Events that arrive by other roads than a click: posted events, accelerators,
// key events, the Enter and Escape of dialogs, tooltips and focus;
// owner-drawn buttons are painted in the message box tests.

#include "EventRecorder.h"

#include <QHelpEvent>
#include <QToolTip>
#include <utility>

namespace kalvara::gui {
namespace {

using GuiEvents = testing::EventRecorder;

// A posted event arrives once the current one is handled, and not at all
// when its form was unloaded meanwhile.
TEST_F(GuiEvents, PostedEventArrivesAfterTheCurrentEventWithItsValue) {
    std::vector<std::string> order;
    handlers["KV"] = [&](int id, int code, int& value, int&) {
        if (id == 0 && code == EventFormLoaded) {
            PostEvent("KV", 100, 7);
            order.push_back("loaded handled");
        }
        if (id == 100 && code == EventPosted) {
            order.push_back("posted " + std::to_string(value));
        }
    };
    Open("KV", 20, 8);
    EXPECT_EQ(order, std::vector<std::string>{"loaded handled"});
    DoEvents();
    EXPECT_EQ(order, (std::vector<std::string>{"loaded handled", "posted 7"}));
    PostEvent("KV", 100, 8);
    UnloadForm("KV");
    DoEvents();
    EXPECT_EQ(Of("KV", EventPosted).size(), 1u);
}

TEST_F(GuiEvents, AcceleratorArrivesAsAClickFromItsId) {
    Open("UP", 20, 8, [] { AddButton(120, 1, 1, 8, 1.5, "&Save", "T"); });
    DefineAccelerators("UP", "F1,911");
    DefineAccelerators("UP", "F2,abc,,5,F3"); // malformed pairs are skipped
    Activate("UP");
    QTest::keyClick(FormWidget("UP"), Qt::Key_F1);
    QTest::keyClick(FormWidget("UP"), Qt::Key_F2);
    EXPECT_EQ(IdsOf("UP", EventClick), std::vector<int>{911});
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
    const auto keys = Of("DG", EventKey);
    ASSERT_EQ(keys.size(), 3u);
    EXPECT_EQ(keys[0].id, 11);
    EXPECT_EQ((std::vector<int>{keys[0].value, keys[1].value, keys[2].value}),
              (std::vector<int>{KeyEscape, KeyEnter, 112}));
    QTest::keyClicks(ControlWidget("DG", 100), "axb"); // a cancelled key goes no further
    EXPECT_EQ(GetText("DG", 100), "ab");

    AllowEvents(EventClass::Key, true);
    QTest::keyClick(ControlWidget("KV", 100), Qt::Key_A);
    ASSERT_EQ(Of("KV", EventKey).size(), 1u);
    EXPECT_EQ(Of("KV", EventKey).front().value, 'A');
}

// Enter and Escape as the layer gives them to every form that declares its
// default and cancel buttons.
class GuiDialogKeys : public testing::EventRecorder {
protected:
    static constexpr int FieldId = 100;
    static constexpr int OkId = 110;
    static constexpr int CloseId = 120;
    static constexpr int OtherId = 130;
    static constexpr int DisabledId = 140;

    struct Press {
        int id;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers = Qt::NoModifier;
    };

    // The buttons the presses click on a fresh dialog with these keys.
    std::vector<int> ClicksAfter(const std::vector<int>& defaults, int cancel,
                                 const std::vector<Press>& presses) {
        events.clear();
        Open("KD", 40, 8, [&] {
            AddTextField(FieldId, 1, 1, 10, 1.5, "", "T");
            double column = 1;
            for (int id : {OkId, CloseId, OtherId, DisabledId}) {
                AddButton(id, std::exchange(column, column + 9), 4, 8, 1.5, "&Button", "T");
            }
            SetFormKeys("KD", defaults, cancel);
            AllowFormKeyEvents("KD");
        });
        DisableControl("KD", DisabledId);
        for (const Press& press : presses) {
            SetFocus("KD", press.id);
            QTest::keyClick(ControlWidget("KD", press.id), press.key, press.modifiers);
        }
        return IdsOf("KD", EventClick);
    }
};

TEST_F(GuiDialogKeys, EnterPressesTheFocusedButtonElseTheFirstEnabledDefault) {
    EXPECT_EQ(ClicksAfter({OkId}, CloseId,
                          {{OtherId, Qt::Key_Return},
                           {FieldId, Qt::Key_Return},
                           {FieldId, Qt::Key_Enter, Qt::KeypadModifier}}),
              (std::vector<int>{OtherId, OkId, OkId}));
    EXPECT_EQ(ClicksAfter({DisabledId, CloseId}, CloseId, {{FieldId, Qt::Key_Return}}),
              std::vector<int>{CloseId});
}

TEST_F(GuiDialogKeys, EscapePressesTheCancelWhereverTheFocusIs) {
    EXPECT_EQ(ClicksAfter({OkId}, CloseId, {{OkId, Qt::Key_Escape}, {FieldId, Qt::Key_Escape}}),
              (std::vector<int>{CloseId, CloseId}));
}

TEST_F(GuiDialogKeys, WithoutCancelOrWithModifiersTheKeysDoNothing) {
    EXPECT_TRUE(ClicksAfter({OkId}, 0,
                            {{FieldId, Qt::Key_Escape},
                             {FieldId, Qt::Key_Return, Qt::AltModifier},
                             {FieldId, Qt::Key_Return, Qt::ControlModifier}})
                    .empty());
}

TEST_F(GuiDialogKeys, TheProgramsOwnKeyHandlingComesFirst) {
    handlers["KD"] = [](int, int code, int& value, int& cancel) {
        cancel = code == EventKey && value == KeyEnter;
    };
    EXPECT_EQ(ClicksAfter({OkId}, CloseId, {{FieldId, Qt::Key_Return}, {FieldId, Qt::Key_Escape}}),
              std::vector<int>{CloseId});
}

// A form that declares nothing still lets Enter press its focused button:
// Space is not the only key that does.
TEST_F(GuiDialogKeys, EnterPressesTheFocusedButtonOfAnyForm) {
    Open("KN", 20, 6, [] { AddButton(OkId, 1, 1, 8, 1.5, "&OK", "T"); });
    SetFocus("KN", OkId);
    QTest::keyClick(ControlWidget("KN", OkId), Qt::Key_Return);
    EXPECT_EQ(IdsOf("KN", EventClick), std::vector<int>{OkId});
}

// The tooltip text is asked for when it is about to show, and wraps at the
// defined width.
TEST_F(GuiEvents, TooltipTextIsAskedForWhenItIsAboutToShow) {
    DefineTooltipProperties(-1, -1, "[10]");
    std::string answer = "one two three four five";
    handlers["KV"] = [&](int id, int code, int&, int&) {
        if (id == 120 && code == EventTooltip) {
            SetTooltip("");
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

    QToolTip::hideText();
    ASSERT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }));
    answer.clear();
    hover(120);
    EXPECT_FALSE(QToolTip::isVisible());
    hover(125); // not registered: not asked
    EXPECT_GE(asked(), before + 2);
    for (int id : IdsOf("KV", EventTooltip)) {
        EXPECT_EQ(id, 120);
    }
    SetTooltip("outside the event"); // ignored
}

// Activation asks the form for its help topic; focus is reported and known.
TEST_F(GuiEvents, ActivationAndFocusAreReported) {
    Open("DG", 20, 8, [] {
        AddButton(11, 1, 1, 8, 1.5, "&Yes", "TA");
        AddButton(12, 10, 1, 8, 1.5, "&No", "TA");
    });
    Activate("DG");
    ASSERT_FALSE(Of("DG", EventHelpTopic).empty());
    EXPECT_EQ(Of("DG", EventHelpTopic).front().id, 0);
    SetFocus("DG", 12);
    EXPECT_EQ(GetFocusId("DG"), 12);
    ASSERT_FALSE(Of("DG", EventFocus).empty());
    EXPECT_EQ(Of("DG", EventFocus).back().id, 12);
}

} // namespace
} // namespace kalvara::gui
