// `kalvara-cli ics`: what reaches the file or standard output.

#include "CommandRunner.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace {

using kalvara::testing::CountOf;
using kalvara::testing::RunInProcess;

TEST(IcsCommand, WritesTheFileOrStandardOutput) {
    kalvara::test::TempFolder folder;
    const std::string file = folder / "2026.ics";
    const auto result = RunInProcess({"ics", "2026", "2027", "-o", file});
    EXPECT_EQ(result.exit_status, 0) << result.err;
    EXPECT_EQ(result.out, file + "\n");
    const std::string written = kalvara::testing::Contents(file);
    EXPECT_EQ(CountOf(written, "BEGIN:VEVENT"), 52u + 52u + 24u);
    EXPECT_EQ(CountOf(written, "\r\n"), CountOf(written, "\n"));

    const std::string weeks = RunInProcess({"ics", "2028", "--weeks", "-o", "-"}).out;
    EXPECT_EQ(CountOf(weeks, "BEGIN:VEVENT"), 53u);
    EXPECT_EQ(CountOf(weeks, "SUMMARY:Broadcast week"), 53u);
    const std::string months = RunInProcess({"ics", "2028", "--months"}).out;
    EXPECT_EQ(CountOf(months, "BEGIN:VEVENT"), 12u);
    EXPECT_EQ(CountOf(months, "SUMMARY:Broadcast week"), 0u);
}

} // namespace
