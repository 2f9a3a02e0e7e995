#include "PdfReadback.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <sstream>

namespace kalvara::test {

namespace {

// mutool's standard output; error is set when it could not read the file.
std::string RunMutoolTrace(const std::string& pdf_path, std::string& error) {
    std::string command = "mutool draw -F trace -o - '";
    for (const char c : pdf_path) {
        command += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    std::string output;
    FILE* pipe = ::popen((command + "' 2>/dev/null").c_str(), "r");
    std::array<char, 65536> buffer{};
    for (std::size_t got = 0; pipe && (got = std::fread(buffer.data(), 1, buffer.size(), pipe));) {
        output.append(buffer.data(), got);
    }
    if (!pipe || ::pclose(pipe) != 0) {
        error = "mutool could not read " + pdf_path;
    }
    return output;
}

// The value of name="..." on an element line. The calendars' texts hold no
// character that XML would escape.
std::string Attribute(const std::string& line, const std::string& name) {
    const auto start = line.find(" " + name + "=\"");
    const auto from = start + name.size() + 3;
    return start == std::string::npos ? "" : line.substr(from, line.find('"', from) - from);
}

std::vector<double> Numbers(const std::string& line, const std::string& name) {
    std::vector<double> numbers;
    std::istringstream in(Attribute(line, name));
    for (double value = 0; in >> value;) {
        numbers.push_back(value);
    }
    return numbers;
}

double Number(const std::string& line, const std::string& name) {
    const auto values = Numbers(line, name);
    return values.empty() ? 0 : values[0];
}

PdfColour Colour(const std::string& line) {
    auto v = Numbers(line, "color");
    if (v.size() < 3) { // grey
        v.assign(3, v.empty() ? 0 : v[0]);
    }
    return {v[0], v[1], v[2]};
}

bool Starts(const std::string& line, std::string_view element) {
    const auto first = line.find_first_not_of(' ');
    return first != std::string::npos && line.compare(first, element.size(), element) == 0;
}

} // namespace

bool PdfColour::Is(double red, double green, double blue) const {
    return Near(Red, red, 0.005) && Near(Green, green, 0.005) && Near(Blue, blue, 0.005);
}

const PdfTextRun* PdfPageReadback::FindText(std::string_view text) const {
    for (const auto& run : Texts) {
        if (run.Text == text) {
            return &run;
        }
    }
    return nullptr;
}

bool Near(double a, double b, double tolerance) {
    return std::fabs(a - b) <= tolerance;
}

PdfReadback ReadPdfTrace(const std::string& pdf_path) {
    PdfReadback readback;
    std::istringstream in(RunMutoolTrace(pdf_path, readback.Error));
    std::vector<double> m; // the transform of the text or path being read
    const auto apply = [&m](const std::string& line) {
        const double x = Number(line, "x"), y = Number(line, "y");
        return PdfPoint{m[0] * x + m[2] * y + m[4], m[1] * x + m[3] * y + m[5]};
    };
    PdfColour colour;
    PdfTextRun* run = nullptr;
    std::vector<PdfPath>* paths = nullptr; // the page's strokes or fills inside a path
    for (std::string line; std::getline(in, line);) {
        PdfPageReadback* page = readback.Pages.empty() ? nullptr : &readback.Pages.back();
        if (Starts(line, "<page ")) {
            const auto box = Numbers(line, "mediabox");
            page = &readback.Pages.emplace_back();
            page->Width = box.size() == 4 ? box[2] - box[0] : 0;
            page->Height = box.size() == 4 ? box[3] - box[1] : 0;
        } else if (Starts(line, "<fill_text ") || Starts(line, "<stroke_path ") ||
                   Starts(line, "<fill_path ")) {
            m = Numbers(line, "transform");
            m.resize(6, 0);
            colour = Colour(line);
            if (!Starts(line, "<fill_text ")) {
                paths = Starts(line, "<stroke_path ") ? &page->Strokes : &page->Fills;
                paths->push_back({Number(line, "linewidth") * std::hypot(m[0], m[1]), colour, {}});
            }
        } else if (Starts(line, "</fill_text>") || Starts(line, "</stroke_path>") ||
                   Starts(line, "</fill_path>")) {
            m.clear();
            paths = nullptr;
        } else if (!m.empty() && !paths && Starts(line, "<span ")) {
            run = &page->Texts.emplace_back();
            run->Font = Attribute(line, "font");
            run->Size = Number(line, "trm") * std::hypot(m[0], m[1]);
            run->Colour = colour;
        } else if (run && Starts(line, "<g ")) {
            const PdfPoint at = apply(line);
            if (run->Text.empty()) {
                run->X = at.X;
                run->Y = at.Y;
            }
            run->Text += Attribute(line, "unicode");
            run->Right = at.X + Number(line, "adv") * run->Size;
        } else if (run && Starts(line, "</span>")) {
            if (run->Text.empty()) {
                page->Texts.pop_back();
            }
            run = nullptr;
        } else if (paths && (Starts(line, "<moveto ") || Starts(line, "<lineto "))) {
            paths->back().Points.push_back(apply(line));
        }
    }
    return readback;
}

} // namespace kalvara::test
