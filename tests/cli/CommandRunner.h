#pragma once
// Runs the built kalvara-cli as a shell would (exit status and streams as a
// user sees them), and small helpers for reading what it printed.

#include "support/TempFolder.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace kalvara::testing {

struct CommandResult {
    int exit_status = -1;
    std::string out;
    std::string err;
};

struct ProcessOptions {
    std::string input = {};
    // "NAME=value" entries added to the current environment.
    std::vector<std::string> extra_environment = {};
    // Where standard output goes instead of being kept (such as /dev/full).
    std::string out_path = {};
};

inline std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::istringstream in(text);
    for (std::string part; std::getline(in, part, separator);) {
        parts.push_back(part);
    }
    return parts;
}

inline std::vector<std::string> Lines(const std::string& text) {
    return Split(text, '\n');
}

inline std::string Contents(const std::string& path) {
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

// A command line written as a shell would take it, words split at single
// spaces; '' stands for an empty word.
inline std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> words = Split(line, ' ');
    std::replace(words.begin(), words.end(), std::string("''"), std::string());
    return words;
}

// A word the shell passes on unchanged, whatever it holds.
inline std::string Quoted(const std::string& word) {
    std::string quoted = "'";
    for (const char c : word) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

inline CommandResult RunCli(const std::vector<std::string>& args,
                            const ProcessOptions& options = {}) {
    const test::TempFolder streams;
    std::ofstream(streams / "in", std::ios::binary) << options.input;
    const std::string out_path = options.out_path.empty() ? streams / "out" : options.out_path;
    std::vector<std::string> words = options.extra_environment;
    words.push_back(KALVARA_CLI_PATH);
    words.insert(words.end(), args.begin(), args.end());
    std::string command = "env";
    for (const std::string& word : words) {
        command += ' ' + Quoted(word);
    }
    command +=
        " <" + Quoted(streams / "in") + " >" + Quoted(out_path) + " 2>" + Quoted(streams / "err");
    const int status = std::system(command.c_str());

    return {WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status),
            options.out_path.empty() ? Contents(out_path) : "", Contents(streams / "err")};
}

} // namespace kalvara::testing
