#include "core/SettingsStore.h"

#include "support/TempFolder.h"

#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using kalvara::ReadSetting;
using kalvara::WriteSetting;
using kalvara::test::TempFolder;

std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

class SettingsStore : public ::testing::Test {
protected:
    TempFolder folder;
    std::string ini = folder.File("Zorv.ini");
};

TEST_F(SettingsStore, MissingFileSectionOrKeyGivesTheDefaultAndCreatesNothing) {
    EXPECT_EQ(ReadSetting(ini, "Preferences", "Style", "1"), "1");
    EXPECT_FALSE(std::filesystem::exists(ini));
    WriteFile(ini, "[Last]\nYear=2014\n");
    EXPECT_EQ(ReadSetting(ini, "PDF", "Number", "0"), "0");
    EXPECT_EQ(ReadSetting(ini, "Last", "Style", "3"), "3");
    EXPECT_EQ(ReadSetting(ini, "Last", "Year", "x"), "2014");
}

TEST_F(SettingsStore, NamesMatchWithoutRegardToCaseAndValuesAreTrimmed) {
    WriteFile(ini, "[last]\nYEAR =   1998  \n");
    EXPECT_EQ(ReadSetting(ini, "Last", "Year", ""), "1998");
    EXPECT_EQ(ReadSetting(ini, "LAST", "year", ""), "1998");
    EXPECT_EQ(ReadSetting(ini, "Last", "Style", "  3  "), "3");
}

TEST_F(SettingsStore, WriteCreatesFileSectionAndKeyAndTrimsBlanks) {
    ASSERT_TRUE(WriteSetting(ini, "  PDF ", " Number ", "  7  "));
    EXPECT_EQ(ReadSetting(ini, "PDF", "Number", "0"), "7");
    EXPECT_NE(Contents(ini).find("Number=7"), std::string::npos) << Contents(ini);
    ASSERT_TRUE(WriteSetting(ini, "pdf", "NUMBER", "8"));
    EXPECT_EQ(ReadSetting(ini, "PDF", "Number", "0"), "8");
    // One key, not two spellings of it.
    const std::string text = Contents(ini);
    EXPECT_EQ(text.find("NUMBER"), std::string::npos) << text;
}

// What the store does not understand is the user's: a write changes the line
// of its key and nothing else, byte for byte.
TEST_F(SettingsStore, AWriteChangesOnlyTheLineOfItsKey) {
    using namespace std::string_literals;
    const std::string before = "; kept by hand\n"
                               "[Last]\n"
                               "a note without an equals sign\n"
                               "Year = 1999\n"
                               "\n\n"
                               "[Mine]\n"
                               "Note=after a NUL\0 and more\n"
                               "\0\0\n"
                               "Key=x\n"
                               "# trailing text without a line break"s;
    WriteFile(ini, before);
    ASSERT_TRUE(WriteSetting(ini, "last", "YEAR", "2026"));
    std::string expected = before;
    expected.replace(expected.find("Year = 1999"), 11, "Year =2026");
    EXPECT_EQ(Contents(ini), expected);
    EXPECT_EQ(ReadSetting(ini, "Mine", "Key", ""), "x");
    // The value is read up to its NUL, as from the classic zero-ended buffer.
    EXPECT_EQ(ReadSetting(ini, "Mine", "Note", "none"), "after a NUL");

    // A new key goes after the last key of its section, a new section at the
    // end, one blank line below the text before it, never two.
    ASSERT_TRUE(WriteSetting(ini, "Last", "Style", "4"));
    ASSERT_TRUE(WriteSetting(ini, "PDF", "Number", "3"));
    ASSERT_TRUE(WriteSetting(ini, "Update", "Failed", "0"));
    expected.replace(expected.find("Year =2026\n") + 11, 0, "Style=4\n");
    expected += "\n\n[PDF]\nNumber=3\n\n[Update]\nFailed=0\n";
    EXPECT_EQ(Contents(ini), expected);
}

