// `kalvara-cli ics`: what reaches the file or standard output, and what is
// refused.

#include "CommandRunner.h"
#include "support/TempFolder.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace {

using kalvara::testing::RunInProcess;

std::size_t Count(const std::string& text, const std::string& what) {
    std::size_t count = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++count;
    }
    return count;
}

TEST(IcsCommand, WritesTheFileOrStandardOutput) {
    kalvara::test::TempFolder folder;
    const std::string file = folder / "2026.ics";
    auto result = RunInProcess({"ics", "2026", "2027", "-o", file});
    EXPECT_EQ(result.exit_status, 0) << result.err;
    EXPECT_EQ(result.out, file + "\n");
    std::ostringstream written;
    written << std::ifstream(file, std::ios::binary).rdbuf();
    EXPECT_EQ(Count(written.str(), "BEGIN:VEVENT"), 52u + 52u + 24u);
    EXPECT_NE(written.str().find("\r\n"), std::string::npos);

    result = RunInProcess({"ics", "2028", "--weeks", "-o", "-"});
    EXPECT_EQ(Count(result.out, "BEGIN:VEVENT"), 53u);
    EXPECT_EQ(Count(result.out, "SUMMARY:Broadcast week"), 53u);
    result = RunInProcess({"ics", "2028", "--months"});
    EXPECT_EQ(Count(result.out, "BEGIN:VEVENT"), 12u);
    EXPECT_EQ(Count(result.out, "SUMMARY:Broadcast week"), 0u);
}

TEST(IcsCommand, RefusesBadInputWithoutAFile) {
    kalvara::test::TempFolder folder;
    const std::string file = folder / "out.ics";
    const std::vector<std::vector<std::string>> bad = {
        {"ics"},
        {"ics", "1919"},
        {"ics", "2026", "2025"},
        {"ics", "10000"},
        {"ics", "2026", "2027", "2028"},
        {"ics", "2026", "--weeks", "--months"},
        {"ics", "20x6"},
        {"ics", "2026", "--days"},
    };
    for (auto args : bad) {
        args.insert(args.end(), {"-o", file});
        const auto result = RunInProcess(args);
        EXPECT_EQ(result.exit_status, 2) << ::testing::PrintToString(args);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
        EXPECT_EQ(result.err.rfind("kalvara-cli: ics: ", 0), 0u) << result.err;
        EXPECT_FALSE(std::filesystem::exists(file));
    }
}

} // namespace
