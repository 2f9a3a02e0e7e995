// `kalvara-cli ics`: what reaches the file or standard output.

#include "CommandRunner.h"
#include "support/TempFolder.h"

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

} // namespace
