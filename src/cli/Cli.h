#pragma once
// The whole of `kalvara-cli` behind one call, so that tests and the fuzz
// target run it in-process with streams of their own.

#include "cli/CommandIo.h"

#include <string>
#include <vector>

namespace kalvara::cli {

// args are the words after the program name. Returns the exit status: 0
// done, 1 nothing (or not everything) could be written, 2 bad input. Never
// throws and never ends the process.
int RunCli(const std::vector<std::string>& args, const CommandIo& io);

} // namespace kalvara::cli
