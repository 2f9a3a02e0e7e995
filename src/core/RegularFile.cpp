#include "core/RegularFile.h"

#include "core/UniqueFd.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kalvara {

bool IsRegularFile(const std::string& path) {
    struct stat status {};
    return !path.empty() && ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

std::optional<std::string> ReadRegularFile(const std::string& path, std::size_t max_bytes) {
    // O_NONBLOCK keeps the open of a FIFO from waiting for a writer; the type
    // is then checked on the descriptor itself, so nothing can be swapped in
    // between the check and the read.
    const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (!fd) {
        return std::nullopt;
    }
    struct stat status {};
    if (::fstat(fd.Get(), &status) != 0 || !S_ISREG(status.st_mode)) {
        return std::nullopt;
    }
    std::string contents;
    char buffer[16384];
    while (contents.size() < max_bytes) {
        const std::size_t wanted = std::min(sizeof buffer, max_bytes - contents.size());
        const ssize_t got = ::read(fd.Get(), buffer, wanted);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return std::nullopt;
        }
        if (got == 0) {
            break;
        }
        contents.append(buffer, static_cast<std::size_t>(got));
    }
    return contents;
}

} // namespace kalvara
