#include "core/ProgramFolder.h"

#include "FileContents.h"
#include "support/TempFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace kalvara {
namespace {

namespace fs = std::filesystem;
using namespace ::testing;

// A user's home, and no folder chosen yet.
class FolderResolutionTest : public ::testing::Test {
protected:
    FolderResolutionTest() { sources_.Home = temp_ / "home"; }

    // The error, if any, then the three paths below the temporary folder.
    std::string Folders() const {
        const auto& [paths, error] = ResolveProgramPaths(sources_);
        std::string folders =
            error + paths.SettingsFile + " " + paths.OutputFolder + " " + paths.DataFolder;
        const std::string root = temp_.Path().string() + "/";
        for (auto at = folders.find(root); at != std::string::npos; at = folders.find(root)) {
            folders.erase(at, root.size());
        }
        return folders;
    }

    test::TempFolder temp_;
    FolderSources sources_;
};

TEST_F(FolderResolutionTest, EachChoiceWinsOverTheOnesBefore) {
    // The working folder never decides, even holding a folder named like ours.
    const std::string work = temp_ / "work";
    fs::create_directories(work + "/kalvara");
    test::WriteFile(work + "/kalvara/Zorv.ini", "");
    const fs::path before = fs::current_path();
    fs::current_path(work);
    EXPECT_EQ(Folders(), "home/.config/kalvara/Zorv.ini home/.cache/kalvara/PDF/ "
                         "home/.local/share/kalvara/");
    fs::current_path(before);
    EXPECT_TRUE(fs::is_directory(temp_ / "home/.config/kalvara"));

    // Only absolute XDG variables count.
    sources_.XdgConfigHome = temp_ / "config";
    sources_.XdgCacheHome = "relative/cache";
    sources_.XdgDataHome = temp_ / "data/";
    const std::string xdg = "config/kalvara/Zorv.ini home/.cache/kalvara/PDF/ data/kalvara/";
    EXPECT_EQ(Folders(), xdg);

    // The executable's folder only once it holds a settings file, not a folder.
    sources_.ExecutableFolder = temp_ / "portable";
    fs::create_directories(temp_ / "portable/Zorv.ini");
    EXPECT_EQ(Folders(), xdg);
    EXPECT_FALSE(fs::exists(temp_ / "portable/PDF"));
    fs::remove(temp_ / "portable/Zorv.ini");
    test::WriteFile(temp_ / "portable/Zorv.ini", "[Last]\n");
    EXPECT_EQ(Folders(), "portable/Zorv.ini portable/PDF/ portable/");

    // A chosen folder is used by its canonical name, links resolved first.
    fs::create_directories(temp_ / "real/inner");
    fs::create_directory_symlink(temp_ / "real/inner", temp_ / "link");
    sources_.KalvaraHome = temp_ / "link/environment/";
    EXPECT_EQ(Folders(), "real/inner/environment/Zorv.ini real/inner/environment/PDF/ "
                         "real/inner/environment/");
    sources_.HomeOption = temp_ / "link/../option";
    EXPECT_EQ(Folders(), "real/option/Zorv.ini real/option/PDF/ real/option/");
}

// Settings of earlier versions move once, and never over a newer file.
TEST_F(FolderResolutionTest, SettingsOfEarlierVersionsMoveOnce) {
    const std::string old_file = temp_ / "home/.local/share/kalvara/Zorv.ini";
    const std::string new_file = temp_ / "home/.config/kalvara/Zorv.ini";
    fs::create_directories(fs::path(old_file).parent_path());
    test::WriteFile(old_file, "41");
    Folders();
    EXPECT_EQ(test::ReadFile(new_file), "41");
    EXPECT_FALSE(fs::exists(old_file));
    test::WriteFile(old_file, "7");
    Folders();
    EXPECT_EQ(test::ReadFile(new_file), "41");
    EXPECT_EQ(test::ReadFile(old_file), "7");
}

// The resolution gives one line for the front to print; a folder made on the
// way shows a notice instead, and only on failure.
TEST_F(FolderResolutionTest, FoldersAreMadeOrTheUnusableLevelIsReported) {
    std::vector<std::string> notices;
    const ScopedNoticeHook hook(test::RecordInto(notices));
    // A last component with a dot is a file name.
    EXPECT_EQ(EnsureFolder(temp_ / "A/B/file.txt"), 1);
    EXPECT_TRUE(fs::is_directory(temp_ / "A/B"));
    EXPECT_FALSE(fs::exists(temp_ / "A/B/file.txt"));
    test::WriteFile(temp_ / "plain", "x");
    fs::create_directory_symlink(temp_ / "loop-a", temp_ / "loop-b");
    fs::create_directory_symlink(temp_ / "loop-b", temp_ / "loop-a");
    // clang-format off
    const std::pair<std::string, std::string> cases[] = {
        {temp_ / "plain", "Not a directory"},
        {temp_ / "plain/below", "Not a directory"},
        {temp_ / "loop-a/x", "Too many levels of symbolic links"},
        {temp_ / std::string(256, 'n'), "File name too long"}};
    // clang-format on
    for (const auto& [folder, reason] : cases) {
        sources_.HomeOption = folder;
        EXPECT_THAT(ResolveProgramPaths(sources_).Error,
                    AllOf(HasSubstr(folder), EndsWith(reason), Not(HasSubstr("\n"))));
        EXPECT_EQ(EnsureFolder(folder), 0);
        EXPECT_THAT(notices, ElementsAre(AllOf(StartsWith("Directory Error "), HasSubstr(reason))));
        notices.clear();
    }
    EXPECT_EQ(EnsureFolder(""), 0);
    EXPECT_THAT(notices, ElementsAre(StartsWith("Drive Error: ")));

    sources_.HomeOption.clear();
    sources_.Home.clear();
    EXPECT_THAT(ResolveProgramPaths(sources_).Error, HasSubstr("HOME"));
}

// The XDG data folders come after the installation, each once. A FIFO in
// the place of a page is as good as missing.
TEST(DataFiles, AreSearchedForInOrderAndOnlyRegularFilesCount) {
    const std::vector<std::string> folders = DataSearchFolders(
        "/home/a/kalvara", "/usr/bin", "/usr/share/:relative/share::/srv/data:/usr/share");
    // /usr/bin/../share/kalvara is also what XDG_DATA_DIRS names twice.
    ASSERT_GE(folders.size(), 3u);
    EXPECT_THAT(std::vector(folders.begin(), folders.begin() + 3),
                ElementsAre("/home/a/kalvara/", "/usr/share/kalvara/", "/srv/data/kalvara/"));

    test::TempFolder temp;
    test::WriteFile(temp / "History.rtf", "{\\rtf1}");
    EXPECT_EQ(FindDataFile(temp / "", "History.rtf"), temp / "History.rtf");
    EXPECT_EQ(FindDataFile(temp.Path(), "no-such-file.rtf"), "");
    fs::create_directory(temp / "help");
    ASSERT_EQ(::mkfifo((temp / "help/topic10.html").c_str(), 0600), 0);
    EXPECT_NE(FindDataFile(temp.Path(), "help/topic10.html"), temp / "help/topic10.html");
}

} // namespace
} // namespace kalvara
