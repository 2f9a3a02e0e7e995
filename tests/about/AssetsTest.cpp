// The shipped data files: what the About box and the help window load.

#include "about/RtfReader.h"

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

    for (const RtfParagraph& paragraph : document.paragraphs) {
        EXPECT_FALSE(paragraph.runs.empty());
    }
}

TEST(AboutAssets, HelpHasContentsIndexAndEveryTopicPage) {
    for (const char* page : {"contents.html", "index.html", "topic10.html", "topic20.html",
                             "topic25.html", "topic45.html"}) {
        const std::string html = ReadFile(Assets / "help" / page);
        EXPECT_NE(html.find("<title>"), std::string::npos) << page;
        EXPECT_NE(html.find("</html>"), std::string::npos) << page;
    }
}

TEST(AboutAssets, HelpLinksAndAnchorsResolve) {
    const std::regex href(R"re(href="([^"#]*)(?:#([^"]*))?")re");
    int links = 0;
    for (const auto& entry : fs::directory_iterator(Assets / "help")) {
        if (entry.path().extension() != ".html") {
            continue;
        }
        const std::string html = ReadFile(entry.path());
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

} // namespace
} // namespace kalvara
