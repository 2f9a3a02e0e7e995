#include "core/SettingsStore.h"

#include "FileContents.h"
#include "support/TempFolder.h"

#include <array>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kalvara {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::WriteFile;

class SettingsStore : public ::testing::Test {
protected:
    test::TempFolder folder_;
    std::string ini_ = folder_ / "Zorv.ini";
};

TEST_F(SettingsStore, NamesMatchWithoutRegardToCaseAndAreTrimmedAndCutLineEndingsStay) {
    EXPECT_EQ(ReadSetting(ini_, "Preferences", "Style", "1"), "1");
    EXPECT_FALSE(fs::exists(ini_)) << "a read creates nothing";
    // Only spaces are blanks; a tab belongs to the value.
    WriteFile(ini_, "[last]\nYEAR =   \t1998  \n");
    EXPECT_EQ(ReadSetting(ini_, "Last", "Year", ""), "\t1998");
    EXPECT_EQ(ReadSetting(ini_, "Last", "Style", "  3  "), "3");
    fs::remove(ini_);
    ASSERT_TRUE(WriteSetting(ini_, "  PDF ", " Number ", "  7  "));
    ASSERT_TRUE(WriteSetting(ini_, "pdf", "NUMBER", "8"));
    // One key, not two spellings of it.
    EXPECT_EQ(ReadFile(ini_), "[PDF]\nNumber=8\n");

    // The last line has no break of its own: it gets the file's kind.
    WriteFile(ini_, "[Last]\r\nYear=1999");
    ASSERT_TRUE(WriteSetting(ini_, "Last", "Style", "2"));
    ASSERT_TRUE(WriteSetting(ini_, "Last", "Year", "2000"));
    ASSERT_TRUE(WriteSetting(ini_, "PDF", "Number", "5"));
    EXPECT_EQ(ReadFile(ini_), "[Last]\r\nYear=2000\r\nStyle=2\r\n\r\n[PDF]\r\nNumber=5\r\n");
    EXPECT_EQ(ReadSetting(ini_, "Last", "Year", ""), "2000");

    // A path past the classic buffer's 299 characters is never cut.

    const fs::path deep = folder_.Path() / std::string(200, 'd') / std::string(200, 'd');
    fs::create_directories(deep);
    ASSERT_TRUE(WriteSetting(deep / "Zorv.ini", "PDF", "Number", "12"));
    EXPECT_EQ(ReadSetting(deep / "Zorv.ini", "PDF", "Number", "0"), "12");
}

// What the store does not understand is the user's: a write changes the line
// of its key and nothing else, byte for byte.
TEST_F(SettingsStore, AWriteChangesOnlyTheLineOfItsKeyAndRefusesWhatTheFileCannotHold) {
    using namespace std::string_literals;
    const std::string before =
        "; kept by hand\n[Last]\na note without an equals sign\nYear = 1999\n"
        "\n\n[Mine]\nNote=after a NUL\0 and more\n\0\0\nKey=x\n"
        "# trailing text without a line break"s;
    WriteFile(ini_, before);
    ASSERT_TRUE(WriteSetting(ini_, "last", "YEAR", "2026"));
    std::string expected = before;
    expected.replace(expected.find("Year = 1999"), 11, "Year =2026");
    EXPECT_EQ(ReadFile(ini_), expected);
    EXPECT_EQ(ReadSetting(ini_, "Mine", "Key", ""), "x");
    // The value is read up to its NUL, as from the classic zero-ended buffer.
    EXPECT_EQ(ReadSetting(ini_, "Mine", "Note", "none"), "after a NUL");

    // A new key goes after the last key of its section, a new section at the
    // end one blank line below the text before it.
    ASSERT_TRUE(WriteSetting(ini_, "Last", "Style", "4"));
    ASSERT_TRUE(WriteSetting(ini_, "PDF", "Number", "3"));
    ASSERT_TRUE(WriteSetting(ini_, "Update", "Failed", "0"));
    expected.replace(expected.find("Year =2026\n") + 11, 0, "Style=4\n");
    expected += "\n\n[PDF]\nNumber=3\n\n[Update]\nFailed=0\n";
    EXPECT_EQ(ReadFile(ini_), expected);

    // A path with a line break stored as a value would otherwise write lines
    // of its own, such as "[PDF]" and "Number=999".
    WriteFile(ini_, "[Update]\nInstall=\n");
    // clang-format off
    const std::array<std::string, 3> refused[] = {
        {"Update", "Install", "/tmp/x\n[PDF]\nNumber=999"}, {"Update", "Install", "a\rb"},
        {"Update", "In=stall", "x"}, {"Update", ";Install", "x"}, {"Update", "[Install]", "x"},
        {"Up]date", "Install", "x"}, {"", "Install", "x"}};
    // clang-format on
    for (const auto& [section, key, value] : refused) {
        EXPECT_FALSE(TryWriteSetting(ini_, section, key, value).empty()) << section << key << value;
    }
    EXPECT_EQ(ReadFile(ini_), "[Update]\nInstall=\n");
}

