#pragma once
// The preferences dialog, form "UP": four switches edited on a working copy
// that "&Save" puts into effect and writes, and "&Close" drops.

#include "core/Preferences.h"
#include "core/CalendarSelection.h"

#include <string>

namespace kalvara {

class DesktopApp;

inline constexpr const char* PreferencesFormName = "UP";

inline constexpr int RememberStyleBoxId = 100;
inline constexpr int ShowQuartersBoxId = 105;
inline constexpr int ShowTipsBoxId = 110;
inline constexpr int UpdateAlertBoxId = 115;
inline constexpr int SaveButtonId = 120;
inline constexpr int CloseButtonId = 125;
inline constexpr int PreferencesHelpId = 130;
inline constexpr int OptionsFrameId = 135;

// The tooltip of a control of the dialog, as shown while tooltips are on;
// "&Close" depends on whether "&Save" is enabled. Empty for other ids.
std::string PreferencesTooltip(int id, bool save_enabled);

class PreferencesDialog {
public:
    explicit PreferencesDialog(DesktopApp& app);

    // Opens the dialog modally over `parent`; returns once it is closed.
    void Open(const std::string& parent);
    void Design();
    void Event(int id, int code, int& value, int& cancel);

private:
    struct WorkingCopy {
        CalendarStyle Style = CalendarStyle::Year;
        PreferenceSet Preferences = 0;
    };

    void Initialise();
    void Save();

    DesktopApp& app_;
    WorkingCopy working_;
};

} // namespace kalvara
