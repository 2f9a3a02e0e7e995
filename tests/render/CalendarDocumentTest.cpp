// The document driver: file numbers, saving, opening and libharu errors.

#include "render/CalendarDocument.h"

#include "PdfReadback.h"
#include "core/Notice.h"
#include "core/SettingsStore.h"
#include "render/PdfDocument.h"
#include "support/TempFolder.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <set>
#include <vector>

namespace kalvara {
namespace {

using test::ReadPdfTrace;
namespace fs = std::filesystem;

// Collects the notices' first texts instead of printing them.
struct NoticeCatcher {
    std::vector<std::string> Texts;
    ScopedNoticeHook Hook{[this](const std::string& title, const std::string& text1,
                                 const std::string&) { Texts.push_back(title + ": " + text1); }};
};

std::set<std::string> Entries(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

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

    NoticeCatcher notices_;
    test::TempFolder folder_;
    std::string settings_ = folder_.File("Zorv.ini");
    std::string output_folder_ = folder_.File("PDF") + "/";
    GenerateEnvironment environment_;
    CalendarSelection selection_;
    BroadcastYearTable years_;
};

TEST_F(CalendarDocumentRun, NumberedFilesCountOnAndReplaceTheOlderFileOfTheirName) {
    const auto first = Run();
    EXPECT_TRUE(first.Saved && !first.PdfErrorOccurred && first.NumberNotKept.empty());
    EXPECT_EQ(first.Path, output_folder_ + "001Calendar.PDF");
    EXPECT_EQ(Run().Path, output_folder_ + "002Calendar.PDF");
    WriteSetting(settings_, "PDF", "Number", "999");
    selection_.Style = CalendarStyle::Month;
    EXPECT_EQ(ReadPdfTrace(Run().Path).Pages.size(), 12u);
    EXPECT_EQ(Entries(output_folder_),
              (std::set<std::string>{"001Calendar.PDF", "002Calendar.PDF"}));
    EXPECT_TRUE(notices_.Texts.empty());
}

// A link planted under a numbered name must not lead the calendar out of its
// folder.
TEST_F(CalendarDocumentRun, ALinkUnderANumberedNameIsReplacedNotFollowed) {
    std::ofstream(folder_.File("outside.pdf")) << "the user's";
    fs::create_symlink(folder_.File("outside.pdf"), output_folder_ + "001Calendar.PDF");
    const auto numbered = Run();
    ASSERT_TRUE(numbered.Saved) << numbered.Problem;
    EXPECT_FALSE(fs::is_symlink(numbered.Path));
    EXPECT_EQ(ReadPdfTrace(numbered.Path).Pages.size(), 1u);
    EXPECT_EQ(fs::file_size(folder_.File("outside.pdf")), 10u);
}

// Reported the way libharu reports a failed save (file open error with
// errno), opened in no reader, and nothing left behind.
TEST_F(CalendarDocumentRun, UnwritableTargetsAreReportedAndLeaveNothingBehind) {
    std::ofstream(folder_.File("plain-file")) << "not a folder";
    fs::create_directory(folder_.File("a-folder"));
    int closed = 0, opened = 0;
    environment_.AfterPdfError = [&] { ++closed; };
    environment_.PdfReaderPath = "/usr/bin/some-reader";
    environment_.OpenInReader = [&](const std::string&) { ++opened; };
    for (const auto& [target, errno_text] :
         std::vector<std::pair<std::string, std::string>>{{"missing/out.pdf", "2 [&H2]"},
                                                          {"plain-file/out.pdf", "20 [&H14]"},
                                                          {"a-folder", "21 [&H15]"}}) {
        environment_.OutputPath = folder_.File(target);
        const auto result = Run();
        EXPECT_TRUE(!result.Saved && result.PdfErrorOccurred) << target;
        EXPECT_NE(result.Problem.find(environment_.OutputPath), std::string::npos)
            << result.Problem;
        ASSERT_FALSE(notices_.Texts.empty());
        EXPECT_EQ(notices_.Texts.back(),
                  "PDF Error: Error number = 4119 [&H1017]|Detail number = " + errno_text +
                      "{f11,t4}");
    }
    EXPECT_EQ(notices_.Texts.size(), 3u);
    EXPECT_EQ(closed, 3);
    EXPECT_EQ(opened, 0);
    EXPECT_TRUE(fs::is_empty(folder_.File("a-folder")));
    EXPECT_EQ(Entries(folder_.Path()), (std::set<std::string>{"PDF", "a-folder", "plain-file"}));
}

// A file chosen by name is written as named and takes no number.
TEST_F(CalendarDocumentRun, TheReaderOpensTheSavedFileOnlyWhenThereIsOne) {
    std::vector<std::string> opened;
    environment_.OpenInReader = [&](const std::string& path) { opened.push_back(path); };
    Run();
    EXPECT_TRUE(opened.empty());
    environment_.PdfReaderPath = "/usr/bin/some-reader";
    environment_.OutputPath = folder_.File("chosen.pdf");
    EXPECT_TRUE(Run().Saved);
    EXPECT_EQ(opened, std::vector<std::string>{environment_.OutputPath});
    EXPECT_EQ(ReadSetting(settings_, "PDF", "Number", ""), "1");
}

// An unknown style, or a cancelled period, prints no page.
TEST_F(CalendarDocumentRun, NothingToPrintGivesAnEmptyDocument) {
    selection_.Style = static_cast<CalendarStyle>(9);
    const auto result = Run();
    EXPECT_FALSE(result.PdfErrorOccurred);
    EXPECT_EQ(ReadPdfTrace(result.Path).Pages.size(), 0u);
    selection_.Style = CalendarStyle::Month;
    selection_.Period = PeriodCancelled;
    EXPECT_EQ(ReadPdfTrace(Run().Path).Pages.size(), 0u);
}

TEST(PdfErrors, HandlerReachesTheRunThroughUserData) {
    NoticeCatcher notices;
    PdfRunState state;
    int closed = 0;
    state.AfterPdfError = [&] { ++closed; };
    {
        PdfDocument document(PdfErrorHandler, &state);
        EXPECT_EQ(HPDF_GetFont(document.Get(), "No-Such-Font", nullptr), nullptr);
        // libharu refuses to save a document after a failure, and says so.
        std::string bytes;
        EXPECT_FALSE(document.SaveToMemory(bytes));
        EXPECT_TRUE(bytes.empty());
    }
    EXPECT_GE(state.ErrorCount, 2);
    EXPECT_EQ(closed, state.ErrorCount);
    EXPECT_EQ(notices.Texts.size(), static_cast<std::size_t>(state.ErrorCount));
    // Without user data the notice still appears.
    PdfErrorHandler(0x1025, 255, nullptr);
    EXPECT_EQ(notices.Texts.back(),
              "PDF Error: Error number = 4133 [&H1025]|Detail number = 255 [&HFF]{f11,t4}");
}

} // namespace
} // namespace kalvara
