// Forms: the order of design and loading events, modal forms that return only
// after they are unloaded, the close command, the run call, and names the
// program does not know.

#include "EventRecorder.h"
#include "gui/Gui.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace kalvara::gui {
namespace {

using testing::EventRecorder;
using testing::RecordedEvent;

TEST(GuiForms, DesignRunsBeforeLoadingAndLoadedEvents) {
    EventRecorder recorder;
    bool controlExistedAtLoading = false;
    recorder.designers["TF"] = [] { AddButton(100, 1, 1, 8, 1.5, "&Go", "T"); };
    recorder.handlers["TF"] = [&](int id, int code, int&, int&) {
        if (id == 0 && code == EventFormLoading) {
            controlExistedAtLoading = ControlExists("TF", 100) && !FormWidget("TF")->isVisible();
        }
    };
    CreateForm("TF", "", "Test form", 0, 0, 30, 10, "C");

    ASSERT_EQ(recorder.designed, std::vector<std::string>{"TF"});
    const std::vector<RecordedEvent> expected = {{"TF", 0, EventFormLoading, 0, {}},
                                                 {"TF", 0, EventFormLoaded, 0, {}}};
    std::vector<RecordedEvent> formEvents;
    for (const RecordedEvent& e : recorder.events) {
        if (e.code == EventFormLoading || e.code == EventFormLoaded) {
            formEvents.push_back(e);
        }
    }
    EXPECT_EQ(formEvents, expected);
    EXPECT_TRUE(controlExistedAtLoading);
    EXPECT_TRUE(FormWidget("TF")->isVisible());
    EXPECT_EQ(GetText("TF", 0), "Test form");
    // The client area is the size asked for, in character units.
    EXPECT_GE(FormWidget("TF")->width(), ColumnsToPixels(30));
}

TEST(GuiForms, ModalFormReturnsOnlyAfterItIsUnloaded) {
    EventRecorder recorder;
    recorder.designers["MD"] = [] { AddButton(175, 1, 1, 8, 1.5, "&OK", "T"); };
    bool unloadedByHandler = false;
    recorder.handlers["MD"] = [&](int id, int code, int&, int&) {
        if (id == 175 && code == EventClick) {
            UnloadForm("MD");
            unloadedByHandler = true;
        }
    };
    bool wasOpenInsideLoop = false;
    QTimer::singleShot(0, [&] {
        wasOpenInsideLoop = FormExists("MD") && !unloadedByHandler;
        QTest::mouseClick(static_cast<QAbstractButton*>(ControlWidget("MD", 175)), Qt::LeftButton);
    });
    CreateForm("MD", "", "Modal", 0, 0, 20, 6, "_CMR");

    EXPECT_TRUE(wasOpenInsideLoop);
    EXPECT_TRUE(unloadedByHandler);
    EXPECT_FALSE(FormExists("MD"));
    EXPECT_EQ(recorder.Of("MD", EventClose).size(), 1u);
}

TEST(GuiForms, NestedModalFormsReturnInnermostFirst) {
    EventRecorder recorder;
    std::vector<std::string> order;
    recorder.handlers["A"] = [&](int id, int code, int&, int&) {
        if (id == 0 && code == EventFormLoaded) {
            QTimer::singleShot(0, [] { UnloadForm("B"); });
            CreateForm("B", "A", "Inner", 0, 0, 10, 5, "CMR");
            order.push_back("B returned");
            UnloadForm("A");
        }
    };
    CreateForm("A", "", "Outer", 0, 0, 20, 8, "CMR");
    order.push_back("A returned");
    EXPECT_EQ(order, (std::vector<std::string>{"B returned", "A returned"}));
    EXPECT_FALSE(FormExists("A"));
    EXPECT_FALSE(FormExists("B"));
}

TEST(GuiForms, UnloadingAnOwnerAlsoEndsItsModalChild) {
    EventRecorder recorder;
    std::vector<std::string> closed;
    for (const char* name : {"KV", "MS"}) {
        recorder.handlers[name] = [&closed, name](int id, int code, int&, int&) {
            if (id == 0 && code == EventClose) {
                closed.emplace_back(name);
            }
        };
    }
    CreateForm("KV", "", "Main", 0, 0, 20, 8, "");
    QTimer::singleShot(0, [] { UnloadForm("KV"); });
    CreateForm("MS", "KV", "Range", 0, 0, 10, 5, "_CMR"); // returns: no hang
    EXPECT_EQ(closed, (std::vector<std::string>{"KV", "MS"}));
    EXPECT_FALSE(FormExists("MS"));
    EXPECT_FALSE(FormExists("KV"));
}

TEST(GuiForms, CloseCommandReportsCloseAndMayBeRefused) {
    EventRecorder recorder;
    bool refuse = true;
    recorder.handlers["KV"] = [&](int id, int code, int&, int& cancel) {
        if (id == 0 && code == EventClose && refuse) {
            cancel = 1;
        }
    };
    CreateForm("KV", "", "Main", 0, 0, 20, 8, "C");
    FormWidget("KV")->close();
    EXPECT_TRUE(FormExists("KV"));
    refuse = false;
    FormWidget("KV")->close();
    EXPECT_FALSE(FormExists("KV"));
    EXPECT_EQ(recorder.Of("KV", EventClose).size(), 2u);
}

// Unknown forms and ids, controls added outside design and drawing outside
// a paint are all ignored.
TEST(GuiForms, CallsThatHaveNothingToActOnChangeNothing) {
    EventRecorder recorder;
    AddButton(100, 1, 1, 8, 1.5, "Stray", "T");
    Draw3DButton(4, 0, 0);
    Draw3DButtonRoundRect(4, 0, 0);
    Draw3DButtonEllipse(4, 0, 0);
    DrawColorButton(4, 0, 0);
    CreateForm("KV", "", "Main", 0, 0, 20, 8, "");
    EXPECT_FALSE(ControlExists("KV", 100));
    UnloadForm("XX");
    UnloadForm("{APP}");
    SetText("XX", 100, "ignored");
    SetText("KV", 999, "ignored");
    SetCheck("XX", 1, 1);
    EnableControl("KV", 999);
    PostEvent("XX", 100, 1);
    DoEvents();
    EXPECT_EQ(GetText("XX", 100), "");
    EXPECT_EQ(GetText("KV", 999), "");
    EXPECT_EQ(GetCheck("KV", 999), 0);
    EXPECT_EQ(GetFocusId("XX"), 0);
    EXPECT_EQ(ControlWidget("XX", 0), nullptr);
    EXPECT_TRUE(FormExists("KV"));
    EXPECT_TRUE(recorder.Of("XX", EventPosted).empty());
}

TEST(GuiForms, RecreatingAFormReplacesTheOldOne) {
    EventRecorder recorder;
    recorder.designers["KV"] = [] { AddLabel(105, 1, 1, 10, 1, "Label", "L"); };
    CreateForm("KV", "", "First", 0, 0, 20, 8, "");
    QWidget* first = FormWidget("KV");
    CreateForm("KV", "", "Second", 0, 0, 20, 8, "");
    EXPECT_NE(FormWidget("KV"), first);
    EXPECT_EQ(GetText("KV", 0), "Second");
    EXPECT_EQ(recorder.Of("KV", EventClose).size(), 1u);
}

TEST(GuiForms, CurrentFormIsTheOneWhoseEventIsHandled) {
    EventRecorder recorder;
    std::string duringDesign;
    std::string duringEvent;
    recorder.designers["MS"] = [&] { duringDesign = CurrentForm(); };
    recorder.handlers["MS"] = [&](int id, int code, int&, int&) {
        if (id == 0 && code == EventFormLoading) {
            duringEvent = CurrentForm();
        }
    };
    CreateForm("KV", "", "Main", 0, 0, 20, 8, "");
    CreateForm("MS", "KV", "Dialog", 0, 0, 20, 8, "");
    EXPECT_EQ(duringDesign, "MS");
    EXPECT_EQ(duringEvent, "MS");
    UnloadForm("MS");
    EXPECT_EQ(CurrentForm(), "KV");
    UnloadForm("KV");
    EXPECT_EQ(CurrentForm(), "");
}

TEST(GuiForms, UserDataIsKeptPerFormUntilUnload) {
    EventRecorder recorder;
    CreateForm("KV", "", "Main", 0, 0, 20, 8, "");
    CreateForm("UP", "KV", "Prefs", 0, 0, 20, 8, "");
    SetUserData("KV", 11, 42);
    SetUserData("KV", 12, -7);
    EXPECT_EQ(GetUserData("KV", 11), 42);
    EXPECT_EQ(GetUserData("KV", 12), -7);
    EXPECT_EQ(GetUserData("UP", 11), 0);
    UnloadForm("KV");
    CreateForm("KV", "", "Main", 0, 0, 20, 8, "");
    EXPECT_EQ(GetUserData("KV", 11), 0);
}

TEST(GuiRun, RunsUntilTheLastFormIsUnloadedThenReportsTheApplicationClose) {
    EventRecorder recorder;
    ResetForTesting();
    std::vector<std::string> seen;
    int argc = 2;
    char program[] = "kalvara";
    char update[] = "/update";
    char* argv[] = {program, update, nullptr};
    const int code =
        gui::Run(argc, argv,
                 EntryPoints{[] { CreateForm("KV", "", "Kalvara", 0, 0, 20, 8, "C"); },
                             [](const std::string&) {},
                             [&](const std::string& form, int id, int code, int& value, int&) {
                                 seen.push_back(form + ":" + std::to_string(code));
                                 if (form == "KV" && code == EventFormLoaded) {
                                     PostEvent("KV", 100, 1);
                                 }
                                 if (form == "KV" && code == EventPosted && value == 1) {
                                     UnloadForm("KV");
                                 }
                                 (void)id;
                             }});
    EXPECT_EQ(code, 0);
    EXPECT_EQ(CommandLineArguments(), std::vector<std::string>{"/update"});
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back(), std::string(AppFormName) + ":0");
    EXPECT_NE(std::find(seen.begin(), seen.end(), "KV:410"), seen.end());
    EXPECT_FALSE(FormExists("KV"));
}

TEST(GuiRun, StartWithoutAFormEndsAtOnce) {
    EventRecorder recorder;
    int argc = 1;
    char program[] = "kalvara";
    char* argv[] = {program, nullptr};
    bool initialised = false;
    EXPECT_EQ(gui::Run(argc, argv, EntryPoints{[&] { initialised = true; }, {}, {}}), 0);
    EXPECT_TRUE(initialised);
}

} // namespace
} // namespace kalvara::gui
