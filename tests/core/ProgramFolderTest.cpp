#include "core/ProgramFolder.h"

#include "core/Notice.h"
#include "support/TempFolder.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using kalvara::FolderResolution;
using kalvara::FolderSources;
using kalvara::test::TempFolder;

class NoticeRecorder {
public:
    std::vector<std::string> titles;
    std::vector<std::string> texts;

private:
    kalvara::ScopedNoticeHook hook_{
        [this](const std::string& title, const std::string& text1, const std::string& text2) {
            titles.push_back(title);
            texts.push_back(text1 + text2);
        }};
};

void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// A user's home with an installed executable that has no settings beside it.
class FolderResolutionTest : public ::testing::Test {
protected:
    FolderResolutionTest() {
        fs::create_directories(temp_ / "home");
        fs::create_directories(temp_ / "usr/bin");
        sources_.Home = temp_ / "home";
        sources_.ExecutableFolder = temp_ / "usr/bin/";
    }

    FolderResolution Resolve() const { return kalvara::ResolveProgramPaths(sources_); }
    std::string Home(const std::string& below) const { return temp_ / ("home/" + below); }

    TempFolder temp_;
    FolderSources sources_;
};

TEST_F(FolderResolutionTest, WithoutAnyChoiceTheXdgDefaultsBelowHome) {
    const FolderResolution resolution = Resolve();
    ASSERT_EQ(resolution.Error, "");
    EXPECT_EQ(resolution.Paths.SettingsFile, Home(".config/kalvara/Zorv.ini"));
    EXPECT_EQ(resolution.Paths.OutputFolder, Home(".cache/kalvara/PDF/"));
    EXPECT_EQ(resolution.Paths.DataFolder, Home(".local/share/kalvara/"));
    EXPECT_TRUE(fs::is_directory(Home(".config/kalvara")));
}

TEST_F(FolderResolutionTest, XdgVariablesThatAreAbsoluteAreUsedOthersIgnored) {
    sources_.XdgConfigHome = temp_ / "config";
    sources_.XdgCacheHome = "relative/cache";
    sources_.XdgDataHome = temp_ / "data/";
    const FolderResolution resolution = Resolve();
    ASSERT_EQ(resolution.Error, "");
    EXPECT_EQ(resolution.Paths.SettingsFile, temp_ / "config/kalvara/Zorv.ini");
    EXPECT_EQ(resolution.Paths.OutputFolder, Home(".cache/kalvara/PDF/"));
    EXPECT_EQ(resolution.Paths.DataFolder, temp_ / "data/kalvara/");
}

TEST_F(FolderResolutionTest, HomeOptionThenEnvironmentHoldEverything) {
    sources_.KalvaraHome = temp_ / "environment";
    sources_.HomeOption = temp_ / "option";
    FolderResolution resolution = Resolve();
    ASSERT_EQ(resolution.Error, "");
    EXPECT_EQ(resolution.Paths.SettingsFile, temp_ / "option/Zorv.ini");
    EXPECT_EQ(resolution.Paths.OutputFolder, temp_ / "option/PDF/");
    EXPECT_EQ(resolution.Paths.DataFolder, temp_ / "option/");
    EXPECT_TRUE(fs::is_directory(temp_ / "option"));

    sources_.HomeOption.clear();
    resolution = Resolve();
    EXPECT_EQ(resolution.Paths.SettingsFile, temp_ / "environment/Zorv.ini");
}

TEST_F(FolderResolutionTest, ExecutableFolderOnlyWhenItAlreadyHoldsTheSettings) {
    const std::string portable = temp_ / "unpacked";
    fs::create_directories(portable);
    sources_.ExecutableFolder = portable;
    EXPECT_EQ(Resolve().Paths.SettingsFile, Home(".config/kalvara/Zorv.ini"));
    EXPECT_FALSE(fs::exists(portable + "/PDF"));

    // A folder of that name is not a settings file.
    fs::create_directories(portable + "/Zorv.ini");
    EXPECT_EQ(Resolve().Paths.SettingsFile, Home(".config/kalvara/Zorv.ini"));
    fs::remove(portable + "/Zorv.ini");

    WriteFile(portable + "/Zorv.ini", "[Last]\n");
    const FolderResolution resolution = Resolve();
    EXPECT_EQ(resolution.Paths.SettingsFile, portable + "/Zorv.ini");
    EXPECT_EQ(resolution.Paths.OutputFolder, portable + "/PDF/");
}

