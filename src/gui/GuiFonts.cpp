#include "gui/Gui.h"
#include "gui/GuiInternal.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPalette>
#include <algorithm>
#include <cmath>

namespace kalvara::gui {

using namespace detail;

namespace {

// The point sizes the program asks for were chosen beside a 9-point desktop
// font. They are scaled by the desktop's own size, as the character cells the
// windows are laid out in are, so that text and cells grow and shrink
// together and the sizes keep their proportions to one another.
constexpr double DesignedDesktopPoints = 9.0;

double DesktopFontScale(const QFont& desktop) {
    const double points = desktop.pointSizeF();
    if (points > 0) {
        return std::clamp(points / DesignedDesktopPoints, 0.5, 4.0);
    }
    // A desktop font given in pixels: 12 pixels is the 9 points at 96 dpi.
    const int pixels = desktop.pixelSize();
    return pixels > 0 ? std::clamp(pixels / 12.0, 0.5, 4.0) : 1.0;
}

QFont MakeFont(const std::string& face, double pointSize, const std::string& properties) {
    QFont font = QApplication::font();
    const double scale = DesktopFontScale(font);
    const QString family = ToQt(face);
    // A face this machine lacks keeps the desktop's UI font.
    if (!family.isEmpty() && QFontDatabase::hasFamily(family)) {
        font.setFamily(family);
    }
    if (std::isfinite(pointSize) && pointSize > 0) {
        font.setPointSizeF(std::clamp(pointSize * scale, 1.0, 400.0));
    }
    std::string upper = properties;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    font.setBold(Has(upper, 'B'));
    font.setItalic(Has(upper, 'I'));
    font.setUnderline(Has(upper, 'U'));
    return font;
}

QColor SystemColor(int index) {
    const QPalette palette = QApplication::palette();
    switch (index) {
    case 4: // menu
        return palette.color(QPalette::Window);
    case 5: // window
        return palette.color(QPalette::Base);
    case 8: // window text
        return palette.color(QPalette::Text);
    case 13: // highlight
        return palette.color(QPalette::Highlight);
    case 14: // highlighted text
        return palette.color(QPalette::HighlightedText);
    case 15: // button face
        return palette.color(QPalette::Button);
    case 18: // button text
        return palette.color(QPalette::ButtonText);
    case 23: // tooltip text
        return palette.color(QPalette::ToolTipText);
    case 24: // tooltip background
        return palette.color(QPalette::ToolTipBase);
    default:
        return palette.color(QPalette::Window);
    }
}

} // namespace

void DefineFont(int number, const std::string& face, double pointSize,
                const std::string& properties) {
    if (!HasApplication()) {
        return;
    }
    Context().DefineFont(number, MakeFont(face, pointSize, properties));
}

void DefineSystemColor(int number, int systemColorIndex) {
    if (!HasApplication()) {
        return;
    }
    Context().DefineColor(number, SystemColor(systemColorIndex));
}

void DefineColor(int number, int red, int green, int blue) {
    Context().DefineColor(number, QColor(std::clamp(red, 0, 255), std::clamp(green, 0, 255),
                                         std::clamp(blue, 0, 255)));
}

int ColorValue(int number) {
    const auto color = Context().ColorOf(number);
    return color ? static_cast<int>(color->rgb() & 0xFFFFFFu) : -1;
}

void SetColors(int foreground, int background) {
    Context().SetColors(foreground, background);
}

void UseFont(int number) {
    if (!HasApplication()) {
        return;
    }
    Context().SetNextFont(Context().FontOf(number));
}

void UseInlineFont(const std::string& face, double pointSize, const std::string& properties) {
    if (!HasApplication()) {
        return;
    }
    Context().SetNextFont(MakeFont(face, pointSize, properties));
}

void UseAutoSize(const std::string& properties) {
    Context().SetAutoSize(properties);
}

TextExtent MeasureText(int fontNumber, const std::string& text) {
    if (!HasApplication()) {
        // Without a desktop, one character is one column.
        return {static_cast<double>(QString::fromStdString(text).size()), 1.0};
    }
    GuiContext& c = Context();
    const QFontMetricsF metrics(c.FontOf(std::max(0, fontNumber)));
    return {metrics.horizontalAdvance(ToQt(text)) / c.ColumnPixels(),
            metrics.lineSpacing() / c.RowPixels()};
}

double PixelsToColumns(int pixels) {
    return HasApplication() ? pixels / Context().ColumnPixels() : pixels / 8.0;
}

double PixelsToRows(int pixels) {
    return HasApplication() ? pixels / Context().RowPixels() : pixels / 16.0;
}

int ColumnsToPixels(double columns) {
    if (!std::isfinite(columns)) {
        return 0;
    }
    const double unit = HasApplication() ? Context().ColumnPixels() : 8.0;
    return static_cast<int>(std::lround(std::clamp(columns, -10000.0, 10000.0) * unit));
}

int RowsToPixels(double rows) {
    if (!std::isfinite(rows)) {
        return 0;
    }
    const double unit = HasApplication() ? Context().RowPixels() : 16.0;
    return static_cast<int>(std::lround(std::clamp(rows, -10000.0, 10000.0) * unit));
}

} // namespace kalvara::gui
