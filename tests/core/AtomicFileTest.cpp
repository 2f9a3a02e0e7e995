// Replacing files whole: protected files, odd targets and long names.

#include "core/AtomicFile.h"

#include "FileContents.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace kalvara {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;

class AtomicFile : public ::testing::Test {
protected:
    test::TempFolder folder_;
};

TEST_F(AtomicFile, ProtectedAndSpecialTargetsAreRefusedAndLeftAlone) {
    // Made read-only by the user: refused even for root, who could write it.
    test::WriteFile(folder_ / "locked", "keep");
    ::chmod((folder_ / "locked").c_str(), 0444);
    fs::create_symlink("locked", folder_ / "to-locked");
    ASSERT_EQ(::mkfifo((folder_ / "fifo").c_str(), 0600), 0);
    fs::create_directory(folder_ / "folder");
    fs::create_symlink("loop-b", folder_ / "loop-a");
    fs::create_symlink("loop-a", folder_ / "loop-b");

    const std::pair<std::string, int> cases[] = {{"locked", EACCES}, {"to-locked", EACCES},
                                                 {"fifo", EINVAL},   {"folder", EISDIR},
                                                 {"loop-a", ELOOP},  {"missing/file", ENOENT}};
    for (const auto& [name, error] : cases) {
        const AtomicWriteError result = ReplaceFileAtomically(folder_ / name, "new");
        EXPECT_EQ(result.Errno, error) << name;
        EXPECT_TRUE(result.AtCreate) << name;
    }
    EXPECT_EQ(ReadFile(folder_ / "locked"), "keep");
    EXPECT_TRUE(fs::is_fifo(folder_ / "fifo"));
    EXPECT_TRUE(fs::is_empty(folder_ / "folder"));
    EXPECT_EQ(test::EntryCount(folder_.Path()), 6);
}

TEST_F(AtomicFile, AnyNameTheFilesystemTakesCanBeWritten) {
    const std::string longest(255, 'n');
    ASSERT_FALSE(ReplaceFileAtomically(folder_ / longest, "data"));
    EXPECT_EQ(ReadFile(folder_ / longest), "data");
    // A name that looks like our own temporary files is just a name.
    ASSERT_FALSE(ReplaceFileAtomically(folder_ / ".kvXXXXXX.tmp", "data"));
    EXPECT_EQ(test::EntryCount(folder_.Path()), 2);
}

} // namespace
} // namespace kalvara
