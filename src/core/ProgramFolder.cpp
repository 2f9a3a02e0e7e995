#include "core/ProgramFolder.h"

#include "core/Notice.h"
#include "core/RegularFile.h"
#include "core/UniqueFd.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace kalvara {

namespace {

constexpr char SettingsFileName[] = "Zorv.ini";
constexpr char SubfolderName[] = "kalvara";

std::string WithTrailingSlash(std::string path) {
    if (!path.empty() && path.back() != '/') {
        path += '/';
    }
    return path;
}

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

// The base-directory rules: a variable that is empty or not absolute is
// ignored and the default below the home folder applies.
std::string XdgFolder(const std::string& variable, const std::string& home,
                      const char* default_below_home) {
    if (!variable.empty() && variable.front() == '/') {
        return WithTrailingSlash(variable);
    }
    if (home.empty() || home.front() != '/') {
        return {};
    }
    return WithTrailingSlash(home) + default_below_home;
}

std::string ReasonText(const std::error_code& error) {
    return error.message();
}

// The folder given by the user, created when missing; on failure the one
// line that says which folder and why.
FolderResolution UseOneFolder(const std::string& folder, const char* given_by) {
    FolderResolution resolution;
    std::error_code error;
    std::string failed_level;
    if (!CreateFolders(folder, error, failed_level)) {
        resolution.Error = std::string("cannot use the folder ") + folder + " (" + given_by +
                           "): " + ReasonText(error);
        return resolution;
    }
    resolution.Paths = MakeProgramPaths(WithTrailingSlash(LongFolderPath(folder)));
    return resolution;
}

// Earlier versions kept the settings file in the data folder. Moves it to
// the settings folder when there is none there yet; never replaces a file,
// and leaves the old one in place whenever the move does not complete.
void MoveEarlierSettings(const std::string& old_file, const std::string& new_file) {
    struct stat status {};
    if (::lstat(old_file.c_str(), &status) != 0 || !S_ISREG(status.st_mode) ||
        ::lstat(new_file.c_str(), &status) == 0) {
        return;
    }
    if (::renameat2(AT_FDCWD, old_file.c_str(), AT_FDCWD, new_file.c_str(), RENAME_NOREPLACE) ==
        0) {
        return;
    }
    if (errno != EXDEV && errno != EINVAL) {
        return;
    }
    // Another file system (or one without the no-replace rename): copy into a
    // file of our own beside the target, link it into place, which fails
    // rather than replacing anything, and only then drop the old file.
    const RegularFile old_contents = ReadRegularFile(old_file, 16 * 1024 * 1024);
    if (!old_contents.WasRead()) {
        return;
    }
    const std::string* contents = &old_contents.Bytes;
    std::string temporary = fs::path(new_file).parent_path().string() + "/.zorv-XXXXXX";
    const UniqueFd fd(::mkstemp(temporary.data()));
    if (!fd) {
        return;
    }
    bool written = ::write(fd.Get(), contents->data(), contents->size()) ==
                       static_cast<ssize_t>(contents->size()) &&
                   ::fsync(fd.Get()) == 0;
    if (written && ::link(temporary.c_str(), new_file.c_str()) == 0) {
        ::unlink(old_file.c_str());
    }
    ::unlink(temporary.c_str());
}

FolderResolution UseXdgFolders(const FolderSources& sources) {
    FolderResolution resolution;
    const std::string config = XdgFolder(sources.XdgConfigHome, sources.Home, ".config/");
    const std::string cache = XdgFolder(sources.XdgCacheHome, sources.Home, ".cache/");
    const std::string data = XdgFolder(sources.XdgDataHome, sources.Home, ".local/share/");
    if (config.empty() || cache.empty() || data.empty()) {
        resolution.Error = "cannot find the home folder (HOME is not set); choose a folder "
                           "with --home DIR or KALVARA_HOME";
        return resolution;
    }
    const std::string settings_folder = config + SubfolderName;
    std::error_code error;
    std::string failed_level;
    if (!CreateFolders(settings_folder, error, failed_level)) {
        resolution.Error =
            "cannot use the settings folder " + settings_folder + ": " + ReasonText(error);
        return resolution;
    }
    ProgramPaths& paths = resolution.Paths;
    paths.ProgramFolder = WithTrailingSlash(LongFolderPath(settings_folder));
    paths.SettingsFile = paths.ProgramFolder + SettingsFileName;
    paths.OutputFolder = cache + SubfolderName + "/PDF/";
    paths.DataFolder = data + SubfolderName + "/";
    MoveEarlierSettings(paths.DataFolder + SettingsFileName, paths.SettingsFile);
    return resolution;
}

} // namespace

std::string ExecutableFolder() {
    std::error_code error;
    const fs::path executable = fs::read_symlink("/proc/self/exe", error);
    if (error || !executable.is_absolute()) {
        return {};
    }
    return WithTrailingSlash(executable.parent_path().string());
}

FolderSources ProcessFolderSources(const std::string& home_option) {
    FolderSources sources;
    sources.HomeOption = home_option;
    sources.KalvaraHome = Environment("KALVARA_HOME");
    sources.ExecutableFolder = ExecutableFolder();
    sources.Home = Environment("HOME");
    sources.XdgConfigHome = Environment("XDG_CONFIG_HOME");
    sources.XdgCacheHome = Environment("XDG_CACHE_HOME");
    sources.XdgDataHome = Environment("XDG_DATA_HOME");
    return sources;
}

