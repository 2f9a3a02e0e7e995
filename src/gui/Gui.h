#pragma once
// Kalvara's window layer: forms by short name, controls by numeric id placed
// in character units, one event routine for every form. The windows of the
// program are written against this model; here it is realised on Qt Widgets.
//
// Character units. Every position and size below is a real number of
// character cells: one column is the average character width (taken over
// the letters A-Z and a-z, then widened by a quarter, because the windows
// were laid out for a narrower face than the desktop fonts here) and one row
// the line height of the desktop's default UI font. Forms are sized by their client area; a menu
// bar and a status bar are added outside it. Where the desktop's font is wider than the windows
// were laid out for, labels, check boxes and radio buttons widen into free room to their right
// rather than cut their text off.
//
// Texts are UTF-8 throughout.
//
// The model in short:
// - `Run` takes the program's three entry points. `InitialiseGui` runs once
//   before any form exists; `DesignForm` runs while a form is being created,
//   and the controls it adds land on that form; `DispatchEvent` receives
//   every event of every form as (form name, control id, event code, value,
//   cancel flag). The control id is 0 for the form itself. Setting the cancel
//   flag to 1 tells the layer not to do its own handling of the event.
// - Events of forms the program does not know, and the layer's own names
//   (such as `AppFormName`), reach `DispatchEvent` like any other; the
//   program ignores what it does not route.
// - A form whose properties contain "M" ("CMR", "_CMR") is modal: the
//   creating call returns only after the form has been unloaded.
// - Settings such as `SetColors`, `UseFont`, `UseAutoSize`, `SetLayer` and
//   `AllowLoadingEvents` apply to the forms and controls created after them,
//   until they are changed. Each new form starts its design with default
//   colours, font 0 (the UI font), no autosize, layer 0 and loading events
//   off.
//
// Everything runs on the GUI thread; none of these calls is thread-safe.

#include <any>
#include <functional>
#include <string>
#include <vector>

class QWidget;

