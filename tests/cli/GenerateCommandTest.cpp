// `kalvara-cli generate`, run in-process against a temporary program folder,
// and as a process to see where it keeps its files.

#include "CommandRunner.h"
#include "PdfReadback.h"
#include "core/SettingsStore.h"
#include "support/TempFolder.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <tuple>

namespace kalvara {
namespace {

namespace fs = std::filesystem;
using testing::CommandResult;

class GenerateCommand : public ::testing::Test {
protected:
    // The temporary folder's path holds no spaces, so it can be one word.
    CommandResult Run(const std::string& line) {
        return testing::RunInProcess(
            testing::Words("--home " + home_.Path().string() + " generate " + line));
    }
    std::string Pdf(const std::string& name) const { return home_.File("PDF/" + name); }
    std::string Settings() const { return home_.File("Zorv.ini"); }
    std::string Number() const { return ReadSetting(Settings(), "PDF", "Number", "none"); }
    testing::ProcessOptions IsolatedEnvironment() const {
        testing::ProcessOptions options;
        options.extra_environment = {"HOME=" + home_.File("home"), "KALVARA_HOME=",
                                     "XDG_CONFIG_HOME=", "XDG_CACHE_HOME=", "XDG_DATA_HOME="};
        return options;
    }
    bool FileShows(const std::string& file, const std::string& text) const {
        return test::ReadPdfTrace(file).Pages.at(0).FindText(text) != nullptr;
    }

