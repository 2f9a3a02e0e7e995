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

TEST_F(SettingsStore, CommentsAndUnknownEntriesSurviveWrites) {
    WriteFile(ini, "; kept by hand\n[Custom]\n; about the mirror\nMirror=http://example.test/\n\n"
                   "[Preferences]\nStyle=1\n");
    ASSERT_TRUE(WriteSetting(ini, "Preferences", "Quarters", "1"));
    ASSERT_TRUE(WriteSetting(ini, "Last", "Year", "2026"));
    const std::string text = Contents(ini);
    EXPECT_NE(text.find("; kept by hand"), std::string::npos) << text;
    EXPECT_NE(text.find("; about the mirror"), std::string::npos) << text;
    EXPECT_EQ(ReadSetting(ini, "Custom", "Mirror", ""), "http://example.test/");
    EXPECT_EQ(ReadSetting(ini, "Preferences", "Style", ""), "1");
    EXPECT_EQ(ReadSetting(ini, "Preferences", "Quarters", ""), "1");
}

TEST_F(SettingsStore, LongNamesAndValuesAreCutLikeTheClassicBuffers) {
    const std::string long_key(400, 'k');
    ASSERT_TRUE(WriteSetting(ini, "S", long_key, std::string(1500, 'v')));
    EXPECT_EQ(ReadSetting(ini, "S", long_key.substr(0, 299), ""), std::string(999, 'v'));
    EXPECT_EQ(ReadSetting(ini, "S", long_key, ""), std::string(999, 'v'));
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

TEST_F(SettingsStore, AWriteLeavesNoTemporaryFileBehind) {
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(WriteSetting(ini, "PDF", "Number", std::to_string(i)));
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()),
                            std::filesystem::directory_iterator()),
              1);
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
