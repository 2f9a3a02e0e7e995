#include "kalvara/Version.h"
#include "rtf/RtfReader.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <regex>
#include <string>

namespace kalvara {
namespace {

namespace fs = std::filesystem;

const fs::path Assets = KALVARA_TEST_ASSETS;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(AboutAssets, HistoryReadsAsCleanTextWithThisVersionFirst) {
    const std::string rtf = ReadFile(Assets / "History.rtf");
    ASSERT_TRUE(LooksLikeRtf(rtf));
    const std::string text = RtfPlainText(ReadRtf(rtf));
    // Anything the reader does not understand would leak out as syntax.
    EXPECT_EQ(text.find_first_of("\\{}"), std::string::npos) << text;
    EXPECT_EQ(text.find("\xEF\xBF\xBD"), std::string::npos) << "replacement character";

    std::smatch newest;
    ASSERT_TRUE(std::regex_search(text, newest, std::regex(R"(Version \d+\.\d+\.\d+\.\d+)")));
    EXPECT_EQ(newest.str(), std::string("Version ") + VersionText);
}

TEST(AboutAssets, HelpPagesAreWholeAndTheirLinksAndAnchorsResolve) {
    const std::regex href(R"re(href="([^"#]*)(?:#([^"]*))?")re");
    int links = 0;
    for (const auto& entry : fs::directory_iterator(Assets / "help")) {
        if (entry.path().extension() != ".html") {
            continue;
        }
        SCOPED_TRACE(entry.path().filename());
        const std::string html = ReadFile(entry.path());
        EXPECT_NE(html.find("<title>"), std::string::npos);
        EXPECT_NE(html.find("</html>"), std::string::npos);
        for (auto it = std::sregex_iterator(html.begin(), html.end(), href);
             it != std::sregex_iterator(); ++it, ++links) {
            const std::string file = (*it)[1];
            const std::string anchor = (*it)[2];
            const fs::path target = file.empty() ? entry.path() : Assets / "help" / file;
            ASSERT_TRUE(fs::is_regular_file(target)) << "missing " << file;
            if (!anchor.empty()) {
                EXPECT_NE(ReadFile(target).find("name=\"" + anchor + "\""), std::string::npos)
                    << "missing anchor " << file << "#" << anchor;
            }
        }
    }
    EXPECT_GT(links, 50);
}

// The icon is installed as the theme's 256x256 application icon.
TEST(AboutAssets, IconIsA256PixelPng) {
    const std::string png = ReadFile(Assets / "kalvara.png");
    EXPECT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1a\n");
    EXPECT_EQ(png.substr(16, 8), std::string("\0\0\1\0\0\0\1\0", 8));
}

} // namespace
} // namespace kalvara
