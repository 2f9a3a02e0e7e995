#include "core/RegularFile.h"

#include "core/TextHelpers.h"
#include "support/TempFolder.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;
using kalvara::test::TempFolder;

TEST(RegularFile, ReadsFilesAndLinksToThemUpToTheLimit) {
    TempFolder temp;
    std::ofstream(temp.File("History.rtf"), std::ios::binary) << "{\\rtf1 history}";
    fs::create_symlink(temp.File("History.rtf"), temp.File("link.rtf"));
    EXPECT_EQ(kalvara::ReadRegularFile(temp.File("link.rtf"), 1000).Bytes, "{\\rtf1 history}");
    EXPECT_EQ(kalvara::ReadRegularFile(temp.File("History.rtf"), 5).Bytes, "{\\rtf");
    EXPECT_TRUE(kalvara::IsRegularFile(temp.File("link.rtf")));
}

TEST(RegularFile, OtherTypesAreMissingAndNeverBlock) {
    TempFolder temp;
    // A FIFO without a writer would hold an ordinary open forever.
    ASSERT_EQ(::mkfifo(temp.File("fifo").c_str(), 0600), 0);
    fs::create_directories(temp.File("folder"));
    for (const std::string& path :
         {temp.File("fifo"), temp.File("folder"), temp.File("missing"), std::string("/dev/zero")}) {
        EXPECT_FALSE(kalvara::ReadRegularFile(path, 1000).WasRead()) << path;
        EXPECT_FALSE(kalvara::IsRegularFile(path)) << path;
    }
}

TEST(TextHelpers, BlanksAreSpacesOnly) {
    EXPECT_EQ(kalvara::TrimBlanks("  1998  "), "1998");
    EXPECT_EQ(kalvara::TrimBlanks("\t1998 "), "\t1998");
    EXPECT_EQ(kalvara::TrimBlanks("   "), "");
    EXPECT_EQ(kalvara::AsciiLower("Calendar.PDF"), "calendar.pdf");
    EXPECT_EQ(kalvara::HexDigitValue('F'), 15);
    EXPECT_EQ(kalvara::HexDigitValue('g'), -1);
}

} // namespace