FolderResolution ResolveProgramPaths(const FolderSources& sources) {
    if (!sources.HomeOption.empty()) {
        return UseOneFolder(sources.HomeOption, "--home");
    }
    if (!sources.KalvaraHome.empty()) {
        return UseOneFolder(sources.KalvaraHome, "KALVARA_HOME");
    }
    if (!sources.ExecutableFolder.empty() &&
        IsRegularFile(WithTrailingSlash(sources.ExecutableFolder) + SettingsFileName)) {
        FolderResolution portable;
        portable.Paths = MakeProgramPaths(LongFolderPath(sources.ExecutableFolder));
        return portable;
    }
    return UseXdgFolders(sources);
}

ProgramPaths MakeProgramPaths(const std::string& program_folder) {
    ProgramPaths paths;
    paths.ProgramFolder = WithTrailingSlash(program_folder);
    paths.SettingsFile = paths.ProgramFolder + SettingsFileName;
    paths.OutputFolder = paths.ProgramFolder + "PDF/";
    paths.DataFolder = paths.ProgramFolder;
    return paths;
}

bool CreateFolders(const std::string& folder, std::error_code& error, std::string& failed_level) {
    error.clear();
    failed_level.clear();
    fs::path target(folder);
    if (target.empty()) {
        error = std::make_error_code(std::errc::no_such_file_or_directory);
        return false;
    }
    if (!target.is_absolute()) {
        target = fs::absolute(target, error);
        if (error) {
            failed_level = folder;
            return false;
        }
    }
    fs::path level = target.root_path();
    for (const fs::path& part : target.relative_path()) {
        if (part.empty()) {
            continue;
        }
        level /= part;
        if (fs::is_directory(level, error)) {
            continue;
        }
        // A level that cannot even be looked at (a link loop, a name too
        // long, no permission) is the reason as it stands: trying to create
        // it would only answer "file exists".
        if (error && error != std::errc::no_such_file_or_directory) {
            failed_level = level.string();
            return false;
        }
        // A level that is missing is created; anything else that is not a
        // folder is the reason.
        std::error_code again;
        if (!fs::create_directory(level, error) && !fs::is_directory(level, again)) {
            // "File exists" would say the opposite of what is wrong.
            if (!error || error == std::errc::file_exists) {
                error = std::make_error_code(std::errc::not_a_directory);
            }
            failed_level = level.string();
            return false;
        }
    }
    error.clear();
    return true;
}

int EnsureFolder(const std::string& path) {
    fs::path folder(path);
    if (folder.has_filename() && folder.filename().string().find('.') != std::string::npos &&
        folder.filename() != "." && folder.filename() != "..") {
        folder = folder.parent_path();
    }
    if (folder.empty()) {
        ShowNotice("Drive Error", "The drive letter is not specified or doesn't exist.{f7}", "");
        return 0;
    }
    std::error_code error;
    std::string failed_level;
    if (!CreateFolders(folder.string(), error, failed_level)) {
        const std::string number = std::to_string(error.value());
        ShowNotice("Directory Error " + number, "Unable to create subdirectory.{f7,t4}",
                   "|An error " + number + ", (" + error.message() +
                       ") has occurred|attempting to create \"" + failed_level + "\".|{f7}");
        return 0;
    }
    return 1;
}

std::string LongFolderPath(const std::string& path) {
    if (path.empty()) {
        return {};
    }
    std::error_code error;
    const fs::path absolute = fs::absolute(path, error);
    if (error) {
        return {};
    }
    std::string text = fs::weakly_canonical(absolute, error).string();
    if (error) {
        text = absolute.lexically_normal().string();
    }
    while (text.size() > 1 && text.back() == '/') {
        text.pop_back();
    }
    return text;
}

std::vector<std::string> DataSearchFolders(const std::string& program_folder,
                                           const std::string& executable_folder,
                                           std::string_view xdg_data_dirs) {
    std::vector<std::string> folders;
    const auto add = [&folders](std::string folder) {
        folder = WithTrailingSlash(std::move(folder));
        if (std::find(folders.begin(), folders.end(), folder) == folders.end()) {
            folders.push_back(std::move(folder));
        }
    };
    if (!program_folder.empty()) {
        add(program_folder);
    }
    if (!executable_folder.empty()) {
        add((fs::path(executable_folder) / "../share/kalvara/").lexically_normal().string());
    }
    // As the base-directory rules say, relative entries are skipped.
    while (!xdg_data_dirs.empty()) {
        const std::size_t colon = xdg_data_dirs.find(':');
        const std::string_view entry = xdg_data_dirs.substr(0, colon);
        if (!entry.empty() && entry.front() == '/') {
            add(WithTrailingSlash(std::string(entry)) + SubfolderName);
        }
        xdg_data_dirs =
            colon == std::string_view::npos ? std::string_view() : xdg_data_dirs.substr(colon + 1);
    }
#ifdef KALVARA_DATA_DIR
    add(KALVARA_DATA_DIR);
#endif
#ifdef KALVARA_SOURCE_ASSETS
    add(KALVARA_SOURCE_ASSETS);
#endif
    return folders;
}

std::string FindDataFile(const std::string& program_folder, const std::string& relative_path) {
    static const std::string executable_folder = ExecutableFolder();
    const char* xdg_data_dirs = std::getenv("XDG_DATA_DIRS");
    for (const std::string& folder : DataSearchFolders(program_folder, executable_folder,
                                                       xdg_data_dirs ? xdg_data_dirs : "")) {
        const std::string candidate = folder + relative_path;
        if (fs::path(candidate).is_absolute() && IsRegularFile(candidate)) {
            return candidate;
        }
    }
    return {};
}

} // namespace kalvara
