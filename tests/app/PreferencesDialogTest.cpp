// The preferences dialog: a working copy that Save applies and writes and
// Close drops.

#include "app/PreferencesDialog.h"

#include "AppHarness.h"
#include "app/MainWindow.h"
#include "gui/Gui.h"

#include <algorithm>
#include <gmock/gmock.h>

namespace kalvara::test {
namespace {

using ::testing::Contains;
using ::testing::Not;

void OpenPreferences(const std::function<void()>& steps) {
    EXPECT_TRUE(OpenAndAnswer(
        PreferencesFormName, [] { TriggerMenu(MainFormName, MenuPreferences); }, steps));
    EXPECT_FALSE(gui::FormExists(PreferencesFormName));
}

// The four boxes, then whether Save is enabled.
std::vector<int> Boxes() {
    std::vector<int> state;
    for (int id : {RememberStyleBoxId, ShowQuartersBoxId, ShowTipsBoxId, UpdateAlertBoxId}) {
        state.push_back(gui::GetCheck(PreferencesFormName, id));
    }
    state.push_back(gui::IsEnabled(PreferencesFormName, SaveButtonId));
    return state;
}

TEST(PreferencesDialog, CloseDropsTheWorkingCopyAndSaveAppliesAndWritesItInOrder) {
    AppHarness harness;
    harness.Start();
    const PreferenceSet live = harness.App().Selection().Preferences;
    const std::string before = ReadFile(harness.SettingsFile());
    // No preferences in the settings file: the defaults.
    const std::vector<int> defaults{1, 0, 1, 1, 0};
    // The tooltips follow the working copy.
    std::vector<std::string> tips;
    OpenPreferences([&] {
        EXPECT_EQ(Boxes(), defaults);
        tips.push_back(TooltipOf(PreferencesFormName, CloseButtonId));
        Click(PreferencesFormName, ShowQuartersBoxId);
        tips.push_back(TooltipOf(PreferencesFormName, CloseButtonId));
        Click(PreferencesFormName, ShowTipsBoxId);
        tips.push_back(TooltipOf(PreferencesFormName, RememberStyleBoxId));
        Click(PreferencesFormName, CloseButtonId);
    });
    EXPECT_EQ(tips, (std::vector<std::string>{"Exit Preferences",
                                              "Exit Preferences without saving your changes", ""}));
    EXPECT_EQ(harness.App().Selection().Preferences, live);
    EXPECT_EQ(ReadFile(harness.SettingsFile()), before);
    EXPECT_EQ(TooltipOf(MainFormName, StyleRadioId(5)),
              "Print a 12-month strip suitable for positioning above a computer keyboard");

    SCOPED_TRACE("opened again from the live switches, then saved");
    OpenPreferences([&] {
        EXPECT_EQ(Boxes(), defaults);
        Click(PreferencesFormName, ShowQuartersBoxId);
        Click(PreferencesFormName, ShowTipsBoxId);
        Click(PreferencesFormName, UpdateAlertBoxId);
        Click(PreferencesFormName, UpdateAlertBoxId);
        EXPECT_TRUE(gui::IsEnabled(PreferencesFormName, SaveButtonId));
        Click(PreferencesFormName, SaveButtonId);
    });
    EXPECT_NE(harness.App().Selection().Preferences & ShowQuarters, 0);
    EXPECT_EQ(TooltipOf(MainFormName, StyleRadioId(5)), "");
    const std::string file = ReadFile(harness.SettingsFile());
    std::vector<std::size_t> positions;
    for (const char* key : {"Style=1", "Quarters=1", "Update=1", "ShowTips=0"}) {
        positions.push_back(file.find(key));
    }
    EXPECT_THAT(positions, Not(Contains(std::string::npos))) << file;
    EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end())) << file;
}

} // namespace
} // namespace kalvara::test
