// What the desktop program tells the user when something outside it fails:
// an output folder that cannot be made, a calendar file that cannot be
// written, a web browser that does not start.

#include "AppHarness.h"
#include "app/MainWindow.h"
#include "gui/Gui.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace kalvara::test {
namespace {

TEST(OutputFolderProblem, IsToldWithItsReasonInsteadOfAMissingReaderAndKeepsGenerateOff) {
    AppHarness harness;
    // A file where the folder should be, under a name with the message box's
    // mark-up characters: not even root can make the folder.
    harness.folder_given = harness.ProgramFolder() + "odd{f7}|name/";
    WriteFile(harness.folder_given + "Zorv.ini", NoUpdateCheck);
    WriteFile(harness.folder_given + "PDF", "in the way");
    MessageRecorder messages;
    harness.Start();
    ASSERT_EQ(messages.Titles(), std::vector<std::string>{"Calendars Cannot Be Saved"});
    EXPECT_TRUE(Contains(messages.Messages()[0].Text1, "odd{f7} name/PDF\""))
        << messages.Messages()[0].Text1;
    EXPECT_FALSE(harness.App().OutputFolderProblem().empty());
    EXPECT_TRUE(Contains(messages.Messages()[0].Text2, harness.App().OutputFolderProblem()));
    // Editing the year, which brings Generate back after a missing reader,
    // does not here.
    Type(MainFormName, YearFieldId, "2025");
    EXPECT_FALSE(gui::IsEnabled(MainFormName, GenerateButtonId));
    EXPECT_EQ(ReadFile(harness.folder_given + "PDF"), "in the way");
}

TEST(PdfError, NamesTheFileAndTheSystemsReason) {
    AppHarness harness;
    // A folder under the calendar's name survives the start-up clean-up and
    // cannot be replaced by a file.
    fs::create_directories(harness.OutputFolder() + "001Calendar.PDF");
    harness.Start();
    MessageRecorder messages;
    Click(MainFormName, GenerateButtonId);
    Pump();
    ASSERT_EQ(messages.Titles(), std::vector<std::string>{"PDF Error"});
    const MessageRecorder::Message& message = messages.Messages()[0];
    EXPECT_TRUE(Contains(message.Text2, harness.OutputFolder() + "001Calendar.PDF"));
    EXPECT_TRUE(Contains(message.Text2, std::make_error_code(std::errc::is_a_directory).message()))
        << message.Text2;
    EXPECT_TRUE(harness.opened.empty());
    EXPECT_FALSE(gui::FormExists(MainFormName));
}

TEST(NoWebBrowser, TheAddressIsShownToCopy) {
    const std::string page = "http://127.0.0.1/kalvara{x}|page.html";
    AppHarness harness(NoUpdateCheck + ClosedVersionUrl() + "ProductPage=" + page + "\n");
    harness.Start();
    MessageRecorder messages;
    harness.App().OpenWebPage(page);
    Pump();
    EXPECT_TRUE(messages.Messages().empty()) << "a browser that starts needs no notice";
    // "&Visit Web Site" after a failed check from the menu.
    harness.browser_starts = false;
    harness.update_answer = 1;
    TriggerMenu(MainFormName, MenuCheckForUpdate);
    EXPECT_EQ(harness.opened, std::vector<std::string>(2, page));
    ASSERT_EQ(messages.Titles(), std::vector<std::string>{"No Web Browser"});
    // The recorder reads every "|" as a line break.
    EXPECT_TRUE(Contains(messages.Messages()[0].Text2, "http://127.0.0.1/kalvara{x} page.html"))
        << messages.Messages()[0].Text2;
    EXPECT_TRUE(gui::FormExists(MainFormName));
}

} // namespace
} // namespace kalvara::test
