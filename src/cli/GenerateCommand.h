#pragma once
// `kalvara-cli generate`: writes one calendar PDF.

#include "cli/CommandIo.h"
#include "core/ProgramFolder.h"

#include <optional>
#include <string>

namespace kalvara::cli {

// The words of the command line, checked by RunGenerateCommand.
struct GenerateRequest {
    std::string Style;
    std::string Year;
    std::string Period;
    std::string Output; // empty: the next numbered file; "-": standard output
    std::optional<bool> Quarters;
};

// paths say where the settings file and the numbered calendars live.
// Returns the exit status.
int RunGenerateCommand(const GenerateRequest& request, const ProgramPaths& paths,
                       const CommandIo& io);

} // namespace kalvara::cli
