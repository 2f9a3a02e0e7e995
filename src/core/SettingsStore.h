#pragma once
// Single keys of an INI file, read with a default and written at once, with
// the semantics of the classic profile functions: section and key names match
// without regard to case, a missing file, section or key gives the default, a
// write creates the file, section and key as needed. Names and values are
// trimmed of blanks and cut to the classic buffers (299 characters for
// names and defaults, 999 for a written value); the file name is used as
// given. Unlike the classic functions a write replaces the file atomically
// (through a symbolic link, which stays), changes only the line of its key,
// and keeps every other byte of the file. Only a regular file is read or
// written: anything else in its place reads as missing and is never replaced.

#include "core/Preferences.h"

#include <string>
#include <string_view>

namespace kalvara {

std::string ReadSetting(const std::string& file, const std::string& section, const std::string& key,
                        const std::string& default_value);

// Empty when the file now holds the value; otherwise one line saying why it
// does not (a read-only file, a missing folder, a value with a line break, a
// name the file cannot hold), and the file is left exactly as it was.
std::string TryWriteSetting(const std::string& file, const std::string& section,
                            const std::string& key, const std::string& value);

// TryWriteSetting for callers that follow the classic profile semantics, where
// a setting that could not be written is simply not kept.
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