    test::TempFolder home_;
};

// Styles by number, options with "=", and --period defaulting to all.
TEST_F(GenerateCommand, WritesTheNextNumberedFileAndPrintsItsPath) {
    const auto run = Run("--style month --year 2025 --period 3");
    EXPECT_EQ(run.exit_status, 0);
    EXPECT_EQ(run.out, Pdf("001Calendar.PDF") + "\n");
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(test::ReadPdfTrace(Pdf("001Calendar.PDF")).Pages.size(), 1u);
    EXPECT_TRUE(FileShows(Pdf("001Calendar.PDF"), "March 2025*"));
    EXPECT_EQ(Number(), "1");

    EXPECT_EQ(Run("--style=2 --year=2025").out, Pdf("002Calendar.PDF") + "\n");
    EXPECT_EQ(test::ReadPdfTrace(Pdf("002Calendar.PDF")).Pages.size(), 4u);
    EXPECT_EQ(Run("--style YEAR --year 2025 --period all").exit_status, 0);
}

// Also: an explicit file is written as named and leaves the number alone.
TEST_F(GenerateCommand, QuartersFollowTheSettingsUnlessOverridden) {
    WriteSetting(Settings(), "Preferences", "Quarters", "1");
    const std::string file = home_.File("q.pdf");
    EXPECT_EQ(Run("--style month --year 2025 --period 3 -o " + file).out, file + "\n");
    EXPECT_EQ(Number(), "none");
    EXPECT_FALSE(fs::exists(Pdf("001Calendar.PDF")));
    EXPECT_TRUE(FileShows(file, "9/1Q09"));

    ASSERT_EQ(Run("--style month --year 2025 --period 3 --no-quarters -o " + file).exit_status, 0);
    EXPECT_TRUE(FileShows(file, "9"));
    EXPECT_FALSE(FileShows(file, "9/1Q09"));

    WriteSetting(Settings(), "Preferences", "Quarters", "0");
    ASSERT_EQ(Run("--style year --year 2025 --quarters -o " + file).exit_status, 0);
    EXPECT_TRUE(FileShows(file, "1-1Q01"));
}

// Each style by name and number, told apart by its pages and a text only it
// prints.
TEST_F(GenerateCommand, EveryStyleByNameAndNumber) {
    const std::vector<std::tuple<std::string, std::string, std::size_t, std::string>> styles = {
        {"month", "1", 12, "January 2023*"},
        {"quarter", "2", 4, "*January 2023*"},
        {"year", "3", 1, "Wk"},
        {"3years", "4", 1, "THREE YEAR STANDARD BROADCAST CALENDAR"},
        {"strips", "5", 1, "January*"},
        {"planning", "6", 1, "BROADCAST CALENDAR 2023"}};
    for (const auto& [name, number, pages, text] : styles) {
        for (const auto& style : {name, number}) {
            const std::string file = home_.File(style + ".pdf");
            EXPECT_EQ(Run("--style " + style + " --year 2023 -o " + file).exit_status, 0) << style;
            EXPECT_EQ(test::ReadPdfTrace(file).Pages.size(), pages) << style;
            EXPECT_TRUE(FileShows(file, text)) << style;
        }
    }
}

// Targets given with -o are refused with those of ics, among the output tests.
TEST_F(GenerateCommand, BadInputIsRefusedWithOneLineAndNoFile) {
    const std::string year = "--style year --year 2025 ";
    // clang-format off
    const std::vector<std::string> refused = {
        "", "--year 2025", "--style month", "--style weekly --year 2025", "--style 7 --year 2025",
        "--style year --year 1919", "--style year --year 10000", "--style year --year 20x5",
        "--style year --year -2025", "--style year --year ''", "--style month --year",
        "--style month --year 2025 --period 0", "--style month --year 2025 --period 13",
        "--style month --year 2025 --period march", "--style month --year 2025 --colour",
        "--style month --year 2025 extra", year + "-o ''"};
    // clang-format on
    for (const auto& line : refused) {
        const auto run = Run(line);
        EXPECT_EQ(run.exit_status, 2) << line;
        EXPECT_EQ(run.out, "") << line;
        EXPECT_EQ(run.err.rfind("kalvara-cli: generate: ", 0), 0u) << run.err;
        EXPECT_EQ(testing::Lines(run.err).size(), 1u) << run.err;
    }
    // A file where the PDF folder should be.
    fs::remove_all(home_.File("PDF"));
    std::ofstream(home_.File("PDF")) << "in the way";
    EXPECT_EQ(Run(year).exit_status, 2);
    EXPECT_EQ(Number(), "none");
}

// The calendar is written and named, but a number that could not be kept
// would let the next run replace it, so the run ends with status 1.
TEST_F(GenerateCommand, ANumberThatCannotBeKeptIsSaidOnceWithStatusOne) {
    WriteSetting(Settings(), "PDF", "Number", "6");
    fs::permissions(Settings(), fs::perms::owner_read | fs::perms::group_read);
    const auto run = Run("--style year --year 2025");
    EXPECT_EQ(run.exit_status, 1);
    EXPECT_EQ(run.out, Pdf("007Calendar.PDF") + "\n");
    EXPECT_EQ(run.err.rfind("kalvara-cli: generate: the file number 007 was not kept", 0), 0u);
    EXPECT_EQ(testing::Lines(run.err).size(), 1u) << run.err;
    EXPECT_EQ(test::ReadPdfTrace(Pdf("007Calendar.PDF")).Pages.size(), 1u);
}

// As a process, with nothing of the machine's own environment deciding: the
// user's home is a temporary folder and no folder variable is set.
TEST_F(GenerateCommand, CalendarsGoToTheCacheAndTheNumberToTheConfigFolder) {
    fs::create_directories(home_.File("home"));
    const auto result =
        testing::RunCli(testing::Words("generate --style year --year 2026"), IsolatedEnvironment());
    ASSERT_EQ(result.exit_status, 0) << result.err;
    EXPECT_EQ(result.out, home_.File("home/.cache/kalvara/PDF/001Calendar.PDF") + "\n");
    EXPECT_TRUE(fs::is_regular_file(home_.File("home/.config/kalvara/Zorv.ini")));
}

// Whatever the reason, one line naming the folder, never an abort.
TEST_F(GenerateCommand, AnUnusableHomeFolderIsOneLineAndStatus2) {
    std::ofstream(home_.File("plain")) << "x";
    fs::create_directory_symlink(home_.File("loop-a"), home_.File("loop-b"));
    fs::create_directory_symlink(home_.File("loop-b"), home_.File("loop-a"));
    for (const std::string& home :
         {home_.File("plain"), home_.File("plain/below"), home_.File("loop-a/x"),
          home_.File(std::string(256, 'n')), std::string()}) {
        const auto result =
            testing::RunCli({"--home", home, "generate", "--style", "year", "--year", "2026"},
                            IsolatedEnvironment());
        EXPECT_EQ(result.exit_status, 2) << home;
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(testing::Lines(result.err).size(), 1u) << result.err;
        EXPECT_NE(result.err.find(home), std::string::npos) << result.err;
    }
}

} // namespace
} // namespace kalvara
