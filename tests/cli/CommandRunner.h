#pragma once
// Runs the built kalvara-cli as a shell would (exit status and streams as a
// user sees them), and small helpers for reading what it printed.

#include <string>
#include <vector>

namespace kalvara::testing {

struct CommandResult {
    int exit_status = -1;
    std::string out;
    std::string err;
};

// Initialised members, so that a caller names only those it sets.
struct ProcessOptions {
    std::string input = {};
    // "NAME=value" entries added to the current environment.
    std::vector<std::string> extra_environment = {};
    // Where standard output goes instead of being kept (such as /dev/full).
    std::string out_path = {};
};

CommandResult RunCli(const std::vector<std::string>& args, const ProcessOptions& options = {});

// A command line written as a shell would take it, words split at single
// spaces; '' stands for an empty word.
std::vector<std::string> Words(const std::string& line);

std::string Contents(const std::string& path);
std::vector<std::string> Lines(const std::string& text);

} // namespace kalvara::testing
