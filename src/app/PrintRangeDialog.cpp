#include "app/PrintRangeDialog.h"

#include "app/DesktopApp.h"
#include "app/HelpViewer.h"
#include "app/MainWindow.h"
#include "gui/Gui.h"

#include <array>

namespace kalvara {

PrintRangeDialog::PrintRangeDialog(DesktopApp& app) : app_(app) {}

void PrintRangeDialog::Open(const std::string& parent) {
    accepted_ = false;
    gui::SetColors(-1, -1);
    gui::CreateForm(PrintRangeFormName, parent, "Title", 0, 0, 48.75, 14.125, "_CMR");
}

void PrintRangeDialog::Design() {
    struct Control {
        int id;
        double column;
        double row;
        double width;
        double height;
        const char* text;
        const char* properties;
    };
    static constexpr std::array<Control, 15> radios{{
        {SingleChoiceId, 3.75, 1.125, 22.25, 1, "Select a Single Month to Print", "GT"},
        {AllChoiceId, 3.75, 8.25, 15, 1, "Print All 12 Months", "T"},
        {110, 4.5, 2.625, 7.75, 1, "January", "GT"},
        {115, 4.5, 4, 8, 1, "February", "T"},
        {120, 4.5, 5.375, 6.75, 1, "March", "T"},
        {125, 15.375, 2.625, 5.5, 1, "April", "T"},
        {130, 15.375, 4, 5.5, 1, "May", "T"},
        {135, 15.375, 5.375, 5.75, 1, "June", "T"},
        {140, 24, 2.625, 6, 1, "July", "T"},
        {145, 24, 4, 7.25, 1, "August", "T"},
        {150, 24, 5.375, 9.75, 1, "September", "T"},
        {155, 35.125, 2.625, 7.75, 1, "October", "T"},
        {160, 35.25, 4, 10, 1, "November", "T"},
        {165, 35.25, 5.375, 8.75, 1, "December", "T"},
        {RangeLabelId, 6.5, 9.625, 36.75, 1,
         "Print each month of 0000 on a separate sheet of paper.", "L"},
    }};
    for (const Control& control : radios) {
        gui::SetColors(-1, -1);
        gui::UseFont(6);
        if (control.id == RangeLabelId) {
            gui::UseAutoSize("");
            gui::AddLabel(control.id, control.column, control.row, control.width, control.height,
                          control.text, control.properties);
        } else {
            gui::UseAutoSize("CT");
            gui::AddRadio(control.id, control.column, control.row, control.width, control.height,
                          control.text, control.properties);
        }
    }
    auto button = [](int id, double column, const char* text) {
        gui::SetColors(-1, -1);
        gui::UseFont(6);
        gui::UseAutoSize("CT");
        gui::AddButton(id, column, 12, 8, 1.375, text, "T");
    };
    button(RangeOkId, 26.5, "&OK");
    button(RangeCancelId, 37.25, "&Cancel");
    button(RangeHelpId, 3.25, "&Help");
    gui::SetFormKeys(PrintRangeFormName, {RangeOkId}, RangeCancelId);
    gui::SetColors(-1, -1);
    gui::UseFont(6);
    gui::UseAutoSize("CT");
    gui::AddFrame(190, 2.25, 1.125, 44, 6, "", "");
    gui::SetColors(-1, -1);
    gui::UseFont(6);
    gui::UseAutoSize("CT");
    gui::AddFrame(195, 2.25, 8.25, 44, 3.125, "", "");
    gui::UseAutoSize("");
}

void PrintRangeDialog::Initialise() {
    const std::string year = gui::GetText(MainFormName, YearFieldId);
    CalendarSelection& selection = app_.Selection();
    if (selection.Style == CalendarStyle::Month) {
        gui::SetText(PrintRangeFormName, 0, "Select Month of " + year + " to Print");
        gui::SetText(PrintRangeFormName, RangeLabelId,
                     "Print each month of " + year + " on a separate sheet of paper.");
    } else if (selection.Style == CalendarStyle::Quarter) {
        gui::SetText(PrintRangeFormName, 0, "Print Three Months of " + year);
        gui::SetText(PrintRangeFormName, SingleChoiceId, "Print 3 Months Starting with");
        gui::SetText(PrintRangeFormName, AllChoiceId, "Print All 4 Quarters");
        gui::SetText(PrintRangeFormName, RangeLabelId,
                     "Print all four quarters of " + year + " on separate sheets.");
    }
    gui::SetCheck(PrintRangeFormName, SingleChoiceId, 1);
    gui::SetCheck(PrintRangeFormName, MonthRadioId(1), 1);
    selection.Period = 1;
    gui::DefineAccelerators(PrintRangeFormName, HelpAccelerator);
}

void PrintRangeDialog::Event(int id, int code, int& /*value*/, int& cancel) {
    CalendarSelection& selection = app_.Selection();
    if (id == 0) {
        switch (code) {
        case gui::EventFormLoading:
            Initialise();
            break;
        case gui::EventHelpTopic:
            app_.SetHelpContext(HelpTopicPrintRange);
            cancel = 1;
            break;
        case gui::EventClose:
            // Closing the window any other way than with "&OK" must never
            // print: it counts as "&Cancel".
            if (!accepted_) {
                selection.Period = PeriodCancelled;
            }
            break;
        default:
            break;
        }
        return;
    }
    if (code != gui::EventClick) {
        return;
    }
    if (id == HelpCommand) {
        app_.ShowHelp(HelpViewer::DisplayTopic, app_.HelpContext());
    } else if (id == SingleChoiceId) {
        for (int month = 1; month <= 12; ++month) {
            gui::EnableControl(PrintRangeFormName, MonthRadioId(month));
            if (gui::GetCheck(PrintRangeFormName, MonthRadioId(month)) != 0) {
                selection.Period = month;
            }
        }
    } else if (id == AllChoiceId) {
        for (int month = 1; month <= 12; ++month) {
            gui::DisableControl(PrintRangeFormName, MonthRadioId(month));
        }
        selection.Period = AllPeriods;
    } else if (id >= MonthRadioId(1) && id <= MonthRadioId(12) && (id - 110) % 5 == 0) {
        selection.Period = (id - 110) / 5 + 1;
    } else if (id == RangeOkId) {
        accepted_ = true;
        gui::UnloadForm(PrintRangeFormName);
    } else if (id == RangeCancelId) {
        selection.Period = PeriodCancelled;
        gui::UnloadForm(PrintRangeFormName);
    } else if (id == RangeHelpId) {
        app_.ShowHelp(HelpViewer::DisplayTopic, HelpTopicPrintRange);
    }
}

} // namespace kalvara
