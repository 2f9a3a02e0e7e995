#pragma once
// Fetching the version file over http or https, with a hard time limit.

#include <chrono>
#include <cstddef>
#include <string>

namespace kalvara::update {

struct VersionFetch {
    bool ok = false;
    std::string text; // the response body when ok
    // When not ok: the HTTP status when the server answered (404, 503),
    // otherwise the system's errno for what went wrong on the way.
    int error_number = 0;
    // What failed, in plain words: "The server answered 404 Not Found".
    // Holds the server's own words, so it is no mark-up.
    std::string error_text;
};

// A version file is a few lines; anything longer is not one.
inline constexpr std::size_t MaxVersionFileBytes = 65536;

// GETs the address and waits at most `limit` for the whole answer, running
// the events of the program but not the user's input meanwhile.
VersionFetch FetchVersionFile(const std::string& url,
                              std::chrono::milliseconds limit = std::chrono::milliseconds(5000));

} // namespace kalvara::update
