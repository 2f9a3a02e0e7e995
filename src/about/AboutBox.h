#pragma once
// The About box, form "AB": product name, version and release date, rights
// notice, statement of use and thanks on page 1, the program history
// (History.rtf) on page 2. One button switches between the pages. The box is
// modal.
//
// The desktop program routes the form to it:
//   DesignForm("AB")           -> DesignAboutBox(program folder)
//   DispatchEvent("AB", ...)   -> AboutBoxEvent(id, code, value, cancel)

#include <string>

namespace kalvara {

inline constexpr const char* AboutFormName = "AB";

// Control ids of the About box.
inline constexpr int AboutProductLabelId = 100;
inline constexpr int AboutVersionLabelId = 105;
inline constexpr int AboutRightsLabelId = 110;
inline constexpr int AboutUseLabelId = 115;
inline constexpr int AboutThanksLabelId = 120;
inline constexpr int AboutHistoryBoxId = 125;
inline constexpr int AboutCloseButtonId = 130;
inline constexpr int AboutPageButtonId = 135;
inline constexpr int AboutFrameId = 140;

// The maker's rights notice (UTF-8), as the About box and the main window's
// status bar show it.
inline constexpr const char* RightsNotice = "Copyright \u00A9 1999-2017 Kalvara Software";

// Captions of the page button on page 1 and on page 2.
inline constexpr const char* AboutShowHistoryCaption = "&View Program History";
inline constexpr const char* AboutShowInfoCaption = "&View Program Info";

// Opens the About box as a modal child of form `parent` and returns once the
// user has closed it.
void OpenAboutBox(const std::string& parent);

// Adds the controls of form "AB" (called from DesignForm) and loads
// "History.rtf", looked up with FindDataFile below `program_folder`. A
// missing or unreadable history leaves page 2 empty; nothing is reported.
void DesignAboutBox(const std::string& program_folder);

// Events of form "AB" (called from DispatchEvent).
void AboutBoxEvent(int id, int code, int& value, int& cancel);

// Texts are UTF-8, as the window layer takes them.
// "Version 5.3.0.0 — Released 8-06-2017", as UTF-8.
std::string AboutVersionText();

// The release date of this version as month-day-year, the day with at least
// two digits: "8-06-2017".
std::string ReleaseDateText();

} // namespace kalvara
