// The preferences dialog: a working copy that Save applies and writes and
// Close drops.

#include "app/PreferencesDialog.h"

#include "AppHarness.h"
#include "app/MainWindow.h"
#include "app/SettingsStore.h"
#include "gui/Gui.h"

#include <gtest/gtest.h>

namespace kalvara::test {
namespace {

std::string Tip(const std::string& form, int id) {
    return TooltipOf(form, id).toStdString();
}

class PreferencesTest : public ::testing::Test {
protected:
    void SetUp() override { harness_.Start(); }

    void OpenPreferences(const std::function<void()>& steps) {
        WhenShown dialog(PreferencesFormName, steps);
        TriggerMenu(MainFormName, MenuPreferences);
        EXPECT_TRUE(dialog.Done()) << "the preferences dialog did not open";
        EXPECT_FALSE(gui::FormExists(PreferencesFormName));
    }

    static int Box(int id) { return gui::GetCheck(PreferencesFormName, id); }

    AppHarness harness_;
};

TEST_F(PreferencesTest, OpensWithTheLiveSwitchesAndCloseDropsTheChanges) {
    const PreferenceSet live = harness_.App().Selection().Preferences;
    const std::string before = ReadFile(harness_.SettingsFile());
    std::vector<std::vector<int>> seen; // the boxes, then whether Save is enabled
    const auto look = [&seen] {
        seen.push_back({Box(RememberStyleBoxId), Box(ShowQuartersBoxId), Box(ShowTipsBoxId),
                        Box(UpdateAlertBoxId), gui::IsEnabled(PreferencesFormName, SaveButtonId)});
    };
    OpenPreferences([&look] {
        look();
        Click(PreferencesFormName, RememberStyleBoxId);
        Click(PreferencesFormName, ShowTipsBoxId);
        Click(PreferencesFormName, CloseButtonId);
    });
    // Opening again starts from the live switches, not the dropped copy.
    OpenPreferences([&look] {
        look();
        Click(PreferencesFormName, CloseButtonId);
    });
    // No settings file: the defaults.
    const std::vector<int> defaults{1, 0, 1, 1, 0};
    EXPECT_EQ(seen, (std::vector<std::vector<int>>{defaults, defaults}));
    EXPECT_EQ(harness_.App().Selection().Preferences, live);
    EXPECT_EQ(ReadFile(harness_.SettingsFile()), before);
}

TEST_F(PreferencesTest, SaveAppliesAndWritesTheFourKeysInOrder) {
    const std::string before = ReadFile(harness_.SettingsFile());
    bool save_enabled_after_click_back = false;
    OpenPreferences([&] {
        Click(PreferencesFormName, ShowQuartersBoxId);
        Click(PreferencesFormName, UpdateAlertBoxId);
        Click(PreferencesFormName, UpdateAlertBoxId);
        save_enabled_after_click_back = gui::IsEnabled(PreferencesFormName, SaveButtonId);
        Click(PreferencesFormName, SaveButtonId);
    });
    EXPECT_TRUE(save_enabled_after_click_back);
    EXPECT_NE(harness_.App().Selection().Preferences & ShowQuarters, 0);

    const std::string file = ReadFile(harness_.SettingsFile());
    ASSERT_NE(file, before);
    const auto style = file.find("Style=1");
    const auto quarters = file.find("Quarters=1");
    const auto update = file.find("Update=1");
    const auto tips = file.find("ShowTips=1");
    ASSERT_NE(style, std::string::npos) << file;
    ASSERT_NE(quarters, std::string::npos) << file;
    ASSERT_NE(update, std::string::npos) << file;
    ASSERT_NE(tips, std::string::npos) << file;
    EXPECT_LT(style, quarters);
    EXPECT_LT(quarters, update);
    EXPECT_LT(update, tips);
}

TEST_F(PreferencesTest, TooltipsFollowTheWorkingCopyAtOnce) {
    std::string close_before;
    std::string close_after;
    std::string quarters;
    std::string silenced;
    OpenPreferences([&] {
        close_before = Tip(PreferencesFormName, CloseButtonId);
        quarters = Tip(PreferencesFormName, ShowQuartersBoxId);
        Click(PreferencesFormName, ShowQuartersBoxId);
        close_after = Tip(PreferencesFormName, CloseButtonId);
        Click(PreferencesFormName, ShowTipsBoxId);
        silenced = Tip(PreferencesFormName, RememberStyleBoxId);
        Click(PreferencesFormName, CloseButtonId);
    });
    EXPECT_EQ(close_before, "Exit Preferences");
    EXPECT_EQ(close_after, "Exit Preferences without saving your changes");
    EXPECT_EQ(quarters, "Include quarter designation with week numbers");
    EXPECT_EQ(silenced, "");
    // Closed without saving: the main window's tooltips still show.
    EXPECT_EQ(Tip(MainFormName, StyleRadioId(5)),
              "Print a 12-month strip suitable for positioning above a computer keyboard");
}

TEST_F(PreferencesTest, SavedTooltipSwitchSilencesTheMainWindow) {
    OpenPreferences([] {
        Click(PreferencesFormName, ShowTipsBoxId);
        Click(PreferencesFormName, SaveButtonId);
    });
    EXPECT_EQ(ReadSetting(harness_.SettingsFile(), "Preferences", "ShowTips", ""), "0");
    EXPECT_EQ(Tip(MainFormName, StyleRadioId(1)), "");
}

} // namespace
} // namespace kalvara::test
