#include "cli/OutputFile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kalvara::cli {

namespace {

std::string FolderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Root passes every access check, but a file without a single write bit was
// protected on purpose and stays as it is.
bool MayReplace(const std::string& path, const struct stat& info) {
    if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0) {
        return false;
    }
    return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
}

std::string FolderProblem(const std::string& folder) {
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0) {
        return errno == ENOENT ? "there is no folder " + folder
                               : "the folder " + folder + ": " + std::strerror(errno);
    }
    if (!S_ISDIR(info.st_mode)) {
        return folder + " is not a folder";
    }
    if (::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) != 0) {
        return "the folder " + folder + " is not writable";
    }
    return {};
}

} // namespace

std::string OutputFileProblem(const std::string& path) {
    if (path.empty()) {
        return "the file name is empty";
    }
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        if (errno != ENOENT) {
            return std::strerror(errno);
        }
        // Writing would replace the link itself, which is the user's.
        if (struct stat link{}; ::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
            return "it is a link to a file that does not exist";
        }
        return FolderProblem(FolderOf(path));
    }
    if (S_ISDIR(info.st_mode)) {
        return "it is a folder";
    }
    if (!S_ISREG(info.st_mode)) {
        return "it is not a regular file (a device, FIFO or socket); use - for standard output";
    }
    if (!MayReplace(path, info)) {
        return "the file is read-only";
    }
    return FolderProblem(FolderOf(FileBehindLinks(path)));
}

std::string FileBehindLinks(const std::string& path) {
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) != nullptr ? std::string(resolved) : path;
}

} // namespace kalvara::cli
