// The version file comes from a web server, so any bytes may arrive.

#include "FuzzSupport.h"
#include "update/VersionFile.h"

#include <filesystem>

namespace {

using kalvara::fuzz::Require;
using namespace kalvara::update;

void CheckFileName(const std::string& name) {
    if (!IsPlainFileName(name)) {
        return;
    }
    const std::filesystem::path folder = "/tmp/updates";
    const std::filesystem::path joined = (folder / name).lexically_normal();
    Require(joined.parent_path() == folder, "a plain file name stays in its folder");
    Require(joined.filename() == name, "a plain file name is one whole component");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto file = ParseVersionFile(kalvara::fuzz::AsText(data, size));
    if (!file) {
        return 0;
    }
    Require(file->version_text.find('\n') == std::string::npos, "the version is one line");
    if (const auto version = ParseVersion(file->version_text)) {
        const Version& v = *version;
        const std::string written = std::to_string(v[0]) + "." + std::to_string(v[1]) + "." +
                                    std::to_string(v[2]) + "." + std::to_string(v[3]);
        Require(ParseVersion(written) == version, "a version reads back from its own text");
        Require(!IsNewer(v, v), "no version is newer than itself");
        const Version current{5, 3, 0, 0};
        Require(!(IsNewer(v, current) && IsNewer(current, v)),
                "of two versions at most one is newer");
        Require(!IsMajorUpdate(v, current) || IsNewer(v, current), "a major update is newer");
    }
    CheckFileName(file->installer_name);
    CheckFileName(file->download_host);
    return 0;
}
