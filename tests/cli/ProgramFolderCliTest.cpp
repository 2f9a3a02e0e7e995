// Where `kalvara-cli generate` keeps its files, seen from outside the process.

#include "CommandRunner.h"
#include "support/TempFolder.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;
using kalvara::test::TempFolder;
using kalvara::testing::RunCli;

// Nothing of the machine's own environment decides: the user's home is the
// temporary folder and no folder variable is set.
kalvara::testing::ProcessOptions IsolatedEnvironment(const TempFolder& temp) {
    kalvara::testing::ProcessOptions options;
    options.extra_environment = {"HOME=" + temp.File("home"), "KALVARA_HOME=", "XDG_CONFIG_HOME=",
                                 "XDG_CACHE_HOME=", "XDG_DATA_HOME="};
    return options;
}

const std::vector<std::string> YearCalendar = {"generate", "--style", "year", "--year", "2026"};

TEST(CliProgramFolder, CalendarsGoToTheCacheAndTheNumberToTheConfigFolder) {
    TempFolder temp;
    fs::create_directories(temp.File("home"));
    const auto result = RunCli(YearCalendar, IsolatedEnvironment(temp));
    ASSERT_EQ(result.exit_status, 0) << result.err;
    EXPECT_EQ(result.out, temp.File("home/.cache/kalvara/PDF/001Calendar.PDF") + "\n");
    EXPECT_TRUE(fs::is_regular_file(temp.File("home/.config/kalvara/Zorv.ini")));
}

// Whatever the reason, one line naming the folder, never an abort.
TEST(CliProgramFolder, AnUnusableHomeFolderIsOneLineAndStatus2) {
    TempFolder temp;
    std::ofstream(temp.File("plain")) << "x";
    fs::create_directory_symlink(temp.File("loop-a"), temp.File("loop-b"));
    fs::create_directory_symlink(temp.File("loop-b"), temp.File("loop-a"));
    for (const std::string& home :
         {temp.File("plain"), temp.File("plain/below"), temp.File("loop-a/x"),
          temp.File(std::string(256, 'n')), std::string()}) {
        std::vector<std::string> args = {"--home", home};
        args.insert(args.end(), YearCalendar.begin(), YearCalendar.end());
        const auto result = RunCli(args, IsolatedEnvironment(temp));
        EXPECT_EQ(result.exit_status, 2) << home;
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(kalvara::testing::Lines(result.err).size(), 1u) << result.err;
        EXPECT_NE(result.err.find(home), std::string::npos) << result.err;
    }
}

} // namespace
