#pragma once
// Assertions on read-back pages: a text with its anchor, baseline, font, size
// and colour; a rule with its end points, width and colour.

#include "PdfReadback.h"

#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <string_view>

namespace kalvara::test {

enum class Anchor { Left, Right, Centre };

struct TextStyle {
    std::string_view Font;
    double Size = 0;
    bool Red = false;
};

inline constexpr std::string_view Regular = "Helvetica";
inline constexpr std::string_view Bold = "Helvetica-Bold";
inline constexpr std::string_view BoldOblique = "Helvetica-BoldOblique";

inline double AnchorX(const PdfTextRun& run, Anchor anchor) {
    return anchor == Anchor::Left ? run.X : anchor == Anchor::Right ? run.Right : run.Center();
}

inline std::string Describe(const PdfTextRun& run) {
    std::ostringstream out;
    out << "'" << run.Text << "' " << run.Font << " " << run.Size << " at x " << run.X << ".."
        << run.Right << " y " << run.Y << " colour " << run.Colour.Red << "," << run.Colour.Green
        << "," << run.Colour.Blue;
    return out.str();
}

// Exactly one run of the text is anchored at (x, y), in the style given.
inline ::testing::AssertionResult HasText(const PdfPageReadback& page, std::string_view text,
                                          Anchor anchor, double x, double y,
                                          const TextStyle& style) {
    const PdfTextRun* match = nullptr;
    int matches = 0;
    std::ostringstream runs;
    for (const PdfTextRun* run : page.FindTexts(text)) {
        runs << "\n  " << Describe(*run);
        if (Near(run->Y, y) && Near(AnchorX(*run, anchor), x, 0.02)) {
            match = run;
            ++matches;
        }
    }
    if (matches != 1) {
        return ::testing::AssertionFailure()
               << matches << " runs of '" << text << "' anchored at " << x << ", " << y
               << "; runs of that text:" << runs.str();
    }
    if (match->Font != style.Font || !Near(match->Size, style.Size) ||
        !(style.Red ? match->Colour.IsRed() : match->Colour.IsBlack())) {
        return ::testing::AssertionFailure()
               << "wrong style: " << Describe(*match) << "; wanted " << style.Font << " "
               << style.Size << (style.Red ? " red" : " black");
    }
    return ::testing::AssertionSuccess();
}

// Exactly one two-point stroke runs from (x1, y1) to (x2, y2), black unless
// red, of the width given.
inline ::testing::AssertionResult HasRule(const PdfPageReadback& page, double x1, double y1,
                                          double x2, double y2, double width, bool red = false) {
    int matches = 0;
    for (const auto& stroke : page.Strokes) {
        if (stroke.Points.size() != 2 || !Near(stroke.Points[0].X, x1) ||
            !Near(stroke.Points[0].Y, y1) || !Near(stroke.Points[1].X, x2) ||
            !Near(stroke.Points[1].Y, y2)) {
            continue;
        }
        ++matches;
        if (!Near(stroke.Width, width, 0.001) ||
            !(red ? stroke.Colour.IsRed() : stroke.Colour.IsBlack())) {
            return ::testing::AssertionFailure()
                   << "rule from " << x1 << "," << y1 << " has width " << stroke.Width << " colour "
                   << stroke.Colour.Red << "," << stroke.Colour.Green << "," << stroke.Colour.Blue;
        }
    }
    if (matches != 1) {
        return ::testing::AssertionFailure()
               << matches << " rules from " << x1 << "," << y1 << " to " << x2 << "," << y2;
    }
    return ::testing::AssertionSuccess();
}

} // namespace kalvara::test
