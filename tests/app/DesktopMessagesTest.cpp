// What the desktop program tells the user when something outside it fails:
// an output folder that cannot be made, a calendar file that cannot be
// written, a web browser that does not start.

#include "AppHarness.h"
#include "app/MainWindow.h"
#include "gui/Gui.h"

#include <filesystem>
#include <gmock/gmock.h>

namespace fs = std::filesystem;

namespace kalvara::test {
namespace {

using ::testing::AllOf;
using ::testing::HasSubstr;

TEST(OutputFolderProblem, IsToldWithItsReasonInsteadOfAMissingReaderAndKeepsGenerateOff) {
    AppHarness harness;
    // A file where the folder should be, under a name with the message box's
    // mark-up characters: not even root can make the folder.
    harness.folder_given = harness.ProgramFolder() + "odd{f7}|name/";
    WriteFile(harness.folder_given + "Zorv.ini", NoUpdateCheck);
    WriteFile(harness.folder_given + "PDF", "in the way");
    harness.Start();
    ASSERT_EQ(harness.message_titles, std::vector<std::string>{"Calendars Cannot Be Saved"});
    EXPECT_FALSE(harness.App().OutputFolderProblem().empty());
    EXPECT_THAT(harness.message_texts[0], AllOf(HasSubstr("odd{f7} name/PDF\""),
                                                HasSubstr(harness.App().OutputFolderProblem())));
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
    Click(MainFormName, GenerateButtonId);
    Pump();
    ASSERT_EQ(harness.message_titles, std::vector<std::string>{"PDF Error"});
    EXPECT_THAT(harness.message_texts[0],
                AllOf(HasSubstr(harness.OutputFolder() + "001Calendar.PDF"),
                      HasSubstr(std::make_error_code(std::errc::is_a_directory).message())));
    EXPECT_TRUE(harness.opened.empty());
    EXPECT_FALSE(gui::FormExists(MainFormName));
}

// The menu's check always answers, here with "&Visit Web Site" after it failed.
TEST(NoWebBrowser, TheAddressIsShownToCopy) {
    const std::string page = "http://127.0.0.1/kalvara{x}|page.html";
    AppHarness harness(NoUpdateCheck + ClosedVersionUrl() + "ProductPage=" + page + "\n");
    harness.Start();
    ASSERT_TRUE(harness.update_messages.empty());
    harness.App().OpenWebPage(page);
    Pump();
    EXPECT_TRUE(harness.message_titles.empty()) << "a browser that starts needs no notice";
    harness.browser_starts = false;
    harness.update_answer = 1;
    TriggerMenu(MainFormName, MenuCheckForUpdate);
    EXPECT_EQ(harness.update_messages, std::vector<std::string>{"Unable to Complete Update Check"});
    EXPECT_EQ(harness.opened, std::vector<std::string>(2, page));
    ASSERT_EQ(harness.message_titles, std::vector<std::string>{"No Web Browser"});
    // The recorder reads every "|" as a line break.
    EXPECT_THAT(harness.message_texts[0], HasSubstr("http://127.0.0.1/kalvara{x} page.html"));
    // Closing without a downloaded installer starts nothing.
    TriggerMenu(MainFormName, MenuExit);
    Pump();
    EXPECT_FALSE(gui::FormExists(MainFormName));
    EXPECT_TRUE(harness.started.empty());
}

} // namespace
} // namespace kalvara::test
