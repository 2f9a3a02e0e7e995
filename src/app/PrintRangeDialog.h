#pragma once
// The print range dialog, form "MS": which month (Month style) or which
// quarter's first month (Quarter style) to print, or all of them. Its only
// result is the selection's Period: 1..12, AllPeriods, or PeriodCancelled.

#include <string>

namespace kalvara {

class DesktopApp;

inline constexpr const char* PrintRangeFormName = "MS";

inline constexpr int SingleChoiceId = 100;
inline constexpr int AllChoiceId = 105;
inline constexpr int FirstMonthId = 110; // month m has 110 + 5 * (m - 1)
inline constexpr int RangeLabelId = 170;
inline constexpr int RangeOkId = 175;
inline constexpr int RangeCancelId = 180;
inline constexpr int RangeHelpId = 185;

inline constexpr int MonthRadioId(int month) {
    return 110 + 5 * (month - 1);
}

class PrintRangeDialog {
public:
    explicit PrintRangeDialog(DesktopApp& app);

    // Opens the dialog modally over `parent`; returns once it is closed, with
    // the result in the selection's Period.
    void Open(const std::string& parent);
    void Design();
    void Event(int id, int code, int& value, int& cancel);

private:
    void Initialise();

    DesktopApp& app_;
    bool accepted_ = false; // closed with "&OK"
};

} // namespace kalvara
