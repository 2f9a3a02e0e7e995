#pragma once
// Where the program keeps its settings, calendars and update data, worked out
// once at start the same way by both fronts.

#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace kalvara {

struct ProgramPaths {
    std::string ProgramFolder; // the folder of the settings file; ends in "/"
    std::string SettingsFile;  // ProgramFolder + "Zorv.ini"
    std::string OutputFolder;  // the numbered calendars; ends in "/"
    std::string DataFolder;    // what the update flow keeps; ends in "/"
};

// Everything the folders depend on, read from the process by
// ProcessFolderSources; tests make their own.
struct FolderSources {
    std::string HomeOption;       // --home DIR; empty when not given
    std::string KalvaraHome;      // $KALVARA_HOME
    std::string ExecutableFolder; // the folder of the running executable
    std::string Home;             // $HOME
    std::string XdgConfigHome;
    std::string XdgCacheHome;
    std::string XdgDataHome;
};

struct FolderResolution {
    ProgramPaths Paths;
    std::string Error; // one line naming the folder and the reason; empty on success
};

// The environment of this process, and the executable's folder from
// /proc/self/exe (never argv[0] or the working folder).
FolderSources ProcessFolderSources(const std::string& home_option);

// The folder of the executable now running, ending in "/"; empty when the
// system does not say.
std::string ExecutableFolder();

// The folders, in this order:
// 1. --home DIR, then KALVARA_HOME: everything lives in that folder.
// 2. The executable's folder when it already holds Zorv.ini: a portable
//    installation keeps everything beside the program.
// 3. The XDG folders: settings in $XDG_CONFIG_HOME/kalvara, calendars in
//    $XDG_CACHE_HOME/kalvara/PDF, update data in $XDG_DATA_HOME/kalvara
//    (relative or empty variables mean ~/.config, ~/.cache, ~/.local/share).
//    A Zorv.ini left in the data folder by earlier versions is moved to the
//    settings folder once.
// The settings folder is created. Never throws; a folder that cannot be used
// comes back as Error.
FolderResolution ResolveProgramPaths(const FolderSources& sources);

// The paths when everything lives in one folder. Does not touch the disk.
ProgramPaths MakeProgramPaths(const std::string& program_folder);

// Creates every level of the folder that is missing, quietly. On failure the
// error and the level that failed are written back.
bool CreateFolders(const std::string& folder, std::error_code& error, std::string& failed_level);

// Creates every level of the folder; a last component with a "." in it is
// taken for a file name and ignored. 1 when the folder exists afterwards, 0
// after a notice ("Drive Error" or "Directory Error N") was shown.
int EnsureFolder(const std::string& path);

// The folder as an absolute path with every link and "." or ".." resolved, and
// no trailing "/"; empty for an empty path.
std::string LongFolderPath(const std::string& path);

// The folders searched for read-only data, in order and each once: the
// program folder, the installation's data folder relative to the executable
// (../share/kalvara from bin/, so an installation can be moved), "kalvara"
// below each absolute entry of XDG_DATA_DIRS (colon-separated, as given), the
// data folder configured at build time, and in developer builds the source
// tree's assets.
std::vector<std::string> DataSearchFolders(const std::string& program_folder,
                                           const std::string& executable_folder,
                                           std::string_view xdg_data_dirs = {});

// A read-only data file (help page, picture, History.rtf) by its path below
// the data folders; only a regular file (or a link to one) counts. Empty when
// absent.
std::string FindDataFile(const std::string& program_folder, const std::string& relative_path);

} // namespace kalvara
