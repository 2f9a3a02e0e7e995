// Events that arrive by other roads than a click: posted events, accelerators,
// key events, the Enter and Escape of dialogs, tooltips and focus;
// owner-drawn buttons are painted in the message box tests.

#include "EventRecorder.h"

#include <QHelpEvent>
#include <QToolTip>

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

constexpr int FieldId = 100;
constexpr int OkId = 110;
constexpr int CloseId = 120;
constexpr int OtherId = 130;

struct KeyPress {
    int id;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
};

void PressAll(const std::string& form, const std::vector<KeyPress>& presses) {
    for (const KeyPress& press : presses) {
        SetFocus(form, press.id);
        QTest::keyClick(ControlWidget(form, press.id), press.key, press.modifiers);
    }
}

// Enter presses the focused button, elsewhere the first enabled default;
// Escape presses the cancel wherever the focus is.
TEST_F(GuiEvents, DialogKeysPressTheFocusedDefaultOrCancelButton) {
    struct Case {
        const char* what;
        std::vector<int> defaults;
        int cancel;
        int disabled;
        std::vector<KeyPress> presses;
        std::vector<int> clicks;
    };
    const Case cases[] = {
        {"Enter",
         {OkId},
         CloseId,
         0,
         {{OtherId, Qt::Key_Return},
          {FieldId, Qt::Key_Return},
          {FieldId, Qt::Key_Enter, Qt::KeypadModifier}},
         {OtherId, OkId, OkId}},
        {"a disabled default",
         {OkId, CloseId},
         CloseId,
         OkId,
         {{FieldId, Qt::Key_Return}},
         {CloseId}},
        {"Escape",
         {OkId},
         CloseId,
         0,
         {{OkId, Qt::Key_Escape}, {FieldId, Qt::Key_Escape}},
         {CloseId, CloseId}},
        {"no cancel, or modifiers",
         {OkId},
         0,
         0,
         {{FieldId, Qt::Key_Escape},
          {FieldId, Qt::Key_Return, Qt::AltModifier},
          {FieldId, Qt::Key_Return, Qt::ControlModifier}},
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        events.clear();
        Open("KD", 30, 8, [&] {
            AddTextField(FieldId, 1, 1, 10, 1.5, "", "T");
            AddButton(OkId, 1, 4, 8, 1.5, "&OK", "T");
            AddButton(CloseId, 10, 4, 8, 1.5, "&Close", "T");
            AddButton(OtherId, 19, 4, 8, 1.5, "&Other", "T");
            SetFormKeys("KD", c.defaults, c.cancel);
        });
        if (c.disabled != 0) {
            DisableControl("KD", c.disabled);
        }
        PressAll("KD", c.presses);
        EXPECT_EQ(IdsOf("KD", EventClick), c.clicks);
    }
}

TEST_F(GuiEvents, TheProgramsOwnKeyHandlingComesBeforeTheDialogKeys) {
    handlers["KD"] = [](int, int code, int& value, int& cancel) {
        cancel = code == EventKey && value == KeyEnter;
    };
    Open("KD", 30, 8, [] {
        AddTextField(FieldId, 1, 1, 10, 1.5, "", "T");
        AddButton(OkId, 1, 4, 8, 1.5, "&OK", "T");
        AddButton(CloseId, 10, 4, 8, 1.5, "&Close", "T");
        SetFormKeys("KD", {OkId}, CloseId);
        AllowFormKeyEvents("KD");
    });
    PressAll("KD", {{FieldId, Qt::Key_Return}, {FieldId, Qt::Key_Escape}});
    EXPECT_EQ(IdsOf("KD", EventClick), std::vector<int>{CloseId});
    // A form that declares nothing still lets Enter, not only Space, press
    // its focused button.
    Open("KN", 20, 6, [] { AddButton(OkId, 1, 1, 8, 1.5, "&OK", "T"); });
    PressAll("KN", {{OkId, Qt::Key_Return}});
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
    hover(120);
    EXPECT_EQ(IdsOf("KV", EventTooltip), std::vector<int>{120});
    EXPECT_EQ(QToolTip::text().toStdString(), "one two\nthree four\nfive");

    QToolTip::hideText();
    ASSERT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }));
    answer.clear();
    hover(120);
    EXPECT_FALSE(QToolTip::isVisible());
    hover(125); // not registered: not asked
    EXPECT_EQ(IdsOf("KV", EventTooltip), (std::vector<int>{120, 120}));
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
