// Events that arrive by other roads than a click: posted events, accelerators,
// key events, tooltips, focus and owner-draw requests.

#include "EventRecorder.h"
#include "gui/Gui.h"

#include <QApplication>
#include <QHelpEvent>
#include <QImage>
#include <QPushButton>
#include <QTest>
#include <QToolTip>
#include <gtest/gtest.h>

namespace kalvara::gui {
namespace {

using testing::EventRecorder;

void Activate(const std::string& form) {
    QWidget* window = FormWidget(form);
    window->activateWindow();
    QApplication::setActiveWindow(window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
}

// A posted event arrives once the current one is handled, and not at all
// when its form was unloaded meanwhile.
TEST(GuiEvents, PostedEventArrivesAfterTheCurrentEventWithItsValue) {
    EventRecorder recorder;
    std::vector<std::string> order;
    recorder.designers["KV"] = [] { AddTextField(100, 1, 1, 8, 1.5, "2026", "T"); };
    recorder.handlers["KV"] = [&](int id, int code, int& value, int&) {
        if (id == 0 && code == EventFormLoaded) {
            PostEvent("KV", 100, 7);
            order.push_back("loaded handled");
        }
        if (id == 100 && code == EventPosted) {
            order.push_back("posted " + std::to_string(value));
            SetSelection("KV", 100, 4, 4);
        }
    };
    CreateForm("KV", "", "Main", 0, 0, 20, 5, "");
    EXPECT_EQ(order, std::vector<std::string>{"loaded handled"});
    DoEvents();
    EXPECT_EQ(order, (std::vector<std::string>{"loaded handled", "posted 7"}));
    PostEvent("KV", 100, 8);
    UnloadForm("KV");
    DoEvents();
    EXPECT_EQ(recorder.Of("KV", EventPosted).size(), 1u);
}

TEST(GuiEvents, AcceleratorArrivesAsAClickFromItsId) {
    EventRecorder recorder;
    recorder.designers["UP"] = [] { AddButton(120, 1, 1, 8, 1.5, "&Save", "T"); };
    CreateForm("UP", "", "User Preferences", 0, 0, 20, 5, "");
    DefineAccelerators("UP", "F1,911");
    DefineAccelerators("UP", "F2,abc,,5,F3"); // malformed pairs are skipped
    Activate("UP");
    QTest::keyClick(FormWidget("UP"), Qt::Key_F1);
    QTest::keyClick(FormWidget("UP"), Qt::Key_F2);
    const auto clicks = recorder.Of("UP", EventClick);
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks.front().id, 911);
}

TEST(GuiEvents, KeyEventsOnlyWhereAskedForAndReportedOnce) {
    EventRecorder recorder;
    recorder.designers["KV"] = [] { AddButton(145, 1, 1, 8, 1.5, "&Generate", "T"); };
    recorder.designers["DGMSGBOX1"] = [] {
        AddButton(11, 1, 1, 8, 1.5, "&OK", "TA");
        AllowFormKeyEvents("DGMSGBOX1");
    };
    CreateForm("KV", "", "Main", 0, 0, 20, 5, "");
    QTest::keyClick(ControlWidget("KV", 145), Qt::Key_Escape);
    EXPECT_TRUE(recorder.Of("KV", EventKey).empty());

    CreateForm("DGMSGBOX1", "KV", "Box", 0, 0, 20, 5, "C");
    QTest::keyClick(ControlWidget("DGMSGBOX1", 11), Qt::Key_Escape);
    QTest::keyClick(ControlWidget("DGMSGBOX1", 11), Qt::Key_Return);
    QTest::keyClick(FormWidget("DGMSGBOX1"), Qt::Key_F1);
    const auto keys = recorder.Of("DGMSGBOX1", EventKey);
    ASSERT_EQ(keys.size(), 3u);
    EXPECT_EQ(keys[0].value, KeyEscape);
    EXPECT_EQ(keys[0].id, 11);
    EXPECT_EQ(keys[1].value, KeyEnter);
    EXPECT_EQ(keys[2].value, 112);

    AllowEvents(EventClass::Key, true);
    QTest::keyClick(ControlWidget("KV", 145), Qt::Key_A);
    ASSERT_EQ(recorder.Of("KV", EventKey).size(), 1u);
    EXPECT_EQ(recorder.Of("KV", EventKey).front().value, 'A');
}

TEST(GuiEvents, CancelledKeyIsNotHandledFurther) {
    EventRecorder recorder;
    recorder.designers["KV"] = [] {
        AddTextField(100, 1, 1, 8, 1.5, "", "T");
        AllowFormKeyEvents("KV");
    };
    recorder.handlers["KV"] = [](int, int code, int& value, int& cancel) {
        if (code == EventKey && value == 'X') {
            cancel = 1;
        }
    };
    CreateForm("KV", "", "Main", 0, 0, 20, 5, "");
    QTest::keyClicks(ControlWidget("KV", 100), "axb");
    EXPECT_EQ(GetText("KV", 100), "ab");
}

TEST(GuiEvents, TooltipTextIsAskedForWhenItIsAboutToShow) {
    EventRecorder recorder;
    std::string answer = "Print a 12-month calendar of the selected year on a single page";
    recorder.designers["KV"] = [] {
        AddRadio(120, 1, 1, 10, 1.25, "Year", "GT");
        AddRadio(125, 1, 3, 10, 1.25, "3 Years", "T");
    };
    recorder.handlers["KV"] = [&](int id, int code, int&, int&) {
        if (id == 120 && code == EventTooltip) {
            SetTooltip("");
            SetTooltip(answer);
        }
    };
    CreateForm("KV", "", "Main", 0, 0, 20, 6, "");
    AddTooltip("KV", 120);
    QWidget* radio = ControlWidget("KV", 120);
    const auto hover = [](QWidget* widget) {
        QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), widget->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(widget, &help);
    };
    hover(radio);
    ASSERT_EQ(recorder.Of("KV", EventTooltip).size(), 1u);
    EXPECT_EQ(QToolTip::text().toStdString(), answer);

