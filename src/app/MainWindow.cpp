#include "app/MainWindow.h"

#include "about/AboutBox.h"
#include "app/DesktopApp.h"
#include "app/ExportDialog.h"
#include "app/HelpViewer.h"
#include "app/PreferencesDialog.h"
#include "app/PrintRangeDialog.h"
#include "core/Notice.h"
#include "core/SettingsStore.h"
#include "engine/BroadcastYearTable.h"
#include "engine/DateText.h"
#include "gui/Gui.h"
#include "kalvara/Version.h"
#include "msgbox/MessageBox.h"
#include "update/UpdateFlow.h"

#include <QString>

namespace kalvara {

namespace {

constexpr int FirstYear = FirstBroadcastYear;
// The edit control message that places the caret.
constexpr int PlaceCaretPosted = 1;

// A folder as the user would type it, without the trailing "/".
std::string FolderShown(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/') {
        folder.pop_back();
    }
    return folder;
}

struct StyleButton {
    const char* caption;
    double row;
    double width;
};
constexpr std::array<StyleButton, 6> styles{{{"Month", 2.375, 8},
                                             {"Quarter", 4.5, 8.75},
                                             {"Year", 6.625, 6.5},
                                             {"3 Years", 8.75, 8.25},
                                             {"Keyboard strips", 10.875, 14.25},
                                             {"Planning calendar", 13, 15.5}}};

// The picture shows a sample of the chosen style; readers hear which one.
std::string PreviewDescription(CalendarStyle style) {
    const auto index = static_cast<std::size_t>(style) - 1;
    if (index >= styles.size()) {
        return "Preview of the calendar";
    }
    const std::string caption = styles[index].caption;
    const bool named = caption.ends_with(" calendar");
    return "Preview of the " + caption + (named ? "" : " calendar");
}

} // namespace

std::string StyleTooltip(int style) {
    switch (style) {
    case 1:
        return "Print a single month from the selected year or a full year, one month per page";
    case 2:
        return "Print a three-month quarter from the selected year or all four quarters on "
               "separate pages";
    case 3:
        return "Print a 12-month calendar of the selected year on a single page";
    case 4:
        return "Print a 3-year calendar on a single page starting with the selected year";
    case 5:
        return "Print a 12-month strip suitable for positioning above a computer keyboard";
    case 6:
        return "Print a 52-Planning calendar with columns for weekly budget and notes";
    default:
        return {};
    }
}

std::string StyleSampleResource(int style) {
    switch (style) {
    case 1:
        return "$CALMONTH";
    case 2:
        return "$CALQUARTER";
    case 3:
        return "$CALYEAR";
    case 4:
        return "$CALTHREEYR";
    case 5:
        return "$CALSTRIP";
    case 6:
        return "$CALPLANNER";
    default:
        return {};
    }
}

MainWindow::MainWindow(DesktopApp& app) : app_(app) {}

void MainWindow::Open() {
    gui::DefineMainMenu(MenuProgram, "&Program");
    gui::SetColors(-1, -1);
    gui::CreateForm(MainFormName, "", ProgramTitle, 0, 0, 53.5, 20.75, "C");
}

