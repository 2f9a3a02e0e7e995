// The shipped data files: what the About box and the help window load.

#include "rtf/RtfReader.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <set>
#include <sstream>
#include <string>

namespace kalvara {
namespace {

namespace fs = std::filesystem;

const fs::path Assets = KALVARA_TEST_ASSETS;

std::string ReadFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream contents;
    contents << file.rdbuf();
    return contents.str();
}

TEST(AboutAssets, HistoryReadsAsCleanTextWithTheReleasesNewestFirst) {
    const std::string rtf = ReadFile(Assets / "History.rtf");
    ASSERT_FALSE(rtf.empty());
    ASSERT_EQ(rtf.rfind("{\\rtf1", 0), 0u);
    const RtfDocument document = ReadRtf(rtf);
    const std::string text = RtfPlainText(document);

    // Anything the reader does not understand would leak out as syntax.
    EXPECT_EQ(text.find_first_of("\\{}"), std::string::npos) << text;
    EXPECT_EQ(text.find("\xEF\xBF\xBD"), std::string::npos) << "replacement character";

    EXPECT_NE(text.find("All rights reserved."), std::string::npos);
    EXPECT_NE(text.find("in the development of Kalvara."), std::string::npos);

    const std::regex version(R"(Version (\d+)\.(\d+)\.(\d+)\.(\d+))");
    std::vector<std::string> versions;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), version);
         it != std::sregex_iterator(); ++it) {
        versions.push_back((*it)[0]);
    }
    ASSERT_GE(versions.size(), 3u);
    EXPECT_EQ(versions.front(), "Version 5.3.0.0");
    EXPECT_TRUE(std::is_sorted(versions.rbegin(), versions.rend())) << "newest release first";
}

// Every page links to the contents and the index; the main window's tests
// open each topic page.
TEST(AboutAssets, HelpPagesAreWholeAndTheirLinksAndAnchorsResolve) {
    const std::regex href(R"re(href="([^"#]*)(?:#([^"]*))?")re");
    int links = 0;
    for (const auto& entry : fs::directory_iterator(Assets / "help")) {
        if (entry.path().extension() != ".html") {
            continue;
        }
        const std::string html = ReadFile(entry.path());
        EXPECT_NE(html.find("<title>"), std::string::npos) << entry.path();
        EXPECT_NE(html.find("</html>"), std::string::npos) << entry.path();
        for (auto it = std::sregex_iterator(html.begin(), html.end(), href);
             it != std::sregex_iterator(); ++it) {
            ++links;
            const std::string file = (*it)[1];
            const std::string anchor = (*it)[2];
            const fs::path target = file.empty() ? entry.path() : Assets / "help" / file;
            ASSERT_TRUE(fs::is_regular_file(target))
                << entry.path().filename() << " links to missing " << file;
            if (!anchor.empty()) {
                EXPECT_NE(ReadFile(target).find("name=\"" + anchor + "\""), std::string::npos)
                    << entry.path().filename() << " links to missing anchor " << file << "#"
                    << anchor;
            }
        }
    }
    EXPECT_GT(links, 50);
}

// Bitmaps store their numbers least significant byte first, PNG most.
std::uint32_t Number(const std::string& bytes, std::size_t at, int size, bool little = true) {
    std::uint32_t value = 0;
    for (int i = 0; i < size; ++i) {
        value =
            (value << 8) | static_cast<unsigned char>(bytes.at(at + (little ? size - 1 - i : i)));
    }
    return value;
}

// The main window shows the samples unscaled, so their sizes are part of its
// layout: a picture of another size would be cut or leave gaps.
TEST(AboutAssets, StylePicturesAre24BitBitmapsOfTheWindowsSizes) {
    struct Sample {
        const char* file;
        std::uint32_t width;
        std::uint32_t height;
    };
    const Sample samples[] = {
        {"calmonth.bmp", 226, 172},   {"calquarter.bmp", 150, 172}, {"calyear.bmp", 152, 172},
        {"calthreeyr.bmp", 138, 172}, {"calstrip.bmp", 226, 137},   {"calplanner.bmp", 149, 172},
    };
    for (const Sample& sample : samples) {
        SCOPED_TRACE(sample.file);
        const std::string bmp = ReadFile(Assets / "Graphics" / sample.file);
        ASSERT_GE(bmp.size(), 54u);
        EXPECT_EQ(bmp.substr(0, 2), "BM");
        EXPECT_EQ(Number(bmp, 2, 4), bmp.size());
        EXPECT_EQ(Number(bmp, 18, 4), sample.width);
        EXPECT_EQ(Number(bmp, 22, 4), sample.height); // positive: rows bottom-up
        EXPECT_EQ(Number(bmp, 28, 2), 24u);
        EXPECT_EQ(Number(bmp, 30, 4), 0u); // uncompressed
        const std::uint32_t stride = (sample.width * 3 + 3) & ~3u;
        EXPECT_EQ(bmp.size(), Number(bmp, 10, 4) + stride * sample.height);
    }
}

TEST(AboutAssets, IconIsA256PixelPng) {
    const std::string png = ReadFile(Assets / "kalvara.png");
    ASSERT_GE(png.size(), 24u);
    EXPECT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1a\n");
    EXPECT_EQ(Number(png, 16, 4, false), 256u); // width
    EXPECT_EQ(Number(png, 20, 4, false), 256u); // height
}

} // namespace
} // namespace kalvara
