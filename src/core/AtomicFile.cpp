#include "core/AtomicFile.h"

#include "core/UniqueFd.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kalvara {

namespace {

// As many links as the kernel follows before it gives up with ELOOP.
constexpr int LinkHopLimit = 40;

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

std::string FolderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

mode_t NewFileMode() {
    const mode_t mask = ::umask(0); // reading the umask means setting it
    ::umask(mask);
    return 0666 & ~mask;
}

// Why the existing target must not be replaced, as an errno; 0 when it may.
int RefusalOf(const struct stat& target, const std::string& path) {
    if (S_ISDIR(target.st_mode)) {
        return EISDIR;
    }
    if (!S_ISREG(target.st_mode)) {
        return EINVAL; // a device, FIFO or socket is not a file we write
    }
    // Root passes access() on any file, but a file without a single write bit
    // was protected on purpose.
    if ((target.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0) {
        return EACCES;
    }
    return 0;
}

// A name of our own beside the target, short enough for any folder, so that
// every name the filesystem accepts can be the target.
std::string TemporaryPattern(const std::string& target) {
    const std::string folder = FolderOf(target);
    return (folder == "/" ? std::string() : folder) + "/.kvXXXXXX.tmp";
}

constexpr int TemporarySuffixLength = 4; // ".tmp"

void SyncFolder(const std::string& folder) {
    const UniqueFd handle(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (handle.Valid()) {
        ::fsync(handle.Get()); // the rename is done; this only makes it last
    }
}

} // namespace

std::string ResolveLinkChain(const std::string& path) {
    std::string current = path;
    for (int hop = 0; hop <= LinkHopLimit; ++hop) {
        struct stat status {};
        if (::lstat(current.c_str(), &status) != 0) {
            return errno == ENOENT ? current : std::string();
        }
        if (!S_ISLNK(status.st_mode)) {
            return current;
        }
        char target[PATH_MAX];
        const ssize_t length = ::readlink(current.c_str(), target, sizeof target);
        if (length < 0) {
            return {};
        }
        if (static_cast<std::size_t>(length) >= sizeof target) {
            errno = ENAMETOOLONG;
            return {};
        }
        const std::string next(target, static_cast<std::size_t>(length));
        current = next.front() == '/' ? next : FolderOf(current) + "/" + next;
    }
    errno = ELOOP;
    return {};
}

AtomicWriteError ReplaceFileAtomically(const std::string& path, std::string_view data,
                                       LinkHandling links) {
    const std::string target = links == LinkHandling::WriteThrough ? ResolveLinkChain(path) : path;
    if (target.empty()) {
        return {errno, true};
    }
    struct stat existing {};
    const bool exists = ::lstat(target.c_str(), &existing) == 0;
    if (exists && !S_ISLNK(existing.st_mode)) {
        if (const int refusal = RefusalOf(existing, target); refusal != 0) {
            return {refusal, true};
        }
    }
    const bool keep_attributes = exists && S_ISREG(existing.st_mode);

    std::string temp_path = TemporaryPattern(target);
    UniqueFd file(::mkstemps(temp_path.data(), TemporarySuffixLength));
    if (!file.Valid()) {
        return {errno, true};
    }
    // mkstemp makes the file private; the target's own mode and owner win.
    ::fchmod(file.Get(), keep_attributes ? (existing.st_mode & 07777) : NewFileMode());
    if (keep_attributes && ::fchown(file.Get(), existing.st_uid, existing.st_gid) != 0) {
        // Only root may give a file away; anyone else's copy stays theirs.
    }
    int error = WriteAll(file.Get(), data);
    if (error == 0 && ::fsync(file.Get()) != 0) {
        error = errno;
    }
    if (!file.Close() && error == 0) {
        error = errno;
    }
    if (error == 0 && ::rename(temp_path.c_str(), target.c_str()) != 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlink(temp_path.c_str());
        return {error, false};
    }
    SyncFolder(FolderOf(target));
    return {};
}

} // namespace kalvara