// Dotfile managers link to the file, here through a chain of relative links.
// A FIFO, which would block a reader, reads as missing and is never replaced.
TEST_F(SettingsStore, OnlyARegularFileOrALinkToOneIsReadOrWritten) {
    fs::create_directory(folder_ / "dotfiles");
    WriteFile(folder_ / "dotfiles/Zorv.ini", "[Last]\nYear=1999\n");
    fs::create_symlink("Zorv.ini", folder_ / "dotfiles/link");
    fs::create_symlink("dotfiles/link", ini_);
    ASSERT_TRUE(WriteSetting(ini_, "Last", "Year", "2026"));
    EXPECT_TRUE(fs::is_symlink(ini_));
    EXPECT_EQ(ReadFile(folder_ / "dotfiles/Zorv.ini"), "[Last]\nYear=2026\n");

    ASSERT_EQ(::mkfifo((folder_ / "fifo.ini").c_str(), 0600), 0);
    EXPECT_EQ(ReadSetting(folder_ / "fifo.ini", "PDF", "Number", "0"), "0");
    EXPECT_FALSE(WriteSetting(folder_ / "fifo.ini", "PDF", "Number", "1"));
    EXPECT_TRUE(fs::is_fifo(folder_ / "fifo.ini"));
}

TEST_F(SettingsStore, AFullDiskLeavesTheOldFileWholeAndNoLitter) {
    WriteFile(ini_, "[Last]\nYear=2020\n");
    // A child whose files may not grow past a few bytes stands in for a full disk.
    const pid_t child = ::fork();
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{8, 8};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        ::_exit(WriteSetting(ini_, "Last", "Year", std::string(200, '9')) ? 1 : 0);
    }
    int status = 0;
    EXPECT_TRUE(::waitpid(child, &status, 0) == child && WIFEXITED(status) &&
                WEXITSTATUS(status) == 0)
        << "the write reported success";
    EXPECT_EQ(ReadFile(ini_), "[Last]\nYear=2020\n");
    EXPECT_EQ(test::EntryCount(folder_.Path()), 1);
}

TEST_F(SettingsStore, PreferencesLoadIntoTheirOwnBitsAndSaveInOrder) {
    PreferenceSet preferences = PdfReaderFoundBit;
    LoadPreferences(ini_, preferences);
    // A fresh installation: remember style, tooltips and update alerts on, quarters off.
    EXPECT_EQ(preferences, PdfReaderFoundBit | RememberStyle | PrefShowTips | PrefUpdate);

    WriteFile(ini_, "[Preferences]\nQuarters=3\nStyle=2\nShowTips=0\nUpdate=-1\n");
    LoadPreferences(ini_, preferences);
    EXPECT_EQ(preferences, PdfReaderFoundBit | ShowQuarters | PrefUpdate);

    SavePreferences(folder_ / "saved.ini", ShowQuarters | PrefShowTips);
    EXPECT_EQ(ReadFile(folder_ / "saved.ini"),
              "[Preferences]\nStyle=0\nQuarters=1\nUpdate=0\nShowTips=1\n");
}

} // namespace
} // namespace kalvara