void MainWindow::Design() {
    const int bar = gui::GetMenu(MainFormName, 0);
    gui::AddMenuItem(bar, MenuHelp, "&Help");
    const int program_menu = gui::DefineSubMenu(MenuPreferences, "&Preferences");
    gui::SaveMenu(MainFormName, 1, program_menu);
    gui::SetSubMenu(bar, MenuProgram, program_menu);
    // "E" is free in this menu; "x" belongs to "E&xit".
    gui::AddMenuItem(program_menu, MenuExportCalendar, "&Export to Calendar...");
    gui::AddMenuItem(program_menu, 9010, "-");
    gui::AddMenuItem(program_menu, MenuExit, "E&xit");
    const int help_menu = gui::DefineSubMenu(MenuHelpContents, "&Help Contents");
    gui::SaveMenu(MainFormName, 2, help_menu);
    gui::SetSubMenu(bar, MenuHelp, help_menu);
    gui::AddMenuItem(help_menu, 9110, "-");
    gui::AddMenuItem(help_menu, MenuCheckForUpdate, "Check for Program &Update");
    gui::AddMenuItem(help_menu, 9120, "-");
    gui::AddMenuItem(help_menu, MenuAbout, "About...");

    auto prepare = [](int font) {
        gui::SetColors(-1, -1);
        gui::UseFont(font);
    };
    prepare(8);
    // Below the frame's title, which the desktop styles draw above the
    // frame's line rather than across it.
    gui::AddTextField(YearFieldId, 19.75, 2.125, 7.5, 1.625, "", "CENST[4]");
    prepare(6);
    gui::AddLabel(YearLabelId, 3.5, 2.375, 15.25, 1.125, "Calendar starting year:", "L");

    for (int style = 1; style <= 6; ++style) {
        const StyleButton& button = styles[static_cast<std::size_t>(style - 1)];
        prepare(6);
        gui::AddRadio(StyleRadioId(style), 33.75, button.row, button.width, 1.25, button.caption,
                      style == 1 ? "GT" : "T");
        gui::AddTooltip(MainFormName, StyleRadioId(style));
    }

    // The start picture is read once and kept; the style samples replace it
    // while the form loads.
    if (start_picture_ == 0) {
        start_picture_ = gui::LoadPicture("calyear.bmp");
    }
    // The picture and the status bar report their loading; the status bar
    // takes its font then.
    gui::AllowLoadingEvents(true);
    prepare(6);
    gui::AddPicture(PreviewPictureId, 1.5, 4.75, 28.25, 10.75,
                    start_picture_ > 0 ? "#" + std::to_string(start_picture_) : "", "C");
    gui::AllowLoadingEvents(false);
    prepare(6);
    gui::AddButton(GenerateButtonId, 31.25, 16.75, 9.5, 1.625, "&Generate", "T");
    prepare(6);
    gui::AddButton(ExitButtonId, 43.25, 16.75, 7.25, 1.625, "E&xit", "T");
    prepare(6);
    gui::AddButton(HelpButtonId, 2.5, 16.75, 7.25, 1.625, "Help", "T");
    prepare(6);
    gui::AddFrame(YearFrameId, 1.5, 0.625, 28.25, 3.5, "Year", "");
    prepare(6);
    gui::AddFrame(StyleFrameId, 31.75, 0.625, 19.75, 15, "Calendar Style", "");
    gui::SetFormKeys(MainFormName, {GenerateButtonId}, 0);
    gui::AllowLoadingEvents(true);
    prepare(4);
    gui::AddStatusBar(StatusBarId, "", "");
    gui::AllowLoadingEvents(false);
}

void MainWindow::Event(int id, int code, int& value, int& cancel) {
    if (id == 0) {
        FormEvent(id, code, cancel);
    } else if (id >= MenuProgram && id <= MenuAbout) {
        MenuEvent(id, code);
    } else if (id == YearFieldId) {
        YearFieldEvent(code, value);
    } else if (id >= StyleRadioId(1) && id <= StyleRadioId(6) && (id - 105) % 5 == 0) {
        const int style = (id - 105) / 5;
        if (code == gui::EventTooltip) {
            gui::SetTooltip("");
        }
        StyleEvent(style, code);
    } else if (id == GenerateButtonId) {
        if (code == gui::EventClick) {
            Generate();
        }
    } else if (id == ExitButtonId) {
        if (code == gui::EventClick) {
            gui::UnloadForm(MainFormName);
        }
    } else if (id == HelpButtonId) {
        if (code == gui::EventClick) {
            app_.ShowHelp(HelpViewer::DisplayTopic, HelpTopicMainWindow);
        }
    } else if (id == StatusBarId) {
        if (code == gui::EventControlLoading) {
            gui::UseFont(6);
        }
    } else {
        FormEvent(id, code, cancel);
    }
}

