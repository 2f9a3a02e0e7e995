#include "CommandRunner.h"

#include "cli/Cli.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace kalvara::testing {

namespace {

std::string ReadAndRemove(const std::string& path) {
    std::string text;
    {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream buffer;
        buffer << in.rdbuf();
        text = buffer.str();
    }
    std::filesystem::remove(path);
    return text;
}

std::string TemporaryFile() {
    std::string path = (std::filesystem::temp_directory_path() / "kalvara-cli-XXXXXX").string();
    const int fd = ::mkstemp(path.data());
    if (fd < 0) {
        throw std::runtime_error("cannot create a temporary file");
    }
    ::close(fd);
    return path;
}

} // namespace

CommandResult RunCli(const std::vector<std::string>& args, const ProcessOptions& options) {
    const std::string in_path = TemporaryFile();
    std::ofstream(in_path, std::ios::binary) << options.input;
    const std::string out_path = options.out_path.empty() ? TemporaryFile() : options.out_path;
    const std::string err_path = TemporaryFile();

    std::vector<std::string> words = {KALVARA_CLI_PATH};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);

    std::vector<std::string> environment_words(options.extra_environment);
    for (char** entry = environ; *entry != nullptr; ++entry) {
        environment_words.emplace_back(*entry);
    }
    std::vector<char*> envp;
    for (std::string& word : environment_words) {
        envp.push_back(word.data());
    }
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, in_path.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out_path.c_str(), O_WRONLY | O_TRUNC, 0);
    posix_spawn_file_actions_addopen(&actions, 2, err_path.c_str(), O_WRONLY | O_TRUNC, 0);
    pid_t pid = 0;
    const int spawned = ::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);

    CommandResult result;
    if (spawned == 0) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        result.exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    if (options.out_path.empty()) {
        result.out = ReadAndRemove(out_path);
    }
    result.err = ReadAndRemove(err_path);
    std::filesystem::remove(in_path);
    return result;
}

namespace {

std::string ReadBack(std::FILE* stream) {
    std::string text;
    std::rewind(stream);
    char block[65536];
    std::size_t got = 0;
    while ((got = std::fread(block, 1, sizeof block, stream)) > 0) {
        text.append(block, got);
    }
    std::fclose(stream);
    return text;
}

} // namespace

CommandResult RunInProcess(const std::vector<std::string>& args, const std::string& input) {
    std::FILE* in = std::tmpfile();
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    if (in == nullptr || out == nullptr || err == nullptr) {
        throw std::runtime_error("cannot create temporary streams");
    }
    std::fwrite(input.data(), 1, input.size(), in);
    std::rewind(in);
    CommandResult result;
    result.exit_status = kalvara::cli::RunCli(args, {in, out, err});
    std::fclose(in);
    result.out = ReadBack(out);
    result.err = ReadBack(err);
    return result;
}

} // namespace kalvara::testing
