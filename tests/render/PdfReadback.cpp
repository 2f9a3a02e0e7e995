#include "PdfReadback.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <sys/wait.h>

namespace kalvara::test {

namespace {

std::string ShellQuote(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text) {
        if (c == '\'') {
            quoted += "'\\''";
        } else {
            quoted += c;
        }
    }
    return quoted + "'";
}

// Runs mutool and returns its standard output; error is set when it failed.
std::string RunMutool(const std::string& format, const std::string& pdf_path, std::string& error) {
    const std::string command =
        "mutool draw -F " + format + " -o - " + ShellQuote(pdf_path) + " 2>/dev/null";
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
    const int status = ::pclose(pipe);
    if (status != 0) {
        error = "mutool failed on " + pdf_path + " (status " + std::to_string(status) + ")";
    }
    return output;
}

std::string DecodeEntities(const std::string& text) {
    std::string plain;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '&') {
            plain += text[i];
            continue;
        }
        const auto end = text.find(';', i);
        if (end == std::string::npos) {
            plain += text[i];
            continue;
        }
        const std::string entity = text.substr(i + 1, end - i - 1);
        if (entity == "amp") {
            plain += '&';
        } else if (entity == "lt") {
            plain += '<';
        } else if (entity == "gt") {
            plain += '>';
        } else if (entity == "quot") {
            plain += '"';
        } else if (entity == "apos") {
            plain += '\'';
        } else if (!entity.empty() && entity[0] == '#') {
            const bool hex = entity.size() > 1 && (entity[1] == 'x' || entity[1] == 'X');
            const unsigned long code =
                std::strtoul(entity.c_str() + (hex ? 2 : 1), nullptr, hex ? 16 : 10);
            if (code < 0x80) {
                plain += static_cast<char>(code);
            } else if (code < 0x800) {
                plain += static_cast<char>(0xC0 | (code >> 6));
                plain += static_cast<char>(0x80 | (code & 0x3F));
            } else {
                plain += static_cast<char>(0xE0 | (code >> 12));
                plain += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
                plain += static_cast<char>(0x80 | (code & 0x3F));
            }
        } else {
            plain += text.substr(i, end - i + 1);
        }
        i = end;
    }
    return plain;
}

// The value of name="..." on an element line; empty when absent.
std::string Attribute(const std::string& line, const std::string& name) {
    const std::string key = " " + name + "=\"";
    const auto start = line.find(key);
    if (start == std::string::npos) {
        return {};
    }
    const auto from = start + key.size();
    const auto end = line.find('"', from);
    return DecodeEntities(line.substr(from, end - from));
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
    PdfColour colour;
    if (values.size() == 1) {
        colour = {values[0], values[0], values[0]};
    } else if (values.size() >= 3) {
        colour = {values[0], values[1], values[2]};
    }
    return colour;
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

} // namespace

bool PdfColour::Is(double red, double green, double blue) const {
    return Near(Red, red, 0.005) && Near(Green, green, 0.005) && Near(Blue, blue, 0.005);
}

bool PdfStroke::IsHorizontal() const {
    return Points.size() == 2 && Near(Points[0].Y, Points[1].Y);
}

double PdfFill::Left() const {
    double value = Points.empty() ? 0 : Points[0].X;
    for (const auto& p : Points) {
        value = std::min(value, p.X);
    }
    return value;
}

double PdfFill::Right() const {
    double value = Points.empty() ? 0 : Points[0].X;
    for (const auto& p : Points) {
        value = std::max(value, p.X);
    }
    return value;
}

double PdfFill::Top() const {
    double value = Points.empty() ? 0 : Points[0].Y;
    for (const auto& p : Points) {
        value = std::min(value, p.Y);
    }
    return value;
}

double PdfFill::Bottom() const {
    double value = Points.empty() ? 0 : Points[0].Y;
    for (const auto& p : Points) {
        value = std::max(value, p.Y);
    }
    return value;
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

std::vector<const PdfTextRun*> PdfPageReadback::TextsOnBaseline(double y) const {
    std::vector<const PdfTextRun*> found;
    for (const auto& run : Texts) {
        if (Near(run.Y, y)) {
            found.push_back(&run);
        }
    }
    std::sort(found.begin(), found.end(),
              [](const PdfTextRun* a, const PdfTextRun* b) { return a->X < b->X; });
    return found;
}

std::vector<const PdfStroke*> PdfPageReadback::HorizontalRulesAt(double y) const {
    std::vector<const PdfStroke*> found;
    for (const auto& stroke : Strokes) {
        if (stroke.IsHorizontal() && Near(stroke.Points[0].Y, y)) {
            found.push_back(&stroke);
        }
    }
    return found;
}

bool Near(double a, double b, double tolerance) {
    return std::fabs(a - b) <= tolerance;
}

PdfReadback ReadPdfTrace(const std::string& pdf_path) {
    PdfReadback readback;
    const std::string output = RunMutool("trace", pdf_path, readback.Error);
    std::istringstream in(output);
    std::string line;
    PdfPageReadback* page = nullptr;
    Transform transform;
    PdfColour colour;
    PdfTextRun run;
    PdfStroke stroke;
    PdfFill fill;
    bool in_run = false;
    bool in_stroke = false;
    bool in_fill = false;
    bool in_text = false; // inside fill_text, the only text that is painted
    while (std::getline(in, line)) {
        if (StartsElement(line, "<page ")) {
            readback.Pages.emplace_back();
            page = &readback.Pages.back();
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
        } else if (in_run && StartsElement(line, "<g ")) {
            PdfGlyph glyph;
            glyph.Text = Attribute(line, "unicode");
            const PdfPoint at = transform.Apply(Number(line, "x"), Number(line, "y"));
            glyph.X = at.X;
            glyph.Y = at.Y;
            glyph.Advance = Number(line, "adv") * run.Size;
            run.Glyphs.push_back(glyph);
        } else if (in_run && StartsElement(line, "</span>")) {
            if (!run.Glyphs.empty()) {
                run.X = run.Glyphs.front().X;
                run.Y = run.Glyphs.front().Y;
                run.Right = run.Glyphs.back().X + run.Glyphs.back().Advance;
                for (const auto& glyph : run.Glyphs) {
                    run.Text += glyph.Text;
                }
                page->Texts.push_back(run);
            }
            in_run = false;
        } else if (StartsElement(line, "<stroke_path ")) {
            stroke = PdfStroke{};
            transform = Transform::Of(line);
            stroke.Width = Number(line, "linewidth") * transform.Scale();
            stroke.Colour = Colour(line);
            in_stroke = true;
        } else if (StartsElement(line, "</stroke_path>")) {
            page->Strokes.push_back(stroke);
            in_stroke = false;
        } else if (StartsElement(line, "<fill_path ")) {
            fill = PdfFill{};
            transform = Transform::Of(line);
            fill.Colour = Colour(line);
            in_fill = true;
        } else if (StartsElement(line, "</fill_path>")) {
            page->Fills.push_back(fill);
            in_fill = false;
        } else if ((in_stroke || in_fill) &&
                   (StartsElement(line, "<moveto ") || StartsElement(line, "<lineto "))) {
            const PdfPoint at = transform.Apply(Number(line, "x"), Number(line, "y"));
            (in_stroke ? stroke.Points : fill.Points).push_back(at);
        }
    }
    return readback;
}

} // namespace kalvara::test
