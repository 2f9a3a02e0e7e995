// `kalvara-cli generate`, run in-process against a temporary program folder.

#include "CommandRunner.h"
#include "PdfReadback.h"
#include "core/SettingsStore.h"
#include "support/TempFolder.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <tuple>

namespace kalvara {
namespace {

namespace fs = std::filesystem;

struct CommandRun {
    int Status = -1;
    std::string Out;
    std::string Err;
};

class GenerateCommand : public ::testing::Test {
protected:
    CommandRun Run(const std::vector<std::string>& args) {
        std::vector<std::string> words = {"--home", home_.Path().string(), "generate"};
        words.insert(words.end(), args.begin(), args.end());
        const auto result = kalvara::testing::RunInProcess(words);
        return {result.exit_status, result.out, result.err};
    }
    std::string Pdf(const std::string& name) const { return home_.File("PDF/" + name); }
    std::string Settings() const { return home_.File("Zorv.ini"); }

    test::TempFolder home_;
};

TEST_F(GenerateCommand, WritesTheNextNumberedFileAndPrintsItsPath) {
    const auto run = Run({"--style", "month", "--year", "2025", "--period", "3"});
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Out, Pdf("001Calendar.PDF") + "\n");
    EXPECT_EQ(run.Err, "");
    const auto readback = test::ReadPdfTrace(Pdf("001Calendar.PDF"));
    ASSERT_EQ(readback.Pages.size(), 1u);
    EXPECT_NE(readback.Pages[0].FindText("March 2025*"), nullptr);
    EXPECT_EQ(ReadSetting(Settings(), "PDF", "Number", ""), "1");

    // Styles by number, options with "=", and --period defaulting to all.
    const auto second = Run({"--style=2", "--year=2025"});
    EXPECT_EQ(second.Status, 0) << second.Err;
    EXPECT_EQ(second.Out, Pdf("002Calendar.PDF") + "\n");
    EXPECT_EQ(test::ReadPdfTrace(Pdf("002Calendar.PDF")).Pages.size(), 4u);
    EXPECT_EQ(Run({"--style", "YEAR", "--year", "2025", "--period", "all"}).Status, 0);
}

// Also: an explicit file is written as named and leaves the number alone.
TEST_F(GenerateCommand, QuartersFollowTheSettingsUnlessOverridden) {
    WriteSetting(Settings(), "Preferences", "Quarters", "1");
    const std::string file = home_.File("q.pdf");
    const auto run = Run({"--style", "month", "--year", "2025", "--period", "3", "-o", file});
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Out, file + "\n");
    EXPECT_EQ(ReadSetting(Settings(), "PDF", "Number", "none"), "none");
    EXPECT_FALSE(fs::exists(Pdf("001Calendar.PDF")));
    EXPECT_NE(test::ReadPdfTrace(file).Pages.at(0).FindText("9/1Q09"), nullptr);

    ASSERT_EQ(
        Run({"--style", "month", "--year", "2025", "--period", "3", "--no-quarters", "-o", file})
            .Status,
        0);
    EXPECT_NE(test::ReadPdfTrace(file).Pages.at(0).FindText("9"), nullptr);
    EXPECT_EQ(test::ReadPdfTrace(file).Pages.at(0).FindText("9/1Q09"), nullptr);

    WriteSetting(Settings(), "Preferences", "Quarters", "0");
    ASSERT_EQ(Run({"--style", "year", "--year", "2025", "--quarters", "-o", file}).Status, 0);
    EXPECT_NE(test::ReadPdfTrace(file).Pages.at(0).FindText("1-1Q01"), nullptr);
}

// Each style by name and number, told apart by its pages and a text only it
// prints.
TEST_F(GenerateCommand, EveryStyleByNameAndNumber) {
    const std::vector<std::tuple<std::string, std::string, std::size_t, double, std::string>>
        styles = {{"month", "1", 12, 792, "January 2023*"},
                  {"quarter", "2", 4, 612, "*January 2023*"},
                  {"year", "3", 1, 612, "Wk"},
                  {"3years", "4", 1, 612, "THREE YEAR STANDARD BROADCAST CALENDAR"},
                  {"strips", "5", 1, 1008, "January*"},
                  {"planning", "6", 1, 612, "BROADCAST CALENDAR 2023"}};
    for (const auto& [name, number, pages, width, text] : styles) {
        for (const auto& style : {name, number}) {
            const std::string file = home_.File(style + ".pdf");
            const auto run = Run({"--style", style, "--year", "2023", "-o", file});
            EXPECT_EQ(run.Status, 0) << style << ": " << run.Err;
            const auto readback = test::ReadPdfTrace(file);
            ASSERT_EQ(readback.Pages.size(), pages) << style;
            EXPECT_DOUBLE_EQ(readback.Pages[0].Width, width) << style;
            EXPECT_NE(readback.Pages[0].FindText(text), nullptr) << style;
        }
    }
}

