#include "core/NumberedCalendarFile.h"

#include "core/AtomicFile.h"
#include "core/FileLock.h"
#include "core/SettingsStore.h"
#include "engine/DateText.h"

#include <cstring>

namespace kalvara {

namespace {

constexpr std::int32_t HighestFileNumber = 999;

// "7" as "007", the picture of the file names.
std::string ThreeDigits(std::int32_t number) {
    std::string digits = std::to_string(number);
    return std::string(digits.size() < 3 ? 3 - digits.size() : 0, '0') + digits;
}

std::string NotKeptLine(std::int32_t number, const std::string& why) {
    return "the file number " + ThreeDigits(number) + " was not kept (" + why +
           "); the next calendar may take the same number and replace this one";
}

} // namespace

std::int32_t NextFileNumber(const std::string& stored) {
    // Widened first: a stored 2147483647 must wrap to 1, not overflow.
    const std::int64_t next = std::int64_t{IntegerValue(stored)} + 1;
    if (next > HighestFileNumber || next < 1) {
        return 1;
    }
    return static_cast<std::int32_t>(next);
}

std::string NumberedCalendarPath(const std::string& output_folder, std::int32_t number) {
    std::string path = output_folder;
    if (!path.empty() && path.back() != '/') {
        path += '/';
    }
    return path + ThreeDigits(number) + "Calendar.PDF";
}

std::string FileNumberLockPath(const std::string& settings_file) {
    const std::string target = ResolveLinkChain(settings_file);
    return (target.empty() ? settings_file : target) + ".lock";
}

NumberedCalendarFile TakeNumberedCalendarFile(const std::string& settings_file,
                                              const std::string& output_folder) {
    NumberedCalendarFile file;
    const std::string lock_path = FileNumberLockPath(settings_file);
    const FileLock lock(lock_path);
    file.Number = NextFileNumber(ReadSetting(settings_file, "PDF", "Number", "0"));
    file.Path = NumberedCalendarPath(output_folder, file.Number);
    if (!lock.Held()) {
        // Unguarded, another run could take the same number between our read
        // and our write; rather than pretend, the number is left as it was.
        file.NotKept = NotKeptLine(file.Number,
                                   "cannot lock " + lock_path + ": " + std::strerror(lock.Error()));
        return file;
    }
    const std::string problem =
        TryWriteSetting(settings_file, "PDF", "Number", std::to_string(file.Number));
    if (!problem.empty()) {
        file.NotKept = NotKeptLine(file.Number, problem);
    }
    return file;
}

} // namespace kalvara
