#include "core/FileLock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>

namespace kalvara {

FileLock::FileLock(const std::string& lock_path) {
    UniqueFd handle(
        ::open(lock_path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, 0666));
    if (!handle.Valid()) {
        error_ = errno;
        return;
    }
    while (::flock(handle.Get(), LOCK_EX) != 0) {
        if (errno != EINTR) {
            error_ = errno;
            return;
        }
    }
    handle_ = std::move(handle);
}

} // namespace kalvara
