#include "gui/Gui.h"

// Placeholder bodies so that windows can be written and linked against the
// layer while it is being built.

namespace kalvara::gui {

int Run(int&, char**, EntryPoints) {
    return 0;
}
void InstallEntryPoints(EntryPoints) {}
void ResetForTesting() {}
std::vector<std::string> CommandLineArguments() {
    return {};
}
std::string ProgramFolder() {
    return {};
}
void AllowEvents(EventClass, bool) {}
void AllowFormKeyEvents(const std::string&) {}
void DefineFont(int, const std::string&, double, const std::string&) {}
void DefineSystemColor(int, int) {}
void DefineColor(int, int, int, int) {}
int ColorValue(int) {
    return {};
}
void SetColors(int, int) {}
void UseFont(int) {}
void UseInlineFont(const std::string&, double, const std::string&) {}
void UseAutoSize(const std::string&) {}
TextExtent MeasureText(int, const std::string&) {
    return {};
}
double PixelsToColumns(int) {
    return {};
}
double PixelsToRows(int) {
    return {};
}
int ColumnsToPixels(double) {
    return {};
}
int RowsToPixels(double) {
    return {};
}
void CreateForm(const std::string&, const std::string&, const std::string&, double, double, double,
                double, const std::string&) {}
void ResizeForm(const std::string&, double, double, double, double) {}
void UnloadForm(const std::string&) {}
void HideForm(const std::string&) {}
void ShowForm(const std::string&) {}
std::string CurrentForm() {
    return {};
}
bool FormExists(const std::string&) {
    return {};
}
QWidget* FormWidget(const std::string&) {
    return nullptr;
}
QWidget* ControlWidget(const std::string&, int) {
    return nullptr;
}
void SetUserData(const std::string&, int, int) {}
int GetUserData(const std::string&, int) {
    return {};
}
void AddLabel(int, double, double, double, double, const std::string&, const std::string&) {}
void AddTextField(int, double, double, double, double, const std::string&, const std::string&) {}
void AddButton(int, double, double, double, double, const std::string&, const std::string&) {}
void AddOwnerDrawnButton(int, double, double, double, double, const std::string&,
                         const std::string&) {}
void AddCheckBox(int, double, double, double, double, const std::string&, const std::string&) {}
void AddRadio(int, double, double, double, double, const std::string&, const std::string&) {}
void AddFrame(int, double, double, double, double, const std::string&, const std::string&) {}
void AddPicture(int, double, double, double, double, const std::string&, const std::string&) {}
void AddProgressBar(int, double, double, double, double, const std::string&, const std::string&) {}
void AddRichText(int, double, double, double, double, const std::string&, const std::string&) {}
void AddStatusBar(int, const std::string&, const std::string&) {}
void SetLayer(int) {}
void DisplayLayer(const std::string&, int) {}
void AllowLoadingEvents(bool) {}
void SetLoadString(const std::string&) {}
std::string GetText(const std::string&, int) {
    return {};
}
void SetText(const std::string&, int, const std::string&) {}
int GetCheck(const std::string&, int) {
    return {};
}
void SetCheck(const std::string&, int, int) {}
void EnableControl(const std::string&, int) {}
void DisableControl(const std::string&, int) {}
bool IsEnabled(const std::string&, int) {
    return {};
}
bool ControlExists(const std::string&, int) {
    return {};
}
void SetFocus(const std::string&, int) {}
int GetFocusId(const std::string&) {
    return {};
}
void SetSelection(const std::string&, int, int, int) {}
void SetProgress(const std::string&, int, int) {}
void SetProgressRange(const std::string&, int, int, int) {}
void SetRichText(const std::string&, int, const std::string&) {}
void SetRichTextLimit(const std::string&, int, int) {}
void SetStatusBarParts(const std::string&, int, const std::vector<int>&) {}
void SetStatusBarText(const std::string&, int, int, const std::string&) {}
void SetPictureFolder(const std::string&) {}
void DefinePictureResource(const std::string&, const std::string&) {}
int LoadPicture(const std::string&) {
    return {};
}
PictureSize GetPictureSize(int) {
    return {};
}
void SetImage(const std::string&, int, int) {}
void SetFormIcon(const std::string&, int) {}
void DefineMainMenu(int, const std::string&) {}
int GetMenu(const std::string&, int) {
    return {};
}
int DefineSubMenu(int, const std::string&) {
    return {};
}
void AddMenuItem(int, int, const std::string&) {}
void SaveMenu(const std::string&, int, int) {}
void SetSubMenu(int, int, int) {}
void DefineAccelerators(const std::string&, const std::string&) {}
void AddTooltip(const std::string&, int) {}
void SetTooltip(const std::string&) {}
void DefineTooltipProperties(int, int, const std::string&) {}
void PostEvent(const std::string&, int, int) {}
void DoEvents() {}
std::string EventText() {
    return {};
}
void Draw3DButton(int, int, int) {}
void Draw3DButtonRoundRect(int, int, int) {}
void Draw3DButtonEllipse(int, int, int) {}
void DrawColorButton(int, int, int) {}

} // namespace kalvara::gui
