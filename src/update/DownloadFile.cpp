#include "update/DownloadFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace kalvara::update {

namespace {

std::string SystemError(const char* what, const std::string& path, int error_number) {
    return std::string(what) + " \"" + path + "\": " + std::strerror(error_number) + ".";
}

} // namespace

bool DownloadFile::Open(const std::string& path, std::string& error) {
    Discard();
    const int fd =
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        error = SystemError("Unable to create", path, errno);
        return false;
    }
    fd_.Reset(fd);
    path_ = path;
    return true;
}

bool DownloadFile::Write(const char* data, std::size_t size, std::string& error) {
    while (size > 0) {
        const ssize_t written = ::write(fd_.Get(), data, size);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            error = SystemError("Unable to write", path_, errno);
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

bool DownloadFile::Keep(std::string& error) {
    if (::fsync(fd_.Get()) != 0) {
        error = SystemError("Unable to write", path_, errno);
        return false;
    }
    const int fd = fd_.Release(); // closed by hand: close() may report a write error
    if (::close(fd) != 0) {
        error = SystemError("Unable to write", path_, errno);
        ::unlink(path_.c_str());
        return false;
    }
    path_.clear();
    return true;
}

void DownloadFile::Discard() {
    if (fd_.Valid()) {
        fd_.Reset();
        ::unlink(path_.c_str());
    }
    path_.clear();
}

} // namespace kalvara::update
