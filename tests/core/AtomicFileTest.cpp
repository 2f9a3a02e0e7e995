// What is not a plain file, or is one the user protected, is neither
// replaced nor read, never blocks, and is left as it was.

#include "core/AtomicFile.h"

#include "FileContents.h"
#include "core/RegularFile.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace kalvara {
namespace {

namespace fs = std::filesystem;

TEST(OddTargets, AreRefusedAndLeftAloneAnyNameIsTaken) {
    test::TempFolder folder;
    // Made read-only by the user: refused even for root, who could write it.
    test::WriteFile(folder / "locked", "keep");
    ::chmod((folder / "locked").c_str(), 0444);
    fs::create_symlink("locked", folder / "to-locked");
    // A FIFO without a writer would hold an ordinary open forever.
    ASSERT_EQ(::mkfifo((folder / "fifo").c_str(), 0600), 0);
    fs::create_directory(folder / "folder");
    fs::create_symlink("loop-b", folder / "loop-a");
    fs::create_symlink("loop-a", folder / "loop-b");
    // clang-format off
    const std::tuple<std::string, int, bool> cases[] = {{"locked", EACCES, true},
        {"to-locked", EACCES, true}, {"fifo", EINVAL, false}, {"folder", EISDIR, false},
        {"loop-a", ELOOP, false}, {"missing/file", ENOENT, false}};
    // clang-format on
    for (const auto& [name, error, readable] : cases) {
        const AtomicWriteError result = ReplaceFileAtomically(folder / name, "new");
        EXPECT_EQ(std::pair(result.Errno, result.AtCreate), std::pair(error, true)) << name;
        EXPECT_EQ(ReadRegularFile(folder / name, 1000).WasRead(), readable) << name;
        EXPECT_EQ(IsRegularFile(folder / name), readable) << name;
    }
    EXPECT_FALSE(ReadRegularFile("/dev/zero", 1000).WasRead() || IsRegularFile("/dev/zero"));
    EXPECT_EQ(ReadRegularFile(folder / "to-locked", 1000).Bytes, "keep");
    EXPECT_EQ(ReadRegularFile(folder / "to-locked", 3).Bytes, "kee");
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
