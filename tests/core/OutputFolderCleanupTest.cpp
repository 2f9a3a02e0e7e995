#include "core/OutputFolderCleanup.h"

#include "FileContents.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace kalvara {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;

// The output folder may be one the user keeps other files in: only the
// probe and numbered calendars, written by us as plain files, are ours.
TEST(OutputFolder, OnlyOurOwnFilesAreRemovedOrWritten) {
    test::TempFolder temp;
    const std::string folder = temp / "PDF/";
    fs::create_directories(folder);
    test::WriteFile(temp / "precious.pdf", "mine");
    for (const char* name :
         {"keep-me.pdf", "Report.PDF", "1234Calendar.PDF", "07Calendar.PDF", "00xCalendar.PDF",
          "007Calendar.PDF.bak", "007Calendar.PDF", "123calendar.pdf", "-x.PDF"}) {
        test::WriteFile(folder + name, "x");
    }
    // Named like ours, but a folder, and a link to a file of the user's.
    fs::create_directories(folder + "008Calendar.PDF");
    fs::create_symlink(temp / "precious.pdf", folder + "009Calendar.PDF");
    EXPECT_EQ(ClearOutputFolder(folder), 3);
    for (const char* removed : {"007Calendar.PDF", "123calendar.pdf", "-x.PDF"}) {
        EXPECT_FALSE(fs::exists(folder + removed)) << removed;
    }
    EXPECT_EQ(test::EntryCount(folder), 8);
    EXPECT_EQ(ReadFile(temp / "precious.pdf"), "mine");
    EXPECT_EQ(ClearOutputFolder(temp / "none/"), 0);

    test::WriteFile(folder + "-x.PDF", "an older, longer probe");
    EXPECT_TRUE(WriteProbeFile(folder));
    EXPECT_EQ(ReadFile(folder + "-x.PDF"), "X\n");
    // Never through a link onto someone's file, and never held up by a FIFO.
    fs::remove(folder + "-x.PDF");
    fs::create_symlink(temp / "precious.pdf", folder + "-x.PDF");
    EXPECT_FALSE(WriteProbeFile(folder));
    EXPECT_EQ(ReadFile(temp / "precious.pdf"), "mine");
    fs::remove(folder + "-x.PDF");
    ASSERT_EQ(::mkfifo((folder + "-x.PDF").c_str(), 0600), 0);
    EXPECT_FALSE(WriteProbeFile(folder));
    EXPECT_FALSE(WriteProbeFile(temp / "missing/"));
}

} // namespace
} // namespace kalvara
