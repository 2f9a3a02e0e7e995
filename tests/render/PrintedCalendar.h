#pragma once
// What a calendar page must show, worked out from the plain-words definition
// of the broadcast calendar with std::chrono rather than the engine: weeks
// run Monday to Sunday and a broadcast month ends on the last Sunday of its
// calendar month. The pages are read as a viewer sees them: black day numbers
// side by side on a baseline make week rows, a red number (or the black one
// leading a row) is a week label, and the label belongs to the nearest row at
// or above its baseline.

#include "PdfReadback.h"
#include "engine/CalendarNames.h"
#include "render/MonthBlocks.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <gtest/gtest.h>
#include <map>
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

// Day numbers with a "b" where bold: even calendar months are bold.
inline std::string WeekKey(chr::sys_days monday) {
    std::string key;
    for (int i = 0; i < 7; ++i) {
        const chr::year_month_day day{monday + chr::days{i}};
        key += std::to_string(unsigned(day.day())) + (unsigned(day.month()) % 2 ? " " : "b ");
    }
    return key;
}

inline std::string Heading(std::string_view pattern, chr::year_month month, bool five_weeks) {
    std::string text;
    for (const char c : pattern) {
        text += c == 'N'   ? MonthName(static_cast<std::int32_t>(unsigned(month.month())))
                : c == 'Y' ? std::to_string(int(month.year()))
                : c == '*' ? std::string(five_weeks ? "*" : "")
                           : std::string(1, c);
    }
    return text;
}

struct PrintedRow {
    std::size_t Page;
    double Y, X, Right;
    std::string Text; // the row's key, or the label's text
};

// Week rows and labels of the pages, as described at the top of this file.
inline void ReadRows(const std::vector<PdfPageReadback>& pages, std::vector<PrintedRow>& rows,
                     std::vector<PrintedRow>& labels) {
    for (std::size_t p = 0; p < pages.size(); ++p) {
        std::map<long long, std::vector<const PdfTextRun*>> baselines;
        for (const auto& run : pages[p].Texts) {
            const bool number = run.Text.size() <= 2 &&
                                run.Text.find_first_not_of("0123456789") == std::string::npos;
            const auto digits = std::min(run.Text.find_first_not_of("0123456789"), run.Text.size());
            if (run.Colour.IsRed() && digits >= 1 && digits <= 2) {
                labels.push_back({p, run.Y, run.X, run.Right, run.Text});
            } else if (number && run.Colour.IsBlack() &&
                       run.Font.find("Oblique") == run.Font.npos) {
                baselines[std::llround(run.Y * 100)].push_back(&run);
            }
        }
        for (auto& [y, runs] : baselines) {
            std::sort(runs.begin(), runs.end(), [](auto* a, auto* b) { return a->X < b->X; });
            std::size_t i = 0;
            if (runs.size() % 7 == 1) {
                labels.push_back({p, runs[0]->Y, runs[0]->X, runs[0]->Right, runs[0]->Text});
                i = 1;
            }
            EXPECT_EQ((runs.size() - i) % 7, 0u) << "page " << p << " baseline " << y / 100.0;
            for (; i + 7 <= runs.size(); i += 7) {
                PrintedRow row{p, runs[i]->Y, runs[i]->X, runs[i + 6]->Right, ""};
                for (std::size_t d = i; d < i + 7; ++d) {
                    row.Text += runs[d]->Text + (runs[d]->Font == "Helvetica-Bold" ? "b " : " ");
                }
                rows.push_back(row);
            }
        }
    }
}

// The row a label stands for: on its page, the lowest row at or above the
// label's baseline, and of those the nearest across.
inline const PrintedRow* LabelledRow(const PrintedRow& label, const std::vector<PrintedRow>& rows) {
    const PrintedRow* best = nullptr;
    double best_distance = 0;
    for (const auto& row : rows) {
        const double distance = std::max({0.0, row.X - label.Right, label.X - row.Right});
        if (row.Page == label.Page && row.Y <= label.Y + 0.01 &&
            (!best || row.Y > best->Y + 0.01 ||
             (Near(row.Y, best->Y) && distance < best_distance))) {
            best = &row;
            best_distance = distance;
        }
    }
    return best;
}

