#include "app/ExportDialog.h"

#include "app/DesktopApp.h"
#include "app/HelpViewer.h"
#include "app/MainWindow.h"
#include "core/AtomicFile.h"
#include "core/Notice.h"
#include "engine/BroadcastYearTable.h"
#include "gui/Gui.h"
#include "ics/IcsCalendar.h"
#include "msgbox/MessageBox.h"

#include <charconv>
#include <cstring>

namespace kalvara {

namespace {

constexpr const char* Caption = "Export to Calendar";
constexpr const char* NotExportedTitle = "Calendar Not Exported";
constexpr int FirstExportYear = FirstBroadcastYear;
constexpr int LastExportYear = LastBroadcastYear;

// A whole number written with digits only, blanks around it allowed.
bool ReadWholeNumber(const std::string& text, int& number) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        return false;
    }
    const auto last = text.find_last_not_of(' ');
    const char* begin = text.data() + first;
    const char* end = text.data() + last + 1;
    if (*begin == '+' || *begin == '-') {
        return false;
    }
    const auto [stop, error] = std::from_chars(begin, end, number);
    return error == std::errc() && stop == end;
}

std::string YearsText(const ExportRange& range) {
    const std::string first = std::to_string(range.FirstYear);
    return range.YearCount == 1 ? first : first + " to " + std::to_string(range.LastYear());
}

} // namespace

bool ParseExportRange(const std::string& first_year, const std::string& year_count,
                      ExportRange& range, std::string& problem) {
    int year = 0;
    if (!ReadWholeNumber(first_year, year) || year < FirstExportYear || year > LastExportYear) {
        problem = "The first year must be a year from 1920 to 9999.{f10,t4}";
        return false;
    }
    int count = 0;
    if (!ReadWholeNumber(year_count, count) || count < 1 || count > MaxExportYears) {
        problem = "The number of years must be from 1 to 10.{f10,t4}";
        return false;
    }
    if (year + count - 1 > LastExportYear) {
        problem = "The last year exported would be after 9999.{f10,t4}";
        return false;
    }
    range = {year, count};
    return true;
}

std::string SuggestedExportName(const ExportRange& range) {
    std::string name = "broadcast-calendar-" + std::to_string(range.FirstYear);
    if (range.YearCount > 1) {
        name += "-" + std::to_string(range.LastYear());
    }
    return name + ".ics";
}

ExportDialog::ExportDialog(DesktopApp& app) : app_(app) {}

void ExportDialog::Open(const std::string& parent) {
    accepted_ = false;
    gui::SetColors(-1, -1);
    gui::CreateForm(ExportFormName, parent, Caption, 0, 0, 44, 11.25, "_CMR");
    // The file is asked for once the dialog is gone, so that the save dialog
    // stands over the main window and not over a form that waits.
    if (accepted_) {
        WriteCalendar(range_);
    }
}

void ExportDialog::Design() {
    auto prepare = [] {
        gui::SetColors(-1, -1);
        gui::UseFont(6);
    };
    prepare();
    gui::AddLabel(ExportYearLabelId, 3, 1.5, 20.5, 1.125, "First broadcast year:", "L");
    prepare();
    gui::AddTextField(ExportYearFieldId, 25, 1.25, 8, 1.5, "", "CT[4]");
    prepare();
    gui::AddLabel(ExportCountLabelId, 3, 3.5, 20.5, 1.125, "Number of years (1 to 10):", "L");
    prepare();
    gui::AddTextField(ExportCountFieldId, 25, 3.25, 8, 1.5, "1", "CT[2]");
    prepare();
    gui::AddLabel(ExportNoteId, 3, 5.25, 38, 2.5,
                  "Each broadcast week and month becomes|an all-day event for calendar apps.", "L");
    prepare();
    gui::AddButton(ExportHelpId, 2, 9, 8, 1.5, "&Help", "T");
    prepare();
    gui::AddButton(ExportOkId, 22, 9, 10, 1.5, "&Export...", "T");
    prepare();
    gui::AddButton(ExportCancelId, 33.5, 9, 8.5, 1.5, "&Cancel", "T");
    prepare();
    gui::AddFrame(ExportFrameId, 1.5, 0.5, 41, 7.75, "", "");
    gui::SetFormKeys(ExportFormName, {ExportOkId}, ExportCancelId);
}

void ExportDialog::Initialise() {
    gui::SetText(ExportFormName, ExportYearFieldId, gui::GetText(MainFormName, YearFieldId));
    gui::DefineAccelerators(ExportFormName, HelpAccelerator);
}

void ExportDialog::Event(int id, int code, int& /*value*/, int& cancel) {
    if (id == 0) {
        if (code == gui::EventFormLoading) {
            Initialise();
        } else if (code == gui::EventFormLoaded) {
            gui::SetFocus(ExportFormName, ExportCountFieldId);
        } else if (code == gui::EventHelpTopic) {
            app_.SetHelpContext(HelpTopicExport);
            cancel = 1;
        }
        return;
    }
    if (code != gui::EventClick) {
        return;
    }
    switch (id) {
    case HelpCommand:
        app_.ShowHelp(HelpViewer::DisplayTopic, app_.HelpContext());
        break;
    case ExportHelpId:
        app_.ShowHelp(HelpViewer::DisplayTopic, HelpTopicExport);
        break;
    case ExportOkId:
        Accept();
        break;
    case ExportCancelId:
        gui::UnloadForm(ExportFormName);
        break;
    default:
        break;
    }
}

void ExportDialog::Accept() {
    std::string problem;
    if (!ParseExportRange(gui::GetText(ExportFormName, ExportYearFieldId),
                          gui::GetText(ExportFormName, ExportCountFieldId), range_, problem)) {
        msgbox::ShowNotice(Caption, problem, "Please correct it and press Export again.{f6}");
        return;
    }
    accepted_ = true;
    gui::UnloadForm(ExportFormName);
}

void ExportDialog::WriteCalendar(const ExportRange& range) {
    // The calendar is made before a name is asked for: a failure then costs
    // the user no choice of file, and nothing is written.
    const IcsResult calendar =
        BroadcastCalendarIcs(range.FirstYear, range.LastYear(), IcsContent::WeeksAndMonths);
    if (!calendar.Problem.empty()) {
        msgbox::ShowNotice(NotExportedTitle, "The calendar file could not be made.{f10,t4}",
                           QuoteMarkup(calendar.Problem) + "{f6}");
        return;
    }
    const std::string path = app_.ChooseExportFile(SuggestedExportName(range));
    if (path.empty()) {
        return;
    }
    if (const AtomicWriteError error = ReplaceFileAtomically(path, calendar.Text)) {
        msgbox::ShowNotice(NotExportedTitle,
                           "The calendar could not be written to|\"" + QuoteMarkup(path) +
                               "\"{f10,t4}",
                           QuoteMarkup(std::strerror(error.Errno)) + ". Nothing was written.{f6}");
        return;
    }
    msgbox::ShowNotice("Calendar Exported",
                       "The broadcast weeks and months of " + YearsText(range) +
                           " were saved as|\"" + QuoteMarkup(path) + "\"{f10}",
                       "Import this file into your calendar app.{f6}");
}

} // namespace kalvara
