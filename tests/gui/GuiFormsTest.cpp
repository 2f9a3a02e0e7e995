// Forms: the order of design and loading events, modal forms that return only
// after they are unloaded, the close command, the run call, and names the
// program does not know.

#include "EventRecorder.h"

#include <QTimer>

namespace kalvara::gui {
namespace {

using GuiForms = testing::EventRecorder;
using GuiRun = testing::EventRecorder;

TEST_F(GuiForms, DesignRunsBeforeLoadingAndLoadedEvents) {
    bool controlExistedAtLoading = false;
    handlers["TF"] = [&](int id, int code, int&, int&) {
        if (id == 0 && code == EventFormLoading) {
            controlExistedAtLoading = ControlExists("TF", 100) && !FormWidget("TF")->isVisible();
        }
    };
    Open("TF", 30, 10, [] { AddButton(100, 1, 1, 8, 1.5, "&Go", "T"); });

    ASSERT_EQ(designed, std::vector<std::string>{"TF"});
    std::vector<std::string> formEvents;
    for (const testing::RecordedEvent& e : events) {
        if (e.code == EventFormLoading || e.code == EventFormLoaded) {
            formEvents.push_back(e.form + ":" + std::to_string(e.id) + ":" +
                                 std::to_string(e.code) + ":" + std::to_string(e.value));
        }
    }
    EXPECT_EQ(formEvents, (std::vector<std::string>{"TF:0:87:0", "TF:0:86:0"}));
    EXPECT_TRUE(controlExistedAtLoading);
    EXPECT_TRUE(FormWidget("TF")->isVisible());
    // The client area is the size asked for, in character units.
    EXPECT_GE(FormWidget("TF")->width(), ColumnsToPixels(30));
}

TEST_F(GuiForms, FixedSizeFormsOfferNoMaximiseButKeepTheirKindAndClose) {
    CreateForm("KV", "", "Main", 0, 0, 20, 8, "");
    CreateForm("TF", "KV", "Owned", 0, 0, 20, 8, "");
    for (const char* name : {"KV", "TF"}) {
        const Qt::WindowFlags flags = FormWidget(name)->windowFlags();
        EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint)) << name;
        EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint)) << name;
        EXPECT_TRUE(flags.testFlag(Qt::WindowTitleHint)) << name;
    }
    EXPECT_EQ(FormWidget("KV")->windowType(), Qt::Window);
    EXPECT_EQ(FormWidget("TF")->windowType(), Qt::Dialog);
}

