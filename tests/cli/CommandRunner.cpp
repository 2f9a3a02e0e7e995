#include "CommandRunner.h"

#include "cli/Cli.h"
#include "support/TempFolder.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>

namespace kalvara::testing {

namespace {

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::istringstream in(text);
    for (std::string part; std::getline(in, part, separator);) {
        parts.push_back(part);
    }
    return parts;
}

// A word the shell passes on unchanged, whatever it holds.
std::string Quoted(const std::string& word) {
    std::string quoted = "'";
    for (const char c : word) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

using Stream = std::unique_ptr<std::FILE, decltype(&std::fclose)>;

Stream Open(const std::string& path, const char* mode) {
    Stream stream(std::fopen(path.c_str(), mode), &std::fclose);
    if (!stream) {
        throw std::runtime_error("cannot open " + path);
    }
    return stream;
}

} // namespace

CommandResult RunCli(const std::vector<std::string>& args, const ProcessOptions& options) {
    const test::TempFolder streams;
    const std::string out_path = options.out_path.empty() ? streams / "out" : options.out_path;
    std::vector<std::string> words = options.extra_environment;
    words.push_back(KALVARA_CLI_PATH);
    words.insert(words.end(), args.begin(), args.end());
    std::string command = "env";
    for (const std::string& word : words) {
        command += ' ' + Quoted(word);
    }
    command += " </dev/null >" + Quoted(out_path) + " 2>" + Quoted(streams / "err");
    const int status = std::system(command.c_str());

    CommandResult result;
    result.exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    if (options.out_path.empty()) {
        result.out = Contents(out_path);
    }
    result.err = Contents(streams / "err");
    return result;
}

CommandResult RunInProcess(const std::vector<std::string>& args, const std::string& input) {
    const test::TempFolder streams;
    std::ofstream(streams / "in", std::ios::binary) << input;
    CommandResult result;
    {
        const Stream in = Open(streams / "in", "rb"), out = Open(streams / "out", "wb"),
                     err = Open(streams / "err", "wb");
        result.exit_status = kalvara::cli::RunCli(args, {in.get(), out.get(), err.get()});
    }
    result.out = Contents(streams / "out");
    result.err = Contents(streams / "err");
    return result;
}

std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> words = Split(line, ' ');
    for (std::string& word : words) {
        word = word == "''" ? "" : word;
    }
    return words;
}

std::string Contents(const std::string& path) {
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

std::vector<std::string> Lines(const std::string& text) {
    return Split(text, '\n');
}

std::size_t CountOf(const std::string& text, const std::string& what) {
    std::size_t count = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++count;
    }
    return count;
}

} // namespace kalvara::testing
