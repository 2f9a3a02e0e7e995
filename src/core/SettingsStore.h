#pragma once
// Single keys of an INI file, read with a default and written at once, with
// the semantics of the classic profile functions: section and key names match
// without regard to case, a missing file, section or key gives the default, a
// write creates the file, section and key as needed. Values are trimmed of
// blanks. Unlike the classic functions a write replaces the file atomically,
// and comments, unknown sections and keys survive it.

#include "core/Preferences.h"

#include <string>
#include <string_view>

namespace kalvara {

std::string ReadSetting(const std::string& file, const std::string& section, const std::string& key,
                        const std::string& default_value);

// Returns false when the file could not be written (the old file is then left
// as it was). Callers that follow the classic profile semantics ignore it.
bool WriteSetting(const std::string& file, const std::string& section, const std::string& key,
                  const std::string& value);

// A switch is on when its text reads as an odd integer: "1" and "-1" are on;
// "0", "2", "" and "yes" are off.
bool SwitchIsOn(std::string_view text);

// Reads "Style", "Quarters", "ShowTips" and "Update" of section "Preferences"
// into their bits; the other bits keep their values.
void LoadPreferences(const std::string& file, PreferenceSet& preferences);

// Writes the four switches in the order "Style", "Quarters", "Update",
// "ShowTips", each as "1" or "0".
void SavePreferences(const std::string& file, PreferenceSet preferences);

} // namespace kalvara
