#include "PdfReadback.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

namespace kalvara::test {

namespace {

// Runs mutool and returns its standard output; error is set when it failed.
std::string RunMutoolTrace(const std::string& pdf_path, std::string& error) {
    std::string quoted = "'";
    for (const char c : pdf_path) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    const std::string command = "mutool draw -F trace -o - " + quoted + "' 2>/dev/null";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        error = "cannot start mutool";
        return {};
    }
    std::string output;
    std::array<char, 65536> buffer{};
    std::size_t got = 0;
    while ((got = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
        output.append(buffer.data(), got);
    }
    if (const int status = ::pclose(pipe); status != 0) {
        error = "mutool failed on " + pdf_path + " (status " + std::to_string(status) + ")";
    }
    return output;
}

// The value of name="..." on an element line; empty when absent. The
// calendars' texts hold no character that XML would escape.
std::string Attribute(const std::string& line, const std::string& name) {
    const std::string key = " " + name + "=\"";
    const auto start = line.find(key);
    if (start == std::string::npos) {
        return {};
    }
    const auto from = start + key.size();
    return line.substr(from, line.find('"', from) - from);
}

std::vector<double> Numbers(const std::string& text) {
    std::vector<double> numbers;
    std::istringstream in(text);
    double value = 0;
    while (in >> value) {
        numbers.push_back(value);
    }
    return numbers;
}

double Number(const std::string& line, const std::string& name) {
    return std::strtod(Attribute(line, name).c_str(), nullptr);
}

PdfColour Colour(const std::string& line) {
    const auto values = Numbers(Attribute(line, "color"));
    if (values.size() == 1) {
        return {values[0], values[0], values[0]};
    }
    return values.size() >= 3 ? PdfColour{values[0], values[1], values[2]} : PdfColour{};
}

// Maps user space to page points from the top-left corner.
struct Transform {
    std::array<double, 6> M{1, 0, 0, 1, 0, 0};
    static Transform Of(const std::string& line) {
        Transform t;
        const auto values = Numbers(Attribute(line, "transform"));
        if (values.size() == 6) {
            std::copy(values.begin(), values.end(), t.M.begin());
        }
        return t;
    }
    PdfPoint Apply(double x, double y) const {
        return {M[0] * x + M[2] * y + M[4], M[1] * x + M[3] * y + M[5]};
    }
    double Scale() const { return std::sqrt(M[0] * M[0] + M[1] * M[1]); }
};

bool StartsElement(const std::string& line, const char* name) {
    const auto first = line.find_first_not_of(' ');
    return first != std::string::npos && line.compare(first, std::strlen(name), name) == 0;
}

void Bound(PdfPath& path) {
    if (path.Points.empty()) {
        return;
    }
    const auto [left, right] = std::minmax_element(path.Points.begin(), path.Points.end(),
                                                   [](auto& a, auto& b) { return a.X < b.X; });
    const auto [top, bottom] = std::minmax_element(path.Points.begin(), path.Points.end(),
                                                   [](auto& a, auto& b) { return a.Y < b.Y; });
    path.Left = left->X;
    path.Right = right->X;
    path.Top = top->Y;
    path.Bottom = bottom->Y;
}

} // namespace

bool PdfColour::Is(double red, double green, double blue) const {
    return Near(Red, red, 0.005) && Near(Green, green, 0.005) && Near(Blue, blue, 0.005);
}

bool PdfPath::IsHorizontal() const {
    return Points.size() == 2 && Near(Points[0].Y, Points[1].Y);
}

std::vector<const PdfTextRun*> PdfPageReadback::FindTexts(std::string_view text) const {
    std::vector<const PdfTextRun*> found;
    for (const auto& run : Texts) {
        if (run.Text == text) {
            found.push_back(&run);
        }
    }
    return found;
}

const PdfTextRun* PdfPageReadback::FindText(std::string_view text) const {
    const auto found = FindTexts(text);
    return found.empty() ? nullptr : found.front();
}

std::size_t PdfPageReadback::CountOnBaseline(double y) const {
    return static_cast<std::size_t>(
        std::count_if(Texts.begin(), Texts.end(), [y](const auto& run) { return Near(run.Y, y); }));
}

bool Near(double a, double b, double tolerance) {
    return std::fabs(a - b) <= tolerance;
}

PdfReadback ReadPdfTrace(const std::string& pdf_path) {
    PdfReadback readback;
    std::istringstream in(RunMutoolTrace(pdf_path, readback.Error));
    std::string line;
    PdfPageReadback* page = nullptr;
    Transform transform;
    PdfColour colour;
    PdfTextRun run;
    PdfPath path;
    std::vector<PdfPath>* paths = nullptr; // the page's strokes or fills while inside one
    bool in_run = false;
    bool has_glyph = false;
    bool in_text = false; // inside fill_text, the only text that is painted
    while (std::getline(in, line)) {
        if (StartsElement(line, "<page ")) {
            page = &readback.Pages.emplace_back();
            const auto box = Numbers(Attribute(line, "mediabox"));
            if (box.size() == 4) {
                page->Width = box[2] - box[0];
                page->Height = box[3] - box[1];
            }
        } else if (page == nullptr) {
            continue;
        } else if (StartsElement(line, "<fill_text ")) {
            in_text = true;
            transform = Transform::Of(line);
            colour = Colour(line);
        } else if (StartsElement(line, "</fill_text>")) {
            in_text = false;
        } else if (in_text && StartsElement(line, "<span ")) {
            run = PdfTextRun{};
            run.Font = Attribute(line, "font");
            const auto matrix = Numbers(Attribute(line, "trm"));
            run.Size =
                matrix.empty() ? 0 : std::hypot(matrix[0], matrix.size() > 1 ? matrix[1] : 0);
            run.Size *= transform.Scale();
            run.Colour = colour;
            in_run = true;
            has_glyph = false;
        } else if (in_run && StartsElement(line, "<g ")) {
            const PdfPoint at = transform.Apply(Number(line, "x"), Number(line, "y"));
            if (!has_glyph) {
                run.X = at.X;
                run.Y = at.Y;
                has_glyph = true;
            }
            run.Text += Attribute(line, "unicode");
            run.Right = at.X + Number(line, "adv") * run.Size;
        } else if (in_run && StartsElement(line, "</span>")) {
            if (has_glyph) {
                page->Texts.push_back(run);
            }
            in_run = false;
        } else if (StartsElement(line, "<stroke_path ") || StartsElement(line, "<fill_path ")) {
            transform = Transform::Of(line);
            path = PdfPath{};
            path.Width = Number(line, "linewidth") * transform.Scale();
            path.Colour = Colour(line);
            paths = StartsElement(line, "<stroke_path ") ? &page->Strokes : &page->Fills;
        } else if (paths != nullptr &&
                   (StartsElement(line, "</stroke_path>") || StartsElement(line, "</fill_path>"))) {
            Bound(path);
            paths->push_back(path);
            paths = nullptr;
        } else if (paths != nullptr &&
                   (StartsElement(line, "<moveto ") || StartsElement(line, "<lineto "))) {
            path.Points.push_back(transform.Apply(Number(line, "x"), Number(line, "y")));
        }
    }
    return readback;
}

} // namespace kalvara::test
