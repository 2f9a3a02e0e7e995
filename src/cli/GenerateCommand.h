#pragma once
// `kalvara-cli generate`: writes one calendar PDF.

#include "core/ProgramFolder.h"

#include <string>
#include <vector>

namespace kalvara::cli {

// args are the words after "generate"; paths say where the settings file and
// the numbered calendars live. Returns the exit status.
int RunGenerateCommand(const std::vector<std::string>& args, const ProgramPaths& paths);

} // namespace kalvara::cli
