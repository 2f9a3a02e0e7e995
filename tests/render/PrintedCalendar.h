#pragma once
// What calendar pages must show, worked out with std::chrono from the plain
// words of the broadcast calendar rather than from the engine: weeks run
// Monday to Sunday and a broadcast month ends on the last Sunday of its
// calendar month. The pages are read as a viewer sees them: black day numbers
// side by side on a baseline make week rows, seven each; a red number, or a
// black one leading a row, is a week label and stands for the nearest row at
// or above its baseline.

#include "PdfReadback.h"
#include "engine/CalendarNames.h"
#include "render/MonthBlocks.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace kalvara::test {

namespace chr = std::chrono;

// A run of consecutive broadcast months as one style prints it.
struct PrintedMonths {
    std::int32_t Year = 0; // of the first month
    std::int32_t FirstMonth = 1;
    std::int32_t Months = 12;
    // A month's heading: 'N' its name, 'Y' its year, '*' the five-week star.
    std::string_view Heading;
    char QuarterSeparator = 0; // between week number and quarter; 0: no quarter
    bool WeekLabels = true;
    bool Footer = true;
    int Copies = 1;
};

inline chr::sys_days LastSunday(chr::year_month month) {
    return chr::sys_days{month.year() / month.month() / chr::Sunday[chr::last]};
}

inline chr::sys_days BroadcastMonthStart(chr::year_month month) {
    return LastSunday(month - chr::months{1}) + chr::days{1};
}

// The week's day numbers, each with a "b" when bold: even months are bold.
inline std::string WeekKey(chr::sys_days monday) {
    std::string key;
    for (int i = 0; i < 7; ++i) {
        const chr::year_month_day day{monday + chr::days{i}};
        key += std::to_string(unsigned(day.day())) + (unsigned(day.month()) % 2 ? " " : "b ");
    }
    return key;
}

// Weeks (as keys), "label | key" and headings, each sorted.
inline std::array<std::vector<std::string>, 3> ExpectedMonths(const PrintedMonths& printed) {
    std::array<std::vector<std::string>, 3> expected;
    auto& [weeks, labels, headings] = expected;
    chr::year_month month = chr::year{printed.Year} / chr::month(printed.FirstMonth);
    for (int m = 0; m < printed.Months; ++m, month += chr::months{1}) {
        const auto year_start = BroadcastMonthStart(month.year() / chr::January);
        const unsigned quarter = (unsigned(month.month()) + 2) / 3;
        const auto quarter_start = BroadcastMonthStart(month.year() / chr::month(quarter * 3 - 2));
        const bool five_weeks = LastSunday(month) - BroadcastMonthStart(month) > chr::days{28};
        std::string& heading = headings.emplace_back();
        for (const char c : printed.Heading) {
            heading += c == 'N'   ? MonthName(std::int32_t(unsigned(month.month())))
                       : c == 'Y' ? std::to_string(int(month.year()))
                       : c == '*' ? std::string(five_weeks ? "*" : "")
                                  : std::string(1, c);
        }
        for (auto monday = BroadcastMonthStart(month); monday < LastSunday(month);
             monday += chr::days{7}) {
            const auto in_quarter = (monday - quarter_start).count() / 7 + 1;
            std::string label = std::to_string((monday - year_start).count() / 7 + 1);
            if (printed.QuarterSeparator) {
                label += printed.QuarterSeparator + std::to_string(quarter) + "Q" +
                         (in_quarter < 10 ? "0" : "") + std::to_string(in_quarter);
            }
            weeks.push_back(WeekKey(monday));
            if (printed.WeekLabels) {
                labels.push_back(label + " | " + WeekKey(monday));
            }
        }
    }
    for (auto& list : expected) {
        const auto once = list;
        for (int copy = 1; copy < printed.Copies; ++copy) {
            list.insert(list.end(), once.begin(), once.end());
        }
        std::sort(list.begin(), list.end());
    }
    return expected;
}

struct PrintedRow {
    std::size_t Page;
    double Y, X, Right;
    std::string Text; // the row's key, or the label's text
};

// The row a label stands for: on its page, the lowest row at or above the
// label's baseline, and of those the nearest across.
inline std::string LabelledRow(const PrintedRow& label, const std::vector<PrintedRow>& rows) {
    const PrintedRow* best = nullptr;
    const auto distance = [&label](const PrintedRow& row) {
        return std::max({0.0, row.X - label.Right, label.X - row.Right});
    };
    for (const auto& row : rows) {
        if (row.Page == label.Page && row.Y <= label.Y + 0.01 &&
            (!best || row.Y > best->Y + 0.01 ||
             (Near(row.Y, best->Y) && distance(row) < distance(*best)))) {
            best = &row;
        }
    }
    return label.Text + " | " + (best ? best->Text : "no row");
}

