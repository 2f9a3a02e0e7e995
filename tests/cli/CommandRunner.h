#pragma once
// Runs kalvara-cli as a separate process and keeps what it printed.

#include <string>
#include <vector>

namespace kalvara::testing {

struct CommandResult {
    int exit_status = -1;
    std::string out;
    std::string err;
};

// Runs the built kalvara-cli with the arguments; extra_environment holds
// "NAME=value" entries added to the current environment.
CommandResult RunCli(const std::vector<std::string>& args,
                     const std::vector<std::string>& extra_environment = {});

} // namespace kalvara::testing
