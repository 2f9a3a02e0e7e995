#pragma once
// The program's own message box, form "DGMSGBOX1": every question and notice
// goes through it. Texts carry a short mark-up:
// - a value may end in a group "{...}" of comma-separated items, each an
//   option letter (either case) and a decimal number: "{f10,t4}";
// - "|" in a text starts a new line;
// - the button list is "|"-separated; a first item "*{...}" sets defaults
//   for every button, each further non-empty item is one button, its caption
//   optionally followed by its own group: "*{G,f7}|&Yes|&No, Maybe Later".
// See MessageBoxMarkup.h and MessageBoxLayout.h for the letters.
//
// The box is modal: ShowMessageBox returns when the user has answered.

#include <string>

namespace kalvara::msgbox {

inline constexpr const char* MessageBoxFormName = "DGMSGBOX1";

// Results besides the button numbers 1 to 10.
inline constexpr int ResultEscape = 99;     // Escape or the close command
inline constexpr int ResultNoAnswer = 1000; // internal: the box is still open

// Control ids on the form.
inline constexpr int PictureId = 4;
inline constexpr int Text1Id = 5;
inline constexpr int Text2Id = 6;
inline constexpr int CheckBoxId = 10;
inline constexpr int FirstButtonId = 11; // button n has id 10 + n

// The colour number the box defines for itself: the button face.
inline constexpr int ButtonFaceColor = 750;

// Shows the box and waits for the answer.
// - parent: form that owns the box (empty: none);
// - title: caption, may end in a group with B (background colour number),
//   W (minimum width), H (minimum height);
// - text1, text2: text blocks, may end in a group with F (font number),
//   T (text colour number), W (wrap width);
// - checkText: text of a check box (empty: none), group with F, T;
// - buttons: the button list (letters W, H, F, B, T and the shapes
//   G standard, 3 3D, R rounded rectangle, E ellipse, C colour button);
// - picture: picture name shown at the left (empty: none; missing: left out);
// - initialValue: |n| is the button focused at the start (0 none); negative
//   starts with the check box ticked;
// - options: C centre texts and buttons, J buttons to the right margin,
//   W equal button widths, L larger spacing, F/R/S passed to the picture.
// Returns n (1..10) for button n, -n when the check box was ticked;
// 99 for Escape or the close command, -99 with the check box ticked.
int ShowMessageBox(const std::string& parent, const std::string& title, const std::string& text1,
                   const std::string& text2, const std::string& checkText,
                   const std::string& buttons, const std::string& picture, int initialValue,
                   const std::string& options);

// The plain notice: the box over the current form with one "&OK{G,f7}"
// button focused, no check box, no picture, options "C".
void ShowNotice(const std::string& title, const std::string& text1, const std::string& text2);

// Points the program's notice hook (kalvara::ShowNotice) at ShowNotice
// above. The desktop program calls it once at start.
void InstallNoticeHook();

// The program's DesignForm and DispatchEvent hand form "DGMSGBOX1" to these.
void DesignMessageBoxForm(const std::string& form);
void MessageBoxEvent(const std::string& form, int id, int code, int& value, int& cancel);

} // namespace kalvara::msgbox
