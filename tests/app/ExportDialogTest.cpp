// The calendar export from the desktop program: the dialog through real
// widgets, the save dialog's answer supplied by the test.

#include "app/ExportDialog.h"

#include "AppHarness.h"
#include "app/HelpViewer.h"
#include "app/MainWindow.h"
#include "gui/Gui.h"
#include "ics/IcsCalendar.h"

#include <QLineEdit>
#include <QTest>
#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace kalvara::test {
namespace {

void Type(const std::string& form, int id, const QString& text) {
    auto* field = qobject_cast<QLineEdit*>(gui::ControlWidget(form, id));
    ASSERT_NE(field, nullptr) << form << " has no field " << id;
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, text);
}

// Runs the export from the menu, doing `answer` in the dialog.
void Export(const std::function<void()>& answer) {
    EXPECT_TRUE(OpenAndAnswer(
        ExportFormName, [] { TriggerMenu(MainFormName, MenuExportCalendar); }, answer));
    EXPECT_FALSE(gui::FormExists(ExportFormName));
}

TEST(ExportRange, OneToTenYearsWithin1920To9999) {
    for (const auto& [first, count, accepted] :
         std::vector<std::tuple<std::string, std::string, bool>>{
             {" 1920 ", "10", true},
             {"9990", "10", true},
             {"9991", "10", false},
             {"1919", "1", false},
             {"2026", "0", false},
             {"2026", "11", false},
             {"2026", "+2", false},
             {"20x6", "1", false},
             {"", "1", false},
             {"99999999999999999999", "1", false}}) {
        ExportRange range;
        std::string problem;
        EXPECT_EQ(ParseExportRange(first, count, range, problem), accepted) << first << count;
        EXPECT_EQ(problem.empty(), accepted) << problem;
    }
    EXPECT_EQ(SuggestedExportName({2026, 3}), "broadcast-calendar-2026-2028.ics");
    EXPECT_EQ(SuggestedExportName({2026, 1}), "broadcast-calendar-2026.ics");
}

TEST(ExportDialog, AsksTheYearsThenTheFileAndSaysWhereItWent) {
    AppHarness harness;
    harness.Start();
    Type(MainFormName, YearFieldId, "2027");
    MessageRecorder messages;
    const std::string folder = harness.ProgramFolder() + "exports/";
    fs::create_directories(folder);
    harness.export_answer = folder + "broadcast.ics";
    std::string preset;
    Export([&preset] {
        preset = gui::GetText(ExportFormName, ExportYearFieldId) + "/" +
                 gui::GetText(ExportFormName, ExportCountFieldId);
        Type(ExportFormName, ExportCountFieldId, "3");
        Click(ExportFormName, ExportOkId);
    });
    EXPECT_EQ(preset, "2027/1");
    if (BroadcastCalendarIcs(2027, 2029, IcsContent::WeeksAndMonths).Problem == "not built yet") {
        // Without a calendar to write nothing is asked or written.
        EXPECT_EQ(messages.Titles(), std::vector<std::string>{"Calendar Not Exported"});
        EXPECT_TRUE(harness.export_suggestions.empty());
        EXPECT_TRUE(fs::is_empty(folder));
        GTEST_SKIP() << "the iCalendar writer is not built yet";
    }
    EXPECT_EQ(harness.export_suggestions,
              std::vector<std::string>{"broadcast-calendar-2027-2029.ics"});
    ASSERT_EQ(messages.Titles(), std::vector<std::string>{"Calendar Exported"});
    EXPECT_NE(messages.Messages()[0].Text1.find(harness.export_answer), std::string::npos);
    EXPECT_EQ(ReadFile(harness.export_answer).rfind("BEGIN:VCALENDAR", 0), 0u);
    // Written in one piece: nothing else is left beside it.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);

    // A file that cannot be written is told with the system's reason.
    harness.export_answer = folder + "missing/broadcast.ics";
    Export([] { Click(ExportFormName, ExportOkId); });
    ASSERT_EQ(messages.Titles().back(), "Calendar Not Exported");
    EXPECT_NE(messages.Messages().back().Text2.find(
                  std::make_error_code(std::errc::no_such_file_or_directory).message()),
              std::string::npos);
    EXPECT_FALSE(fs::exists(folder + "missing"));
}

TEST(ExportDialog, BadYearsKeepItOpenHelpShowsItsTopicAndCancelWritesNothing) {
    AppHarness harness;
    harness.Start();
    MessageRecorder messages;
    std::vector<bool> open_after_refusal;
    std::vector<std::string> pages;
    const auto page = [&harness] {
        return harness.App().Help()->CurrentPage().fileName().toStdString();
    };
    Export([&] {
        for (const auto& [first, count] : std::vector<std::pair<QString, QString>>{
                 {"1919", "1"}, {"2026", "11"}, {"9995", "10"}}) {
            Type(ExportFormName, ExportYearFieldId, first);
            Type(ExportFormName, ExportCountFieldId, count);
            Click(ExportFormName, ExportOkId);
            open_after_refusal.push_back(gui::FormExists(ExportFormName));
        }
        Click(ExportFormName, ExportHelpId);
        pages.push_back(page());
        // The help, modal above the dialog, must close for F1 to reach it.
        harness.App().ShowHelp(HelpViewer::DisplayTopic, HelpTopicMainWindow);
        pages.push_back(page());
        harness.App().Help()->close();
        gui::FormWidget(ExportFormName)->activateWindow();
        Pump();
        int value = 0;
        int cancel = 0;
        harness.App().DispatchEvent(ExportFormName, 0, gui::EventHelpTopic, value, cancel);
        QTest::keyClick(gui::FormWidget(ExportFormName), Qt::Key_F1);
        pages.push_back(page());
        Click(ExportFormName, ExportCancelId);
    });
    EXPECT_EQ(open_after_refusal, std::vector<bool>(3, true));
    ASSERT_EQ(messages.Titles(), std::vector<std::string>(3, "Export to Calendar"));
    EXPECT_NE(messages.Messages()[0].Text1.find("1920 to 9999"), std::string::npos);
    EXPECT_NE(messages.Messages()[1].Text1.find("1 to 10"), std::string::npos);
    EXPECT_NE(messages.Messages()[2].Text1.find("after 9999"), std::string::npos);
    EXPECT_EQ(pages, (std::vector<std::string>{"topic30.html", "topic10.html", "topic30.html"}));
    EXPECT_TRUE(harness.export_suggestions.empty());
}

} // namespace
} // namespace kalvara::test