TEST_F(SettingsStore, WindowsLineEndingsStayWindowsLineEndings) {
    WriteFile(ini, "[Last]\r\nYear=1999\r\n");
    EXPECT_EQ(ReadSetting(ini, "Last", "Year", ""), "1999");
    ASSERT_TRUE(WriteSetting(ini, "Last", "Year", "2000"));
    ASSERT_TRUE(WriteSetting(ini, "Last", "Style", "2"));
    ASSERT_TRUE(WriteSetting(ini, "PDF", "Number", "5"));
    EXPECT_EQ(Contents(ini), "[Last]\r\nYear=2000\r\nStyle=2\r\n\r\n[PDF]\r\nNumber=5\r\n");
}

// A path with a line break stored as a value would otherwise write lines of
// its own, such as "[PDF]" and "Number=999".
TEST_F(SettingsStore, ValuesAndNamesTheFileCannotHoldAreRefusedAndNothingIsWritten) {
    WriteFile(ini, "[Update]\nInstall=\n");
    const std::string before = Contents(ini);
    for (const char* value : {"/tmp/x\n[PDF]\nNumber=999", "a\rb", "\n"}) {
        EXPECT_FALSE(kalvara::TryWriteSetting(ini, "Update", "Install", value).empty()) << value;
    }
    EXPECT_FALSE(WriteSetting(ini, "Up]date", "Install", "x"));
    EXPECT_FALSE(WriteSetting(ini, "Update", "In=stall", "x"));
    EXPECT_FALSE(WriteSetting(ini, "Update", ";Install", "x"));
    EXPECT_FALSE(WriteSetting(ini, "Update", "[Install]", "x"));
    EXPECT_FALSE(WriteSetting(ini, "", "Install", "x"));
    EXPECT_EQ(Contents(ini), before);
}

// Dotfile managers keep the file elsewhere and link to it, here through a
// chain of relative links, each relative to its own folder.
TEST_F(SettingsStore, ALinkedSettingsFileIsWrittenThroughAndStaysALink) {
    std::filesystem::create_directory(folder.File("dotfiles"));
    const std::string target = folder.File("dotfiles/Zorv.ini");
    WriteFile(target, "[Last]\nYear=1999\n");
    std::filesystem::create_symlink("Zorv.ini", folder.File("dotfiles/link"));
    std::filesystem::create_symlink("dotfiles/link", ini);
    ASSERT_TRUE(WriteSetting(ini, "Last", "Year", "2026"));
    EXPECT_TRUE(std::filesystem::is_symlink(ini));
    EXPECT_EQ(Contents(target), "[Last]\nYear=2026\n");
    EXPECT_EQ(ReadSetting(ini, "Last", "Year", ""), "2026");
}

// A FIFO would block a reader for ever; a folder cannot be parsed. Both read
// as a missing file and are never replaced by a write.
TEST_F(SettingsStore, OnlyARegularFileIsReadOrWritten) {
    ASSERT_EQ(::mkfifo(ini.c_str(), 0600), 0);
    EXPECT_EQ(ReadSetting(ini, "PDF", "Number", "0"), "0");
    EXPECT_FALSE(WriteSetting(ini, "PDF", "Number", "1"));
    EXPECT_TRUE(std::filesystem::is_fifo(ini));

    const std::string folder_ini = folder.File("folder.ini");
    std::filesystem::create_directory(folder_ini);
    EXPECT_EQ(ReadSetting(folder_ini, "PDF", "Number", "0"), "0");
    EXPECT_FALSE(WriteSetting(folder_ini, "PDF", "Number", "1"));
    EXPECT_TRUE(std::filesystem::is_directory(folder_ini));
}

