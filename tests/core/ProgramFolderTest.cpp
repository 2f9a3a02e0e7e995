#include "core/ProgramFolder.h"

#include "core/Notice.h"
#include "support/TempFolder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>

namespace {

namespace fs = std::filesystem;
using kalvara::test::TempFolder;

// Sets an environment variable for the life of the object.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, std::optional<std::string> value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        Set(value);
    }
    ~ScopedEnvironment() { Set(old_); }

private:
    void Set(const std::optional<std::string>& value) {
        if (value) {
            ::setenv(name_, value->c_str(), 1);
        } else {
            ::unsetenv(name_);
        }
    }
    const char* name_;
    std::optional<std::string> old_;
};

class NoticeRecorder {
public:
    NoticeRecorder()
        : previous_(kalvara::SetNoticeHook(
              [this](const std::string& title, const std::string& text1, const std::string& text2) {
                  titles.push_back(title);
                  texts.push_back(text1 + text2);
              })) {}
    ~NoticeRecorder() { kalvara::SetNoticeHook(std::move(previous_)); }
    std::vector<std::string> titles;
    std::vector<std::string> texts;

private:
    kalvara::NoticeHook previous_;
};

TEST(ProgramFolder, ResolutionOrder) {
    TempFolder temp;
    const std::string option = temp.File("option");
    const std::string environment = temp.File("environment");
    const std::string data_home = temp.File("data");
    const std::string executable_folder = temp.File("bin");
    fs::create_directories(executable_folder);
    const std::string executable = executable_folder + "/kalvara";

    ScopedEnvironment kalvara_home("KALVARA_HOME", environment);
    ScopedEnvironment xdg("XDG_DATA_HOME", data_home);

    EXPECT_EQ(kalvara::ResolveProgramFolder(option, executable), option + "/");
    EXPECT_TRUE(fs::is_directory(option));
    EXPECT_EQ(kalvara::ResolveProgramFolder("", executable), environment + "/");
    {
        ScopedEnvironment unset("KALVARA_HOME", std::nullopt);
        EXPECT_EQ(kalvara::ResolveProgramFolder("", executable), executable_folder + "/");
        // Installed programs keep their settings in the user's data folder.
        EXPECT_EQ(kalvara::ResolveProgramFolder("", "/usr/bin/kalvara"), data_home + "/kalvara/");
        EXPECT_TRUE(fs::is_directory(data_home + "/kalvara"));
    }
}

TEST(ProgramFolder, PathsBelowTheFolder) {
    const kalvara::ProgramPaths paths = kalvara::MakeProgramPaths("/home/a/kalvara");
    EXPECT_EQ(paths.ProgramFolder, "/home/a/kalvara/");
    EXPECT_EQ(paths.SettingsFile, "/home/a/kalvara/Zorv.ini");
    EXPECT_EQ(paths.OutputFolder, "/home/a/kalvara/PDF/");
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

TEST(EnsureFolder, ReportsWhatCannotBeCreated) {
    TempFolder temp;
    std::ofstream(temp.File("plain")) << "x";
    NoticeRecorder notices;
    EXPECT_EQ(kalvara::EnsureFolder(temp.File("plain/sub")), 0);
    ASSERT_EQ(notices.titles.size(), 1u);
    EXPECT_EQ(notices.titles[0].rfind("Directory Error ", 0), 0u) << notices.titles[0];
    EXPECT_NE(notices.texts[0].find("Unable to create subdirectory."), std::string::npos);
    EXPECT_NE(notices.texts[0].find(temp.File("plain")), std::string::npos);

    EXPECT_EQ(kalvara::EnsureFolder(""), 0);
    EXPECT_EQ(notices.titles.back(), "Drive Error");
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

TEST(FindDataFile, ProgramFolderComesFirst) {
    TempFolder temp;
    EXPECT_EQ(kalvara::FindDataFile(temp.Path().string(), "no-such-file.rtf"), "");
    std::ofstream(temp.File("History.rtf")) << "{\\rtf1}";
    EXPECT_EQ(kalvara::FindDataFile(temp.Path().string() + "/", "History.rtf"),
              temp.File("History.rtf"));
}

} // namespace
