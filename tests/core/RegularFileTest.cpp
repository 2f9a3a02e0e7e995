#include "core/RegularFile.h"

#include "FileContents.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace kalvara {
namespace {

namespace fs = std::filesystem;

TEST(RegularFile, FilesAndLinksToThemAreReadUpToTheLimitAnythingElseNeverBlocks) {
    test::TempFolder temp;
    test::WriteFile(temp / "History.rtf", "{\\rtf1 history}");
    fs::create_symlink(temp / "History.rtf", temp / "link.rtf");
    EXPECT_EQ(ReadRegularFile(temp / "link.rtf", 1000).Bytes, "{\\rtf1 history}");
    EXPECT_EQ(ReadRegularFile(temp / "History.rtf", 5).Bytes, "{\\rtf");
    EXPECT_TRUE(IsRegularFile(temp / "link.rtf"));

    // A FIFO without a writer would hold an ordinary open forever.
    ASSERT_EQ(::mkfifo((temp / "fifo").c_str(), 0600), 0);
    fs::create_directories(temp / "folder");
    for (const std::string& path :
         {temp / "fifo", temp / "folder", temp / "missing", std::string("/dev/zero")}) {
        EXPECT_FALSE(ReadRegularFile(path, 1000).WasRead()) << path;
        EXPECT_FALSE(IsRegularFile(path)) << path;
    }
}

} // namespace
} // namespace kalvara