TEST_F(GuiForms, NestedModalFormsReturnInnermostFirst) {
    std::vector<std::string> order;
    handlers["A"] = [&](int id, int code, int&, int&) {
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
    EXPECT_FALSE(FormExists("A") || FormExists("B"));
}

TEST_F(GuiForms, UnloadingAnOwnerAlsoEndsItsModalChild) {
    std::vector<std::string> closed;
    for (const char* name : {"KV", "MS"}) {
        handlers[name] = [&closed, name](int id, int code, int&, int&) {
            if (id == 0 && code == EventClose) {
                closed.emplace_back(name);
            }
        };
    }
    Open("KV", 20, 8);
    QTimer::singleShot(0, [] { UnloadForm("KV"); });
    CreateForm("MS", "KV", "Range", 0, 0, 10, 5, "_CMR"); // returns: no hang
    EXPECT_EQ(closed, (std::vector<std::string>{"KV", "MS"}));
    EXPECT_FALSE(FormExists("MS") || FormExists("KV"));
}

TEST_F(GuiForms, CloseCommandReportsCloseAndMayBeRefused) {
    bool refuse = true;
    handlers["KV"] = [&](int id, int code, int&, int& cancel) {
        if (id == 0 && code == EventClose && refuse) {
            cancel = 1;
        }
    };
    Open("KV", 20, 8);
    FormWidget("KV")->close();
    EXPECT_TRUE(FormExists("KV"));
    refuse = false;
    FormWidget("KV")->close();
    EXPECT_FALSE(FormExists("KV"));
    EXPECT_EQ(Of("KV", EventClose).size(), 2u);
}

// Unknown forms and ids, controls added outside design and drawing outside
// a paint are all ignored.
TEST_F(GuiForms, CallsThatHaveNothingToActOnChangeNothing) {
    AddButton(100, 1, 1, 8, 1.5, "Stray", "T");
    Draw3DButton(4, 0, 0);
    Draw3DButtonRoundRect(4, 0, 0);
    Draw3DButtonEllipse(4, 0, 0);
    DrawColorButton(4, 0, 0);
    Open("KV", 20, 8);
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
    EXPECT_TRUE(Of("XX", EventPosted).empty());
}

TEST_F(GuiForms, RecreatingAFormReplacesTheOldOne) {
    designers["KV"] = [] { AddLabel(105, 1, 1, 10, 1, "Label", "L"); };
    CreateForm("KV", "", "First", 0, 0, 20, 8, "");
    QWidget* first = FormWidget("KV");
    CreateForm("KV", "", "Second", 0, 0, 20, 8, "");
    EXPECT_NE(FormWidget("KV"), first);
    EXPECT_EQ(GetText("KV", 0), "Second");
    EXPECT_EQ(Of("KV", EventClose).size(), 1u);
}

TEST_F(GuiForms, CurrentFormIsTheOneWhoseEventIsHandled) {
    std::string duringDesign;
    std::string duringEvent;
    handlers["MS"] = [&](int id, int code, int&, int&) {
        if (id == 0 && code == EventFormLoading) {
            duringEvent = CurrentForm();
        }
    };
    Open("KV", 20, 8);
    Open(
        "MS", 20, 8, [&] { duringDesign = CurrentForm(); }, "KV");
    EXPECT_EQ(duringDesign, "MS");
    EXPECT_EQ(duringEvent, "MS");
    UnloadForm("MS");
    EXPECT_EQ(CurrentForm(), "KV");
    UnloadForm("KV");
    EXPECT_EQ(CurrentForm(), "");
}

TEST_F(GuiForms, UserDataIsKeptPerFormUntilUnload) {
    Open("KV", 20, 8);
    Open("UP", 20, 8, {}, "KV");
    SetUserData("KV", 11, 42);
    SetUserData("KV", 12, -7);
    EXPECT_EQ(GetUserData("KV", 11), 42);
    EXPECT_EQ(GetUserData("KV", 12), -7);
    EXPECT_EQ(GetUserData("UP", 11), 0);
    UnloadForm("KV");
    Open("KV", 20, 8);
    EXPECT_EQ(GetUserData("KV", 11), 0);
}

TEST_F(GuiRun, RunsUntilTheLastFormIsUnloadedThenReportsTheApplicationClose) {
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
                             [&](const std::string& form, int, int code, int& value, int&) {
                                 seen.push_back(form + ":" + std::to_string(code));
                                 if (form == "KV" && code == EventFormLoaded) {
                                     PostEvent("KV", 100, 1);
                                 }
                                 if (form == "KV" && code == EventPosted && value == 1) {
                                     UnloadForm("KV");
                                 }
                             }});
    EXPECT_EQ(code, 0);
    EXPECT_EQ(CommandLineArguments(), std::vector<std::string>{"/update"});
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back(), std::string(AppFormName) + ":0");
    EXPECT_NE(std::find(seen.begin(), seen.end(), "KV:410"), seen.end());
    EXPECT_FALSE(FormExists("KV"));

    // Without a form it ends at once.
    argc = 1;
    bool initialised = false;
    EXPECT_EQ(gui::Run(argc, argv, EntryPoints{[&] { initialised = true; }, {}, {}}), 0);
    EXPECT_TRUE(initialised);
}

} // namespace
} // namespace kalvara::gui
