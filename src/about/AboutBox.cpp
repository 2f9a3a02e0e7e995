#include "about/AboutBox.h"

#include "core/ProgramFolder.h"
#include "core/RegularFile.h"
#include "engine/CivilDate.h"
#include "gui/Gui.h"
#include "kalvara/Version.h"

#include <cstdint>
#include <iterator>
#include <string>

namespace kalvara {

namespace {

constexpr const char* ProductName = "Kalvara";

// The moment this version was released, as a Windows file time: 100 ns
// ticks since 1 January 1601 (6 August 2017, 14:29:38.88 UTC).
constexpr std::int64_t ReleaseFileTime = 131465033788800000;
constexpr std::int64_t FileTimeTicksPerDay = 864'000'000'000;

// Which page shows, kept with the form so that it goes when the form goes.
constexpr int PageUserData = 1;

// A history file is a few kilobytes; refuse to pull anything huge into the
// text box should the name ever point at the wrong file.
constexpr std::size_t MaxHistoryBytes = 4 * 1024 * 1024;

std::string TwoDigits(int value) {
    std::string text = std::to_string(value);
    return text.size() < 2 ? "0" + text : text;
}

std::string UseText() {
    return "Provided as is, without warranty of any kind.|"
           "Check printed calendars against your contracts|"
           "before relying on them for scheduling or billing.";
}

std::string ThanksText() {
    return std::string("Thanks to the traffic and billing staff|"
                       "who tried each early version, and to all|"
                       "who took part in the development of ") +
           ProductName + ".";
}

// A FIFO or device in the place of the file is as good as missing, and
// never holds the box up.
std::string ReadHistory(const std::string& path) {
    return ReadRegularFile(path, MaxHistoryBytes).Bytes;
}

void LoadHistory(const std::string& program_folder) {
    const std::string path = FindDataFile(program_folder, "History.rtf");
    if (path.empty()) {
        return;
    }
    gui::SetRichText(AboutFormName, AboutHistoryBoxId, ReadHistory(path));
}

void ShowPage(int page) {
    gui::DisplayLayer(AboutFormName, page);
    gui::SetText(AboutFormName, AboutPageButtonId,
                 page == 2 ? AboutShowInfoCaption : AboutShowHistoryCaption);
    gui::SetUserData(AboutFormName, PageUserData, page);
}

int CurrentPage() {
    return gui::GetUserData(AboutFormName, PageUserData) == 2 ? 2 : 1;
}

} // namespace

std::string ReleaseDateText() {
    const auto days = static_cast<DayNumber>(ReleaseFileTime / FileTimeTicksPerDay);
    std::int32_t month = 0;
    std::int32_t day = 0;
    std::int32_t year = 0;
    JulianToMDY(JulianDate(1, 1, 1601) + days, month, day, year);
    return std::to_string(month) + "-" + TwoDigits(day) + "-" + TwoDigits(year);
}

std::string AboutVersionText() {
    return std::string("Version ") + VersionText + " \u2014 Released " + ReleaseDateText();
}

void OpenAboutBox(const std::string& parent) {
    gui::CreateForm(AboutFormName, parent, std::string("About ") + ProductName, 0, 0, 52, 21.25,
                    "CMR");
}

void DesignAboutBox(const std::string& program_folder) {
    gui::SetColors(-1, -1);

    gui::SetLayer(1);
    gui::UseInlineFont("Segoe UI", 16, "BI");
    gui::AddLabel(AboutProductLabelId, 2.875, 1.25, 46.25, 1.875, ProductName, "C");
    gui::UseFont(7);
    gui::AddLabel(AboutVersionLabelId, 2.75, 3.25, 46.5, 1.125, AboutVersionText(), "C");
    gui::UseFont(6);
    gui::AddLabel(AboutRightsLabelId, 2.75, 4.875, 46.5, 2.125,
                  std::string(RightsNotice) + "|All rights reserved.", "C");
    gui::AllowLoadingEvents(true);
    gui::AddLabel(AboutUseLabelId, 2.75, 8.5, 46.5, 3.75, "", "C");
    gui::AddLabel(AboutThanksLabelId, 2.75, 13.5, 46.5, 3.75, "", "C");
    gui::AllowLoadingEvents(false);

    gui::SetLayer(2);
    gui::AddRichText(AboutHistoryBoxId, 3.25, 1.625, 45.5, 15.5, "", "");
    gui::SetAccessibleName(AboutFormName, AboutHistoryBoxId, "Program history");

    gui::SetLayer(0);
    gui::UseAutoSize("CT");
    gui::AddButton(AboutCloseButtonId, 41.25, 18.625, 7.5, 1.875, "&Close", "T");
    gui::AddButton(AboutPageButtonId, 3.125, 18.625, 15.75, 1.875, AboutShowHistoryCaption, "T");
    gui::UseAutoSize("");
    gui::AddFrame(AboutFrameId, 1.75, 0.375, 48.5, 17.75, "", "");
    gui::SetFormKeys(AboutFormName, {AboutCloseButtonId}, AboutCloseButtonId);

    LoadHistory(program_folder);
    ShowPage(1);
}

void AboutBoxEvent(int id, int code, int& /*value*/, int& /*cancel*/) {
    switch (id) {
    case AboutUseLabelId:
        if (code == gui::EventControlLoading) {
            gui::SetLoadString(UseText());
        }
        break;
    case AboutThanksLabelId:
        if (code == gui::EventControlLoading) {
            gui::SetLoadString(ThanksText());
        }
        break;
    case AboutPageButtonId:
        if (code == gui::EventClick) {
            ShowPage(CurrentPage() == 1 ? 2 : 1);
        }
        break;
    case AboutCloseButtonId:
        if (code == gui::EventClick) {
            gui::UnloadForm(AboutFormName);
        }
        break;
    default:
        break;
    }
}

} // namespace kalvara
