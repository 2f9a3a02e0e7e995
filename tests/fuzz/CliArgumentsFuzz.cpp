// Fuzzes the whole argument handling of kalvara-cli: the input, split at NUL
// bytes, is the argument list. Every run gets "--home" in a temporary folder
// of its own and runs there, so that whatever the input names is written
// nowhere else; output goes to /dev/null and standard input is empty.

#include "FuzzSupport.h"
#include "cli/Cli.h"
#include "support/TempFolder.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <system_error>

namespace {

using File = std::unique_ptr<std::FILE, decltype(&std::fclose)>;

// Far more words than any command takes tell nothing new about the argument
// handling and only slow the runs down.
constexpr std::ptrdiff_t MostWords = 64;

// The arguments with the program folder inside the run's own folder: an
// input's own --home is taken below it, otherwise one is put in front.
std::vector<std::string> HomedIn(const std::string& folder, std::vector<std::string> words) {
    if (words.size() > 1 && words[0] == "--home") {
        words[1] = folder + "/" + words[1];
    } else if (words[0].rfind("--home=", 0) == 0) {
        words[0] = "--home=" + folder + "/" + words[0].substr(7);
    } else {
        words.insert(words.begin(), {"--home", folder});
    }
    return words;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = kalvara::fuzz::AsText(data, size);
    const std::ptrdiff_t separators = std::count(text.begin(), text.end(), '\0');
    if (separators >= MostWords) {
        return 0;
    }
    const kalvara::test::TempFolder folder;
    std::error_code ignored;
    const std::filesystem::path before = std::filesystem::current_path(ignored);
    std::filesystem::current_path(folder.Path(), ignored);

    const std::vector<std::string> args =
        HomedIn(folder.Path().string(),
                kalvara::fuzz::SplitFields(text, '\0', static_cast<std::size_t>(separators) + 1));
    const File in(std::fopen("/dev/null", "r"), &std::fclose);
    const File sink(std::fopen("/dev/null", "w"), &std::fclose);
    if (in && sink) {
        const int status = kalvara::cli::RunCli(args, {in.get(), sink.get(), sink.get()});
        kalvara::fuzz::Require(status >= 0 && status <= 2,
                               "only 0, 1 and 2 are exit statuses of the command");
    }
    std::filesystem::current_path(before, ignored);
    return 0;
}
