#include "render/CalendarDocument.h"

#include "PdfReadback.h"
#include "core/Notice.h"
#include "core/SettingsStore.h"
#include "render/PdfDocument.h"

#include <cstdlib>
#include <filesystem>

namespace kalvara {
namespace {

namespace fs = std::filesystem;

int pdf_blocks_left = 0; // libharu's memory fails once these are handed out

class CalendarDocumentRun : public ::testing::Test {
protected:
    CalendarDocumentRun() {
        environment_.TakeNumberedFile = [this] {
            return TakeNumberedCalendarFile(settings_, output_folder_);
        };
        environment_.OpenInReader = [this](const std::string& path) { opened_.push_back(path); };
        environment_.AfterPdfError = [this] { ++closed_; };
        fs::create_directory(folder_ / "PDF");
    }

    GenerateResult Run() { return GenerateCalendar(selection_, years_, environment_); }

    std::vector<std::string> notices_;
    ScopedNoticeHook hook_{
        [this](auto& title, auto& text1, auto&) { notices_.push_back(title + ": " + text1); }};
    test::TempFolder folder_;
    std::string settings_ = folder_ / "Zorv.ini";
    std::string output_folder_ = folder_ / "PDF/";
    std::vector<std::string> opened_;
    int closed_ = 0;
    GenerateEnvironment environment_;
    CalendarSelection selection_{CalendarStyle::Year, AllPeriods, 2025};
    BroadcastYearTable years_;
};

// A link planted under the next number must not lead the calendar out of its
// folder; a saved file opens only when there is a reader.
TEST_F(CalendarDocumentRun, NumberedAndChosenFilesAreSavedAndOpenedInTheReader) {
    std::ofstream(folder_ / "outside.pdf") << "the user's";
    fs::create_symlink(folder_ / "outside.pdf", output_folder_ + "002Calendar.PDF");
    const auto first = Run();
    EXPECT_TRUE(first.Saved && !first.PdfErrorOccurred && first.NumberNotKept.empty());
    EXPECT_EQ(first.Path, output_folder_ + "001Calendar.PDF");
    selection_.Style = CalendarStyle::Month;
    const auto second = Run();
    ASSERT_EQ(second.Path, output_folder_ + "002Calendar.PDF");
    EXPECT_TRUE(second.Saved && !fs::is_symlink(second.Path) && opened_.empty()) << second.Problem;
    EXPECT_EQ(fs::file_size(folder_ / "outside.pdf"), 10u);
    environment_.PdfReaderPath = "/usr/bin/some-reader";
    environment_.OutputPath = folder_ / "chosen.pdf";
    EXPECT_TRUE(Run().Saved);
    EXPECT_EQ(opened_, std::vector<std::string>{environment_.OutputPath});
    EXPECT_TRUE(notices_.empty());
}

// Reported the way libharu reports a failed save (file open error with
// errno), opened in no reader, and nothing left behind.
TEST_F(CalendarDocumentRun, UnwritableTargetsAreReportedAndLeaveNothingBehind) {
    std::ofstream(folder_ / "plain-file") << "not a folder";
    fs::create_directory(folder_ / "a-folder");
    environment_.PdfReaderPath = "/usr/bin/some-reader";
    for (const char* target : {"missing/out.pdf", "plain-file/out.pdf", "a-folder"}) {
        environment_.OutputPath = folder_ / target;
        const auto result = Run();
        EXPECT_TRUE(!result.Saved && result.PdfErrorOccurred &&
                    result.Problem.find(environment_.OutputPath) != std::string::npos)
            << result.Problem;
    }
    const std::string error = "PDF Error: Error number = 4119 [&H1017]|Detail number = ";
    EXPECT_EQ(notices_,
              (std::vector<std::string>{error + "2 [&H2]{f11,t4}", error + "20 [&H14]{f11,t4}",
                                        error + "21 [&H15]{f11,t4}"}));
    EXPECT_TRUE(closed_ == 3 && opened_.empty() && fs::is_empty(folder_ / "a-folder"));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_.Path()), fs::directory_iterator()), 3);
    // A document with a failed call is not saved; without the run's state the
    // handler still shows its notice.
    PdfDocument document(PdfErrorHandler, nullptr);
    EXPECT_EQ(HPDF_GetFont(document.Get(), "No-Such-Font", nullptr), nullptr);
    std::string bytes = "stale";
    EXPECT_TRUE(!document.SaveToMemory(bytes) && bytes.empty());
    PdfErrorHandler(0x1025, 255, nullptr);
    EXPECT_EQ(notices_.back(),
              "PDF Error: Error number = 4133 [&H1025]|Detail number = 255 [&HFF]{f11,t4}");
}

// Without memory for even the document, no number is taken and nothing is
// written; the user hears why.
TEST_F(CalendarDocumentRun, NoMemoryForTheDocumentTakesNoNumberAndSavesNothing) {
    environment_.Memory.Allocate = [](HPDF_UINT size) {
        return pdf_blocks_left-- > 0 ? std::malloc(size) : nullptr;
    };
    environment_.Memory.Free = [](void* block) { std::free(block); };
    const auto result = Run();
    EXPECT_TRUE(!result.Saved && result.PdfErrorOccurred && result.Path.empty());
    EXPECT_EQ(result.Problem, "Unable to create PDF object.");
    EXPECT_EQ(notices_,
              std::vector<std::string>{"PDF Error: Unable to create PDF object.{f11,t4}"});
    EXPECT_TRUE(!fs::exists(settings_) && fs::is_empty(output_folder_));

    // Memory that lasts past the document's creation gives a whole calendar.
    pdf_blocks_left = 1 << 20;
    EXPECT_TRUE(Run().Saved);
}

// An unknown style, or a cancelled period, prints no page (which mutool will
// not draw, but counts).
TEST_F(CalendarDocumentRun, NothingToPrintGivesAnEmptyDocument) {
    for (const CalendarSelection& nothing :
         {CalendarSelection{static_cast<CalendarStyle>(9)},
          CalendarSelection{CalendarStyle::Month, PeriodCancelled, 2025}}) {
        const auto result = GenerateCalendar(nothing, years_, environment_);
        const std::string count = "mutool info '" + result.Path + "' 2>&1 | grep -qx 'Pages: 0'";
        EXPECT_TRUE(!result.PdfErrorOccurred && std::system(count.c_str()) == 0) << count;
    }
}

} // namespace
} // namespace kalvara