void MainWindow::FormEvent(int id, int code, int& cancel) {
    if (id == HelpCommand) {
        if (code == gui::EventClick) {
            app_.ShowHelp(HelpViewer::DisplayTopic, app_.HelpContext());
        }
        return;
    }
    if (id != 0) {
        return;
    }
    switch (code) {
    case gui::EventFormLoading:
        Loading();
        break;
    case gui::EventFormLoaded:
        Loaded();
        break;
    case gui::EventHelpTopic:
        app_.SetHelpContext(HelpTopicMainWindow);
        cancel = 1;
        break;
    case gui::EventClose:
        if (update::UpdateFlow* updates = app_.Updates()) {
            updates->RunInstaller();
        }
        break;
    default:
        break;
    }
}

void MainWindow::MenuEvent(int id, int code) {
    if (code != gui::EventClick) {
        return;
    }
    switch (id) {
    case MenuPreferences:
        app_.Preferences().Open(MainFormName);
        break;
    case MenuExportCalendar:
        app_.Export().Open(MainFormName);
        break;
    case MenuExit:
        gui::UnloadForm(MainFormName);
        break;
    case MenuHelpContents:
        app_.ShowHelp(HelpViewer::DisplayContents, 0);
        break;
    case MenuCheckForUpdate:
        if (update::UpdateFlow* updates = app_.Updates();
            updates != nullptr && updates->CheckFromMenu(gui::CurrentForm()) == 1) {
            gui::UnloadForm(MainFormName);
        }
        break;
    case MenuAbout:
        OpenAboutBox(MainFormName);
        break;
    default:
        break;
    }
}

void MainWindow::StyleEvent(int style, int code) {
    if (code == gui::EventClick) {
        app_.Selection().Style = static_cast<CalendarStyle>(style);
        UpdatePreview();
    } else if (code == gui::EventTooltip) {
        if ((app_.Selection().Preferences & PrefShowTips) != 0) {
            gui::SetTooltip(StyleTooltip(style));
        }
    }
}

void MainWindow::YearFieldEvent(int code, int value) {
    if (code == gui::EventPosted && value == PlaceCaretPosted) {
        gui::SetSelection(MainFormName, YearFieldId, 4, 4);
    } else if (code == gui::EventChange) {
        // Characters, not bytes: the field may hold any text the user typed.
        const QString text = QString::fromStdString(gui::GetText(MainFormName, YearFieldId));
        // Without a usable output folder nothing can be saved until the next
        // start, whatever the year.
        if (text.size() < 4 || !app_.OutputFolderProblem().empty()) {
            gui::DisableControl(MainFormName, GenerateButtonId);
        } else {
            gui::EnableControl(MainFormName, GenerateButtonId);
        }
    }
}

void MainWindow::Loading() {
    gui::SetFormIcon(MainFormName, app_.ProgramIcon());
    gui::SetStatusBarParts(MainFormName, StatusBarId, {70, 30});
    gui::SetStatusBarText(MainFormName, StatusBarId, 1, std::string("\t") + RightsNotice);
    gui::SetStatusBarText(MainFormName, StatusBarId, 2, std::string("\tVersion: ") + VersionText);

    const std::string& settings = app_.Paths().SettingsFile;
    CalendarSelection& selection = app_.Selection();
    LoadPreferences(settings, selection.Preferences);
    InitDaysInMonth(app_.Years());

    const std::string today = TodayText();
    const std::string this_year = today.size() >= 4 ? today.substr(today.size() - 4) : today;
    gui::SetText(MainFormName, YearFieldId, ReadSetting(settings, "Last", "Year", this_year));

    int style = 3;
    if ((selection.Preferences & RememberStyle) != 0) {
        style = IntegerValue(ReadSetting(settings, "Last", "Style", "3"));
    }
    // A damaged settings file must not select a style that prints nothing.
    if (style < 1 || style > 6) {
        style = 3;
    }
    selection.Style = static_cast<CalendarStyle>(style);
    gui::SetCheck(MainFormName, StyleRadioId(style), 1);
    UpdatePreview();
    gui::DefineAccelerators(MainFormName, HelpAccelerator);
}

