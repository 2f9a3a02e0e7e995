#include "core/SettingsStore.h"

#include "core/AtomicFile.h"
#include "engine/DateText.h"

// Settings are single-byte text; no wide-character conversion is wanted.
#define SI_NO_CONVERSION
#include <SimpleIni.h>
#include <filesystem>

namespace kalvara {

namespace {

// The classic profile functions copy their arguments into fixed buffers.
constexpr std::size_t NameLimit = 299;    // file, section, key and default
constexpr std::size_t ValueLimit = 999;   // a written value
constexpr std::size_t ResultLimit = 3999; // a read value

std::string Cut(std::string_view text, std::size_t limit) {
    return std::string(text.substr(0, limit));
}

std::string TrimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

// Single-byte text, one value per key, key=value as the classic functions write it.
class IniFile : public CSimpleIniA {
public:
    IniFile() : CSimpleIniA(/*a_bIsUtf8=*/false, /*a_bMultiKey=*/false, /*a_bMultiLine=*/false) {
        SetSpaces(false);
    }
};

} // namespace

std::string ReadSetting(const std::string& file, const std::string& section, const std::string& key,
                        const std::string& default_value) {
    const std::string default_text = Cut(default_value, NameLimit);
    IniFile ini;
    if (ini.LoadFile(Cut(file, NameLimit).c_str()) < 0) {
        return TrimBlanks(Cut(default_text, ResultLimit));
    }
    const char* value = ini.GetValue(Cut(section, NameLimit).c_str(), Cut(key, NameLimit).c_str(),
                                     default_text.c_str());
    return TrimBlanks(Cut(TrimBlanks(value), ResultLimit));
}

bool WriteSetting(const std::string& file, const std::string& section, const std::string& key,
                  const std::string& value) {
    const std::string path = Cut(TrimBlanks(file), NameLimit);
    const std::string section_name = Cut(TrimBlanks(section), NameLimit);
    const std::string key_name = Cut(TrimBlanks(key), NameLimit);
    const std::string value_text = Cut(TrimBlanks(value), ValueLimit);
    if (path.empty() || section_name.empty() || key_name.empty()) {
        return false;
    }

    IniFile ini;
    std::error_code error;
    if (std::filesystem::exists(path, error)) {
        if (ini.LoadFile(path.c_str()) < 0) {
            return false; // unreadable: leave it rather than replace what we cannot see
        }
    }
    ini.SetValue(section_name.c_str(), key_name.c_str(), value_text.c_str());
    std::string data;
    if (ini.Save(data) < 0) {
        return false;
    }
    return !ReplaceFileAtomically(path, data);
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
