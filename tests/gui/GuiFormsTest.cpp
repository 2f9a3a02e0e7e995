#include "EventRecorder.h"

#include <QTimer>

namespace kalvara::gui {
namespace {

using GuiForms = testing::EventRecorder;
using ::testing::AllOf;
using ::testing::ElementsAre;
using ::testing::EndsWith;
using ::testing::HasSubstr;

TEST_F(GuiForms, DesignRunsBeforeLoadingAndLoadedEvents) {
    std::vector<std::string> seen;
    handlers["TF"] = [&](int id, int code, int&, int&) {
        if (id == 0 && (code == EventFormLoading || code == EventFormLoaded)) {
            seen.push_back(std::string(code == EventFormLoading ? "loading" : "loaded") +
                           (ControlExists("TF", 100) ? ": designed" : ": empty") +
                           (FormWidget("TF")->isVisible() ? ", shown" : ", hidden"));
        }
    };
    Open("TF", 30, 10, [] { AddButton(100, 1, 1, 8, 1.5, "&Go", "T"); });
    EXPECT_THAT(seen, ElementsAre("loading: designed, hidden", "loaded: designed, shown"));
}

TEST_F(GuiForms, NestedModalFormsReturnInnermostFirstAndEndWithTheirOwner) {
    std::string order;
    handlers["A"] = [&](int id, int code, int&, int&) {
        if (id == 0 && code == EventFormLoaded) {
            QTimer::singleShot(0, [] { UnloadForm("B"); });
            CreateForm("B", "A", "Inner", 0, 0, 10, 5, "CMR");
            order += "B ";
            UnloadForm("A");
        }
    };
    CreateForm("A", "", "Outer", 0, 0, 20, 8, "CMR");
    order += "A";
    EXPECT_EQ(order, "B A");
    EXPECT_FALSE(FormExists("A") || FormExists("B"));

    events.clear();
    Open("KV", 20, 8);
    QTimer::singleShot(0, [] { UnloadForm("KV"); });
    CreateForm("MS", "KV", "Range", 0, 0, 10, 5, "_CMR"); // returns: no hang
    std::string closed;
    for (const testing::RecordedEvent& e : events) {
        closed += e.code == EventClose ? e.form + " " : "";
    }
    EXPECT_EQ(closed, "KV MS ");
    EXPECT_FALSE(FormExists("MS") || FormExists("KV"));
}

TEST_F(GuiForms, HiddenClosedOnlyWhenAllowedAndReplacedByItsNamesake) {
    bool refuse = true;
    handlers["KV"] = [&](int id, int code, int&, int& cancel) {
        cancel = id == 0 && code == EventClose && refuse;
    };
    Open("KV", 20, 8);
    HideForm("KV");
    EXPECT_TRUE(FormExists("KV"));
    ShowForm("KV");
    ResizeForm("KV", 0, 0, 40, 12);
    EXPECT_TRUE(FormWidget("KV")->isVisible());
    EXPECT_GE(FormWidget("KV")->width(), ColumnsToPixels(40));
    EXPECT_GE(FormWidget("KV")->height(), RowsToPixels(12));
    FormWidget("KV")->close();
    EXPECT_TRUE(FormExists("KV"));

    refuse = false;
    QWidget* first = FormWidget("KV");
    CreateForm("KV", "", "Second", 0, 0, 20, 8, "");
    EXPECT_NE(FormWidget("KV"), first);
    EXPECT_EQ(GetText("KV", 0), "Second");
    FormWidget("KV")->close();
    EXPECT_FALSE(FormExists("KV"));
    EXPECT_EQ(Of("KV", EventClose).size(), 3u);
}

// Drawing outside a paint is ignored too.
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
    EXPECT_EQ(GetText("XX", 100) + GetText("KV", 999), "");
    EXPECT_EQ(GetCheck("KV", 999) + GetFocusId("XX"), 0);
    EXPECT_EQ(ControlWidget("XX", 0), nullptr);
    EXPECT_TRUE(FormExists("KV"));
    EXPECT_TRUE(Of("XX", EventPosted).empty());
}

// The current form is the one whose event is handled, else the last one created.
// Fixed-size forms offer no maximise button but keep their kind and close.
TEST_F(GuiForms, CurrentFormUserDataAndWindowFlagsFollowTheirForm) {
    std::string duringDesign, duringEvent;
    handlers["MS"] = [&](int, int code, int&, int&) {
        if (code == EventFormLoading) {
            duringEvent = CurrentForm();
        }
    };
    Open("KV", 20, 8);
    Open(
        "MS", 20, 8, [&] { duringDesign = CurrentForm(); }, "KV");
    EXPECT_EQ(duringDesign, "MS");
    EXPECT_EQ(duringEvent, "MS");
    const Qt::WindowFlags hints =
        Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint | Qt::WindowTitleHint;
    for (const auto& [name, type] : {std::pair{"KV", Qt::Window}, {"MS", Qt::Dialog}}) {
        EXPECT_EQ(FormWidget(name)->windowFlags() & hints,
                  Qt::WindowCloseButtonHint | Qt::WindowTitleHint);
        EXPECT_EQ(FormWidget(name)->windowType(), type);
    }
    SetUserData("KV", 11, -7);
    EXPECT_EQ(GetUserData("KV", 11), -7);
    EXPECT_EQ(GetUserData("MS", 11), 0);
    UnloadForm("MS");
    EXPECT_EQ(CurrentForm(), "KV");
    UnloadForm("KV");
    EXPECT_EQ(CurrentForm(), "");
    Open("KV", 20, 8);
    EXPECT_EQ(GetUserData("KV", 11), 0);
}

TEST_F(GuiForms, RunEndsWithTheLastFormAndReportsTheApplicationClose) {
    ResetForTesting();
    std::string seen = " ";
    int argc = 2;
    char program[] = "kalvara", update[] = "/update";
    char* argv[] = {program, update, nullptr};
    const auto dispatch = [&](const std::string& form, int, int code, int& value, int&) {
        seen += form + ":" + std::to_string(code) + " ";
        if (form == "KV" && code == EventFormLoaded) {
            PostEvent("KV", 100, 1);
        }
        if (form == "KV" && code == EventPosted && value == 1) {
            UnloadForm("KV");
        }
    };
    const auto start = [] { CreateForm("KV", "", "Kalvara", 0, 0, 20, 8, "C"); };
    EXPECT_EQ(gui::Run(argc, argv, EntryPoints{start, [](const std::string&) {}, dispatch}), 0);
    EXPECT_THAT(CommandLineArguments(), ElementsAre("/update"));
    EXPECT_THAT(seen, AllOf(HasSubstr(" KV:410 "), EndsWith(std::string(AppFormName) + ":0 ")));
    EXPECT_FALSE(FormExists("KV"));

    // Without a form it ends at once.
    argc = 1;
    bool initialised = false;
    EXPECT_EQ(gui::Run(argc, argv, EntryPoints{[&] { initialised = true; }, {}, {}}), 0);
    EXPECT_TRUE(initialised);
}

} // namespace
} // namespace kalvara::gui