    QToolTip::hideText();
    ASSERT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }));
    answer.clear();
    hover(radio);
    EXPECT_FALSE(QToolTip::isVisible());

    hover(ControlWidget("KV", 125)); // not registered: not asked
    EXPECT_EQ(recorder.Of("KV", EventTooltip).size(), 2u);
    SetTooltip("outside the event"); // ignored
}

TEST(GuiEvents, TooltipsWrapAtTheDefinedWidth) {
    EventRecorder recorder;
    DefineTooltipProperties(-1, -1, "[10]");
    recorder.designers["KV"] = [] { AddButton(100, 1, 1, 8, 1.5, "Go", "T"); };
    recorder.handlers["KV"] = [](int, int code, int&, int&) {
        if (code == EventTooltip) {
            SetTooltip("one two three four five");
        }
    };
    CreateForm("KV", "", "Main", 0, 0, 20, 6, "");
    AddTooltip("KV", 100);
    QWidget* button = ControlWidget("KV", 100);
    QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), button->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(button, &help);
    EXPECT_EQ(QToolTip::text().toStdString(), "one two\nthree four\nfive");
}

TEST(GuiEvents, FocusIsReportedAndKnown) {
    EventRecorder recorder;
    recorder.designers["DG"] = [] {
        AddButton(11, 1, 1, 8, 1.5, "&Yes", "TA");
        AddButton(12, 10, 1, 8, 1.5, "&No", "TA");
    };
    CreateForm("DG", "", "Box", 0, 0, 20, 5, "");
    Activate("DG");
    SetFocus("DG", 12);
    EXPECT_EQ(GetFocusId("DG"), 12);
    const auto focus = recorder.Of("DG", EventFocus);
    ASSERT_FALSE(focus.empty());
    EXPECT_EQ(focus.back().id, 12);
}

TEST(GuiEvents, ActivationAsksTheFormForItsHelpTopic) {
    EventRecorder recorder;
    CreateForm("MS", "", "Range", 0, 0, 20, 5, "");
    Activate("MS");
    const auto topics = recorder.Of("MS", EventHelpTopic);
    ASSERT_FALSE(topics.empty());
    EXPECT_EQ(topics.front().id, 0);
}

TEST(GuiEvents, HiddenFormStaysLoadedAndResizes) {
    EventRecorder recorder;
    CreateForm("KV", "", "Main", 0, 0, 20, 5, "");
    HideForm("KV");
    EXPECT_TRUE(FormExists("KV"));
    EXPECT_FALSE(FormWidget("KV")->isVisible());
    ShowForm("KV");
    EXPECT_TRUE(FormWidget("KV")->isVisible());
    ResizeForm("KV", 0, 0, 40, 12);
    EXPECT_GE(FormWidget("KV")->width(), ColumnsToPixels(40));
    EXPECT_GE(FormWidget("KV")->height(), RowsToPixels(12));
}

TEST(GuiEvents, OwnerDrawnButtonIsPaintedByTheProgram) {
    EventRecorder recorder;
    DefineColor(36, 255, 111, 185);
    recorder.designers["DG"] = [] {
        AddOwnerDrawnButton(11, 1, 1, 10, 2, "&Pink", "TA");
        AddOwnerDrawnButton(12, 12, 1, 10, 2, "&Plain", "TA");
    };
    recorder.handlers["DG"] = [](int id, int code, int&, int&) {
        if (id == 11 && code == EventOwnerDraw) {
            DrawColorButton(36, 0, 0);
        }
    };
    CreateForm("DG", "", "Box", 0, 0, 24, 4, "");
    const QImage pink = ControlWidget("DG", 11)->grab().toImage();
    EXPECT_FALSE(recorder.Of("DG", EventOwnerDraw).empty());
    EXPECT_EQ(pink.pixelColor(3, 3).rgb() & 0xFFFFFF, 0xFF6FB9u);
    // Left unpainted by the program, it still shows as a button.
    const QImage plain = ControlWidget("DG", 12)->grab().toImage();
    EXPECT_NE(plain.pixelColor(3, 3).rgb() & 0xFFFFFF, 0xFF6FB9u);
    QTest::mouseClick(qobject_cast<QPushButton*>(ControlWidget("DG", 11)), Qt::LeftButton);
    ASSERT_EQ(recorder.Of("DG", EventClick).size(), 1u);
    EXPECT_EQ(recorder.Of("DG", EventClick).front().id, 11);
}

} // namespace
} // namespace kalvara::gui
