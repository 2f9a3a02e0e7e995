#include "core/AtomicFile.h"

#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace kalvara {

namespace {

// Closes a file descriptor on every path out.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() { Close(); }
    int Get() const { return fd_; }
    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return fd < 0 || ::close(fd) == 0;
    }

private:
    int fd_;
};

int WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t written = ::write(fd, data.data(), data.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        data.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

mode_t ModeFor(const std::string& path) {
    struct stat existing {};
    if (::stat(path.c_str(), &existing) == 0) {
        return existing.st_mode & 07777;
    }
    const mode_t mask = ::umask(0); // reading the umask means setting it
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

AtomicWriteError ReplaceFileAtomically(const std::string& path, std::string_view data) {
    std::string temp_path = path + ".XXXXXX";
    FileDescriptor file(::mkstemp(temp_path.data()));
    if (file.Get() < 0) {
        return {errno, true};
    }
    ::fchmod(file.Get(), ModeFor(path)); // mkstemp makes the file private
    int error = WriteAll(file.Get(), data);
    if (error == 0 && ::fsync(file.Get()) != 0) {
        error = errno;
    }
    if (!file.Close() && error == 0) {
        error = errno;
    }
    if (error == 0 && ::rename(temp_path.c_str(), path.c_str()) != 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlink(temp_path.c_str());
        return {error, false};
    }
    return {};
}

} // namespace kalvara
