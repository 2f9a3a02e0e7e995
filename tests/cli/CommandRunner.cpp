#include "CommandRunner.h"

#include "cli/Cli.h"
#include "support/TempFolder.h"

#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <memory>
#include <spawn.h>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>

extern char** environ;

namespace kalvara::testing {

namespace {

std::vector<char*> NullTerminated(std::vector<std::string>& words) {
    std::vector<char*> pointers;
    for (std::string& word : words) {
        pointers.push_back(word.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

using Stream = std::unique_ptr<std::FILE, decltype(&std::fclose)>;

Stream TemporaryStream() {
    Stream stream(std::tmpfile(), &std::fclose);
    if (!stream) {
        throw std::runtime_error("cannot create a temporary stream");
    }
    return stream;
}

std::string ReadBack(std::FILE* stream) {
    std::string text;
    std::rewind(stream);
    char block[65536];
    for (std::size_t got = 0; (got = std::fread(block, 1, sizeof block, stream)) > 0;) {
        text.append(block, got);
    }
    return text;
}

} // namespace

CommandResult RunCli(const std::vector<std::string>& args, const ProcessOptions& options) {
    const test::TempFolder streams;
    std::ofstream(streams / "in", std::ios::binary) << options.input;
    const std::string out_path = options.out_path.empty() ? streams / "out" : options.out_path;

    std::vector<std::string> words = {KALVARA_CLI_PATH};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<std::string> environment(options.extra_environment);
    for (char** entry = environ; *entry != nullptr; ++entry) {
        environment.emplace_back(*entry);
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, (streams / "in").c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    posix_spawn_file_actions_addopen(&actions, 2, (streams / "err").c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid = 0;
    const int spawned =
        ::posix_spawn(&pid, words[0].c_str(), &actions, nullptr, NullTerminated(words).data(),
                      NullTerminated(environment).data());
    posix_spawn_file_actions_destroy(&actions);

    CommandResult result;
    if (spawned == 0) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        result.exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    if (options.out_path.empty()) {
        result.out = Contents(out_path);
    }
    result.err = Contents(streams / "err");
    return result;
}

CommandResult RunInProcess(const std::vector<std::string>& args, const std::string& input) {
    const Stream in = TemporaryStream(), out = TemporaryStream(), err = TemporaryStream();
    std::fwrite(input.data(), 1, input.size(), in.get());
    std::rewind(in.get());
    CommandResult result;
    result.exit_status = kalvara::cli::RunCli(args, {in.get(), out.get(), err.get()});
    result.out = ReadBack(out.get());
    result.err = ReadBack(err.get());
    return result;
}

std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> words;
    std::istringstream in(line);
    for (std::string word; std::getline(in, word, ' ');) {
        words.push_back(word == "''" ? "" : word);
    }
    return words;
}

std::string Contents(const std::string& path) {
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

std::size_t CountOf(const std::string& text, const std::string& what) {
    std::size_t count = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++count;
    }
    return count;
}

} // namespace kalvara::testing
