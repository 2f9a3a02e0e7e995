// The C entry points of libkalvaraproc.so. Nothing may unwind into a C
// caller, so every failure becomes the documented result here.

#include "kalvara/kalvaraproc.h"
#include "proc/ProcessUtilities.h"

#include <cstdlib>
#include <cstring>
#include <exception>
#include <limits>

namespace {

void ReleaseEntries(ProcList& list) {
    std::free(list.entries);
    list.entries = nullptr;
    list.count = 0;
}

} // namespace

extern "C" {

KALVARAPROC_API int32_t procGetList(ProcList* list) {
    if (list == nullptr) {
        return 0;
    }
    ReleaseEntries(*list);
    try {
        kalvara::proc::ProcessList processes;
        const int32_t listed = kalvara::proc::procGetList(processes);
        // Cannot happen while process ids stay below 2^22; a cut list would
        // pass for a complete one, so it is a failure.
        if (processes.size() > static_cast<std::size_t>(std::numeric_limits<int32_t>::max())) {
            return 0;
        }
        // malloc, which reports exhaustion as NULL; procFreeList pairs it with free.
        auto* entries = static_cast<ProcEntry*>(std::malloc(processes.size() * sizeof(ProcEntry)));
        if (entries == nullptr) {
            return 0;
        }
        std::memcpy(entries, processes.data(), processes.size() * sizeof(ProcEntry));
        list->entries = entries;
        list->count = static_cast<int32_t>(processes.size());
        return listed;
    } catch (const std::exception&) {
        return 0;
    }
}

KALVARAPROC_API int32_t procGetID(const char* exeFile) {
    if (exeFile == nullptr) {
        return -1;
    }
    try {
        return kalvara::proc::procGetID(exeFile);
    } catch (const std::exception&) {
        return -1;
    }
}

KALVARAPROC_API int32_t procKill(int32_t processId) {
    return kalvara::proc::procKill(processId);
}

KALVARAPROC_API void procFreeList(ProcList* list) {
    if (list != nullptr) {
        ReleaseEntries(*list);
    }
}

} // extern "C"