void MainWindow::Loaded() {
    update::UpdateFlow* updates = app_.Updates();
    if (updates != nullptr &&
        updates->RunAutomaticCheck(gui::CurrentForm(), app_.Selection().Preferences) == 1) {
        gui::UnloadForm(MainFormName);
        return;
    }
    if (!app_.OutputFolderProblem().empty()) {
        gui::DisableControl(MainFormName, GenerateButtonId);
        msgbox::ShowNotice("Calendars Cannot Be Saved",
                           "The folder for calendars cannot be made or written:|\"" +
                               QuoteMarkup(FolderShown(app_.Paths().OutputFolder)) + "\"{f10,t4}",
                           "|The system says: " + QuoteMarkup(app_.OutputFolderProblem()) +
                               ".|Generate stays off until " + ProgramTitle +
                               " is started again. Make the folder writable, or start " +
                               ProgramTitle +
                               " with --home DIR to keep its files elsewhere.{f6,w40}");
    } else if (!app_.PdfReaderFound()) {
        gui::DisableControl(MainFormName, GenerateButtonId);
        const int answer = msgbox::ShowMessageBox(
            gui::CurrentForm(), "Print Functions Have Been Disabled",
            "A PDF reader application does not appear to be installed on this machine.{f10,t4}",
            std::string("Such a program is required in order to print from ") + ProgramTitle +
                ".{f6}",
            "", "*{G,f7}|&Get Help on This Problem|&Continue With Printing Disabled", "", 1, "C");
        if (answer == 1) {
            app_.ShowHelp(HelpViewer::DisplayTopic, HelpTopicNoPdfReader);
        }
    }
    if (updates != nullptr) {
        updates->AfterUpdateStep(app_.AfterUpdate() ? "/update" : "");
    }
    gui::PostEvent(MainFormName, YearFieldId, PlaceCaretPosted);
}

void MainWindow::UpdatePreview() {
    const std::string resource = StyleSampleResource(static_cast<int>(app_.Selection().Style));
    gui::SetImage(MainFormName, PreviewPictureId,
                  resource.empty() ? 0 : gui::LoadPicture(resource));
    gui::SetAccessibleDescription(MainFormName, PreviewPictureId,
                                  PreviewDescription(app_.Selection().Style));
}

void MainWindow::Generate() {
    CalendarSelection& selection = app_.Selection();
    selection.StartYear = IntegerValue(gui::GetText(MainFormName, YearFieldId));
    if (selection.StartYear < FirstYear) {
        msgbox::ShowNotice("Whoa, Tesvel!", "Radio broadcasting didn't begin until 1920.{f10}",
                           "Let's keep it real, okay?{f6}");
        return;
    }
    const int style = static_cast<int>(selection.Style);
    if (style < 3) {
        app_.PrintRange().Open(MainFormName);
        if (selection.Period == PeriodCancelled) {
            return;
        }
    }
    const GenerateResult result = app_.Generate();
    // "Last" remembers the last calendar produced; a run that saved nothing
    // produced none.
    if (result.Saved) {
        const std::string& settings = app_.Paths().SettingsFile;
        WriteSetting(settings, "Last", "Year", std::to_string(selection.StartYear));
        WriteSetting(settings, "Last", "Style", std::to_string(style));
        if (!app_.PdfReaderFound()) {
            // Nothing opens the file, so the user must hear where it is, and
            // that the folder does not keep it.
            msgbox::ShowNotice(
                "Calendar Saved",
                "The calendar was saved as|\"" + QuoteMarkup(result.Path) + "\"{f10}",
                std::string("|No PDF reader is installed to open it. ") + ProgramTitle +
                    " empties this folder at its next start: copy the file "
                    "elsewhere to keep it.{f6,w40}");
        }
    }
}

} // namespace kalvara
