#pragma once
// The calendar export, form "EX": asks for the first broadcast year and how
// many years, then for a file name, and writes the broadcast weeks and months
// of those years as an iCalendar file for calendar apps.

#include <string>

namespace kalvara {

class DesktopApp;

inline constexpr const char* ExportFormName = "EX";

inline constexpr int ExportYearLabelId = 100;
inline constexpr int ExportYearFieldId = 105;
inline constexpr int ExportCountLabelId = 110;
inline constexpr int ExportCountFieldId = 115;
inline constexpr int ExportNoteId = 120;
inline constexpr int ExportOkId = 125;
inline constexpr int ExportCancelId = 130;
inline constexpr int ExportHelpId = 135;
inline constexpr int ExportFrameId = 140;

inline constexpr int MaxExportYears = 10;

// The years the user asked for.
struct ExportRange {
    int FirstYear = 0;
    int YearCount = 0;
    int LastYear() const { return FirstYear + YearCount - 1; }
};

// Reads the two fields; on bad input says what is wrong in `problem` (a
// notice's text 1) and returns false.
bool ParseExportRange(const std::string& first_year, const std::string& year_count,
                      ExportRange& range, std::string& problem);

// "broadcast-calendar-2026.ics", "broadcast-calendar-2026-2028.ics".
std::string SuggestedExportName(const ExportRange& range);

class ExportDialog {
public:
    explicit ExportDialog(DesktopApp& app);

    // Asks for the years over `parent`, then for the file, writes it and
    // says where it went (or why not). Returns once everything is answered.
    void Open(const std::string& parent);
    void Design();
    void Event(int id, int code, int& value, int& cancel);

private:
    void Initialise();
    void Accept();
    void WriteCalendar(const ExportRange& range);

    DesktopApp& app_;
    bool accepted_ = false; // closed with "&Export..."
    ExportRange range_;
};

} // namespace kalvara
