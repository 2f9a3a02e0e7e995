#include "core/RegularFile.h"

#include "core/UniqueFd.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kalvara {

namespace {

RegularFile Failed(RegularFile::State state, int error) {
    RegularFile file;
    file.Status = state;
    file.Errno = error;
    return file;
}

} // namespace

bool IsRegularFile(const std::string& path) {
    struct stat status {};
    return !path.empty() && ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

RegularFile ReadRegularFile(const std::string& path, std::size_t max_bytes) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        return Failed(errno == ENOENT || errno == ENOTDIR ? RegularFile::State::Missing
                                                          : RegularFile::State::Unreadable,
                      errno);
    }
    if (!S_ISREG(status.st_mode)) {
        return Failed(RegularFile::State::NotRegular, 0);
    }
    // O_NONBLOCK keeps the open of a FIFO from waiting for a writer, and the
    // type is checked again on what was opened: the name may have been
    // swapped in between.
    const UniqueFd handle(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (!handle) {
        return Failed(RegularFile::State::Unreadable, errno);
    }
    if (::fstat(handle.Get(), &status) != 0) {
        return Failed(RegularFile::State::Unreadable, errno);
    }
    if (!S_ISREG(status.st_mode)) {
        return Failed(RegularFile::State::NotRegular, 0);
    }
    RegularFile file;
    file.Status = RegularFile::State::Read;
    char buffer[16384];
    while (file.Bytes.size() < max_bytes) {
        const std::size_t wanted = std::min(sizeof buffer, max_bytes - file.Bytes.size());
        const ssize_t got = ::read(handle.Get(), buffer, wanted);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return Failed(RegularFile::State::Unreadable, errno);
        }
        if (got == 0) {
            break;
        }
        file.Bytes.append(buffer, static_cast<std::size_t>(got));
    }
    return file;
}

} // namespace kalvara
