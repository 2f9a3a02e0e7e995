#pragma once
// Fetching the version file over http or https, with a hard time limit.

#include <chrono>
#include <cstddef>
#include <string>

namespace kalvara::update {

struct VersionFetch {
    bool ok = false;
    std::string text;       // the response body when ok
    int error_number = 0;   // the network error's number when not ok
    std::string error_text; // and its message
};

// A version file is a few lines; anything longer is not one.
inline constexpr std::size_t MaxVersionFileBytes = 65536;

// GETs the address and waits at most `limit` for the whole answer, running
// the events of the program but not the user's input meanwhile.
VersionFetch FetchVersionFile(const std::string& url,
                              std::chrono::milliseconds limit = std::chrono::milliseconds(5000));

} // namespace kalvara::update
