#include "core/ProgramFolder.h"

#include "FileContents.h"
#include "core/Notice.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kalvara {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::WriteFile;

// A hook that keeps each notice as its title, ": " and its texts.
NoticeHook RecordInto(std::vector<std::string>& notices) {
    return
        [&notices](const std::string& title, const std::string& text1, const std::string& text2) {
            notices.push_back(title + ": " + text1 + text2);
        };
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

    FolderResolution Resolve() const { return ResolveProgramPaths(sources_); }

    // The settings file, output folder and data folder below the temporary
    // folder, or the error.
    std::string Folders() const {
        const FolderResolution resolution = Resolve();
        const std::string root = temp_.Path().string() + "/";
        const auto below = [&root](const std::string& path) {
            return path.starts_with(root) ? path.substr(root.size()) : path;
        };
        return resolution.Error.empty() ? below(resolution.Paths.SettingsFile) + " " +
                                              below(resolution.Paths.OutputFolder) + " " +
                                              below(resolution.Paths.DataFolder)
                                        : resolution.Error;
    }

    test::TempFolder temp_;
    FolderSources sources_;
};

constexpr char XdgDefaults[] =
    "home/.config/kalvara/Zorv.ini home/.cache/kalvara/PDF/ home/.local/share/kalvara/";

TEST_F(FolderResolutionTest, WithoutAnyChoiceTheXdgDefaultsBelowHome) {
    EXPECT_EQ(Folders(), XdgDefaults);
    EXPECT_TRUE(fs::is_directory(temp_ / "home/.config/kalvara"));
}

TEST_F(FolderResolutionTest, XdgVariablesThatAreAbsoluteAreUsedOthersIgnored) {
    sources_.XdgConfigHome = temp_ / "config";
    sources_.XdgCacheHome = "relative/cache";
    sources_.XdgDataHome = temp_ / "data/";
    EXPECT_EQ(Folders(), "config/kalvara/Zorv.ini home/.cache/kalvara/PDF/ data/kalvara/");
}

TEST_F(FolderResolutionTest, HomeOptionThenEnvironmentHoldEverything) {
    sources_.KalvaraHome = temp_ / "environment";
    sources_.HomeOption = temp_ / "option";
    EXPECT_EQ(Folders(), "option/Zorv.ini option/PDF/ option/");
    sources_.HomeOption.clear();
    EXPECT_EQ(Folders(), "environment/Zorv.ini environment/PDF/ environment/");
}

TEST_F(FolderResolutionTest, ExecutableFolderOnlyWhenItAlreadyHoldsTheSettings) {
    sources_.ExecutableFolder = temp_ / "portable";
    // A folder of that name is not a settings file.
    fs::create_directories(temp_ / "portable/Zorv.ini");
    EXPECT_EQ(Folders(), XdgDefaults);
    EXPECT_FALSE(fs::exists(temp_ / "portable/PDF"));
    fs::remove(temp_ / "portable/Zorv.ini");
    WriteFile(temp_ / "portable/Zorv.ini", "[Last]\n");
    EXPECT_EQ(Folders(), "portable/Zorv.ini portable/PDF/ portable/");
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
    const std::string folders = Folders();
    fs::current_path(before);
    EXPECT_EQ(folders, XdgDefaults);
    EXPECT_EQ(ReadFile(work + "/PDF/my-invoice.pdf"), "mine");
}

TEST_F(FolderResolutionTest, SettingsOfEarlierVersionsMoveOnce) {
    const std::string old_file = temp_ / "home/.local/share/kalvara/Zorv.ini";
    const std::string new_file = temp_ / "home/.config/kalvara/Zorv.ini";
    fs::create_directories(fs::path(old_file).parent_path());
    WriteFile(old_file, "[PDF]\nNumber=41\n");
    Resolve();
    EXPECT_EQ(ReadFile(new_file), "[PDF]\nNumber=41\n");
    EXPECT_FALSE(fs::exists(old_file));

    // A file at the new place is never replaced by an older one.
    WriteFile(old_file, "[PDF]\nNumber=7\n");
    Resolve();
    EXPECT_EQ(ReadFile(new_file), "[PDF]\nNumber=41\n");
    EXPECT_EQ(ReadFile(old_file), "[PDF]\nNumber=7\n");
}

