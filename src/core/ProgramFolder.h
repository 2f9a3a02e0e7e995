#pragma once
// Where the program keeps its settings and calendars, worked out once at start.

#include <string>

namespace kalvara {

struct ProgramPaths {
    std::string ProgramFolder; // absolute, ends in "/"
    std::string SettingsFile;  // ProgramFolder + "Zorv.ini"
    std::string OutputFolder;  // ProgramFolder + "PDF/"
    std::string DataFolder;    // what the update flow keeps; ends in "/"
};

// The program folder, in this order: the --home option (when not empty), the
// KALVARA_HOME environment variable, the folder of the executable when it is
// writable and not a system folder, else $XDG_DATA_HOME/kalvara (by default
// ~/.local/share/kalvara). The folder chosen is created. Empty when none of
// them can be created.
std::string ResolveProgramFolder(const std::string& home_option,
                                 const std::string& executable_path);

// The paths below a program folder. Does not touch the disk.
ProgramPaths MakeProgramPaths(const std::string& program_folder);

// Creates every level of the folder; a last component with a "." in it is
// taken for a file name and ignored. 1 when the folder exists afterwards, 0
// after a notice ("Drive Error" or "Directory Error N") was shown.
int EnsureFolder(const std::string& path);

// The folder as an absolute path with every link and "." or ".." resolved, and
// no trailing "/"; empty for an empty path.
std::string LongFolderPath(const std::string& path);

// A read-only data file (help page, picture, History.rtf) by its path below
// the data folder: looked up in the program folder first, then in the
// installed data folder, then in the source tree's assets. Empty when absent.
std::string FindDataFile(const std::string& program_folder, const std::string& relative_path);

} // namespace kalvara