TEST_F(FolderResolutionTest, TheWorkingFolderNeverDecides) {
    // Started from a clone of the sources: a folder named like the program
    // and the user's own PDF folder beside it.
    const std::string work = temp_ / "work";
    fs::create_directories(work + "/kalvara");
    fs::create_directories(work + "/PDF");
    WriteFile(work + "/kalvara/Zorv.ini", "");
    WriteFile(work + "/PDF/my-invoice.pdf", "mine");
    const fs::path before = fs::current_path();
    fs::current_path(work);
    const FolderResolution resolution = Resolve();
    fs::current_path(before);
    EXPECT_EQ(resolution.Paths.SettingsFile, Home(".config/kalvara/Zorv.ini"));
    EXPECT_EQ(ReadFile(work + "/PDF/my-invoice.pdf"), "mine");
}

TEST_F(FolderResolutionTest, SettingsOfEarlierVersionsMoveOnce) {
    fs::create_directories(Home(".local/share/kalvara"));
    WriteFile(Home(".local/share/kalvara/Zorv.ini"), "[PDF]\nNumber=41\n");
    const FolderResolution resolution = Resolve();
    EXPECT_EQ(ReadFile(resolution.Paths.SettingsFile), "[PDF]\nNumber=41\n");
    EXPECT_FALSE(fs::exists(Home(".local/share/kalvara/Zorv.ini")));

    // A file at the new place is never replaced by an older one.
    WriteFile(Home(".local/share/kalvara/Zorv.ini"), "[PDF]\nNumber=7\n");
    Resolve();
    EXPECT_EQ(ReadFile(resolution.Paths.SettingsFile), "[PDF]\nNumber=41\n");
    EXPECT_EQ(ReadFile(Home(".local/share/kalvara/Zorv.ini")), "[PDF]\nNumber=7\n");
}

TEST_F(FolderResolutionTest, UnusableFoldersComeBackAsOneLine) {
    NoticeRecorder notices;
    WriteFile(temp_ / "plain", "x");
    fs::create_directory_symlink(temp_ / "loop-a", temp_ / "loop-b");
    fs::create_directory_symlink(temp_ / "loop-b", temp_ / "loop-a");
    const std::string too_long = temp_ / std::string(256, 'n');
    for (const std::string& folder :
         {temp_ / "plain", temp_ / "plain/below", temp_ / "loop-a/x", too_long}) {
        sources_.HomeOption = folder;
        const FolderResolution resolution = Resolve();
        EXPECT_NE(resolution.Error.find(folder), std::string::npos) << resolution.Error;
        EXPECT_EQ(resolution.Error.find('\n'), std::string::npos) << resolution.Error;
        EXPECT_EQ(resolution.Paths.SettingsFile, "");
    }
    sources_.HomeOption = temp_ / "plain";
    EXPECT_NE(Resolve().Error.find("Not a directory"), std::string::npos) << Resolve().Error;
    // The front prints the line; nothing else is shown on the way.
    EXPECT_TRUE(notices.titles.empty());

    sources_.HomeOption.clear();
    sources_.Home.clear();
    EXPECT_NE(Resolve().Error.find("HOME"), std::string::npos);
}

TEST(EnsureFolder, CreatesEveryLevelAndIgnoresAFileName) {
    TempFolder temp;
    NoticeRecorder notices;
    EXPECT_EQ(kalvara::EnsureFolder(temp.File("A/B/file.txt")), 1);
    EXPECT_TRUE(fs::is_directory(temp.File("A/B")));
    EXPECT_FALSE(fs::exists(temp.File("A/B/file.txt")));
    EXPECT_EQ(kalvara::EnsureFolder(temp.File("A/B/")), 1);
    EXPECT_EQ(kalvara::EnsureFolder(temp.File("A/B")), 1);
    EXPECT_TRUE(notices.titles.empty());
}

