#pragma once
// The main window, form "KV": the year field, the six style buttons with a
// sample picture of the chosen style, "&Generate", the menu and the status
// bar. Its start steps run once it is visible.

#include <array>
#include <string>

namespace kalvara {

class DesktopApp;

inline constexpr const char* MainFormName = "KV";

// Control and menu ids of the main window.
inline constexpr int YearFieldId = 100;
inline constexpr int YearLabelId = 105;
inline constexpr int FirstStyleRadioId = 110; // style s has 105 + 5 * s
inline constexpr int PreviewPictureId = 140;
inline constexpr int GenerateButtonId = 145;
inline constexpr int ExitButtonId = 150;
inline constexpr int HelpButtonId = 155;
inline constexpr int YearFrameId = 160;
inline constexpr int StyleFrameId = 165;
inline constexpr int StatusBarId = 175;

inline constexpr int MenuProgram = 9000;
inline constexpr int MenuPreferences = 9005;
inline constexpr int MenuExportCalendar = 9020;
inline constexpr int MenuExit = 9015;
inline constexpr int MenuHelp = 9100;
inline constexpr int MenuHelpContents = 9105;
inline constexpr int MenuCheckForUpdate = 9115;
inline constexpr int MenuAbout = 9125;

inline constexpr int StyleRadioId(int style) {
    return 105 + 5 * style;
}

// The tooltip of style 1..6; empty for other numbers.
std::string StyleTooltip(int style);

// The sample picture resource of style 1..6 ("$CALYEAR"); empty otherwise.
std::string StyleSampleResource(int style);

class MainWindow {
public:
    explicit MainWindow(DesktopApp& app);

    // Defines the menu bar and creates the form; returns once it is shown.
    void Open();
    void Design();
    void Event(int id, int code, int& value, int& cancel);

private:
    void FormEvent(int id, int code, int& cancel);
    void MenuEvent(int id, int code);
    void StyleEvent(int style, int code);
    void YearFieldEvent(int code, int value);
    void Loading();
    void Loaded();
    void UpdatePreview();
    void Generate();

    DesktopApp& app_;
    int start_picture_ = 0; // "calyear.bmp", loaded at the first design
};

} // namespace kalvara
