#pragma once
// Replacing a file so that readers see the old contents or the new ones,
// never a part of either: the data goes to a temporary file beside the target,
// is flushed to the disk, and is renamed over it.

#include <string>
#include <string_view>

namespace kalvara {

struct AtomicWriteError {
    int Errno = 0;         // 0 when the file now holds the data
    bool AtCreate = false; // nothing was written: the target was refused or
                           // the temporary file could not be created

    explicit operator bool() const { return Errno != 0; }
};

// What a symbolic link at the target means.
enum class LinkHandling {
    // The link is the user's way of keeping the file elsewhere (a dotfile
    // manager, say): the file it points to is replaced and the link stays.
    WriteThrough,
    // The name is ours alone: the link itself is replaced by the new file, so
    // nothing outside the folder is written.
    ReplaceLink,
};

// A new file gets the usual permissions (0666 less the umask); a replaced one
// keeps its own, and its owner where the system allows. A target that is a
// folder or another non-regular file is refused, and so is one that the user
// made read-only (no write permission bit at all, even for root). On failure
// the target is untouched and nothing is left over.
AtomicWriteError ReplaceFileAtomically(const std::string& path, std::string_view data,
                                       LinkHandling links = LinkHandling::WriteThrough);

// The file that a write through path lands on: path itself, or the end of
// its chain of symbolic links (which need not exist yet). Empty, with errno
// set, when the chain loops or cannot be read.
std::string ResolveLinkChain(const std::string& path);

} // namespace kalvara
