// The preferences dialog: a working copy that Save applies and writes and
// Close drops.

#include "app/PreferencesDialog.h"

#include "AppHarness.h"
#include "app/MainWindow.h"
#include "core/SettingsStore.h"
#include "gui/Gui.h"

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

TEST_F(PreferencesTest, LiveSwitchesAtOpenTooltipsOfTheWorkingCopyAndCloseDropsIt) {
    const PreferenceSet live = harness_.App().Selection().Preferences;
    const std::string before = ReadFile(harness_.SettingsFile());
    std::vector<std::vector<int>> seen; // the boxes, then whether Save is enabled
    const auto look = [&seen] {
        seen.push_back({});
        for (int id : {RememberStyleBoxId, ShowQuartersBoxId, ShowTipsBoxId, UpdateAlertBoxId}) {
            seen.back().push_back(gui::GetCheck(PreferencesFormName, id));
        }
        seen.back().push_back(gui::IsEnabled(PreferencesFormName, SaveButtonId));
    };
    std::vector<std::string> tips;
    OpenPreferences([&] {
        look();
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
    OpenPreferences([&look] {
        look();
        Click(PreferencesFormName, CloseButtonId);
    });
    // No preferences in the settings file: the defaults.
    const std::vector<int> defaults{1, 0, 1, 1, 0};
    EXPECT_EQ(seen, (std::vector<std::vector<int>>{defaults, defaults}));
    EXPECT_EQ(harness_.App().Selection().Preferences, live);
    EXPECT_EQ(ReadFile(harness_.SettingsFile()), before);
    // The main window's tooltips still show.
    EXPECT_EQ(TooltipOf(MainFormName, StyleRadioId(5)),
              "Print a 12-month strip suitable for positioning above a computer keyboard");
}

TEST_F(PreferencesTest, SaveAppliesAndWritesTheFourKeysInOrder) {
    bool save_enabled_after_click_back = false;
    OpenPreferences([&] {
        Click(PreferencesFormName, ShowQuartersBoxId);
        Click(PreferencesFormName, ShowTipsBoxId);
        Click(PreferencesFormName, UpdateAlertBoxId);
        Click(PreferencesFormName, UpdateAlertBoxId);
        save_enabled_after_click_back = gui::IsEnabled(PreferencesFormName, SaveButtonId);
        Click(PreferencesFormName, SaveButtonId);
    });
    EXPECT_TRUE(save_enabled_after_click_back);
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