TEST_F(GenerateCommand, BadInputIsRefusedWithOneLineAndNoFile) {
    const std::vector<std::vector<std::string>> refused = {
        {},
        {"--year", "2025"},
        {"--style", "month"},
        {"--style", "weekly", "--year", "2025"},
        {"--style", "7", "--year", "2025"},
        {"--style", "year", "--year", "1919"},
        {"--style", "year", "--year", "10000"},
        {"--style", "year", "--year", "20x5"},
        {"--style", "year", "--year", "-2025"},
        {"--style", "year", "--year", ""},
        {"--style", "month", "--year", "2025", "--period", "0"},
        {"--style", "month", "--year", "2025", "--period", "13"},
        {"--style", "month", "--year", "2025", "--period", "march"},
        {"--style", "month", "--year", "2025", "--colour"},
        {"--style", "month", "--year", "2025", "extra"},
        {"--style", "month", "--year"},
        {"--style", "year", "--year", "2025", "-o", home_.File("missing/out.pdf")},
        {"--style", "year", "--year", "2025", "-o", home_.Path().string()},
        {"--style", "year", "--year", "2025", "-o", ""},
    };
    for (const auto& args : refused) {
        const auto run = Run(args);
        EXPECT_EQ(run.Status, 2) << ::testing::PrintToString(args);
        EXPECT_EQ(run.Out, "") << ::testing::PrintToString(args);
        // One line naming the command.
        EXPECT_EQ(run.Err.rfind("kalvara-cli: generate: ", 0), 0u) << run.Err;
        EXPECT_EQ(std::count(run.Err.begin(), run.Err.end(), '\n'), 1) << run.Err;
    }
    // A file where the PDF folder should be.
    fs::remove_all(home_.File("PDF"));
    std::ofstream(home_.File("PDF")) << "in the way";
    EXPECT_EQ(Run({"--style", "year", "--year", "2025"}).Status, 2);
    EXPECT_EQ(ReadSetting(Settings(), "PDF", "Number", "none"), "none");
    EXPECT_FALSE(fs::exists(home_.File("missing")));
}

// The calendar is written and named, but a number that could not be kept
// would let the next run replace it, so the run ends with status 1.
TEST_F(GenerateCommand, ANumberThatCannotBeKeptIsSaidOnceWithStatusOne) {
    WriteSetting(Settings(), "PDF", "Number", "6");
    fs::permissions(Settings(), fs::perms::owner_read | fs::perms::group_read);
    const auto run = Run({"--style", "year", "--year", "2025"});
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Out, Pdf("007Calendar.PDF") + "\n");
    EXPECT_EQ(run.Err.rfind("kalvara-cli: generate: the file number 007 was not kept", 0), 0u)
        << run.Err;
    EXPECT_EQ(std::count(run.Err.begin(), run.Err.end(), '\n'), 1) << run.Err;
    EXPECT_EQ(test::ReadPdfTrace(Pdf("007Calendar.PDF")).Pages.size(), 1u);
}

// A program folder that cannot be used is one line, whatever the reason, and
// never an abort.
TEST_F(GenerateCommand, AnUnusableHomeIsOneLine) {
    std::ofstream(home_.File("a-file")) << "not a folder";
    const std::vector<std::string> homes = {home_.File("a-file"), home_.File("a-file/below"),
                                            home_.File(std::string(256, 'n')), ""};
    for (const std::string& home : homes) {
        const auto result = kalvara::testing::RunInProcess(
            {"--home", home, "generate", "--style", "year", "--year", "2026"});
        EXPECT_EQ(result.exit_status, 2) << home;
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
    }
}

} // namespace
} // namespace kalvara
