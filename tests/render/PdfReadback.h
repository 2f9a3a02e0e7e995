#pragma once
// Reads a PDF back with mupdf's mutool, a tool that shares no code with our
// writer, so tests see what a viewer sees. Coordinates are page points from
// the top-left corner with y growing downward, the way the layouts place
// things; a text's Y is its baseline.

#include <string>
#include <string_view>
#include <vector>

namespace kalvara::test {

struct PdfColour {
    double Red = 0;
    double Green = 0;
    double Blue = 0;
    bool Is(double red, double green, double blue) const;
    bool IsBlack() const { return Is(0, 0, 0); }
    bool IsRed() const { return Is(1, 0, 0); }
};

// One run of text as drawn by one text-showing operation.
struct PdfTextRun {
    std::string Font; // "Helvetica", "Helvetica-Bold", "Helvetica-BoldOblique"
    double Size = 0;
    PdfColour Colour;
    double X = 0;     // left edge of the first glyph
    double Right = 0; // right edge of the last glyph
    double Y = 0;     // baseline
    std::string Text;
};

struct PdfPoint {
    double X = 0;
    double Y = 0;
};

// A stroked or filled path.
struct PdfPath {
    double Width = 0; // strokes only
    PdfColour Colour;
    std::vector<PdfPoint> Points; // moveto, lineto ... in drawing order
};

struct PdfPageReadback {
    double Width = 0;
    double Height = 0;
    std::vector<PdfTextRun> Texts;
    std::vector<PdfPath> Strokes;
    std::vector<PdfPath> Fills;
    // The first run whose text equals text; null when there is none.
    const PdfTextRun* FindText(std::string_view text) const;
};

struct PdfReadback {
    std::vector<PdfPageReadback> Pages;
    std::string Error; // empty when mutool read the file
};

// `mutool draw -F trace`: every glyph with font, size and colour, every path
// with its points, colour and width.
PdfReadback ReadPdfTrace(const std::string& pdf_path);

// Equal within a hundredth of a point.
bool Near(double a, double b, double tolerance = 0.01);

} // namespace kalvara::test
