// Fuzzes the whole argument handling of kalvara-cli: the input, split at NUL
// bytes, is the argument list. Every run gets "--home" in a temporary folder
// of its own and runs there, so that whatever the input names is written
// nowhere else; output goes to /dev/null and standard input is empty.

#include "cli/Cli.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace {

std::vector<std::string> SplitAtNul(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> words(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            words.emplace_back();
        } else {
            words.back().push_back(static_cast<char>(data[i]));
        }
    }
    return words;
}

// Far more words than any command takes tell nothing new about the argument
// handling and only slow the runs down.
bool TooLong(const std::vector<std::string>& words) {
    return words.size() > 64;
}

// The arguments with the program folder inside the run's own folder: an
// input's own --home is taken below it, otherwise one is put in front.
std::vector<std::string> HomedIn(const std::string& folder, std::vector<std::string> words) {
    if (words.size() > 1 && words[0] == "--home") {
        words[1] = folder + "/" + words[1];
        return words;
    }
    if (words[0].rfind("--home=", 0) == 0) {
        words[0] = "--home=" + folder + "/" + words[0].substr(7);
        return words;
    }
    words.insert(words.begin(), {"--home", folder});
    return words;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> words = SplitAtNul(data, size);
    if (TooLong(words)) {
        return 0;
    }
    std::string folder = (std::filesystem::temp_directory_path() / "kalvara-fuzz-XXXXXX").string();
    if (::mkdtemp(folder.data()) == nullptr) {
        return 0;
    }
    std::error_code ignored;
    const std::filesystem::path before = std::filesystem::current_path(ignored);
    std::filesystem::current_path(folder, ignored);

    std::vector<std::string> args = HomedIn(folder, std::move(words));
    std::FILE* in = std::fopen("/dev/null", "r");
    std::FILE* sink = std::fopen("/dev/null", "w");
    if (in != nullptr && sink != nullptr) {
        const int status = kalvara::cli::RunCli(args, {in, sink, sink});
        if (status < 0 || status > 2) {
            std::abort(); // only 0, 1 and 2 are exit statuses of the command
        }
    }
    if (in != nullptr) {
        std::fclose(in);
    }
    if (sink != nullptr) {
        std::fclose(sink);
    }
    std::filesystem::current_path(before, ignored);
    std::filesystem::remove_all(folder, ignored);
    return 0;
}
