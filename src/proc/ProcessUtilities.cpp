#include "proc/ProcessUtilities.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <string>
#include <sys/types.h>

namespace kalvara::proc {

namespace {

// The message the companion program's users know for a failed listing.
constexpr const char* SnapshotFailedText = "CreateToolHelp32Snapshot failed";

// ASCII only: executable names are bytes, and the locale must not change
// which process is found.
char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return LowerAscii(x) == LowerAscii(y);
           });
}

} // namespace

std::int32_t procGetList(ProcessList& list, const ProcessSnapshot& snapshot) {
    list.assign(1, ProcEntry{});
    std::string failure;
    const bool listed = snapshot.Walk(
        [&list](const ProcEntry& entry) {
            list.push_back(entry);
            return true;
        },
        failure);
    if (!listed) {
        list.resize(1);
        std::fprintf(stderr, "%s: %s\n", SnapshotFailedText, failure.c_str());
        return 0;
    }
    return 1;
}

std::int32_t procGetID(std::string_view exe_file, const ProcessSnapshot& snapshot) {
    std::int32_t process_id = -1;
    std::string failure;
    const bool listed = snapshot.Walk(
        [&](const ProcEntry& entry) {
            if (EqualIgnoringAsciiCase(entry.szExeFile, exe_file)) {
                process_id = entry.th32ProcessID;
                return false;
            }
            return true;
        },
        failure);
    return listed ? process_id : -1;
}

std::int32_t procKill(std::int32_t process_id) {
    if (process_id < 1) {
        return 0;
    }
    return ::kill(static_cast<pid_t>(process_id), SIGKILL) == 0 ? 1 : 0;
}

} // namespace kalvara::proc
