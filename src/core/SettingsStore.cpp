#include "core/SettingsStore.h"

#include "core/AtomicFile.h"
#include "core/IniDocument.h"
#include "core/RegularFile.h"
#include "core/TextHelpers.h"
#include "engine/DateText.h"

#include <algorithm>
#include <cstring>

namespace kalvara {

namespace {

// The classic profile functions copy their arguments into fixed,
// zero-terminated buffers.
constexpr std::size_t NameLimit = 299;    // section, key and default
constexpr std::size_t ValueLimit = 999;   // a written value
constexpr std::size_t ResultLimit = 3999; // a read value

std::string Cut(std::string_view text, std::size_t limit) {
    return std::string(text.substr(0, std::min(limit, text.find('\0'))));
}

// The text cut as those buffers would cut it, then without its blanks.
std::string Field(std::string_view text, std::size_t limit) {
    return std::string(TrimBlanks(Cut(text, limit)));
}

std::string SystemReason(const std::string& file, int error) {
    return "cannot write " + file + ": " + std::strerror(error);
}

} // namespace

std::string ReadSetting(const std::string& file, const std::string& section, const std::string& key,
                        const std::string& default_value) {
    const std::string fallback = Field(default_value, NameLimit);
    const RegularFile contents = ReadRegularFile(file);
    if (contents.Status != RegularFile::State::Read) {
        return fallback;
    }
    const IniDocument ini(contents.Bytes);
    const auto value = ini.Find(Field(section, NameLimit), Field(key, NameLimit));
    if (!value) {
        return fallback;
    }
    return Field(TrimBlanks(*value), ResultLimit);
}

std::string TryWriteSetting(const std::string& file, const std::string& section,
                            const std::string& key, const std::string& value) {
    // Line breaks are refused before anything is cut, so that no part of such
    // a value (a path with a newline, say) can become a line of its own.
    if (!IniDocument::CanHoldValue(value)) {
        return "the value of " + key + " holds a line break and is not kept";
    }
    const std::string section_name = Field(section, NameLimit);
    const std::string key_name = Field(key, NameLimit);
    const std::string value_text = Field(value, ValueLimit);
    if (file.empty()) {
        return "no settings file";
    }
    if (!IniDocument::CanHoldSection(section_name) || !IniDocument::CanHoldKey(key_name)) {
        return "the settings file cannot hold the name [" + section_name + "] " + key_name;
    }

    const RegularFile contents = ReadRegularFile(file);
    switch (contents.Status) {
    case RegularFile::State::NotRegular:
        return file + " is not a regular file";
    case RegularFile::State::Unreadable:
        // Never replace what could not be seen.
        return "cannot read " + file + ": " + std::strerror(contents.Errno);
    case RegularFile::State::Missing:
    case RegularFile::State::Read:
        break;
    }
    IniDocument ini(contents.Bytes);
    ini.Set(section_name, key_name, value_text);
    if (const AtomicWriteError error = ReplaceFileAtomically(file, ini.Text())) {
        return SystemReason(file, error.Errno);
    }
    return {};
}

bool WriteSetting(const std::string& file, const std::string& section, const std::string& key,
                  const std::string& value) {
    return TryWriteSetting(file, section, key, value).empty();
}

bool SwitchIsOn(std::string_view text) {
    return IntegerValue(text) % 2 != 0;
}

void LoadPreferences(const std::string& file, PreferenceSet& preferences) {
    struct Switch {
        const char* key;
        const char* default_value;
        PreferenceSet bit;
    };
    static constexpr Switch switches[] = {
        {"Style", "1", RememberStyle},
        {"Quarters", "0", ShowQuarters},
        {"ShowTips", "1", PrefShowTips},
        {"Update", "1", PrefUpdate},
    };
    for (const Switch& each : switches) {
        if (SwitchIsOn(ReadSetting(file, "Preferences", each.key, each.default_value))) {
            preferences |= each.bit;
        } else {
            preferences &= static_cast<PreferenceSet>(~each.bit);
        }
    }
}

void SavePreferences(const std::string& file, PreferenceSet preferences) {
    const auto text = [&](PreferenceSet bit) { return (preferences & bit) ? "1" : "0"; };
    WriteSetting(file, "Preferences", "Style", text(RememberStyle));
    WriteSetting(file, "Preferences", "Quarters", text(ShowQuarters));
    WriteSetting(file, "Preferences", "Update", text(PrefUpdate));
    WriteSetting(file, "Preferences", "ShowTips", text(PrefShowTips));
}

} // namespace kalvara
