#pragma once
// Replacing a file so that readers see the old contents or the new ones,
// never a part of either: the data goes to a temporary file beside the target,
// is flushed to the disk, and is renamed over it.

#include <string>
#include <string_view>

namespace kalvara {

struct AtomicWriteError {
    int Errno = 0;         // 0 when the file now holds the data
    bool AtCreate = false; // the temporary file could not even be created

    explicit operator bool() const { return Errno != 0; }
};

// A new file gets the usual permissions (0666 less the umask); a replaced one
// keeps its own. On failure the target is untouched and nothing is left over.
AtomicWriteError ReplaceFileAtomically(const std::string& path, std::string_view data);

} // namespace kalvara
