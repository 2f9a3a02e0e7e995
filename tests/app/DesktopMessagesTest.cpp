// What the desktop program tells the user when something outside it fails:
// an output folder that cannot be made, a calendar file that cannot be
// written, a web browser that does not start.

#include "AppHarness.h"
#include "app/MainWindow.h"
#include "core/Notice.h"
#include "gui/Gui.h"
#include "msgbox/MessageBox.h"

#include <QLineEdit>
#include <QTcpServer>
#include <QTest>
#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace kalvara::test {
namespace {

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

void TypeYear(const QString& text) {
    auto* field = qobject_cast<QLineEdit*>(gui::ControlWidget(MainFormName, YearFieldId));
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, text);
}

TEST(OutputFolderProblem, IsToldWithItsReasonInsteadOfAMissingReaderAndKeepsGenerateOff) {
    AppHarness harness;
    // A file where the folder should be: not even root can make the folder.
    const std::string folder = harness.OutputFolder().substr(0, harness.OutputFolder().size() - 1);
    WriteFile(folder, "in the way");
    MessageRecorder messages;
    harness.Start();

    ASSERT_EQ(messages.Titles(), std::vector<std::string>{"Calendars Cannot Be Saved"});
    const MessageRecorder::Message& message = messages.Messages()[0];
    EXPECT_TRUE(Contains(message.Text1, "\"" + folder + "\"")) << message.Text1;
    const std::string reason = std::make_error_code(std::errc::file_exists).message();
    const std::string other = std::make_error_code(std::errc::not_a_directory).message();
    EXPECT_TRUE(Contains(message.Text2, reason) || Contains(message.Text2, other)) << message.Text2;
    EXPECT_TRUE(Contains(message.Text2, "until Kalvara is started again"));

    EXPECT_FALSE(harness.App().OutputFolderProblem().empty());
    EXPECT_FALSE(gui::IsEnabled(MainFormName, GenerateButtonId));
    // Editing the year, which brings Generate back after a missing reader,
    // does not here.
    TypeYear("2026");
    EXPECT_FALSE(gui::IsEnabled(MainFormName, GenerateButtonId));
    EXPECT_EQ(ReadFile(folder), "in the way");
}

TEST(OutputFolderProblem, AFolderWithMarkupCharactersIsShownAsItIs) {
    AppHarness harness;
    harness.folder_given = harness.ProgramFolder() + "odd{f7}|name/";
    WriteFile(harness.folder_given + "Zorv.ini", NoUpdateCheck);
    WriteFile(harness.folder_given + "PDF", "in the way");
    MessageRecorder messages;
    harness.Start();
    ASSERT_EQ(messages.Titles().size(), 1u);
    // Neither the "{" nor the "|" of the name cut the message short.
    EXPECT_TRUE(Contains(messages.Messages()[0].Text1, LiteralText("odd{f7}|name/PDF\"")))
        << messages.Messages()[0].Text1;
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
    EXPECT_TRUE(Contains(message.Text1, "Error number = ")) << message.Text1;
    EXPECT_TRUE(Contains(message.Text2, harness.OutputFolder() + "001Calendar.PDF"))
        << message.Text2;
    EXPECT_TRUE(Contains(message.Text2, std::make_error_code(std::errc::is_a_directory).message()))
        << message.Text2;
    // Nothing was opened or half written, and the program closed its window.
    EXPECT_TRUE(harness.opened.empty());
    EXPECT_TRUE(fs::is_directory(harness.OutputFolder() + "001Calendar.PDF"));
    EXPECT_FALSE(gui::FormExists(MainFormName));
}

TEST(NoWebBrowser, TheAddressIsShownToCopy) {
    QTcpServer closed;
    closed.listen(QHostAddress::LocalHost, 0);
    const std::string page = "http://127.0.0.1/kalvara{x}|page.html";
    AppHarness harness(std::string(NoUpdateCheck) +
                       "VersionUrl=http://127.0.0.1:" + std::to_string(closed.serverPort()) +
                       "/ZorvVersion.txt\n" + "ProductPage=" + page + "\n");
    closed.close();
    harness.Start();
    harness.browser_starts = false;
    // "&Visit Web Site" after a failed check from the menu.
    harness.update_answer = 1;
    MessageRecorder messages;
    TriggerMenu(MainFormName, MenuCheckForUpdate);

    EXPECT_EQ(harness.opened, std::vector<std::string>{page});
    ASSERT_EQ(messages.Titles(), std::vector<std::string>{"No Web Browser"});
    EXPECT_TRUE(Contains(messages.Messages()[0].Text2, LiteralText(page)))
        << messages.Messages()[0].Text2;
    EXPECT_TRUE(gui::FormExists(MainFormName));
}

TEST(NoWebBrowser, AStartedBrowserNeedsNoNotice) {
    AppHarness harness;
    harness.Start();
    MessageRecorder messages;
    harness.App().OpenWebPage("http://127.0.0.1/kalvara.html");
    Pump();
    EXPECT_EQ(harness.opened, std::vector<std::string>{"http://127.0.0.1/kalvara.html"});
    EXPECT_TRUE(messages.Messages().empty());
}

} // namespace
} // namespace kalvara::test
