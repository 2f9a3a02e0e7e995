#pragma once
// The numbered calendar files of the output folder: "007Calendar.PDF" and so
// on, numbered 1 to 999 and round again, the number kept in the settings file
// under "PDF"/"Number".

#include <cstdint>
#include <string>

namespace kalvara {

struct NumberedCalendarFile {
    std::int32_t Number = 0;
    std::string Path; // OutputFolder + "007Calendar.PDF"
    // Empty when the settings file now holds Number. Otherwise one line
    // saying why it does not: the next run may then take the same number and
    // replace this file, so the fronts tell the user.
    std::string NotKept;
};

// Reads "PDF"/"Number", advances it and writes it back, all under an
// exclusive lock on a lock file beside the settings file (beside the file a
// symbolic link points to), so that concurrent runs of any front get
// distinct numbers.
NumberedCalendarFile TakeNumberedCalendarFile(const std::string& settings_file,
                                              const std::string& output_folder);

// The number after the stored text: missing or not a number counts as 0, past
// 999 comes 1, and so does anything below 1 (a hand-edited count would give
// names like "-04Calendar.PDF").
std::int32_t NextFileNumber(const std::string& stored);

// OutputFolder + "007" + "Calendar.PDF"; a missing "/" after the folder is added.
std::string NumberedCalendarPath(const std::string& output_folder, std::int32_t number);

// The lock file that guards the number: beside the settings file, or beside
// the file its symbolic links lead to.
std::string FileNumberLockPath(const std::string& settings_file);

} // namespace kalvara
