#include "core/OutputFolderCleanup.h"

#include "support/TempFolder.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;
using kalvara::test::TempFolder;

std::vector<std::string> Names(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(OutputFolderCleanup, RemovesOnlyTheProbeAndNumberedCalendars) {
    TempFolder temp;
    const std::string folder = temp.File("PDF") + "/";
    fs::create_directories(folder);
    for (const char* name :
         {"keep-me.pdf", "Report.PDF", "1234Calendar.PDF", "07Calendar.PDF", "00xCalendar.PDF",
          "007Calendar.PDF.bak", "007Calendar.PDF", "123calendar.pdf", "-x.PDF"}) {
        std::ofstream(folder + name) << "x";
    }
    // Named like ours, but not a file we wrote: a folder, and a link to a
    // file of the user's.
    fs::create_directories(folder + "008Calendar.PDF");
    std::ofstream(temp.File("precious.pdf")) << "mine";
    fs::create_symlink(temp.File("precious.pdf"), folder + "009Calendar.PDF");

    EXPECT_EQ(kalvara::ClearOutputFolder(folder), 3);
    EXPECT_EQ(Names(folder),
              (std::vector<std::string>{"007Calendar.PDF.bak", "008Calendar.PDF", "009Calendar.PDF",
                                        "00xCalendar.PDF", "07Calendar.PDF", "1234Calendar.PDF",
                                        "Report.PDF", "keep-me.pdf"}));
    EXPECT_TRUE(fs::is_regular_file(temp.File("precious.pdf")));
}

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

TEST(OutputFolderCleanup, TheProbeIsWrittenOnlyAsAFileOfItsOwn) {
    TempFolder temp;
    const std::string folder = temp.File("PDF") + "/";
    fs::create_directories(folder);
    std::ofstream(folder + "-x.PDF") << "an older, longer probe";
    EXPECT_TRUE(kalvara::WriteProbeFile(folder));
    EXPECT_EQ(ReadFile(folder + "-x.PDF"), "X\n");

    // Never through a link onto someone's file, and never held up by a FIFO.
    fs::remove(folder + "-x.PDF");
    std::ofstream(temp.File("precious.pdf")) << "mine";
    fs::create_symlink(temp.File("precious.pdf"), folder + "-x.PDF");
    EXPECT_FALSE(kalvara::WriteProbeFile(folder));
    EXPECT_EQ(ReadFile(temp.File("precious.pdf")), "mine");
    fs::remove(folder + "-x.PDF");
    ASSERT_EQ(::mkfifo((folder + "-x.PDF").c_str(), 0600), 0);
    EXPECT_FALSE(kalvara::WriteProbeFile(folder));
    EXPECT_FALSE(kalvara::WriteProbeFile(temp.File("missing/")));
}

TEST(OutputFolderCleanup, AMissingFolderIsNoError) {
    TempFolder temp;
    EXPECT_EQ(kalvara::ClearOutputFolder(temp.File("none/")), 0);
}

} // namespace