TEST(EnsureFolder, ReportsWhatCannotBeCreatedWithoutThrowing) {
    TempFolder temp;
    WriteFile(temp.File("plain"), "x");
    fs::create_directory_symlink(temp.File("loop-a"), temp.File("loop-b"));
    fs::create_directory_symlink(temp.File("loop-b"), temp.File("loop-a"));
    NoticeRecorder notices;
    EXPECT_EQ(kalvara::EnsureFolder(temp.File("plain/sub")), 0);
    ASSERT_EQ(notices.titles.size(), 1u);
    EXPECT_EQ(notices.titles[0].rfind("Directory Error ", 0), 0u) << notices.titles[0];
    EXPECT_NE(notices.texts[0].find("Unable to create subdirectory."), std::string::npos);
    EXPECT_NE(notices.texts[0].find(temp.File("plain")), std::string::npos);

    EXPECT_EQ(kalvara::EnsureFolder(temp.File("loop-a/sub")), 0);
    EXPECT_EQ(kalvara::EnsureFolder(temp.File(std::string(300, 'n') + "/sub")), 0);
    EXPECT_EQ(notices.titles.size(), 3u);

    EXPECT_EQ(kalvara::EnsureFolder(""), 0);
    EXPECT_EQ(notices.titles.back(), "Drive Error");
}

TEST(EnsureFolder, AFolderThatCannotBeEnteredIsReported) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "permissions do not bind root";
    }
    TempFolder temp;
    fs::create_directories(temp.File("closed"));
    fs::permissions(temp.File("closed"), fs::perms::none);
    NoticeRecorder notices;
    EXPECT_EQ(kalvara::EnsureFolder(temp.File("closed/x/y")), 0);
    EXPECT_EQ(notices.titles.size(), 1u);
}

TEST(LongFolderPath, CanonicalWithoutTrailingSlash) {
    TempFolder temp;
    fs::create_directories(temp.File("real/inner"));
    fs::create_directory_symlink(temp.File("real"), temp.File("link"));
    const std::string canonical = fs::canonical(temp.File("real/inner")).string();
    EXPECT_EQ(kalvara::LongFolderPath(temp.File("link/inner/")), canonical);
    EXPECT_EQ(kalvara::LongFolderPath(temp.File("link/../real/inner")), canonical);
    EXPECT_EQ(kalvara::LongFolderPath(""), "");
}

TEST(DataFiles, FoundBesideTheInstalledExecutableAfterTheProgramFolder) {
    const std::vector<std::string> folders =
        kalvara::DataSearchFolders("/home/a/kalvara", "/opt/kalvara/bin/");
    ASSERT_GE(folders.size(), 2u);
    EXPECT_EQ(folders[0], "/home/a/kalvara/");
    EXPECT_EQ(folders[1], "/opt/kalvara/share/kalvara/");
}

TEST(DataFiles, OnlyRegularFilesCount) {
    TempFolder temp;
    EXPECT_EQ(kalvara::FindDataFile(temp.Path().string(), "no-such-file.rtf"), "");
    WriteFile(temp.File("History.rtf"), "{\\rtf1}");
    EXPECT_EQ(kalvara::FindDataFile(temp.Path().string() + "/", "History.rtf"),
              temp.File("History.rtf"));

    // A FIFO or folder in the place of a page is as good as missing; the
    // installed copy further down the search is taken instead, if any.
    fs::create_directories(temp.File("help"));
    ASSERT_EQ(::mkfifo(temp.File("help/topic10.html").c_str(), 0600), 0);
    fs::create_directories(temp.File("help/topic20.html"));
    for (const char* page : {"help/topic10.html", "help/topic20.html"}) {
        EXPECT_NE(kalvara::FindDataFile(temp.Path().string(), page), temp.File(page));
    }
}

} // namespace
