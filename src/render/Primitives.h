#pragma once
// The drawing operations of every layout. Callers work in points with the
// origin at the top-left corner of the page and y growing downward (the y of
// a text is its baseline); each operation turns y into PDF space itself.
// Which graphics settings each one leaves behind is part of its contract:
// layouts rely on it (for instance DrawVLine strokes in whatever colour and
// width the drawing before it left).

#include <cstdint>
#include <hpdf.h>
#include <string>

namespace kalvara {

struct RgbColor {
    float Red = 0.0f;
    float Green = 0.0f;
    float Blue = 0.0f;
};

inline constexpr RgbColor ColorBlack{0.0f, 0.0f, 0.0f};
inline constexpr RgbColor ColorRed{1.0f, 0.0f, 0.0f};

// The underlying type is fixed so that any number can be passed; values other
// than these three draw nothing.
enum TextAlignment : std::int32_t {
    AlignLeft = 0,   // the text begins at x
    AlignRight = 1,  // the text ends at x
    AlignCenter = 2, // the text is centred on x
};

// Page height minus y, rounded to the nearest whole number (halves to even).
// The height is asked from the page at every call.
std::int32_t ToPdfY(HPDF_Page page, std::int32_t y);

// Sets font and size inside its own text object; the colour is the current
// fill colour.
void DrawText(HPDF_Page page, const std::string& text, std::int32_t x, std::int32_t y,
              HPDF_Font font, std::int32_t size, TextAlignment alignment);

// Leaves the stroke colour black and the line width at width.
void DrawHLine(HPDF_Page page, std::int32_t x_from, std::int32_t x_to, std::int32_t y,
               const RgbColor& colour, float width);

// Runs from page y - offset down to y - offset + length, in the current stroke
// colour and line width.
void DrawVLine(HPDF_Page page, std::int32_t x, std::int32_t y, std::int32_t offset,
               std::int32_t length);

// Leaves the line width at width; strokes in the current colour.
void DrawLine(HPDF_Page page, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
              float width);

// Covers page y - height to y and x to x + width. The 0.6 border is black when
// outlined is not 0, else in the fill colour. Leaves stroke and fill colour
// black and the line width at 0.6.
void FillBox(HPDF_Page page, const RgbColor& colour, std::int32_t y, std::int32_t x,
             std::int32_t width, std::int32_t height, std::int32_t outlined);

// Also the colour of all text that follows.
void SetFillColor(HPDF_Page page, const RgbColor& colour);

} // namespace kalvara