// Every week once per copy with its dates and label, every month heading,
// and the footer on every page below everything else.
inline void ExpectPrintedMonths(const std::vector<PdfPageReadback>& pages,
                                const PrintedMonths& printed) {
    std::vector<std::string> weeks, labelled, headings;
    chr::year_month month = chr::year{printed.Year} / chr::month(printed.FirstMonth);
    for (int m = 0; m < printed.Months; ++m, month += chr::months{1}) {
        const chr::sys_days year_start = BroadcastMonthStart(month.year() / chr::January);
        const chr::sys_days quarter_start = BroadcastMonthStart(
            month.year() / chr::month((unsigned(month.month()) - 1) / 3 * 3 + 1));
        const chr::sys_days end = LastSunday(month);
        for (int copy = 0; copy < printed.Copies; ++copy) {
            headings.push_back(
                Heading(printed.Heading, month, end - BroadcastMonthStart(month) > chr::days{28}));
        }
        for (chr::sys_days monday = BroadcastMonthStart(month); monday < end;
             monday += chr::days{7}) {
            std::string label = std::to_string((monday - year_start).count() / 7 + 1);
            if (printed.QuarterSeparator) {
                const auto in_quarter = (monday - quarter_start).count() / 7 + 1;
                label += printed.QuarterSeparator +
                         std::to_string((unsigned(month.month()) + 2) / 3) + "Q" +
                         (in_quarter < 10 ? "0" : "") + std::to_string(in_quarter);
            }
            for (int copy = 0; copy < printed.Copies; ++copy) {
                weeks.push_back(WeekKey(monday));
                if (printed.WeekLabels) {
                    labelled.push_back(label + " | " + WeekKey(monday));
                }
            }
        }
    }
    std::vector<PrintedRow> rows, labels;
    ReadRows(pages, rows, labels);
    std::vector<std::string> printed_weeks, printed_labels, printed_headings;
    for (const auto& row : rows) {
        printed_weeks.push_back(row.Text);
    }
    for (const auto& label : labels) {
        const PrintedRow* row = LabelledRow(label, rows);
        printed_labels.push_back(label.Text + " | " + (row ? row->Text : "no row"));
    }
    for (const auto& page : pages) {
        for (const auto& run : page.Texts) {
            if (std::find(headings.begin(), headings.end(), run.Text) != headings.end()) {
                printed_headings.push_back(run.Text);
            }
        }
    }
    for (auto* list :
         {&weeks, &labelled, &headings, &printed_weeks, &printed_labels, &printed_headings}) {
        std::sort(list->begin(), list->end());
    }
    EXPECT_EQ(printed_weeks, weeks);
    EXPECT_EQ(printed_labels, labelled);
    EXPECT_EQ(printed_headings, headings);

    for (std::size_t p = 0; p < pages.size(); ++p) {
        const PdfTextRun* credit = pages[p].FindText(CreditLine);
        EXPECT_EQ(credit != nullptr, printed.Footer) << "page " << p;
        const auto& texts = pages[p].Texts;
        for (std::size_t i = 0; i < texts.size(); ++i) {
            const auto& a = texts[i];
            EXPECT_TRUE(a.X >= 0 && a.Right <= pages[p].Width && a.Y - a.Size >= 0 &&
                        a.Y <= pages[p].Height)
                << a.Text << " off the page";
            for (std::size_t j = i + 1; j < texts.size(); ++j) {
                const auto& b = texts[j];
                EXPECT_FALSE(a.X < b.Right - 0.01 && b.X < a.Right - 0.01 &&
                             a.Y - 0.7 * a.Size < b.Y - 0.01 && b.Y - 0.7 * b.Size < a.Y - 0.01)
                    << "'" << a.Text << "' overlaps '" << b.Text << "' on page " << p;
            }
        }
        bool starred = false, legend = false;
        for (const auto& run : pages[p].Texts) {
            const bool is_legend = run.Text == FiveWeekLegend || run.Text == FiveWeekLegendPlanning;
            legend = legend || is_legend;
            starred = starred || (!is_legend && run.Text.find('*') != std::string::npos);
            EXPECT_TRUE(!credit || run.Y <= credit->Y + 0.01) << run.Text << " below the footer";
        }
        EXPECT_EQ(legend, printed.Footer && starred) << "page " << p;
    }
}

} // namespace kalvara::test
