// The document driver: file numbers, saving, opening and libharu errors.

#include "render/CalendarDocument.h"

#include "PdfReadback.h"
#include "core/Notice.h"
#include "core/SettingsStore.h"
#include "render/PdfDocument.h"
#include "support/TempFolder.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <vector>

namespace kalvara {
namespace {

using test::TempFolder;
namespace fs = std::filesystem;

struct Notice {
    std::string Title, Text1, Text2;
};

// Collects notices instead of printing them, for the test's lifetime.
struct NoticeCatcher {
    std::vector<Notice> Notices;
    ScopedNoticeHook Hook{
        [this](const std::string& title, const std::string& text1, const std::string& text2) {
            Notices.push_back({title, text1, text2});
        }};
};

class CalendarDocumentRun : public ::testing::Test {
protected:
    CalendarDocumentRun() {
        environment_.TakeNumberedFile = [this] {
            return TakeNumberedCalendarFile(settings_, output_folder_);
        };
        fs::create_directory(folder_.File("PDF"));
        selection_.Style = CalendarStyle::Year;
        selection_.StartYear = 2025;
    }

    GenerateResult Run() { return GenerateCalendar(selection_, years_, environment_); }

    std::vector<std::string> FolderEntries(const std::string& folder) const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    NoticeCatcher notices_;
    TempFolder folder_;
    std::string settings_ = folder_.File("Zorv.ini");
    std::string output_folder_ = folder_.File("PDF") + "/";
    GenerateEnvironment environment_;
    CalendarSelection selection_;
    BroadcastYearTable years_;
};

TEST_F(CalendarDocumentRun, NumberedFilesStartAtOneAndReplaceOlderOnesAfter999) {
    auto result = Run();
    EXPECT_TRUE(result.Saved);
    EXPECT_FALSE(result.PdfErrorOccurred);
    EXPECT_EQ(result.NumberNotKept, "");
    EXPECT_EQ(result.Path, output_folder_ + "001Calendar.PDF");
    EXPECT_EQ(ReadSetting(settings_, "PDF", "Number", ""), "1");
    EXPECT_EQ(Run().Path, output_folder_ + "002Calendar.PDF");

    // After 999 comes 001, replacing the older file of that name.
    WriteSetting(settings_, "PDF", "Number", "999");
    selection_.Style = CalendarStyle::Month;
    selection_.Period = AllPeriods;
    result = Run();
    EXPECT_EQ(result.Path, output_folder_ + "001Calendar.PDF");
    EXPECT_EQ(test::ReadPdfTrace(result.Path).Pages.size(), 12u);
    EXPECT_EQ(FolderEntries(output_folder_),
              (std::vector<std::string>{"001Calendar.PDF", "002Calendar.PDF"}));
}

// A link planted under a numbered name must not lead the calendar out of
// its folder.
TEST_F(CalendarDocumentRun, ALinkUnderANumberedNameIsReplacedNotFollowed) {
    std::ofstream(folder_.File("outside.pdf")) << "the user's";
    fs::create_symlink(folder_.File("outside.pdf"), output_folder_ + "001Calendar.PDF");
    const auto numbered = Run();
    ASSERT_TRUE(numbered.Saved) << numbered.Problem;
    EXPECT_FALSE(fs::is_symlink(numbered.Path));
    EXPECT_EQ(test::ReadPdfTrace(numbered.Path).Pages.size(), 1u);
    EXPECT_EQ(fs::file_size(folder_.File("outside.pdf")), std::string("the user's").size());
}

// A file that cannot be written is reported the way libharu reports a failed
// save (file open or I/O error with errno), and leaves nothing behind.
TEST_F(CalendarDocumentRun, UnwritableTargetsAreReportedAndLeaveNothingBehind) {
    std::ofstream(folder_.File("plain-file")) << "not a folder";
    fs::create_directory(folder_.File("a-folder"));
    int closed = 0;
    environment_.AfterPdfError = [&] { ++closed; };
    const std::vector<std::pair<std::string, std::string>> cases = {
        {folder_.File("missing/out.pdf"), "Error number = 4119 [&H1017]|Detail number = 2 [&H2]"},
        {folder_.File("plain-file/out.pdf"),
         "Error number = 4119 [&H1017]|Detail number = 20 [&H14]"},
        {folder_.File("a-folder"), "Error number = 4119 [&H1017]|Detail number = 21 [&H15]"}};
    for (const auto& [target, text] : cases) {
        environment_.OutputPath = target;
        const auto result = Run();
        EXPECT_FALSE(result.Saved) << target;
        EXPECT_TRUE(result.PdfErrorOccurred) << target;
        EXPECT_NE(result.Problem.find(target), std::string::npos) << result.Problem;
        ASSERT_FALSE(notices_.Notices.empty());
        EXPECT_EQ(notices_.Notices.back().Title, "PDF Error");
        EXPECT_EQ(notices_.Notices.back().Text1, text + "{f11,t4}");
    }
    EXPECT_EQ(notices_.Notices.size(), 3u);
    EXPECT_EQ(closed, 3);
    EXPECT_TRUE(FolderEntries(folder_.File("a-folder")).empty());
    EXPECT_EQ(FolderEntries(folder_.Path().string()),
              (std::vector<std::string>{"PDF", "a-folder", "plain-file"}));
}

TEST_F(CalendarDocumentRun, TheReaderOpensOnlySavedFilesAndOnlyWhenThereIsOne) {
    std::vector<std::string> opened;
    environment_.OpenInReader = [&](const std::string& path) { opened.push_back(path); };
    Run();
    EXPECT_TRUE(opened.empty());

    environment_.PdfReaderPath = "/usr/bin/some-reader";
    const auto result = Run();
    EXPECT_EQ(opened, std::vector<std::string>{result.Path});

    environment_.OutputPath = folder_.File("missing/out.pdf");
    Run();
    EXPECT_EQ(opened.size(), 1u);
}

TEST_F(CalendarDocumentRun, StylesOutsideTheRangeGiveAnEmptyDocument) {
    selection_.Style = static_cast<CalendarStyle>(9);
    const auto result = Run();
    EXPECT_FALSE(result.PdfErrorOccurred);
    EXPECT_EQ(test::ReadPdfTrace(result.Path).Pages.size(), 0u);
    // A cancelled or impossible period prints no page either.
    selection_.Style = CalendarStyle::Month;
    selection_.Period = PeriodCancelled;
    EXPECT_EQ(test::ReadPdfTrace(Run().Path).Pages.size(), 0u);
}

TEST(PdfErrors, HandlerReachesTheRunThroughUserData) {
    NoticeCatcher notices;
    PdfRunState state;
    int closed = 0;
    state.AfterPdfError = [&] { ++closed; };
    {
        PdfDocument document(PdfErrorHandler, &state);
        ASSERT_NE(document.Get(), nullptr);
        EXPECT_EQ(HPDF_GetFont(document.Get(), "No-Such-Font", nullptr), nullptr);
        // libharu refuses to save a document after a failure, and says so.
        std::string bytes;
        EXPECT_FALSE(document.SaveToMemory(bytes));
        EXPECT_TRUE(bytes.empty());
    }
    ASSERT_GE(state.ErrorCount, 2);
    EXPECT_EQ(closed, state.ErrorCount);
    ASSERT_EQ(notices.Notices.size(), static_cast<std::size_t>(state.ErrorCount));
    EXPECT_EQ(notices.Notices[0].Text2, "");

    // Without user data the notice still appears; numbers are decimal and hex.
    PdfErrorHandler(0x1025, 255, nullptr);
    EXPECT_EQ(notices.Notices.back().Text1,
              "Error number = 4133 [&H1025]|Detail number = 255 [&HFF]{f11,t4}");
}

} // namespace
} // namespace kalvara
