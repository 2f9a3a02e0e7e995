// Events that arrive by other roads than a click: posted events, accelerators,
// key events, tooltips and focus; owner-drawn buttons are painted in the
// message box tests.

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
    const auto clicks = Of("UP", EventClick);
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks.front().id, 911);
}

TEST_F(GuiEvents, KeyEventsOnlyWhereAskedForReportedOnceAndCancellable) {
    Open("KV", 20, 8, [] { AddTextField(100, 1, 1, 8, 1.5, "", "T"); });
    QTest::keyClick(ControlWidget("KV", 100), Qt::Key_Escape);
    EXPECT_TRUE(Of("KV", EventKey).empty());

    handlers["DG"] = [](int, int code, int& value, int& cancel) {
        if (code == EventKey && value == 'X') {
            cancel = 1;
        }
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
    EXPECT_EQ(keys[0].value, KeyEscape);
    EXPECT_EQ(keys[0].id, 11);
    EXPECT_EQ(keys[1].value, KeyEnter);
    EXPECT_EQ(keys[2].value, 112);
    // A cancelled key is not handled further.
    QTest::keyClicks(ControlWidget("DG", 100), "axb");
    EXPECT_EQ(GetText("DG", 100), "ab");

    AllowEvents(EventClass::Key, true);
    QTest::keyClick(ControlWidget("KV", 100), Qt::Key_A);
    ASSERT_EQ(Of("KV", EventKey).size(), 1u);
    EXPECT_EQ(Of("KV", EventKey).front().value, 'A');
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
    ASSERT_EQ(Of("KV", EventTooltip).size(), 1u);
    EXPECT_EQ(QToolTip::text().toStdString(), "one two\nthree four\nfive");

    QToolTip::hideText();
    ASSERT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }));
    answer.clear();
    hover(120);
    EXPECT_FALSE(QToolTip::isVisible());

    hover(125); // not registered: not asked
    EXPECT_EQ(Of("KV", EventTooltip).size(), 2u);
    SetTooltip("outside the event"); // ignored
}

// Activation asks the form for its help topic; focus is reported and known.
TEST_F(GuiEvents, ActivationAndFocusAreReported) {
    Open("DG", 20, 8, [] {
        AddButton(11, 1, 1, 8, 1.5, "&Yes", "TA");
        AddButton(12, 10, 1, 8, 1.5, "&No", "TA");
    });
    Activate("DG");
    const auto topics = Of("DG", EventHelpTopic);
    ASSERT_FALSE(topics.empty());
    EXPECT_EQ(topics.front().id, 0);
    SetFocus("DG", 12);
    EXPECT_EQ(GetFocusId("DG"), 12);
    const auto focus = Of("DG", EventFocus);
    ASSERT_FALSE(focus.empty());
    EXPECT_EQ(focus.back().id, 12);
}

TEST_F(GuiEvents, HiddenFormStaysLoadedAndResizes) {
    Open("KV", 20, 8);
    HideForm("KV");
    EXPECT_TRUE(FormExists("KV"));
    EXPECT_FALSE(FormWidget("KV")->isVisible());
    ShowForm("KV");
    EXPECT_TRUE(FormWidget("KV")->isVisible());
    ResizeForm("KV", 0, 0, 40, 12);
    EXPECT_GE(FormWidget("KV")->width(), ColumnsToPixels(40));
    EXPECT_GE(FormWidget("KV")->height(), RowsToPixels(12));
}

} // namespace
} // namespace kalvara::gui