namespace kalvara::gui {

// ---------------------------------------------------------------------------
// Event codes

inline constexpr int EventClose = 0;   // a form (id 0) is closing
inline constexpr int EventClick = 1;   // button, check box, radio, menu item, accelerator
inline constexpr int EventFocus = 3;   // a control received the keyboard focus
inline constexpr int EventChange = 6;  // an edit field's text changed; EventText() has it
inline constexpr int EventTooltip = 8; // a tooltip is about to show; answer with SetTooltip
inline constexpr int EventKey = 30;    // key pressed on a form with key events; value = key code
inline constexpr int EventControlLoading = 85; // a control is being created (AllowLoadingEvents)
inline constexpr int EventFormLoaded = 86;     // the form is created and visible
inline constexpr int EventFormLoading = 87;    // the form's controls exist; not yet visible
inline constexpr int EventHelpTopic = 130;     // the form became active; it may claim help
inline constexpr int EventOwnerDraw = 300;     // an owner-drawn button must be painted
inline constexpr int EventPosted = 410;        // a PostEvent arrives; value = posted value
inline constexpr int EventMenuSelect = 520;    // a menu item is highlighted; nobody acts on it

// Key codes carried as the value of EventKey. Letters and digits carry their
// upper-case character code, function key Fn carries 111 + n.
inline constexpr int KeyBackspace = 8;
inline constexpr int KeyTab = 9;
inline constexpr int KeyEnter = 13;
inline constexpr int KeyEscape = 27;
inline constexpr int KeySpace = 32;

// The name under which the layer reports events of the application itself
// (EventClose when the last form is gone and the loop ends).
inline constexpr const char* AppFormName = "{APP}";

// ---------------------------------------------------------------------------
// Entry points and the run call

using InitialiseGuiFn = std::function<void()>;
using DesignFormFn = std::function<void(const std::string& form)>;
using DispatchEventFn =
    std::function<void(const std::string& form, int id, int code, int& value, int& cancel)>;

struct EntryPoints {
    InitialiseGuiFn initialiseGui;
    DesignFormFn designForm;
    DispatchEventFn dispatchEvent;
};

// Stands in for EZ_GUIRUN. Creates the application object when none exists,
// installs the entry points, runs `initialiseGui`, then runs the message loop
// until no form is left. Returns the program's exit code (0; 0 at once when
// `initialiseGui` created no form). argc must outlive the call.
int Run(int& argc, char** argv, EntryPoints entryPoints);

// Installs the entry points without running a loop, for tests and for
// programs that own their QApplication. Needs an existing QApplication.
void InstallEntryPoints(EntryPoints entryPoints);

// Unloads every form and forgets all numbered fonts, colours, pictures and
// menus, returning the layer to its state before `Run`. For tests.
void ResetForTesting();

// The arguments of the run call after the program name ("/update" etc.).
std::vector<std::string> CommandLineArguments();

// The program's folder, without a trailing separator. Stands in for EZ_APPPATH.
std::string ProgramFolder();

// Event classes the program switches on at start (EZ_ALLOWCOMMANDEVENTS,
// EZ_ALLOWNOTIFYEVENTS, EZ_ALLOWKEYEVENTS, EZ_ALLOWMOUSEMOVEEVENTS,
// EZ_ALLOWCURSOREVENTS). Only Key changes what is reported: with it on,
// every form reports EventKey. The others are accepted for completeness.
enum class EventClass { Command, Notify, Key, MouseMove, Cursor };
void AllowEvents(EventClass eventClass, bool on);

// Key events for one form only (EZ_ALLOWKEYEVENTS on a form being designed).
void AllowFormKeyEvents(const std::string& form);

// Program state that goes with a form, kept by the layer rather than in a
// global of the program's own: it lives from before the form is created
// (its design may need it) until DropFormRecord or ResetForTesting, so it
// can carry a modal form's answer back to the call that created it.
std::any& FormRecordSlot(const std::string& form);
void DropFormRecord(const std::string& form);

// The record of type T kept under the form's name; a fresh one when there is
// none, or one of another type.
template <typename T> T& FormRecord(const std::string& form) {
    std::any& slot = FormRecordSlot(form);
    if (std::any_cast<T>(&slot) == nullptr) {
        slot = T{};
    }
    return *std::any_cast<T>(&slot);
}

// The record of type T kept under the form's name, or nullptr.
std::any* FindFormRecordSlot(const std::string& form);
template <typename T> T* FindFormRecord(const std::string& form) {
    std::any* slot = FindFormRecordSlot(form);
    return slot != nullptr ? std::any_cast<T>(slot) : nullptr;
}

// ---------------------------------------------------------------------------
// Numbered fonts and colours

// Stands in for EZ_DEFFONT. Letters in properties: "B" bold, "I" italic,
// "U" underline; others are accepted and ignored. A face the machine lacks
// ("Segoe UI", "Wingdings") falls back to the desktop's UI font. The size is
// for a 9-point desktop font and is scaled by the desktop's own size, as the
// character cells are. Fonts 0 to 5 are predefined as the UI font and may be
// redefined.
void DefineFont(int number, const std::string& face, double pointSize,
                const std::string& properties);

// Stands in for EZ_DEFSYSTEMCOLOR: colour `number` follows the system colour
// with that index (Windows numbering: 4 menu, 5 window, 8 window text,
// 13 highlight, 14 highlighted text, 15 button face, 18 button text,
// 23 tooltip text, 24 tooltip background), read from the desktop palette.
void DefineSystemColor(int number, int systemColorIndex);

// Stands in for EZ_DEFCOLORL. Colours 0 to 15 are predefined as the classic
// sixteen-colour palette (0 black, 1 blue, 2 green, 3 cyan, 4 red,
// 5 magenta, 6 brown, 7 light grey, 8 dark grey, 9 to 14 the bright ones,
// 15 white).
void DefineColor(int number, int red, int green, int blue);

// The colour as 0xRRGGBB, or -1 for an undefined number.
int ColorValue(int number);

// Stands in for EZ_COLOR: foreground and background of the forms and
// controls created next; -1 means the default.
void SetColors(int foreground, int background);

// Stands in for EZ_USEFONT: font of the controls created next. During
// EventControlLoading it changes the font of the control being created.
void UseFont(int number);

// Stands in for EZ_USEIFONT: a font given by face, size and properties (as
// for DefineFont) for the controls created next.
void UseInlineFont(const std::string& face, double pointSize, const std::string& properties);

// Stands in for EZ_USEAUTOSIZE. With non-empty properties the controls
// created next grow wider when their text needs more room than given.
void UseAutoSize(const std::string& properties);

// Text measuring, stands in for EZ_GETTEXTSIZE: the size of one line of text
// in the numbered font, in character units. A font number that is not
// defined measures in the UI font.
struct TextExtent {
    double width = 0;
    double height = 0;
};
TextExtent MeasureText(int fontNumber, const std::string& text);

// Conversions between pixels and character units.
double PixelsToColumns(int pixels);
double PixelsToRows(int pixels);
int ColumnsToPixels(double columns);
int RowsToPixels(double rows);

// ---------------------------------------------------------------------------
// Forms

// Stands in for EZ_FORM. Creates form `name` as a window of `parent` (empty:
// top-level), with the caption, position and client size given. The layer
// then calls DesignForm(name), reports EventFormLoading, shows the form and
// reports EventFormLoaded. Property letters: "M" modal (this call returns
// after the form has been unloaded), "C" centred on the parent or the
// screen; others are accepted and ignored. Creating a form under a name that
// is already loaded unloads the old one first.
void CreateForm(const std::string& name, const std::string& parent, const std::string& caption,
                double column, double row, double width, double height,
                const std::string& properties);

// Stands in for EZ_RESIZEFORM: moves the form to column, row of its parent
// (or the screen) and gives it a new client size.
void ResizeForm(const std::string& name, double column, double row, double width, double height);

// Stands in for EZ_UNLOADFORM. Reports EventClose for the form, closes it
// and forgets its controls and user data. A modal CreateForm of this form
// returns once the current event has been handled. Unknown names do nothing.
void UnloadForm(const std::string& name);

// Stands in for EZ_HIDEFORM. A hidden form still counts as loaded.
void HideForm(const std::string& name);
void ShowForm(const std::string& name);

// Stands in for EZ_CURRENTFORM: the form whose event is being handled, or,
// outside any event, the active form (the last created when none is active).
// Empty when no form exists.
std::string CurrentForm();

bool FormExists(const std::string& name);

// Stands in for EZ_HANDLE: the form's window, or nullptr.
QWidget* FormWidget(const std::string& name);

// The real widget of a control (id 0: the form's window), or nullptr. Tests
// use it to click and type through real widgets.
QWidget* ControlWidget(const std::string& form, int id);

// Stands in for EZ_SETUSERDATA / EZ_GETUSERDATA: one integer per form and
// number, 0 when never set. Forgotten when the form is unloaded.
void SetUserData(const std::string& form, int number, int value);
int GetUserData(const std::string& form, int number);

// ---------------------------------------------------------------------------
// Controls. Each Add call adds to the form being designed (the innermost
// DesignForm running) and does nothing outside design. Arguments: control
// id, column, row, width, height in character units, text, properties.
// Common property letters: "T" the control takes part in Tab order, "G"
// starts a new group (for radio buttons: a new exclusive group). Others are
// accepted and ignored.

// EZ_LABEL. "L", "C", "R": left, centred, right aligned; "|" in the text
// breaks the line.
void AddLabel(int id, double column, double row, double width, double height,
              const std::string& text, const std::string& properties);

// EZ_TEXT, a one-line edit field. "C" centres the text, "[n]" allows at most
// n characters, "P" hides the characters, "R" makes it read-only. Changes
// report EventChange.
void AddTextField(int id, double column, double row, double width, double height,
                  const std::string& text, const std::string& properties);

// EZ_BUTTON, a standard push button; reports EventClick.
void AddButton(int id, double column, double row, double width, double height,
               const std::string& text, const std::string& properties);

// EZ_ODBUTTON, an owner-drawn button: reports EventClick, and EventOwnerDraw
// whenever it must be painted; the handler paints it then with one of the
// Draw...Button calls below. Left unpainted it shows as a plain face.
void AddOwnerDrawnButton(int id, double column, double row, double width, double height,
                         const std::string& text, const std::string& properties);

// EZ_CHECKBOX; reports EventClick.
void AddCheckBox(int id, double column, double row, double width, double height,
                 const std::string& text, const std::string& properties);

// EZ_RADIO; "G" starts a new group, the following radio buttons join it.
// Reports EventClick.
void AddRadio(int id, double column, double row, double width, double height,
              const std::string& text, const std::string& properties);

// EZ_FRAME: a titled frame drawn behind the other controls.
void AddFrame(int id, double column, double row, double width, double height,
              const std::string& text, const std::string& properties);

// EZ_PICTURE. `picture` is a picture name as for LoadPicture, or "#n" for a
// handle returned by LoadPicture. "C" centres the picture, "S" stretches
// it to the control, "F" fits it keeping its proportions, "R" draws a
// sunken border. A picture that cannot be loaded leaves the control empty.
void AddPicture(int id, double column, double row, double width, double height,
                const std::string& picture, const std::string& properties);

// EZ_PROGRESSBAR; range 0 to 100 until SetProgressRange changes it.
void AddProgressBar(int id, double column, double row, double width, double height,
                    const std::string& text, const std::string& properties);

// EZ_RICHTEXT1, a read-only rich text box (see SetRichText).
void AddRichText(int id, double column, double row, double width, double height,
                 const std::string& text, const std::string& properties);

// EZ_STATUSBAR: the status bar of the form being designed, below its client
// area. One part until SetStatusBarParts divides it.
void AddStatusBar(int id, const std::string& text, const std::string& properties);

// Stands in for EZ_SETLAYER: the controls created next go on layer n. Layer
// 0 (the default) is always visible; of the other layers only the one last
// chosen with DisplayLayer is (layer 1 until then).
void SetLayer(int layer);
// Stands in for EZ_DISPLAYLAYER.
void DisplayLayer(const std::string& form, int layer);

// Stands in for EZ_ALLOWLOADINGEVENT: while on, each control created
// reports EventControlLoading during its creation, before it is shown;
// UseFont and SetLoadString then apply to that control.
void AllowLoadingEvents(bool on);
// Stands in for EZ_SETLOADSTR: the text of the control being loaded.
void SetLoadString(const std::string& text);

// ---------------------------------------------------------------------------
// Control state. Unknown forms or ids are ignored (getters return empty / 0).

// EZ_GETTEXT / EZ_SETTEXT. Id 0 is the form's caption; a status bar gives
// and takes the text of its first part.
std::string GetText(const std::string& form, int id);
void SetText(const std::string& form, int id, const std::string& text);

// EZ_GETCHECK / EZ_SETCHECK for check boxes and radio buttons: 1 checked.
// Setting does not report EventClick.
int GetCheck(const std::string& form, int id);
void SetCheck(const std::string& form, int id, int state);

// EZ_ENABLEC / EZ_DISABLEC, and EZ_ISCONTROL with "E".
void EnableControl(const std::string& form, int id);
void DisableControl(const std::string& form, int id);
bool IsEnabled(const std::string& form, int id);
bool ControlExists(const std::string& form, int id);

// EZ_SETFOCUS / EZ_GETFOCUSID. GetFocusId gives 0 when no control of the
// form has the focus.
void SetFocus(const std::string& form, int id);
int GetFocusId(const std::string& form);

// Places the caret or selection of an edit field (characters start to end).
// Stands in for sending EM_SETSEL through EZ_SENDMESSAGE.
void SetSelection(const std::string& form, int id, int start, int end);

// EZ_SETPBAR, and the range of a progress bar.
void SetProgress(const std::string& form, int id, int value);
void SetProgressRange(const std::string& form, int id, int minimum, int maximum);

// EZ_SETRICHTEXT: text starting with "{\rtf" is read as rich text format by
// the reader of RtfReader.h (paragraphs, alignment, indents, bold, italic,
// underline, sizes, special characters; other control words are skipped);
// any other text is shown as plain text. The box scrolls to the top.
void SetRichText(const std::string& form, int id, const std::string& text);
// EZ_SETRICHTEXTLEN: the largest text the box takes (0: no limit).
void SetRichTextLimit(const std::string& form, int id, int characters);

// EZ_SETSBPARTS: divides a status bar into parts whose widths are per cent
// of the bar. EZ_SETSBTEXT: sets the text of part n (from 1); a leading tab
// centres the text in its part.
void SetStatusBarParts(const std::string& form, int id, const std::vector<int>& percentWidths);
void SetStatusBarText(const std::string& form, int id, int part, const std::string& text);

// ---------------------------------------------------------------------------
// Pictures and icons. A handle is a positive integer, 0 for none.

// Stands in for EZ_DEFIMAGEFOLDER: where pictures named by file name live.
// A relative folder is taken below ProgramFolder().
void SetPictureFolder(const std::string& folder);

// Makes "$name" resolve to a picture file (the program's bitmap resources).
void DefinePictureResource(const std::string& name, const std::string& filePath);

// Stands in for EZ_LOADPICTURE and EZ_LOADICON: "$name" names a resource, an
// absolute path a file, anything else a file in the picture folder. 0 when
// it cannot be read.
int LoadPicture(const std::string& name);

// Stands in for EZ_GETPICTURESIZE: the picture's size in pixels.
struct PictureSize {
    int width = 0;
    int height = 0;
};
PictureSize GetPictureSize(int picture);

// EZ_SETIMAGE: replaces the picture of a picture control (0 clears it).
void SetImage(const std::string& form, int id, int picture);
// EZ_SETFORMICON.
// What a screen reader says about a control, such as a picture's content.
void SetAccessibleDescription(const std::string& form, int id, const std::string& text);
// What a screen reader calls a control that has no caption of its own.
void SetAccessibleName(const std::string& form, int id, const std::string& text);
void SetFormIcon(const std::string& form, int picture);

// ---------------------------------------------------------------------------
// Menus. A menu handle is a positive integer, 0 for none.

// Stands in for EZ_DEFMAINMENU: the next form created gets a menu bar whose
// first item has this id and caption.
void DefineMainMenu(int id, const std::string& caption);

// Stands in for EZ_GETMENU: n = 0 the form's menu bar, otherwise the popup
// saved under n with SaveMenu. 0 when there is none.
int GetMenu(const std::string& form, int n);

// Stands in for EZ_DEFSUBMENU: a new popup whose first item is id, caption.
int DefineSubMenu(int id, const std::string& caption);

// Stands in for EZ_ADDMENUITEM: appends an item; caption "-" adds a separator.
void AddMenuItem(int menu, int id, const std::string& caption);

// Stands in for EZ_SAVEMENU: keeps a popup under number n of the form.
void SaveMenu(const std::string& form, int n, int menu);

// Stands in for EZ_SETSUBMENU: hangs a popup below item `itemId` of a menu.
void SetSubMenu(int menu, int itemId, int popup);

// Menu items report EventClick with their id, on the form of their menu bar;
// EventText() is the item's caption.

// ---------------------------------------------------------------------------
// Events

// Stands in for EZ_DEFACCEL: "key,id" pairs separated by commas, such as
// "F1,911" or "F1,911,Ctrl+P,920". Pressing the key while the form is active
// reports EventClick from that id. Key names are as Qt writes them. Badly
// formed pairs are skipped.
void DefineAccelerators(const std::string& form, const std::string& accelerators);

// The keys of a dialog, declared once per form (during its design or after):
// Enter presses the focused push button, and elsewhere the first of
// `defaultIds` that is enabled and shown (an edit field has no button of its
// own to press); Escape presses `cancelId`. 0 or empty: the key does nothing.
// Key events the program cancels itself come first.
void SetFormKeys(const std::string& form, std::vector<int> defaultIds, int cancelId);

// Stands in for EZ_ADDTOOLTIP: the control reports EventTooltip before its
// tooltip shows; the handler chooses the text with SetTooltip, and empty
// text shows none.
void AddTooltip(const std::string& form, int id);
// Stands in for EZ_SETTOOLTIP during EventTooltip.
void SetTooltip(const std::string& text);
// Stands in for EZ_DEFTOOLTIPPROP. "[n]": tooltips wrap at about n columns.
// The two numbers (colours, -1 default) are accepted and ignored.
void DefineTooltipProperties(int foreground, int background, const std::string& properties);

// Stands in for EZ_POSTEVENT: once the current event has been handled, the
// control reports EventPosted with this value.
void PostEvent(const std::string& form, int id, int value);

// Stands in for EZ_DOEVENTS: runs the events that are pending.
void DoEvents();

// The text that goes with the event being handled: the new text for
// EventChange, the caption for a menu EventClick; empty otherwise.
std::string EventText();

// ---------------------------------------------------------------------------
// Painting owner-drawn buttons, only during EventOwnerDraw for that button.
// Colours are colour numbers (-1 default), fonts font numbers (0 the form's
// font). Stand in for EZ_DRAW3DBUTTON, EZ_DRAW3DBUTTONRR, EZ_DRAW3DBUTTONE
// and EZ_DRAWCOLORBUTTON.

void Draw3DButton(int background, int foreground, int font);
void Draw3DButtonRoundRect(int background, int foreground, int font);
void Draw3DButtonEllipse(int background, int foreground, int font);
void DrawColorButton(int background, int foreground, int font);

} // namespace kalvara::gui
