#pragma once
// List, find and end processes. The C interface in kalvara/kalvaraproc.h
// offers the same three operations to other programs.

#include "kalvara/kalvaraproc.h"
#include "proc/ProcessSnapshot.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace kalvara::proc {

// Element 0 exists and is empty; elements 1..n are the processes.
using ProcessList = std::vector<ProcEntry>;

// Empties the list to its element 0, then appends the processes in snapshot
// order. 1 when filled; 0 when the processes could not be listed, which is
// also reported on stderr.
std::int32_t procGetList(ProcessList& list, const ProcessSnapshot& snapshot = ProcessSnapshot{});

// Id of the first process whose executable name equals exe_file without
// regard to ASCII case; -1 when none does or the processes could not be listed.
std::int32_t procGetID(std::string_view exe_file,
                       const ProcessSnapshot& snapshot = ProcessSnapshot{});

// Sends SIGKILL to that one process: 1 when sent, 0 otherwise. Ids below 1
// would address process groups or every process, so they give 0 unsent.
std::int32_t procKill(std::int32_t process_id);

} // namespace kalvara::proc
