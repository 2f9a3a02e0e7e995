// Enter and Escape as the layer gives them to every form that declares its
// default and cancel buttons.

#include "EventRecorder.h"

namespace kalvara::gui {
namespace {

using DialogKeys = testing::EventRecorder;

constexpr int FieldId = 100;
constexpr int OkId = 110;
constexpr int CloseId = 120;
constexpr int OtherId = 130;

class DialogKeysForm : public DialogKeys {
protected:
    void OpenDialog(std::vector<int> defaults, int cancel) {
        Open("KD", 30, 8, [&] {
            AddTextField(FieldId, 1, 1, 10, 1.5, "", "T");
            AddButton(OkId, 1, 4, 8, 1.5, "&OK", "T");
            AddButton(CloseId, 10, 4, 8, 1.5, "&Close", "T");
            AddButton(OtherId, 19, 4, 8, 1.5, "&Other", "T");
            SetFormKeys("KD", defaults, cancel);
        });
    }

    std::vector<int> Clicks() const {
        std::vector<int> ids;
        for (const testing::RecordedEvent& e : Of("KD", EventClick)) {
            ids.push_back(e.id);
        }
        return ids;
    }

    static void Press(int id, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        SetFocus("KD", id);
        QTest::keyClick(ControlWidget("KD", id), key, modifiers);
    }
};

TEST_F(DialogKeysForm, EnterPressesTheFocusedButtonElseTheDefault) {
    OpenDialog({OkId}, CloseId);
    Press(OtherId, Qt::Key_Return);
    Press(FieldId, Qt::Key_Return);
    Press(FieldId, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(Clicks(), (std::vector<int>{OtherId, OkId, OkId}));
}

TEST_F(DialogKeysForm, EnterSkipsADisabledDefaultForTheNextOne) {
    OpenDialog({OkId, CloseId}, CloseId);
    DisableControl("KD", OkId);
    Press(FieldId, Qt::Key_Return);
    EXPECT_EQ(Clicks(), std::vector<int>{CloseId});
}

TEST_F(DialogKeysForm, EscapePressesTheCancelWhereverTheFocusIs) {
    OpenDialog({OkId}, CloseId);
    Press(OkId, Qt::Key_Escape);
    Press(FieldId, Qt::Key_Escape);
    EXPECT_EQ(Clicks(), (std::vector<int>{CloseId, CloseId}));
}

TEST_F(DialogKeysForm, WithoutCancelOrWithModifiersTheKeysDoNothing) {
    OpenDialog({OkId}, 0);
    Press(FieldId, Qt::Key_Escape);
    Press(FieldId, Qt::Key_Return, Qt::AltModifier);
    Press(FieldId, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_TRUE(Clicks().empty());
}

TEST_F(DialogKeysForm, TheProgramsOwnKeyHandlingComesFirst) {
    handlers["KD"] = [](int, int code, int& value, int& cancel) {
        if (code == EventKey && value == KeyEnter) {
            cancel = 1;
        }
    };
    OpenDialog({OkId}, CloseId);
    AllowFormKeyEvents("KD");
    Press(FieldId, Qt::Key_Return);
    Press(FieldId, Qt::Key_Escape);
    EXPECT_EQ(Clicks(), std::vector<int>{CloseId});
}

// A form that declares nothing still lets Enter press its focused button:
// Space is not the only key that does.
TEST_F(DialogKeys, EnterPressesTheFocusedButtonOfAnyForm) {
    Open("KN", 20, 6, [] { AddButton(OkId, 1, 1, 8, 1.5, "&OK", "T"); });
    SetFocus("KN", OkId);
    QTest::keyClick(ControlWidget("KN", OkId), Qt::Key_Return);
    EXPECT_EQ(Of("KN", EventClick).size(), 1u);
}

} // namespace
} // namespace kalvara::gui
