#include "core/OutputFolderCleanup.h"

#include "core/TextHelpers.h"
#include "core/UniqueFd.h"

#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace kalvara {

namespace {

constexpr std::string_view CalendarSuffix = "calendar.pdf";
constexpr std::size_t NumberDigits = 3;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsCalendarFileName(std::string_view name) {
    if (name.size() != NumberDigits + CalendarSuffix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < NumberDigits; ++i) {
        if (!IsDigit(name[i])) {
            return false;
        }
    }
    return AsciiLower(name.substr(NumberDigits)) == CalendarSuffix;
}

} // namespace

bool WriteProbeFile(const std::string& folder) {
    const std::string path = folder + ProbeFileName;
    const UniqueFd fd(::open(
        path.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0644));
    struct stat status {};
    if (!fd || ::fstat(fd.Get(), &status) != 0 || !S_ISREG(status.st_mode) ||
        ::ftruncate(fd.Get(), 0) != 0) {
        return false;
    }
    constexpr std::string_view Line = "X\n";
    return ::write(fd.Get(), Line.data(), Line.size()) == static_cast<ssize_t>(Line.size());
}

bool IsOwnOutputFileName(std::string_view name) {
    return name == ProbeFileName || IsCalendarFileName(name);
}

int ClearOutputFolder(const std::string& folder) {
    int removed = 0;
    std::error_code error;
    fs::directory_iterator entries(folder, error);
    if (error) {
        return removed;
    }
    // Stepping with an error code: a folder that fails half-way through the
    // listing keeps the rest of its files, and start-up never throws.
    for (const fs::directory_iterator end; entries != end; entries.increment(error)) {
        if (error) {
            break;
        }
        const fs::path& path = entries->path();
        std::error_code status_error;
        // A link named like a calendar was put there by someone else; it and
        // what it points to stay.
        if (!entries->is_symlink(status_error) && entries->is_regular_file(status_error) &&
            IsOwnOutputFileName(path.filename().string()) && fs::remove(path, status_error)) {
            ++removed;
        }
    }
    return removed;
}

} // namespace kalvara
