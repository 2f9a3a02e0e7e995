#pragma once
// `kalvara-cli generate`: writes one calendar PDF.

#include <string>
#include <vector>

namespace kalvara::cli {

// args are the words after "generate"; program_folder is where the settings
// file and the numbered calendars live. Returns the exit status.
int RunGenerateCommand(const std::vector<std::string>& args, const std::string& program_folder);

} // namespace kalvara::cli
