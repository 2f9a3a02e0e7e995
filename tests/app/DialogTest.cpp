// The main window's dialogs in one session through real widgets: the print
// range, the preferences, then the export.

#include "AppHarness.h"
#include "app/ExportDialog.h"
#include "app/HelpViewer.h"
#include "app/MainWindow.h"
#include "app/PreferencesDialog.h"
#include "app/PrintRangeDialog.h"
#include "gui/Gui.h"

#include <QApplication>
#include <QWidget>
#include <filesystem>
#include <gmock/gmock.h>

namespace fs = std::filesystem;

namespace kalvara::test {
namespace {

using ::testing::HasSubstr;

// Presses Generate with the style and does `steps` in the print range dialog.
void Generate(int style, const std::function<void()>& steps) {
    Click(MainFormName, StyleRadioId(style));
    InDialog(
        PrintRangeFormName, [] { Click(MainFormName, GenerateButtonId); }, steps);
}

void OpenPreferences(const std::function<void()>& steps) {
    InDialog(
        PreferencesFormName, [] { TriggerMenu(MainFormName, MenuPreferences); }, steps);
}

void Export(const std::function<void()>& steps) {
    InDialog(
        ExportFormName, [] { TriggerMenu(MainFormName, MenuExportCalendar); }, steps);
}

// The four boxes, then whether Save is enabled.
std::vector<int> Boxes() {
    std::vector<int> state;
    for (int id : {RememberStyleBoxId, ShowQuartersBoxId, ShowTipsBoxId, UpdateAlertBoxId}) {
        state.push_back(gui::GetCheck(PreferencesFormName, id));
    }
    state.push_back(gui::IsEnabled(PreferencesFormName, SaveButtonId));
    return state;
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

TEST(Dialogs, PrintRangeOnlyOkPrintsPreferencesOnlySaveAppliesExportSaysWhereOrWhyNot) {
    AppHarness harness;
    harness.Start();
    gui::SetText(MainFormName, YearFieldId, "2015");
    const auto period = [&harness] { return harness.App().Selection().Period; };
    // The window's own close command is a cancel too, never a print.
    Generate(1, [] {
        EXPECT_EQ(gui::GetText(PrintRangeFormName, 0), "Select Month of 2015 to Print");
        Click(PrintRangeFormName, MonthRadioId(3));
        Click(PrintRangeFormName, RangeCancelId);
    });
    EXPECT_EQ(period(), 0);
    Generate(2, [] {
        Click(PrintRangeFormName, AllChoiceId);
        gui::FormWidget(PrintRangeFormName)->close();
    });
    EXPECT_EQ(period(), 0);
    EXPECT_TRUE(harness.Calendars().empty());
    EXPECT_EQ(harness.Setting("Last", "Year"), "none");
    EXPECT_EQ(harness.Setting("PDF", "Number"), "none");

    SCOPED_TRACE("OK right away prints January");
    Generate(1, [] { Click(PrintRangeFormName, RangeOkId); });
    EXPECT_EQ(period(), 1);
    EXPECT_EQ(harness.Calendars(), std::vector<std::string>{"001Calendar.PDF"});

    SCOPED_TRACE("each month, all quarters and back, and the help above the dialog");
    Generate(2, [&] {
        for (int month : {12, 11, 10, 9, 8, 7, 6, 5, 4, 2, 1, 3}) {
            Click(PrintRangeFormName, MonthRadioId(month));
            EXPECT_EQ(period(), month);
        }
        Click(PrintRangeFormName, AllChoiceId);
        EXPECT_EQ(period(), 13);
        EXPECT_FALSE(gui::IsEnabled(PrintRangeFormName, MonthRadioId(7)));
        // The single choice brings back the month it had.
        Click(PrintRangeFormName, SingleChoiceId);
        EXPECT_EQ(period(), 3);
        EXPECT_TRUE(gui::IsEnabled(PrintRangeFormName, MonthRadioId(7)));
        // The dialog blocks every window but a modal one shown above it.
        Click(PrintRangeFormName, RangeHelpId);
        HelpViewer* help = harness.App().Help();
        EXPECT_TRUE(help != nullptr && QApplication::activeModalWidget() == help);
        if (help != nullptr) {
            help->close();
        }
        EXPECT_EQ(QApplication::activeModalWidget(), gui::FormWidget(PrintRangeFormName));
        // The topic F1 opens, claimed when the dialog becomes active.
        int value = 0;
        int cancel = 0;
        harness.App().DispatchEvent(PrintRangeFormName, 0, gui::EventHelpTopic, value, cancel);
        EXPECT_EQ(harness.App().HelpContext(), HelpTopicPrintRange);
        Click(PrintRangeFormName, RangeOkId);
    });
    EXPECT_EQ(harness.HelpPage(), "topic20.html");
    EXPECT_EQ(harness.Calendars().size(), 2u);
    EXPECT_EQ(harness.Setting("Last", "Style"), "2");
    // Over the main window the help blocks nothing.
    harness.App().ShowHelp(HelpViewer::DisplayContents, 0);
    EXPECT_EQ(harness.App().Help()->windowModality(), Qt::NonModal);

    SCOPED_TRACE("the preferences' working copy, which Close drops and Save applies");
    const PreferenceSet live = harness.App().Selection().Preferences;
    const std::string before = ReadFile(harness.SettingsFile());
    // No preferences in the settings file: the defaults.
    const std::vector<int> defaults{1, 0, 1, 1, 0};
    OpenPreferences([&] {
        EXPECT_EQ(Boxes(), defaults);
        Click(PreferencesFormName, ShowQuartersBoxId);
        Click(PreferencesFormName, ShowTipsBoxId);
        // The dialog's own tooltips follow the working copy.
        EXPECT_EQ(TooltipOf(PreferencesFormName, RememberStyleBoxId), "");
        Click(PreferencesFormName, CloseButtonId);
    });
    EXPECT_EQ(harness.App().Selection().Preferences, live);
    EXPECT_EQ(ReadFile(harness.SettingsFile()), before);
    EXPECT_NE(TooltipOf(MainFormName, StyleRadioId(5)), "");

    SCOPED_TRACE("opened again from the live switches, then saved");
    OpenPreferences([&] {
        EXPECT_EQ(Boxes(), defaults);
        Click(PreferencesFormName, ShowQuartersBoxId);
        Click(PreferencesFormName, ShowTipsBoxId);
        Click(PreferencesFormName, SaveButtonId);
    });
    EXPECT_NE(harness.App().Selection().Preferences & ShowQuarters, 0);
    EXPECT_EQ(TooltipOf(MainFormName, StyleRadioId(5)), "");
    EXPECT_EQ(harness.Setting("Preferences", "Quarters") +
                  harness.Setting("Preferences", "ShowTips"),
              "10");

    SCOPED_TRACE("the export asks the years, then the file, and says where it went or why not");
    Type(MainFormName, YearFieldId, "2027");
    Export([&] {
        Type(ExportFormName, ExportYearFieldId, "1919");
        Click(ExportFormName, ExportOkId);
        EXPECT_TRUE(gui::FormExists(ExportFormName));
        Click(ExportFormName, ExportCancelId);
    });
    EXPECT_EQ(harness.message_titles, std::vector<std::string>{"Export to Calendar"});
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
