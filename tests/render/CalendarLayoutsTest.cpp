// Every layout read back, as a viewer sees it, and held against the broadcast
// calendar worked out with std::chrono from its plain words rather than the engine.

#include "PdfReadback.h"
#include "engine/CalendarNames.h"
#include "render/CalendarDocument.h"
#include "render/MonthBlocks.h"

#include <chrono>
#include <cmath>
#include <map>
#include <set>

namespace kalvara {
namespace {

using namespace test;
using enum CalendarStyle;
namespace chr = std::chrono;

// A selection and the run of consecutive broadcast months it prints.
struct LayoutCase {
    std::string Name;
    CalendarSelection Selection;
    std::size_t Pages;
    std::string Paper;     // width x height in points
    std::int32_t Year = 0; // of the first month
    std::int32_t FirstMonth = 1, Months = 12;
    // A month's heading: 'N' its name, 'Y' its year, '*' the five-week star.
    std::string_view Heading;
    char QuarterSeparator = 0; // between week number and quarter; 0: no quarter
    bool WeekLabels = true, Footer = true;
    int Copies = 1;
    // Names the case in test listings instead of dumping its bytes.
    friend void PrintTo(const LayoutCase& layout, std::ostream* out) { *out << layout.Name; }
};

// Weeks (as keys), "label | key" and headings, as sorted lists.
using WeeksLabelsHeadings = std::array<std::multiset<std::string>, 3>;

chr::sys_days LastSunday(chr::year_month month) {
    return chr::sys_days{month.year() / month.month() / chr::Sunday[chr::last]};
}

chr::sys_days BroadcastMonthStart(chr::year_month month) {
    return LastSunday(month - chr::months{1}) + chr::days{1};
}

// The week's day numbers, each with a "b" when bold: even months are bold.
std::string WeekKey(chr::sys_days monday) {
    std::string key;
    for (int i = 0; i < 7; ++i) {
        const chr::year_month_day day{monday + chr::days{i}};
        key += std::to_string(unsigned(day.day())) + (unsigned(day.month()) % 2 ? " " : "b ");
    }
    return key;
}

WeeksLabelsHeadings ExpectedMonths(const LayoutCase& printed) {
    WeeksLabelsHeadings expected;
    auto& [weeks, labels, headings] = expected;
    for (int n = 0; n < printed.Months * printed.Copies; ++n) {
        const chr::year_month month = chr::year{printed.Year} / chr::month(printed.FirstMonth) +
                                      chr::months{n % printed.Months};
        const auto year_start = BroadcastMonthStart(month.year() / chr::January);
        const unsigned quarter = (unsigned(month.month()) + 2) / 3;
        const auto quarter_start = BroadcastMonthStart(month.year() / chr::month(quarter * 3 - 2));
        const bool five_weeks = LastSunday(month) - BroadcastMonthStart(month) > chr::days{28};
        std::string heading;
        for (const char c : printed.Heading) {
            heading += c == 'N'   ? MonthName(std::int32_t(unsigned(month.month())))
                       : c == 'Y' ? std::to_string(int(month.year()))
                       : c == '*' ? std::string(five_weeks ? "*" : "")
                                  : std::string(1, c);
        }
        headings.insert(heading);
        for (auto monday = BroadcastMonthStart(month); monday < LastSunday(month);
             monday += chr::days{7}) {
            const auto in_quarter = (monday - quarter_start).count() / 7 + 1;
            const std::string label =
                fmt::format("{}", (monday - year_start).count() / 7 + 1) +
                (printed.QuarterSeparator
                     ? fmt::format("{}{}Q{:02}", printed.QuarterSeparator, quarter, in_quarter)
                     : "");
            weeks.insert(WeekKey(monday));
            if (printed.WeekLabels) {
                labels.insert(label + " | " + WeekKey(monday));
            }
        }
    }
    return expected;
}

// What the pages show, in the form ExpectedMonths gives it. Black day numbers
// side by side on a baseline make week rows, seven each; a red number, or a
// black one leading a row, is a week label. A label stands for the lowest row
// on its page at or above its baseline, and of those the nearest across.
WeeksLabelsHeadings PrintedWeeks(const std::vector<PdfPage>& pages,
                                 const std::multiset<std::string>& headings) {
    WeeksLabelsHeadings printed;
    for (std::size_t p = 0; p < pages.size(); ++p) {
        std::vector<PdfTextRun> rows, labels; // a row's text is its key
        std::map<long long, std::vector<const PdfTextRun*>> baselines;
        for (const auto& run : pages[p].Texts) {
            const auto digits = std::min(run.Text.find_first_not_of("0123456789"), run.Text.size());
            if (run.Colour == "1 0 0" && digits >= 1 && digits <= 2) {
                labels.push_back(run);
            } else if (digits == run.Text.size() && digits <= 2 && run.Colour == "0 0 0" &&
                       run.Font.find("Oblique") == std::string::npos) {
                baselines[std::llround(run.Y * 100)].push_back(&run);
            }
            if (headings.contains(run.Text)) {
                printed[2].insert(run.Text);
            }
        }
        for (auto& [y, runs] : baselines) {
            std::sort(runs.begin(), runs.end(), [](auto* a, auto* b) { return a->X < b->X; });
            const std::size_t first = runs.size() % 7 == 1 ? 1 : 0;
            if (first) {
                labels.push_back(*runs[0]);
            }
            EXPECT_EQ((runs.size() - first) % 7, 0u) << "page " << p << " baseline " << y / 100.0;
            for (std::size_t i = first; i + 7 <= runs.size(); i += 7) {
                auto& row = rows.emplace_back(
                    PdfTextRun{"", 0, "", runs[i]->X, runs[i + 6]->Right, runs[i]->Y, ""});
                for (std::size_t d = i; d < i + 7; ++d) {
                    row.Text += runs[d]->Text + (runs[d]->Font == "Helvetica-Bold" ? "b " : " ");
                }
                printed[0].insert(row.Text);
            }
        }
        for (const auto& label : labels) {
            const auto distance = [&label](const PdfTextRun& row) {
                return std::pair(std::llround((label.Y - row.Y) * 100),
                                 std::max({0.0, row.X - label.Right, label.X - row.Right}));
            };
            const PdfTextRun* best = nullptr;
            for (const auto& row : rows) {
                if (row.Y <= label.Y + 0.01 && (!best || distance(row) < distance(*best))) {
                    best = &row;
                }
            }
            printed[1].insert(label.Text + " | " + (best ? best->Text : "no row"));
        }
    }
    return printed;
}

class CalendarLayouts : public ::testing::TestWithParam<LayoutCase> {};

// Every text on its page, above the footer when there is one, and clear of
// the others; the five-week legend in the footer when a month is starred.
TEST_P(CalendarLayouts, PrintEveryWeekOnTidyPages) {
    const LayoutCase& layout = GetParam();
    BroadcastYearTable years; // left at another year: the driver builds its own
    BuildBroadcastYear(1990, years);
    PdfRunState state;
    std::string bytes;
    ASSERT_TRUE(RenderCalendarDocument(layout.Selection, years, state, bytes));
    const auto pages = ReadPdfBytes(bytes);
    ASSERT_EQ(pages.size(), layout.Pages);
    const auto expected = ExpectedMonths(layout);
    EXPECT_EQ(PrintedWeeks(pages, expected[2]), expected);
    std::string shown; // every text, one a line
    for (const PdfPage& page : pages) {
        EXPECT_EQ(fmt::format("{}x{}", page.Width, page.Height), layout.Paper);
        EXPECT_FALSE(page.Strokes.empty());
        const PdfTextRun* credit = page.FindText(CreditLine);
        EXPECT_EQ(credit != nullptr, layout.Footer);
        bool starred = false, legend = false;
        for (auto a = page.Texts.begin(); a != page.Texts.end(); ++a) {
            shown += a->Text + "\n";
            EXPECT_TRUE(a->X >= 0 && a->Right <= page.Width && a->Y - a->Size >= 0 &&
                        a->Y <= (credit ? credit->Y + 0.01 : page.Height))
                << a->Text << " lies outside";
            for (auto b = a + 1; b != page.Texts.end(); ++b) {
                EXPECT_FALSE(a->X < b->Right - 0.01 && b->X < a->Right - 0.01 &&
                             a->Y - 0.7 * a->Size < b->Y - 0.01 &&
                             b->Y - 0.7 * b->Size < a->Y - 0.01)
                    << "'" << a->Text << "' overlaps '" << b->Text << "'";
            }
            const bool is_legend = a->Text == FiveWeekLegend || a->Text == FiveWeekLegendPlanning;
            legend = legend || is_legend;
            starred = starred || (!is_legend && a->Text.find('*') != std::string::npos);
        }
        EXPECT_EQ(legend, layout.Footer && starred);
    }
    for (int year = layout.Year; year <= layout.Year + (layout.FirstMonth + layout.Months - 2) / 12;
         ++year) {
        EXPECT_NE(shown.find(std::to_string(year)), std::string::npos) << "no page names " << year;
    }
}

// 2023 and 2012 have 53 weeks as 1 January is a Sunday, 2000 as a leap year
// starts on a Saturday. Year, Planning and strips ignore the period.
// clang-format off
INSTANTIATE_TEST_SUITE_P(Styles, CalendarLayouts, ::testing::ValuesIn(std::vector<LayoutCase>{
    {"MonthOfFiveWeeksWithQuarters", {Month, 3, 2025, ShowQuarters}, 1, "792x612", 2025, 3, 1, "N Y*", '/'},
    {"AllMonthsOf53Weeks", {Month, AllPeriods, 2023}, 12, "792x612", 2023, 1, 12, "N Y*"},
    {"QuarterIntoTheNextYear", {Quarter, 11, 2025, ShowQuarters}, 1, "612x792", 2025, 11, 3, "*N Y*", '/'},
    {"AllQuarters", {Quarter, AllPeriods, 2025}, 4, "612x792", 2025, 1, 12, "*N Y*"},
    {"YearOf52Weeks", {Year, 5, 2025}, 1, "612x792", 2025, 1, 12, "N*"},
    {"YearOf53WeeksWithQuarters", {Year, 5, 2023, ShowQuarters}, 1, "612x792", 2023, 1, 12, "N*", '-'},
    {"FirstYear", {Year, AllPeriods, 1920}, 1, "612x792", 1920, 1, 12, "N*"},
    {"LeapYearFromASaturday", {Year, AllPeriods, 2000}, 1, "612x792", 2000, 1, 12, "N*"},
    {"LastYear", {Year, AllPeriods, 9999}, 1, "612x792", 9999, 1, 12, "N*"},
    {"ThreeYearsEachCountedFromItsOwnStart", {ThreeYears, AllPeriods, 2023, ShowQuarters}, 1, "612x792", 2023, 1, 36, "*N*", '-'},
    {"NineKeyboardStripsWithoutLabelsOrFooter", {KeyboardStrips, AllPeriods, 2025, ShowQuarters}, 1, "1008x612", 2025, 1, 12, "N*", 0, false, false, 9},
    {"PlanningOf52Weeks", {Planning, 7, 2025, ShowQuarters}, 1, "612x792", 2025, 1, 12, "*N*"},
    {"PlanningOf53Weeks", {Planning, AllPeriods, 2023}, 1, "612x792", 2023, 1, 12, "*N*"},
    {"PlanningOfALeapYearOf53Weeks", {Planning, AllPeriods, 2012}, 1, "612x792", 2012, 1, 12, "*N*"}}),
    [](const auto& info) { return info.param.Name; });
// clang-format on

} // namespace
} // namespace kalvara