TEST_F(SettingsStore, LongNamesAndValuesAreCutButTheFileNameNeverIs) {
    const std::string long_key(400, 'k');
    ASSERT_TRUE(WriteSetting(ini, "S", long_key, std::string(1500, 'v')));
    EXPECT_EQ(ReadSetting(ini, "S", long_key.substr(0, 299), ""), std::string(999, 'v'));
    EXPECT_EQ(ReadSetting(ini, "S", long_key, ""), std::string(999, 'v'));

    // A folder path of over 400 characters reads and writes its own file,
    // not one at the first 299 characters of the path.
    std::filesystem::path deep = folder.Path();
    while (deep.string().size() < 400) {
        deep /= std::string(60, 'd');
    }
    std::filesystem::create_directories(deep);
    const std::string deep_ini = (deep / "Zorv.ini").string();
    ASSERT_TRUE(WriteSetting(deep_ini, "PDF", "Number", "12"));
    EXPECT_EQ(ReadSetting(deep_ini, "PDF", "Number", "0"), "12");
    EXPECT_EQ(Contents(deep_ini), "[PDF]\nNumber=12\n");
}

TEST_F(SettingsStore, AFullDiskLeavesTheOldFileWholeAndNoLitter) {
    ASSERT_TRUE(WriteSetting(ini, "Last", "Year", "2020"));
    const std::string before = Contents(ini);
    // A child whose files may not grow past a few bytes stands in for a full disk.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{8, 8};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const bool written = WriteSetting(ini, "Last", "Year", std::string(200, '9'));
        ::_exit(written ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the write reported success";
    EXPECT_EQ(Contents(ini), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST_F(SettingsStore, WriteIntoAMissingFolderFailsCleanly) {
    const std::string nowhere = folder.File("missing/Zorv.ini");
    EXPECT_FALSE(WriteSetting(nowhere, "Last", "Year", "2021"));
    EXPECT_FALSE(std::filesystem::exists(folder.File("missing")));
}

TEST_F(SettingsStore, RandomBytesReadAsDefaultsAndAreNeverTruncatedByAReader) {
    std::mt19937 random(20261206);
    for (int round = 0; round < 20; ++round) {
        std::string bytes(4096, '\0');
        for (char& byte : bytes) {
            byte = static_cast<char>(random() & 0xFF);
        }
        WriteFile(ini, bytes);
        EXPECT_EQ(ReadSetting(ini, "Preferences", "Style", "1"), "1");
        EXPECT_EQ(ReadSetting(ini, "PDF", "Number", "0"), "0");
        EXPECT_EQ(Contents(ini), bytes);
    }
}

TEST(Switches, OnWhenTheValueIsOdd) {
    for (const char* on : {"1", "-1", "3", " 1 ", "1.0", "0.6"}) {
        EXPECT_TRUE(kalvara::SwitchIsOn(on)) << on;
    }
    for (const char* off : {"0", "2", "", "yes", "0.5", "2.5"}) {
        EXPECT_FALSE(kalvara::SwitchIsOn(off)) << off;
    }
}

TEST_F(SettingsStore, PreferencesLoadIntoTheirOwnBitsAndSaveInOrder) {
    kalvara::PreferenceSet preferences = kalvara::PdfReaderFoundBit;
    kalvara::LoadPreferences(ini, preferences);
    // A fresh installation: remember style, tooltips and update alerts on, quarters off.
    EXPECT_EQ(preferences, kalvara::PdfReaderFoundBit | kalvara::RememberStyle |
                               kalvara::PrefShowTips | kalvara::PrefUpdate);

    WriteFile(ini, "[Preferences]\nQuarters=3\nStyle=2\nShowTips=0\nUpdate=-1\n");
    kalvara::LoadPreferences(ini, preferences);
    EXPECT_EQ(preferences,
              kalvara::PdfReaderFoundBit | kalvara::ShowQuarters | kalvara::PrefUpdate);

    std::filesystem::remove(ini);
    kalvara::SavePreferences(ini, kalvara::ShowQuarters | kalvara::PrefShowTips);
    EXPECT_EQ(Contents(ini), "[Preferences]\nStyle=0\nQuarters=1\nUpdate=0\nShowTips=1\n");
}

} // namespace
