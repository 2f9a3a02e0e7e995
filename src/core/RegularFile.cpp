#include "core/RegularFile.h"

#include "core/FileDescriptor.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>

namespace kalvara {

namespace {

RegularFile Failed(RegularFile::State state, int error) {
    RegularFile file;
    file.Status = state;
    file.Errno = error;
    return file;
}

} // namespace

RegularFile ReadRegularFile(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        return Failed(errno == ENOENT || errno == ENOTDIR ? RegularFile::State::Missing
                                                          : RegularFile::State::Unreadable,
                      errno);
    }
    if (!S_ISREG(status.st_mode)) {
        return Failed(RegularFile::State::NotRegular, 0);
    }
    // O_NONBLOCK, and the type checked again on what was opened: the name may
    // have been swapped for a FIFO in between.
    const FileDescriptor handle(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!handle.IsOpen()) {
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
    for (;;) {
        const ssize_t got = ::read(handle.Get(), buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return Failed(RegularFile::State::Unreadable, errno);
        }
        if (got == 0) {
            return file;
        }
        file.Bytes.append(buffer, static_cast<std::size_t>(got));
    }
}

} // namespace kalvara
