#pragma once
// Runs kalvara-cli, either as a separate process (exit status and streams as
// a shell sees them) or in-process through RunCli, and small helpers for
// reading what it printed.

#include <string>
#include <vector>

namespace kalvara::testing {

struct CommandResult {
    int exit_status = -1;
    std::string out;
    std::string err;
};

struct ProcessOptions {
    // "NAME=value" entries added to the current environment.
    std::vector<std::string> extra_environment;
    // Where standard output goes instead of being kept (such as /dev/full).
    std::string out_path;
};

// Runs the built kalvara-cli with the arguments.
CommandResult RunCli(const std::vector<std::string>& args, const ProcessOptions& options = {});

// RunCli of the library on temporary streams, in this process.
CommandResult RunInProcess(const std::vector<std::string>& args, const std::string& input = {});

// A command line written as a shell would take it, words split at single
// spaces; '' stands for an empty word.
std::vector<std::string> Words(const std::string& line);

std::string Contents(const std::string& path);
std::vector<std::string> Lines(const std::string& text);
std::size_t CountOf(const std::string& text, const std::string& what);

} // namespace kalvara::testing
