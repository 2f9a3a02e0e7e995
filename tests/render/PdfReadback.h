#pragma once
// Reads a PDF back with mupdf's mutool, which shares no code with our writer.
// Points from the top-left corner, y downward, as the layouts place things.

#include "support/TempFolder.h"

#include <algorithm>
#include <cstdlib>
#include <fmt/core.h>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace kalvara::test {

struct PdfTextRun {
    std::string Font; // "Helvetica", "Helvetica-Bold", "Helvetica-BoldOblique"
    double Size = 0;
    std::string Colour; // "red green blue" as an ostream writes them: "0 0 0.6"
    double X = 0;       // left edge of the first glyph
    double Right = 0;   // right edge of the last glyph
    double Y = 0;       // baseline
    std::string Text;
};

struct PdfPoint {
    double X = 0, Y = 0;
};

struct PdfPath {
    double Width = 0; // strokes only
    std::string Colour;
    std::vector<PdfPoint> Points; // moveto, lineto ... in drawing order
};

struct PdfPage {
    double Width = 0, Height = 0;
    std::vector<PdfTextRun> Texts;
    std::vector<PdfPath> Strokes, Fills;
    const PdfTextRun* FindText(const std::string& text) const {
        const auto run = std::ranges::find(Texts, text, &PdfTextRun::Text);
        return run == Texts.end() ? nullptr : &*run;
    }
};

struct PdfReadback {
    std::vector<PdfPage> Pages;
};

// The value of name="..." on an element line. The calendars' texts hold no
// character that XML would escape.
inline std::string Attribute(const std::string& line, const std::string& name) {
    const auto start = line.find(" " + name + "=\"");
    const auto from = start + name.size() + 3;
    return start == std::string::npos ? "" : line.substr(from, line.find('"', from) - from);
}

inline std::vector<double> Numbers(const std::string& line, const std::string& name) {
    std::istringstream in(Attribute(line, name));
    return {std::istream_iterator<double>(in), std::istream_iterator<double>()};
}

inline double Number(const std::string& line, const std::string& name) {
    return std::atof(Attribute(line, name).c_str());
}

// `mutool draw -F trace`: every glyph with font, size and colour, every path
// with its points, colour and width. libharu draws every page unscaled and
// unrotated, so a point's Y is the page height less its PDF y.
inline PdfReadback ReadPdfTrace(const std::string& pdf_path) {
    TempFolder folder;
    const std::string trace = folder / "trace.xml", command = "mutool draw -F trace -o '" + trace +
                                                              "' '" + pdf_path + "' 2>/dev/null";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    std::ifstream in(trace);
    PdfReadback readback;
    std::string colour, open; // of the text or path being read
    for (std::string line; std::getline(in, line);) {
        std::string element;
        std::istringstream(line) >> element;
        PdfPage* page = readback.Pages.empty() ? nullptr : &readback.Pages.back();
        const PdfPoint at{Number(line, "x"), page ? page->Height - Number(line, "y") : 0};
        if (element == "<page") {
            const auto box = Numbers(line, "mediabox");
            readback.Pages.push_back({box.at(2) - box[0], box.at(3) - box[1], {}, {}, {}});
        } else if (element == "<fill_text" || element == "<stroke_path" ||
                   element == "<fill_path") {
            open = element;
            auto rgb = Numbers(line, "color"); // a grey has one number
            rgb.resize(3, rgb.at(0));
            colour = fmt::format("{} {} {}", rgb[0], rgb[1], rgb[2]);
            if (open != "<fill_text") {
                (open == "<stroke_path" ? page->Strokes : page->Fills)
                    .push_back({Number(line, "linewidth"), colour, {}});
            }
        } else if (element == "<span" && open == "<fill_text") {
            page->Texts.push_back(
                {Attribute(line, "font"), Number(line, "trm"), colour, 0, 0, 0, ""});
        } else if (element == "<g" && open == "<fill_text") {
            PdfTextRun& run = page->Texts.back();
            run.X = run.Text.empty() ? at.X : run.X;
            run.Y = at.Y;
            run.Text += Attribute(line, "unicode");
            run.Right = at.X + Number(line, "adv") * run.Size;
        } else if ((element == "<moveto" || element == "<lineto") && open.ends_with("_path")) {
            (open == "<stroke_path" ? page->Strokes : page->Fills).back().Points.push_back(at);
        } else if (element.starts_with("</") && element != "</span>") {
            open.clear();
        }
    }
    return readback;
}

inline std::vector<PdfPage> ReadPdfBytes(const std::string& bytes) {
    TempFolder folder;
    std::ofstream(folder / "calendar.pdf", std::ios::binary) << bytes;
    return ReadPdfTrace(folder / "calendar.pdf").Pages;
}

} // namespace kalvara::test
