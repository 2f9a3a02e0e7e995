// Where kalvara-cli writes: a file or standard output, standard output that
// fails, -o - on a pipe, and -o targets that must be refused before anything
// is drawn.

#include "CommandRunner.h"
#include "core/SettingsStore.h"
#include "support/TempFolder.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using kalvara::testing::Contents;
using kalvara::testing::CountOf;
using kalvara::testing::Lines;
using kalvara::testing::RunInProcess;
using kalvara::testing::Words;

class OutputTarget : public ::testing::Test {
protected:
    // The temporary folder's path holds no spaces, so it can be one word.
    std::string Home() const { return "--home " + home_.Path().string() + " "; }

    kalvara::test::TempFolder home_;
};

TEST_F(OutputTarget, IcsGoesToTheFileOrStandardOutput) {
    const std::string file = home_ / "2026.ics";
    const auto result = RunInProcess({"ics", "2026", "2027", "-o", file});
    EXPECT_EQ(result.exit_status, 0) << result.err;
    EXPECT_EQ(result.out, file + "\n");
    const std::string written = Contents(file);
    EXPECT_EQ(CountOf(written, "BEGIN:VEVENT"), 52u + 52u + 24u);
    EXPECT_EQ(CountOf(written, "\r\n"), CountOf(written, "\n"));

    const std::string weeks = RunInProcess({"ics", "2028", "--weeks", "-o", "-"}).out;
    EXPECT_EQ(CountOf(weeks, "BEGIN:VEVENT"), 53u);
    EXPECT_EQ(CountOf(weeks, "SUMMARY:Broadcast week"), 53u);
    const std::string months = RunInProcess({"ics", "2028", "--months"}).out;
    EXPECT_EQ(CountOf(months, "BEGIN:VEVENT"), 12u);
    EXPECT_EQ(CountOf(months, "SUMMARY:Broadcast week"), 0u);
}

TEST_F(OutputTarget, AFullDeviceEndsEveryCommandWithStatus1) {
    kalvara::testing::ProcessOptions to_full_device;
    to_full_device.out_path = "/dev/full";
    for (const std::string& line : std::vector<std::string>{
             "months 2026", "weeks 1920 9999 --format csv", "week 202614", "month 2026 4",
             "quarter 2026 1 --format json", "date 2026-01-01", "ics 2026", "--help",
             Home() + "generate --style year --year 2026 -o -",
             Home() + "generate --style year --year 2026"}) {
        const auto result = kalvara::testing::RunCli(Words(line), to_full_device);
        EXPECT_EQ(result.exit_status, 1) << line;
        EXPECT_EQ(Lines(result.err).size(), 1u) << result.err;
        EXPECT_NE(result.err.find("cannot write to standard output: No space left on device"),
                  std::string::npos)
            << result.err;
    }
}

TEST_F(OutputTarget, DashWritesThePdfToAPipeAndTakesNoNumber) {
    const std::string command = std::string(KALVARA_CLI_PATH) + " " + Home() +
                                "generate --style month --year 2026 --period 2 -o -";
    std::unique_ptr<std::FILE, decltype(&::pclose)> pipe(::popen(command.c_str(), "r"), &::pclose);
    ASSERT_NE(pipe, nullptr);
    std::string pdf;
    char block[4096];
    for (std::size_t got = 0; (got = std::fread(block, 1, sizeof block, pipe.get())) > 0;) {
        pdf.append(block, got);
    }
    EXPECT_EQ(::pclose(pipe.release()), 0);
    EXPECT_EQ(pdf.rfind("%PDF-", 0), 0u);
    EXPECT_NE(pdf.find("%%EOF"), std::string::npos);
    EXPECT_FALSE(fs::exists(home_ / "-"));
    EXPECT_FALSE(fs::exists(home_ / "PDF/001Calendar.PDF"));
    EXPECT_EQ(kalvara::ReadSetting(home_ / "Zorv.ini", "PDF", "Number", "none"), "none");
}

// generate -o and ics -o refuse the same targets, with one line and status 2,
// and leave them as they were.
TEST_F(OutputTarget, RefusesWhatIsNotAWritableRegularFile) {
    const std::string fifo = home_ / "fifo", protected_file = home_ / "protected.pdf";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::ofstream(protected_file) << "keep me";
    fs::permissions(protected_file, fs::perms::owner_read | fs::perms::group_read);
    fs::create_directory(home_ / "folder");
    fs::create_symlink(fifo, home_ / "link-to-fifo");

    const std::vector<std::pair<std::string, std::string>> targets = {
        {fifo, "not a regular file"},
        {home_ / "link-to-fifo", "not a regular file"},
        {"/dev/null", "not a regular file"},
        {home_ / "folder", "is a folder"},
        {protected_file, "read-only"},
        {home_ / "missing/out.pdf", "there is no folder"},
        {home_ / "protected.pdf/below", "Not a directory"},
        {home_ / std::string(300, 'x'), "File name too long"}};
    for (const auto& [target, reason] : targets) {
        for (const std::string command : {"generate --style year --year 2026", "ics 2026"}) {
            const auto result = RunInProcess(Words(Home() + command + " -o " + target));
            EXPECT_EQ(result.exit_status, 2) << target;
            EXPECT_EQ(result.out, "") << target;
            EXPECT_EQ(Lines(result.err).size(), 1u) << result.err;
            EXPECT_NE(result.err.find("cannot write " + target + ": "), std::string::npos);
            EXPECT_NE(result.err.find(reason), std::string::npos) << result.err;
        }
    }
    EXPECT_EQ(Contents(protected_file), "keep me");
    EXPECT_EQ(fs::status(fifo).type(), fs::file_type::fifo);
    EXPECT_TRUE(fs::is_empty(home_ / "folder"));
    EXPECT_FALSE(fs::exists(home_ / "missing"));
    EXPECT_FALSE(fs::exists(home_ / "PDF/001Calendar.PDF"));
}

TEST_F(OutputTarget, RefusesAFolderTheUserCannotWrite) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root may write into any folder";
    }
    fs::create_directory(home_ / "locked");
    fs::permissions(home_ / "locked", fs::perms::owner_read | fs::perms::owner_exec);
    const auto result =
        RunInProcess(Words(Home() + "generate --style year --year 2026 -o " + home_ / "locked/x"));
    EXPECT_EQ(result.exit_status, 2);
    EXPECT_NE(result.err.find("is not writable"), std::string::npos) << result.err;
}

// A link is followed: the file it points to gets the output, the link stays.
TEST_F(OutputTarget, WritesThroughASymbolicLink) {
    for (const auto& [command, name, start] :
         {std::tuple<std::string, std::string, std::string>{"ics 2026", "ics", "BEGIN:VCALENDAR"},
          {"generate --style year --year 2026", "pdf", "%PDF-"}}) {
        const std::string target = home_ / ("real." + name), link = home_ / ("link." + name);
        std::ofstream(target) << "old";
        fs::create_symlink(target, link);
        const auto result = RunInProcess(Words(Home() + command + " -o " + link));
        EXPECT_EQ(result.exit_status, 0) << result.err;
        EXPECT_EQ(result.out, link + "\n");
        EXPECT_TRUE(fs::is_symlink(link));
        EXPECT_EQ(Contents(target).rfind(start, 0), 0u);
    }
}

} // namespace
