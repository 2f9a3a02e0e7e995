#include "core/OutputFolderCleanup.h"

#include "FileContents.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace kalvara {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;

class OutputFolderCleanup : public ::testing::Test {
protected:
    OutputFolderCleanup() {
        fs::create_directories(folder_);
        test::WriteFile(temp_ / "precious.pdf", "mine");
    }

    test::TempFolder temp_;
    std::string folder_ = temp_ / "PDF/";
};

TEST_F(OutputFolderCleanup, RemovesOnlyTheProbeAndNumberedCalendars) {
    for (const char* name :
         {"keep-me.pdf", "Report.PDF", "1234Calendar.PDF", "07Calendar.PDF", "00xCalendar.PDF",
          "007Calendar.PDF.bak", "007Calendar.PDF", "123calendar.pdf", "-x.PDF"}) {
        test::WriteFile(folder_ + name, "x");
    }
    // Named like ours, but not a file we wrote: a folder, and a link to a
    // file of the user's.
    fs::create_directories(folder_ + "008Calendar.PDF");
    fs::create_symlink(temp_ / "precious.pdf", folder_ + "009Calendar.PDF");

    EXPECT_EQ(ClearOutputFolder(folder_), 3);
    for (const char* removed : {"007Calendar.PDF", "123calendar.pdf", "-x.PDF"}) {
        EXPECT_FALSE(fs::exists(folder_ + removed)) << removed;
    }
    EXPECT_EQ(test::EntryCount(folder_), 8);
    EXPECT_EQ(ReadFile(temp_ / "precious.pdf"), "mine");
    EXPECT_EQ(ClearOutputFolder(temp_ / "none/"), 0);
}

TEST_F(OutputFolderCleanup, TheProbeIsWrittenOnlyAsAFileOfItsOwn) {
    test::WriteFile(folder_ + "-x.PDF", "an older, longer probe");
    EXPECT_TRUE(WriteProbeFile(folder_));
    EXPECT_EQ(ReadFile(folder_ + "-x.PDF"), "X\n");

    // Never through a link onto someone's file, and never held up by a FIFO.
    fs::remove(folder_ + "-x.PDF");
    fs::create_symlink(temp_ / "precious.pdf", folder_ + "-x.PDF");
    EXPECT_FALSE(WriteProbeFile(folder_));
    EXPECT_EQ(ReadFile(temp_ / "precious.pdf"), "mine");
    fs::remove(folder_ + "-x.PDF");
    ASSERT_EQ(::mkfifo((folder_ + "-x.PDF").c_str(), 0600), 0);
    EXPECT_FALSE(WriteProbeFile(folder_));
    EXPECT_FALSE(WriteProbeFile(temp_ / "missing/"));
}

} // namespace
} // namespace kalvara
