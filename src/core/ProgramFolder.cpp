#include "core/ProgramFolder.h"

#include "core/Notice.h"

#include <cstdlib>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace kalvara {

namespace {

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

// Installed executables live in folders that hold nothing but programs; a
// settings file and calendars do not belong there even when root can write.
bool IsSystemFolder(const std::string& folder) {
    for (std::string_view prefix : {"/usr/", "/bin/", "/sbin/", "/lib/", "/opt/", "/snap/"}) {
        if (folder.rfind(prefix, 0) == 0) {
            return true;
        }
    }
    return false;
}

std::string UsableFolder(const std::string& folder) {
    if (folder.empty() || EnsureFolder(folder) == 0) {
        return {};
    }
    return WithTrailingSlash(LongFolderPath(folder));
}

} // namespace

std::string ResolveProgramFolder(const std::string& home_option,
                                 const std::string& executable_path) {
    if (!home_option.empty()) {
        return UsableFolder(home_option);
    }
    if (const std::string home = Environment("KALVARA_HOME"); !home.empty()) {
        return UsableFolder(home);
    }
    if (!executable_path.empty()) {
        std::error_code error;
        const fs::path executable = fs::weakly_canonical(executable_path, error);
        const std::string folder = WithTrailingSlash(executable.parent_path().string());
        if (!error && !IsSystemFolder(folder) && ::access(folder.c_str(), W_OK) == 0) {
            return folder;
        }
    }
    std::string data_home = Environment("XDG_DATA_HOME");
    if (data_home.empty() || data_home.front() != '/') {
        const std::string home = Environment("HOME");
        if (home.empty()) {
            return {};
        }
        data_home = home + "/.local/share";
    }
    return UsableFolder(data_home + "/kalvara");
}

ProgramPaths MakeProgramPaths(const std::string& program_folder) {
    ProgramPaths paths;
    paths.ProgramFolder = WithTrailingSlash(program_folder);
    paths.SettingsFile = paths.ProgramFolder + "Zorv.ini";
    paths.OutputFolder = paths.ProgramFolder + "PDF/";
    paths.DataFolder = paths.ProgramFolder;
    return paths;
}

int EnsureFolder(const std::string& path) {
    fs::path folder(path);
    if (folder.has_filename() && folder.filename().string().find('.') != std::string::npos &&
        folder.filename() != "." && folder.filename() != "..") {
        folder = folder.parent_path();
    }
    if (folder.empty() || !folder.is_absolute()) {
        if (folder.empty()) {
            ShowNotice("Drive Error", "The drive letter is not specified or doesn't exist.{f7}",
                       "");
            return 0;
        }
        folder = fs::absolute(folder);
    }

    fs::path level = folder.root_path();
    for (const fs::path& part : folder.relative_path()) {
        if (part.empty()) {
            continue;
        }
        level /= part;
        std::error_code error;
        if (fs::is_directory(level, error)) {
            continue;
        }
        if (!fs::create_directory(level, error) && !fs::is_directory(level)) {
            if (!error) {
                error = std::make_error_code(std::errc::not_a_directory);
            }
            const std::string number = std::to_string(error.value());
            ShowNotice("Directory Error " + number, "Unable to create subdirectory.{f7,t4}",
                       "|An error " + number + ", (" + error.message() +
                           ") has occurred|attempting to create \"" + level.string() + "\".|{f7}");
            return 0;
        }
    }
    return 1;
}

std::string LongFolderPath(const std::string& path) {
    if (path.empty()) {
        return {};
    }
    std::error_code error;
    fs::path canonical = fs::weakly_canonical(fs::absolute(path, error), error);
    std::string text = canonical.string();
    while (text.size() > 1 && text.back() == '/') {
        text.pop_back();
    }
    return text;
}

std::string FindDataFile(const std::string& program_folder, const std::string& relative_path) {
    const fs::path candidates[] = {
        fs::path(program_folder) / relative_path,
#ifdef KALVARA_DATA_DIR
        fs::path(KALVARA_DATA_DIR) / relative_path,
#endif
#ifdef KALVARA_SOURCE_ASSETS
        fs::path(KALVARA_SOURCE_ASSETS) / relative_path,
#endif
    };
    for (const fs::path& candidate : candidates) {
        std::error_code error;
        if (!program_folder.empty() || candidate.is_absolute()) {
            if (fs::is_regular_file(candidate, error)) {
                return candidate.string();
            }
        }
    }
    return {};
}

} // namespace kalvara
