#include "core/NumberedCalendarFile.h"

#include "FileContents.h"
#include "core/AtomicFile.h"
#include "core/SettingsStore.h"
#include "support/TempFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kalvara {
namespace {

namespace fs = std::filesystem;
using testing::HasSubstr;

TEST(FileNumbers, CountFromOneToNineHundredNinetyNineAndRoundAgain) {
    // clang-format off
    const std::pair<std::string, std::int32_t> cases[] = {{"", 1}, {"0", 1}, {" 41 ", 42},
        {"-5", 1}, {"998", 999}, {"999", 1}, {"1000", 1}, {"2147483647", 1}, {"99999999999", 1}};
    // clang-format on
    for (const auto& [stored, expected] : cases) {
        EXPECT_EQ(NextFileNumber(stored), expected) << "stored '" << stored << "'";
    }
}

// Two programs at once must never be handed the same number. Silently taking
// a number again would replace the calendar the last run reported as written.
TEST(NumberedFiles, EachRunGetsItsOwnNumberOrIsToldItWasNotKept) {
    constexpr int Runs = 100;
    test::TempFolder folder;
    const std::string settings = folder / "Zorv.ini";
    const std::string output = folder / "PDF/";
    fs::create_directory(output);
    int start[2];
    ASSERT_EQ(::pipe(start), 0);
    for (int child = 0; child < 2; ++child) {
        if (::fork() == 0) {
            ::close(start[1]);
            char go = 0;
            // Both wait here so that their runs overlap.
            bool ok = ::read(start[0], &go, 1) == 0;
            for (int run = 0; run < Runs && ok; ++run) {
                const auto file = TakeNumberedCalendarFile(settings, output);
                ok = file.NotKept.empty() && !ReplaceFileAtomically(file.Path, "calendar");
            }
            ::_exit(ok ? 0 : 1);
        }
    }
    ::close(start[0]);
    ::close(start[1]); // the children's read returns: go
    for (int child = 0; child < 2; ++child) {
        int status = 0;
        EXPECT_TRUE(::wait(&status) > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    EXPECT_EQ(test::EntryCount(output), 2 * Runs);
    EXPECT_EQ(ReadSetting(settings, "PDF", "Number", ""), "200");
    // Without a lock the number is not written at all, and that is said; the
    // lock lives beside the settings file, not among the calendars.
    fs::remove(settings + ".lock");
    fs::create_directory(settings + ".lock");
    EXPECT_THAT(TakeNumberedCalendarFile(settings, output).NotKept, HasSubstr("cannot lock"));
    EXPECT_EQ(ReadSetting(settings, "PDF", "Number", ""), "200");
}

} // namespace
} // namespace kalvara
