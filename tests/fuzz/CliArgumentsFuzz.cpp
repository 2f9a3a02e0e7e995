// The input, split at NUL bytes, is kalvara-cli's argument list; each run has its own
// temporary folder as home and working folder, so whatever it names is written nowhere else.

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

    const std::string home = folder.Path().string();
    std::vector<std::string> args =
        kalvara::fuzz::SplitFields(text, '\0', static_cast<std::size_t>(separators) + 1);
    // An input's own home is taken below the run's folder.
    if (args.size() > 1 && args[0] == "--home") {
        args[1] = home + "/" + args[1];
    } else if (args[0].starts_with("--home=")) {
        args[0] = "--home=" + home + "/" + args[0].substr(7);
    } else {
        args.insert(args.begin(), {"--home", home});
    }
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
