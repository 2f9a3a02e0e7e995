// Where kalvara-cli writes: standard output that fails, -o - on a pipe, and
// -o targets that must be refused before anything is drawn.

#include "CommandRunner.h"
#include "core/SettingsStore.h"
#include "support/TempFolder.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using kalvara::testing::RunCli;
using kalvara::testing::RunInProcess;

std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

int Lines(const std::string& text) {
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

TEST(StandardOutput, AFullDeviceEndsEveryCommandWithStatus1) {
    kalvara::test::TempFolder home;
    const std::vector<std::vector<std::string>> commands = {
        {"months", "2026"},
        {"weeks", "1920", "9999", "--format", "csv"},
        {"week", "202614"},
        {"month", "2026", "4"},
        {"quarter", "2026", "1", "--format", "json"},
        {"date", "2026-01-01"},
        {"ics", "2026"},
        {"--help"},
        {"--home", home.Path().string(), "generate", "--style", "year", "--year", "2026", "-o",
         "-"},
        {"--home", home.Path().string(), "generate", "--style", "year", "--year", "2026"},
    };
    for (const auto& args : commands) {
        kalvara::testing::ProcessOptions to_full_device;
        to_full_device.out_path = "/dev/full";
        const auto result = RunCli(args, to_full_device);
        EXPECT_EQ(result.exit_status, 1) << ::testing::PrintToString(args);
        EXPECT_EQ(Lines(result.err), 1) << result.err;
        EXPECT_NE(result.err.find("cannot write to standard output: No space left on device"),
                  std::string::npos)
            << result.err;
    }
}

TEST(GenerateOutput, DashWritesThePdfToAPipeAndTakesNoNumber) {
    kalvara::test::TempFolder home;
    const std::string command = std::string(KALVARA_CLI_PATH) + " --home '" + home.Path().string() +
                                "' generate --style month --year 2026 --period 2 -o -";
    std::FILE* pipe = ::popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string pdf;
    char block[4096];
    for (std::size_t got = 0; (got = std::fread(block, 1, sizeof block, pipe)) > 0;) {
        pdf.append(block, got);
    }
    EXPECT_EQ(::pclose(pipe), 0);
    EXPECT_EQ(pdf.rfind("%PDF-", 0), 0u);
    EXPECT_NE(pdf.find("%%EOF"), std::string::npos);
    EXPECT_FALSE(fs::exists(home / "-"));
    EXPECT_FALSE(fs::exists(home / "PDF/001Calendar.PDF"));
    EXPECT_EQ(kalvara::ReadSetting(home / "Zorv.ini", "PDF", "Number", "none"), "none");
}

// generate -o and ics -o refuse the same targets, with one line and status 2,
// and leave them as they were.
TEST(OutputFile, RefusesWhatIsNotAWritableRegularFile) {
    kalvara::test::TempFolder home;
    const std::string fifo = home / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string protected_file = home / "protected.pdf";
    std::ofstream(protected_file) << "keep me";
    fs::permissions(protected_file, fs::perms::owner_read | fs::perms::group_read);
    fs::create_directory(home / "folder");
    fs::create_symlink(fifo, home / "link-to-fifo");

    const std::vector<std::pair<std::string, std::string>> targets = {
        {fifo, "not a regular file"},
        {home / "link-to-fifo", "not a regular file"},
        {"/dev/null", "not a regular file"},
        {home / "folder", "is a folder"},
        {protected_file, "read-only"},
        {home / "missing/out.pdf", "there is no folder"},
        {home / "protected.pdf/below", "Not a directory"},
        {home / std::string(300, 'x'), "File name too long"},
    };
    for (const auto& [target, reason] : targets) {
        for (const std::vector<std::string>& command :
             {std::vector<std::string>{"generate", "--style", "year", "--year", "2026"},
              std::vector<std::string>{"ics", "2026"}}) {
            std::vector<std::string> args = {"--home", home.Path().string()};
            args.insert(args.end(), command.begin(), command.end());
            args.insert(args.end(), {"-o", target});
            const auto result = RunInProcess(args);
            EXPECT_EQ(result.exit_status, 2) << target;
            EXPECT_EQ(result.out, "") << target;
            EXPECT_EQ(Lines(result.err), 1) << result.err;
            EXPECT_NE(result.err.find("cannot write " + target + ": "), std::string::npos)
                << result.err;
            EXPECT_NE(result.err.find(reason), std::string::npos) << result.err;
        }
    }
    EXPECT_EQ(Contents(protected_file), "keep me");
    EXPECT_EQ(fs::status(fifo).type(), fs::file_type::fifo);
    EXPECT_TRUE(fs::is_empty(home / "folder"));
    EXPECT_FALSE(fs::exists(home / "missing"));
    EXPECT_FALSE(fs::exists(home / "PDF/001Calendar.PDF"));
}

TEST(OutputFile, RefusesAFolderTheUserCannotWrite) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root may write into any folder";
    }
    kalvara::test::TempFolder home;
    fs::create_directory(home / "locked");
    fs::permissions(home / "locked", fs::perms::owner_read | fs::perms::owner_exec);
    const auto result = RunInProcess({"--home", home.Path().string(), "generate", "--style", "year",
                                      "--year", "2026", "-o", home / "locked/out.pdf"});
    EXPECT_EQ(result.exit_status, 2);
    EXPECT_NE(result.err.find("is not writable"), std::string::npos) << result.err;
}

// A link is followed: the file it points to gets the calendar, the link stays.
TEST(OutputFile, WritesThroughASymbolicLink) {
    kalvara::test::TempFolder home;
    const std::string target = home / "real.ics";
    const std::string link = home / "link.ics";
    std::ofstream(target) << "old";
    fs::create_symlink(target, link);
    const auto result = RunInProcess({"ics", "2026", "-o", link});
    EXPECT_EQ(result.exit_status, 0) << result.err;
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(Contents(target).rfind("BEGIN:VCALENDAR", 0), 0u);

    const std::string pdf = home / "real.pdf";
    std::ofstream(pdf) << "old";
    fs::create_symlink(pdf, home / "link.pdf");
    const auto generated = RunInProcess({"--home", home.Path().string(), "generate", "--style",
                                         "year", "--year", "2026", "-o", home / "link.pdf"});
    EXPECT_EQ(generated.exit_status, 0) << generated.err;
    EXPECT_EQ(generated.out, home / "link.pdf" + "\n");
    EXPECT_TRUE(fs::is_symlink(home / "link.pdf"));
    EXPECT_EQ(Contents(pdf).rfind("%PDF-", 0), 0u);
}

} // namespace
