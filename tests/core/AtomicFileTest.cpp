// Replacing files whole: protected files, odd targets and long names.

#include "core/AtomicFile.h"

#include "FileContents.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace kalvara {
namespace {

namespace fs = std::filesystem;

TEST(AtomicFile, OddTargetsAreRefusedAndLeftAloneAnyNameIsTaken) {
    test::TempFolder folder;
    // Made read-only by the user: refused even for root, who could write it.
    test::WriteFile(folder / "locked", "keep");
    ::chmod((folder / "locked").c_str(), 0444);
    fs::create_symlink("locked", folder / "to-locked");
    ASSERT_EQ(::mkfifo((folder / "fifo").c_str(), 0600), 0);
    fs::create_directory(folder / "folder");
    fs::create_symlink("loop-b", folder / "loop-a");
    fs::create_symlink("loop-a", folder / "loop-b");
    // clang-format off
    const std::pair<std::string, int> cases[] = {{"locked", EACCES}, {"to-locked", EACCES},
        {"fifo", EINVAL}, {"folder", EISDIR}, {"loop-a", ELOOP}, {"missing/file", ENOENT}};
    // clang-format on
    for (const auto& [name, error] : cases) {
        const AtomicWriteError result = ReplaceFileAtomically(folder / name, "new");
        EXPECT_EQ(result.Errno, error) << name;
        EXPECT_TRUE(result.AtCreate) << name;
    }
    EXPECT_EQ(test::ReadFile(folder / "locked"), "keep");
    EXPECT_TRUE(fs::is_fifo(folder / "fifo"));
    EXPECT_TRUE(fs::is_empty(folder / "folder"));
    EXPECT_EQ(test::EntryCount(folder.Path()), 6);

    // Any name the file system takes can be written.
    const std::string longest(255, 'n');
    ASSERT_FALSE(ReplaceFileAtomically(folder / longest, "data"));
    EXPECT_EQ(test::ReadFile(folder / longest), "data");
    // A name that looks like our own temporary files is just a name.
    ASSERT_FALSE(ReplaceFileAtomically(folder / ".kvXXXXXX.tmp", "data"));
    EXPECT_EQ(test::EntryCount(folder.Path()), 8);
}

} // namespace
} // namespace kalvara
