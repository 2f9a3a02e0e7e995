// The preferences dialog: a working copy that Save applies and writes and
// Close drops.

#include "app/PreferencesDialog.h"

#include "AppHarness.h"
#include "app/MainWindow.h"
#include "core/SettingsStore.h"
#include "gui/Gui.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace kalvara::test {
namespace {

class PreferencesTest : public ::testing::Test {
protected:
    void SetUp() override { harness_.Start(); }

    void OpenPreferences(const std::function<void()>& steps) {
        EXPECT_TRUE(OpenAndAnswer(
            PreferencesFormName, [] { TriggerMenu(MainFormName, MenuPreferences); }, steps));
        EXPECT_FALSE(gui::FormExists(PreferencesFormName));
    }

    AppHarness harness_;
};

// The four boxes, then whether Save is enabled.
std::vector<int> Boxes() {
    std::vector<int> state;
    for (int id : {RememberStyleBoxId, ShowQuartersBoxId, ShowTipsBoxId, UpdateAlertBoxId}) {
        state.push_back(gui::GetCheck(PreferencesFormName, id));
    }
    state.push_back(gui::IsEnabled(PreferencesFormName, SaveButtonId));
    return state;
}

TEST_F(PreferencesTest, LiveSwitchesAtOpenTooltipsOfTheWorkingCopyAndCloseDropsIt) {
    const PreferenceSet live = harness_.App().Selection().Preferences;
    const std::string before = ReadFile(harness_.SettingsFile());
    // No preferences in the settings file: the defaults.
    const std::vector<int> defaults{1, 0, 1, 1, 0};
    std::vector<std::string> tips;
    OpenPreferences([&] {
        EXPECT_EQ(Boxes(), defaults);
        tips.push_back(TooltipOf(PreferencesFormName, CloseButtonId));
        tips.push_back(TooltipOf(PreferencesFormName, ShowQuartersBoxId));
        Click(PreferencesFormName, ShowQuartersBoxId);
        tips.push_back(TooltipOf(PreferencesFormName, CloseButtonId));
        Click(PreferencesFormName, ShowTipsBoxId);
        tips.push_back(TooltipOf(PreferencesFormName, RememberStyleBoxId));
        Click(PreferencesFormName, CloseButtonId);
    });
    EXPECT_EQ(tips, (std::vector<std::string>{"Exit Preferences",
                                              "Include quarter designation with week numbers",
                                              "Exit Preferences without saving your changes", ""}));
    // Opening again starts from the live switches, not the dropped copy.
    OpenPreferences([&] {
        EXPECT_EQ(Boxes(), defaults);
        Click(PreferencesFormName, CloseButtonId);
    });
    EXPECT_EQ(harness_.App().Selection().Preferences, live);
    EXPECT_EQ(ReadFile(harness_.SettingsFile()), before);
    EXPECT_EQ(TooltipOf(MainFormName, StyleRadioId(5)),
              "Print a 12-month strip suitable for positioning above a computer keyboard");
}

TEST_F(PreferencesTest, SaveAppliesAndWritesTheFourKeysInOrder) {
    OpenPreferences([] {
        Click(PreferencesFormName, ShowQuartersBoxId);
        Click(PreferencesFormName, ShowTipsBoxId);
        Click(PreferencesFormName, UpdateAlertBoxId);
        Click(PreferencesFormName, UpdateAlertBoxId);
        EXPECT_TRUE(gui::IsEnabled(PreferencesFormName, SaveButtonId));
        Click(PreferencesFormName, SaveButtonId);
    });
    EXPECT_NE(harness_.App().Selection().Preferences & ShowQuarters, 0);
    // The saved tooltip switch silences the main window.
    EXPECT_EQ(TooltipOf(MainFormName, StyleRadioId(1)), "");

    const std::string file = ReadFile(harness_.SettingsFile());
    std::vector<std::size_t> positions;
    for (const char* key : {"Style=1", "Quarters=1", "Update=1", "ShowTips=0"}) {
        positions.push_back(file.find(key));
        ASSERT_NE(positions.back(), std::string::npos) << key << " missing from\n" << file;
    }
    EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end())) << file;
}

} // namespace
} // namespace kalvara::test
