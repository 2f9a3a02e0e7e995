#include "core/ProgramFolder.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace {

TEST(DataSearchFolders, XdgDataDirsComeAfterTheInstallationEachOnce) {
    const std::vector<std::string> folders = kalvara::DataSearchFolders(
        "/home/a/kalvara", "/usr/bin", "/usr/share/:relative/share::/srv/data:/usr/share");
    ASSERT_GE(folders.size(), 3u);
    EXPECT_EQ(folders[0], "/home/a/kalvara/");
    // /usr/bin/../share/kalvara is also what XDG_DATA_DIRS names twice.
    EXPECT_EQ(folders[1], "/usr/share/kalvara/");
    EXPECT_EQ(folders[2], "/srv/data/kalvara/");
    for (const std::string& folder : folders) {
        EXPECT_EQ(folder.find("relative"), std::string::npos) << folder;
        EXPECT_EQ(std::count(folders.begin(), folders.end(), folder), 1) << folder;
    }
}

} // namespace