// The weeks, labels and headings the pages show, in the form ExpectedMonths
// gives them.
inline std::array<std::vector<std::string>, 3>
PrintedWeeks(const std::vector<PdfPageReadback>& pages, const std::vector<std::string>& headings) {
    std::array<std::vector<std::string>, 3> printed;
    std::vector<PrintedRow> rows, labels;
    for (std::size_t p = 0; p < pages.size(); ++p) {
        std::map<long long, std::vector<const PdfTextRun*>> baselines;
        for (const auto& run : pages[p].Texts) {
            const auto digits = std::min(run.Text.find_first_not_of("0123456789"), run.Text.size());
            if (run.Colour.IsRed() && digits >= 1 && digits <= 2) {
                labels.push_back({p, run.Y, run.X, run.Right, run.Text});
            } else if (digits == run.Text.size() && digits <= 2 && run.Colour.IsBlack() &&
                       run.Font.find("Oblique") == std::string::npos) {
                baselines[std::llround(run.Y * 100)].push_back(&run);
            }
            if (std::binary_search(headings.begin(), headings.end(), run.Text)) {
                printed[2].push_back(run.Text);
            }
        }
        for (auto& [y, runs] : baselines) {
            std::sort(runs.begin(), runs.end(), [](auto* a, auto* b) { return a->X < b->X; });
            const std::size_t first = runs.size() % 7 == 1 ? 1 : 0;
            if (first) {
                labels.push_back({p, runs[0]->Y, runs[0]->X, runs[0]->Right, runs[0]->Text});
            }
            EXPECT_EQ((runs.size() - first) % 7, 0u) << "page " << p << " baseline " << y / 100.0;
            for (std::size_t i = first; i + 7 <= runs.size(); i += 7) {
                auto& row = rows.emplace_back(
                    PrintedRow{p, runs[i]->Y, runs[i]->X, runs[i + 6]->Right, ""});
                for (std::size_t d = i; d < i + 7; ++d) {
                    row.Text += runs[d]->Text + (runs[d]->Font == "Helvetica-Bold" ? "b " : " ");
                }
                printed[0].push_back(row.Text);
            }
        }
    }
    for (const auto& label : labels) {
        printed[1].push_back(LabelledRow(label, rows));
    }
    for (auto& list : printed) {
        std::sort(list.begin(), list.end());
    }
    return printed;
}

// Every rule and text on the page and every text clear of the others; the
// footer, when there is one, below everything else and with the five-week
// legend when a month is starred.
inline void ExpectTidyPage(const PdfPageReadback& page, bool footer) {
    const PdfTextRun* credit = page.FindText(CreditLine);
    EXPECT_EQ(credit != nullptr, footer);
    EXPECT_FALSE(page.Strokes.empty());
    for (const auto& stroke : page.Strokes) {
        for (const auto& point : stroke.Points) {
            EXPECT_TRUE(point.X >= 0 && point.X <= page.Width && point.Y >= 0 &&
                        point.Y <= page.Height)
                << "a rule leaves the page at " << point.X << "," << point.Y;
        }
    }
    bool starred = false, legend = false;
    for (auto a = page.Texts.begin(); a != page.Texts.end(); ++a) {
        EXPECT_TRUE(a->X >= 0 && a->Right <= page.Width && a->Y - a->Size >= 0 &&
                    a->Y <= page.Height && (!credit || a->Y <= credit->Y + 0.01))
            << a->Text << " lies outside";
        for (auto b = a + 1; b != page.Texts.end(); ++b) {
            EXPECT_FALSE(a->X < b->Right - 0.01 && b->X < a->Right - 0.01 &&
                         a->Y - 0.7 * a->Size < b->Y - 0.01 && b->Y - 0.7 * b->Size < a->Y - 0.01)
                << "'" << a->Text << "' overlaps '" << b->Text << "'";
        }
        // White text needs a darker fill behind it.
        EXPECT_TRUE(!a->Colour.Is(1, 1, 1) ||
                    std::any_of(page.Fills.begin(), page.Fills.end(),
                                [&a](const PdfPath& fill) {
                                    const auto [left, right] = std::minmax_element(
                                        fill.Points.begin(), fill.Points.end(),
                                        [](auto& p, auto& q) { return p.X < q.X; });
                                    const auto [top, bottom] = std::minmax_element(
                                        fill.Points.begin(), fill.Points.end(),
                                        [](auto& p, auto& q) { return p.Y < q.Y; });
                                    return !fill.Colour.Is(1, 1, 1) && left->X <= a->X &&
                                           a->Right <= right->X && top->Y <= a->Y - 0.7 * a->Size &&
                                           a->Y <= bottom->Y;
                                }))
            << a->Text << " is white on white";
        const bool is_legend = a->Text == FiveWeekLegend || a->Text == FiveWeekLegendPlanning;
        legend = legend || is_legend;
        starred = starred || (!is_legend && a->Text.find('*') != std::string::npos);
    }
    EXPECT_EQ(legend, footer && starred);
}

// Every week once per copy with its dates, weights and label, every month
// heading, and tidy pages.
inline void ExpectPrintedMonths(const std::vector<PdfPageReadback>& pages,
                                const PrintedMonths& printed) {
    const auto expected = ExpectedMonths(printed);
    const auto shown = PrintedWeeks(pages, expected[2]);
    EXPECT_EQ(shown[0], expected[0]);
    EXPECT_EQ(shown[1], expected[1]);
    EXPECT_EQ(shown[2], expected[2]);
    for (int year = printed.Year;
         year <= printed.Year + (printed.FirstMonth + printed.Months - 2) / 12; ++year) {
        EXPECT_TRUE(std::any_of(pages.begin(), pages.end(),
                                [year](const PdfPageReadback& page) {
                                    return std::any_of(page.Texts.begin(), page.Texts.end(),
                                                       [year](const PdfTextRun& run) {
                                                           return run.Text.find(std::to_string(
                                                                      year)) != std::string::npos;
                                                       });
                                }))
            << "no page names " << year;
    }
    // Texts without a digit (titles, day names, the credit line) repeat on
    // every page.
    const auto fixed_texts = [](const PdfPageReadback& page) {
        std::set<std::string> texts;
        for (const auto& run : page.Texts) {
            if (run.Text.find_first_of("0123456789*") == std::string::npos) {
                texts.insert(run.Text);
            }
        }
        return texts;
    };
    for (std::size_t p = 0; p < pages.size(); ++p) {
        SCOPED_TRACE("page " + std::to_string(p));
        ExpectTidyPage(pages[p], printed.Footer);
        EXPECT_EQ(fixed_texts(pages[p]), fixed_texts(pages[0]));
    }
}

} // namespace kalvara::test
