// The calendar export from the desktop program: the dialog through real
// widgets, the save dialog's answer supplied by the test.

#include "app/ExportDialog.h"

#include "AppHarness.h"
#include "app/HelpViewer.h"
#include "app/MainWindow.h"
#include "gui/Gui.h"

#include <filesystem>
#include <gmock/gmock.h>

namespace fs = std::filesystem;

namespace kalvara::test {
namespace {

using ::testing::HasSubstr;

// Runs the export from the menu, doing `answer` in the dialog.
void Export(const std::function<void()>& answer) {
    EXPECT_TRUE(OpenAndAnswer(
        ExportFormName, [] { TriggerMenu(MainFormName, MenuExportCalendar); }, answer));
    EXPECT_FALSE(gui::FormExists(ExportFormName));
}

TEST(ExportRange, OneToTenYearsWithin1920To9999) {
    // The years taken, or what the refusal says.
    for (const auto& [first, count, outcome] :
         std::vector<std::tuple<std::string, std::string, std::string>>{
             {" 1920 ", "10", "1920-1929"},
             {"9990", "10", "9990-9999"},
             {"9991", "10", "after 9999"},
             {"1919", "1", "from 1920 to 9999"},
             {"20x6", "1", "from 1920 to 9999"},
             {"", "1", "from 1920 to 9999"},
             {"99999999999999999999", "1", "from 1920 to 9999"},
             {"2026", "0", "from 1 to 10"},
             {"2026", "11", "from 1 to 10"},
             {"2026", "+2", "from 1 to 10"}}) {
        SCOPED_TRACE(first + "/" + count);
        ExportRange range;
        std::string problem;
        const bool taken = ParseExportRange(first, count, range, problem);
        EXPECT_EQ(problem.empty(), taken);
        EXPECT_THAT(taken ? std::to_string(range.FirstYear) + "-" + std::to_string(range.LastYear())
                          : problem,
                    HasSubstr(outcome));
    }
}

// One session: bad years keep the dialog open and Cancel writes nothing;
// then a file that is written, then one that cannot be.
TEST(ExportDialog, AsksTheYearsThenTheFileAndSaysWhereItWentOrWhyNot) {
    AppHarness harness;
    harness.Start();
    Type(MainFormName, YearFieldId, "2027");
    std::string page;
    Export([&] {
        Type(ExportFormName, ExportYearFieldId, "1919");
        Click(ExportFormName, ExportOkId);
        EXPECT_TRUE(gui::FormExists(ExportFormName));
        Click(ExportFormName, ExportHelpId);
        page = harness.HelpPage();
        if (HelpViewer* help = harness.App().Help(); help != nullptr) {
            help->close();
        }
        Click(ExportFormName, ExportCancelId);
    });
    EXPECT_EQ(harness.message_titles, std::vector<std::string>{"Export to Calendar"});
    EXPECT_EQ(page, "topic30.html");
    EXPECT_TRUE(harness.export_suggestions.empty());

    SCOPED_TRACE("written");
    const std::string folder = harness.ProgramFolder() + "exports/";
    fs::create_directories(folder);
    harness.export_answer = folder + "broadcast.ics";
    Export([] {
        EXPECT_EQ(gui::GetText(ExportFormName, ExportYearFieldId), "2027");
        EXPECT_EQ(gui::GetText(ExportFormName, ExportCountFieldId), "1");
        Type(ExportFormName, ExportCountFieldId, "3");
        Click(ExportFormName, ExportOkId);
    });
    EXPECT_EQ(harness.export_suggestions,
              std::vector<std::string>{"broadcast-calendar-2027-2029.ics"});
    EXPECT_EQ(harness.message_titles.back(), "Calendar Exported");
    EXPECT_THAT(harness.message_texts.back(), HasSubstr(harness.export_answer));
    EXPECT_EQ(ReadFile(harness.export_answer).rfind("BEGIN:VCALENDAR", 0), 0u);
    // Written in one piece: nothing else is left beside it.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);

    SCOPED_TRACE("a file that cannot be written is told with the system's reason");
    harness.export_answer = folder + "missing/broadcast.ics";
    Export([] { Click(ExportFormName, ExportOkId); });
    EXPECT_EQ(harness.message_titles.back(), "Calendar Not Exported");
    EXPECT_THAT(harness.message_texts.back(),
                HasSubstr(std::make_error_code(std::errc::no_such_file_or_directory).message()));
    EXPECT_FALSE(fs::exists(folder + "missing"));
}

} // namespace
} // namespace kalvara::test
