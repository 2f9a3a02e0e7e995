#pragma once
// The running processes as the kernel lists them under /proc, read one at a
// time so that a search can stop at its first match.

#include "kalvara/kalvaraproc.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace kalvara::proc {

class ProcessSnapshot {
public:
    // Return false to stop the walk.
    using Visitor = std::function<bool(const ProcEntry& entry)>;

    // Tests point the root at a folder laid out like /proc.
    explicit ProcessSnapshot(std::filesystem::path proc_root = "/proc");

    // Visits the processes in the order the kernel lists them. A process that
    // ends while it is being read is left out. False, with a reason, when
    // the root itself cannot be read.
    bool Walk(const Visitor& visit, std::string& failure) const;

    // The file name of the process's executable: the target of "exe" where it
    // is readable, else the first argument of "cmdline" where it agrees with
    // "comm", else "comm". Cut to fit szExeFile without splitting a UTF-8
    // character.
    static std::string ExecutableName(const std::filesystem::path& process_folder);

    // Copies name into the entry's szExeFile as described above.
    static void StoreExecutableName(std::string_view name, ProcEntry& entry);

private:
    // False when the process has ended.
    static bool ReadEntry(const std::filesystem::path& process_folder, std::int32_t process_id,
                          ProcEntry& entry);

    std::filesystem::path root_;
};

} // namespace kalvara::proc
