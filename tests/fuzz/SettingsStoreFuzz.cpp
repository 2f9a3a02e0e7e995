// Any file may sit where the settings file belongs, hand-edited or damaged.
// Whatever it holds, writing a key and reading it back gives the value, and a
// write that reports failure leaves the file exactly as it was.

#include "FuzzSupport.h"
#include "core/SettingsStore.h"
#include "core/TextHelpers.h"
#include "support/TempFolder.h"

#include <fstream>
#include <iterator>

namespace {

using kalvara::fuzz::Require;

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A section name the file does not mention in any case, so that writing to
// it must not touch anything that is already there.
std::string UnusedSectionName(std::string_view file) {
    const std::string lower = kalvara::AsciiLower(file);
    std::string name = "fuzzsection";
    while (lower.find(name) != std::string::npos) {
        name += 'x';
    }
    return name;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const kalvara::test::TempFolder folder;
    const std::string_view original = kalvara::fuzz::AsText(data, size);
    const std::string file = folder / "Zorv.ini";
    std::ofstream(file, std::ios::binary | std::ios::trunc)
        .write(original.data(), static_cast<std::streamsize>(original.size()));

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
    const std::string written = ReadFile(file);
    Require(written.compare(0, original.size(), original) == 0,
            "the file's own bytes come first, unchanged");

    // Rewriting the same key changes its value and nothing else.
    Require(kalvara::WriteSetting(file, section, "Key", "Other"), "a second write succeeds");
    Require(kalvara::ReadSetting(file, section, "KEY", "default") == "Other",
            "keys match without regard to case");
    std::string expected = written;
    expected.replace(expected.rfind("Value"), 5, "Other");
    Require(ReadFile(file) == expected, "a rewrite changes the value only");
    return 0;
}
