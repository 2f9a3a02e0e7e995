// The settings file anyone can edit, read and written whatever it holds.

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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const kalvara::test::TempFolder folder;
    const std::string_view original = kalvara::fuzz::AsText(data, size);
    const std::string file = folder / "Zorv.ini";
    std::ofstream(file, std::ios::binary | std::ios::trunc)
        .write(original.data(), static_cast<std::streamsize>(original.size()));

    (void)kalvara::ReadSetting(file, "Preferences", "Style", "1");
    (void)kalvara::ReadSetting(file, "PDF", "Number", "0");

    // A section the file does not mention in any case, so that its write touches nothing there.
    const std::string lower = kalvara::AsciiLower(original);
    std::string section = "fuzzsection";
    while (lower.find(section) != std::string::npos) {
        section += 'x';
    }
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

    Require(kalvara::WriteSetting(file, section, "Key", "Other"), "a second write succeeds");
    Require(kalvara::ReadSetting(file, section, "KEY", "default") == "Other",
            "keys match without regard to case");
    std::string expected = written;
    expected.replace(expected.rfind("Value"), 5, "Other");
    Require(ReadFile(file) == expected, "a rewrite changes the value only");
    return 0;
}
