// Any file may sit where the settings file belongs, hand-edited or damaged.
// Whatever it holds, writing a key and reading it back gives the value, and a
// write that reports failure leaves the file exactly as it was.

#include "FuzzSupport.h"
#include "core/SettingsStore.h"
#include "support/TempFolder.h"

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

namespace {

using kalvara::fuzz::Require;

// The store keeps bytes it does not understand once it preserves lines; then
// a key written to a section of its own must leave everything before it alone.
constexpr bool CheckEveryOtherByteKept = true;

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::string& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string AsciiLower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

// A section name the file does not mention in any case, so that writing to
// it must not touch anything that is already there.
std::string UnusedSectionName(std::string_view file) {
    const std::string lower = AsciiLower(file);
    std::string name = "fuzzsection";
    while (lower.find(name) != std::string::npos) {
        name += 'x';
    }
    return name;
}

const kalvara::test::TempFolder& Folder() {
    static const kalvara::test::TempFolder folder;
    return folder;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view original = kalvara::fuzz::AsText(data, size);
    const std::string file = Folder() / "Zorv.ini";
    WriteFile(file, original);

    // Reading never fails, whatever the file holds.
    (void)kalvara::ReadSetting(file, "Preferences", "Style", "1");
    (void)kalvara::ReadSetting(file, "PDF", "Number", "0");

    const std::string section = UnusedSectionName(original);
    if (!kalvara::WriteSetting(file, section, "Key", "Value")) {
        Require(ReadFile(file) == original, "a failed write leaves the file as it was");
        return 0;
    }
    Require(kalvara::ReadSetting(file, section, "Key", "default") == "Value",
            "a written key reads back as its value");
    Require(kalvara::ReadSetting(file, section, "Other", "default") == "default",
            "a key never written reads as its default");
    if (CheckEveryOtherByteKept) {
        const std::string written = ReadFile(file);
        Require(written.compare(0, original.size(), original) == 0,
                "the file's own bytes come first, unchanged");
    }

    // Rewriting the same key changes its value and nothing else.
    const std::string before = ReadFile(file);
    Require(kalvara::WriteSetting(file, section, "Key", "Other"), "a second write succeeds");
    Require(kalvara::ReadSetting(file, section, "KEY", "default") == "Other",
            "keys match without regard to case");
    if (CheckEveryOtherByteKept) {
        std::string expected = before;
        const std::size_t at = expected.rfind("Value");
        expected.replace(at, 5, "Other");
        Require(ReadFile(file) == expected, "a rewrite changes the value only");
    }
    return 0;
}
