#include "app/PreferencesDialog.h"

#include "app/DesktopApp.h"
#include "app/HelpViewer.h"
#include "core/SettingsStore.h"
#include "gui/Gui.h"

#include <array>

namespace kalvara {

namespace {

struct Switch {
    int id;
    PreferenceSet bit;
};

// Each check box and the switch it edits.
constexpr std::array<Switch, 4> Switches{{{RememberStyleBoxId, RememberStyle},
                                          {ShowQuartersBoxId, ShowQuarters},
                                          {ShowTipsBoxId, PrefShowTips},
                                          {UpdateAlertBoxId, PrefUpdate}}};

} // namespace

std::string PreferencesTooltip(int id, bool save_enabled) {
    switch (id) {
    case RememberStyleBoxId:
        return "Restore the last calendar style used the next time the program starts";
    case ShowQuartersBoxId:
        return "Include quarter designation with week numbers";
    case ShowTipsBoxId:
        return "Uncheck to turn off pop-up tooltips (like this one)";
    case UpdateAlertBoxId:
        return "Tell me when an update to this program is available for download";
    case SaveButtonId:
        return "Save your changes and exit Preferences";
    case CloseButtonId:
        return save_enabled ? "Exit Preferences without saving your changes" : "Exit Preferences";
    default:
        return {};
    }
}

PreferencesDialog::PreferencesDialog(DesktopApp& app) : app_(app) {}

void PreferencesDialog::Open(const std::string& parent) {
    gui::SetColors(-1, -1);
    gui::CreateForm(PreferencesFormName, parent, "User Preferences", 0, 0, 34, 11.625, "CMR");
}

void PreferencesDialog::Design() {
    auto prepare = [](bool autosize) {
        gui::SetColors(-1, -1);
        gui::UseFont(6);
        gui::UseAutoSize(autosize ? "CT" : "");
    };
    prepare(true);
    gui::AddCheckBox(RememberStyleBoxId, 3.5, 2.375, 25.5, 1, "Remember previous calendar st&yle",
                     "T");
    gui::AddTooltip(PreferencesFormName, RememberStyleBoxId);
    prepare(false);
    gui::AddCheckBox(ShowQuartersBoxId, 3.5, 3.75, 25.75, 1, "Show quarters with week numbers",
                     "T");
    gui::AddTooltip(PreferencesFormName, ShowQuartersBoxId);
    prepare(true);
    gui::AddCheckBox(ShowTipsBoxId, 3.5, 5.125, 21.75, 1, "Enable pop-up &tool tip help", "T");
    gui::AddTooltip(PreferencesFormName, ShowTipsBoxId);
    prepare(false);
    gui::AddCheckBox(UpdateAlertBoxId, 3.5, 6.5, 25.75, 1, "Alert me when program is updated", "T");
    gui::AddTooltip(PreferencesFormName, UpdateAlertBoxId);
    prepare(true);
    gui::AddButton(SaveButtonId, 17.25, 9.125, 6.25, 1.5, "&Save", "T");
    gui::AddTooltip(PreferencesFormName, SaveButtonId);
    prepare(true);
    gui::AddButton(CloseButtonId, 24.5, 9.125, 6.25, 1.5, "&Close", "T");
    gui::AddTooltip(PreferencesFormName, CloseButtonId);
    prepare(true);
    gui::AddButton(PreferencesHelpId, 2.5, 9.125, 6.25, 1.5, "&Help", "T");
    gui::SetFormKeys(PreferencesFormName, {SaveButtonId, CloseButtonId}, CloseButtonId);
    prepare(true);
    gui::AddFrame(OptionsFrameId, 2, 0.875, 29.75, 7.5, "Program Options", "");
    gui::UseAutoSize("");
}

void PreferencesDialog::Initialise() {
    gui::SetFormIcon(PreferencesFormName, app_.ProgramIcon());
    const CalendarSelection& live = app_.Selection();
    for (const Switch& item : Switches) {
        gui::SetCheck(PreferencesFormName, item.id, (live.Preferences & item.bit) != 0 ? 1 : 0);
    }
    working_.Style = live.Style;
    working_.Preferences = live.Preferences;
    gui::DisableControl(PreferencesFormName, SaveButtonId);
    gui::DefineAccelerators(PreferencesFormName, HelpAccelerator);
}

void PreferencesDialog::Save() {
    CalendarSelection& live = app_.Selection();
    live.Style = working_.Style;
    live.Preferences = working_.Preferences;
    SavePreferences(app_.Paths().SettingsFile, live.Preferences);
    gui::DisableControl(PreferencesFormName, SaveButtonId);
    gui::UnloadForm(PreferencesFormName);
}

void PreferencesDialog::Event(int id, int code, int& /*value*/, int& cancel) {
    if (id == 0) {
        if (code == gui::EventFormLoading) {
            Initialise();
        } else if (code == gui::EventHelpTopic) {
            app_.SetHelpContext(HelpTopicPreferences);
            cancel = 1;
        }
        return;
    }
    if (code == gui::EventTooltip && id >= RememberStyleBoxId && id <= CloseButtonId) {
        gui::SetTooltip("");
        if ((working_.Preferences & PrefShowTips) != 0) {
            gui::SetTooltip(
                PreferencesTooltip(id, gui::IsEnabled(PreferencesFormName, SaveButtonId)));
        }
        return;
    }
    if (code != gui::EventClick) {
        return;
    }
    for (const Switch& item : Switches) {
        if (id == item.id) {
            if ((gui::GetCheck(PreferencesFormName, id) & 1) != 0) {
                working_.Preferences |= item.bit;
            } else {
                working_.Preferences &= static_cast<PreferenceSet>(~item.bit);
            }
            gui::EnableControl(PreferencesFormName, SaveButtonId);
            return;
        }
    }
    switch (id) {
    case SaveButtonId:
        Save();
        break;
    case CloseButtonId:
        gui::UnloadForm(PreferencesFormName);
        break;
    case PreferencesHelpId:
        app_.ShowHelp(HelpViewer::DisplayTopic, HelpTopicPreferences);
        break;
    case HelpCommand:
        app_.ShowHelp(HelpViewer::DisplayTopic, app_.HelpContext());
        break;
    default:
        break;
    }
}

} // namespace kalvara
