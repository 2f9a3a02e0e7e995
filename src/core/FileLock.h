#pragma once
// An exclusive advisory lock (flock) on a lock file, held for the lifetime of
// the object, so that separate processes take turns at a shared file.

#include "core/UniqueFd.h"

#include <string>

namespace kalvara {

class FileLock {
public:
    // Creates the lock file when needed (never through a symbolic link) and
    // waits until the lock is ours.
    explicit FileLock(const std::string& lock_path);

    bool Held() const { return handle_.Valid(); }
    // Why the lock is not held, as an errno.
    int Error() const { return error_; }

private:
    UniqueFd handle_;
    int error_ = 0;
};

} // namespace kalvara