TEST_F(FolderResolutionTest, UnusableFoldersComeBackAsOneLine) {
    std::vector<std::string> notices;
    const ScopedNoticeHook hook(RecordInto(notices));
    WriteFile(temp_ / "plain", "x");
    fs::create_directory_symlink(temp_ / "loop-a", temp_ / "loop-b");
    fs::create_directory_symlink(temp_ / "loop-b", temp_ / "loop-a");
    const std::pair<std::string, std::string> cases[] = {
        {temp_ / "plain", "Not a directory"},
        {temp_ / "plain/below", "Not a directory"},
        {temp_ / "loop-a/x", "Too many levels of symbolic links"},
        {temp_ / std::string(256, 'n'), "File name too long"}};
    for (const auto& [folder, reason] : cases) {
        sources_.HomeOption = folder;
        const std::string error = Folders();
        EXPECT_NE(error.find(folder), std::string::npos) << error;
        EXPECT_TRUE(error.ends_with(reason)) << error;
        EXPECT_EQ(error.find('\n'), std::string::npos) << error;
    }
    // The front prints the line; nothing else is shown on the way.
    EXPECT_TRUE(notices.empty());

    sources_.HomeOption.clear();
    sources_.Home.clear();
    EXPECT_NE(Folders().find("HOME"), std::string::npos);
}

TEST(EnsureFolder, CreatesEveryLevelAndIgnoresAFileName) {
    test::TempFolder temp;
    std::vector<std::string> notices;
    const ScopedNoticeHook hook(RecordInto(notices));
    EXPECT_EQ(EnsureFolder(temp / "A/B/file.txt"), 1);
    EXPECT_TRUE(fs::is_directory(temp / "A/B"));
    EXPECT_FALSE(fs::exists(temp / "A/B/file.txt"));
    EXPECT_EQ(EnsureFolder(temp / "A/B/"), 1);
    EXPECT_TRUE(notices.empty());
}

TEST(EnsureFolder, ReportsWhatCannotBeCreatedWithoutThrowing) {
    test::TempFolder temp;
    WriteFile(temp / "plain", "x");
    fs::create_directory_symlink(temp / "loop-a", temp / "loop-b");
    fs::create_directory_symlink(temp / "loop-b", temp / "loop-a");
    std::vector<std::string> folders = {temp / "plain/sub", temp / "loop-a/sub",
                                        temp / (std::string(300, 'n') + "/sub")};
    // Permissions do not bind root.
    if (::geteuid() != 0) {
        fs::create_directories(temp / "closed");
        fs::permissions(temp / "closed", fs::perms::none);
        folders.push_back(temp / "closed/x/y");
    }
    std::vector<std::string> notices;
    const ScopedNoticeHook hook(RecordInto(notices));
    for (const std::string& folder : folders) {
        EXPECT_EQ(EnsureFolder(folder), 0) << folder;
    }
    ASSERT_EQ(notices.size(), folders.size());
    EXPECT_TRUE(notices[0].starts_with("Directory Error ")) << notices[0];
    EXPECT_NE(notices[0].find("Unable to create subdirectory."), std::string::npos);
    EXPECT_NE(notices[0].find(temp / "plain"), std::string::npos);
    EXPECT_EQ(EnsureFolder(""), 0);
    EXPECT_TRUE(notices.back().starts_with("Drive Error: ")) << notices.back();
}

TEST(LongFolderPath, CanonicalWithoutTrailingSlash) {
    test::TempFolder temp;
    fs::create_directories(temp / "real/inner");
    fs::create_directory_symlink(temp / "real", temp / "link");
    EXPECT_EQ(LongFolderPath(temp / "link/inner/"), temp / "real/inner");
    EXPECT_EQ(LongFolderPath(temp / "link/../real/inner"), temp / "real/inner");
    EXPECT_EQ(LongFolderPath(""), "");
}

TEST(DataFiles, FoundInTheProgramFolderThenBesideTheInstalledExecutable) {
    const std::vector<std::string> folders =
        DataSearchFolders("/home/a/kalvara", "/opt/kalvara/bin/");
    ASSERT_GE(folders.size(), 2u);
    EXPECT_EQ(folders[0], "/home/a/kalvara/");
    EXPECT_EQ(folders[1], "/opt/kalvara/share/kalvara/");
}

TEST(DataFiles, OnlyRegularFilesCount) {
    test::TempFolder temp;
    const std::string folder = temp.Path().string();
    EXPECT_EQ(FindDataFile(folder, "no-such-file.rtf"), "");
    WriteFile(temp / "History.rtf", "{\\rtf1}");
    EXPECT_EQ(FindDataFile(folder + "/", "History.rtf"), temp / "History.rtf");

    // A FIFO or folder in the place of a page is as good as missing; the
    // installed copy further down the search is taken instead, if any.
    fs::create_directories(temp / "help/topic20.html");
    ASSERT_EQ(::mkfifo((temp / "help/topic10.html").c_str(), 0600), 0);
    for (const char* page : {"help/topic10.html", "help/topic20.html"}) {
        EXPECT_NE(FindDataFile(folder, page), temp / page);
    }
}

} // namespace
} // namespace kalvara
