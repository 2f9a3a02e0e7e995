#pragma once
// The version file on the update server, and the version numbers in it.
// First line: download host, download path and installer file name, blank
// separated. Last line: the newest version, four numbers joined by ".".

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace kalvara::update {

using Version = std::array<unsigned, 4>;

// "5.3.0.0": exactly four decimal numbers of at most nine digits.
std::optional<Version> ParseVersion(std::string_view text);

// Number by number, so "5.3.0.10" is newer than "5.3.0.9" and "5.2.10.0"
// is older than "5.3.0.0".
bool IsNewer(const Version& candidate, const Version& current);

// A major update changes the first or second number upwards.
bool IsMajorUpdate(const Version& candidate, const Version& current);

// A plain file name that can only land in the folder it is joined to: not
// empty, no "/" or "\", no "..", not hidden, no control characters.
bool IsPlainFileName(std::string_view name);

struct VersionFile {
    std::string download_host;  // first word of the first line
    std::string download_path;  // second word
    std::string installer_name; // third word
    std::string version_text;   // the last line that is not empty
};

// Lines end at LF (a CR before it is dropped). Empty when the text holds no
// line at all. The words of the first line are taken as they stand; they are
// checked only when a download needs them.
std::optional<VersionFile> ParseVersionFile(std::string_view text);

} // namespace kalvara::update
