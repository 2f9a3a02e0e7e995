// kalvara-cli as a whole, and the commands that write files: generate and
// ics, against a temporary program folder.

#include "CommandRunner.h"
#include "PdfReadback.h"
#include "core/SettingsStore.h"
#include "support/TempFolder.h"

#include <algorithm>
#include <filesystem>
#include <fmt/format.h>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <tuple>

namespace kalvara {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using testing::Lines;
using testing::RunCli;
using testing::Words;

class CommandLine : public ::testing::Test {
protected:
    // The temporary folder's path holds no spaces, so it can be one word.
    std::string Home() const { return "--home " + home_.Path().string() + " "; }
    testing::CommandResult Generate(const std::string& line) const {
        return RunCli(Words(Home() + "generate " + line));
    }
    std::string Pdf(int n) const { return home_ / fmt::format("PDF/{:03}Calendar.PDF", n); }
    std::string Number() const { return ReadSetting(home_ / "Zorv.ini", "PDF", "Number", "none"); }
    static bool FileShows(const std::string& file, const std::string& text) {
        return test::ReadPdfTrace(file).Pages.at(0).FindText(text) != nullptr;
    }

    test::TempFolder home_;
};

// No refused run takes a file number or writes a file.
TEST_F(CommandLine, RefusesBadInputWithOneLineAndStatus2) {
    // A file where the calendar folder should be, and a program folder behind a
    // link loop.
    std::ofstream(home_ / "PDF") << "in the way";
    fs::create_directory_symlink(home_ / "loop-a", home_ / "loop-b");
    fs::create_directory_symlink(home_ / "loop-b", home_ / "loop-a");
    const std::string generate = Home() + "generate ",
                      month = generate + "--style month --year 2025";
    // Dates in broadcast December 1919 and broadcast year 10000 among them.
    // clang-format off
    const std::vector<std::string> bad = {
        "months 1919", "months 10000", "months 2026x", "months ''", "months", "months 2020 2021 2022",
        "weeks 2026 2025", "weeks -5", "weeks 2026 --format xml", "weeks 2026 --format",
        "weeks 2026 --verbose", "fly", "--bogus months 2026", "--home", "--home= months 2026",
        "date 2026-02-30", "date 13/01/2026", "date yesterday", "date 2026-01-01 --format xml",
        "date 1919-12-28", "date 9999-12-31", "week 202653", "week 2026-W53", "week 202600",
        "week 202854", "week 191953", "week 2026W14", "week 2026-14", "week 2026-W1", "week +20261",
        "week", "month 2026 0", "month 2026 13", "month 2026", "month 1919 1", "month 2026 4 5",
        "quarter 2026 5", "quarter 2026 1 --format xml", "ics", "ics 2026 2025",
        "ics 2026 2027 2028", "ics 2026 --weeks --months", "ics 2026 --days", "ics 2026 -o ''",
        generate, generate + "--year 2025", generate + "--style month",
        generate + "--style weekly --year 2025", generate + "--style 7 --year 2025",
        generate + "--style year --year 20x5",
        generate + "--style year --year -2025", generate + "--style year --year ''",
        generate + "--style month --year", month + " --period 0", month + " --period 13",
        month + " --period march", month + " --colour", month + " extra", month + " -o ''", month,
        "--home " + home_ / "loop-a/x" + " generate --style year --year 2025"};
    // clang-format on
    for (const std::string& line : bad) {
        SCOPED_TRACE(line);
        const auto result = RunCli(Words(line));
        EXPECT_EQ(result.exit_status, 2);
        EXPECT_EQ(result.out, "");
        EXPECT_TRUE(!result.err.empty() && result.err.find('\n') == result.err.size() - 1)
            << result.err;
    }
    EXPECT_EQ(Number(), "none");
    EXPECT_TRUE(fs::is_regular_file(home_ / "PDF"));
    // Without a command the help goes to stderr.
    EXPECT_EQ(RunCli({}).exit_status, 2);
}

TEST_F(CommandLine, HelpAndVersion) {
    EXPECT_EQ(RunCli({"--version"}).out, "5.3.0.0\n");
    for (const std::string command :
         {"", "months ", "weeks ", "week ", "month ", "quarter ", "date ", "generate ", "ics "}) {
        const auto result = RunCli(Words(command + "--help"));
        EXPECT_EQ(result.exit_status, 0) << command;
        EXPECT_THAT(result.out, HasSubstr("\nUsage: kalvara-cli " + command));
    }
    // After "--" a word that looks like an option is an argument.
    EXPECT_EQ(RunCli({"date", "--format", "csv", "--", "--help"}).err,
              "kalvara-cli: date: '--help' is not a date (use 2026-01-01 or 01/01/2026)\n");
}

TEST_F(CommandLine, AFullDeviceEndsEveryCommandWithStatus1) {
    for (const std::string& line : std::vector<std::string>{
             "months 2026", "weeks 1920 9999 --format csv", "week 202614", "month 2026 4",
             "quarter 2026 1 --format json", "date 2026-01-01", "ics 2026", "--help",
             Home() + "generate --style year --year 2026 -o -",
             Home() + "generate --style year --year 2026"}) {
        const auto result = RunCli(Words(line), {.out_path = "/dev/full"});
        EXPECT_EQ(result.exit_status, 1) << line;
        EXPECT_THAT(Lines(result.err), ElementsAre(HasSubstr("cannot write to standard output: "
                                                             "No space left on device")));
    }
}

// Each style by name and number, told apart by its pages and a text only it
// prints, each run taking the next numbered file.
TEST_F(CommandLine, GenerateWritesTheNextNumberedFileAndSaysOnceWhenANumberIsNotKept) {
    // clang-format off
    const std::vector<std::tuple<std::string, std::string, std::size_t, std::string>> styles = {
        {"month", "1", 12, "January 2023*"}, {"quarter", "2", 4, "*January 2023*"}, {"year", "3", 1, "Wk"},
        {"3years", "4", 1, "THREE YEAR STANDARD BROADCAST CALENDAR"}, {"strips", "5", 1, "January*"},
        {"planning", "6", 1, "BROADCAST CALENDAR 2023"}};
    // clang-format on
    int number = 0;
    for (const auto& [name, digit, pages, text] : styles) {
        for (const auto& style : {name, digit}) {
            // The period is all whether it is given or not.
            const auto run = Generate("--style " + style + " --year 2023" +
                                      (style == digit ? " --period all" : ""));
            EXPECT_EQ(run.out, Pdf(++number) + "\n") << style << run.err;
            EXPECT_EQ(test::ReadPdfTrace(Pdf(number)).Pages.size(), pages) << style;
            EXPECT_TRUE(FileShows(Pdf(number), text)) << style;
        }
    }
    EXPECT_EQ(Number(), "12");

    // A number that could not be kept would let the next run replace the
    // calendar, so the run that wrote it ends with status 1.
    fs::permissions(home_ / "Zorv.ini", fs::perms::owner_read | fs::perms::group_read);
    const auto run = Generate("--style year --year 2025");
    EXPECT_EQ(run.exit_status, 1);
    EXPECT_EQ(run.out, Pdf(13) + "\n");
    EXPECT_THAT(Lines(run.err), ElementsAre(::testing::StartsWith(
                                    "kalvara-cli: generate: the file number 013 was not kept")));
    EXPECT_TRUE(fs::is_regular_file(Pdf(13)));
}

// Also options with "=", a name in capitals and one month; a file named with
// -o, or standard output, takes no number. Each run replaces the file, so a
// run that failed leaves the texts of the one before. A link is followed and
// stays a link.
TEST_F(CommandLine, GenerateQuartersFollowTheSettingsUnlessOverridden) {
    WriteSetting(home_ / "Zorv.ini", "Preferences", "Quarters", "1");
    const std::string file = home_ / "q.pdf", link = home_ / "link.pdf";
    std::ofstream(file) << "old";
    fs::create_symlink(file, link);
    EXPECT_EQ(Generate("--style=MONTH --year=2025 --period=3 -o " + link).out, link + "\n");
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(test::ReadPdfTrace(file).Pages.size(), 1u);
    EXPECT_TRUE(FileShows(file, "9/1Q09"));
    Generate("--style month --year 2025 --period 3 --no-quarters -o " + file);
    EXPECT_TRUE(FileShows(file, "9"));
    EXPECT_FALSE(FileShows(file, "9/1Q09"));
    WriteSetting(home_ / "Zorv.ini", "Preferences", "Quarters", "0");
    Generate("--style year --year 2025 --quarters -o " + file);
    EXPECT_TRUE(FileShows(file, "1-1Q01"));

    const auto to_stdout = Generate("--style month --year 2025 --period 2 -o -");
    EXPECT_TRUE(to_stdout.out.starts_with("%PDF-") && to_stdout.out.ends_with("%%EOF\n"));
    EXPECT_EQ(Number(), "none");
    EXPECT_FALSE(fs::exists(Pdf(1)));
}

// With nothing of the machine's own environment deciding: the user's home is
// a temporary folder and no folder variable is set.
TEST_F(CommandLine, CalendarsGoToTheCacheAndTheNumberToTheConfigFolder) {
    fs::create_directories(home_ / "home");
    const auto result =
        RunCli(Words("generate --style year --year 2026"),
               {.extra_environment = {"HOME=" + home_ / "home", "KALVARA_HOME=", "XDG_CONFIG_HOME=",
                                      "XDG_CACHE_HOME=", "XDG_DATA_HOME="}});
    ASSERT_EQ(result.exit_status, 0) << result.err;
    EXPECT_EQ(result.out, home_ / "home/.cache/kalvara/PDF/001Calendar.PDF" + "\n");
    EXPECT_TRUE(fs::is_regular_file(home_ / "home/.config/kalvara/Zorv.ini"));
}

// The events themselves are the iCalendar writer's; here where they go, a
// link followed.
TEST_F(CommandLine, IcsGoesToTheFileOrStandardOutput) {
    const auto count = [](const std::string& ics, const std::string& start) {
        return std::ranges::count_if(Lines(ics),
                                     [&](const auto& line) { return line.starts_with(start); });
    };
    const std::string file = home_ / "2026.ics", link = home_ / "link";
    std::ofstream(file) << "old";
    fs::create_symlink(file, link);
    EXPECT_EQ(RunCli({"ics", "2026", "2027", "-o", link}).out, link + "\n");
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(count(testing::Contents(file), "BEGIN:VEVENT"), 52 + 52 + 24);
    const std::string weeks = RunCli({"ics", "2028", "--weeks", "-o", "-"}).out,
                      months = RunCli({"ics", "2028", "--months"}).out;
    EXPECT_EQ(count(weeks, "BEGIN:VEVENT"), 53);
    EXPECT_EQ(count(weeks, "SUMMARY:Broadcast week"), 53);
    EXPECT_EQ(count(months, "BEGIN:VEVENT"), 12);
    EXPECT_EQ(count(months, "SUMMARY:Broadcast week"), 0);
}

// generate -o and ics -o refuse the same targets before anything is drawn,
// and leave them as they were.
TEST_F(CommandLine, OutputThatIsNotAWritableRegularFileIsRefused) {
    const std::string fifo = home_ / "fifo", protected_file = home_ / "protected.pdf";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::ofstream(protected_file) << "keep me";
    fs::permissions(protected_file, fs::perms::owner_read | fs::perms::group_read);
    fs::create_directory(home_ / "folder");
    fs::create_symlink(fifo, home_ / "link-to-fifo");
    fs::create_symlink(home_ / "gone.pdf", home_ / "dangling");
    // clang-format off
    const std::vector<std::pair<std::string, std::string>> targets = {
        {fifo, "not a regular file"}, {home_ / "link-to-fifo", "not a regular file"},
        {"/dev/null", "not a regular file"}, {home_ / "folder", "is a folder"},
        {protected_file, "read-only"}, {home_ / "missing/out.pdf", "there is no folder"},
        {home_ / "protected.pdf/below", "Not a directory"}, {home_ / std::string(300, 'x'), "File name too long"},
        {home_ / "dangling", "a link to a file that does not exist"}};
    // clang-format on
    for (const auto& [target, reason] : targets) {
        for (const std::string command : {"generate --style year --year 2026", "ics 2026"}) {
            const auto result = RunCli(Words(Home() + command + " -o " + target));
            EXPECT_EQ(result.exit_status, 2) << target;
            EXPECT_EQ(result.out, "") << target;
            EXPECT_THAT(Lines(result.err),
                        ElementsAre(::testing::AllOf(HasSubstr("cannot write " + target + ": "),
                                                     HasSubstr(reason))));
        }
    }
    EXPECT_EQ(testing::Contents(protected_file), "keep me");
    EXPECT_EQ(fs::status(fifo).type(), fs::file_type::fifo);
    EXPECT_TRUE(fs::is_empty(home_ / "folder"));
    EXPECT_FALSE(fs::exists(home_ / "missing"));
    EXPECT_TRUE(fs::is_symlink(home_ / "dangling"));
    EXPECT_FALSE(fs::exists(home_ / "gone.pdf"));
}

} // namespace
} // namespace kalvara
